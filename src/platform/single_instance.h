#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace zorvia::platform {

// One running game box per data folder. The first process locks a lock
// file and listens on a local socket; a later one finds the lock held, asks
// the running one through the socket to come forward, and ends. The lock is
// the system's lock on the open file (flock), so it ends with its process:
// a crashed process leaves nothing that blocks, and taking it waits for no
// disk write.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names what one instance owns (the data folder); the lock and
    // the socket live in the temporary folder under a name derived from it
    // and the user.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the one instance (or no lock can be
    // made in the temporary folder); false when another holds the lock.
    bool claim();
    // Asks the running instance to show its window; true when it answered
    // within `timeoutMs`.
    bool handOver(int timeoutMs) const;

    QString serverName() const { return serverName_; }

signals:
    // A later start asked this instance to show its window.
    void activationRequested();

private:
    void answer();

    QString serverName_;
    QString lockPath_;
    int lockFd_ = -1;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace zorvia::platform
