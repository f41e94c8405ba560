// The download button: fetches the active tab's game into the flash folder,
// records it and lists it.
#include "browser/web_browser.h"
#include "portal/flash_folder.h"
#include "portal/game_download.h"
#include "portal/local_store.h"
#include "text/codepage.h"
#include "ui/down/form2.h"
#include "ui/kit/list_box.h"
#include "ui/kit/message_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1_local_games.h"

#include <QPointer>

namespace zorvia {

bool TForm1::LocalGames::recorded(const AnsiString& filename) {
    return portal::localGameRecorded(form.SQLiteDB1, form.SQLiteQuery1, filename);
}

void TForm1::LocalGames::record(const AnsiString& subject, const AnsiString& filename,
                                const AnsiString& gamehelp) {
    portal::recordLocalGame(form.SQLiteDB1, form.SQLiteQuery1, subject, filename, gamehelp);
}

void TForm1::Button_downClick(QObject* /*sender*/) {
    const TWebBrowser* browser = activeBrowser();
    if (!browser)
        return;
    const std::optional<HtmlDocument> document = browser->Document();
    if (!document)
        return;
    const std::optional<HtmlElement> swfurl = GetPageElement(document, QStringLiteral("swfurl"));
    const std::optional<HtmlElement> swfhelp = GetPageElement(document, QStringLiteral("swfhelp"));
    if (!swfurl)
        return;

    const AnsiString path = ui::fromQ(swfurl->innerHTML());
    const AnsiString filename = splitstring(path, '/');
    // The name becomes a file of the flash folder: one that cannot name a
    // file there, or would name something else, is refused.
    if (!portal::isGameFileName(filename)) {
        ui::showMessage(this, text::utf8ToAnsi("该游戏的文件名无效，无法下载"));
        return;
    }
    // Only Flash movies are kept (the file's first bytes are checked when it
    // has arrived).
    if (!portal::isMovieFileName(filename)) {
        ui::showMessage(this, text::utf8ToAnsi("这不是 Flash 游戏，无法下载"));
        return;
    }
    if (localGames_->recorded(filename)) {
        ui::showMessage(this, text::utf8ToAnsi("该游戏已经下载过，请不要重复下载"));
        return;
    }
    // A second download of the same file would write into the file the
    // first one is still writing: its window comes to the front instead,
    // without a box that would hold the running transfer up.
    if (const auto running = localGames_->downloading.find(filename);
        running != localGames_->downloading.end()) {
        if (TForm2* window = running->second) {
            window->show();
            window->raise();
            window->activateWindow();
        }
        return;
    }

    const AnsiString title = ui::fromQ(document->title());
    auto* window = new TForm2(this, dataFolder_);
    Form2 = window;
    window->AddDownloadItem(title);
    window->show();

    const QPointer<TForm1> alive(this);
    localGames_->downloading.emplace(filename, window);
    bool ok = false;
    try {
        ok = window->DownloadGame(ui::fromQ(swfurl->innerHTML()));
    } catch (...) {
        if (alive)
            localGames_->downloading.erase(filename);
        throw;
    }
    if (!alive)
        return; // the main window went away during the transfer
    localGames_->downloading.erase(filename);
    if (!ok)
        return;

    const AnsiString gamehelp = swfhelp ? ui::fromQ(swfhelp->innerHTML()) : AnsiString();
    localGames_->record(title, filename, gamehelp);
    ListBox2->addItem(title, localGamePath(filename));
}

} // namespace zorvia
