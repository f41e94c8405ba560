#pragma once

#include <QByteArray>

namespace zorvia::browser {

// The web engine's switches (as in QTWEBENGINE_CHROMIUM_FLAGS) with pages of
// one site sharing one renderer process: the game tabs of a portal then
// share the compiled module of the Flash player, so a second game starts
// without compiling it again, and five game tabs hold one copy of it. A
// process model the switches already name is kept.
QByteArray withSharedSiteProcesses(const QByteArray& chromiumFlags);

// Applies withSharedSiteProcesses to QTWEBENGINE_CHROMIUM_FLAGS; call before
// the application object exists.
void chooseProcessModel();

} // namespace zorvia::browser
