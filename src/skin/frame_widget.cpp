#include "skin/frame_widget.h"

#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/win_skin_form.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

namespace zorvia::skin {

namespace {

constexpr QSize kSmallIcon(16, 16);
constexpr int kTopGrip = 3;    // the top rows that resize instead of moving
constexpr int kCornerGrip = 8; // reach of a corner along the other edge

bool iconAction(int action) {
    return action == 3 || action == 11;
}

// The icon with its magenta pixels transparent, as in every skin image; an
// icon's own transparency stays.
QImage keyedIcon(const QImage& icon) {
    QImage out = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(line[x]) == 255 && isKey(line[x]))
                line[x] = 0;
    }
    return out;
}

// The state image of an edge: 1 active, 2 inactive; an edge of one state
// shows that state either way.
int edgeState(const TDataSkinObject& edge, bool active) {
    return active || edge.Frame < 2 ? 1 : 2;
}

} // namespace

void paintFrame(QPainter& p, const FramePaint& f) {
    const SkinModel& m = *f.model;
    const FrameMetrics& fm = f.metrics;
    const int w = f.size.width(), h = f.size.height();
    if (!f.minimised) {
        DrawSkinObject(p, QRect(0, 0, fm.left, h), m.Left, edgeState(m.Left, f.active));
        DrawSkinObject(p, QRect(w - fm.right, 0, fm.right, h), m.Right,
                       edgeState(m.Right, f.active));
        DrawSkinObject(p, QRect(fm.left, h - fm.bottom, w - fm.horizontal(), fm.bottom), m.Bottom,
                       edgeState(m.Bottom, f.active), true);
    }
    DrawSkinObject(p, QRect(0, 0, w, fm.top), m.Top, edgeState(m.Top, f.active), true);
    if (!f.caption)
        return;

    const CaptionLayout& c = *f.caption;
    const TDataSkinTitle& title = m.Title;
    if (!title.Image.isNull())
        DrawSkinImage(p, c.textBack, title.Image, true, false, true, 2, f.active ? 1 : 2,
                      {title.TXTBackleft, 0, title.TXTBackRight, 0});
    if (c.text.width() > 0) {
        p.setFont(f.font);
        p.setPen(m.qcolour(f.active ? SlotTitleTextActive : SlotTitleTextNoActive));
        const QString padded = paddedCaption(f.text);
        if (c.clipped)
            p.drawText(c.text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       p.fontMetrics().elidedText(padded, Qt::ElideRight, c.text.width()));
        else
            p.drawText(c.text,
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                       padded);
    }

    for (std::size_t i = 0; i < c.buttons.size(); ++i) {
        const CaptionButton& b = c.buttons[i];
        const TDataSkinSysButton& model = m.CaptionButtons[static_cast<std::size_t>(b.index)];
        if (iconAction(model.Action)) {
            if (!f.icon.isNull())
                p.drawImage(b.rect, keyedIcon(f.icon));
            continue;
        }
        int k = i < f.states.size() ? f.states[i] : StateNormal;
        if (!b.enabled)
            k = model.Frame > 3 ? 4 : 1;
        else if (model.Visibility == 100 && k == StateHot)
            k = 4;
        DrawSkinImage(p, b.rect, model.Image, false, false, true, model.Frame, k, {});
    }
}

TSkinFrame::TSkinFrame(TWinSkinForm& form, QWidget* window) : QWidget(window), form_(form) {
    setObjectName("SkinFrame");
    setMouseTracking(true);
    setGeometry(window->rect());
}

void TSkinFrame::relayout() {
    QWidget* window = form_.window();
    if (!window)
        return;
    caption_ = layoutCaption(form_.data().Model(), form_.traits(), form_.metrics(), width(),
                             window->windowTitle(), form_.data().TitleFont(), kSmallIcon);
    states_.assign(caption_.buttons.size(), StateNormal);
    if (hot_ >= static_cast<int>(states_.size()))
        hot_ = -1;
    if (pressed_ >= static_cast<int>(states_.size()))
        pressed_ = -1;
    if (hot_ >= 0)
        states_[static_cast<std::size_t>(hot_)] = pressed_ == hot_ ? StatePressed : StateHot;
    update();
}

void TSkinFrame::tick() {
    if (hot_ >= 0 && pressed_ < 0 && buttonAt(mapFromGlobal(QCursor::pos())) != hot_)
        setHot(-1);
}

int TSkinFrame::buttonState(int index) const {
    return index >= 0 && index < static_cast<int>(states_.size())
               ? states_[static_cast<std::size_t>(index)]
               : 0;
}

int TSkinFrame::buttonWithAction(int action) const {
    const auto& model = form_.data().Model().CaptionButtons;
    for (std::size_t i = 0; i < caption_.buttons.size(); ++i)
        if (model[static_cast<std::size_t>(caption_.buttons[i].index)].Action == action)
            return static_cast<int>(i);
    return -1;
}

QImage TSkinFrame::windowIcon() const {
    const QIcon icon = form_.window() ? form_.window()->windowIcon() : QIcon();
    if (!icon.isNull())
        return icon.pixmap(kSmallIcon).toImage().scaled(kSmallIcon);
    return form_.data().CaptionIcon();
}

void TSkinFrame::paintEvent(QPaintEvent*) {
    QWidget* window = form_.window();
    if (!window)
        return;
    QPainter painter(this);
    FramePaint f;
    f.model = &form_.data().Model();
    f.metrics = form_.metrics();
    f.size = size();
    f.active = window->isActiveWindow();
    f.minimised = window->isMinimized();
    f.text = window->windowTitle();
    f.font = form_.data().TitleFont();
    f.caption = &caption_;
    f.states = states_;
    f.icon = windowIcon();
    try {
        paintFrame(painter, f);
    } catch (...) {
        // A frame that cannot be painted keeps its last look.
    }
}

int TSkinFrame::buttonAt(QPoint pos) const {
    for (std::size_t i = 0; i < caption_.buttons.size(); ++i)
        if (caption_.buttons[i].rect.contains(pos))
            return static_cast<int>(i);
    return -1;
}

Qt::Edges TSkinFrame::edgesAt(QPoint pos) const {
    const FrameMetrics& m = form_.metrics();
    Qt::Edges edges;
    if (pos.x() < m.left)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - m.right)
        edges |= Qt::RightEdge;
    if (pos.y() < kTopGrip)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - m.bottom)
        edges |= Qt::BottomEdge;
    if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        if (pos.x() < kCornerGrip)
            edges |= Qt::LeftEdge;
        if (pos.x() >= width() - kCornerGrip)
            edges |= Qt::RightEdge;
    } else if (edges) {
        if (pos.y() < kCornerGrip)
            edges |= Qt::TopEdge;
        if (pos.y() >= height() - kCornerGrip)
            edges |= Qt::BottomEdge;
    }
    return edges;
}

bool TSkinFrame::onCaption(QPoint pos) const {
    return pos.y() < form_.metrics().top && pos.x() >= 0 && pos.x() < width();
}

void TSkinFrame::setHot(int index) {
    if (hot_ == index)
        return;
    if (hot_ >= 0 && hot_ < static_cast<int>(states_.size()))
        states_[static_cast<std::size_t>(hot_)] = StateNormal;
    hot_ = index;
    if (hot_ >= 0)
        states_[static_cast<std::size_t>(hot_)] = StateHot;
    update();
}

bool TSkinFrame::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = buttonAt(help->pos());
        QString hint;
        if (index >= 0 && form_.data().Options.has(TSkinOption::xoCaptionButtonHint)) {
            const auto& b = caption_.buttons[static_cast<std::size_t>(index)];
            hint = captionButtonHint(
                form_.data().Model().CaptionButtons[static_cast<std::size_t>(b.index)].Action);
        }
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this,
                               caption_.buttons[static_cast<std::size_t>(index)].rect);
        return true;
    }
    return QWidget::event(event);
}

void TSkinFrame::mousePressEvent(QMouseEvent* event) {
    QToolTip::hideText();
    QWidget* window = form_.window();
    const QPoint pos = event->position().toPoint();
    if (!window)
        return;
    if (event->button() == Qt::RightButton && onCaption(pos) && buttonAt(pos) < 0) {
        form_.openWindowMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (const int index = buttonAt(pos); index >= 0) {
        if (!window->isActiveWindow())
            window->activateWindow();
        pressed_ = index;
        hot_ = -1;
        setHot(index);
        states_[static_cast<std::size_t>(index)] = StatePressed;
        update();
        return;
    }
    const WindowTraits traits = form_.traits();
    pressGlobal_ = event->globalPosition().toPoint();
    startGeometry_ = window->geometry();
    if (const Qt::Edges edges = edgesAt(pos); edges && traits.sizing && !traits.maximised) {
        if (!window->windowHandle() || !window->windowHandle()->startSystemResize(edges)) {
            drag_ = Drag::Resize;
            dragEdges_ = edges;
        }
        return;
    }
    if (!onCaption(pos))
        return;
    // A maximised window stays where it is.
    if (traits.maximised)
        return;
    if (!window->windowHandle() || !window->windowHandle()->startSystemMove())
        drag_ = Drag::Move;
}

void TSkinFrame::mouseMoveEvent(QMouseEvent* event) {
    QWidget* window = form_.window();
    const QPoint pos = event->position().toPoint();
    if (!window)
        return;
    const QPoint delta = event->globalPosition().toPoint() - pressGlobal_;
    if (drag_ == Drag::Move) {
        window->move(startGeometry_.topLeft() + delta);
        return;
    }
    if (drag_ == Drag::Resize) {
        QRect r = startGeometry_;
        if (dragEdges_ & Qt::LeftEdge)
            r.setLeft(std::min(r.left() + delta.x(), r.right() - window->minimumWidth()));
        if (dragEdges_ & Qt::RightEdge)
            r.setRight(r.right() + delta.x());
        if (dragEdges_ & Qt::TopEdge)
            r.setTop(std::min(r.top() + delta.y(), r.bottom() - window->minimumHeight()));
        if (dragEdges_ & Qt::BottomEdge)
            r.setBottom(r.bottom() + delta.y());
        r.setSize(r.size().boundedTo(window->maximumSize()).expandedTo(window->minimumSize()));
        window->setGeometry(r);
        return;
    }
    if (pressed_ >= 0) {
        const bool over = buttonAt(pos) == pressed_;
        states_[static_cast<std::size_t>(pressed_)] = over ? StatePressed : StateNormal;
        update();
        return;
    }
    if (window->isActiveWindow())
        setHot(buttonAt(pos));
    const Qt::Edges edges =
        form_.traits().sizing && !window->isMaximized() ? edgesAt(pos) : Qt::Edges();
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

void TSkinFrame::mouseReleaseEvent(QMouseEvent* event) {
    QToolTip::hideText();
    drag_ = Drag::None;
    if (event->button() != Qt::LeftButton || pressed_ < 0)
        return;
    const int pressed = std::exchange(pressed_, -1);
    if (buttonAt(event->position().toPoint()) != pressed || hot_ != pressed) {
        setHot(-1);
        return;
    }
    states_[static_cast<std::size_t>(pressed)] = StateHot;
    update();
    const auto& b = caption_.buttons[static_cast<std::size_t>(pressed)];
    const int action =
        form_.data().Model().CaptionButtons[static_cast<std::size_t>(b.index)].Action;
    form_.runCaptionAction(action, event->globalPosition().toPoint());
}

void TSkinFrame::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && onCaption(pos) && buttonAt(pos) < 0)
        form_.runCaptionAction(1, event->globalPosition().toPoint());
}

void TSkinFrame::leaveEvent(QEvent*) {
    if (pressed_ < 0)
        setHot(-1);
}

} // namespace zorvia::skin
