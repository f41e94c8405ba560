// Full screen of a TWebBrowser: a page's own request, and the page's movie
// shown over the whole screen on the user's command.
#include "browser/browser_page.h"
#include "browser/full_screen_window.h"
#include "browser/web_browser.h"
#include "player/movie_control.h"

#include <QWebEngineView>

namespace zorvia {

bool TWebBrowser::fullScreenShown() const {
    return fullScreen_ != nullptr;
}

void TWebBrowser::onFullScreenRequested(QWebEngineFullScreenRequest request) {
    request.accept();
    if (request.toggleOn())
        openFullScreen();
    else
        closeFullScreen();
}

void TWebBrowser::showMovieFullScreen() {
    if (fullScreen_ || !view_->isVisible())
        return;
    QPointer<TWebBrowser> self(this);
    QPointer<QWebEnginePage> page(page_.get());
    player::fillPageWithMovie(*page_, true, [self, page](bool found) {
        if (!self || page != self->page() || !found)
            return;
        self->movieFilled_ = true;
        self->openFullScreen();
    });
}

void TWebBrowser::leaveFullScreen() {
    if (!fullScreen_)
        return;
    // The page leaves its own full screen too; its answer then finds the
    // window gone.
    page_->triggerAction(QWebEnginePage::ExitFullScreen);
    closeFullScreen();
}

void TWebBrowser::openFullScreen() {
    if (fullScreen_)
        return;
    fullScreen_ =
        new browser::FullScreenWindow(page_.get(), screen(), [this] { leaveFullScreen(); });
}

void TWebBrowser::closeFullScreen() {
    if (movieFilled_) {
        movieFilled_ = false;
        player::fillPageWithMovie(*page_, false);
    }
    if (!fullScreen_)
        return;
    browser::FullScreenWindow* window = fullScreen_;
    fullScreen_ = nullptr;
    window->hide();
    view_->setPage(page_.get());
    window->deleteLater();
    if (window->isActiveWindow() || this->window()->isVisible())
        this->window()->activateWindow();
    view_->setFocus(Qt::OtherFocusReason);
}

} // namespace zorvia
