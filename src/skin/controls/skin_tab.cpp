#include "skin/controls/skin_tab.h"

#include "skin/controls/skin_page_control.h"
#include "skin/controls/skin_paint.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/skin_events.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace zorvia {

namespace {

constexpr int kMaxTabText = 80;
constexpr int kIconGap = 2;
constexpr int kScrollbarFrames = 23;

QImage turned(const QImage& image, TSkinTab::Position position) {
    switch (position) {
    case TSkinTab::Position::Top:
        return image;
    case TSkinTab::Position::Bottom:
        return image.mirrored(false, true);
    case TSkinTab::Position::Left:
        return image.transformed(QTransform().rotate(-90));
    case TSkinTab::Position::Right:
        return image.transformed(QTransform().rotate(90));
    }
    return image;
}

// The margins of the pane image as they face tabs at `position`: the edge
// that faces tabs on top faces them at the other sides too.
skin::SkinMargins facing(skin::SkinMargins m, TSkinTab::Position position) {
    switch (position) {
    case TSkinTab::Position::Top:
        return m;
    case TSkinTab::Position::Bottom:
        return {m.left, m.bottom, m.right, m.top};
    case TSkinTab::Position::Left:
        return {m.top, m.right, m.bottom, m.left};
    case TSkinTab::Position::Right:
        return {m.bottom, m.left, m.top, m.right};
    }
    return m;
}

} // namespace

TSkinTab::TSkinTab(QWidget* control, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(control, data, form), control_(control),
      pageControl_(dynamic_cast<TSkinPageControl*>(control)),
      tabWidget_(qobject_cast<QTabWidget*>(control)) {
    bar_ = pageControl_ ? pageControl_->tabStrip() : tabWidget_->tabBar();
    prepareImages();
    bar_->installEventFilter(this);
    // The strip's scroll buttons, shown once the tabs no longer fit.
    for (QToolButton* button : bar_->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        scrollButtons_.emplace_back(button);
        button->installEventFilter(this);
    }
    bar_->update();
}

bool TSkinTab::canSkin(QWidget* control) {
    return qobject_cast<QTabWidget*>(control) || dynamic_cast<TSkinPageControl*>(control);
}

TSkinTab::Position TSkinTab::position() const {
    return tabWidget_ ? static_cast<Position>(tabWidget_->tabPosition()) : Position::Top;
}

bool TSkinTab::closeMode() const {
    return pageControl_ && control_ && skin::tagOf(control_) == CloseTag &&
           position() == Position::Top;
}

QRect TSkinTab::closeBox(int index) const {
    if (!closeMode() || tabImage_.isNull() || !bar_ || !bar_->isVisibleTo(control_) || index < 0 ||
        index >= bar_->count())
        return {};
    // The tab as the band shows it, in strip coordinates.
    const QRect tab = bar_->tabRect(index) & bandRect().translated(-bar_->pos());
    if (tab.isEmpty())
        return {};
    return {tab.right() - 7, tab.top() + 2, 6, 6};
}

int TSkinTab::closeBoxAt(QPoint at) const {
    for (int i = 0; bar_ && i < bar_->count(); ++i)
        if (closeBox(i).contains(at))
            return i;
    return -1;
}

void TSkinTab::prepareImages() {
    const skin::SkinModel& model = data().Model();
    preparedFor_ = position();
    tabImage_ = QImage();
    paneImage_ = QImage();
    if (model.Tabs && !model.Tabs->Image.isNull())
        tabImage_ = turned(model.Tabs->Image.convertToFormat(QImage::Format_RGB32),
                           position() == Position::Bottom ? Position::Bottom : Position::Top);
    const int style = model.Tabs ? model.Tabs->Style : 0;
    QImage pane;
    if (model.Tabs && style == 0)
        pane = model.Tabs->Image2;
    else if (style == 1 && model.TabPane)
        pane = model.TabPane->Image;
    if (!pane.isNull())
        paneImage_ = turned(pane.convertToFormat(QImage::Format_RGB32), position());
}

QRect TSkinTab::paneRect() const {
    QRect display;
    if (pageControl_)
        display = pageControl_->pageRect();
    else if (const auto* stack = tabWidget_->findChild<QStackedWidget*>())
        display = stack->geometry();
    QRect r = display.adjusted(-4, -4, 4, 4);
    switch (position()) {
    case Position::Top:
        r.setTop(r.top() + 1);
        break;
    case Position::Bottom:
        r.setBottom(r.bottom() - 1);
        break;
    case Position::Left:
        r.setLeft(r.left() + 1);
        break;
    case Position::Right:
        r.setRight(r.right() - 1);
        break;
    }
    return r;
}

QRect TSkinTab::bandRect() const {
    const QRect pane = paneRect();
    const int w = control_->width(), h = control_->height();
    switch (position()) {
    case Position::Top:
        return QRect(0, 0, w, std::max(0, pane.top()));
    case Position::Bottom:
        return QRect(0, pane.bottom() + 1, w, std::max(0, h - pane.bottom() - 1));
    case Position::Left:
        return QRect(0, 0, std::max(0, pane.left()), h);
    case Position::Right:
        return QRect(pane.right() + 1, 0, std::max(0, w - pane.right() - 1), h);
    }
    return {};
}

QImage TSkinTab::composeStrip() {
    const Position pos = position();
    if (pos != preparedFor_)
        prepareImages();
    const QRect band = bandRect();
    const bool vertical = pos == Position::Left || pos == Position::Right;
    const QSize lying = vertical ? band.size().transposed() : band.size();
    if (lying.isEmpty() || tabImage_.isNull())
        return {};
    QImage strip(lying, QImage::Format_RGB32);
    strip.fill(data().Model().qcolour(skin::SlotButtonFace));
    const int count = bar_->isVisibleTo(control_) ? bar_->count() : 0;
    // The image outlives its skin until the refresh prepares it anew.
    if (count > 0 && data().Model().Tabs) {
        QPainter p(&strip);
        p.setFont(control_->font());
        for (int i = 0; i < count; ++i) {
            // The tab in band coordinates, then lying down for side tabs.
            QRect r = (bar_->tabRect(i).translated(bar_->pos()) & band).translated(-band.topLeft());
            if (r.isEmpty())
                continue;
            if (pos == Position::Left)
                r = QRect(lying.width() - r.bottom() - 1, r.left(), r.height(), r.width());
            else if (pos == Position::Right)
                r = QRect(r.top(), lying.height() - r.right() - 1, r.height(), r.width());
            drawTab(p, i, r);
        }
    }
    if (pos == Position::Left || pos == Position::Right)
        return turned(strip, pos);
    return strip;
}

void TSkinTab::drawTab(QPainter& p, int index, const QRect& rect) {
    const skin::SkinModel& model = data().Model();
    const TDataSkinBorder& tabs = *model.Tabs;
    const int state = index == bar_->currentIndex() ? 2 : 1;
    skin::DrawSkinImage(p, rect, tabImage_, false, tabs.Tile == 1, tabs.Trans != 0, 5, state,
                        skin::SkinMargins::of(tabs));

    QColor colour =
        skin::skinQColour(model, state == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2);
    if (!control_->isEnabled())
        colour = skin::systemQColour(model, skin::COLOR_BTNSHADOW);
    p.setPen(colour);

    if (const QRect box = closeBox(index); !box.isEmpty()) {
        const QRect shown = box.translated(bar_->pos() - bandRect().topLeft());
        p.drawRect(shown.adjusted(0, 0, -1, -1));
        p.drawLine(shown.topLeft(), shown.bottomRight());
        p.drawLine(shown.bottomLeft(), shown.topRight());
    }

    const QIcon icon = bar_->tabIcon(index);
    const QSize iconSize = icon.isNull() ? QSize() : bar_->iconSize();
    const bool withIcon = !icon.isNull() && iconSize.width() < rect.width();
    const int iconWidth = withIcon ? iconSize.width() + kIconGap : 0;
    const QFontMetrics metrics = p.fontMetrics();
    const QString text = bar_->tabText(index).left(kMaxTabText);
    const int room = std::max(0, rect.width() - iconWidth - 2);
    const int textWidth = std::min(metrics.horizontalAdvance(text), room);
    const int left = rect.left() + std::max(1, (rect.width() - iconWidth - textWidth) / 2);
    if (withIcon)
        icon.paint(&p, QRect(left, rect.top() + (rect.height() - iconSize.height()) / 2,
                             iconSize.width(), iconSize.height()));
    const QRect textRect(left + iconWidth, rect.top(), textWidth, rect.height());
    p.save();
    p.setClipRect(rect);
    p.setLayoutDirection(control_->layoutDirection());
    p.drawText(textRect, Qt::AlignCenter, metrics.elidedText(text, Qt::ElideRight, room));
    p.restore();
}

void TSkinTab::PaintControl(QPainter& p) {
    const skin::SkinModel& model = data().Model();
    const QImage strip = composeStrip();
    if (!strip.isNull())
        p.drawImage(bandRect().topLeft(), strip);
    if (paneImage_.isNull())
        return;
    const int style = model.Tabs ? model.Tabs->Style : 0;
    const TDataSkinObject* source = style != 0 && model.TabPane
                                        ? static_cast<const TDataSkinObject*>(&*model.TabPane)
                                    : model.Tabs ? &*model.Tabs
                                                 : nullptr;
    const skin::SkinMargins margins = style != 0 && model.TabPane
                                          ? skin::SkinMargins::of(*model.TabPane)
                                          : facing({4, 5, 4, 4}, position());
    skin::DrawSkinImage(p, paneRect(), paneImage_, false, source && source->Tile == 1,
                        source && source->Trans != 0, 1, 1, margins);
}

void TSkinTab::closePage(int index) {
    TSkinCloseTabEvent question(control_, index);
    QCoreApplication::sendEvent(control_->window(), &question);
    if (question.answer == 0 && pageControl_)
        pageControl_->closePage(index);
}

bool TSkinTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bar_ && control_)
        return enabled() && attached() && stripEvent(event);
    for (const auto& button : scrollButtons_)
        if (watched == button && control_)
            return enabled() && attached() && scrollButtonEvent(button, event);
    return TSkinControl::eventFilter(watched, event);
}

int TSkinTab::scrollButtonImage(const QToolButton* button) {
    int image = 1;
    switch (button->arrowType()) {
    case Qt::RightArrow:
        image = 5;
        break;
    case Qt::UpArrow:
        image = 9;
        break;
    case Qt::DownArrow:
        image = 13;
        break;
    default:
        break;
    }
    // Normal, pressed, disabled, pointer over.
    if (!button->isEnabled())
        return image + 2;
    if (button->isDown())
        return image + 1;
    return button->underMouse() ? image + 3 : image;
}

bool TSkinTab::scrollButtonEvent(QToolButton* button, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
        button->update();
        return false;
    case QEvent::Paint: {
        const skin::SkinModel& model = data().Model();
        if (!model.Scrollbar || model.Scrollbar->Image.isNull())
            return false;
        QPainter p(button);
        p.fillRect(button->rect(), model.qcolour(skin::SlotButtonFace));
        skin::DrawSkinImage(p, button->rect(), model.Scrollbar->Image, false, false, true,
                            kScrollbarFrames, scrollButtonImage(button), {});
        return true;
    }
    default:
        return false;
    }
}

void TSkinTab::ApplyFaceColour() {
    if (control_)
        prepareImages();
    TSkinControl::ApplyFaceColour();
}

void TSkinTab::Refresh() {
    TSkinControl::Refresh();
    if (bar_)
        bar_->update();
    for (const auto& button : scrollButtons_)
        if (button)
            button->update();
}

bool TSkinTab::stripEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint: {
        // Without a tab image the strip paints itself.
        const QImage strip = composeStrip();
        if (strip.isNull())
            return false;
        QPainter p(bar_);
        p.drawImage(bandRect().topLeft() - bar_->pos(), strip);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!closeMode() || mouse->button() != Qt::LeftButton)
            return false;
        const QPoint at = mouse->position().toPoint();
        const int index = closeBoxAt(at);
        if (index < 0)
            return false;
        // A double click closes one tab: its second press lands on the box of
        // the tab that slid into the closed one's place.
        const bool second =
            event->type() == QEvent::MouseButtonDblClick ||
            (lastClose_ &&
             mouse->timestamp() - lastClose_->time <
                 static_cast<quint64>(QApplication::doubleClickInterval()) &&
             (at - lastClose_->at).manhattanLength() <= QApplication::startDragDistance());
        if (!second) {
            lastClose_ = LastClose{mouse->timestamp(), at};
            closePage(index);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace zorvia
