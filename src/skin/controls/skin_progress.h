#pragma once

#include "skin/skin_control.h"

#include <QPointer>
#include <QRect>

class QPainter;
class QProgressBar;

namespace zorvia {

namespace skin {
struct SkinModel;

// Draws a progress bar from the skin's "Progress" object into `rect`: the
// channel (state 1), and over its first `fraction` (0..1) the bar: state 2
// of "Progress", or "Progress.Chunk" for a skin whose progress image holds
// the channel only. Nothing is drawn without a "Progress" image.
void drawProgress(QPainter& p, const QRect& rect, double fraction, const SkinModel& model);
} // namespace skin

// Paints a progress bar from the skin, its text centred over it. Owned by
// the progress bar.
class TSkinProgress : public TSkinControl {
    Q_OBJECT
public:
    TSkinProgress(QProgressBar* bar, TSkinData& data, TWinSkinForm* form = nullptr);

protected:
    bool beforeEvent(QEvent* event) override;

private:
    QPointer<QProgressBar> bar_;
};

} // namespace zorvia
