#pragma once

#include "skin/skin_control.h"

#include <QPointer>
#include <QRect>

class QPainter;
class QPushButton;

namespace zorvia {

// Paints a push button from the "Buttons" object of the skin and takes over
// its mouse: a click needs the press and the release on the button without
// the pointer leaving it in between. Owned by the button.
class TSkinButton : public TSkinControl {
    Q_OBJECT
public:
    // The state images of "Buttons", counted from 1.
    enum State { Normal = 1, Pressed = 2, Disabled = 3, Hot = 4, Focused = 5 };

    TSkinButton(QPushButton* button, TSkinData& data, TWinSkinForm* form = nullptr);

    // xoNoFocusRect: no focus rectangle on the focused button.
    void setNoFocusRect(bool on);
    // xoTransparent: the parent's background under the button image. A
    // button whose Tag is 5555 is transparent either way.
    void setTransparent(bool on);

    State state() const;
    // The rectangle the caption is drawn in, in button coordinates.
    QRect textRect() const { return textRect_; }

    // Paints the button into `target` at the origin.
    void paint(QPainter& target);

protected:
    bool beforeEvent(QEvent* event) override;
    bool paintsControl() const override { return true; }
    void PaintControl(QPainter& painter) override { paint(painter); }

private:
    void setHot(bool hot);
    void setPressed(bool pressed);

    QPointer<QPushButton> button_;
    bool hot_ = false;
    bool pressed_ = false;
    bool noFocusRect_ = false;
    bool transparent_ = false;
    QRect textRect_;
};

} // namespace zorvia
