#pragma once

#include <QString>

#include <chrono>
#include <functional>

class QWebEnginePage;

namespace zorvia::player {

struct PlayerModuleChoice;

// The name, in a page's application world, of the record the warm-up
// leaves: {url, module, failed}; module is the compiled WebAssembly.Module
// once it is there.
inline constexpr char kWarmUpRecord[] = "__zorviaPlayerModule";

// A script for a page's application world: the engine's answer to the
// player's feature tests picks the build the player would pick, which a
// worker fetches from base (the player server's address, ending in '/')
// and compiles; the module is kept in that world. Runs once per document.
QString warmUpScript(const PlayerModuleChoice& choice, const QString& base);

// Compiles the player's module in the page's renderer process ahead of the
// first movie there, out of reach of the page's own scripts. The web engine
// keeps a compiled module for every page of the process that asks for the
// same module while this one lives, so a movie in any of them starts
// without compiling. Does nothing where the player's server is not running
// or the player's choice of module cannot be read; a failure leaves
// nothing behind but the record.
void warmUpPlayer(QWebEnginePage& page);

// warmUpPlayer after delay, if wanted() still says so then. A movie that
// starts while the warm-up compiles waits for it, which costs more than
// compiling alone where both start together: the delay lets a movie opened
// at once go first, and wanted() tells whether one did.
void warmUpPlayerLater(QWebEnginePage& page, std::chrono::milliseconds delay,
                       std::function<bool()> wanted);

} // namespace zorvia::player
