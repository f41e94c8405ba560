// Start-up of the main window.
#include "player/player_warmup.h"
#include "browser/web_browser.h"
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "platform/program_folder.h"
#include "platform/start_up_trace.h"
#include "portal/addresses.h"
#include "portal/flash_folder.h"
#include "portal/local_store.h"
#include "portal/site_host.h"
#include "text/codepage.h"
#include "text/file_path.h"
#include "ui/kit/message_box.h"
#include "ui/kit/page_control.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QLabel>
#include <QPushButton>
#include <QWebEnginePage>

#include <filesystem>

namespace zorvia {

namespace {

// Long enough for a game opened as soon as the start page shows to go
// first, short enough to be done before most first clicks.
constexpr std::chrono::milliseconds kPlayerWarmUpDelay{1000};

} // namespace

void TForm1::FormCreate() {
    SiteHost = portal::portalHost();
    Label_status->setText(QStringLiteral("当前版本:V 1.0.0"));
    TabSheet_Main->setCaption(QStringLiteral("加载中..."));
    const QString startPage = ui::toQ(portal::portalUrl(SiteHost, portal::kStartPagePath));
    WebBrowser1->Navigate(startPage);
    // The login panel loads once the start page has, whether it came or
    // not: the start page is what the user waits for, and the two would
    // share the web engine meanwhile. A panel navigated elsewhere by then
    // keeps that page.
    const QString loginPanel = ui::toQ(portal::portalUrl(SiteHost, portal::kLoginPanelPath));
    connect(
        WebBrowser1->page(), &QWebEnginePage::loadFinished, this,
        [this, loginPanel] {
            platform::startUpPhase("start page loaded");
            if (WebBrowser3->page()->requestedUrl().isEmpty() &&
                WebBrowser3->LocationURL().isEmpty())
                WebBrowser3->Navigate(loginPanel);
        },
        Qt::SingleShotConnection);
    // The portal's pages share one renderer process: the Flash player's
    // module compiled there for the start page serves the first game too,
    // unless a game has opened by then and compiles it itself.
    connect(WebBrowser1->page(), &QWebEnginePage::loadFinished, this,
            [this, portalHost = QUrl::fromUserInput(startPage).host()](bool ok) {
                if (ok && WebBrowser1->page()->url().host() == portalHost)
                    player::warmUpPlayerLater(*WebBrowser1->page(), kPlayerWarmUpDelay,
                                               [this] { return PageControl2->pageCount() == 1; });
            });
    platform::startUpPhase("navigations started");

    programFolder_ = platform::programFolder();
    // An installed game box keeps its games in the user's data folder and
    // creates the database there on first start.
    dataFolder_ = platform::dataFolder();
    const AnsiString database = dataFolder_ + "wendora.db";
    const AnsiString driver = programFolder_ + "iInter.dll";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(text::fileSystemPath(database), ec) &&
        !(platform::dataFolderIsPerUser() && portal::createGameDatabase(database, driver))) {
        ui::showMessage(this, text::utf8ToAnsi("数据库文件不存在，请检查"));
        terminateRequested_ = true;
        return;
    }
    portal::FlashFolder(dataFolder_ + "flash").removeLeftovers();
    platform::startUpPhase("database check");

    SQLiteDB1.SetDatabase(database);
    SQLiteDB1.SetDriverDLL(driver);
    SQLiteQuery1.SetConnection(&SQLiteDB1);

    ShowNotifyIcon();
    registerBossKey();
    platform::startUpPhase("tray icon and boss key");

    FillListFromReply(GetHttpLine("action=catlist"), ListBox1, portal::kCategoryPath);
    platform::startUpPhase("category request");

    FillLocalList();
    platform::startUpPhase("local list");

    Button1Click(Button1);
}

} // namespace zorvia
