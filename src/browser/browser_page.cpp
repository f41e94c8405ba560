#include "browser/browser_page.h"

#include "browser/profile_scripts.h"

#include <QWebEngineCertificateError>
#include <QWebEngineSettings>

namespace zorvia::browser {

BrowserPage::BrowserPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(this, &QWebEnginePage::loadStarted, this, [this] { movieFocus_.clear(); });
    // Scripts of the profile reach a renderer started again after a loss
    // only as the pages' own.
    adoptProfileScripts(*this);
    // A movie may ask for the whole screen where its page allows it; the
    // owner of the page decides (fullScreenRequested).
    settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    connect(this, &QWebEnginePage::renderProcessTerminated, this,
            [this](RenderProcessTerminationStatus status, int) {
                if (status != NormalTerminationStatus)
                    moveProfileScriptsToPages(*this);
            });
}

QWebEnginePage* BrowserPage::createWindow(WebWindowType type) {
    return onNewWindow_ ? onNewWindow_(type) : nullptr;
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (onNavigation_ && !onNavigation_(url, isMainFrame))
        return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

void BrowserPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg) {
    if (!silent_)
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

bool BrowserPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) {
    return !silent_ && QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool BrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                   const QString& defaultValue, QString* result) {
    return !silent_ && QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

QStringList BrowserPage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                     const QStringList& acceptedMimeTypes) {
    if (silent_)
        return {};
    return QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString& message, int lineNumber,
                                           const QString& sourceID) {
    if (!movieFocus_.take(message))
        QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}

} // namespace zorvia::browser
