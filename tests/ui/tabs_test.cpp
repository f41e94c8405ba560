// The tab manager of the main window against pages served on 127.0.0.1.
#include "ui/kit/page_control.h"
#include "ui/main/page_children.h"
#include "ui/workspace_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QWebEnginePage>

#include "browser/web_browser.h"
#include "support/find_child.h"
#include <gtest/gtest.h>

using zorvia::test::child;

namespace zorvia::test {
namespace {

TEST(TabManager, NewTabShowsLoadingThenFollowsTheTitle) {
    Workspace ws;
    ws.setGameButtons("111");
    ws.form().CreateNewTab(ws.url("/long").toStdString());

    ASSERT_EQ(ws.pageCount(), 2);
    EXPECT_EQ(ws.activeIndex(), 1);
    EXPECT_EQ(ws.page(1)->caption(), QStringLiteral("加载中..."));
    // Only the favourite button keeps its state when a page is added.
    EXPECT_EQ(ws.gameButtons(), "100");
    const QList<QWidget*> children = ui::childControls(ws.page(1));
    ASSERT_EQ(children.size(), 1);
    TWebBrowser* browser = ws.browser(1);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->Silent());
    EXPECT_TRUE(browser->alignClient());
    EXPECT_EQ(browser->geometry(), ws.page(1)->rect());

    ASSERT_TRUE(Workspace::waitForDocument(browser, ws.url("/long")));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ws.page(1)->caption() == QStringLiteral("一二三四五六七八九十甲..."); },
        kLoadTimeoutMs));
    // Its tooltip holds the whole title.
    const auto* tabs = ws.form().findChild<ui::TPageControl*>(QStringLiteral("PageControl2"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabStrip()->tabToolTip(1), browser->page()->title());
    EXPECT_GT(browser->page()->title().size(), 11);

    // The start tab's browser reports its titles too.
    ASSERT_TRUE(ws.load(child<TWebBrowser>(ws.form(), "WebBrowser1"), "/a"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ws.page(0)->caption() == "A"; }, kLoadTimeoutMs));
}

TEST(TabManager, AnAddressIsMatchedExactlyAgainstEveryTabFromTheFirst) {
    Workspace ws;
    ASSERT_TRUE(ws.load(child<TWebBrowser>(ws.form(), "WebBrowser1"), "/a"));
    ASSERT_TRUE(ws.openTab("/b"));
    ws.setGameButtons("111");
    QSignalSpy changes(child<ui::TPageControl>(ws.form(), "PageControl2"),
                       &ui::TPageControl::changed);

    // The start tab's own address activates it: nothing else changes.
    ws.form().CreateNewTab(ws.url("/a").toStdString());
    EXPECT_EQ(ws.pageCount(), 2);
    EXPECT_EQ(ws.activeIndex(), 0);
    EXPECT_EQ(ws.gameButtons(), "111");
    ws.form().CreateNewTab(ws.url("/b").toStdString());
    EXPECT_EQ(ws.pageCount(), 2);
    EXPECT_EQ(ws.activeIndex(), 1);
    EXPECT_EQ(changes.count(), 0);

    // Any difference from a reported location opens a page of its own.
    const QString base = ws.url("");
    const QString near[] = {base + "/A", base + "/b/", base.toUpper() + "/b", base + "//b",
                            base + "/b?"};
    int expected = 2;
    for (const QString& address : near) {
        SCOPED_TRACE(address.toStdString());
        ws.form().CreateNewTab(address.toStdString());
        EXPECT_EQ(ws.pageCount(), ++expected);
        EXPECT_EQ(ws.activeIndex(), expected - 1);
    }
}

TEST(TabManager, TheSameAddressTwiceWhileItLoadsOpensOneTab) {
    Workspace ws;
    const std::string address = ws.url("/b").toStdString();
    ws.form().CreateNewTab(address);
    // Right after Navigate the new browser reports no location yet, but the
    // address it is loading counts.
    EXPECT_TRUE(ws.browser(1)->LocationURL().isEmpty());
    ws.form().CreateNewTab(address);
    EXPECT_EQ(ws.pageCount(), 2);
    EXPECT_EQ(ws.activeIndex(), 1);
    ASSERT_TRUE(Workspace::waitForDocument(ws.browser(1), ws.url("/b")));

    // Once known, the tab showing the address is the one activated.
    child<ui::TPageControl>(&ws.form(), "PageControl2")->setActivePageIndex(0);
    ws.form().CreateNewTab(address);
    EXPECT_EQ(ws.pageCount(), 2);
    EXPECT_EQ(ws.activeIndex(), 1);
}

TEST(TabManager, ClosingATabActivatesTheNextOrTheFirstAndProbesIt) {
    // Tabs: start (game1), a, game2, c. Each case closes the tab at `close`.
    const struct {
        const char* label;
        int close;
        QString before;
        int pagesAfter;
        int activeAfter;
        QString buttonsAfter;
    } cases[] = {
        {"start tab is never closed", 0, "010", 4, 0, "010"},
        {"middle tab: the next one, a game page", 1, "000", 3, 1, "111"},
        {"middle tab: the next one, not a game", 2, "111", 3, 2, "000"},
        {"last tab: the start tab, a game page", 3, "000", 3, 0, "111"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Workspace ws;
        ASSERT_TRUE(ws.load(child<TWebBrowser>(ws.form(), "WebBrowser1"), "/game1"));
        for (const char* path : {"/a", "/game2", "/c"})
            ASSERT_TRUE(ws.openTab(path));
        child<ui::TPageControl>(ws.form(), "PageControl2")->setActivePageIndex(c.close);
        QPointer<ui::TTabSheet> closed = ws.page(c.close);
        QPointer<TWebBrowser> browser = ws.browser(c.close);
        ws.setGameButtons(c.before);

        child<QPushButton>(ws.form(), "Button_closeTab")->click();

        EXPECT_EQ(ws.pageCount(), c.pagesAfter);
        EXPECT_EQ(ws.activeIndex(), c.activeAfter);
        EXPECT_EQ(ws.gameButtons(), c.buttonsAfter);
        EXPECT_EQ(closed.isNull(), c.close != 0);
        EXPECT_EQ(browser.isNull(), c.close != 0);
        EXPECT_TRUE(child<ui::TPageControl>(ws.form(), "PageControl2")->activePage()->isVisible());
    }
}

TEST(TabManager, CloseAllLeavesTheStartTabAndKeepsTheGameButtons) {
    Workspace ws;
    ASSERT_TRUE(ws.load(child<TWebBrowser>(ws.form(), "WebBrowser1"), "/a"));
    ASSERT_TRUE(ws.openTab("/game1"));
    ASSERT_EQ(ws.gameButtons(), "111");
    ASSERT_TRUE(ws.openTab("/b"));
    ASSERT_EQ(ws.gameButtons(), "100");
    child<QPushButton>(ws.form(), "Button_down")->setEnabled(true);
    QPointer<TWebBrowser> gameBrowser = ws.browser(1);

    child<QPushButton>(ws.form(), "Button_closeAll")->click();

    EXPECT_EQ(ws.pageCount(), 1);
    EXPECT_EQ(ws.activeIndex(), 0);
    EXPECT_EQ(ws.page(0), child<ui::TTabSheet>(ws.form(), "TabSheet_Main"));
    EXPECT_TRUE(child<ui::TTabSheet>(ws.form(), "TabSheet_Main")->isVisible());
    EXPECT_TRUE(gameBrowser.isNull());
    EXPECT_EQ(ws.gameButtons(), "110");
}

TEST(TabManager, UserSelectionRaisesTheChangeAndTheProgramsOwnChangesDoNot) {
    Workspace ws;
    TForm1& form = ws.form();
    ASSERT_TRUE(ws.load(child<TWebBrowser>(form, "WebBrowser1"), "/game1"));
    ASSERT_TRUE(ws.openTab("/a"));
    ASSERT_TRUE(ws.openTab("/b"));
    QSignalSpy changes(child<ui::TPageControl>(form, "PageControl2"), &ui::TPageControl::changed);

    // The program's own changes: a duplicate address, a new tab, close all.
    form.CreateNewTab(ws.url("/a").toStdString());
    form.CreateNewTab(ws.url("/c").toStdString());
    ASSERT_TRUE(Workspace::waitForDocument(ws.browser(3), ws.url("/c")));
    child<ui::TPageControl>(form, "PageControl2")->setActivePageIndex(0);
    EXPECT_EQ(changes.count(), 0);

    // Keyboard: Ctrl+Tab and Ctrl+Shift+Tab from inside the page wrap round.
    const struct {
        QStringList keys;
        int from;
        int to;
        QString buttons;
    } steps[] = {
        {{"ctrl+Tab"}, 0, 1, "000"},
        {{"ctrl+Tab"}, 3, 0, "111"},
        {{"ctrl+shift+Tab"}, 0, 3, "000"},
        {{"ctrl+shift+Tab"}, 2, 1, "000"},
        {{"ctrl+Tab", "ctrl+Tab"}, 1, 3, "000"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.keys.join(' ').toStdString());
        child<ui::TPageControl>(form, "PageControl2")->setActivePageIndex(step.from);
        ws.setGameButtons(step.buttons == "111" ? "000" : "111");
        changes.clear();
        ASSERT_TRUE(focusInside(&form, ws.browser(step.from)->inputWidget()));
        ASSERT_TRUE(xKeys(step.keys));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return changes.count() >= step.keys.size(); }, kLoadTimeoutMs));
        EXPECT_EQ(ws.activeIndex(), step.to);
        EXPECT_EQ(changes.count(), step.keys.size());
        EXPECT_EQ(ws.gameButtons(), step.buttons);
    }

    // Ctrl+Tab outside the tab control changes nothing: the letter typed
    // after it arrives in the search box, and the tab is still the same.
    child<ui::TPageControl>(form, "PageControl2")->setActivePageIndex(1);
    changes.clear();
    auto* edit = child<QLineEdit>(form, "Edit_key");
    edit->clear();
    ASSERT_TRUE(focusInside(&form, edit));
    ASSERT_TRUE(xKeys({"ctrl+Tab", "x"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit->text() == "x"; }, kLoadTimeoutMs));
    EXPECT_EQ(ws.activeIndex(), 1);
    EXPECT_EQ(changes.count(), 0);

    // Mouse on the tab strip.
    ui::TTabStrip* strip = child<ui::TPageControl>(form, "PageControl2")->tabStrip();
    ws.setGameButtons("000");
    ASSERT_TRUE(xClick(strip, strip->tabRect(0).center(), 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes.count() > 0; }, kLoadTimeoutMs));
    EXPECT_EQ(ws.activeIndex(), 0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(ws.gameButtons(), "111");
}

} // namespace
} // namespace zorvia::test
