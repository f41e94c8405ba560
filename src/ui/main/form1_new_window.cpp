// New windows asked for by pages open as tabs of the workspace instead.
#include "browser/web_browser.h"
#include "player/movie_page.h"
#include "ui/kit/guarded.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1_workspace.h"

#include <QUrl>

#include <algorithm>

namespace zorvia {

void TForm1::WebBrowserNewWindow2(TWebBrowser* /*sender*/, BrowserApplication& ppDisp,
                                  bool& /*cancel*/) {
    // A browser without a parent is never shown; it only catches the new
    // window's first navigation and lives as long as this window.
    auto redirect = std::make_unique<TWebBrowser>();
    redirect->OnBeforeNavigate2 = ui::guarded(
        [this](TWebBrowser* sender, const BrowserApplication& pDisp, const QString& url,
               bool& cancel) { WebBrowserBeforeNavigate2(sender, pDisp, url, cancel); });
    ppDisp = redirect->Application();
    workspace_->redirectBrowsers.push_back(std::move(redirect));
}

void TForm1::WebBrowserBeforeNavigate2(TWebBrowser* sender, const BrowserApplication& /*pDisp*/,
                                       const QString& url, bool& cancel) {
    cancel = true;
    // The hidden browser has done its part once it has handed its first
    // navigation over: it goes (once this event is over) instead of living
    // as long as the window.
    auto& hidden = workspace_->redirectBrowsers;
    const auto it = std::find_if(hidden.begin(), hidden.end(),
                                 [sender](const auto& browser) { return browser.get() == sender; });
    if (it != hidden.end()) {
        it->release()->deleteLater();
        hidden.erase(it);
    }
    // A page's new window opens web pages and local games only: no other
    // local file, script or data address becomes a tab.
    const QUrl address(url);
    const bool web =
        address.scheme() == QLatin1String("http") || address.scheme() == QLatin1String("https");
    if (web || player::isLocalMovie(address))
        CreateNewTab(ui::fromQ(url));
}

} // namespace zorvia
