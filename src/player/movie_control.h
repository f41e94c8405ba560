#pragma once

class QWebEnginePage;

namespace zorvia::player {

// Pauses every Flash movie of the page (and of the frames it may reach)
// that plays; resumeMovies() plays again the movies this paused, and only
// those. Both return at once; the page does the work.
void pauseMovies(QWebEnginePage& page);
void resumeMovies(QWebEnginePage& page);

} // namespace zorvia::player
