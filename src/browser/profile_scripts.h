#pragma once

class QWebEnginePage;

namespace zorvia::browser {

// The web engine hands a profile's scripts to a renderer process once, when
// that process first starts; a renderer started again after its process
// ended (a crash, killed) runs its documents without them, and so does
// every page that lands in it later. A page's own scripts, by contrast, go
// to every new frame. After the first such loss the profile's scripts move
// to the pages: every page of the profile takes a copy, so does every page
// made later, and the profile keeps none (no document runs a script twice).

// Makes `page` take its profile's scripts once they have moved; call this
// for every page when it is made. The page is tracked until it is gone.
void adoptProfileScripts(QWebEnginePage& page);

// A renderer of `page`'s profile ended abnormally: the scripts move now.
void moveProfileScriptsToPages(QWebEnginePage& page);

} // namespace zorvia::browser
