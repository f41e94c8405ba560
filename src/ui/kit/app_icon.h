#pragma once

#include <QIcon>
#include <QPixmap>

namespace zorvia::ui {

// The game box's icon: a game pad on a rounded orange square.
QIcon appIcon();

// The icon drawn at size × size pixels (the installed icon theme sizes are
// rendered from this).
QPixmap renderAppIcon(int size);

} // namespace zorvia::ui
