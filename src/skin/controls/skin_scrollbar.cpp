#include "skin/controls/skin_scrollbar.h"

#include "skin/controls/skin_paint.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>

#include <utility>

namespace zorvia {

namespace {

constexpr int kScrollbarFrames = 23;

// The application's style with the bars as thick as the skin's arrow images.
class BarStyle : public QProxyStyle {
public:
    explicit BarStyle(int extent) : extent_(extent) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ScrollBarExtent)
            return extent_;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int extent_;
};

QStyleOptionSlider sliderOption(const QScrollBar* bar) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.activeSubControls = QStyle::SC_None;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal)
        opt.state |= QStyle::State_Horizontal;
    return opt;
}

// The parts of a bar and the style's sub-controls for them.
constexpr std::pair<TSkinScrollbar::Part, QStyle::SubControl> kParts[] = {
    {TSkinScrollbar::FirstArrow, QStyle::SC_ScrollBarSubLine},
    {TSkinScrollbar::SecondArrow, QStyle::SC_ScrollBarAddLine},
    {TSkinScrollbar::TrackBefore, QStyle::SC_ScrollBarSubPage},
    {TSkinScrollbar::TrackAfter, QStyle::SC_ScrollBarAddPage},
    {TSkinScrollbar::Thumb, QStyle::SC_ScrollBarSlider},
};

QStyle::SubControl subControlOf(TSkinScrollbar::Part part) {
    for (const auto& [p, sub] : kParts)
        if (p == part)
            return sub;
    return QStyle::SC_None;
}

} // namespace

TSkinScrollbar::TSkinScrollbar(QAbstractScrollArea* control, TSkinData& data, TWinSkinForm* form)
    : TSkinControl(control, data, form), control_(control) {
    bars_[0].bar = control->horizontalScrollBar();
    bars_[1].bar = control->verticalScrollBar();
    savedFrameStyle_ = control->frameStyle();
    savedLineWidth_ = control->lineWidth();
    savedMidLineWidth_ = control->midLineWidth();
    border_ = control->frameShape() != QFrame::NoFrame;
    if (border_) {
        control->setFrameStyle(QFrame::Box | QFrame::Plain);
        control->setLineWidth(2);
        control->setMidLineWidth(0);
    }
    for (BarState& state : bars_) {
        state.savedTracking = state.bar->hasMouseTracking();
        state.bar->setMouseTracking(true);
        state.bar->installEventFilter(this);
    }
    applyBarStyle();
}

TSkinScrollbar::~TSkinScrollbar() {
    restore();
}

void TSkinScrollbar::Detach() {
    restore();
    TSkinControl::Detach();
}

void TSkinScrollbar::restore() {
    if (std::exchange(restored_, true) || !controlAlive())
        return;
    for (BarState& state : bars_) {
        if (!state.bar)
            continue;
        state.bar->removeEventFilter(this);
        state.bar->setMouseTracking(state.savedTracking);
        if (barStyle_ && state.bar->style() == barStyle_.get())
            state.bar->setStyle(nullptr);
    }
    if (control_) {
        control_->setFrameStyle(savedFrameStyle_);
        control_->setLineWidth(savedLineWidth_);
        control_->setMidLineWidth(savedMidLineWidth_);
    }
}

void TSkinScrollbar::applyBarStyle() {
    const skin::SkinModel& model = data().Model();
    const int extent =
        model.Scrollbar && !model.Scrollbar->Image.isNull() ? model.Scrollbar->Image.height() : 0;
    const int current = barStyle_ ? barStyle_->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    if (extent == current || !control_)
        return;
    std::unique_ptr<QStyle> next;
    if (extent > 0)
        next = std::make_unique<BarStyle>(extent);
    for (BarState& state : bars_)
        if (state.bar)
            state.bar->setStyle(next.get());
    barStyle_ = std::move(next);
    // The scroll area lays its bars out again at their new thickness.
    QResizeEvent resize(control_->size(), control_->size());
    QCoreApplication::sendEvent(control_, &resize);
    control_->update();
}

void TSkinScrollbar::ApplyFaceColour() {
    if (!restored_)
        applyBarStyle();
    TSkinControl::ApplyFaceColour();
}

TSkinScrollbar::BarState* TSkinScrollbar::stateOf(const QObject* bar) {
    for (BarState& state : bars_)
        if (state.bar == bar)
            return &state;
    return nullptr;
}

const TSkinScrollbar::BarState* TSkinScrollbar::stateOf(const QObject* bar) const {
    return const_cast<TSkinScrollbar*>(this)->stateOf(bar);
}

TSkinScrollbar::Part TSkinScrollbar::hotPart(Qt::Orientation orientation) const {
    return bars_[orientation == Qt::Vertical ? 1 : 0].hot;
}

bool TSkinScrollbar::pressed(Qt::Orientation orientation) const {
    return bars_[orientation == Qt::Vertical ? 1 : 0].pressed;
}

QRect TSkinScrollbar::partRect(const QScrollBar* bar, Part part) {
    const QStyleOptionSlider opt = sliderOption(bar);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, subControlOf(part), bar);
}

TSkinScrollbar::Part TSkinScrollbar::partAt(const QScrollBar* bar, QPoint at) {
    const QStyleOptionSlider opt = sliderOption(bar);
    const QStyle::SubControl hit =
        bar->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &opt, at, bar);
    for (const auto& [part, sub] : kParts)
        if (sub == hit)
            return part;
    return NoPart;
}

void TSkinScrollbar::setHot(BarState& state, Part part) {
    if (state.hot != part) {
        state.hot = part;
        state.bar->update();
    }
}

void TSkinScrollbar::paintBar(QPainter& target, const QScrollBar* bar) {
    const skin::SkinModel& model = data().Model();
    const BarState* state = stateOf(bar);
    const Part hot = state ? state->hot : NoPart;
    const bool down = state && state->pressed;
    const bool vertical = bar->orientation() == Qt::Vertical;
    const bool enabled = bar->isEnabled();

    QImage work(bar->size(), QImage::Format_RGB32);
    work.fill(model.qcolour(skin::SlotButtonFace));
    const TDataSkinObject* arrows = model.Scrollbar ? &*model.Scrollbar : nullptr;
    if (arrows && !arrows->Image.isNull()) {
        QPainter p(&work);
        // The track, with the part under a pressed or hovered pointer.
        const auto& track = vertical ? model.VertScroll : model.HorzScroll;
        if (track) {
            skin::DrawSkinObject(
                p, partRect(bar, TrackBefore) | partRect(bar, Thumb) | partRect(bar, TrackAfter),
                *track, enabled ? 1 : 3);
            if (enabled && (hot == TrackBefore || hot == TrackAfter))
                skin::DrawSkinObject(p, partRect(bar, hot), *track, down ? 2 : 4);
        }
        // The arrows.
        for (const Part part : {FirstArrow, SecondArrow}) {
            int image = vertical ? (part == FirstArrow ? 9 : 13) : (part == FirstArrow ? 1 : 5);
            if (enabled && hot == part)
                image += down ? 1 : 3;
            skin::DrawSkinImage(p, partRect(bar, part), arrows->Image, false, false, true,
                                kScrollbarFrames, image, {});
        }
        // The thumb and its grip.
        const auto& thumb = vertical ? model.VertScrollThumb : model.HorzScrollThumb;
        const QRect thumbRect = partRect(bar, Thumb);
        if (enabled && bar->maximum() > bar->minimum() && thumb && !thumbRect.isEmpty() &&
            work.rect().contains(thumbRect)) {
            const int thumbState = hot == Thumb ? (down ? 2 : 3) : 1;
            skin::DrawSkinObject(p, thumbRect, *thumb, thumbState);
            const int length = vertical ? thumbRect.height() : thumbRect.width();
            if (length > arrows->Image.height() - 2) {
                const int grip = (vertical ? 20 : 17) + (hot == Thumb ? (down ? 1 : 2) : 0);
                skin::DrawSkinImageCentred(p, thumbRect, arrows->Image, false, true,
                                           kScrollbarFrames, grip);
            }
        }
    }
    target.drawImage(0, 0, work);
}

void TSkinScrollbar::PaintControl(QPainter& p) {
    const skin::SkinModel& model = data().Model();
    const QRect all = control_->rect();
    if (border_) {
        p.setPen(model.qcolour(skin::SlotButtonShadow));
        p.drawRect(all.adjusted(0, 0, -1, -1));
        p.setPen(model.qcolour(skin::SlotButtonFace));
        p.drawRect(all.adjusted(1, 1, -2, -2));
    }
    const QScrollBar* h = bars_[0].bar;
    const QScrollBar* v = bars_[1].bar;
    if (h && v && h->isVisible() && v->isVisible()) {
        const QPoint vAt = v->mapTo(control_, QPoint());
        const QPoint hAt = h->mapTo(control_, QPoint());
        p.fillRect(QRect(vAt.x(), hAt.y(), v->width(), h->height()),
                   model.qcolour(skin::SlotButtonFace));
    }
}

bool TSkinScrollbar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_)
        if (BarState* state = stateOf(watched))
            return state->bar && control_ && enabled() && attached() && barEvent(*state, event);
    return TSkinControl::eventFilter(watched, event);
}

void TSkinScrollbar::Refresh() {
    TSkinControl::Refresh();
    for (BarState& state : bars_)
        if (state.bar)
            state.bar->update();
}

bool TSkinScrollbar::barEvent(BarState& state, QEvent* event) {
    QScrollBar* bar = state.bar;
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter p(bar);
        paintBar(p, bar);
        return true;
    }
    case QEvent::MouseMove:
        if (!state.pressed)
            setHot(state, partAt(bar, static_cast<QMouseEvent*>(event)->position().toPoint()));
        return false;
    case QEvent::Leave:
        if (!state.pressed)
            setHot(state, NoPart);
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            state.hot = partAt(bar, mouse->position().toPoint());
            state.pressed = true;
            bar->update();
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            state.pressed = false;
            state.hot = partAt(bar, static_cast<QMouseEvent*>(event)->position().toPoint());
            bar->update();
        }
        return false;
    default:
        return false;
    }
}

} // namespace zorvia
