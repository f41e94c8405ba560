#pragma once

class QWebEnginePage;
class QWidget;

namespace zorvia::browser {

// Gives the keyboard back to the Flash movie that had it: when the page's
// focused element (in the page or a frame it may reach) is a movie, the
// page's view takes the keyboard focus and the page hands it to that movie again.
// Returns at once; nothing happens when the view is gone by then.
void refocusMovie(QWebEnginePage& page, QWidget& view);

} // namespace zorvia::browser
