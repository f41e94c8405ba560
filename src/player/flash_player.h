#pragma once

class QWebEngineProfile;

namespace zorvia::player {

// What a web browser needs of the Flash player's delivery: this header, the
// addresses and host page of local movies (movie_page.h) and the focus
// reports of movies (movie_focus.h).

// Registers the schemes under which the player and local movies are served.
// It must run before the first web engine profile is made; later calls do
// nothing.
void registerFlashPlayerSchemes();

// Gives every page and frame of the profile the game box's Flash player:
// the player scheme's handler, the local movies' scheme (movie_scheme.h),
// the player's server on 127.0.0.1 (owned by the profile), the player's
// loads from other hosts (network_loads.h), a script that shows pages an
// installed Flash player (flash_detection.js), a script that loads the
// player where a document holds Flash content (see flash_player.js), and
// the reports of which movie has the keyboard focus
// (movie_focus.h).
void installFlashPlayer(QWebEngineProfile& profile);

} // namespace zorvia::player
