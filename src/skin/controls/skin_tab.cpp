#include "skin/controls/skin_tab.h"

#include "skin/controls/skin_paint.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/skin_events.h"
#include "ui/kit/page_control.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace zorvia {

namespace {

constexpr int kMaxTabText = 80;
constexpr int kIconGap = 2;

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

TSkinTab::TSkinTab(ui::TPageControl* control, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(control, data, form), control_(control), bar_(control->tabStrip()),
      pageControl_(control) {
    prepareImages();
    bar_->installEventFilter(this);
    bar_->update();
}

TSkinTab::TSkinTab(QTabWidget* control, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(control, data, form), control_(control), bar_(control->tabBar()),
      tabWidget_(control) {
    prepareImages();
    bar_->installEventFilter(this);
    bar_->update();
}

TSkinTab::Position TSkinTab::position() const {
    return tabWidget_ ? static_cast<Position>(tabWidget_->tabPosition()) : Position::Top;
}

bool TSkinTab::closeMode() const {
    return pageControl_ && skin::tagOf(pageControl_) == CloseTag && position() == Position::Top;
}

QRect TSkinTab::closeBox(int index) const {
    return index >= 0 && index < static_cast<int>(closeBoxes_.size()) ? closeBoxes_[index]
                                                                      : QRect();
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
    closeBoxes_.clear();
    if (lying.isEmpty())
        return {};
    QImage strip(lying, QImage::Format_RGB32);
    strip.fill(data().Model().qcolour(skin::SlotButtonFace));
    const int count = bar_->isVisibleTo(control_) ? bar_->count() : 0;
    if (!tabImage_.isNull() && count > 0) {
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

    if (closeMode()) {
        const QRect box(rect.right() - 7, rect.top() + 2, 6, 6);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.bottomLeft(), box.topRight());
        closeBoxes_.resize(static_cast<size_t>(index) + 1);
        closeBoxes_[index] = box.translated(bandRect().topLeft() - bar_->pos());
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
    if (question.answer != 0)
        return;
    if (ui::TTabSheet* sheet = pageControl_->page(index)) {
        pageControl_->removePage(sheet);
        sheet->deleteLater();
    }
}

bool TSkinTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bar_ && control_)
        return enabled() && attached() && stripEvent(event);
    return TSkinControl::eventFilter(watched, event);
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
}

bool TSkinTab::stripEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint: {
        const QImage strip = composeStrip();
        QPainter p(bar_);
        if (!strip.isNull())
            p.drawImage(bandRect().topLeft() - bar_->pos(), strip);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!closeMode() || mouse->button() != Qt::LeftButton)
            return false;
        const QPoint at = mouse->position().toPoint();
        for (int i = 0; i < static_cast<int>(closeBoxes_.size()); ++i) {
            if (closeBoxes_[i].contains(at)) {
                closePage(i);
                return true;
            }
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace zorvia
