#pragma once

#include <QSet>
#include <QString>

class QWebEngineProfile;

namespace zorvia::player {

// Gives every page and frame of the profile the script that reports whether
// a Flash movie has the keyboard focus (see movie_focus.js).
void installMovieFocusReports(QWebEngineProfile& profile);

// The frames of one page whose Flash movie has the keyboard focus, as their
// reports tell.
class MovieFocus {
public:
    // Takes a console message of the page: true when it was a focus report
    // carrying this process's token (it is then no message of the page's).
    bool take(const QString& message);
    // A new document: no frame of the old one reports any more.
    void clear() { frames_.clear(); }
    bool active() const { return !frames_.isEmpty(); }

private:
    QSet<QString> frames_;
};

// The token that marks focus reports; random for each run of the process,
// and out of reach of the pages' own scripts.
const QString& movieFocusToken();

} // namespace zorvia::player
