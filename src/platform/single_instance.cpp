#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zorvia::platform {

namespace {

constexpr QByteArrayView kShowRequest = "show\n";
constexpr QByteArrayView kShownReply = "shown\n";

QString baseName(const QString& key) {
    const QByteArray digest =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("zorvia-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest)));
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), serverName_(baseName(key) + QStringLiteral(".socket")),
      lockPath_(baseName(key) + QStringLiteral(".lock")) {}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
    // The file stays: removing it would let a start that opened it just
    // before lock a file no other start can see.
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

bool SingleInstance::claim() {
    // Not inherited by the processes the game box starts, which would
    // otherwise keep the lock after it ended.
    lockFd_ =
        ::open(QFile::encodeName(lockPath_).constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0)
        // Where no lock file can be made at all, the program runs
        // unguarded.
        return true;
    int locked = 0;
    do
        locked = ::flock(lockFd_, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        // Only a lock held by a running game box stops this one.
        const bool held = errno == EWOULDBLOCK;
        ::close(lockFd_);
        lockFd_ = -1;
        if (held)
            return false;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed owner would block listening.
    QLocalServer::removeServer(serverName_);
    server_->listen(serverName_);
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto serve = [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kShowRequest.toByteArray()) {
                emit activationRequested();
                socket->write(kShownReply.toByteArray());
                socket->flush();
            }
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, serve);
        serve(); // the request may have arrived with the connection
    }
}

bool SingleInstance::handOver(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShowRequest.toByteArray());
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == kShownReply.toByteArray();
}

} // namespace zorvia::platform
