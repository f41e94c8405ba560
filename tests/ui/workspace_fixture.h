#pragma once

#include "support/browser_test_support.h"
#include "ui/main/form1.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>

namespace zorvia::ui {
class TTabSheet;
}

namespace zorvia::test {

// Pages of the workspace tests, served on 127.0.0.1:
//   /a /b /c        plain pages titled A, B, C
//   /game1 /game2   game pages: "swfurl" and "swfhelp" (the first with markup)
//   /nohelp         a game page without "swfhelp"
//   /opener         new-window requests: a link, window.open, a posted form
//   /input          a text field that records key and mouse events
//   /long           a page titled with 12 Chinese characters
void addWorkspacePages(TestHttpServer& server);
extern const QString kGame1Help;
extern const QString kGame2Help;

// The main window (without its start-up) shown and active, with the
// workspace pages on a local server.
class Workspace {
public:
    Workspace();
    ~Workspace();

    TForm1& form() { return *form_; }
    TestHttpServer& server() { return server_; }
    QString url(const QString& path) const { return server_.url(path); }

    int pageCount() const;
    ui::TTabSheet* page(int index) const;
    TWebBrowser* browser(int index) const;
    int activeIndex() const;

    // Opens url in a tab and waits until the active tab's document is url.
    bool openTab(const QString& path);
    // Loads path into WebBrowser1 (or another browser) and waits for it.
    bool load(TWebBrowser* browser, const QString& path);
    // Waits until browser's finished document shows url.
    static bool waitForDocument(TWebBrowser* browser, const QString& url);

    // The enabled states of Button_favor, Button_down, Button_help.
    QString gameButtons() const; // e.g. "110"
    void setGameButtons(const QString& states);

private:
    TestHttpServer server_;
    std::unique_ptr<TForm1> form_;
};

// Real input through the X server (xdotool), as a user would give it.
bool xClick(const QWidget* widget, QPoint pos, int button, int count = 1);
bool xKeys(const QStringList& keys);
// Gives the window the input focus and the widget the keyboard focus.
bool focusInside(QWidget* window, QWidget* widget);

} // namespace zorvia::test
