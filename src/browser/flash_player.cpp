#include "browser/flash_player.h"

#include "browser/movie_scheme.h"
#include "browser/player_scheme.h"
#include "browser/player_server.h"

#include <QFile>
#include <QFileInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace zorvia::browser {

namespace {

// The script, told where the player's server answers (nowhere if empty).
QString playerScript(const QString& servedBase) {
    QFile file(QStringLiteral(":/browser/flash_player.js"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll())
        .replace(QLatin1String("var SERVED = '';"),
                 QStringLiteral("var SERVED = '%1';").arg(servedBase));
}

} // namespace

void installFlashPlayer(QWebEngineProfile& profile) {
    registerPlayerScheme();
    profile.installUrlSchemeHandler(kPlayerScheme, new PlayerSchemeHandler(&profile));
    registerMovieScheme();
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
}

bool isLocalMovie(const QUrl& url) {
    return url.isLocalFile() && url.path().endsWith(QLatin1String(".swf"), Qt::CaseInsensitive);
}

QString movieHostPage(const QUrl& movie) {
    const QString title = QFileInfo(movie.path(QUrl::FullyDecoded)).fileName().toHtmlEscaped();
    const QString source = movie.toString(QUrl::FullyEncoded).toHtmlEscaped();
    return QStringLiteral("<!doctype html><html><head><meta charset=\"utf-8\"><title>%1</title>"
                          "<style>html,body{margin:0;width:100%;height:100%;overflow:hidden;"
                          "background:#000}embed{display:block;width:100%;height:100%}</style>"
                          "</head><body><embed src=\"%2\" type=\"application/x-shockwave-flash\" "
                          "width=\"100%\" height=\"100%\"></body></html>")
        .arg(title, source);
}

} // namespace zorvia::browser
