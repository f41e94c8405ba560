// The download window and its transfer, against scripted local servers.
#include "net/net_exceptions.h"
#include "support/modal.h"
#include "support/program_folder_guard.h"
#include "support/qt_print.h"
#include "support/script_server.h"
#include "text/file_path.h"
#include "ui/down/form2.h"
#include "ui/down/progress_delegate.h"
#include "ui/main/globals.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace zorvia::test {
namespace {

constexpr const char* kGameFile = "zorvia_download_test.swf";

// What one DownloadGame call did.
struct Outcome {
    std::optional<bool> result; // none when it raised
    std::string error;          // what() of the error it raised
    QStringList statuses;       // every status text the row showed, in order
    QStringList messages;       // message boxes shown
    std::optional<QByteArray> file;
    QStringList leftovers; // temporary files left in the flash folder
    std::string request;
};

// A folder as the program's local path text.
AnsiString localPath(const QString& folder) {
    return text::fromFileSystem(folder.toStdString());
}

// A data folder with a Chinese name beside the program folder, removed
// with its games when the object goes.
class ChineseDataFolder {
public:
    ChineseDataFolder() { QDir().mkpath(path()); }
    ~ChineseDataFolder() { QDir(ProgramFolderGuard::folder() + "数据 '目录'").removeRecursively(); }
    static QString path() { return ProgramFolderGuard::folder() + "数据 '目录'/游戏盒子/"; }
};

// The data folders every download rule holds in: the program folder and a
// Chinese-named one.
QStringList dataFolders() {
    return {ProgramFolderGuard::folder(), ChineseDataFolder::path()};
}

std::optional<QByteArray> readGameFile(const QString& dataFolder) {
    QFile file(dataFolder + "flash/" + kGameFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

portal::DownloadLimits quick() {
    portal::DownloadLimits limits;
    limits.headMs = 2000;
    limits.idleMs = 2000;
    return limits;
}

Outcome download(const std::string& siteHost, const portal::DownloadLimits& limits = quick(),
                 const std::function<void(TForm2*)>& during = {},
                 const std::string& path = std::string("games/") + kGameFile,
                 const QString& dataFolder = ProgramFolderGuard::folder()) {
    Outcome out;
    QWidget owner;
    auto* window = new TForm2(&owner, localPath(dataFolder));
    window->setLimits(limits);
    QObject::connect(
        window->ListView1, &QTreeWidget::itemChanged, [&](QTreeWidgetItem* item, int column) {
            // Text and bar change together: one status per text.
            if (column == 1 && (out.statuses.isEmpty() || out.statuses.last() != item->text(1)))
                out.statuses << item->text(1);
        });
    window->AddDownloadItem("game");
    if (during)
        during(window);
    SiteHost = siteHost;
    ModalCloser closer;
    try {
        out.result = window->DownloadGame(path);
    } catch (const std::exception& error) {
        out.error = error.what();
    }
    out.messages = closer.texts();
    out.file = readGameFile(dataFolder);
    out.leftovers =
        QDir(dataFolder + "flash/").entryList({".zorvia-part-*"}, QDir::Files | QDir::Hidden);
    return out;
}

Outcome downloadFrom(const std::string& reply, const portal::DownloadLimits& limits = quick(),
                     std::vector<Step> tail = {}, const std::function<void(TForm2*)>& during = {},
                     const QString& dataFolder = ProgramFolderGuard::folder()) {
    std::vector<Step> script = {awaitText("\r\n\r\n"), send(reply)};
    script.insert(script.end(), tail.begin(), tail.end());
    ScriptServer server(script);
    Outcome out = download("127.0.0.1:" + server.portText(), limits, during,
                           std::string("games/") + kGameFile, dataFolder);
    out.request = server.received();
    return out;
}

// A movie's body of n bytes (n >= 3): "FWS", then varied bytes.
QByteArray bytes(int n) {
    QByteArray body(n, '\0');
    for (int i = 0; i < n; ++i)
        body[i] = char(i * 7 + 3);
    return body.replace(0, 3, "FWS");
}

TEST(DownloadGame, SendsTheSharedHeadWithoutCookie) {
    ProgramFolderGuard guard;
    ScriptServer server({awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\n\r\nFWS")});
    const std::string host = "127.0.0.1:" + server.portText();
    const Outcome out = download(host);
    EXPECT_EQ(server.received(),
              std::string("GET /games/") + kGameFile +
                  " HTTP/1.1\r\n"
                  "Host: " +
                  host +
                  "\r\n"
                  "Accept: */*\r\n"
                  "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98\r\n"
                  "Pragma: no-cache\r\n"
                  "Cache-Control: no-cache\r\n"
                  "Connection: Close\r\n"
                  "\r\n");
    EXPECT_EQ(out.result, true);
}

TEST(DownloadGame, ReadsBlocksOf256AndStoresTheWholeBody) {
    const struct {
        const char* name;
        std::string head;
        QByteArray body;
        QString lastProgress;
    } cases[] = {
        {"length 1234", "Content-Length: 1234\r\n", bytes(1234), "1280/1234"},
        {"length 1024", "Content-Length: 1024\r\n", bytes(1024), "1024/1024"},
        {"other letter case is no length", "content-length: 600\r\n", bytes(600), "256/0"},
        {"a later length overrides", "Content-Length: 5\r\nContent-Length: 700\r\n", bytes(700),
         "768/700"},
        {"4 MB", "Content-Length: 4194304\r\n", bytes(4 << 20), "4194304/4194304"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolderGuard guard;
        const Outcome out =
            downloadFrom("HTTP/1.1 200 OK\r\n" + c.head + "\r\n" + c.body.toStdString());
        EXPECT_EQ(out.result, true) << out.error;
        EXPECT_EQ(out.file, c.body);
        EXPECT_TRUE(out.messages.isEmpty());
        EXPECT_TRUE(out.leftovers.isEmpty());
        ASSERT_GE(out.statuses.size(), 3) << out.statuses.join(' ').toStdString();
        EXPECT_EQ(out.statuses.first(), QStringLiteral("请稍后..."));
        EXPECT_EQ(out.statuses.last(), QStringLiteral("下载完成"));
        EXPECT_EQ(out.statuses.at(out.statuses.size() - 2), c.lastProgress);
        // Progress texts are multiples of 256 over the announced length.
        for (const QString& status : out.statuses.mid(1, out.statuses.size() - 2)) {
            EXPECT_EQ(status.section('/', 0, 0).toLongLong() % 256, 0) << status.toStdString();
            EXPECT_EQ(status.section('/', 1), c.lastProgress.section('/', 1));
        }
    }
}

TEST(DownloadGame, TheBodyIsExactlyTheAnnouncedLength) {
    const QByteArray body = bytes(1000);
    const struct {
        const char* name;
        std::string reply;
        std::vector<Step> tail;
        QByteArray stored;
        QString lastProgress;
    } cases[] = {
        {"surplus after the announced length",
         "Content-Length: 10\r\n\r\n" + body.toStdString(),
         {},
         body.left(10),
         "256/10"},
        {"the portal holds the connection after the last byte",
         "Content-Length: 1000\r\n\r\n" + body.toStdString(),
         {awaitClose()},
         body,
         "1024/1000"},
    };
    ChineseDataFolder chinese;
    for (const QString& folder : dataFolders()) {
        for (const auto& c : cases) {
            SCOPED_TRACE(folder.toStdString() + ": " + c.name);
            ProgramFolderGuard guard;
            const Outcome out =
                downloadFrom("HTTP/1.1 200 OK\r\n" + c.reply, quick(), c.tail, {}, folder);
            EXPECT_EQ(out.result, true) << out.error;
            EXPECT_EQ(out.file, c.stored);
            EXPECT_TRUE(out.leftovers.isEmpty());
            ASSERT_GE(out.statuses.size(), 2);
            EXPECT_EQ(out.statuses.at(out.statuses.size() - 2), c.lastProgress);
            EXPECT_EQ(out.statuses.last(), QStringLiteral("下载完成"));
        }
    }
}

TEST(DownloadGame, ARefusalOrAFailedHeadShowsTheMessageAndLeavesNoFile) {
    std::vector<Step> trickle;
    for (int i = 0; i < 40; ++i)
        trickle.insert(trickle.end(), {send("x"), pause(100)});
    std::string longHead = "HTTP/1.1 200 OK\r\n";
    while (longHead.size() < 70 * 1024)
        longHead += "X-Padding: 0123456789abcdef\r\n";
    const struct {
        const char* name;
        std::string reply;
        std::vector<Step> tail;
    } cases[] = {
        {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 5\r\n\r\nnope!", {}},
        {"HTTP/1.0", "HTTP/1.0 200 OK\r\n\r\nbody", {}},
        {"redirect", "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n", {}},
        {"close inside a head line", "HTTP/1.1 200 OK\r\nContent-Len", {}},
        {"close inside the status line", "HTTP/1.1 20", {}},
        {"close after a complete head line", "HTTP/1.1 200 OK\r\nServer: x\r\n", {}},
        {"head over 64 KB", longHead + "\r\nbody", {pause(2000)}},
        {"endless header line",
         "HTTP/1.1 200 OK\r\nX: " + std::string(1 << 20, 'a'),
         {pause(2000)}},
        {"trickling head", "HTTP/1.1 200 OK\r\nX: ", trickle},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolderGuard guard;
        const Outcome out = downloadFrom(c.reply, quick(), c.tail);
        EXPECT_EQ(out.result, false) << out.error;
        EXPECT_EQ(out.messages, QStringList{QStringLiteral("网络错误或未找到文件")});
        EXPECT_EQ(out.statuses.last(), QStringLiteral("下载失败"));
        EXPECT_FALSE(out.file.has_value());
        EXPECT_TRUE(out.leftovers.isEmpty());
    }
}

TEST(DownloadGame, AControlCharacterInThePathSendsNothing) {
    for (const char* path : {"games/a.swf HTTP/1.1\r\nX-Evil: 1", "games/a\n.swf", "g\x7F.swf"}) {
        ProgramFolderGuard guard;
        ScriptServer server({awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\n\r\nx")});
        const Outcome out = download("127.0.0.1:" + server.portText(), quick(), {}, path);
        EXPECT_EQ(out.result, false) << path;
        EXPECT_EQ(out.messages, QStringList{QStringLiteral("网络错误或未找到文件")});
        EXPECT_EQ(server.accepted(), 0) << path;
    }
}

TEST(DownloadGame, NoPortalRaisesBeforeAnythingIsWritten) {
    ProgramFolderGuard guard;
    const Outcome out = download("127.0.0.1:" + std::to_string(unusedPort()));
    EXPECT_FALSE(out.result.has_value());
    EXPECT_NE(out.error.find("10061"), std::string::npos) << out.error;
    EXPECT_EQ(out.statuses, QStringList{QStringLiteral("请稍后...")});
    EXPECT_FALSE(out.file.has_value());
}

// Only a Flash movie is kept: any other body, an announced 0 included, ends
// with the message, a failed row and no file.
TEST(DownloadGame, ABodyThatIsNoMovieIsNotKept) {
    const struct {
        const char* name;
        std::string reply;
    } cases[] = {
        {"a page", "\r\n<!doctype html><script>alert(1)</script>"},
        {"too short", "Content-Length: 2\r\n\r\nFW"},
        {"an announced 0", "Content-Length: 0\r\n\r\nFWS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolderGuard guard;
        const Outcome out = downloadFrom("HTTP/1.1 200 OK\r\n" + c.reply);
        EXPECT_EQ(out.result, false) << out.error;
        EXPECT_EQ(out.messages, QStringList{QStringLiteral("这不是 Flash 游戏，无法下载")});
        EXPECT_FALSE(out.file.has_value());
        EXPECT_TRUE(out.leftovers.isEmpty());
        ASSERT_FALSE(out.statuses.isEmpty());
        EXPECT_EQ(out.statuses.last(), QStringLiteral("下载失败"));
    }
}

TEST(DownloadGame, TheWindowStaysLiveWhileThePortalStalls) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\n";
    const QByteArray body = bytes(2000);
    // The portal sends 1000 bytes and holds until the test lets it go on: the
    // idle limit is far, so only the test ends the pause.
    portal::DownloadLimits limits = quick();
    limits.idleMs = 60000;
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "window destroyed" : "window closed");
        ProgramFolderGuard guard;
        ScriptServer server({awaitText("\r\n\r\n"), send(head + body.left(1000).toStdString()),
                             hold(), send(body.mid(1000).toStdString())});
        QString statusMeanwhile;
        QTimer poll;
        QElapsedTimer held;
        const Outcome out = download("127.0.0.1:" + server.portText(), limits, [&](TForm2* window) {
            poll.setInterval(10);
            QObject::connect(&poll, &QTimer::timeout, window, [&, window] {
                if (server.holdsReached() == 0)
                    return;
                if (!held.isValid())
                    held.start();
                // The three whole blocks before the pause, not the first
                // one only; waited for at most 30 s.
                if (window->statusText() != QStringLiteral("768/2000") && held.elapsed() < 30000)
                    return;
                poll.stop();
                statusMeanwhile = window->statusText();
                if (destroy)
                    delete window;
                else
                    window->close();
                server.release();
            });
            poll.start();
        });
        EXPECT_EQ(statusMeanwhile, QStringLiteral("768/2000"));
        EXPECT_EQ(out.result, !destroy) << out.error;
        EXPECT_EQ(out.file, destroy ? std::nullopt : std::optional<QByteArray>(body));
        EXPECT_TRUE(out.leftovers.isEmpty());
    }
}

TEST(DownloadGame, TheWindowStaysLiveWhileTheConnectWaits) {
    StalledListener stalled;
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "window destroyed" : "window left alone");
        ProgramFolderGuard guard;
        portal::DownloadLimits limits = quick();
        limits.connectMs = destroy ? 60000 : 2000;
        QString statusMeanwhile;
        // The timer runs as soon as the window's events are handled, which
        // the connect lets happen while it waits.
        const Outcome out =
            download("127.0.0.1:" + std::to_string(stalled.port()), limits, [&](TForm2* window) {
                QTimer::singleShot(0, window, [&, window] {
                    statusMeanwhile = window->statusText();
                    if (destroy)
                        delete window;
                });
            });
        EXPECT_EQ(statusMeanwhile, QStringLiteral("请稍后..."));
        EXPECT_EQ(out.result, destroy ? std::optional<bool>(false) : std::nullopt);
        EXPECT_EQ(out.error, destroy ? "" : "Connect timed out.");
        EXPECT_FALSE(out.file.has_value());
    }
}

TEST(DownloadGame, AFailureInsideTheBodyLeavesNoFile) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\n";
    const std::string part = bytes(1000).toStdString();
    const struct {
        const char* name;
        std::string reply;
        std::vector<Step> tail;
        std::string error;
    } cases[] = {
        {"early close", head + part, {}, "Connection Closed Gracefully."},
        {"idle limit", head + part, {hold()}, "Read Timeout"},
        {"reset", head + part, {reset()}, "Socket Error # 10054\r\nConnection reset by peer."},
        {"non-numeric length",
         "HTTP/1.1 200 OK\r\nContent-Length: 2k\r\n\r\n" + part,
         {},
         "'2k' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolderGuard guard;
        const Outcome out = downloadFrom(c.reply, quick(), c.tail);
        EXPECT_FALSE(out.result.has_value());
        EXPECT_EQ(out.error, c.error);
        EXPECT_FALSE(out.file.has_value());
        EXPECT_TRUE(out.leftovers.isEmpty());
    }
}

TEST(DownloadWindow, TheStatusCellShowsABarUnderItsText) {
    QWidget owner;
    auto* window = new TForm2(&owner, localPath(ProgramFolderGuard::folder()));
    window->AddDownloadItem("game");
    QTreeWidgetItem* row = window->ListView1->topLevelItem(0);
    row->setText(1, "512/1024");
    row->setData(1, ui::ProgressDelegate::kProgressRole, 0.5);
    const QRect cell =
        window->ListView1->visualRect(window->ListView1->model()->index(0, 1, QModelIndex()));
    const QImage shot = window->ListView1->viewport()->grab().toImage();
    shot.save(QCoreApplication::applicationDirPath() + "/download_progress.png");
    const QPalette palette = window->ListView1->palette();
    const int y = cell.center().y();
    EXPECT_EQ(shot.pixelColor(cell.left() + 8, y), palette.color(QPalette::Highlight));
    EXPECT_EQ(shot.pixelColor(cell.right() - 8, y), palette.color(QPalette::Base));
}

TEST(DownloadWindow, TopmostFixedCentredOnceAndClosingOnlyHides) {
    QWidget owner;
    owner.setGeometry(120, 80, 994, 595);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    QPointer<TForm2> window = new TForm2(&owner, localPath(ProgramFolderGuard::folder()));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QPoint centre = window->geometry().center() - owner.frameGeometry().center();
    EXPECT_LE(centre.manhattanLength(), 2) << centre.x() << "," << centre.y();

    // Closing hides; a later showing keeps the place the window had.
    window->move(window->pos() + QPoint(30, 20));
    const QPoint moved = window->pos();
    window->close();
    // An object deleted later from here goes after anything the close set
    // to be deleted.
    QPointer<QObject> later = new QObject;
    later->deleteLater();
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.isNull(); }, 5000));
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isVisible());
    window->show();
    EXPECT_EQ(window->pos(), moved);
}

} // namespace
} // namespace zorvia::test
