#include "support/browser_test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

const QString kGamePage =
    QStringLiteral("<!doctype html><meta charset='utf-8'><title>游戏中心</title>"
                   "<div id='swfurl'>/games/a.swf</div>");

TEST(WebBrowserTest, LoadRaisesEventsWithTheDocumentReadyAndRefreshReloads) {
    TestHttpServer server;
    server.page("/game", kGamePage);
    TWebBrowser browser;
    BrowserEvents events(browser);
    EXPECT_FALSE(GetPageElement(browser.Document(), QStringLiteral("swfurl")).has_value());
    EXPECT_EQ(browser.LocationURL(), QString());
    browser.Refresh(); // nothing to reload yet

    bool elementSeenInHandler = false;
    auto record = browser.OnDocumentComplete;
    browser.OnDocumentComplete = [&](TWebBrowser* sender, const BrowserApplication& pDisp,
                                     const QString& url) {
        elementSeenInHandler =
            GetPageElement(sender->Document(), QStringLiteral("swfurl")).has_value();
        record(sender, pDisp, url);
    };
    browser.Navigate(server.url("/game"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.completedUrls.isEmpty(); }, kLoadTimeoutMs));
    EXPECT_EQ(events.completedUrls, QStringList{server.url("/game")});
    EXPECT_EQ(events.titles.last(), QStringLiteral("游戏中心"));
    EXPECT_EQ(events.senders, QList<TWebBrowser*>(events.senders.size(), &browser));
    EXPECT_TRUE(elementSeenInHandler);
    EXPECT_EQ(browser.LocationURL(), server.url("/game"));
    EXPECT_EQ(browser.Document()->title(), QStringLiteral("游戏中心"));

    browser.Refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.completedUrls.size() == 2; }, kLoadTimeoutMs));
    EXPECT_EQ(server.requestCount("/game"), 2);
}

TEST(WebBrowserTest, NavigatesToALocalFilePath) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("本地 game.html"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kGamePage.toUtf8());
    file.close();
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, path));
    EXPECT_EQ(browser.LocationURL(), QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    EXPECT_TRUE(GetPageElement(browser.Document(), QStringLiteral("swfurl")).has_value());
}

TEST(WebBrowserTest, FailedLoadReplacesTheDocumentWithoutCompletingOne) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QString deadUrl = QStringLiteral("http://127.0.0.1:%1/game").arg(closed.serverPort());
    closed.close();
    TestHttpServer server;
    server.page("/game", kGamePage);
    TWebBrowser browser;
    BrowserEvents events(browser);
    ASSERT_TRUE(navigateAndWait(browser, events, server.url("/game")));

    browser.Navigate(deadUrl);
    // The game page's markers must not outlive it behind the error page.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !GetPageElement(browser.Document(), QStringLiteral("swfurl")); },
        kLoadTimeoutMs));
    EXPECT_EQ(events.completedUrls.size(), 1);
}

TEST(WebBrowserTest, SilentBrowserShowsNoScriptDialogs) {
    TestHttpServer server;
    server.page("/dialogs", "<!doctype html><title>start</title><script>alert('hello');"
                            "document.title = [confirm('sure?'), prompt('name?', 'x')].join(',');"
                            "</script>");
    QWidget window;
    auto* browser = new TWebBrowser(&window);
    browser->setSilent(true);
    window.show();
    BrowserEvents events(*browser);
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/dialogs")));
    EXPECT_EQ(browser->Document()->title(), QStringLiteral("false,"));
    EXPECT_EQ(visibleWindows(), QList<QWidget*>{&window});
}

TEST(WebBrowserTest, PlacementAlignmentAndInputTargets) {
    QWidget parent;
    parent.setContentsMargins(3, 4, 5, 6);
    parent.resize(300, 200);
    parent.show();
    auto* browser = new TWebBrowser(&parent);
    auto* other = new QWidget(&parent);
    browser->resize(801, 492);
    browser->setAlignClient(true);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->geometry(), parent.contentsRect());
    parent.resize(640, 480);
    EXPECT_EQ(browser->geometry(), QRect(3, 4, 640 - 8, 480 - 10));
    browser->resize(10, 10); // taken back while aligned
    EXPECT_EQ(browser->geometry(), parent.contentsRect());
    browser->setAlignClient(false);
    browser->resize(10, 10);
    parent.resize(700, 500);
    EXPECT_EQ(browser->size(), QSize(10, 10));

    TWebBrowser parentless;
    parentless.show();
    EXPECT_FALSE(parentless.isVisible());

    EXPECT_TRUE(browser->isInside(browser->view()));
    EXPECT_FALSE(browser->isInside(browser));
    EXPECT_FALSE(browser->isInside(&parent));
    EXPECT_FALSE(browser->isInside(other));
    EXPECT_FALSE(browser->isInside(nullptr));
    TestHttpServer server;
    server.page("/game", kGamePage);
    BrowserEvents events(*browser);
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/game")));
    ASSERT_NE(browser->inputWidget(), nullptr);
    EXPECT_TRUE(browser->isInside(browser->inputWidget()));
}

TEST(WebBrowserTest, WhiteUntilTheFirstLoadThenTheView) {
    QWidget parent;
    parent.resize(200, 150);
    auto* browser = new TWebBrowser(&parent);
    browser->setAlignClient(true);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    EXPECT_FALSE(browser->view()->isVisible());
    const QImage blank = browser->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage white(blank.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(blank, white);

    TestHttpServer server;
    server.page("/game", kGamePage);
    BrowserEvents events(*browser);
    browser->Navigate(server.url("/game"));
    EXPECT_TRUE(browser->view()->isVisible());
    EXPECT_EQ(browser->view()->geometry(), browser->rect());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.completedUrls.isEmpty(); }, kLoadTimeoutMs));
}

// Renders Chinese text and checks that glyphs were drawn: each character
// sits in a box of its own, and the four boxes differ from one another and
// from a character no font has (missing glyphs all draw the same box). With
// ZORVIA_SCREENSHOT_DIR set, the picture is kept there for a look.
TEST(WebBrowserTest, RendersChineseText) {
    TestHttpServer server;
    server.page("/cjk", "<!doctype html><meta charset='utf-8'><style>b{position:absolute;top:0;"
                        "width:60px;height:60px;font:48px/60px sans-serif;color:#000}</style>"
                        "<body style='margin:0;background:#fff'><b style='left:0'>在</b>"
                        "<b style='left:60px'>线</b><b style='left:120px'>游</b>"
                        "<b style='left:180px'>戏</b><b style='left:240px'>&#xE000;</b>");
    QWidget window;
    auto* browser = new TWebBrowser(&window);
    browser->setAlignClient(true);
    window.resize(801, 300);
    window.show();
    BrowserEvents events(*browser);
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/cjk")));
    QImage image;
    const auto boxes = [&] {
        image = browser->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QList<QImage> cells;
        for (int i = 0; i < 5; ++i)
            cells << image.copy(i * 60, 0, 60, 60);
        return cells;
    };
    const auto inked = [](const QImage& cell) {
        int dark = 0;
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                dark += qGray(cell.pixel(x, y)) < 100 ? 1 : 0;
        return dark > 40;
    };
    // Waits until the text is drawn.
    ASSERT_TRUE(QTest::qWaitFor([&] { return inked(boxes().at(3)); }, kLoadTimeoutMs));
    const QList<QImage> cells = boxes();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(inked(cells.at(i))) << i;
        for (int j = i + 1; j < 5; ++j)
            EXPECT_NE(cells.at(i), cells.at(j)) << i << " " << j;
    }
    if (const QByteArray dir = qgetenv("ZORVIA_SCREENSHOT_DIR"); !dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("browser_cjk.png")));
}

} // namespace
} // namespace zorvia::test
