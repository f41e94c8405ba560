#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace zorvia::player {

// The player ships its WebAssembly module in two builds: one that uses
// extensions of WebAssembly and a plain one. Its loader tries a few small
// test modules and takes the extended build where the engine accepts every
// one of them, the plain build otherwise.
struct PlayerModuleChoice {
    QList<QList<int>> featureTests; // the test modules' bytes
    QString extended;               // file names in the player folder
    QString plain;
};

// The choice as the player's loader script (its text) makes it; none where
// the script does not show both builds' names and the test modules.
std::optional<PlayerModuleChoice> playerModuleChoice(const QByteArray& loader);

} // namespace zorvia::player
