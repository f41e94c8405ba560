#pragma once

#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace zorvia::browser {

// The scheme under which a movie file of the local disk plays:
// "zorvia-movie://local<path>?page" is the page that hosts the movie at
// <path>, and "zorvia-movie://local<path>" is that file itself (or another
// file the movie loads beside it). All local movies are thus pages of one
// site, and the web engine gives them one renderer, which compiles the
// player once for all of them. Only local content may load the scheme: a
// page from the network cannot reach the disk through it.
inline constexpr char kMovieScheme[] = "zorvia-movie";

// Registers the scheme with the web engine. It must run before the first
// web engine profile is made; later calls do nothing.
void registerMovieScheme();

// The address of the page that plays the local movie file at movie.
QUrl moviePageAddress(const QUrl& movie);

// The file address that a page or file address of the scheme stands for;
// any other address is returned as it is.
QUrl fileAddress(const QUrl& url);

// Answers the scheme's requests: the host page for a page address, the
// file's bytes for a regular file that can be read, and a failure for
// anything else.
class MovieSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace zorvia::browser
