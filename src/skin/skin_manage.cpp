#include "skin/skin_manage.h"

#include "skin/control_map.h"
#include "skin/popup_menu.h"
#include "skin/skin_data.h"
#include "skin/skin_events.h"
#include "skin/win_skin_form.h"
#include "text/ascii_case.h"

#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace zorvia {

namespace {

constexpr int kFirstTimerMs = 100;

QPointer<TSkinManage>& current() {
    static QPointer<TSkinManage> manager;
    return manager;
}

bool isFormWindow(const QWidget* w) {
    return w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
}

bool ownedBy(const QWidget* window, const QWidget* owner) {
    for (const QWidget* w = window; w && owner; w = w->parentWidget())
        if (w == owner)
            return true;
    return false;
}

} // namespace

TSkinManage* TSkinManage::instance() {
    return current();
}

TSkinManage& TSkinManage::create() {
    if (!current()) {
        registerControlSkinners();
        current() = new TSkinManage();
    }
    return *current();
}

TSkinManage::TSkinManage() : QObject(QCoreApplication::instance()) {
    setObjectName("TSkinManage");
    timer_.setSingleShot(true);
    timer_.setInterval(kFirstTimerMs);
    connect(&timer_, &QTimer::timeout, this, &TSkinManage::runRequest);
}

TSkinManage::~TSkinManage() {
    state_ = ShuttingDown;
    active_ = false;
    timer_.stop();
    forms_.clear();
    menus_.clear();
    if (hooked_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void TSkinManage::setState(int state) {
    if (state_ != ShuttingDown)
        state_ = state;
}

void TSkinManage::RegisterSkinData(TSkinData& data) {
    if (std::find(registered_.begin(), registered_.end(), &data) == registered_.end())
        registered_.push_back(&data);
}

void TSkinManage::UnregisterSkinData(TSkinData& data) {
    std::erase(registered_, &data);
    if (pending_ == &data) {
        pending_ = nullptr;
        pendingType_ = 0;
        timer_.stop();
    }
    // Windows skinned with this component's skin take another one's.
    std::vector<QPointer<QWidget>> orphans;
    for (auto it = forms_.begin(); it != forms_.end();) {
        if (&(*it)->data() != &data) {
            ++it;
            continue;
        }
        // The owner and the windows it owns go with it: it is being destroyed.
        if (ownedBy((*it)->window(), data.Owner()))
            (*it)->Abandon();
        else
            orphans.emplace_back((*it)->window());
        it = forms_.erase(it);
    }
    for (const auto& window : orphans)
        if (window && window->isVisible())
            SkinWindow(window, false);
}

TSkinData* TSkinManage::defaultSkinData() const {
    for (TSkinData* data : registered_)
        if (data->SkinFormtype == TSkinFormType::sfMainform)
            return data;
    return nullptr;
}

void TSkinManage::InstallWindowHook() {
    if (hooked_ || !QCoreApplication::instance())
        return;
    hooked_ = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void TSkinManage::PostRequest(int type, int delayMs, TSkinData* data) {
    // Before the first window is skinned, switching on or off only sets the
    // flag: the windows are skinned as they come.
    if (state_ == Starting && (type == SkinRequest || type == UnskinRequest)) {
        active_ = type == SkinRequest;
        return;
    }
    pendingType_ = type;
    pending_ = data;
    timer_.start(delayMs);
}

void TSkinManage::activate() {
    active_ = true;
    if (state_ == Starting)
        state_ = Running;
}

void TSkinManage::skinFileLoaded(TSkinData& data) {
    pending_ = &data;
    for (const auto& form : forms_)
        if (&form->data() == &data)
            form->Refresh();
    if (state_ != Starting)
        PostRequest(RefreshRequest, 250, &data);
}

void TSkinManage::Reskin(QWidget* window) {
    std::erase_if(forms_, [window](const auto& f) { return f->window() == window; });
    Purge();
    if (window)
        SkinWindow(window, false);
}

void TSkinManage::runRequest() {
    timer_.stop();
    const int type = std::exchange(pendingType_, 0);
    TSkinData* data = pending_;
    const bool onlyThisForm = data && data->SkinFormtype == TSkinFormType::sfOnlyThisForm;
    switch (type) {
    case SkinRequest:
        active_ = true;
        Purge();
        if (onlyThisForm) {
            if (QWidget* owner = data->Owner())
                SkinWindow(owner->window(), false);
        } else {
            skinVisibleWindows();
        }
        break;
    case UnskinRequest:
        active_ = false;
        Purge();
        unskin(onlyThisForm ? data : nullptr);
        break;
    case RefreshRequest:
        Purge();
        for (const auto& form : forms_) {
            if (&form->data() != data)
                continue;
            form->Refresh();
            if (onlyThisForm)
                break;
        }
        break;
    case PurgeRequest:
        Purge();
        break;
    case ReskinRequest:
        Reskin(reskin_);
        pending_ = nullptr;
        return;
    default:
        return;
    }
    pending_ = nullptr;
    if (data && data->OnSkinChanged)
        data->OnSkinChanged(*data);
}

void TSkinManage::skinVisibleWindows() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->isVisible() && isFormWindow(*it))
            SkinWindow(*it, false);
}

void TSkinManage::unskin(const TSkinData* only) {
    if (!only) {
        // First to last; each window gets its platform frame back.
        for (auto& form : forms_)
            form.reset();
        forms_.clear();
        return;
    }
    const auto it = std::find_if(forms_.begin(), forms_.end(),
                                 [only](const auto& f) { return &f->data() == only; });
    if (it != forms_.end())
        forms_.erase(it);
}

void TSkinManage::Purge() {
    std::erase_if(forms_, [](const auto& f) { return f->windowGone(); });
    std::erase_if(menus_, [](const auto& m) { return m->menuGone(); });
}

TWinSkinForm* TSkinManage::FindSkinnedWindow(const QWidget* window) const {
    for (const auto& form : forms_)
        if (form->window() == window)
            return form.get();
    return nullptr;
}

TSkinData* TSkinManage::ChooseSkinData(const QWidget* window) const {
    TSkinData* found = nullptr;
    auto last = [&](auto&& test) {
        for (TSkinData* data : registered_)
            if (test(*data))
                found = data;
        return found != nullptr;
    };
    if (last([window](const TSkinData& d) {
            return d.SkinFormtype == TSkinFormType::sfOnlyThisForm && d.Owner() &&
                   d.Owner()->window() == window;
        }))
        return found;
    const std::string cls = text::toLowerAscii(skin::windowClassName(window));
    if ((cls == "tmessageform" || cls == "#32770") &&
        last([](const TSkinData& d) { return d.SkinFormtype == TSkinFormType::sfDialog; }))
        return found;
    if (last([](const TSkinData& d) { return d.SkinFormtype == TSkinFormType::sfMainform; }))
        return found;
    return registered_.empty() ? nullptr : registered_.front();
}

bool TSkinManage::ShouldSkinWindow(const QWidget*, const AnsiString& className) const {
    TSkinData* data = defaultSkinData();
    if (!data)
        return true;
    const std::string lower = text::toLowerAscii(className);
    if (!data->Options.has(TSkinOption::xoPreview) && lower.find("preview") != std::string::npos)
        return false;
    if (lower == "tpopupdbtreeview")
        return false;
    if (data->OnFormSkin) {
        bool doSkin = true;
        data->OnFormSkin(*data, className, doSkin);
        return doSkin;
    }
    if (className == "SysMonthCal32")
        return false;
    return !(data->SkinControls.has(TSkinControlType::xcReportDesigner) &&
             className.starts_with("Tfr"));
}

bool TSkinManage::SkinWindow(QWidget* window, bool childTest) {
    Purge();
    if (!active_ || !window)
        return false;
    if (FindSkinnedWindow(window) || skin::isSkinned(window))
        return false;
    if (childTest && !window->isWindow())
        return false;
    if (window->size().isEmpty())
        return false;
    // The literal value, whatever DisableTag says.
    if (skin::tagOf(window) == 99)
        return false;
    const AnsiString cls = skin::windowClassName(window);
    if (cls.find("TcxPopupEditPopupWindow") != AnsiString::npos ||
        cls.find("TTERenderWindow") != AnsiString::npos || cls == "TApplication")
        return false;
    if (!ShouldSkinWindow(window, cls))
        return false;
    TSkinData* data = ChooseSkinData(window);
    if (!data || !data->SkinLoaded())
        return false;
    forms_.push_back(std::make_unique<TWinSkinForm>(window, cls, *data));
    forms_.back()->AttachWindow();
    QCoreApplication::postEvent(window, new QEvent(skin::SKM_SKINLATER));
    return true;
}

bool TSkinManage::SkinPopupMenu(QMenu* menu) {
    if (!active_ || skin::isSkinned(menu))
        return false;
    TSkinData* data = ChooseSkinData(menu);
    if (!data || !data->SkinLoaded())
        return false;
    const TSkinControls& kinds = data->SkinControls;
    const bool enabled =
        menuKind_ == MenuKind::Popup ? kinds.has(TSkinControlType::xcPopupMenu)
        : menuKind_ == MenuKind::DropDown
            ? kinds.has(TSkinControlType::xcMainMenu) || kinds.has(TSkinControlType::xcMenuItem)
            : kinds.has(TSkinControlType::xcSystemMenu);
    if (!enabled)
        return false;
    menus_.push_back(std::make_unique<TWinSkinPopMenu>(menu, *data, nullptr));
    return true;
}

void TSkinManage::UnskinPopupMenu(QWidget* menu) {
    std::erase_if(menus_, [menu](const auto& m) { return m->menu() == menu || m->menuGone(); });
    if (menus_.empty())
        menuKind_ = MenuKind::Popup;
}

bool TSkinManage::eventFilter(QObject* watched, QEvent* event) {
    if (state_ == ShuttingDown || !watched->isWidgetType())
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowActivate)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow())
        return false;
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        if (type == QEvent::Show)
            SkinPopupMenu(menu);
        else if (type == QEvent::Hide)
            UnskinPopupMenu(menu);
        return false;
    }
    if (!isFormWindow(widget) || type == QEvent::Hide)
        return false;
    if (type == QEvent::WindowActivate && state_ == Starting)
        state_ = Running;
    SkinWindow(widget);
    return false;
}

} // namespace zorvia

namespace zorvia::skin {

QWidget* clientArea(QWidget* window) {
    TSkinManage* manager = TSkinManage::instance();
    TWinSkinForm* form = manager ? manager->FindSkinnedWindow(window) : nullptr;
    return form ? form->client() : window;
}

void setClientSize(QWidget* window, QSize size) {
    TSkinManage* manager = TSkinManage::instance();
    const TWinSkinForm* form = manager ? manager->FindSkinnedWindow(window) : nullptr;
    const FrameMetrics m = form && form->client() != window ? form->metrics() : FrameMetrics{};
    window->resize(size.width() + m.horizontal(), size.height() + m.vertical());
}

} // namespace zorvia::skin
