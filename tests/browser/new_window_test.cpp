#include "browser/browser_test_support.h"

#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zorvia::test {
namespace {

// A page that asks for new windows in the two usual ways.
const QString kOpenerPage =
    QStringLiteral("<!doctype html><title>opener</title><body style='margin:0'>"
                   "<a id='link' href='/popup?via=link' target='_blank' "
                   "   style='display:block;width:300px;height:100px;background:#ccc'>open</a>"
                   "</body>");

enum class Trigger { ScriptLinkClick, MouseLinkClick, WindowOpen };

struct TriggerCase {
    const char* label;
    Trigger trigger;
    QString expectedUrlPath;
};

void fire(TWebBrowser& opener, Trigger trigger) {
    switch (trigger) {
    case Trigger::ScriptLinkClick:
        evaluate(opener, "document.getElementById('link').click()");
        break;
    case Trigger::MouseLinkClick:
        QTest::mouseClick(opener.inputWidget(), Qt::LeftButton, {}, QPoint(50, 50));
        break;
    case Trigger::WindowOpen:
        evaluate(opener, "window.open('/popup?via=script', 'named', 'width=300'); 0");
        break;
    }
}

// The redirection the main window makes: a hidden browser receives the new
// window, its navigation is cancelled and the address opened as a tab.
struct Redirector {
    QWidget* tabParent;
    std::vector<std::unique_ptr<TWebBrowser>> hidden;
    std::vector<TWebBrowser*> tabs;
    QStringList redirected;

    void attach(TWebBrowser& opener) {
        opener.OnNewWindow2 = [this](TWebBrowser*, BrowserApplication& ppDisp, bool&) {
            auto browser = std::make_unique<TWebBrowser>();
            browser->OnBeforeNavigate2 = [this](TWebBrowser*, const BrowserApplication&,
                                                const QString& url, bool& cancel) {
                cancel = true;
                redirected.append(url);
                auto* tab = new TWebBrowser(tabParent);
                tab->Navigate(url);
                tabs.push_back(tab);
            };
            ppDisp = browser->Application();
            hidden.push_back(std::move(browser));
        };
    }
};

TEST(NewWindowTest, NewWindowsAreRedirectedWithoutRequestOrWindow) {
    const TriggerCase cases[] = {
        {"link clicked by script", Trigger::ScriptLinkClick, QStringLiteral("/popup?via=link")},
        {"link clicked with the mouse", Trigger::MouseLinkClick, QStringLiteral("/popup?via=link")},
        {"window.open", Trigger::WindowOpen, QStringLiteral("/popup?via=script")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TestHttpServer server;
        server.page("/opener", kOpenerPage);
        server.page("/popup", "<!doctype html><title>popup</title>");
        QWidget window;
        window.resize(400, 300);
        auto* opener = new TWebBrowser(&window);
        opener->setAlignClient(true);
        QWidget tabArea;
        Redirector redirector{&tabArea, {}, {}, {}};
        redirector.attach(*opener);
        window.show();
        BrowserEvents events(*opener);
        ASSERT_TRUE(navigateAndWait(*opener, events, server.url("/opener")));

        fire(*opener, c.trigger);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !redirector.redirected.isEmpty(); }, kLoadTimeoutMs));
        EXPECT_EQ(redirector.redirected, QStringList{server.url(c.expectedUrlPath)});
        ASSERT_EQ(redirector.hidden.size(), 1u);
        EXPECT_FALSE(redirector.hidden[0]->Document().has_value());

        // Only the tab opened on the address asks the server for it.
        ASSERT_EQ(redirector.tabs.size(), 1u);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return server.requestCount("/popup") == 1; }, kLoadTimeoutMs));
        spin(kQuietPeriodMs);
        EXPECT_EQ(server.requestCount("/popup"), 1);
        EXPECT_EQ(redirector.redirected.size(), 1);
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{&window});
        EXPECT_FALSE(redirector.hidden[0]->isVisible());
        EXPECT_EQ(opener->LocationURL(), server.url("/opener"));
    }
}

TEST(NewWindowTest, LaterNavigationsOfTheHiddenBrowserAreRedirectedToo) {
    TestHttpServer server;
    server.page("/opener", kOpenerPage);
    server.page("/popup", "<!doctype html><title>popup</title>");
    TWebBrowser opener;
    QWidget tabArea;
    Redirector redirector{&tabArea, {}, {}, {}};
    redirector.attach(opener);
    BrowserEvents events(opener);
    ASSERT_TRUE(navigateAndWait(opener, events, server.url("/opener")));

    const bool haveWindow =
        evaluate(opener, "window.w = window.open('/popup?n=1'); window.w !== null").toBool();
    ASSERT_TRUE(QTest::qWaitFor([&] { return redirector.redirected.size() == 1; }, kLoadTimeoutMs));
    ASSERT_TRUE(haveWindow);
    evaluate(opener, "window.w.location = '/popup?n=2'; 0");
    ASSERT_TRUE(QTest::qWaitFor([&] { return redirector.redirected.size() == 2; }, kLoadTimeoutMs));
    EXPECT_EQ(redirector.redirected,
              (QStringList{server.url("/popup?n=1"), server.url("/popup?n=2")}));
    EXPECT_EQ(redirector.hidden.size(), 1u);
    // Each address was fetched once, by the tab opened for it.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return server.requestCount("/popup") == 2; }, kLoadTimeoutMs));
    spin(kQuietPeriodMs);
    EXPECT_EQ(server.requestCount("/popup"), 2);
}

struct DropCase {
    const char* label;
    bool handlerBound;
    bool cancel;
};

TEST(NewWindowTest, RequestsWithoutATargetAreDropped) {
    const DropCase cases[] = {
        {"no handler", false, false},
        {"handler gives no target", true, false},
        {"handler gives a target but cancels", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TestHttpServer server;
        server.page("/opener", kOpenerPage);
        QWidget window;
        auto* opener = new TWebBrowser(&window);
        TWebBrowser spare;
        bool targetNavigated = false;
        spare.OnBeforeNavigate2 = [&](TWebBrowser*, const BrowserApplication&, const QString&,
                                      bool&) { targetNavigated = true; };
        int requests = 0;
        if (c.handlerBound) {
            opener->OnNewWindow2 = [&](TWebBrowser* sender, BrowserApplication& ppDisp,
                                       bool& cancel) {
                EXPECT_EQ(sender, opener);
                ++requests;
                if (c.cancel) {
                    ppDisp = spare.Application();
                    cancel = true;
                }
            };
        }
        window.show();
        BrowserEvents events(*opener);
        ASSERT_TRUE(navigateAndWait(*opener, events, server.url("/opener")));

        evaluate(*opener, "window.open('/popup'); 0");
        evaluate(*opener, "document.getElementById('link').click()");
        spin(kQuietPeriodMs);
        EXPECT_EQ(opener->LocationURL(), server.url("/opener"));
        EXPECT_EQ(requests, c.handlerBound ? 2 : 0);
        EXPECT_FALSE(targetNavigated);
        EXPECT_EQ(server.requestCount("/popup"), 0);
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{&window});
    }
}

TEST(NewWindowTest, BeforeNavigateCanCancelOrAllowOrdinaryNavigations) {
    TestHttpServer server;
    server.page("/a", "<!doctype html><title>a</title>");
    server.page("/b", "<!doctype html><title>b</title>");
    TWebBrowser browser;
    BrowserEvents events(browser);
    QStringList seen;
    browser.OnBeforeNavigate2 = [&](TWebBrowser* sender, const BrowserApplication& pDisp,
                                    const QString& url, bool& cancel) {
        EXPECT_EQ(pDisp.browser(), sender);
        seen.append(url);
        cancel = url.endsWith(QLatin1String("/b"));
    };
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/a")));
    browser.Navigate(server.url("/b"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, kLoadTimeoutMs));
    spin(kQuietPeriodMs);
    EXPECT_EQ(seen, (QStringList{server.url("/a"), server.url("/b")}));
    EXPECT_EQ(server.requestCount("/b"), 0);
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("a"));
    EXPECT_EQ(events.completedUrls.size(), 1);
}

TEST(NewWindowTest, HandlerMayDestroyTheBrowserThatRaisedTheEvent) {
    TestHttpServer server;
    server.page("/opener", kOpenerPage);
    auto* opener = new TWebBrowser;
    BrowserEvents events(*opener);
    ASSERT_TRUE(navigateAndWait(*opener, events, server.url("/opener")));
    QPointer<TWebBrowser> watch(opener);
    opener->OnNewWindow2 = [&](TWebBrowser* sender, BrowserApplication&, bool&) { delete sender; };
    opener->page()->runJavaScript("window.open('/popup')");
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, kLoadTimeoutMs));
    spin(kQuietPeriodMs);
    EXPECT_EQ(server.requestCount("/popup"), 0);
}

} // namespace
} // namespace zorvia::test
