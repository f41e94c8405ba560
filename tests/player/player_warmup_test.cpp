// The player's module compiled ahead of the first movie in a page's
// application world, out of the page's sight.
#include "player/player_modules.h"
#include "player/player_warmup.h"
#include "support/browser_test_support.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace zorvia::test {
namespace {

// What the warm-up left in the page's application world: "none",
// "compiling", "failed", or the address of the compiled module.
QString warmUpState(QWebEnginePage& page) {
    return evaluate(page,
                    QStringLiteral("(function () { var r = window.%1;"
                                   "  return !r ? 'none' : r.failed ? 'failed' :"
                                   "    r.module instanceof WebAssembly.Module ? r.url : "
                                   "'compiling'; })()")
                        .arg(QLatin1String(player::kWarmUpRecord)),
                    QWebEngineScript::ApplicationWorld)
        .toString();
}

QString settledState(QWebEnginePage& page) {
    QString state;
    (void)QTest::qWaitFor([&] { return (state = warmUpState(page)) != "compiling"; },
                          kPlayerTimeoutMs);
    return state;
}

constexpr char kGlobals[] = "Object.getOwnPropertyNames(window).sort().join()";
constexpr char kRequests[] = "performance.getEntriesByType('resource').map(e => e.name).join()";

TEST(PlayerWarmUpTest, ThePageKeepsTheModuleOutOfItsOwnSightOrFailsSilently) {
    TestHttpServer server;
    server.page("/page", QStringLiteral("<p>start page</p>"));
    const player::PlayerModuleChoice choice{{{0, 97, 115, 109, 1, 0, 0, 0}}, "b.wasm", "a.wasm"};
    const struct {
        const char* name;
        std::function<void(QWebEnginePage&)> warmUp;
        bool compiles;
    } cases[] = {
        {"the game box's player server", [](QWebEnginePage& page) { player::warmUpPlayer(page); },
         true},
        {"a server without the module",
         [&](QWebEnginePage& page) {
             page.runJavaScript(player::warmUpScript(choice, server.url("/none/")),
                                QWebEngineScript::ApplicationWorld);
         },
         false},
    };
    TWebBrowser browser;
    BrowserEvents events(browser);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(navigateAndWait(browser, events, server.url("/page")));
        const QString globals = evaluate(browser, kGlobals).toString();
        c.warmUp(*browser.page());
        const QString state = settledState(*browser.page());
        if (c.compiles)
            EXPECT_TRUE(state.endsWith(".wasm")) << state.toStdString();
        else
            EXPECT_EQ(state, "failed");
        // A second warm-up of the same document starts nothing new.
        c.warmUp(*browser.page());
        EXPECT_EQ(warmUpState(*browser.page()), state);
        // The page's globals are as they were, and its requests do not
        // show the module's.
        EXPECT_EQ(evaluate(browser, kGlobals).toString(), globals);
        EXPECT_EQ(evaluate(browser, kRequests).toString(), "");
        EXPECT_EQ(evaluate(browser, "document.body.textContent").toString(), "start page");
    }
}

TEST(PlayerWarmUpTest, StartsAfterItsDelayAndOnlyWhileStillWanted) {
    TestHttpServer server;
    server.page("/page", QStringLiteral("<p>start page</p>"));
    TWebBrowser browser;
    BrowserEvents events(browser);
    for (const bool wanted : {true, false}) {
        SCOPED_TRACE(wanted ? "still wanted" : "a game opened meanwhile");
        ASSERT_TRUE(navigateAndWait(browser, events, server.url("/page")));
        QElapsedTimer clock;
        clock.start();
        qint64 askedAt = -1;
        player::warmUpPlayerLater(*browser.page(), std::chrono::milliseconds(300), [&] {
            askedAt = clock.elapsed();
            return wanted;
        });
        EXPECT_EQ(warmUpState(*browser.page()), "none");
        ASSERT_TRUE(QTest::qWaitFor([&] { return askedAt >= 0; }, kLoadTimeoutMs));
        EXPECT_GE(askedAt, 300);
        // Scripts run in the order given: a warm-up started would show.
        const QString state = settledState(*browser.page());
        EXPECT_EQ(state.endsWith(".wasm"), wanted) << state.toStdString();
        if (!wanted) {
            EXPECT_EQ(state, "none");
        }
    }
}

// A profile without the game box's player has no server to compile from.
TEST(PlayerWarmUpTest, WithoutThePlayersServerNothingHappens) {
    TestHttpServer server;
    server.page("/page", QStringLiteral("<p>page</p>"));
    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    bool loaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool ok) { loaded = ok; });
    page.load(QUrl(server.url("/page")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, kLoadTimeoutMs));
    player::warmUpPlayer(page);
    // Scripts run in the order given: a warm-up would have left its record.
    EXPECT_EQ(warmUpState(page), "none");
}

} // namespace
} // namespace zorvia::test
