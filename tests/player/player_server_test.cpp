// The server on 127.0.0.1 that hands the player's files to pages.
#include "player/player_scheme.h"
#include "player/player_server.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zorvia::test {
namespace {

constexpr int kReplyTimeoutMs = 10000;

struct Reply {
    QByteArray head;
    QByteArray body;
};

// Sends raw request text and reads until the server closes the connection.
Reply exchange(const QUrl& base, const QByteArray& request) {
    QTcpSocket socket;
    socket.connectToHost(base.host(), static_cast<quint16>(base.port()));
    if (!socket.waitForConnected(kReplyTimeoutMs))
        return {};
    socket.write(request);
    QByteArray all;
    while (socket.state() == QAbstractSocket::ConnectedState &&
           socket.waitForReadyRead(kReplyTimeoutMs))
        all += socket.readAll();
    all += socket.readAll();
    const qsizetype end = all.indexOf("\r\n\r\n");
    if (end < 0)
        return {all, {}};
    return {all.left(end), all.mid(end + 4)};
}

QByteArray get(const QByteArray& method, const QByteArray& path, const QByteArray& host) {
    return method + ' ' + path + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n";
}

TEST(PlayerServerTest, ServesThePlayersScriptsAndModulesUnderItsTokenOnly) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray module(3 * 1024 * 1024 + 17, '\x5a'); // more than one chunk
    for (const auto& [name, content] :
         {std::pair{"ruffle.js", QByteArray("var x = 1;")}, std::pair{"core.wasm", module},
          std::pair{"LICENSE_MIT", QByteArray("text")}}) {
        QFile file(QDir(folder.path()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    player::PlayerServer server(folder.path());
    const QUrl base(server.baseUrl());
    ASSERT_EQ(base.scheme(), "http");
    ASSERT_EQ(base.host(), "127.0.0.1");
    const QByteArray token = base.path().toLatin1(); // "/<token>/"
    ASSERT_GE(token.size(), 34);
    const QByteArray host = "127.0.0.1:" + QByteArray::number(base.port());

    const struct {
        const char* label;
        QByteArray request;
        QByteArray status;
        QByteArray type; // expected content type, if any
        QByteArray body; // expected body of a 200 GET
    } cases[] = {
        {"the script", get("GET", token + "ruffle.js", host), "200", "text/javascript",
         "var x = 1;"},
        {"a module, whole", get("GET", token + "core.wasm", host), "200", "application/wasm",
         module},
        {"a query is ignored", get("GET", token + "ruffle.js?v=2", host), "200", "text/javascript",
         "var x = 1;"},
        {"head only", get("HEAD", token + "core.wasm", host), "200", "application/wasm", {}},
        {"without the token", get("GET", "/ruffle.js", host), "404", {}, {}},
        {"another token", get("GET", "/0123456789abcdef/ruffle.js", host), "404", {}, {}},
        {"a file that is not a script or module",
         get("GET", token + "LICENSE_MIT", host),
         "404",
         {},
         {}},
        {"a parent folder", get("GET", token + "..%2Fruffle.js", host), "404", {}, {}},
        {"a missing file", get("GET", token + "missing.js", host), "404", {}, {}},
        {"another host name", get("GET", token + "ruffle.js", "evil.example:80"), "404", {}, {}},
        {"a write", get("POST", token + "ruffle.js", host), "405", {}, {}},
        {"an endless head",
         "GET " + token + "ruffle.js HTTP/1.1\r\nX: " + QByteArray(16 * 1024, 'a'),
         "431",
         {},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Reply reply = exchange(base, c.request);
        ASSERT_TRUE(reply.head.startsWith("HTTP/1.1 " + c.status)) << reply.head.toStdString();
        if (c.status != "200")
            continue;
        const QByteArray head = reply.head.toLower();
        EXPECT_TRUE(head.contains("content-type: " + c.type)) << reply.head.toStdString();
        // Pages of every origin, local pages included, read the files.
        EXPECT_TRUE(head.contains("access-control-allow-origin: *"));
        const qsizetype length = c.request.startsWith("HEAD") ? module.size() : c.body.size();
        EXPECT_TRUE(head.contains("content-length: " + QByteArray::number(length)));
        EXPECT_EQ(reply.body, c.body);
    }
}

TEST(PlayerServerTest, HostileAndVanishingClientsLeaveItServing) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray module(8 * 1024 * 1024, '\x5a'); // far more than the socket buffers
    QFile file(QDir(folder.path()).filePath("core.wasm"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(module);
    file.close();
    auto server = std::make_unique<player::PlayerServer>(folder.path());
    const QUrl base(server->baseUrl());
    const QByteArray request = get("GET", base.path().toLatin1() + "core.wasm",
                                   "127.0.0.1:" + QByteArray::number(base.port()));
    const auto connected = [&](QTcpSocket& socket) {
        socket.connectToHost(base.host(), quint16(base.port()));
        return socket.waitForConnected(kReplyTimeoutMs);
    };
    {
        SCOPED_TRACE("a request that arrives a byte at a time");
        QTcpSocket socket;
        ASSERT_TRUE(connected(socket));
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        for (const char byte : request) {
            socket.write(&byte, 1);
            ASSERT_TRUE(socket.waitForBytesWritten(kReplyTimeoutMs));
        }
        QByteArray all;
        while (socket.waitForReadyRead(kReplyTimeoutMs))
            all += socket.readAll();
        EXPECT_TRUE(all.startsWith("HTTP/1.1 200 OK\r\n"));
        EXPECT_TRUE(all.endsWith(module.right(16)));
        EXPECT_EQ(all.size() - all.indexOf("\r\n\r\n") - 4, module.size());
    }
    {
        SCOPED_TRACE("a client that goes in the middle of the module");
        QTcpSocket socket;
        ASSERT_TRUE(connected(socket));
        socket.write(request);
        ASSERT_TRUE(socket.waitForReadyRead(kReplyTimeoutMs));
        socket.abort();
        EXPECT_EQ(exchange(base, request).body, module); // and it serves on
    }
    {
        SCOPED_TRACE("a head that never ends is cut after its time limit");
        QTcpSocket socket;
        ASSERT_TRUE(connected(socket));
        socket.write("GET " + base.path().toLatin1() + "core.wasm HTTP/1.1\r\nHost: 127.0.0.1");
        EXPECT_TRUE(socket.waitForDisconnected(30000));
        EXPECT_TRUE(socket.readAll().isEmpty());
        EXPECT_EQ(exchange(base, request).body, module); // and it serves on
    }
    {
        SCOPED_TRACE("the server ends while a module is on its way");
        QTcpSocket socket;
        ASSERT_TRUE(connected(socket));
        socket.write(request);
        ASSERT_TRUE(socket.waitForReadyRead(kReplyTimeoutMs));
        server.reset();
        qint64 received = socket.readAll().size();
        while (socket.state() == QAbstractSocket::ConnectedState &&
               socket.waitForReadyRead(kReplyTimeoutMs))
            received += socket.readAll().size();
        EXPECT_NE(socket.state(), QAbstractSocket::ConnectedState);
        EXPECT_GT(received, 0);
    }
}

// Readers that never read and heads that never end hold 64 connections at
// most: one more is closed at once, and a place that comes free is served.
TEST(PlayerServerTest, OpenConnectionsAreCapped) {
    QTemporaryDir folder;
    QFile script(QDir(folder.path()).filePath(QStringLiteral("ruffle.js")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.write("var x = 1;") == 10);
    script.close();
    player::PlayerServer server(folder.path());
    const QUrl base(server.baseUrl());
    const QByteArray request = get("GET", base.path().toLatin1() + "ruffle.js",
                                   "127.0.0.1:" + QByteArray::number(base.port()));
    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < 64; ++i) {
        held.push_back(std::make_unique<QTcpSocket>());
        held.back()->connectToHost(base.host(), static_cast<quint16>(base.port()));
        ASSERT_TRUE(held.back()->waitForConnected(kReplyTimeoutMs));
        held.back()->write("GET "); // a head that never ends
        ASSERT_TRUE(held.back()->waitForBytesWritten(kReplyTimeoutMs));
    }
    const Reply refused = exchange(base, request);
    EXPECT_TRUE(refused.head.isEmpty()) << refused.head.toStdString();
    for (const auto& socket : held)
        EXPECT_EQ(socket->state(), QAbstractSocket::ConnectedState);

    held.front()->disconnectFromHost();
    held.erase(held.begin());
    // The server learns of the close in its own time; a later try is served.
    Reply served;
    for (int i = 0; i < 50 && served.head.isEmpty(); ++i)
        served = exchange(base, request);
    EXPECT_TRUE(served.head.startsWith("HTTP/1.1 200")) << served.head.toStdString();
}

} // namespace
} // namespace zorvia::test
