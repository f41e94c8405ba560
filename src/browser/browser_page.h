#pragma once

#include "player/movie_focus.h"

#include <QWebEnginePage>

#include <functional>

namespace zorvia::browser {

// The page behind a TWebBrowser. It hands new-window requests and
// navigation requests to its owner and, when silent, shows no dialog of its
// own: script alerts are dropped, confirmations answer "cancel", prompts are
// cancelled, file choosers choose nothing. Certificate errors are always
// refused without asking. It keeps track of whether a Flash movie of the
// page has the keyboard focus (movie_focus.h).
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    // Answers a new-window request with the page that is to receive the new
    // window, or nullptr to drop the request.
    using NewWindowHandler = std::function<QWebEnginePage*(WebWindowType type)>;
    // Decides on a navigation: true lets it go ahead.
    using NavigationHandler = std::function<bool(const QUrl& url, bool isMainFrame)>;

    BrowserPage(QWebEngineProfile* profile, QObject* parent);

    void setSilent(bool silent) { silent_ = silent; }
    bool isSilent() const { return silent_; }
    void setNewWindowHandler(NewWindowHandler handler) { onNewWindow_ = std::move(handler); }
    void setNavigationHandler(NavigationHandler handler) { onNavigation_ = std::move(handler); }
    // Whether a Flash movie in the page or one of its frames has the
    // keyboard focus.
    bool movieHasFocus() const { return movieFocus_.active(); }

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    bool silent_ = false;
    NewWindowHandler onNewWindow_;
    NavigationHandler onNavigation_;
    player::MovieFocus movieFocus_;
};

} // namespace zorvia::browser
