// New windows asked for by pages open as tabs of the workspace instead.
#include "browser/web_browser.h"
#include "ui/kit/guarded.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1_workspace.h"

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

void TForm1::WebBrowserBeforeNavigate2(TWebBrowser* /*sender*/, const BrowserApplication& /*pDisp*/,
                                       const QString& url, bool& cancel) {
    cancel = true;
    CreateNewTab(ui::fromQ(url));
}

} // namespace zorvia
