// The download window and its transfer, against scripted local servers.
#include "net/net_exceptions.h"
#include "support/modal.h"
#include "support/program_folder_guard.h"
#include "support/qt_print.h"
#include "support/script_server.h"
#include "ui/down/form2.h"
#include "ui/main/globals.h"

#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

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
    std::string request;
};

std::optional<QByteArray> readGameFile() {
    QFile file(ProgramFolderGuard::flashFolder() + kGameFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

Outcome download(const std::string& siteHost, int readLimitMs = TForm2::kReadTimeoutMs) {
    Outcome out;
    QWidget owner;
    auto* window = new TForm2(&owner);
    window->setTimeLimits(TForm2::kConnectTimeoutMs, readLimitMs);
    QObject::connect(window->ListView1, &QTreeWidget::itemChanged,
                     [&](QTreeWidgetItem* item, int column) {
                         if (column == 1)
                             out.statuses << item->text(1);
                     });
    window->AddDownloadItem("game");
    SiteHost = siteHost;
    ModalCloser closer;
    try {
        out.result = window->DownloadGame(std::string("games/") + kGameFile);
    } catch (const std::exception& error) {
        out.error = error.what();
    }
    out.messages = closer.texts();
    out.file = readGameFile();
    return out;
}

Outcome downloadFrom(const std::string& reply, int readLimitMs = TForm2::kReadTimeoutMs,
                     std::vector<Step> tail = {}) {
    std::vector<Step> script = {awaitText("\r\n\r\n"), send(reply)};
    script.insert(script.end(), tail.begin(), tail.end());
    ScriptServer server(script);
    Outcome out = download("127.0.0.1:" + server.portText(), readLimitMs);
    out.request = server.received();
    return out;
}

QByteArray bytes(int n) {
    QByteArray body(n, '\0');
    for (int i = 0; i < n; ++i)
        body[i] = char(i * 7 + 3);
    return body;
}

TEST(DownloadGame, SendsTheSharedHeadWithoutCookie) {
    ProgramFolderGuard guard;
    ScriptServer server({awaitText("\r\n\r\n"), send("HTTP/1.1 200 OK\r\n\r\nx")});
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
        int blocks;
    } cases[] = {
        {"length 1234", "Content-Length: 1234\r\n", bytes(1234), "1280/1234", 5},
        {"length 1024", "Content-Length: 1024\r\n", bytes(1024), "1024/1024", 4},
        {"length 0 with a body", "Content-Length: 0\r\n", "abc", "256/0", 1},
        {"other letter case is no length", "content-length: 600\r\n", bytes(600), "256/0", 1},
        {"body longer than announced", "Content-Length: 10\r\n", bytes(300), "256/10", 1},
        {"a later length overrides", "Content-Length: 5\r\nContent-Length: 700\r\n", bytes(700),
         "768/700", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolderGuard guard;
        const Outcome out =
            downloadFrom("HTTP/1.1 200 OK\r\n" + c.head + "\r\n" + c.body.toStdString());
        EXPECT_EQ(out.result, true) << out.error;
        EXPECT_EQ(out.file, c.body);
        EXPECT_TRUE(out.messages.isEmpty());
        ASSERT_EQ(out.statuses.size(), c.blocks + 2) << out.statuses.join(' ').toStdString();
        EXPECT_EQ(out.statuses.first(), QStringLiteral("请稍后..."));
        EXPECT_EQ(out.statuses.at(1), "256/" + c.lastProgress.section('/', 1));
        EXPECT_EQ(out.statuses.at(c.blocks), c.lastProgress);
        EXPECT_EQ(out.statuses.last(), QStringLiteral("下载完成"));
    }
}

TEST(DownloadGame, AnyOtherStatusLineFailsWithoutAFile) {
    const char* const replies[] = {
        "HTTP/1.1 404 Not Found\r\nContent-Length: 5\r\n\r\nnope!",
        "HTTP/1.0 200 OK\r\n\r\nbody",
        "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n",
    };
    for (const char* reply : replies) {
        SCOPED_TRACE(reply);
        ProgramFolderGuard guard;
        const Outcome out = downloadFrom(reply);
        EXPECT_EQ(out.result, false) << out.error;
        EXPECT_EQ(out.messages, QStringList{QStringLiteral("网络错误或未找到文件")});
        EXPECT_EQ(out.statuses.last(), QStringLiteral("下载失败"));
        EXPECT_FALSE(out.file.has_value());
    }
}

TEST(DownloadGame, ErrorsAreRaisedAndLeaveNoFile) {
    const struct {
        const char* name;
        std::string reply;
        std::vector<Step> tail;
        int readLimitMs;
        std::string error;
        QString lastStatus;
    } cases[] = {
        {"length with a trailing space",
         "HTTP/1.1 200 OK\r\nContent-Length: 12 \r\n\r\nx",
         {},
         TForm2::kReadTimeoutMs,
         "'12 ' is not a valid integer value",
         "请稍后..."},
        {"close in the middle of the body",
         "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + bytes(300).toStdString(),
         {},
         TForm2::kReadTimeoutMs,
         "Connection Closed Gracefully.",
         "256/1000"},
        {"close after a complete head line",
         "HTTP/1.1 200 OK\r\nServer: x\r\n",
         {},
         TForm2::kReadTimeoutMs,
         "Connection Closed Gracefully.",
         "请稍后..."},
        {"portal stops sending",
         "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789",
         {pause(1500)},
         300,
         "Read Timeout",
         "请稍后..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolderGuard guard;
        const Outcome out = downloadFrom(c.reply, c.readLimitMs, c.tail);
        EXPECT_FALSE(out.result.has_value());
        EXPECT_EQ(out.error, c.error);
        EXPECT_EQ(out.statuses.last(), c.lastStatus);
        EXPECT_FALSE(out.file.has_value());
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

TEST(DownloadWindow, TopmostFixedCentredOnceAndClosingOnlyHides) {
    QWidget owner;
    owner.setGeometry(120, 80, 994, 595);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    QPointer<TForm2> window = new TForm2(&owner);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QPoint centre = window->geometry().center() - owner.frameGeometry().center();
    EXPECT_LE(centre.manhattanLength(), 2) << centre.x() << "," << centre.y();

    // Closing hides; a later showing keeps the place the window had.
    window->move(window->pos() + QPoint(30, 20));
    const QPoint moved = window->pos();
    window->close();
    QTest::qWait(20);
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isVisible());
    window->show();
    EXPECT_EQ(window->pos(), moved);
}

} // namespace
} // namespace zorvia::test
