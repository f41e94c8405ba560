#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>

class QPainter;
class QWidget;

namespace zorvia {

class TSkinData;
class TWinSkinForm;

// The base of every control skinner: an event filter owned by its control,
// so that it goes when the control goes. It answers the already-skinned
// question, follows SKM_SETENABLED, and repaints the control after focus,
// enabled and text changes. Kind 1 skinners give the control the skin's
// ButtonFace colour while attached.
class TSkinControl : public QObject {
    Q_OBJECT
public:
    TSkinControl(QWidget* control, TSkinData& data, TWinSkinForm* form, int kind = 0);
    ~TSkinControl() override;

    // Starts filtering the control's events; attaching twice does nothing.
    void AttachControl();
    // Switches the skinner off and gives a kind 1 control its colour back.
    virtual void Detach();
    // The skin was loaded anew: images and colours taken from the old model
    // are read again and the control repaints.
    void SkinChanged();

    QWidget* control() const { return control_; }
    TSkinData& data() const { return data_; }
    TWinSkinForm* form() const { return form_; }
    int kind() const { return kind_; }
    bool enabled() const { return enabled_; }
    bool attached() const { return attached_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Runs before the control sees `event`; false keeps it from the control.
    virtual bool beforeEvent(QEvent* event);
    // Runs as `event` goes on to the control; the base repaints the control
    // (after the control handled it) on focus, enabled and text changes.
    virtual void afterEvent(QEvent* event);
    // Paints the control in place of its own painting, when the skinner
    // paints the whole control.
    virtual bool paintsControl() const { return false; }
    virtual void PaintControl(QPainter& painter);
    // Paints over the control after it painted itself; true when the
    // skinner has something to paint there.
    virtual bool paintsFrame() const { return false; }
    virtual void PaintFrame(QPainter& painter);
    // Gives a kind 1 control the ButtonFace colour again and repaints it.
    virtual void ApplyFaceColour();
    // Repaints everything the skinner paints on; the base repaints the
    // control.
    virtual void Refresh();
    // False once the control is gone or being destroyed (a skinner deleted
    // with its control has nothing to give back).
    bool controlAlive() const;

private:
    QPointer<QWidget> control_;
    const QMetaObject* controlClass_;
    TSkinData& data_;
    TWinSkinForm* form_;
    int kind_;
    bool enabled_ = true;
    bool attached_ = false;
    QPalette savedPalette_;
    bool savedAutoFill_ = false;
};

namespace skin {
// The skin of the skinner attached to `control` while it is switched on, or
// none: for painting helpers of a control that should wear its skin.
const TSkinData* skinOf(const QObject* control);
} // namespace skin

} // namespace zorvia
