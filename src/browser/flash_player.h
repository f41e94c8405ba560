#pragma once

#include <QString>
#include <QUrl>

class QWebEngineProfile;

namespace zorvia::browser {

// Gives every page and frame of the profile the game box's Flash player:
// the player scheme's handler, the local movies' scheme (movie_scheme.h), the player's server on
// 127.0.0.1 (owned by the profile), and a script that loads the player where a document holds Flash
// content (see flash_player.js).
void installFlashPlayer(QWebEngineProfile& profile);

// Whether url names a movie file on the local disk (a file address whose
// name ends in ".swf", in any letter case).
bool isLocalMovie(const QUrl& url);

// The small page that plays the movie at the address movie, filling the
// page at its aspect ratio; its title is the movie's file name.
QString movieHostPage(const QUrl& movie);

} // namespace zorvia::browser
