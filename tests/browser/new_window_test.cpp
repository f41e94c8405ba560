#include "support/browser_test_support.h"

#include <QFile>
#include <QTest>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zorvia::test {
namespace {

const QString kOpenerPage =
    QStringLiteral("<!doctype html><body style='margin:0'><a id='link' href='/popup?via=link' "
                   "target='_blank' style='display:block;width:300px;height:100px'>open</a>");

// Gone, or ended and not yet collected by its parent.
bool processEnded(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2; // the name may hold spaces
    return state < line.size() && line[state] == 'Z';
}

enum class Trigger { ScriptLinkClick, MouseLinkClick, WindowOpen };

void fire(TWebBrowser& opener, Trigger trigger) {
    // Pages open new windows within a click of the user only.
    if (trigger == Trigger::ScriptLinkClick)
        runInClick(opener, "document.getElementById('link').click()");
    else if (trigger == Trigger::MouseLinkClick)
        QTest::mouseClick(opener.inputWidget(), Qt::LeftButton, {}, QPoint(50, 50));
    else
        runInClick(opener, "window.open('/popup?via=script', 'named', 'width=300')");
}

// The redirection the main window makes: a hidden browser receives the new
// window, cancels its navigation and opens the address in a new tab.
struct Redirector {
    QWidget tabArea;
    std::vector<std::unique_ptr<TWebBrowser>> hidden;
    QStringList redirected;

    explicit Redirector(TWebBrowser& opener) {
        opener.OnNewWindow2 = [this](TWebBrowser*, BrowserApplication& ppDisp, bool&) {
            hidden.push_back(std::make_unique<TWebBrowser>());
            hidden.back()->OnBeforeNavigate2 = [this](TWebBrowser*, const BrowserApplication&,
                                                      const QString& url, bool& cancel) {
                cancel = true;
                redirected.append(url);
                (new TWebBrowser(&tabArea))->Navigate(url);
            };
            ppDisp = hidden.back()->Application();
        };
    }
};

struct Opener {
    TestHttpServer server;
    QWidget window;
    TWebBrowser* browser = new TWebBrowser(&window);
    BrowserEvents events{*browser};

    bool open() {
        server.page("/opener", kOpenerPage);
        server.page("/popup", "<!doctype html><title>popup</title>");
        window.resize(400, 300);
        browser->setAlignClient(true);
        window.show();
        return navigateAndWait(*browser, events, server.url("/opener"));
    }
};

TEST(NewWindowTest, NewWindowsBecomeOneNavigationOfTheTargetWithoutRequestOrWindow) {
    const std::tuple<const char*, Trigger, QString> cases[] = {
        {"link clicked by script", Trigger::ScriptLinkClick, "/popup?via=link"},
        {"link clicked with the mouse", Trigger::MouseLinkClick, "/popup?via=link"},
        {"window.open", Trigger::WindowOpen, "/popup?via=script"},
    };
    for (const auto& [label, trigger, path] : cases) {
        SCOPED_TRACE(label);
        Opener opener;
        Redirector redirector(*opener.browser);
        ASSERT_TRUE(opener.open());
        fire(*opener.browser, trigger);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !redirector.redirected.isEmpty(); }, kLoadTimeoutMs));
        // Only the tab opened on the address asks the server for it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return opener.server.requestCount("/popup") == 1; },
                                    kLoadTimeoutMs));
        ASSERT_TRUE(laterRequestArrived(*opener.browser, opener.server));
        EXPECT_EQ(redirector.redirected, QStringList{opener.server.url(path)});
        EXPECT_EQ(opener.server.requestCount("/popup"), 1);
        ASSERT_EQ(redirector.hidden.size(), 1u);
        EXPECT_FALSE(redirector.hidden[0]->Document().has_value());
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{&opener.window});
        EXPECT_EQ(opener.browser->LocationURL(), opener.server.url("/opener"));
    }
}

TEST(NewWindowTest, LaterNavigationsOfTheTargetAreReportedToo) {
    Opener opener;
    Redirector redirector(*opener.browser);
    ASSERT_TRUE(opener.open());
    runInClick(*opener.browser, "window.w = window.open('/popup?n=1')");
    ASSERT_TRUE(QTest::qWaitFor([&] { return redirector.redirected.size() == 1; }, kLoadTimeoutMs));
    evaluate(*opener.browser, "window.w.location = '/popup?n=2'; 0");
    ASSERT_TRUE(QTest::qWaitFor([&] { return redirector.redirected.size() == 2; }, kLoadTimeoutMs));
    EXPECT_EQ(redirector.redirected,
              (QStringList{opener.server.url("/popup?n=1"), opener.server.url("/popup?n=2")}));
    EXPECT_EQ(redirector.hidden.size(), 1u);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return opener.server.requestCount("/popup") == 2; }, kLoadTimeoutMs));
}

TEST(NewWindowTest, RequestsWithoutATargetAreDropped) {
    const std::tuple<const char*, bool, bool> cases[] = {
        {"no handler", false, false},
        {"handler gives no target", true, false},
        {"handler gives a target but cancels", true, true},
    };
    for (const auto& [label, bound, cancelIt] : cases) {
        SCOPED_TRACE(label);
        Opener opener;
        TWebBrowser spare;
        bool spareNavigated = false;
        spare.OnBeforeNavigate2 = [&](TWebBrowser*, const BrowserApplication&, const QString&,
                                      bool&) { spareNavigated = true; };
        int requests = 0;
        if (bound) {
            opener.browser->OnNewWindow2 = [&](TWebBrowser*, BrowserApplication& ppDisp,
                                               bool& cancel) {
                ++requests;
                ppDisp = cancelIt ? spare.Application() : BrowserApplication();
                cancel = cancelIt;
            };
        }
        ASSERT_TRUE(opener.open());
        fire(*opener.browser, Trigger::WindowOpen);
        fire(*opener.browser, Trigger::ScriptLinkClick);
        ASSERT_TRUE(laterRequestArrived(*opener.browser, opener.server));
        EXPECT_EQ(requests, bound ? 2 : 0);
        EXPECT_FALSE(spareNavigated);
        EXPECT_EQ(opener.server.requestCount("/popup"), 0);
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{&opener.window});
        EXPECT_EQ(opener.browser->LocationURL(), opener.server.url("/opener"));
    }
}

TEST(NewWindowTest, HandlerMayDestroyTheBrowserThatRaisedTheEvent) {
    Opener opener;
    ASSERT_TRUE(opener.open());
    QPointer<TWebBrowser> watch(opener.browser);
    opener.browser->OnNewWindow2 = [](TWebBrowser* sender, BrowserApplication&, bool&) {
        delete sender;
    };
    // The page's renderer process, which a new window of it would share.
    const qint64 renderer = opener.browser->page()->renderProcessPid();
    ASSERT_GT(renderer, 0);
    fire(*opener.browser, Trigger::WindowOpen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, kLoadTimeoutMs));
    // The process ends once nothing of the page is left, a new window included.
    EXPECT_TRUE(QTest::qWaitFor([&] { return processEnded(renderer); }, kLoadTimeoutMs));
    EXPECT_EQ(opener.server.requestCount("/popup"), 0);
}

} // namespace
} // namespace zorvia::test
