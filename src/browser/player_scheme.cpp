#include "browser/player_scheme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace zorvia::browser {

namespace {

// The player's files are flat: a plain name with the suffix .js or .wasm.
QByteArray contentType(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_.-]+\\.(js|wasm)$"));
    const QRegularExpressionMatch match = plain.match(name);
    if (!match.hasMatch() || name.startsWith(u'.'))
        return {};
    return match.captured(1) == QLatin1String("js") ? "text/javascript" : "application/wasm";
}

} // namespace

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
    const QByteArray type = contentType(name);
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

} // namespace zorvia::browser
