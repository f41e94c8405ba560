#pragma once

#include "skin/skin_events.h"
#include "skin/skin_model.h"

#include <QColor>

class QObject;
class QWidget;

namespace zorvia {
class TSkinData;
}

namespace zorvia::skin {

// A system colour (COLOR_BTNSHADOW and the like) as the model resolves it.
QColor systemQColour(const SkinModel& model, int index);

// A skin colour value of a model object (RGB or a system colour reference).
QColor skinQColour(const SkinModel& model, SkinColour colour);

// Fills `target` with what `widget`'s parent shows under the widget: its
// background and its own painting, without its children.
void paintParentBackground(QPainter& target, const QWidget* widget);

} // namespace zorvia::skin
