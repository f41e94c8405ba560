#pragma once

#include <QPointer>

namespace zorvia {

class TWebBrowser;

// The automation object of a browser: a handle that names one browser,
// handed back by the handler of a new-window request as the browser that is
// to receive the new window. Empty when default constructed, and once its
// browser is destroyed. Its functions are defined with the browser's
// (web_browser.cpp).
class BrowserApplication {
public:
    BrowserApplication() = default;
    explicit BrowserApplication(TWebBrowser* browser);

    TWebBrowser* browser() const;
    bool isNull() const { return browser() == nullptr; }
    friend bool operator==(const BrowserApplication& a, const BrowserApplication& b) {
        return a.browser() == b.browser();
    }

private:
    QPointer<TWebBrowser> browser_;
};

} // namespace zorvia
