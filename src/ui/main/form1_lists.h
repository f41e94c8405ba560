#pragma once

namespace zorvia {

class TForm1;

namespace ui {

// Creates the menus of the game lists (PopupMenu1 with N1, PopupMenu2 with
// N2) and binds the lists' mouse, the search box, the upgrade link and the
// favourites to their handlers on form.
void wireListsAndFavourites(TForm1& form);

} // namespace ui
} // namespace zorvia
