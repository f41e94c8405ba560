#include "player/movie_page.h"

#include <QFileInfo>

namespace zorvia::player {

namespace {

constexpr char kHost[] = "local";
constexpr char kPageQuery[] = "page";

} // namespace

bool isLocalMovie(const QUrl& url) {
    return url.isLocalFile() && url.path().endsWith(QLatin1String(".swf"), Qt::CaseInsensitive);
}

QUrl moviePageAddress(const QUrl& movie) {
    QUrl page;
    page.setScheme(QLatin1String(kMovieScheme));
    page.setHost(QLatin1String(kHost));
    page.setPath(movie.path(QUrl::FullyEncoded), QUrl::StrictMode);
    page.setQuery(QLatin1String(kPageQuery));
    return page;
}

bool isMovieSchemeAddress(const QUrl& url) {
    return url.scheme() == QLatin1String(kMovieScheme) && url.host() == QLatin1String(kHost) &&
           url.path().startsWith(u'/');
}

bool isMoviePageAddress(const QUrl& url) {
    return isMovieSchemeAddress(url) && url.query() == QLatin1String(kPageQuery);
}

bool isMovieOrigin(const QUrl& url) {
    return url.scheme() == QLatin1String(kMovieScheme) && url.host() == QLatin1String(kHost) &&
           (url.path().isEmpty() || url.path() == QLatin1String("/"));
}

QUrl fileAddress(const QUrl& url) {
    if (!isMovieSchemeAddress(url))
        return url;
    QUrl file;
    file.setScheme(QStringLiteral("file"));
    file.setPath(url.path(QUrl::FullyEncoded), QUrl::StrictMode);
    return file;
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

} // namespace zorvia::player
