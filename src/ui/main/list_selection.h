#pragma once

namespace zorvia::ui {

class TListBox;

// The lists are single-selection lists: the selected item's index, or -1.
int selectedIndex(const TListBox* list);
// Selects the item at index and makes it current; -1 clears both.
void selectIndex(TListBox* list, int index);

} // namespace zorvia::ui
