// The mouse on the three game lists, their menus, and the wiring of the
// lists, search, upgrade link and favourites.
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

void TForm1::wireLists() {
    TForm1* f = this;
    PopupMenu1 = makeMenu(*this, "PopupMenu1", N1, "N1");
    PopupMenu2 = makeMenu(*this, "PopupMenu2", N2, "N2");

    ui::ListMouseHandlers mouse;
    mouse.down =
        ui::guarded([f](QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                        int y) { f->ListBoxMouseDown(sender, button, shift, x, y); });
    mouse.up = ui::guarded([f](QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                               int x, int y) { f->ListBoxMouseUp(sender, button, shift, x, y); });
    new ui::ListMouseFilter(ListBox1, mouse);
    new ui::ListMouseFilter(ListBox2, mouse);
    mouse.move = ui::guarded([f](QObject* sender, Qt::KeyboardModifiers shift, int x, int y) {
        f->ListBoxMouseMove(sender, shift, x, y);
    });
    new ui::ListMouseFilter(ListBox3, mouse);

    connect(N2, &QAction::triggered, f, ui::guarded([f](bool) { f->N2Click(f->N2); }));
    connect(Button_search, &QPushButton::clicked, f,
            ui::guarded([f](bool) { f->Button_searchClick(f->Button_search); }));
    connect(Button_favor, &QPushButton::clicked, f,
            ui::guarded([f](bool) { f->Button_favorClick(f->Button_favor); }));
    new ui::FocusInFilter(Edit_key, ui::guarded([f] { f->Edit_keyEnter(f->Edit_key); }));
    new ui::ClickFilter(Label_update, ui::guarded([f] { f->Label_updateClick(f->Label_update); }));
    new ui::DefaultButtonFilter(f);

    WebBrowser3->OnDocumentComplete =
        ui::guarded([f](TWebBrowser* sender, const BrowserApplication& pDisp, const QString& url) {
            f->WebBrowser3DocumentComplete(sender, pDisp, url);
        });
}

} // namespace zorvia
