#pragma once

#include "browser/web_browser.h"
#include "support/qt_print.h"
#include "support/test_http_server.h"

#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <memory>

class QWebEnginePage;

namespace zorvia::test {

// Time limit for one page load or one awaited browser event.
constexpr int kLoadTimeoutMs = 20000;
// Time limit for the Flash player to start and draw (it compiles its
// WebAssembly module first).
constexpr int kPlayerTimeoutMs = 90000;

// Records the events of one browser.
struct BrowserEvents {
    QStringList titles;
    QStringList completedUrls;
    QList<TWebBrowser*> senders;

    explicit BrowserEvents(TWebBrowser& browser);
};

// Navigates and waits for the document-complete event of that load.
bool navigateAndWait(TWebBrowser& browser, BrowserEvents& events, const QString& url);

// Waits until the browser holds the document loaded from `url`.
bool waitForDocumentAt(const TWebBrowser& browser, const QString& url);
// Runs a script in the page's main world and waits for its result.
QVariant evaluate(TWebBrowser& browser, const QString& script);
// The same in the given world of any page.
QVariant evaluate(QWebEnginePage& page, const QString& script, quint32 worldId);
// Runs a script of the page within a click of the user: a left click on the
// browser lands on a cover over the page whose click handler runs it.
void runInClick(TWebBrowser& browser, const QString& script);
// What an XMLHttpRequest of the page for url comes to: the reply's content
// type, "status <n>" for another status, or "failed".
QString requestOutcome(TWebBrowser& browser, const QString& url);

// Proves that the moment for a request to `server` has passed: the page in
// `browser` changes its title, and once the browser process has reported
// that (having handled the new windows and navigations the page asked for
// before), asks the server for "/later"; this waits until that request has
// arrived. The "/later" request is recorded like any.
bool laterRequestArrived(TWebBrowser& browser, TestHttpServer& server);

// Whether the picture inside rect of widget moves: grabs a second apart
// differ while something is drawn there (neither grab of one colour).
// Waits at most timeoutMs for that.
bool framesAdvance(QWidget& widget, const QRect& rect, int timeoutMs = kPlayerTimeoutMs);

// The colour at point of a grab of widget.
QRgb grabPixel(QWidget& widget, const QPoint& point);

// Waits until the pixel at point of widget is within `tolerance` of
// `colour` in each channel.
bool waitForColour(QWidget& widget, const QPoint& point, QRgb colour, int tolerance = 8,
                   int timeoutMs = kLoadTimeoutMs);

// Writes a test movie with the portal's SWF writer (write_movie.php): 320×240
// on #203040, a white square crossing it, a sine tone of `hz` that plays on.
bool writeToneMovie(int hz, const QString& file);

// The visible top-level widgets of the application.
QList<QWidget*> visibleWindows();

} // namespace zorvia::test
