#pragma once

#include <QString>
#include <QUrl>

namespace zorvia::player {

// The scheme under which a movie file of the local disk plays:
// "zorvia-movie://local<path>?page" is the page that hosts the movie at
// <path>, and "zorvia-movie://local<path>" is that file itself (or another
// file the movie loads beside it). All local movies are thus pages of one
// site, and the web engine gives them one renderer, which compiles the
// player once for all of them.
inline constexpr char kMovieScheme[] = "zorvia-movie";

// Whether url names a movie file on the local disk (a file address whose
// name ends in ".swf", in any letter case).
bool isLocalMovie(const QUrl& url);

// The address of the page that plays the local movie file at movie.
QUrl moviePageAddress(const QUrl& movie);

// Whether url is an address of the movie scheme, and whether it names a
// movie's host page rather than a file.
bool isMovieSchemeAddress(const QUrl& url);
bool isMoviePageAddress(const QUrl& url);
// Whether url is the scheme's one origin, which all local movies share.
bool isMovieOrigin(const QUrl& url);

// The file address that a page or file address of the scheme stands for;
// any other address is returned as it is.
QUrl fileAddress(const QUrl& url);

// The small page that plays the movie at the address movie, filling the
// page at its aspect ratio; its title is the movie's file name.
QString movieHostPage(const QUrl& movie);

} // namespace zorvia::player
