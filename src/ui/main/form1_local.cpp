// The local game list: filling it from the game database at start-up and
// deleting a game, row and file.
#include "portal/local_store.h"
#include "text/codepage.h"
#include "text/file_path.h"
#include "ui/kit/guarded.h"
#include "ui/kit/list_box.h"
#include "ui/kit/message_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/list_selection.h"

#include <QAction>
#include <QPushButton>
#include <QUrl>

#include <filesystem>

namespace zorvia {

AnsiString TForm1::localGamePath(const AnsiString& filename) const {
    return dataFolder_ + "flash/" + filename;
}

QString TForm1::localGameTitle(const QString& address) const {
    const QUrl url(address);
    if (!url.isLocalFile())
        return {};
    const QString file = url.toLocalFile();
    for (int i = 0; i < ListBox2->count(); ++i) {
        if (ui::pathToQ(ListBox2->link(i)) == file)
            return ui::toQ(ListBox2->displayText(i));
    }
    return {};
}

void TForm1::FillLocalList() {
    for (const portal::LocalGame& game : portal::listLocalGames(SQLiteDB1, SQLiteQuery1))
        ListBox2->addItem(game.subject, localGamePath(game.filename));
}

void TForm1::N1Click(QObject* /*sender*/) {
    const int index = ui::selectedIndex(ListBox2);
    if (index < 0)
        return;
    const AnsiString path = ListBox2->link(index);
    const AnsiString name = splitstring(path, '/');
    portal::deleteLocalGame(SQLiteDB1, SQLiteQuery1, name);
    std::error_code ec; // a file already gone or kept open elsewhere stays as it is
    const std::filesystem::path file = text::fileSystemPath(path);
    if (std::filesystem::is_regular_file(file, ec))
        std::filesystem::remove(file, ec);
    delete ListBox2->takeItem(index);
    ui::showMessage(this, text::utf8ToAnsi("删除成功"));
}

void TForm1::wireLocalGames() {
    connect(N1, &QAction::triggered, this, ui::guarded([this](bool) { N1Click(N1); }));
    connect(Button_down, &QPushButton::clicked, this,
            ui::guarded([this](bool) { Button_downClick(Button_down); }));
}
} // namespace zorvia
