// Game-page probes: the game buttons and the help strip.
#include "browser/web_browser.h"
#include "ui/main/form1.h"

#include <QPushButton>

namespace zorvia {

void TForm1::probeGamePage(const TWebBrowser* browser) {
    if (!browser)
        return;
    if (!GetPageElement(browser->Document(), QStringLiteral("swfurl")))
        return;
    Button_favor->setEnabled(true);
    Button_down->setEnabled(true);
    Button_help->setEnabled(true);
}

void TForm1::WebBrowserDocumentComplete(TWebBrowser* sender, const BrowserApplication& /*pDisp*/,
                                        const QString& /*url*/) {
    probeGamePage(sender);
}

} // namespace zorvia
