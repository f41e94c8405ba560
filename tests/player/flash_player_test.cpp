// The game box's Flash player in pages that bring none, in local movies,
// and where it cannot start.
#include "browser/web_profile.h"
#include "player/movie_scheme.h"
#include "player/player_scheme.h"
#include "support/browser_test_support.h"
#include "support/child_run.h"
#include "support/x_input.h"

#include <QDir>
#include <QFile>
#include <QNetworkCookie>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

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
    // Where the player came from: the game box's server, or its scheme where
    // the page's policy admits no scripts from the server.
    const QString served = QStringLiteral("http:"), scheme = QStringLiteral("zorvia-player:");
    const QString otherHost = QStringLiteral("http://localhost:%1").arg(server.port());
    const struct {
        const char* name;
        QString html;
        QString from; // empty where the player runs in a frame
        QByteArray policy = {};
    } pages[] = {
        {"embed", kStyle + "<embed src='orbit.swf' width='550' height='400'>", served},
        {"page admitting scripts only from itself and the scheme",
         kStyle + "<embed src='orbit.swf' width='550' height='400'>", scheme,
         "script-src 'self' 'unsafe-eval' zorvia-player:"},
        {"object added by script",
         kStyle + "<div id=stage></div><script>setTimeout(function () {"
                  "  var o = document.createElement('object');"
                  "  o.data = '/orbit.swf'; o.type = 'application/x-shockwave-flash';"
                  "  o.width = 550; o.height = 400;"
                  "  document.getElementById('stage').appendChild(o);"
                  "}, 500);</script>",
         served},
        {"embed in a frame",
         kStyle + "<iframe src='/inner' width='560' height='410'></iframe>",
         {}},
        {"object naming its movie in a param",
         kStyle + "<object width='550' height='400'><param name='movie' value='orbit.swf'>"
                  "</object>",
         served},
        // A file host: another origin, no cross-origin headers.
        {"embed of a movie on another host",
         kStyle + "<embed src='" + otherHost + "/orbit.swf' width='550' height='400'>", served},
        {"object of a class, its movie on another host in a param",
         kStyle +
             "<object classid='clsid:D27CDB6E-AE6D-11cf-96B8-444553540000' width='550' "
             "height='400'><param name='movie' value='" +
             otherHost + "/orbit.swf'></object>",
         served},
    };
    ShownBrowser shown(700, 500);
    for (const auto& page : pages) {
        SCOPED_TRACE(page.name);
        HttpResponse reply;
        reply.body = page.html.toUtf8();
        if (!page.policy.isEmpty())
            reply.headers = {{"Content-Security-Policy", page.policy}};
        server.route("/page", reply);
        server.clearRequests();
        ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/page")));
        EXPECT_TRUE(framesAdvance(*shown.browser.view(), kMovieRect));
        EXPECT_EQ(grabPixel(*shown.browser.view(), {5, 5}), kStage);
        if (!page.from.isEmpty()) {
            EXPECT_TRUE(evaluate(shown.browser, "RufflePlayer.config.publicPath")
                            .toString()
                            .startsWith(page.from));
            // From the server, the module arrives by fetch, as a stream.
            if (page.from == served)
                EXPECT_EQ(
                    evaluate(shown.browser,
                             "performance.getEntriesByType('resource').filter(e => "
                             "/\\.wasm$/.test(e.name)).map(e => e.initiatorType + ' ' + "
                             "e.name.split('/')[2]).join()")
                        .toString(),
                    "fetch 127.0.0.1:" +
                        QUrl(evaluate(shown.browser, "RufflePlayer.config.publicPath").toString())
                            .authority()
                            .section(u':', 1));
        }
        // The player comes from the game box, never from the page's server.
        for (const HttpRequest& request : server.requests())
            EXPECT_TRUE(request.path == "/page" || request.path == "/inner" ||
                        request.path == "/orbit.swf")
                << request.path.toStdString();
    }
}

TEST(FlashPlayerTest, AFocusedMovieTakesEnterAndTheArrowsFromItsPage) {
    TestHttpServer server;
    server.route("/orbit.swf", movieReply(testMovie()));
    // The movie is still on its way: the player has nothing to take the keys.
    server.hold("/orbit.swf");
    const QString movieForm = "<form action='/sent'><embed src='/orbit.swf' width='550' "
                              "height='400'><input name=q></form>";
    const QString longPage = "<div style='height:5000px'></div>";
    server.page("/inner", kStyle + movieForm);
    server.page("/page", kStyle + movieForm + longPage);
    server.page("/framed",
                kStyle + "<iframe src='/inner' width='560' height='410'></iframe>" + longPage);
    server.page("/other", "<title>other</title>");
    const struct {
        const char* name;
        const char* path;
        QString movieWindow; // script naming the movie's window
    } cases[] = {
        {"movie in the page", "/page", "window"},
        {"movie in a frame", "/framed", "document.querySelector('iframe').contentWindow"},
    };
    ShownBrowser shown(700, 500);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url(c.path)));
        const QString movie = c.movieWindow + ".document.querySelector('ruffle-embed')";
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return evaluate(shown.browser, movie + " !== null").toBool(); },
                            kPlayerTimeoutMs));
        shown.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.window));
        // The movie's window notes the keys that reach it, whether their
        // default was kept from them, and a submission.
        evaluate(shown.browser,
                 "(function (w) { w.seen = [];"
                 "  w.addEventListener('keydown',"
                 "      e => w.seen.push(e.key + (e.defaultPrevented ? ' kept' : '')));"
                 "  w.addEventListener('submit', () => w.seen.push('submit'), true);"
                 "  w.document.querySelector('ruffle-embed').focus(); })(" +
                     c.movieWindow + "); 0");
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown.browser.movieHasFocus(); }, kLoadTimeoutMs));
        ASSERT_TRUE(xdotool({"key", "--delay", "40", "Down", "Return", "x"}));
        // "x" comes last: once it is there, the keys before it have been handled.
        const QString seen = c.movieWindow + ".seen";
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return evaluate(shown.browser, seen).toList().contains("x"); }, kLoadTimeoutMs));
        EXPECT_EQ(evaluate(shown.browser, seen + ".slice(0, 3).join()").toString(),
                  "ArrowDown kept,Enter kept,x");
        EXPECT_EQ(evaluate(shown.browser, "window.scrollY").toInt(), 0);
        EXPECT_EQ(shown.browser.LocationURL(), server.url(c.path));
        EXPECT_EQ(server.requestCount("/sent"), 0);
    }
    // A new page starts without the focus of the movie before.
    ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/other")));
    EXPECT_FALSE(shown.browser.movieHasFocus());
}

TEST(FlashPlayerTest, LocalMovieFillsThePageAtItsAspectUnderItsOwnAddress) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("星球 orbit.swf"));
    player::setLocalMovieFolder(dir.path());
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
    const QString otherHost = QStringLiteral("http://localhost:%1").arg(server.port());
    quint16 closedPort = 0;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        closedPort = closed.serverPort();
    }
    const QString kUnfetched =
        QStringLiteral("无法播放游戏：无法从游戏文件所在的服务器获取游戏文件。");
    const struct {
        const char* name;
        QString html;
        QString message;
    } pages[] = {
        {"damaged file", kStyle + "<embed src='damaged.swf' width='550' height='400'>",
         QStringLiteral("无法播放游戏：游戏文件已损坏或无法读取。")},
        {"not a movie", kStyle + "<embed src='text.swf' width='550' height='400'>",
         QStringLiteral("无法播放游戏：游戏文件已损坏或无法读取。")},
        {"missing file", kStyle + "<embed src='gone.swf' width='550' height='400'>", kUnfetched},
        {"missing file on another host",
         kStyle + "<embed src='" + otherHost + "/gone.swf' width='550' height='400'>", kUnfetched},
        {"no server on another host",
         kStyle + "<embed src='http://localhost:" + QString::number(closedPort) +
             "/orbit.swf' width='550' height='400'>",
         kUnfetched},
        {"not a movie on another host",
         kStyle + "<embed src='" + otherHost + "/text.swf' width='550' height='400'>",
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

// Detection scripts of pages and their frames find a Flash player before
// anything else of the page runs, and no objects of other browsers; the
// player itself stays away from pages without Flash content.
TEST(FlashPlayerTest, PagesAndFramesSeeAFlashPlayerInstalled) {
    TestHttpServer server;
    const QString probe = QStringLiteral(
        "<script>var type = navigator.mimeTypes['application/x-shockwave-flash'];"
        "document.title = [navigator.plugins['Shockwave Flash'].description,"
        " navigator.plugins.namedItem('Shockwave Flash')[0].suffixes,"
        " type.enabledPlugin === navigator.plugins['Shockwave Flash'], type.suffixes,"
        " Array.from(navigator.plugins).some(p => p.name === 'Shockwave Flash'),"
        " typeof ActiveXObject, typeof RufflePlayer].join('|');</script>");
    server.page("/inner", probe);
    server.page("/page", probe + "<iframe src='/inner'></iframe>");
    ShownBrowser shown(700, 500);
    ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/page")));
    const QString seen =
        QStringLiteral("Shockwave Flash 32.0 r0|swf|true|swf|true|undefined|undefined");
    EXPECT_EQ(evaluate(shown.browser, "document.title").toString(), seen);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return evaluate(shown.browser, "frames[0].document.title").toString() == seen; },
        kLoadTimeoutMs));
}

// The player reads a movie from another host with that host's cookies, but
// the page's own requests for them keep the browser's rules: refused without the
// host's consent, and the game box's way for the player answers nobody
// without its key.
TEST(FlashPlayerTest, ThePagesOwnRequestsCannotReadAnotherHost) {
    TestHttpServer server;
    server.route("/orbit.swf", movieReply(testMovie()));
    HttpResponse data;
    data.contentType = "text/plain";
    data.body = "score=1";
    server.route("/data.txt", data);
    const QString otherHost = QStringLiteral("http://localhost:%1").arg(server.port());
    server.page("/page",
                kStyle + "<embed src='" + otherHost + "/orbit.swf' width='550' height='400'>");
    ShownBrowser shown(700, 500);
    // The movie comes with the profile's cookies for its host.
    browser::sharedProfile()->cookieStore()->setCookie(QNetworkCookie("visit", "7"),
                                                       QUrl(otherHost + "/"));
    ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/page")));
    ASSERT_TRUE(framesAdvance(*shown.browser.view(), kMovieRect));
    const auto movieRequest =
        std::find_if(server.requests().begin(), server.requests().end(),
                     [](const HttpRequest& request) { return request.path == "/orbit.swf"; });
    ASSERT_NE(movieRequest, server.requests().end());
    EXPECT_EQ(movieRequest->header("Cookie"), "visit=7");
    // The way's key appears nowhere the page can read.
    EXPECT_EQ(evaluate(shown.browser, "performance.getEntries().map(e => e.name).join()"
                                      ".indexOf('zorvia-net:')")
                  .toInt(),
              -1)
        << evaluate(shown.browser, "performance.getEntries().map(e => e.name).join()")
               .toString()
               .toStdString();
    const auto fetched = [&](const QString& url) {
        evaluate(shown.browser, QStringLiteral("window.got = undefined; fetch('%1').then(r => "
                                               "r.text()).then(t => got = 'read ' + t.length, "
                                               "() => got = 'failed'); 0")
                                    .arg(url));
        if (!QTest::qWaitFor(
                [&] { return evaluate(shown.browser, "typeof got").toString() == "string"; },
                kLoadTimeoutMs))
            return QStringLiteral("no answer");
        return evaluate(shown.browser, "got").toString();
    };
    const auto network = [&](const char* kind, const QString& path) {
        return QStringLiteral("zorvia-net://load/?kind=") + kind +
               "&url=" + QString::fromLatin1(QUrl::toPercentEncoding(otherHost + path));
    };
    for (const QString& path : {QStringLiteral("/orbit.swf"), QStringLiteral("/data.txt")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(requestOutcome(shown.browser, otherHost + path), "failed");
        EXPECT_EQ(fetched(otherHost + path), "failed");
        for (const char* kind : {"movie", "data"}) {
            EXPECT_EQ(requestOutcome(shown.browser, network(kind, path)), "failed");
            EXPECT_EQ(fetched(network(kind, path)), "failed");
        }
    }
}

// A movie on another host than its page loads a second movie from any host,
// and data only where the data's host has a policy file that admits the
// movie's host; a refused load reaches the movie as a failed one.
TEST(FlashPlayerTest, AMoviesLoadsFollowTheRulesOfAFlashPlayer) {
    QFile loader(QStringLiteral(ZORVIA_LOADER_MOVIE));
    ASSERT_TRUE(loader.open(QIODevice::ReadOnly));
    TestHttpServer files;
    files.route("/loader.swf", movieReply(loader.readAll()));
    files.route("/orbit.swf", movieReply(testMovie()));
    const QString fileHost = QStringLiteral("http://localhost:%1").arg(files.port());
    const struct {
        const char* name;
        QByteArray policy; // none where empty
        int flagX;         // 300 where the data arrived, 100 where its load failed
    } cases[] = {
        {"policy admitting the movie's host",
         "<cross-domain-policy><allow-access-from domain=\"localhost\"/></cross-domain-policy>",
         300},
        {"policy admitting other hosts",
         "<cross-domain-policy><allow-access-from domain=\"*.example\"/></cross-domain-policy>",
         100},
        {"no policy", {}, 100},
    };
    ShownBrowser shown(700, 500);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A host of its own for each case: its policy is fetched once a run.
        TestHttpServer data;
        HttpResponse note;
        note.contentType = "text/plain";
        note.body = "score=1";
        data.route("/note.txt", note);
        if (!c.policy.isEmpty()) {
            HttpResponse policy;
            policy.contentType = "text/x-cross-domain-policy";
            policy.body = c.policy;
            data.route("/crossdomain.xml", policy);
        }
        const QString vars = "movie=" + QUrl::toPercentEncoding(fileHost + "/orbit.swf") +
                             "&data=" + QUrl::toPercentEncoding(data.url("/note.txt"));
        files.page("/page", kStyle + "<embed src='" + fileHost + "/loader.swf' flashvars='" + vars +
                                "' width='550' height='400'>");
        ASSERT_TRUE(navigateAndWait(shown.browser, shown.events,
                                    QStringLiteral("http://127.0.0.1:%1/page").arg(files.port())));
        EXPECT_TRUE(waitForColour(*shown.browser.view(), {c.flagX + 20, 40}, qRgb(255, 255, 255), 8,
                                  kPlayerTimeoutMs));
        EXPECT_TRUE(framesAdvance(*shown.browser.view(), QRect(200, 100, 350, 300)));
        EXPECT_EQ(data.requestCount("/note.txt"), c.flagX == 300 ? 1 : 0);
    }
}

// Where the player cannot start, every movie gives way to one message: an
// <object> with its <embed> fallback is one movie, and movies added later
// get the message too.
TEST(FlashPlayerTest, EachMovieGivesWayToOneMessageAlsoOnesAddedLater) {
    TestHttpServer server;
    server.route("/orbit.swf", movieReply(testMovie()));
    server.page("/page", kStyle + "<script>delete window.WebAssembly;</script>"
                                  "<object data='orbit.swf' width='550' height='400'>"
                                  "<embed src='orbit.swf' width='550' height='400'></object>");
    ShownBrowser shown(700, 500);
    ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/page")));
    const auto count = [&](const char* selector) {
        return evaluate(shown.browser,
                        QStringLiteral("document.querySelectorAll('%1').length").arg(selector))
            .toInt();
    };
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return count(".zorvia-flash-message") > 0; }, kPlayerTimeoutMs));
    EXPECT_EQ(count(".zorvia-flash-message"), 1);
    EXPECT_EQ(count("embed,object"), 0);

    evaluate(shown.browser, "var e = document.createElement('embed'); e.src = 'orbit.swf';"
                            "e.width = 300; e.height = 200; document.body.appendChild(e); 0");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return count(".zorvia-flash-message") == 2; }, kLoadTimeoutMs));
    EXPECT_EQ(count("embed,object"), 0);
}

// Without the player next to the program, a page's movie gives way to the
// message that says so; the check runs in a copy of this program in a
// folder without the player.
TEST(FlashPlayerTest, WithoutThePlayerPagesSayItIsMissing) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto child = startChild(
        folder.path() + "/", "ChildRun.PlayerMissing",
        {"ZORVIA_CHILD=player-missing", "ZORVIA_WEBENGINE_DIR=" + folder.path() + "/webengine"},
        false);
    ASSERT_TRUE(waitForChild(*child));
    const QString output = QString::fromUtf8(child->readAll());
    EXPECT_EQ(child->exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST(ChildRun, PlayerMissing) {
    if (qEnvironmentVariable("ZORVIA_CHILD") != "player-missing")
        GTEST_SKIP() << "runs in the child of FlashPlayerTest.WithoutThePlayerPagesSayItIsMissing";
    ASSERT_FALSE(QFile::exists(QDir(player::playerFolder()).filePath("ruffle.js")));
    TestHttpServer server;
    server.route("/orbit.swf", movieReply(testMovie()));
    server.page("/page", kStyle + "<embed src='orbit.swf' width='550' height='400'>");
    ShownBrowser shown(700, 500);
    ASSERT_TRUE(navigateAndWait(shown.browser, shown.events, server.url("/page")));
    const QString script =
        QStringLiteral("(document.querySelector('.zorvia-flash-message') || {}).textContent");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return evaluate(shown.browser, script).toString() ==
                   QStringLiteral(
                       "无法播放游戏：游戏盒子的 Flash 播放器缺失，请重新安装游戏盒子。");
        },
        kPlayerTimeoutMs));
}

} // namespace
} // namespace zorvia::test
