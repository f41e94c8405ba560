#include "ui/main/list_selection.h"

#include "ui/kit/list_box.h"

namespace zorvia::ui {

int selectedIndex(const TListBox* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void selectIndex(TListBox* list, int index) {
    if (index >= 0 && index < list->count())
        list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else
        list->setCurrentRow(-1, QItemSelectionModel::Clear);
}

} // namespace zorvia::ui
