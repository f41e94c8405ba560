#include "ui/main/workspace_sound.h"

#include "browser/web_browser.h"
#include "player/movie_control.h"
#include "ui/kit/page_control.h"

#include <QEvent>
#include <QWebEnginePage>

namespace zorvia {

WorkspaceSound::WorkspaceSound(QWidget* window, ui::TPageControl* tabs)
    : QObject(window), window_(window), tabs_(tabs) {
    window_->installEventFilter(this);
    connect(tabs_, &ui::TPageControl::activePageChanged, this, &WorkspaceSound::update);
    quiet_ = !window_->isVisible() || window_->isMinimized();
}

void WorkspaceSound::update() {
    const bool quiet = !window_->isVisible() || window_->isMinimized();
    const ui::TTabSheet* active = tabs_->activePage();
    const QList<TWebBrowser*> browsers = window_->findChildren<TWebBrowser*>();
    for (TWebBrowser* browser : browsers) {
        const auto* sheet = qobject_cast<const ui::TTabSheet*>(browser->parentWidget());
        const bool tab = sheet && tabs_->indexOf(sheet) >= 0;
        browser->page()->setAudioMuted(quiet || (tab && sheet != active));
    }
    if (quiet == quiet_)
        return;
    quiet_ = quiet;
    for (TWebBrowser* browser : browsers) {
        if (quiet) {
            // Nothing of the window stays on screen either.
            browser->leaveFullScreen();
            player::pauseMovies(*browser->page());
        } else {
            player::resumeMovies(*browser->page());
        }
    }
    if (!quiet)
        emit restored();
}

bool WorkspaceSound::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            // The window's state settles once the event has been handled.
            QMetaObject::invokeMethod(this, &WorkspaceSound::update, Qt::QueuedConnection);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zorvia
