#pragma once

#include "skin/controls/skin_painted.h"

#include <QProgressBar>
#include <QRect>

namespace zorvia {

namespace skin {
struct SkinModel;

// Draws a progress bar from the skin's "Progress" object into `rect`: the
// channel (state 1), and over its first `fraction` (0..1) the bar: state 2
// of "Progress", or "Progress.Chunk" for a skin whose progress image holds
// the channel only. Nothing is drawn without a "Progress" image.
void drawProgress(QPainter& p, const QRect& rect, double fraction, const SkinModel& model);
// A whole progress bar: the ButtonFace colour, the bar at the control's
// position, its text in the ButtonText colour.
void paintProgressBar(QPainter& p, QProgressBar& bar, const TSkinData& data);
} // namespace skin

// Paints a progress bar from the skin, its text centred over it. Owned by
// the progress bar.
using TSkinProgress = TSkinPainted<QProgressBar, 0, &skin::paintProgressBar>;

} // namespace zorvia
