#pragma once

#include "skin/control_map.h"
#include "skin/frame_layout.h"
#include "skin/frame_widget.h"
#include "skin/popup_menu.h"
#include "skin/skin_control.h"
#include "text/ansi.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>
#include <vector>

class QMenu;

namespace zorvia {

class TSkinData;

// The frame skinner of one top-level window. Attached, the window goes
// frameless: its children move into a client widget placed inside the skin's
// edges, the window grows so that the client keeps its size, and a frame
// widget behind the client paints edges, caption and caption buttons and
// takes the caption's mouse. Detached, the window gets its platform frame,
// children, size and constraints back as they were.
class TWinSkinForm : public QObject {
    Q_OBJECT
public:
    TWinSkinForm(QWidget* window, AnsiString className, TSkinData& data);
    ~TWinSkinForm() override;

    // Takes the window over; SKM_SKINLATER is posted by the manager after.
    void AttachWindow();
    // Gives the window back; safe to call again.
    void Detach();
    // Lets go of a window that is being destroyed, without giving anything
    // back.
    void Abandon();

    QWidget* window() const { return window_; }
    bool windowGone() const { return window_.isNull(); }
    const AnsiString& className() const { return className_; }
    TSkinData& data() const { return *data_; }
    bool controlsSkinned() const { return controlsSkinned_; }

    // Frame state.
    const skin::FrameMetrics& metrics() const { return metrics_; }
    skin::WindowTraits traits() const;
    // Where the window's controls live: the client widget, or the window
    // itself for a window that keeps its platform frame.
    QWidget* client() const;
    skin::TSkinFrame* frame() const { return frame_; }
    // Re-reads the skin settings, rebuilds the frame and repaints.
    void Refresh();
    // Runs a caption button's action.
    void runCaptionAction(int action, QPoint globalPos);
    void openWindowMenu(QPoint globalPos);

    // Control mapping (control_map.cpp).
    void SkinFormControls(QWidget* form);
    SkinnerKind SkinControl(QWidget* control, QWidget* parent);
    bool SkinBySkin3rd(const AnsiString& className, QWidget* control);
    // What SkinBySkin3rd would choose: no value when the class has no line.
    std::optional<SkinnerKind> skin3rdKind(const AnsiString& className) const;
    // The control skinners attached by this frame skinner (each a child of
    // its control).
    std::vector<QObject*> controlSkinners() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeFrame();
    void removeFrame();
    void paintClientFace();
    void syncGeometry();
    void followClient();
    void applyShape();
    void followState(Qt::WindowStates oldState);
    void skinLater();
    void widenForCaption();
    SkinnerKind attachSkinner(SkinnerKind kind, QWidget* control);
    SkinnerKind mapByClass(QWidget* control, const AnsiString& className);

    QPointer<QWidget> window_;
    AnsiString className_;
    TSkinData* data_;
    skin::FrameMetrics metrics_;
    QPointer<skin::TSkinFrame> frame_;
    QPointer<QWidget> client_;
    Qt::WindowFlags savedFlags_;
    QSize savedMinimum_;
    QSize savedMaximum_;
    QRect normalGeometry_; // before the window was maximised
    bool attached_ = false;
    bool controlsSkinned_ = false;
    bool syncing_ = false;
    QTimer timer_;
    std::vector<QPointer<QObject>> skinners_;
    std::vector<QPointer<TWinSkinPopMenu>> menus_;
};

} // namespace zorvia
