// The local game list: filling it from the game database at start-up and
// deleting a game, row and file.
#include "text/codepage.h"
#include "ui/kit/guarded.h"
#include "ui/kit/list_box.h"
#include "ui/kit/message_box.h"
#include "ui/main/form1.h"
#include "ui/main/list_selection.h"
#include "ui/main/local_store.h"

#include <QAction>
#include <QPushButton>

#include <filesystem>

namespace zorvia {

AnsiString TForm1::localGamePath(const AnsiString& filename) const {
    return dataFolder_ + "flash/" + filename;
}

void TForm1::FillLocalList() {
    ui::StoreSession session(SQLiteDB1, SQLiteQuery1);
    SQLiteQuery1.SQL().SetText(ui::listGamesSql());
    SQLiteQuery1.Open();
    while (!SQLiteQuery1.Eof()) {
        const AnsiString path = localGamePath(SQLiteQuery1.FieldByName("filename").AsString());
        ListBox2->addItem(SQLiteQuery1.FieldByName("subject").AsString(), path);
        SQLiteQuery1.Next();
    }
}

void TForm1::N1Click(QObject* /*sender*/) {
    const int index = ui::selectedIndex(ListBox2);
    if (index < 0)
        return;
    const AnsiString path = ListBox2->link(index);
    const AnsiString name = splitstring(path, '/');
    {
        ui::StoreSession session(SQLiteDB1, SQLiteQuery1);
        SQLiteQuery1.SQL().SetText(ui::deleteGameSql(name));
        SQLiteQuery1.ExecSQL();
    }
    std::error_code ec; // a file already gone or kept open elsewhere stays as it is
    if (std::filesystem::is_regular_file(path, ec))
        std::filesystem::remove(path, ec);
    delete ListBox2->takeItem(index);
    ui::showMessage(this, text::utf8ToAnsi("删除成功"));
}

void TForm1::wireLocalGames() {
    connect(N1, &QAction::triggered, this, ui::guarded([this](bool) { N1Click(N1); }));
    connect(Button_down, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_downClick(Button_down); }));
}
} // namespace zorvia
