#pragma once

#include "skin/frame_layout.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <vector>

namespace zorvia {

class TWinSkinForm;

namespace skin {

// State of a caption button: 1 normal, 2 pressed, 3 pointer over.
enum ButtonState { StateNormal = 1, StatePressed = 2, StateHot = 3 };

// Everything a frame is painted from.
struct FramePaint {
    const SkinModel* model = nullptr;
    FrameMetrics metrics;
    QSize size;
    bool active = true;
    bool minimised = false;
    QString text;
    QFont font;
    const CaptionLayout* caption = nullptr;
    std::vector<int> states; // per caption->buttons
    QImage icon;             // the window's small icon
};

// Paints edges, caption, caption text and caption buttons.
void paintFrame(QPainter& painter, const FramePaint& frame);

// The skinned frame of a window: a widget behind the client widget, covering
// the whole window, that paints the frame and takes the caption's mouse:
// caption buttons with hot tracking and hints, dragging by the caption (the
// window manager's move when there is one, a move by the mouse otherwise),
// and resizing by the edges of a sizing window.
class TSkinFrame : public QWidget {
    Q_OBJECT
public:
    TSkinFrame(TWinSkinForm& form, QWidget* window);

    // Lays out the caption anew and repaints.
    void relayout();
    // The frame skinner's timer: drops a hot button the pointer has left.
    void tick();

    const CaptionLayout& caption() const { return caption_; }
    int buttonState(int index) const;
    // The caption button with `action` that shows, or -1.
    int buttonWithAction(int action) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int buttonAt(QPoint pos) const;
    Qt::Edges edgesAt(QPoint pos) const;
    bool onCaption(QPoint pos) const;
    void setHot(int index);
    QImage windowIcon() const;

    TWinSkinForm& form_;
    CaptionLayout caption_;
    std::vector<int> states_;
    int hot_ = -1;
    int pressed_ = -1;
    // A move or resize done by the mouse when no window manager does it.
    enum class Drag { None, Move, Resize } drag_ = Drag::None;
    Qt::Edges dragEdges_;
    QPoint pressGlobal_;
    QRect startGeometry_;
};

} // namespace skin
} // namespace zorvia
