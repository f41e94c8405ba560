// Games that play: a demo portal game page, which brings no player of its
// own, and the same game downloaded and opened from the local list after the
// portal has stopped.
#include "browser/web_browser.h"
#include "support/browser_test_support.h"
#include "support/demo_portal.h"
#include "support/modal.h"
#include "support/program_folder_guard.h"
#include "support/test_http_server.h"
#include "ui/kit/list_box.h"
#include "ui/main/form1.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <memory>

namespace zorvia::test {
namespace {

// Game 129 of the demo portal: a 550×400 movie on the background #1a237e.
constexpr int kGameId = 129;
constexpr char kGameFile[] = "bubble_pop.swf";
constexpr QRgb kStage = qRgb(0x1a, 0x23, 0x7e);

void saveShot(QWidget& widget, const QString& name) {
    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(widget.grab().save(dir + '/' + name));
}

// Where the player drew the movie in the page, in the view's pixels; empty
// until the player has replaced the page's element.
QRect playerRect(TWebBrowser& browser) {
    const QString json =
        evaluate(browser, QStringLiteral(
                              "(function () {"
                              "  var e = document.querySelector('ruffle-object,ruffle-embed');"
                              "  if (!e) return '';"
                              "  var r = e.getBoundingClientRect();"
                              "  return JSON.stringify({x: r.x, y: r.y, w: r.width, h: r.height});"
                              "})()"))
            .toString();
    const QJsonObject r = QJsonDocument::fromJson(json.toUtf8()).object();
    return QRect(r["x"].toInt(), r["y"].toInt(), r["w"].toInt(), r["h"].toInt());
}

// The portal's loader movie (550 wide) in browser: its square reaches x,
// drawn white, and the game it brought keeps drawing new frames below.
void expectLoaderPlays(TWebBrowser& browser, int x) {
    QRect stage;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(stage = playerRect(browser)).isEmpty(); },
                                kPlayerTimeoutMs));
    const double scale = stage.width() / 550.0;
    const auto at = [&](int px, int py) {
        return stage.topLeft() + QPoint(int(px * scale), int(py * scale));
    };
    EXPECT_TRUE(
        waitForColour(*browser.view(), at(x, 40), qRgb(255, 255, 255), 8, kPlayerTimeoutMs));
    EXPECT_TRUE(framesAdvance(*browser.view(), QRect(at(0, 200), at(549, 399))));
}

TEST(GamePlay, PortalGamePlaysAndItsDownloadPlaysFromTheLocalListWithThePortalStopped) {
    ProgramFolderGuard guard;
    auto portal = std::make_unique<DemoPortal>();
    ASSERT_TRUE(portal->running()) << portal->error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal->host().toUtf8());
    TForm1 form;
    form.FormCreate();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    // The game page as served, and with the portal's own player, which the
    // game box's must leave alone.
    const struct {
        const char* query;
        bool ownPlayer;
    } pages[] = {{"&player=1", true}, {"", false}};
    // The game box's player comes from its server on 127.0.0.1 (a random
    // first path segment) or from its scheme.
    const QString gameBoxPlayer = QStringLiteral(
        "Array.prototype.some.call(document.scripts, function (s) { return "
        "/^(zorvia-player:\\/\\/player|http:\\/\\/127\\.0\\.0\\.1:\\d+\\/[0-9a-f]{32})"
        "\\/ruffle\\.js$/.test(s.src); })");
    TWebBrowser* browser = nullptr;
    QList<qint64> processes;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.query);
        form.CreateNewTab(
            portal->url("/mini.php?itemid=" + QString::number(kGameId) + page.query).toStdString());
        browser = form.activeBrowser();
        QRect stage;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !(stage = playerRect(*browser)).isEmpty(); },
                                    kPlayerTimeoutMs));
        EXPECT_TRUE(framesAdvance(*browser->view(), stage));
        EXPECT_EQ(grabPixel(*browser->view(), stage.topLeft() + QPoint(3, 3)), kStage);
        EXPECT_EQ(evaluate(*browser, gameBoxPlayer).toBool(), !page.ownPlayer);
        // An <object> of the player's class naming a movie on the portal's
        // file host, or for the portal's own player one on the page's host.
        EXPECT_EQ(evaluate(*browser, "document.querySelector('ruffle-object').outerHTML")
                      .toString()
                      .contains("http://localhost:"),
                  !page.ownPlayer);
        processes.append(browser->view()->page()->renderProcessPid());
    }
    // Game tabs of one portal share a renderer process, and with it the
    // player's compiled module.
    EXPECT_GT(processes.first(), 0);
    EXPECT_EQ(processes.first(), processes.last());
    saveShot(form, QStringLiteral("portal_game.png"));

    auto* download = form.findChild<QPushButton*>(QStringLiteral("Button_down"));
    ASSERT_TRUE(download && download->isEnabled());
    {
        ModalCloser closer;
        download->click();
        EXPECT_TRUE(closer.texts().isEmpty()) << closer.texts().join('|').toStdString();
    }
    portal.reset();

    auto* list = form.findChild<ui::TListBox*>(QStringLiteral("ListBox2"));
    ASSERT_TRUE(list && list->count() > 0);
    const AnsiString path = list->link(list->count() - 1);
    ASSERT_EQ(QString::fromStdString(path), ProgramFolderGuard::flashFolder() + kGameFile);
    form.CreateNewTab(path);
    browser = form.activeBrowser();
    const QString address =
        QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return browser->Document() && browser->Document()->location() == address; },
        kLoadTimeoutMs));
    EXPECT_EQ(browser->LocationURL(), address);
    // Its page may ask the player's server: the player arrives as a stream.
    EXPECT_TRUE(
        evaluate(*browser, QString(gameBoxPlayer).replace("zorvia-player:\\/\\/player|", ""))
            .toBool());
    // The movie fills the page at its aspect ratio, centred between bars.
    const QSize view = browser->view()->size();
    const QSize scaled = QSize(550, 400).scaled(view, Qt::KeepAspectRatio);
    const QRect movie(
        QPoint((view.width() - scaled.width()) / 2, (view.height() - scaled.height()) / 2), scaled);
    ASSERT_GE(view.width() - scaled.width(), 20); // the tab's page is wider than 11:8
    EXPECT_TRUE(framesAdvance(*browser->view(), movie));
    EXPECT_EQ(grabPixel(*browser->view(), movie.topLeft() + QPoint(3, 3)), kStage);
    EXPECT_EQ(grabPixel(*browser->view(), {3, view.height() / 2}), qRgb(0, 0, 0));
    saveShot(form, QStringLiteral("local_game.png"));
}

// Game 137's page holds a loader from the portal's host that brings the
// game's movie and a text from the portal's file host, whose policy file
// admits the portal's movies: the game plays in the loader, and the
// loader's square moves to x 300 once the text has arrived.
TEST(GamePlay, ALoaderBringsTheGameAndATextFromTheFileHost) {
    ProgramFolderGuard guard;
    DemoPortal portal;
    ASSERT_TRUE(portal.running()) << portal.error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());
    TForm1 form;
    form.FormCreate();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.CreateNewTab(portal.url("/mini.php?itemid=137").toStdString());
    expectLoaderPlays(*form.activeBrowser(), 320);
    saveShot(form, QStringLiteral("portal_loader_game.png"));
}

// Where the file host fails the portal's pages: a host that cannot be
// reached leaves the message that the game file could not be fetched, and
// a host without a policy file has the loader's text refused, which the
// loader sees as a failed load (its square moves to x 100), while the game's
// movie, which needs no policy, still plays in it.
TEST(GamePlay, AFailingFileHostIsToldApart) {
    ProgramFolderGuard guard;
    TestHttpServer files; // no /crossdomain.xml
    const quint16 closedPort = freeLoopbackPort();
    const struct {
        const char* name;
        QString fileHost;
        int game;
    } cases[] = {
        {"no server", QStringLiteral("localhost:%1").arg(closedPort), kGameId},
        {"no policy", QStringLiteral("localhost:%1").arg(files.port()), 137},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qputenv("ZORVIA_PORTAL_FILE_HOST", c.fileHost.toUtf8());
        DemoPortal portal;
        qunsetenv("ZORVIA_PORTAL_FILE_HOST");
        ASSERT_TRUE(portal.running()) << portal.error().toStdString();
        HttpResponse movie;
        movie.contentType = "application/x-shockwave-flash";
        movie.body = portal.get("/games/bear_coloring.swf");
        files.route("/games/bear_coloring.swf", movie);
        HttpResponse note;
        note.contentType = "text/plain";
        note.body = "score=1\n";
        files.route("/games/note.txt", note);
        qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());
        TForm1 form;
        form.FormCreate();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.CreateNewTab(portal.url("/mini.php?itemid=" + QString::number(c.game)).toStdString());
        TWebBrowser* browser = form.activeBrowser();
        if (c.game == kGameId) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return evaluate(*browser, "(document.querySelector('.zorvia-flash-message') "
                                              "|| {}).textContent")
                               .toString() ==
                           QStringLiteral("无法播放游戏：无法从游戏文件所在的服务器获取游戏文件。");
                },
                kPlayerTimeoutMs));
            continue;
        }
        expectLoaderPlays(*browser, 120);
        EXPECT_EQ(files.requestCount("/games/note.txt"), 0);
        EXPECT_EQ(files.requestCount("/crossdomain.xml"), 1);
    }
}

// Once the start page has loaded, its renderer compiles the player's module
// in the page's application world; the first game then plays with that
// module (the same build the player takes) in the same renderer.
TEST(GamePlay, TheStartPageCompilesThePlayersModuleForTheFirstGame) {
    ProgramFolderGuard guard;
    DemoPortal portal;
    ASSERT_TRUE(portal.running()) << portal.error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());
    TForm1 form;
    form.FormCreate();
    form.show();
    auto* start = form.findChild<TWebBrowser*>(QStringLiteral("WebBrowser1"));
    ASSERT_TRUE(start);
    const QString record = QStringLiteral("(function () { var r = window.__zorviaPlayerModule;"
                                          "  return r && r.module instanceof WebAssembly.Module ?"
                                          "    r.url : r ? 'waiting' : 'none'; })()");
    QString warmed;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            warmed =
                evaluate(*start->page(), record, QWebEngineScript::ApplicationWorld).toString();
            return warmed.endsWith(QLatin1String(".wasm"));
        },
        kPlayerTimeoutMs))
        << warmed.toStdString();
    EXPECT_EQ(evaluate(*start, "typeof window.__zorviaPlayerModule").toString(), "undefined");

    form.CreateNewTab(portal.url("/mini.php?itemid=" + QString::number(kGameId)).toStdString());
    TWebBrowser* game = form.activeBrowser();
    QRect stage;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !(stage = playerRect(*game)).isEmpty(); }, kPlayerTimeoutMs));
    EXPECT_TRUE(framesAdvance(*game->view(), stage));
    EXPECT_EQ(grabPixel(*game->view(), stage.topLeft() + QPoint(3, 3)), kStage);
    EXPECT_EQ(evaluate(*game, "performance.getEntriesByType('resource').map(e => e.name)"
                              ".filter(n => /\\.wasm$/.test(n)).join()")
                  .toString(),
              warmed);
    EXPECT_EQ(game->view()->page()->renderProcessPid(), start->view()->page()->renderProcessPid());
}

} // namespace
} // namespace zorvia::test
