#pragma once

#include <QFont>

namespace zorvia::ui {

// The windows' font: a small sans face that carries Chinese (an 8-point face
// is 11 pixels high; Chinese needs a pixel more to stay legible).
QFont uiFont();

} // namespace zorvia::ui
