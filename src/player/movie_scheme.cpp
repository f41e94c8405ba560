#include "player/movie_scheme.h"

#include "player/movie_page.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace zorvia::player {

namespace {

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
        // Local like file addresses: network pages may not load it, and its
        // pages may load the disk's and the network's content. Secure like
        // them too, so its pages may ask the player's server on 127.0.0.1.
        scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                        QWebEngineUrlScheme::SecureScheme);
        QWebEngineUrlScheme::registerScheme(scheme);
        return true;
    }();
    (void)registered;
}

void MovieSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (!isMovieSchemeAddress(url) || job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    const QUrl file = fileAddress(url);
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
    const QString path = file.toLocalFile();
    auto* reply = new QFile(path, job);
    if (!QFileInfo(path).isFile() || !reply->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(fileType(path), reply);
}

} // namespace zorvia::player
