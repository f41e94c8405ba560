// Pages asking for new windows get tabs of the workspace instead.
#include "ui/kit/page_control.h"
#include "ui/workspace_fixture.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace zorvia::test {
namespace {

enum class Place { StartTab, Tab, LoginPanel };

// Loads /opener in the place and returns its browser.
TWebBrowser* opener(Workspace& ws, Place place) {
    TForm1& form = ws.form();
    switch (place) {
    case Place::StartTab:
        return ws.load(form.WebBrowser1, "/opener") ? form.WebBrowser1 : nullptr;
    case Place::Tab:
        return ws.openTab("/opener") ? form.activeBrowser() : nullptr;
    case Place::LoginPanel:
        return ws.load(form.WebBrowser3, "/opener") ? form.WebBrowser3 : nullptr;
    }
    return nullptr;
}

TEST(NewWindowTabs, NewWindowRequestsOpenTabsFromEveryPlace) {
    const struct {
        const char* label;
        Place place;
        QString script;
        QString opened;
    } cases[] = {
        {"link in the start tab", Place::StartTab, "document.getElementById('link').click()", "/b"},
        {"link in a tab", Place::Tab, "document.getElementById('link').click()", "/b"},
        {"link in the login panel", Place::LoginPanel, "document.getElementById('link').click()",
         "/b"},
        {"script in a tab", Place::Tab, "window.open('/a?x=1', 'w', 'width=200')", "/a?x=1"},
        {"script in the login panel", Place::LoginPanel, "window.open('/a?x=2')", "/a?x=2"},
        // A posted form arrives as a plain request for its address.
        {"form posted into a new window", Place::StartTab,
         "document.getElementById('form').submit()", "/c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Workspace ws;
        TWebBrowser* source = opener(ws, c.place);
        ASSERT_NE(source, nullptr);
        const int pagesBefore = ws.pageCount();
        ws.server().clearRequests();

        evaluate(*source, c.script + "; 0");

        ASSERT_TRUE(
            QTest::qWaitFor([&] { return ws.pageCount() == pagesBefore + 1; }, kLoadTimeoutMs));
        EXPECT_EQ(ws.activeIndex(), pagesBefore);
        EXPECT_TRUE(Workspace::waitForDocument(ws.form().activeBrowser(), ws.url(c.opened)));
        spin(kQuietPeriodMs);
        EXPECT_EQ(ws.server().requests().size(), 1);
        for (const HttpRequest& request : ws.server().requests())
            EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(ws.form().redirectBrowserCount(), 1u);
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{&ws.form()});
        EXPECT_EQ(source->LocationURL(), ws.url("/opener"));
    }
}

TEST(NewWindowTabs, ARequestForAnAddressATabShowsActivatesThatTab) {
    Workspace ws;
    ASSERT_TRUE(ws.load(ws.form().WebBrowser1, "/opener"));
    ASSERT_TRUE(ws.openTab("/b"));
    ASSERT_TRUE(ws.openTab("/c"));
    ws.form().PageControl2->setActivePageIndex(0);
    ws.server().clearRequests();

    evaluate(*ws.form().WebBrowser1, "document.getElementById('link').click(); 0");

    EXPECT_TRUE(QTest::qWaitFor([&] { return ws.activeIndex() == 1; }, kLoadTimeoutMs));
    spin(kQuietPeriodMs);
    EXPECT_EQ(ws.pageCount(), 3);
    EXPECT_EQ(ws.server().requests().size(), 0);
    // Its hidden browser stays, idle, until the window goes.
    EXPECT_EQ(ws.form().redirectBrowserCount(), 1u);
}

} // namespace
} // namespace zorvia::test
