#pragma once

#include "browser/web_browser.h"
#include "ui/main/form1.h"

#include <memory>
#include <vector>

namespace zorvia {

// The browser workspace's own state and helpers (form1_tabs.cpp,
// form1_new_window.cpp, form1_help.cpp).
struct TForm1::Workspace {
    explicit Workspace(TForm1& owner) : form(owner) {}

    // Binds a tab browser's title, new-window and document events.
    void bindBrowserEvents(TWebBrowser* browser);
    // Enables the game buttons when the browser shows a game page.
    void probeGamePage(const TWebBrowser* browser);
    // Gives the keyboard back to the active tab's movie if it had it.
    void refocusActiveMovie();

    TForm1& form;
    // The hidden browsers that received new-window requests.
    std::vector<std::unique_ptr<TWebBrowser>> redirectBrowsers;
};

} // namespace zorvia
