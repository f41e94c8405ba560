#include "skin/win_skin_form.h"

#include "skin/frame_widget.h"
#include "skin/popup_menu.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/skin_events.h"
#include "skin/skin_manage.h"

#include <QApplication>
#include <QDialog>
#include <QLayout>
#include <QMenu>
#include <QRegion>
#include <QScreen>
#include <QWhatsThis>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <utility>

namespace zorvia {

namespace {

constexpr int kFrameTimerMs = 250;

// Changes the flags of a window without recreating its native window: web
// views inside it do not survive a new one well.
void setFlags(QWidget* window, Qt::WindowFlags flags) {
    if (window->testAttribute(Qt::WA_WState_Created) && window->windowHandle()) {
        window->overrideWindowFlags(flags);
        window->windowHandle()->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

bool hasCaption(Qt::WindowFlags flags) {
    if (flags.testFlag(Qt::FramelessWindowHint))
        return false;
    return !flags.testFlag(Qt::CustomizeWindowHint) || flags.testFlag(Qt::WindowTitleHint) ||
           (flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)) != 0;
}

QSize grown(QSize size, const skin::FrameMetrics& m) {
    return {size.width() + m.horizontal(), size.height() + m.vertical()};
}

// A size constraint grown by the frame: unset limits stay unset.
QSize grownLimit(QSize limit, const skin::FrameMetrics& m, int unset) {
    return {limit.width() == unset ? unset : limit.width() + m.horizontal(),
            limit.height() == unset ? unset : limit.height() + m.vertical()};
}

// The window's focus chain, to be put back after its widgets moved.
QWidgetList focusChain(QWidget* window) {
    QWidgetList chain;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        chain.append(w);
    return chain;
}

void restoreFocusChain(QWidget* window, const QWidgetList& chain) {
    QWidget* previous = nullptr;
    for (QWidget* w : chain) {
        if (w->window() != window || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

// Moves the child widgets of `from` (but the `skip` ones and windows) into
// `to`, keeping their geometry and their shown or hidden state.
void moveChildren(QWidget* from, QWidget* to, std::initializer_list<const QWidget*> skip) {
    if (QLayout* layout = from->layout())
        to->setLayout(layout);
    const QObjectList children = from->children();
    for (QObject* object : children) {
        auto* w = qobject_cast<QWidget*>(object);
        if (!w || w->isWindow() || std::find(skip.begin(), skip.end(), w) != skip.end())
            continue;
        const bool hidden = w->isHidden();
        const QRect geometry = w->geometry();
        w->setParent(to);
        w->setGeometry(geometry);
        if (!hidden)
            w->show();
    }
}

} // namespace

TWinSkinForm::TWinSkinForm(QWidget* window, AnsiString className, TSkinData& data)
    : window_(window), className_(std::move(className)), data_(&data) {
    setObjectName("TWinSkinForm");
    timer_.setInterval(kFrameTimerMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (frame_)
            frame_->tick();
    });
}

TWinSkinForm::~TWinSkinForm() {
    Detach();
}

skin::WindowTraits TWinSkinForm::traits() const {
    skin::WindowTraits t;
    if (!window_)
        return t;
    const Qt::WindowFlags f = attached_ ? savedFlags_ : window_->windowFlags();
    const bool custom = f.testFlag(Qt::CustomizeWindowHint) ||
                        (f & (Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)) != 0;
    const bool dialog = qobject_cast<const QDialog*>(window_.data()) != nullptr;
    const bool fixed = f.testFlag(Qt::MSWindowsFixedSizeDialogHint) ||
                       (savedMinimum_ == savedMaximum_ && attached_) ||
                       (!attached_ && window_->minimumSize() == window_->maximumSize());
    t.caption = hasCaption(f);
    t.systemMenu = !custom || (f & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)) != 0;
    t.minimiseBox = custom ? f.testFlag(Qt::WindowMinimizeButtonHint) : !dialog;
    t.maximiseBox = custom ? f.testFlag(Qt::WindowMaximizeButtonHint) : !dialog;
    t.help = f.testFlag(Qt::WindowContextHelpButtonHint);
    t.sizing = !fixed;
    t.messageDialog = className_ == "TMessageForm" || className_ == "#32770";
    t.dialogFrame = t.messageDialog || (dialog && fixed);
    t.popup = dialog;
    t.maximised = window_->isMaximized();
    t.minimised = window_->isMinimized();
    t.active = window_->isActiveWindow();
    return t;
}

QWidget* TWinSkinForm::client() const {
    return client_ ? client_.data() : window_.data();
}

void TWinSkinForm::AttachWindow() {
    if (attached_ || !window_)
        return;
    if (TSkinManage* manager = TSkinManage::instance())
        manager->setState(TSkinManage::Running);
    if (data_->OnBeforeSkinForm)
        data_->OnBeforeSkinForm(window_, window_, className_);
    savedFlags_ = window_->windowFlags();
    savedMinimum_ = window_->minimumSize();
    savedMaximum_ = window_->maximumSize();
    attached_ = true;
    window_->installEventFilter(this);
    metrics_ = skin::frameMetrics(data_->Model(), hasCaption(savedFlags_));
    if (metrics_ != skin::FrameMetrics{})
        makeFrame();
}

void TWinSkinForm::makeFrame() {
    const QSize clientSize = window_->size();
    const QWidgetList chain = focusChain(window_);
    frame_ = new skin::TSkinFrame(*this, window_);
    client_ = new QWidget(window_);
    client_->setObjectName("SkinClient");
    client_->setGeometry(QRect(QPoint(metrics_.left, metrics_.top), clientSize));
    moveChildren(window_, client_, {frame_, client_});
    restoreFocusChain(window_, chain);
    paintClientFace();
    frame_->lower();
    frame_->show();
    client_->show();
    client_->installEventFilter(this);

    setFlags(window_, savedFlags_ | Qt::FramelessWindowHint);
    syncing_ = true;
    window_->setMinimumSize(grownLimit(savedMinimum_, metrics_, 0));
    window_->setMaximumSize(grownLimit(savedMaximum_, metrics_, QWIDGETSIZE_MAX));
    if (!window_->isMaximized())
        window_->resize(grown(clientSize, metrics_));
    syncing_ = false;
    syncGeometry();
}

void TWinSkinForm::paintClientFace() {
    // The client shows the skin's face colour, as its controls do, instead
    // of the style's grey; the window's own palette stays untouched, so
    // detaching gives it back with the client.
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, data_->Model().qcolour(skin::SlotButtonFace));
    client_->setPalette(palette);
    client_->setAutoFillBackground(true);
}

void TWinSkinForm::removeFrame() {
    const QSize clientSize = client_->size();
    QWidgetList chain = focusChain(window_);
    chain.removeAll(client_.data());
    chain.removeAll(frame_.data());
    client_->removeEventFilter(this);
    moveChildren(client_, window_, {});
    restoreFocusChain(window_, chain);
    delete frame_;
    delete client_;
    window_->clearMask();
    Qt::WindowFlags flags = window_->windowFlags();
    flags.setFlag(Qt::FramelessWindowHint, savedFlags_.testFlag(Qt::FramelessWindowHint));
    setFlags(window_, flags);
    window_->setMinimumSize(savedMinimum_);
    window_->setMaximumSize(savedMaximum_);
    if (!window_->isMaximized())
        window_->resize(clientSize);
}

void TWinSkinForm::Detach() {
    if (!attached_)
        return;
    attached_ = false;
    timer_.stop();
    for (const auto& skinner : skinners_)
        delete skinner.data();
    skinners_.clear();
    for (const auto& menu : menus_)
        delete menu.data();
    menus_.clear();
    if (!window_)
        return;
    window_->removeEventFilter(this);
    if (client_)
        removeFrame();
    window_->update();
}

void TWinSkinForm::Abandon() {
    if (window_)
        window_->removeEventFilter(this);
    attached_ = false;
    timer_.stop();
    window_ = nullptr;
}

void TWinSkinForm::Refresh() {
    if (!attached_ || !window_)
        return;
    const skin::FrameMetrics next = skin::frameMetrics(data_->Model(), hasCaption(savedFlags_));
    if (client_ && next != metrics_) {
        const QSize clientSize = client_->size();
        metrics_ = next;
        syncing_ = true;
        window_->setMinimumSize(grownLimit(savedMinimum_, metrics_, 0));
        window_->setMaximumSize(grownLimit(savedMaximum_, metrics_, QWIDGETSIZE_MAX));
        window_->resize(grown(clientSize, metrics_));
        syncing_ = false;
    }
    if (client_)
        paintClientFace();
    syncGeometry();
    for (const auto& skinner : skinners_) {
        if (auto* control = qobject_cast<TSkinControl*>(skinner.data()))
            control->SkinChanged();
        else if (auto* widget = skinner ? qobject_cast<QWidget*>(skinner->parent()) : nullptr)
            widget->update();
    }
}

void TWinSkinForm::syncGeometry() {
    if (!client_ || syncing_)
        return;
    syncing_ = true;
    const QRect r = window_->rect();
    frame_->setGeometry(r);
    client_->setGeometry(
        r.adjusted(metrics_.left, metrics_.top, -metrics_.right, -metrics_.bottom));
    syncing_ = false;
    applyShape();
    frame_->relayout();
}

void TWinSkinForm::followClient() {
    if (syncing_ || !client_)
        return;
    // The client's own layout changed its size: the window follows.
    syncing_ = true;
    const QSize want = grown(client_->size(), metrics_);
    if (window_->minimumSize() == window_->maximumSize())
        window_->setFixedSize(want);
    else
        window_->resize(want);
    syncing_ = false;
    syncGeometry();
}

void TWinSkinForm::applyShape() {
    // The transparent corners of the caption image are cut from the window.
    const TDataSkinBorder& top = data_->Model().Top;
    if (!client_ || !top.Trans || window_->isMaximized() || window_->isFullScreen()) {
        window_->clearMask();
        return;
    }
    const QImage caption = skin::stateImage(top.Image, true, top.Frame, 1);
    const int w = window_->width();
    QRegion shape(window_->rect());
    for (int y = 0; y < std::min(caption.height(), metrics_.top); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(caption.constScanLine(y));
        int left = 0;
        while (left < std::min(top.LeftWidth, caption.width()) && skin::isKey(line[left]))
            ++left;
        int right = 0;
        while (right < std::min(top.RightWidth, caption.width()) &&
               skin::isKey(line[caption.width() - 1 - right]))
            ++right;
        if (left)
            shape -= QRegion(0, y, left, 1);
        if (right)
            shape -= QRegion(w - right, y, right, 1);
    }
    if (shape != QRegion(window_->rect()))
        window_->setMask(shape);
    else
        window_->clearMask();
}

void TWinSkinForm::followState(Qt::WindowStates oldState) {
    // Without a window manager a maximised window keeps its size: the frame
    // gives it the screen's available area and later its old geometry back.
    // A window manager that maximises the frameless window chooses the same
    // rectangle.
    if (!client_)
        return;
    const bool was = oldState.testFlag(Qt::WindowMaximized);
    const bool is = window_->isMaximized();
    if (is && !was) {
        normalGeometry_ = window_->geometry();
        // Through the native window, as a window manager would: moving the
        // widget itself would drop its maximised state.
        const QScreen* screen = window_->screen();
        if (QWindow* handle = window_->windowHandle(); handle && screen)
            handle->setGeometry(screen->availableGeometry());
    } else if (was && !is && !window_->isMinimized() && normalGeometry_.isValid()) {
        window_->setGeometry(std::exchange(normalGeometry_, QRect()));
    }
}

void TWinSkinForm::skinLater() {
    if (!attached_ || !window_)
        return;
    SkinFormControls(window_);
    widenForCaption();
    if (data_->OnAfterSkinForm)
        data_->OnAfterSkinForm(window_, window_, className_);
    controlsSkinned_ = true;
    if (window_->isActiveWindow())
        timer_.start();
}

void TWinSkinForm::widenForCaption() {
    if (!client_ || !qobject_cast<QDialog*>(window_.data()) || window_->isMaximized())
        return;
    const int need =
        skin::captionWidthNeeded(data_->Model(), window_->windowTitle(), data_->TitleFont());
    const int growth = need - window_->width();
    if (growth <= 0)
        return;
    const int shift = growth / 2;
    if (QLayout* layout = client_->layout();
        layout && layout->sizeConstraint() == QLayout::SetFixedSize) {
        // A laid-out box: its margins take the growth, its contents move
        // right by half of it, and the window follows the client's size.
        QMargins margins = layout->contentsMargins();
        margins.setLeft(margins.left() + shift);
        margins.setRight(margins.right() + growth - shift);
        layout->setContentsMargins(margins);
        layout->activate();
        return;
    }
    for (QObject* object : client_->children())
        if (auto* child = qobject_cast<QWidget*>(object))
            child->move(child->pos() + QPoint(shift, 0));
    const QSize want(window_->width() + growth, window_->height());
    if (window_->minimumSize() == window_->maximumSize())
        window_->setFixedSize(want);
    else
        window_->resize(want);
}

void TWinSkinForm::runCaptionAction(int action, QPoint globalPos) {
    if (!window_)
        return;
    const skin::WindowTraits t = traits();
    switch (action) {
    case 0:
        // Through the window's own close path, as a posted command.
        timer_.stop();
        QMetaObject::invokeMethod(window_, &QWidget::close, Qt::QueuedConnection);
        break;
    case 1:
    case 22:
        if (t.maximiseBox && t.systemMenu) {
            if (t.maximised)
                window_->showNormal();
            else
                window_->showMaximized();
        }
        break;
    case 2:
    case 23:
        if (t.minimiseBox && t.systemMenu)
            window_->showMinimized();
        break;
    case 3:
    case 11:
    case 12:
        openWindowMenu(globalPos);
        break;
    case 4:
        QWhatsThis::enterWhatsThisMode();
        break;
    case 7:
    case 60:
    case 8:
    case 61:
    case 9:
    case 62:
        // The buttons of a maximised child window; these windows have none.
        break;
    default:
        QCoreApplication::postEvent(window_, new skin::CaptionActionEvent(action));
        break;
    }
}

void TWinSkinForm::openWindowMenu(QPoint globalPos) {
    if (!window_)
        return;
    const skin::WindowTraits t = traits();
    // The menu runs no loop of its own: whatever runs below the handler that
    // opened it (a download's transfer, say) goes on while it is up.
    auto* menu = new QMenu(window_);
    menu->setObjectName("SkinWindowMenu");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* restore = menu->addAction(QStringLiteral("还原(&R)"));
    restore->setEnabled(t.maximised || t.minimised);
    QAction* minimise = menu->addAction(QStringLiteral("最小化(&N)"));
    minimise->setEnabled(t.minimiseBox && !t.minimised);
    QAction* maximise = menu->addAction(QStringLiteral("最大化(&X)"));
    maximise->setEnabled(t.maximiseBox && !t.maximised);
    menu->addSeparator();
    QAction* close = menu->addAction(QStringLiteral("关闭(&C)"));
    close->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
    menu->setDefaultAction(close);
    TSkinManage* manager = TSkinManage::instance();
    if (manager)
        manager->setMenuKind(TSkinManage::MenuKind::WindowMenu);
    QPointer<QWidget> window = window_;
    QObject::connect(menu, &QMenu::triggered, menu, [=](QAction* chosen) {
        if (!window)
            return;
        if (chosen == restore)
            window->showNormal();
        else if (chosen == minimise)
            window->showMinimized();
        else if (chosen == maximise)
            window->showMaximized();
        else if (chosen == close)
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    });
    menu->popup(globalPos); // shown, and skinned as the window menu, by now
    if (manager)
        manager->setMenuKind(TSkinManage::MenuKind::Popup);
}

bool TWinSkinForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_) {
        if (event->type() == QEvent::Resize)
            followClient();
        return false;
    }
    if (watched != window_)
        return false;
    if (event->type() == skin::SKM_ISSKINNED) {
        static_cast<skin::IsSkinnedQuery*>(event)->answer = 1;
        return true;
    }
    if (event->type() == skin::SKM_SKINLATER) {
        skinLater();
        return true;
    }
    switch (event->type()) {
    case QEvent::Resize:
        syncGeometry();
        break;
    case QEvent::WindowStateChange:
        followState(static_cast<QWindowStateChangeEvent*>(event)->oldState());
        applyShape();
        if (frame_)
            frame_->relayout();
        break;
    case QEvent::ActivationChange:
        if (window_->isActiveWindow() && controlsSkinned_)
            timer_.start();
        else
            timer_.stop();
        if (frame_)
            frame_->relayout();
        break;
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        if (frame_)
            frame_->relayout();
        break;
    default:
        break;
    }
    return false;
}

} // namespace zorvia
