#include "browser/browser_application.h"

#include "browser/web_browser.h"

namespace zorvia {

BrowserApplication::BrowserApplication(TWebBrowser* browser) : browser_(browser) {}

TWebBrowser* BrowserApplication::browser() const {
    return browser_.data();
}

} // namespace zorvia
