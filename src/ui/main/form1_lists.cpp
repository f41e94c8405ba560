// The mouse on the three game lists, their menus, and the wiring of the
// lists, search, upgrade link and favourites.
#include "ui/main/form1_lists.h"

#include "browser/web_browser.h"
#include "ui/kit/guarded.h"
#include "ui/kit/list_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/default_button.h"
#include "ui/main/form1.h"
#include "ui/main/list_mouse_filter.h"
#include "ui/main/list_selection.h"
#include "ui/main/widget_events.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace zorvia {

namespace {

ui::TListBox* senderList(QObject* sender) {
    return qobject_cast<ui::TListBox*>(sender);
}

QMenu* makeMenu(TForm1& form, const char* name, QAction*& item, const char* itemName) {
    auto* menu = new QMenu(&form);
    menu->setObjectName(name);
    item = menu->addAction(QStringLiteral("删除"));
    item->setObjectName(itemName);
    return menu;
}

} // namespace

void TForm1::ListBoxMouseDown(QObject* sender, Qt::MouseButton /*button*/,
                              Qt::KeyboardModifiers /*shift*/, int x, int y) {
    if (ui::TListBox* list = senderList(sender))
        ui::selectIndex(list, list->itemAtPos({x, y}));
}

void TForm1::ListBoxMouseUp(QObject* sender, Qt::MouseButton button,
                            Qt::KeyboardModifiers /*shift*/, int x, int y) {
    ui::TListBox* list = senderList(sender);
    if (!list)
        return;
    if (button == Qt::LeftButton) {
        const int index = list->itemAtPos({x, y});
        if (index >= 0)
            CreateNewTab(list->link(index));
        else
            ui::selectIndex(list, -1);
    } else if (button == Qt::RightButton) {
        if (ui::selectedIndex(list) < 0)
            return;
        if (list->objectName() == QLatin1String("ListBox2"))
            PopupMenu1->popup(QCursor::pos());
        else if (list->objectName() == QLatin1String("ListBox3"))
            PopupMenu2->popup(QCursor::pos());
    }
}

void TForm1::ListBoxMouseMove(QObject* sender, Qt::KeyboardModifiers /*shift*/, int x, int y) {
    ui::TListBox* list = senderList(sender);
    if (!list)
        return;
    const int index = list->itemAtPos({x, y});
    if (index >= 0)
        list->setToolTip(ui::toQ(list->displayText(index)));
}

namespace ui {

void wireListsAndFavourites(TForm1& form) {
    TForm1* f = &form;
    form.PopupMenu1 = makeMenu(form, "PopupMenu1", form.N1, "N1");
    form.PopupMenu2 = makeMenu(form, "PopupMenu2", form.N2, "N2");

    ListMouseHandlers mouse;
    mouse.down = guarded([f](QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                             int x, int y) { f->ListBoxMouseDown(sender, button, shift, x, y); });
    mouse.up = guarded([f](QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                           int x, int y) { f->ListBoxMouseUp(sender, button, shift, x, y); });
    new ListMouseFilter(form.ListBox1, mouse);
    new ListMouseFilter(form.ListBox2, mouse);
    mouse.move = guarded([f](QObject* sender, Qt::KeyboardModifiers shift, int x, int y) {
        f->ListBoxMouseMove(sender, shift, x, y);
    });
    new ListMouseFilter(form.ListBox3, mouse);

    QObject::connect(form.N2, &QAction::triggered, f, guarded([f](bool) { f->N2Click(f->N2); }));
    QObject::connect(form.Button_search, &QPushButton::clicked, f,
                     guarded([f](bool) { f->Button_searchClick(f->Button_search); }));
    QObject::connect(form.Button_favor, &QPushButton::clicked, f,
                     guarded([f](bool) { f->Button_favorClick(f->Button_favor); }));
    new FocusInFilter(form.Edit_key, guarded([f] { f->Edit_keyEnter(f->Edit_key); }));
    new ClickFilter(form.Label_update, guarded([f] { f->Label_updateClick(f->Label_update); }));
    new DefaultButtonFilter(f);

    form.WebBrowser3->OnDocumentComplete =
        guarded([f](TWebBrowser* sender, const BrowserApplication& pDisp, const QString& url) {
            f->WebBrowser3DocumentComplete(sender, pDisp, url);
        });
}

} // namespace ui
} // namespace zorvia
