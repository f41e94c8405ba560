#include "support/test_http_server.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <memory>
#include <optional>

namespace zorvia::test {

namespace {

constexpr qsizetype kMaxRequestSize = 1 << 20;

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

// Parses one complete request from the front of buffer; no value while the
// request is still incomplete.
std::optional<HttpRequest> takeRequest(QByteArray& buffer) {
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return std::nullopt;
    HttpRequest request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    request.path = request.target.left(
        request.target.indexOf('?') >= 0 ? request.target.indexOf('?') : request.target.size());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    const qsizetype length = request.header("Content-Length").toLongLong();
    const qsizetype total = headEnd + 4 + length;
    if (buffer.size() < total)
        return std::nullopt;
    request.body = buffer.mid(headEnd + 4, length);
    buffer.remove(0, total);
    return request;
}

} // namespace

QByteArray HttpRequest::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

TestHttpServer::TestHttpServer() {
    connect(&server_, &QTcpServer::newConnection, this, &TestHttpServer::onConnection);
    server_.listen(QHostAddress::LocalHost, 0);
}

QString TestHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void TestHttpServer::route(const QByteArray& path, HttpResponse response) {
    routes_.insert(path, std::move(response));
}

void TestHttpServer::page(const QByteArray& path, const QString& html) {
    HttpResponse response;
    response.body = html.toUtf8();
    route(path, std::move(response));
}

int TestHttpServer::requestCount(const QByteArray& path) const {
    int count = 0;
    for (const auto& request : requests_)
        count += request.path == path ? 1 : 0;
    return count;
}

void TestHttpServer::onConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            serve(socket, *buffer);
        });
    }
}

void TestHttpServer::serve(QTcpSocket* socket, QByteArray& buffer) {
    if (buffer.size() > kMaxRequestSize) {
        socket->abort();
        return;
    }
    auto request = takeRequest(buffer);
    if (!request)
        return;
    requests_.append(*request);
    emit requestReceived(*request);
    if (held_.contains(request->target)) {
        waiting_.append({socket, *request});
        return;
    }
    socket->write(reply(*request));
    socket->disconnectFromHost();
}

void TestHttpServer::release(const QByteArray& target, bool answer) {
    held_.remove(target);
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (it->second.target != target) {
            ++it;
            continue;
        }
        if (QTcpSocket* socket = it->first) {
            if (answer) {
                socket->write(reply(it->second));
                socket->disconnectFromHost();
            } else {
                socket->abort();
            }
        }
        it = waiting_.erase(it);
    }
}

QByteArray TestHttpServer::reply(const HttpRequest& request) const {
    HttpResponse response;
    if (auto it = routes_.constFind(request.path); it != routes_.constEnd()) {
        response = *it;
    } else {
        response.status = 404;
        response.contentType = "text/plain";
        response.body = "not found";
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                     reasonPhrase(response.status) + "\r\n";
    out += "Content-Type: " + response.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    out += "Cache-Control: no-store\r\n";
    out += "Connection: close\r\n";
    for (const auto& cookie : response.setCookies)
        out += "Set-Cookie: " + cookie + "\r\n";
    for (const auto& [name, value] : response.headers)
        out += name + ": " + value + "\r\n";
    out += "\r\n";
    out += response.body;
    return out;
}

} // namespace zorvia::test
