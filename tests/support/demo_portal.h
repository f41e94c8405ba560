#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The demo portal on a free loopback port with a data folder of its own,
// for the duration of a test. Its host text ("127.0.0.1:port") is what
// ZORVIA_SITE_HOST takes.
class DemoPortal {
public:
    // Where its pages name their game files: on its file host (the other
    // loopback name of its port), as real portals did, or on the portal
    // host itself, for a browser that cannot play movies of another host.
    enum class GameFiles { OnFileHost, OnPortalHost };

    explicit DemoPortal(GameFiles files = GameFiles::OnFileHost);
    ~DemoPortal();
    DemoPortal(const DemoPortal&) = delete;
    DemoPortal& operator=(const DemoPortal&) = delete;

    // False when the portal did not come up (the reason is in error()).
    bool running() const { return running_; }
    QString error() const { return error_; }
    QString host() const { return host_; }
    QString url(const QString& path) const { return "http://" + host_ + path; }

    // A GET of `path` with an optional cookie; the body, or a null array.
    QByteArray get(const QString& path, const QString& cookie = QString()) const;

private:
    QTemporaryDir data_;
    QProcess process_;
    QString host_;
    QString error_;
    bool running_ = false;
};

// A free TCP port on 127.0.0.1 (nothing listens on it when returned).
quint16 freeLoopbackPort();
