#include "player/flash_player.h"

#include "player/movie_focus.h"
#include "player/movie_page.h"
#include "player/movie_scheme.h"
#include "player/network_loads.h"
#include "player/player_scheme.h"
#include "player/player_server.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace zorvia::player {

namespace {

// The script, told where the player's server answers (nowhere if empty)
// and the key of the player's loads from other hosts.
QString playerScript(const QString& servedBase, const QString& networkKey) {
    QFile file(QStringLiteral(":/player/flash_player.js"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll())
        .replace(QLatin1String("var SERVED = '';"),
                 QStringLiteral("var SERVED = '%1';").arg(servedBase))
        .replace(QLatin1String("var NETWORK_KEY = '';"),
                 QStringLiteral("var NETWORK_KEY = '%1';").arg(networkKey));
}

// Pages that look for a Flash player before they embed a movie find one
// from their first script on; the player itself still loads only where
// Flash content appears.
void installFlashDetection(QWebEngineProfile& profile) {
    QFile file(QStringLiteral(":/player/flash_detection.js"));
    file.open(QIODevice::ReadOnly);
    QWebEngineScript script;
    script.setName(QStringLiteral("zorvia-flash-detection"));
    script.setSourceCode(QString::fromUtf8(file.readAll()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    profile.scripts()->insert(script);
}

} // namespace

void registerFlashPlayerSchemes() {
    registerPlayerScheme();
    registerMovieScheme();
    registerNetworkScheme();
}

void installFlashPlayer(QWebEngineProfile& profile) {
    registerFlashPlayerSchemes();
    profile.installUrlSchemeHandler(kPlayerScheme, new PlayerSchemeHandler(&profile));
    profile.installUrlSchemeHandler(kMovieScheme, new MovieSchemeHandler(&profile));
    auto* network = new NetworkLoads(profile); // owned by the profile
    profile.installUrlSchemeHandler(kNetworkScheme, network);
    installFlashDetection(profile);
    const auto* server = new PlayerServer(playerFolder(), &profile);

    QWebEngineScript script;
    script.setName(QStringLiteral("zorvia-flash-player"));
    script.setSourceCode(playerScript(server->baseUrl(), network->key()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    // The player replaces the page's elements and runs beside its scripts.
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    profile.scripts()->insert(script);
    installMovieFocusReports(profile);
}

} // namespace zorvia::player
