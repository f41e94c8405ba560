#pragma once

#include <QWebEngineUrlSchemeHandler>

namespace zorvia::player {

// Registers the scheme of local movies (movie_page.h gives its addresses)
// with the web engine. Only local content may load it: a page from the
// network cannot reach the disk through it. It must run before the first
// web engine profile is made; later calls do nothing.
void registerMovieScheme();

// Answers the scheme's requests: the host page for a page address, the
// file's bytes for a regular file that can be read, and a failure for
// anything else.
class MovieSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace zorvia::player
