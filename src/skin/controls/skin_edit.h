#pragma once

#include "skin/skin_control.h"

#include <QColor>
#include <QImage>
#include <QMargins>
#include <QPalette>
#include <QPointer>

class QLineEdit;

namespace zorvia {

namespace skin {
struct SkinModel;
}

// Draws a one-line edit's frame from the skin's "SunkEdge" object: normal,
// pointer over, focused and disabled. Owned by the edit.
class TSkinEdit : public TSkinControl {
    Q_OBJECT
public:
    enum State { Normal = 1, Hot = 2, Focused = 3, Disabled = 4 };

    TSkinEdit(QLineEdit* edit, TSkinData& data, TWinSkinForm* form = nullptr);
    ~TSkinEdit() override;

    // Gives the edit its own field colour, frame and margins back.
    void Detach() override;

    State state() const;
    // The frame images, one state after the other: the edge of "SunkEdge"
    // without the drop-down button the skin model combines into it.
    static QImage frameImage(const skin::SkinModel& model);

protected:
    bool beforeEvent(QEvent* event) override;
    void ApplyFaceColour() override;

private:
    void restore();

    QPointer<QLineEdit> edit_;
    QImage frame_;
    QColor base_;
    QPalette savedPalette_;
    QMargins savedMargins_;
    bool savedFrame_ = true;
    bool savedHover_ = false;
    bool restored_ = false;
    bool hot_ = false;
};

} // namespace zorvia
