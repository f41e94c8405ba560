#pragma once

#include <QString>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUrl>

class QWebEngineProfile;
class QWebEngineView;

namespace zorvia::bench {

// The anchor beside the game box: plain web views in a QTabWidget, one per
// page, of a profile of their own that serves the game box's player files
// from the same scheme with the same handler (QFile replies). A short
// script of the profile loads the player into pages with Flash content and
// fetches the player's parts and local movies by XHR, as the web engine
// refuses fetch() for them.
class PlainTabs : public QTabWidget {
public:
    PlainTabs();
    ~PlainTabs() override;

    // Adds a tab with a new view, makes it current and loads url into it.
    QWebEngineView* open(const QUrl& url);
    QWebEngineView* currentView() const;

private:
    QTemporaryDir storage_;
    QWebEngineProfile* profile_ = nullptr;
};

} // namespace zorvia::bench
