#pragma once

class QWebEngineView;

namespace zorvia::browser {

// Gives the keyboard back to the Flash movie that had it: when the page's
// focused element (in the page or a frame it may reach) is a movie, the
// view takes the keyboard focus and the page hands it to that movie again.
// Returns at once; nothing happens when the view is gone by then.
void refocusMovie(QWebEngineView& view);

} // namespace zorvia::browser
