#include "player/player_scheme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include <algorithm>

namespace zorvia::player {

// The player's files are flat: a plain name with the suffix .js or .wasm.
// Called from the player's server thread as well, so it keeps no state.
QByteArray playerFileType(const QString& name) {
    const auto plain = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'_' || c == u'.' || c == u'-';
    };
    if (name.isEmpty() || name.startsWith(u'.') || !std::all_of(name.begin(), name.end(), plain))
        return {};
    if (name.endsWith(QLatin1String(".js")) && name.size() > 3)
        return "text/javascript";
    if (name.endsWith(QLatin1String(".wasm")) && name.size() > 5)
        return "application/wasm";
    return {};
}

void registerPlayerScheme() {
    static const bool registered = [] {
        QWebEngineUrlScheme scheme(kPlayerScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        // Secure, so pages served over https may load it too; CORS-enabled,
        // so the player's requests for its own parts are answered.
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    (void)registered;
}

QString playerFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("player"));
}

void PlayerSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    const QString name = url.path().mid(1);
    const QByteArray type = playerFileType(name);
    if (url.host() != QLatin1String("player") || type.isEmpty()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(QDir(playerFolder()).filePath(name), job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(type, file);
}

} // namespace zorvia::player
