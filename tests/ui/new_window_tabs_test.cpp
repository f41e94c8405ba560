// Pages asking for new windows get tabs of the workspace instead.
#include "ui/kit/page_control.h"
#include "ui/workspace_fixture.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "browser/web_browser.h"
#include "support/find_child.h"
#include <functional>

using zorvia::test::child;

namespace zorvia::test {
namespace {

enum class Place { StartTab, Tab, LoginPanel };

// Loads the opener page (path) in the place and returns its browser.
TWebBrowser* opener(Workspace& ws, Place place, const QString& path) {
    TForm1& form = ws.form();
    switch (place) {
    case Place::StartTab:
        return ws.load(child<TWebBrowser>(form, "WebBrowser1"), path)
                   ? child<TWebBrowser>(form, "WebBrowser1")
                   : nullptr;
    case Place::Tab:
        return ws.openTab(path) ? form.activeBrowser() : nullptr;
    case Place::LoginPanel:
        return ws.load(child<TWebBrowser>(form, "WebBrowser3"), path)
                   ? child<TWebBrowser>(form, "WebBrowser3")
                   : nullptr;
    }
    return nullptr;
}

TEST(NewWindowTabs, NewWindowRequestsOpenTabsFromEveryPlace) {
    const QString link = "document.getElementById('link').click()";
    const struct {
        const char* label;
        Place place;
        QString script;
        QString opened;
    } cases[] = {
        {"link in the start tab", Place::StartTab, link, "/b"},
        {"link in a tab", Place::Tab, link, "/b"},
        {"link in the login panel", Place::LoginPanel, link, "/b"},
        {"script in a tab", Place::Tab, "window.open('/a?x=1', 'w', 'width=200')", "/a?x=1"},
        {"script in the login panel", Place::LoginPanel, "window.open('/a?x=2')", "/a?x=2"},
        // A posted form arrives as a plain request for its address.
        {"form posted into a new window", Place::StartTab,
         "document.getElementById('form').submit()", "/c"},
    };
    Workspace ws;
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        // Each round loads its opener at an address of its own.
        const QString openerPath = QStringLiteral("/opener?round=%1").arg(++round);
        child<QPushButton>(ws.form(), "Button_closeAll")->click();
        TWebBrowser* source = opener(ws, c.place, openerPath);
        ASSERT_NE(source, nullptr);
        const int pagesBefore = ws.pageCount();
        ws.server().clearRequests();

        runInClick(*source, c.script);

        ASSERT_TRUE(
            QTest::qWaitFor([&] { return ws.pageCount() == pagesBefore + 1; }, kLoadTimeoutMs));
        EXPECT_EQ(ws.activeIndex(), pagesBefore);
        EXPECT_TRUE(Workspace::waitForDocument(ws.browser(pagesBefore), ws.url(c.opened)));
        ASSERT_TRUE(laterRequestArrived(*source, ws.server()));
        ASSERT_EQ(ws.server().requests().size(), 2); // the page and "/later"
        EXPECT_EQ(ws.server().requests().front().method, "GET");
        // The hidden browser goes once it has handed the address over.
        EXPECT_EQ(ws.form().redirectBrowserCount(), 0u);
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{&ws.form()});
        EXPECT_EQ(source->LocationURL(), ws.url(openerPath));
    }
}

TEST(NewWindowTabs, ARequestForAnAddressATabShowsActivatesThatTab) {
    Workspace ws;
    ASSERT_TRUE(ws.load(child<TWebBrowser>(ws.form(), "WebBrowser1"), "/opener"));
    ASSERT_TRUE(ws.openTab("/b"));
    ASSERT_TRUE(ws.openTab("/c"));
    child<ui::TPageControl>(ws.form(), "PageControl2")->setActivePageIndex(0);
    ws.server().clearRequests();

    runInClick(*child<TWebBrowser>(ws.form(), "WebBrowser1"),
               "document.getElementById('link').click()");

    EXPECT_TRUE(QTest::qWaitFor([&] { return ws.activeIndex() == 1; }, kLoadTimeoutMs));
    ASSERT_TRUE(laterRequestArrived(*child<TWebBrowser>(ws.form(), "WebBrowser1"), ws.server()));
    EXPECT_EQ(ws.pageCount(), 3);
    EXPECT_EQ(ws.server().requests().size(), 1); // "/later" only
    EXPECT_EQ(ws.form().redirectBrowserCount(), 0u);
}

// Without a click a page opens nothing, however often it asks; within one
// it opens one tab, even for a burst of requests for one address while that
// tab still loads.
TEST(NewWindowTabs, PagesOpenTabsOnlyWithinAClickAndOnlyOnce) {
    const QString burst = "for (let i = 0; i < 300; ++i) window.open('/b')";
    const struct {
        const char* label;
        bool click;
        int opened;
    } cases[] = {{"without a click", false, 0}, {"within a click", true, 1}};
    Workspace ws;
    TWebBrowser* start = child<TWebBrowser>(ws.form(), "WebBrowser1");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        child<QPushButton>(ws.form(), "Button_closeAll")->click();
        ASSERT_TRUE(ws.load(start, QStringLiteral("/opener?%1").arg(c.click)));
        if (c.click)
            runInClick(*start, burst);
        else
            evaluate(*start, burst + "; 0");
        ASSERT_TRUE(laterRequestArrived(*start, ws.server()));
        if (c.opened > 0)
            EXPECT_TRUE(Workspace::waitForDocument(ws.browser(1), ws.url("/b")));
        EXPECT_EQ(ws.pageCount(), 1 + c.opened);
        EXPECT_EQ(ws.form().redirectBrowserCount(), 0u);
    }
}

} // namespace
} // namespace zorvia::test
