#include "player/flash_player.h"

#include "player/movie_focus.h"
#include "player/movie_page.h"
#include "player/movie_scheme.h"
#include "player/player_scheme.h"
#include "player/player_server.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace zorvia::player {

namespace {

// The script, told where the player's server answers (nowhere if empty).
QString playerScript(const QString& servedBase) {
    QFile file(QStringLiteral(":/player/flash_player.js"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll())
        .replace(QLatin1String("var SERVED = '';"),
                 QStringLiteral("var SERVED = '%1';").arg(servedBase));
}

} // namespace

void registerFlashPlayerSchemes() {
    registerPlayerScheme();
    registerMovieScheme();
}

void installFlashPlayer(QWebEngineProfile& profile) {
    registerFlashPlayerSchemes();
    profile.installUrlSchemeHandler(kPlayerScheme, new PlayerSchemeHandler(&profile));
    profile.installUrlSchemeHandler(kMovieScheme, new MovieSchemeHandler(&profile));
    const auto* server = new PlayerServer(playerFolder(), &profile);

    QWebEngineScript script;
    script.setName(QStringLiteral("zorvia-flash-player"));
    script.setSourceCode(playerScript(server->baseUrl()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    // The player replaces the page's elements and runs beside its scripts.
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    profile.scripts()->insert(script);
    installMovieFocusReports(profile);
}

} // namespace zorvia::player
