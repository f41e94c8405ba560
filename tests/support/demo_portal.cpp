#include "support/demo_portal.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>

#ifndef ZORVIA_SOURCE_DIR
#error "ZORVIA_SOURCE_DIR must name the source tree"
#endif

quint16 freeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

DemoPortal::DemoPortal(GameFiles files) {
    host_ = QStringLiteral("127.0.0.1:%1").arg(freeLoopbackPort());
    auto env = QProcessEnvironment::systemEnvironment();
    if (files == GameFiles::OnPortalHost)
        env.insert("ZORVIA_PORTAL_FILE_HOST", host_);
    env.insert("ZORVIA_PORTAL_DATA", data_.path());
    env.insert("ZORVIA_PORTAL_WORKERS", "4");
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start("bash", {QStringLiteral(ZORVIA_SOURCE_DIR) + "/portal/serve.sh", host_});
    if (!process_.waitForStarted(10000)) {
        error_ = "serve.sh did not start";
        return;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000 && process_.state() == QProcess::Running) {
        if (!get("/mini.php?action=catlist").isNull()) {
            running_ = true;
            return;
        }
        QTest::qWait(100);
    }
    error_ = "the demo portal did not answer on " + host_;
}

DemoPortal::~DemoPortal() {
    if (process_.state() != QProcess::NotRunning) {
        ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
}

QByteArray DemoPortal::get(const QString& path, const QString& cookie) const {
    const int colon = host_.lastIndexOf(':');
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, host_.mid(colon + 1).toUShort());
    if (!socket.waitForConnected(2000))
        return {};
    QByteArray request = "GET " + path.toUtf8() + " HTTP/1.1\r\nHost: " + host_.toUtf8() +
                         "\r\nConnection: close\r\n";
    if (!cookie.isEmpty())
        request += "Cookie: " + cookie.toUtf8() + "\r\n";
    request += "\r\n";
    socket.write(request);
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(500)) {
            if (socket.state() != QAbstractSocket::ConnectedState)
                break;
            continue;
        }
        reply += socket.readAll();
    }
    const int body = reply.indexOf("\r\n\r\n");
    if (body < 0)
        return {};
    QByteArray out = reply.mid(body + 4);
    if (out.isNull())
        out = QByteArray("");
    return out;
}
