#include "player/player_server.h"

#include "player/player_scheme.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <array>

namespace zorvia::player {

namespace {

constexpr qint64 kMaxRequestBytes = 8 * 1024;
// What a connection holds for its reader at most; with the cap on
// connections, what the server holds for slow readers at most (16 MB).
constexpr qint64 kChunkBytes = 256 * 1024;
// Pages hold a few connections each while the player's files arrive; one
// over this many is closed at once.
constexpr int kMaxConnections = 64;
// A request must arrive whole within this time, and a connection ends
// after the longer one whatever it does.
constexpr int kRequestLimitMs = 15000;
constexpr int kConnectionLimitMs = 120000;

QString randomToken() {
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    QString token;
    for (const quint32 word : words)
        token += QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
    return token;
}

QByteArray head(const QByteArray& status, const QByteArray& type, qint64 length) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nAccess-Control-Allow-Origin: *\r\nCache-Control: no-store\r\n"
           "X-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n";
}

struct Request {
    QByteArray method;
    QByteArray target;
    QByteArray host;
};

// The request line and the Host header of a whole request head.
Request parse(const QByteArray& text) {
    const QList<QByteArray> lines = text.split('\n');
    Request request;
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    if (first.size() != 3 || !first[2].startsWith("HTTP/1."))
        return request;
    request.method = first[0];
    request.target = first[1];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "host")
            request.host = line.mid(colon + 1).trimmed();
    }
    return request;
}

} // namespace

// The listening socket and its connections; lives on the server's thread.
class PlayerConnections : public QObject {
public:
    PlayerConnections(QString folder, QString token)
        : folder_(std::move(folder)), token_(std::move(token)) {}

    quint16 listen() {
        connect(&server_, &QTcpServer::newConnection, this, &PlayerConnections::accept);
        return server_.listen(QHostAddress::LocalHost, 0) ? server_.serverPort() : 0;
    }

private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            if (open_ >= kMaxConnections) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            ++open_;
            connect(socket, &QObject::destroyed, this, [this] { --open_; });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(*socket); });
            QTimer::singleShot(kRequestLimitMs, socket, [socket] {
                if (!socket->property("answered").toBool())
                    socket->abort();
            });
            QTimer::singleShot(kConnectionLimitMs, socket, [socket] { socket->abort(); });
        }
    }

    void read(QTcpSocket& socket) {
        if (socket.property("answered").toBool()) {
            socket.readAll();
            return;
        }
        const QByteArray seen = socket.peek(kMaxRequestBytes + 1);
        const qsizetype end = seen.indexOf("\r\n\r\n");
        if (end < 0) {
            if (seen.size() > kMaxRequestBytes)
                finish(socket, head("431 Request Header Fields Too Large", "text/plain", 0));
            return;
        }
        answer(socket, parse(socket.read(end + 4)));
    }

    void finish(QTcpSocket& socket, const QByteArray& reply) {
        socket.setProperty("answered", true);
        socket.write(reply);
        socket.disconnectFromHost();
    }

    void answer(QTcpSocket& socket, const Request& request) {
        if (request.method != "GET" && request.method != "HEAD") {
            finish(socket, head("405 Method Not Allowed", "text/plain", 0));
            return;
        }
        const QByteArray prefix = '/' + token_.toLatin1() + '/';
        const QByteArray expectedHost = "127.0.0.1:" + QByteArray::number(server_.serverPort());
        QByteArray target = request.target;
        target.truncate(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
        const QString name = QString::fromLatin1(target.mid(prefix.size()));
        const QByteArray type = playerFileType(name);
        auto file = std::make_unique<QFile>(QDir(folder_).filePath(name));
        if (request.host != expectedHost || !target.startsWith(prefix) || type.isEmpty() ||
            !file->open(QIODevice::ReadOnly)) {
            finish(socket, head("404 Not Found", "text/plain", 0));
            return;
        }
        socket.setProperty("answered", true);
        socket.write(head("200 OK", type, file->size()));
        if (request.method == "HEAD") {
            socket.disconnectFromHost();
            return;
        }
        // The file goes out in chunks as the socket drains, so a module is
        // never held whole in memory here.
        QFile* source = file.release();
        source->setParent(&socket);
        const auto send = [&socket, source] {
            while (socket.bytesToWrite() < kChunkBytes && !source->atEnd()) {
                const QByteArray chunk = source->read(kChunkBytes);
                if (chunk.isEmpty()) {
                    socket.abort();
                    return;
                }
                socket.write(chunk);
            }
            if (source->atEnd())
                socket.disconnectFromHost();
        };
        connect(&socket, &QTcpSocket::bytesWritten, source, send);
        send();
    }

    const QString folder_;
    const QString token_;
    int open_ = 0;
    QTcpServer server_{this};
};

PlayerServer::PlayerServer(const QString& folder, QObject* parent) : QObject(parent) {
    const QString token = randomToken();
    connections_ = new PlayerConnections(folder, token);
    connections_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, connections_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("player server"));
    thread_.start();
    quint16 port = 0;
    QMetaObject::invokeMethod(
        connections_, [&] { port = connections_->listen(); }, Qt::BlockingQueuedConnection);
    if (port != 0)
        baseUrl_ = QStringLiteral("http://127.0.0.1:%1/%2/").arg(port).arg(token);
}

PlayerServer::~PlayerServer() {
    thread_.quit();
    thread_.wait();
}

} // namespace zorvia::player
