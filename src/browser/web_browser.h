#pragma once

#include "browser/browser_application.h"
#include "browser/html_document.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWebEngineFullScreenRequest>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QWebEngineView;
class QWebEnginePage;

namespace zorvia {

namespace browser {
class BrowserPage;
class ClientAlign;
class CrashNotice;
class FullScreenWindow;
} // namespace browser

// The embedded web browser: a widget around a web view of the shared
// profile (browser::sharedProfile()).
//
// Placement: with a parent it is a child control like any other, shown
// with its parent (created visible, as a placed control is); with
// alignClient on it fills the parent's client area and follows its size.
// Without a parent it is never shown: such a browser only serves as the
// target of new-window requests.
//
// Document model: when a page finishes loading, a script records the
// document's title, address and marker elements; Document() returns that
// record synchronously. There is no document before the first load.
// OnDocumentComplete is raised once the record has arrived.
//
// Events are plain callbacks; each gets the sending browser first. A
// handler may destroy the sender; the browser touches nothing of itself
// after calling it.
class TWebBrowser : public QWidget, private browser::DocumentView {
    Q_OBJECT

public:
    explicit TWebBrowser(QWidget* parent = nullptr);
    ~TWebBrowser() override;
    TWebBrowser(const TWebBrowser&) = delete;
    TWebBrowser& operator=(const TWebBrowser&) = delete;

    // Loads url: a web address, or a local file path. Returns at once;
    // LocationURL() reports the new address once the page has begun to
    // arrive, the previous one (or none) until then.
    void Navigate(const QString& url);
    // Reloads the current page; nothing before the first navigation. After
    // the page's renderer ended, a fresh page loads its address (page()
    // changes then).
    void Refresh();
    // The current address; empty before the first navigation.
    QString LocationURL() const;
    // The address that the last Navigate asked for, in LocationURL()'s form,
    // until its load has finished (or failed); empty otherwise.
    QString PendingURL() const { return pending_; }
    // The document of the last finished load, or none before the first.
    std::optional<HtmlDocument> Document() const;
    // The handle that names this browser as the target of a new window.
    BrowserApplication Application();

    // When silent, the browser shows no dialogs of its own (script alerts,
    // confirmations, prompts, file choosers).
    void setSilent(bool silent);
    bool Silent() const;

    // Filling the parent's client area.
    void setAlignClient(bool on);
    bool alignClient() const { return align_ != nullptr; }

    // The names of the elements recorded with each document; the default
    // comes from browser::defaultMarkerNames(). Takes effect at the next
    // finished load.
    void setMarkerNames(const QStringList& names) { markerNames_ = names; }
    QStringList markerNames() const { return markerNames_; }

    // When the page's renderer process ends abnormally (a crash, killed)
    // the page is gone and there is no document any more. The browser then
    // reloads the page by itself when reloadAfterCrash is on; otherwise it
    // shows a message with a button that reloads it (crashNoticeShown()).
    void setReloadAfterCrash(bool on) { reloadAfterCrash_ = on; }
    bool crashNoticeShown() const;

    // Full screen. A page's own request to go full screen (a movie's, where
    // its page allows it) is granted: the page shows over the whole screen.
    // showMovieFullScreen() shows the page's first Flash movie so, scaled to
    // the screen with its proportions kept; nothing happens without one.
    // Esc (or F11) leaves either, and so does leaveFullScreen().
    void showMovieFullScreen();
    void leaveFullScreen();
    bool fullScreenShown() const;

    // The widget that receives the mouse and keyboard input of the page
    // (it may change when the page's renderer is replaced).
    QWidget* inputWidget() const;
    // Whether target is a widget inside this browser at any depth (the
    // browser itself is not inside itself).
    bool isInside(const QObject* target) const;
    // Whether a Flash movie in the page has the keyboard focus.
    bool movieHasFocus() const;

    QWebEngineView* view() const { return view_; }
    QWebEnginePage* page() const;

    // OnTitleChange(sender, text): the page's title changed.
    std::function<void(TWebBrowser* sender, const QString& text)> OnTitleChange;
    // OnNewWindow2(sender, ppDisp, cancel): the page asks for a new window.
    // Setting ppDisp to another browser's Application() directs the new
    // window into that browser; leaving it empty, or setting cancel, drops
    // the request: no window appears and nothing is loaded.
    std::function<void(TWebBrowser* sender, BrowserApplication& ppDisp, bool& cancel)> OnNewWindow2;
    // OnBeforeNavigate2(sender, pDisp, url, cancel): a navigation of this
    // browser (its page or one of its frames) is about to start; setting
    // cancel stops it before anything is requested.
    std::function<void(TWebBrowser* sender, const BrowserApplication& pDisp, const QString& url,
                       bool& cancel)>
        OnBeforeNavigate2;
    // OnDocumentComplete(sender, pDisp, url): a page finished loading and
    // its document can be read. Raised once per successful load of the page
    // (frames do not raise it); a failed or stopped load raises nothing but
    // still replaces the document with what the page shows instead.
    std::function<void(TWebBrowser* sender, const BrowserApplication& pDisp, const QString& url)>
        OnDocumentComplete;

    // OnRenderProcessGone(sender): the page's renderer ended abnormally;
    // Document() is empty from now until the next load.
    std::function<void(TWebBrowser* sender)> OnRenderProcessGone;

    void setVisible(bool visible) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class CallbackScope;

    // Binds the page's handlers and signals to this browser.
    void bindPage();
    // Replaces the page by a fresh one of the same profile (its sound and
    // dialogs set alike); the view shows the new one.
    void renewPage();
    QWebEnginePage* newWindowTarget();
    bool beforeNavigate(const QUrl& url);
    void onLoadFinished(bool ok);
    void onRendererGone();
    void onFullScreenRequested(QWebEngineFullScreenRequest request);
    void openFullScreen();
    void closeFullScreen();
    void applySnapshot(const QVariant& result, quint64 load, bool complete);
    bool showsDocument(const browser::DocumentSnapshot& document) const override;
    void focusElement(const browser::DocumentSnapshot& document, const QString& name) override;

    QWebEngineView* view_ = nullptr;
    std::unique_ptr<browser::BrowserPage> page_;
    browser::ClientAlign* align_ = nullptr;
    browser::CrashNotice* crashNotice_ = nullptr;
    bool reloadAfterCrash_ = false;
    bool rendererGone_ = false;
    QPointer<browser::FullScreenWindow> fullScreen_;
    bool movieFilled_ = false;
    QStringList markerNames_;
    std::shared_ptr<const browser::DocumentSnapshot> document_;
    QString pending_;
    quint64 loadSerial_ = 0;
    int callbackDepth_ = 0;
};

} // namespace zorvia
