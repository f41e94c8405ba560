#pragma once

#include <QByteArray>
#include <QString>
#include <QWebEngineUrlSchemeHandler>

namespace zorvia::player {

// The scheme under which the game box serves its Flash player to pages:
// "zorvia-player://player/<file>". Pages of any origin may load it; their
// requests never reach the network.
inline constexpr char kPlayerScheme[] = "zorvia-player";

// Registers the scheme with the web engine. It must run before the first
// web engine profile is made; later calls do nothing.
void registerPlayerScheme();

// The folder whose files the scheme serves: "player" in the executable's
// folder, where the build puts the player.
QString playerFolder();

// The content type of a file of the player folder that pages may load: a
// flat name ending in ".js" or ".wasm"; empty for every other name.
QByteArray playerFileType(const QString& name);

// Answers "zorvia-player://player/<file>" with that file of the player
// folder: scripts and WebAssembly modules only, and no other folder.
class PlayerSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace zorvia::player
