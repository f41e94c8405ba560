#pragma once

#include <functional>

class QWebEnginePage;

namespace zorvia::player {

// Pauses every Flash movie of the page (and of the frames it may reach)
// that plays; resumeMovies() plays again the movies this paused, and only
// those. Both return at once; the page does the work.
void pauseMovies(QWebEnginePage& page);
void resumeMovies(QWebEnginePage& page);

// Lays the page's first Flash movie over the whole page, scaled with its
// proportions kept (`on`), or puts it back; `done` learns whether the page
// has a movie.
void fillPageWithMovie(QWebEnginePage& page, bool on, std::function<void(bool found)> done = {});

} // namespace zorvia::player
