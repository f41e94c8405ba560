#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <utility>

namespace zorvia::test {

// A reply of the test server.
struct HttpResponse {
    int status = 200;
    QByteArray contentType = "text/html; charset=utf-8";
    QByteArray body;
    QList<QByteArray> setCookies; // each becomes one Set-Cookie header
    QList<std::pair<QByteArray, QByteArray>> headers;
};

// A request the test server received.
struct HttpRequest {
    QByteArray method;
    QByteArray target; // path and query, as sent
    QByteArray path;   // target without the query
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;

    QByteArray header(const QByteArray& name) const; // first one, case-insensitive
};

// A small HTTP/1.1 server for tests, on 127.0.0.1 and a free port, serving
// fixed replies by path (query ignored); 404 for any other path. Every
// request is recorded; every reply closes its connection. It runs on the
// event loop of the thread that made it.
class TestHttpServer : public QObject {
    Q_OBJECT
public:
    TestHttpServer();

    bool isListening() const { return server_.isListening(); }
    quint16 port() const { return server_.serverPort(); }
    // "http://127.0.0.1:<port>" + path
    QString url(const QString& path) const;

    void route(const QByteArray& path, HttpResponse response);
    // An HTML page: the given body with content type text/html; charset=utf-8.
    void page(const QByteArray& path, const QString& html);

    // Requests for exactly `target` (path and query) wait without a reply
    // until release(target), which answers them, or with `answer` false
    // drops their connections.
    void hold(const QByteArray& target) { held_.insert(target); }
    void release(const QByteArray& target, bool answer = true);

    const QList<HttpRequest>& requests() const { return requests_; }
    int requestCount(const QByteArray& path) const;
    void clearRequests() { requests_.clear(); }

signals:
    void requestReceived(const zorvia::test::HttpRequest& request);

private:
    void onConnection();
    void serve(QTcpSocket* socket, QByteArray& buffer);
    QByteArray reply(const HttpRequest& request) const;

    QTcpServer server_;
    QHash<QByteArray, HttpResponse> routes_;
    QList<HttpRequest> requests_;
    QSet<QByteArray> held_;
    QList<std::pair<QPointer<QTcpSocket>, HttpRequest>> waiting_;
};

} // namespace zorvia::test
