#pragma once

#include <QIcon>

namespace zorvia::ui {

// The game box's icon: a game pad on a rounded orange square.
QIcon appIcon();

} // namespace zorvia::ui
