#pragma once

#include <QWebEngineUrlSchemeHandler>

namespace zorvia::player {

// Registers the scheme of local movies (movie_page.h gives its addresses)
// with the web engine. Only local content may load it: a page from the
// network cannot reach the disk through it. It must run before the first
// web engine profile is made; later calls do nothing.
void registerMovieScheme();

// The folder that local movies play from and may read (the program's flash
// folder, subfolders included); nothing else on the disk is served under
// the scheme. Until it is set, nothing is.
void setLocalMovieFolder(const QString& folder);
QString localMovieFolder();

// Answers the scheme's requests that the game box itself makes or a local
// movie's page makes: the host page for a page address of a movie in the
// movies' folder, the file's bytes for a regular file inside that folder
// (symbolic links are followed first), and a failure for anything else.
class MovieSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};

} // namespace zorvia::player
