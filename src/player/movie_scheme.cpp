#include "player/movie_scheme.h"

#include "player/movie_page.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace zorvia::player {

namespace {

QString& movieFolder() {
    static QString folder;
    return folder;
}

// Requests of the game box itself carry no initiator; a local movie's page
// is the scheme's own origin.
bool fromGameBoxOrMovie(const QUrl& initiator) {
    return initiator.isEmpty() || isMovieOrigin(initiator);
}

// The real path of path when it lies inside the movies' folder, after
// symbolic links and "..": the file's own, or its folder's for a file that
// does not exist. Empty otherwise.
QString insideMovieFolder(const QString& path) {
    const QString folder = QFileInfo(movieFolder()).canonicalFilePath();
    if (folder.isEmpty())
        return {};
    const QFileInfo file(path);
    QString real = file.canonicalFilePath();
    if (real.isEmpty()) {
        const QString parent = QFileInfo(file.path()).canonicalFilePath();
        if (parent.isEmpty())
            return {};
        real = parent + u'/' + file.fileName();
    }
    return real.startsWith(folder + u'/') ? real : QString();
}

QByteArray fileType(const QString& path) {
    return path.endsWith(QLatin1String(".swf"), Qt::CaseInsensitive)
               ? QByteArrayLiteral("application/x-shockwave-flash")
               : QByteArrayLiteral("application/octet-stream");
}

} // namespace

void registerMovieScheme() {
    static const bool registered = [] {
        QWebEngineUrlScheme scheme(kMovieScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        // Not local to the web engine: its pages load no file address and
        // reach the network as any page does, and the handler answers no
        // page but its own (and the game box). Secure, so its pages may ask
        // the player's server on 127.0.0.1.
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    (void)registered;
}

void setLocalMovieFolder(const QString& folder) {
    movieFolder() = folder;
}

QString localMovieFolder() {
    return movieFolder();
}

void MovieSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (!isMovieSchemeAddress(url) || job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    if (!fromGameBoxOrMovie(job->initiator())) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QUrl file = fileAddress(url);
    const QString path = insideMovieFolder(file.toLocalFile());
    if (path.isEmpty()) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    if (isMoviePageAddress(url)) {
        if (!isLocalMovie(file)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* page = new QBuffer(job);
        page->setData(movieHostPage(url.adjusted(QUrl::RemoveQuery)).toUtf8());
        job->reply("text/html;charset=utf-8", page);
        return;
    }
    auto* reply = new QFile(path, job);
    if (!QFileInfo(path).isFile() || !reply->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(fileType(path), reply);
}

} // namespace zorvia::player
