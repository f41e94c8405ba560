// The game box's Flash player in pages that bring none, in local movies,
// and where it cannot start.
#include "support/browser_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

// The test movie: a 550×400 stage on the background #1a237e with shapes
// that move every frame.
QByteArray testMovie() {
    QFile file(QStringLiteral(ZORVIA_TEST_MOVIE));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

HttpResponse movieReply(const QByteArray& movie) {
    HttpResponse reply;
    reply.contentType = "application/x-shockwave-flash";
    reply.body = movie;
    return reply;
}

constexpr QRgb kStage = qRgb(0x1a, 0x23, 0x7e);
constexpr QRgb kMessage = qRgb(0xff, 0xf3, 0xe0); // the failure message's background
const QRect kMovieRect(0, 0, 550, 400);

const QString kStyle =
    QStringLiteral("<style>body{margin:0}iframe{border:0;display:block}</style>");

// A browser filling a shown window (a browser without a parent never shows).
struct ShownBrowser {
    QWidget window;
    TWebBrowser& browser;
    BrowserEvents events{browser};
    ShownBrowser(int width, int height) : browser(*new TWebBrowser(&window)) {
        window.resize(width, height);
        browser.setAlignClient(true);
        window.show();
    }
};

TEST(FlashPlayerTest, PagesWithoutAPlayerPlayTheirMovies) {
    TestHttpServer server;
    server.route("/orbit.swf", movieReply(testMovie()));
    server.page("/inner", kStyle + "<embed src='/orbit.swf' width='550' height='400'>");
    const struct {
        const char* name;
        QString html;
    } pages[] = {
        {"embed", kStyle + "<embed src='orbit.swf' width='550' height='400'>"},
        {"object added by script",
         kStyle + "<div id=stage></div><script>setTimeout(function () {"
                  "  var o = document.createElement('object');"
                  "  o.data = '/orbit.swf'; o.type = 'application/x-shockwave-flash';"
                  "  o.width = 550; o.height = 400;"
                  "  document.getElementById('stage').appendChild(o);"
                  "}, 500);</script>"},
        {"embed in a frame", kStyle + "<iframe src='/inner' width='560' height='410'></iframe>"},
    };
    ShownBrowser shown(700, 500);
    for (const auto& page : pages) {
        SCOPED_TRACE(page.name);
        server.page("/page", page.html);
        server.clearRequests();
        ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/page")));
        EXPECT_TRUE(framesAdvance(*shown.browser.view(), kMovieRect));
        EXPECT_EQ(grabPixel(*shown.browser.view(), {5, 5}), kStage);
        // The player comes from the game box, never from the page's server.
        for (const HttpRequest& request : server.requests())
            EXPECT_TRUE(request.path == "/page" || request.path == "/inner" ||
                        request.path == "/orbit.swf")
                << request.path.toStdString();
    }
}

TEST(FlashPlayerTest, LocalMovieFillsThePageAtItsAspectUnderItsOwnAddress) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("星球 orbit.swf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testMovie());
    file.close();

    // 800×400 holds the 550×400 stage scaled by 1 between two bars of 125.
    ShownBrowser shown(800, 400);
    ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, path));
    const QString address = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    EXPECT_EQ(shown.browser.LocationURL(), address);
    EXPECT_EQ(shown.events.completedUrls.last(), address);
    EXPECT_EQ(shown.browser.Document()->title(), QStringLiteral("星球 orbit.swf"));
    EXPECT_TRUE(framesAdvance(*shown.browser.view(), QRect(125, 0, 550, 400)));
    EXPECT_EQ(grabPixel(*shown.browser.view(), {130, 5}), kStage);
    EXPECT_EQ(grabPixel(*shown.browser.view(), {60, 200}), qRgb(0, 0, 0));
    EXPECT_EQ(grabPixel(*shown.browser.view(), {740, 200}), qRgb(0, 0, 0));
}

TEST(FlashPlayerTest, AMovieThatCannotPlayLeavesAMessageInItsPlace) {
    TestHttpServer server;
    // A compressed movie whose compressed data is garbage.
    QByteArray damaged = testMovie().left(8);
    damaged[0] = 'C';
    damaged += QByteArray(300, '\x5a');
    server.route("/damaged.swf", movieReply(damaged));
    server.route("/text.swf", movieReply("<html>not a movie</html>"));
    server.route("/orbit.swf", movieReply(testMovie()));
    const struct {
        const char* name;
        QString html;
        QString message;
    } pages[] = {
        {"damaged file", kStyle + "<embed src='damaged.swf' width='550' height='400'>",
         QStringLiteral("无法播放游戏：游戏文件已损坏或无法读取。")},
        {"not a movie", kStyle + "<embed src='text.swf' width='550' height='400'>",
         QStringLiteral("无法播放游戏：游戏文件已损坏或无法读取。")},
        {"missing file", kStyle + "<embed src='gone.swf' width='550' height='400'>",
         QStringLiteral("无法播放游戏：游戏文件已损坏或无法读取。")},
        {"no WebAssembly",
         kStyle + "<script>delete window.WebAssembly;</script>"
                  "<object data='orbit.swf' width='550' height='400'></object>",
         QStringLiteral("无法播放游戏：当前环境不支持 WebAssembly，Flash 播放器无法启动。")},
    };
    ShownBrowser shown(700, 500);
    for (const auto& page : pages) {
        SCOPED_TRACE(page.name);
        server.page("/page", page.html);
        ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/page")));
        const QString script =
            QStringLiteral("(document.querySelector('.zorvia-flash-message') || {}).textContent");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return evaluate(shown.browser, script).toString() == page.message; },
            kPlayerTimeoutMs));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return grabPixel(*shown.browser.view(), {5, 5}) == kMessage;
            },
            kLoadTimeoutMs));
    }
}

} // namespace
} // namespace zorvia::test
