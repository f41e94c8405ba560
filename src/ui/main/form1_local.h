#pragma once

namespace zorvia {

class TForm1;

namespace ui {

// Binds the local list's menu item N1 and the download button to their
// handlers on form.
void wireLocalGames(TForm1& form);

} // namespace ui
} // namespace zorvia
