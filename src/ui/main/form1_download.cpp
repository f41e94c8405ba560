// The download button: fetches the active tab's game into the flash folder,
// records it and lists it.
#include "browser/web_browser.h"
#include "text/codepage.h"
#include "ui/down/form2.h"
#include "ui/kit/list_box.h"
#include "ui/kit/message_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/local_store.h"

#include <QPointer>

namespace zorvia {

bool TForm1::localGameRecorded(const AnsiString& filename) {
    ui::StoreSession session(SQLiteDB1, SQLiteQuery1);
    SQLiteQuery1.SQL().SetText(ui::gameExistsSql(filename));
    SQLiteQuery1.Open();
    return !SQLiteQuery1.Eof();
}

void TForm1::recordLocalGame(const AnsiString& subject, const AnsiString& filename,
                             const AnsiString& gamehelp) {
    ui::StoreSession session(SQLiteDB1, SQLiteQuery1);
    SQLiteQuery1.SQL().Clear();
    SQLiteQuery1.SQL().SetText(ui::insertGameSql(subject, filename, gamehelp));
    SQLiteQuery1.ExecSQL();
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
    if (localGameRecorded(filename)) {
        ui::showMessage(this, text::utf8ToAnsi("该游戏已经下载过，请不要重复下载"));
        return;
    }
    // A second download of the same file would write into the file the
    // first one is still writing.
    if (downloading_.count(filename) != 0) {
        ui::showMessage(this, text::utf8ToAnsi("该游戏正在下载，请稍候"));
        return;
    }

    const AnsiString title = ui::fromQ(document->title());
    auto* window = new TForm2(this);
    Form2 = window;
    window->AddDownloadItem(title);
    window->show();

    const QPointer<TForm1> alive(this);
    downloading_.insert(filename);
    bool ok = false;
    try {
        ok = window->DownloadGame(ui::fromQ(swfurl->innerHTML()));
    } catch (...) {
        if (alive)
            downloading_.erase(filename);
        throw;
    }
    if (!alive)
        return; // the main window went away during the transfer
    downloading_.erase(filename);
    if (!ok)
        return;

    const AnsiString gamehelp = swfhelp ? ui::fromQ(swfhelp->innerHTML()) : AnsiString();
    recordLocalGame(title, filename, gamehelp);
    ListBox2->addItem(title, localGamePath(filename));
}

} // namespace zorvia
