#pragma once

#include <QObject>
#include <QString>
#include <QThread>

namespace zorvia::player {

class PlayerConnections;

// Serves the player folder's scripts and WebAssembly modules over HTTP on
// 127.0.0.1, read-only, under a random port and a random first path
// segment, on a thread of its own. A page fetches the player's module from
// it as a stream, so the web engine compiles the module while it arrives
// instead of after a whole copy of it has reached the page. It keeps at
// most 64 connections open (one more is closed at once) and holds at most
// 256 KB for each reader.
class PlayerServer : public QObject {
    Q_OBJECT
public:
    explicit PlayerServer(const QString& folder, QObject* parent = nullptr);
    ~PlayerServer() override;

    PlayerServer(const PlayerServer&) = delete;
    PlayerServer& operator=(const PlayerServer&) = delete;

    // "http://127.0.0.1:<port>/<token>/", under which the files are served;
    // empty where no port could be opened.
    QString baseUrl() const { return baseUrl_; }

private:
    QThread thread_;
    PlayerConnections* connections_ = nullptr; // lives on thread_, deleted when it ends
    QString baseUrl_;
};

} // namespace zorvia::player
