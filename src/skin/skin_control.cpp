#include "skin/skin_control.h"

#include "skin/skin_data.h"
#include "skin/skin_events.h"

#include <QPainter>
#include <QWidget>

namespace zorvia {

TSkinControl::TSkinControl(QWidget* control, TSkinData& data, TWinSkinForm* form, int kind)
    : QObject(control), control_(control), controlClass_(control->metaObject()), data_(data),
      form_(form), kind_(kind) {
    setObjectName("TSkinControl");
}

TSkinControl::~TSkinControl() {
    if (controlAlive())
        Detach();
}

bool TSkinControl::controlAlive() const {
    // While its destructors run, the control is no longer of its own class.
    return control_ && control_->metaObject() == controlClass_;
}

void TSkinControl::AttachControl() {
    if (attached_ || !control_)
        return;
    attached_ = true;
    control_->installEventFilter(this);
    if (kind_ == 1) {
        savedPalette_ = control_->palette();
        savedAutoFill_ = control_->autoFillBackground();
        // A control that shows its parent's background paints its own while
        // the skin colours it, unless the option keeps the parent's.
        if (!data_.Options.has(TSkinOption::xoParentBackGround))
            control_->setAutoFillBackground(true);
        ApplyFaceColour();
    }
    control_->update();
}

void TSkinControl::Detach() {
    if (!attached_)
        return;
    attached_ = false;
    enabled_ = false;
    if (!control_)
        return;
    control_->removeEventFilter(this);
    if (kind_ == 1) {
        control_->setPalette(savedPalette_);
        control_->setAutoFillBackground(savedAutoFill_);
    }
    control_->update();
}

void TSkinControl::SkinChanged() {
    // A skinner switched off reads the skin when it is switched on again.
    if (attached_ && enabled_ && control_)
        ApplyFaceColour();
}

void TSkinControl::ApplyFaceColour() {
    if (!control_)
        return;
    if (kind_ == 1 && data_.SkinLoaded()) {
        QPalette palette = control_->palette();
        const QColor face = data_.Model().qcolour(skin::SlotButtonFace);
        palette.setColor(QPalette::Window, face);
        palette.setColor(QPalette::Button, face);
        control_->setPalette(palette);
    }
    Refresh();
}

void TSkinControl::Refresh() {
    control_->update();
}

bool TSkinControl::beforeEvent(QEvent* event) {
    if (event->type() == skin::SKM_ISSKINNED) {
        static_cast<skin::IsSkinnedQuery*>(event)->answer = 1;
        return false;
    }
    return true;
}

void TSkinControl::afterEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::WindowTitleChange:
    case QEvent::FontChange:
        Refresh();
        break;
    default:
        break;
    }
}

void TSkinControl::PaintControl(QPainter&) {}

void TSkinControl::PaintFrame(QPainter&) {}

bool TSkinControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_)
        return QObject::eventFilter(watched, event);
    if (event->type() == skin::SKM_SETENABLED) {
        enabled_ = static_cast<skin::SetEnabledEvent*>(event)->on();
        // Switched off, the control paints itself again at once.
        if (enabled_)
            ApplyFaceColour();
        else
            Refresh();
        return true;
    }
    if (!enabled_)
        return false;
    if (!beforeEvent(event))
        return true;
    if (event->type() == QEvent::Paint && paintsControl()) {
        QPainter painter(control_);
        PaintControl(painter);
        return true;
    }
    if (event->type() == QEvent::Paint && paintsFrame()) {
        // The control paints itself first; the skinner paints over it.
        static_cast<QObject*>(control_)->event(event);
        QPainter painter(control_);
        try {
            PaintFrame(painter);
        } catch (...) {
            // The control keeps the look it has until its next paint.
        }
        return true;
    }
    afterEvent(event);
    return false;
}

const TSkinData* skin::skinOf(const QObject* control) {
    if (!control)
        return nullptr;
    for (const QObject* child : control->children())
        if (const auto* skinner = qobject_cast<const TSkinControl*>(child))
            if (skinner->attached() && skinner->enabled() && skinner->control() == control)
                return &skinner->data();
    return nullptr;
}

} // namespace zorvia
