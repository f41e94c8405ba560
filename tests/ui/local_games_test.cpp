// Local games: downloads from game pages of the demo portal, the local list
// at start-up and deleting a local game.
#include "browser/web_browser.h"
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "portal/local_store.h"
#include "support/browser_test_support.h"
#include "support/demo_portal.h"
#include "support/find_child.h"
#include "support/modal.h"
#include "support/portal_window_test.h"
#include "support/program_folder_guard.h"
#include "support/script_server.h"
#include "support/test_http_server.h"
#include "text/codepage.h"
#include "ui/down/form2.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QAction>
#include <QChildEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using zorvia::test::child;

namespace zorvia::test {
namespace {

AnsiString ansi(const char* utf8) {
    return text::utf8ToAnsi(utf8);
}

// A stored row of the game database. The help text is a memo column, which
// reads back as stored (UTF-8); titles and file names read back in code page
// 936.
struct Row {
    AnsiString subject, filename, gamehelpUtf8;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << '{' << text::ansiToUtf8(row.subject) << " | " << text::ansiToUtf8(row.filename) << " | "
        << row.gamehelpUtf8 << '}';
}

// The rows of the game database with this file name, in id order; the file
// name is compared here, not in SQL.
std::vector<Row> rowsNamed(TForm1& form, const AnsiString& filename) {
    std::vector<Row> rows;
    portal::StoreSession session(form.SQLiteDB1, form.SQLiteQuery1);
    form.SQLiteQuery1.SQL().SetText("select subject, filename, gamehelp from iflash order by id");
    form.SQLiteQuery1.Open();
    for (; !form.SQLiteQuery1.Eof(); form.SQLiteQuery1.Next())
        if (form.SQLiteQuery1.Fields(1).AsString() == filename)
            rows.push_back({form.SQLiteQuery1.Fields(0).AsString(),
                            form.SQLiteQuery1.Fields(1).AsString(),
                            form.SQLiteQuery1.Fields(2).AsString()});
    return rows;
}

void insertRow(TForm1& form, const Row& row) {
    portal::StoreSession session(form.SQLiteDB1, form.SQLiteQuery1);
    form.SQLiteQuery1.SQL().SetText(
        portal::insertGameSql(row.subject, row.filename, text::utf8ToAnsi(row.gamehelpUtf8)));
    form.SQLiteQuery1.ExecSQL();
}

std::unique_ptr<TForm1> startedForm() {
    auto form = std::make_unique<TForm1>();
    form->FormCreate();
    form->show();
    return form;
}

// Calls `onEvent` with every event an object receives while it lives.
class EventWatch : public QObject {
public:
    EventWatch(QObject* watched, std::function<void(QEvent*)> onEvent)
        : onEvent_(std::move(onEvent)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        onEvent_(event);
        return false;
    }

private:
    std::function<void(QEvent*)> onEvent_;
};

QList<TForm2*> downloadWindows(const TForm1& form) {
    return form.findChildren<TForm2*>(QString(), Qt::FindDirectChildrenOnly);
}

// The main window after start-up against the demo portal.
class LocalGames : public PortalWindowTest {
protected:
    // Opens the game page of the demo portal with this id in a tab.
    std::optional<HtmlDocument> openGame(int id) {
        const QString url = portal_->url("/mini.php?itemid=" + QString::number(id));
        form->CreateNewTab(url.toStdString());
        TWebBrowser* browser = form->activeBrowser();
        const bool loaded = QTest::qWaitFor(
            [&] {
                const auto document = browser->Document();
                return document && document->location() == url;
            },
            kLoadTimeoutMs);
        return loaded ? browser->Document() : std::nullopt;
    }

    static QByteArray localFile(const QString& name) {
        QFile file(ProgramFolderGuard::flashFolder() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ProgramFolderGuard guard; // made before the window (in SetUp), ends after it (in TearDown)
};

TEST_F(LocalGames, DownloadRecordsAndListsTheGameAndRefusesItThen) {
    const struct {
        int id;
        const char* file;
        const char* title;
    } games[] = {
        {101, "num2048.swf", "2048 数字合并"},
        {106, "tom_adventure.swf", "Tom's 大冒险"},
    };
    for (const auto& game : games) {
        SCOPED_TRACE(game.title);
        const auto document = openGame(game.id);
        ASSERT_TRUE(document);
        ASSERT_TRUE(child<QPushButton>(form, "Button_down")->isEnabled());
        const std::string help = document->element("swfhelp")->innerHTML().toStdString();
        const int listed = child<ui::TListBox>(form, "ListBox2")->count();

        ModalCloser closer;
        child<QPushButton>(form, "Button_down")->click();
        EXPECT_TRUE(closer.texts().isEmpty()) << closer.texts().join('|').toStdString();
        ASSERT_NE(Form2, nullptr);
        EXPECT_EQ(Form2->parent(), form.get());
        EXPECT_EQ(Form2->ListView1->topLevelItem(0)->text(0), QString::fromUtf8(game.title));
        EXPECT_EQ(Form2->statusText(), QStringLiteral("下载完成"));

        const QByteArray served = portal_->get(QStringLiteral("/games/") + game.file);
        ASSERT_FALSE(served.isEmpty());
        EXPECT_EQ(localFile(game.file), served);
        EXPECT_EQ(rowsNamed(*form, game.file),
                  (std::vector<Row>{{ansi(game.title), game.file, help}}));
        ASSERT_EQ(child<ui::TListBox>(form, "ListBox2")->count(), listed + 1);
        EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->displayText(listed), ansi(game.title));
        EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->link(listed),
                  form->programFolder() + "flash/" + game.file);

        // A second click is refused and opens no window.
        const int windows = downloadWindows(*form).size();
        child<QPushButton>(form, "Button_down")->click();
        EXPECT_EQ(closer.texts().value(0), QStringLiteral("该游戏已经下载过，请不要重复下载"));
        EXPECT_EQ(downloadWindows(*form).size(), windows);
        EXPECT_EQ(rowsNamed(*form, game.file).size(), 1u);
    }

    // The next start lists the newest game first, titles exactly as stored.
    form = startedForm();
    ASSERT_GE(child<ui::TListBox>(form, "ListBox2")->count(), 2);
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->displayText(0), ansi("Tom's 大冒险"));
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->displayText(1), ansi("2048 数字合并"));

    // Opened again, a local game's tab comes to the front; no second tab.
    const AnsiString link = child<ui::TListBox>(form, "ListBox2")->link(0);
    form->CreateNewTab(link);
    ASSERT_TRUE(
        waitForDocumentAt(*form->activeBrowser(),
                          QUrl::fromLocalFile(ui::pathToQ(link)).toString(QUrl::FullyEncoded)));
    auto* const pages = child<ui::TPageControl>(form, "PageControl2");
    ui::TTabSheet* const tab = pages->activePage();
    const TWebBrowser* const first = form->activeBrowser();
    const AnsiString other = child<ui::TListBox>(form, "ListBox2")->link(1);
    form->CreateNewTab(other);
    // Local games share one renderer, and with it the player's compiled code.
    ASSERT_TRUE(
        waitForDocumentAt(*form->activeBrowser(),
                          QUrl::fromLocalFile(ui::pathToQ(other)).toString(QUrl::FullyEncoded)));
    EXPECT_EQ(form->activeBrowser()->page()->renderProcessPid(), first->page()->renderProcessPid());
    const int tabs = pages->pageCount();
    form->CreateNewTab(link);
    EXPECT_EQ(pages->pageCount(), tabs);
    EXPECT_EQ(pages->activePage(), tab);
}

TEST_F(LocalGames, TheBigGameShowsItsProgressWhileItArrives) {
    ASSERT_TRUE(openGame(115));
    QStringList seen;
    bool shot = false;
    const QString shots = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(shots);
    // The download window's row, watched from its first showing on.
    EventWatch watch(form.get(), [&](QEvent* event) {
        if (event->type() != QEvent::ChildPolished)
            return;
        auto* window = qobject_cast<TForm2*>(static_cast<QChildEvent*>(event)->child());
        if (!window)
            return;
        QObject::connect(window->ListView1, &QTreeWidget::itemChanged, window,
                         [&, window](QTreeWidgetItem*, int) {
                             const QString status = window->statusText();
                             if (status.isEmpty() || (!seen.isEmpty() && seen.last() == status))
                                 return;
                             seen << status;
                             if (!shot && status.section('/', 0, 0).toLongLong() > 1'000'000)
                                 shot = window->grab().save(shots + "/download_window.png");
                         });
    });
    child<QPushButton>(form, "Button_down")->click();

    const QByteArray served = portal_->get("/games/starfleet_hd.swf");
    ASSERT_GT(served.size(), 4'000'000);
    EXPECT_EQ(localFile("starfleet_hd.swf").size(), served.size());
    EXPECT_EQ(Form2->statusText(), QStringLiteral("下载完成"));
    EXPECT_TRUE(shot);
    // The progress grows in steps of 256 bytes towards the announced length.
    ASSERT_GE(seen.size(), 2) << seen.join(' ').toStdString();
    qint64 previous = 0;
    for (const QString& status : seen.mid(0, seen.size() - 1)) {
        if (status == QStringLiteral("请稍后..."))
            continue;
        const qint64 count = status.section('/', 0, 0).toLongLong();
        EXPECT_EQ(count % 256, 0) << status.toStdString();
        EXPECT_GT(count, previous);
        EXPECT_EQ(status.section('/', 1).toLongLong(), served.size());
        previous = count;
    }
}

TEST_F(LocalGames, StartUpListsNewestFirstAndN1DeletesRowFileAndItem) {
    const Row rows[] = {
        {"a", "zorvia_a.swf", "help a"},
        {ansi("Jerry's 奶酪"), "zorvia_b.swf", "it's"},
        {"c", "zorvia_c.swf", ""},
        {"b again", "zorvia_b.swf", ""},
    };
    for (const Row& row : rows)
        insertRow(*form, row);
    form = startedForm();
    const int extra =
        child<ui::TListBox>(form, "ListBox2")->count() - 4; // rows the database had before
    ASSERT_GE(extra, 0);
    const AnsiString want[] = {"b again", "c", ansi("Jerry's 奶酪"), "a"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->displayText(i), want[i]);
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->link(1),
              form->programFolder() + "flash/zorvia_c.swf");

    // Deleting: every row of the file name goes, the file too when it is there.
    const struct {
        const char* name;
        int index;
        AnsiString file;
        bool fileThere;
    } cases[] = {
        {"file present", 2, "zorvia_b.swf", true},
        {"file already gone", 1, "zorvia_c.swf", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = ProgramFolderGuard::flashFolder() + QString::fromStdString(c.file);
        if (c.fileThere) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("swf");
        }
        const AnsiString display = child<ui::TListBox>(form, "ListBox2")->displayText(c.index);
        const int before = child<ui::TListBox>(form, "ListBox2")->count();
        child<ui::TListBox>(form, "ListBox2")->setCurrentRow(c.index);
        ModalCloser closer;
        child<QAction>(form, "N1")->trigger();
        EXPECT_EQ(closer.texts(), QStringList{QStringLiteral("删除成功")});
        EXPECT_TRUE(rowsNamed(*form, c.file).empty());
        EXPECT_FALSE(QFile::exists(path));
        ASSERT_EQ(child<ui::TListBox>(form, "ListBox2")->count(), before - 1);
        for (int i = 0; i < child<ui::TListBox>(form, "ListBox2")->count(); ++i)
            EXPECT_NE(child<ui::TListBox>(form, "ListBox2")->displayText(i), display);
    }
    EXPECT_EQ(rowsNamed(*form, "zorvia_a.swf").size(), 1u);
}

// Game pages of a local test server whose files come from a scripted portal.
TEST(LocalGamePages, RequestPathHelpAndRefusal) {
    ProgramFolderGuard guard;
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    pages.page("/nohelp", "<title>No help</title><span id=swfurl>games/zorvia_nohelp.swf</span>");
    pages.page("/slash", "<title>Slash</title><span id=swfurl>/games/zorvia_slash.swf</span>"
                         "<div id=swfhelp>keys</div>");
    pages.page("/missing", "<title>Missing</title><span id=swfurl>games/zorvia_gone.swf</span>");
    pages.page("/split",
               "<title>Split</title>"
               "<span id=swfurl>games/x.swf HTTP/1.1&#13;&#10;X-A: 1&#13;&#10;/s.swf</span>");
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    const std::unique_ptr<TForm1> form = startedForm();

    const struct {
        const char* page;
        std::string reply;
        std::string requestLine;
        AnsiString file;
        std::vector<Row> rows;
        QStringList messages;
        QString status;
    } cases[] = {
        {"/nohelp",
         "HTTP/1.1 200 OK\r\n\r\nFWS",
         "GET /games/zorvia_nohelp.swf HTTP/1.1\r\n",
         "zorvia_nohelp.swf",
         {{"No help", "zorvia_nohelp.swf", ""}},
         {},
         "下载完成"},
        {"/slash",
         "HTTP/1.1 200 OK\r\n\r\nFWS",
         "GET //games/zorvia_slash.swf HTTP/1.1\r\n",
         "zorvia_slash.swf",
         {{"Slash", "zorvia_slash.swf", "keys"}},
         {},
         "下载完成"},
        {"/missing",
         "HTTP/1.1 404 Not Found\r\n\r\n",
         "GET /games/zorvia_gone.swf HTTP/1.1\r\n",
         "zorvia_gone.swf",
         {},
         {"网络错误或未找到文件"},
         "下载失败"},
        {"/split",
         "HTTP/1.1 200 OK\r\n\r\nFWS",
         "",
         "s.swf",
         {},
         {"网络错误或未找到文件"},
         "下载失败"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        const QString url = pages.url(c.page);
        form->CreateNewTab(url.toStdString());
        ASSERT_TRUE(waitForDocumentAt(*form->activeBrowser(), url));
        ScriptServer portal({awaitText("\r\n\r\n"), send(c.reply)});
        SiteHost = "127.0.0.1:" + portal.portText();
        const int listed = child<ui::TListBox>(form, "ListBox2")->count();

        ModalCloser closer;
        child<QPushButton>(form, "Button_down")->click();
        EXPECT_EQ(portal.received().substr(0, c.requestLine.size()), c.requestLine);
        EXPECT_EQ(portal.accepted(), c.requestLine.empty() ? 0 : 1);
        EXPECT_EQ(closer.texts(), c.messages);
        ASSERT_NE(Form2, nullptr);
        EXPECT_EQ(Form2->statusText(), c.status);
        EXPECT_EQ(rowsNamed(*form, c.file), c.rows);
        EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->count(), listed + int(c.rows.size()));
        EXPECT_EQ(QFile::exists(ProgramFolderGuard::flashFolder() + QString::fromStdString(c.file)),
                  !c.rows.empty());
    }
}

// A download that fails inside the body is reported and leaves no row, no
// list item and no file.
TEST(LocalGamePages, ABodyCutShortLeavesNoRow) {
    ProgramFolderGuard guard;
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    pages.page("/cut", "<title>Cut</title><span id=swfurl>games/zorvia_cut.swf</span>");
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    const std::unique_ptr<TForm1> form = startedForm();
    const QString url = pages.url("/cut");
    form->CreateNewTab(url.toStdString());
    ASSERT_TRUE(waitForDocumentAt(*form->activeBrowser(), url));
    const struct {
        const char* name;
        std::string reply;
        QString message;
    } cases[] = {
        {"early close", "Content-Length: 2000\r\n\r\n" + std::string(1000, 'z'),
         "Connection Closed Gracefully."},
        {"length that is no number", "Content-Length: 2k\r\n\r\n" + std::string(1000, 'z'),
         "'2k' is not a valid integer value."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptServer portal({awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\n" + c.reply)});
        SiteHost = "127.0.0.1:" + portal.portText();
        ModalCloser closer;
        child<QPushButton>(form, "Button_down")->click();
        EXPECT_EQ(closer.texts(), QStringList{c.message});
        EXPECT_TRUE(rowsNamed(*form, "zorvia_cut.swf").empty());
        EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->count(), 0);
        EXPECT_TRUE(QDir(ProgramFolderGuard::flashFolder())
                        .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                        .isEmpty());
    }
}

TEST(LocalGamePages, HostileFileNamesAreRefusedAndNothingIsWritten) {
    ProgramFolderGuard guard;
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    const QString invalid = QStringLiteral("该游戏的文件名无效，无法下载");
    const QString notAMovie = QStringLiteral("这不是 Flash 游戏，无法下载");
    const std::pair<const char*, QString> names[] = {
        {"games/", invalid},
        {"games/.", invalid},
        {"games/..", invalid},
        {"games/..\\..\\evil.swf", invalid},
        {"games/a&#9;b.swf", invalid},
        {"games/.zorvia-part-1-0", invalid},
        {"games/evil.html", notAMovie},
        {"games/evil.swf.htm", notAMovie},
        {"games/.swf", notAMovie},
    };
    for (int i = 0; i < int(std::size(names)); ++i)
        pages.page("/h" + QByteArray::number(i),
                   QString("<title>H</title><span id=swfurl>%1</span>").arg(names[i].first));
    pages.page("/long", "<title>H</title><span id=swfurl>games/" + QString(256, 'a') + "</span>");
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    const std::unique_ptr<TForm1> form = startedForm();
    const auto entries = [] {
        QStringList all =
            QDir(ProgramFolderGuard::folder()).entryList(QDir::AllEntries | QDir::Hidden);
        all += QDir(ProgramFolderGuard::flashFolder()).entryList(QDir::AllEntries | QDir::Hidden);
        return all;
    };
    const QStringList before = entries();
    QList<std::pair<QString, QString>> paths = {{"/long", invalid}};
    for (int i = 0; i < int(std::size(names)); ++i)
        paths.append({"/h" + QString::number(i), names[i].second});
    for (const auto& [path, message] : paths) {
        SCOPED_TRACE(path.toStdString());
        const QString url = pages.url(path);
        form->CreateNewTab(url.toStdString());
        ASSERT_TRUE(waitForDocumentAt(*form->activeBrowser(), url));
        ScriptServer portal({awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\n\r\nswf")});
        SiteHost = "127.0.0.1:" + portal.portText();
        ModalCloser closer;
        child<QPushButton>(form, "Button_down")->click();
        EXPECT_EQ(closer.texts(), QStringList{message});
        EXPECT_TRUE(downloadWindows(*form).isEmpty());
        EXPECT_EQ(portal.accepted(), 0);
    }
    EXPECT_EQ(entries(), before);

    // A page recorded as a game before (by an older game box) opens no tab.
    const QString page = ProgramFolderGuard::flashFolder() + "evil.html";
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("<title>evil</title>") > 0);
    file.close();
    const int tabs = child<ui::TPageControl>(form, "PageControl2")->pageCount();
    ModalCloser closer;
    form->CreateNewTab(ui::fromQ(page));
    EXPECT_EQ(closer.texts(), QStringList{QStringLiteral("这不是 Flash 游戏，无法打开")});
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->pageCount(), tabs);
    QFile::remove(page);
}

} // namespace
} // namespace zorvia::test

namespace zorvia::test {
namespace {

TEST(GameDatabase, CreatedFromTheSchemaOrNotAtAll) {
    struct Case {
        const char* name;
        const char* folder; // under a temporary folder; Chinese names included
        bool goodDriver;
        bool created;
    };
    const Case cases[] = {
        {"new folder", "a/b/用户数据", true, true},
        {"driver missing", "c", false, false},
    };
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (const Case& c : cases) {
        const QString folder = root.filePath(QString::fromUtf8(c.folder));
        const AnsiString database = ui::fromQ(folder + "/wendora.db");
        const AnsiString driver =
            ui::fromQ(c.goodDriver ? ProgramFolderGuard::folder() + "iInter.dll"
                                   : root.filePath("missing.dll"));
        EXPECT_EQ(portal::createGameDatabase(database, driver), c.created) << c.name;
        EXPECT_EQ(QFileInfo::exists(folder + "/wendora.db"), c.created) << c.name;
        EXPECT_FALSE(QFileInfo::exists(folder + "/wendora.db.part")) << c.name;
        if (!c.created)
            continue;
        EXPECT_TRUE(QFileInfo(folder + "/flash").isDir()) << c.name;
        // The new database takes the program's statements.
        TSQLiteDB db;
        db.SetDriverDLL(driver);
        db.SetDatabase(database);
        TSQLiteQuery query;
        query.SetConnection(&db);
        portal::StoreSession session(db, query);
        query.SQL().SetText(portal::insertGameSql(ansi("游戏"), "g.swf", "help"));
        query.ExecSQL();
        query.SQL().SetText(portal::listGamesSql());
        query.Open();
        EXPECT_EQ(query.FieldByName("filename").AsString(), "g.swf") << c.name;
    }
}

} // namespace
} // namespace zorvia::test
