// The scheme that serves the game box's Flash player to pages.
#include "player/player_scheme.h"
#include "support/browser_test_support.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

TEST(PlayerSchemeTest, ServesTheFlatScriptsAndModulesOfThePlayerFolderOnly) {
    const QStringList modules =
        QDir(player::playerFolder()).entryList({QStringLiteral("*.wasm")}, QDir::Files);
    ASSERT_FALSE(modules.isEmpty()) << player::playerFolder().toStdString();
    const struct {
        const char* label;
        QString url;
        QString outcome; // the content type, or "failed"
    } cases[] = {
        {"the player's script", "zorvia-player://player/ruffle.js", "text/javascript"},
        {"a module of the player", "zorvia-player://player/" + modules.first(), "application/wasm"},
        {"another host", "zorvia-player://elsewhere/ruffle.js", "failed"},
        {"a sub-folder", "zorvia-player://player/sub/ruffle.js", "failed"},
        {"an escaped parent folder", "zorvia-player://player/..%2Fplayer%2Fruffle.js", "failed"},
        {"a file that is not a script or module", "zorvia-player://player/LICENSE_MIT", "failed"},
        {"a hidden name", "zorvia-player://player/.ruffle.js", "failed"},
        {"a missing file", "zorvia-player://player/missing.js", "failed"},
    };
    TestHttpServer server;
    server.page("/page", "<!doctype html><title>page</title>");
    QWidget window;
    auto* browser = new TWebBrowser(&window);
    browser->setAlignClient(true);
    window.show();
    BrowserEvents events(*browser);
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/page")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        // The page asks as the player does, by XMLHttpRequest.
        EXPECT_EQ(requestOutcome(*browser, c.url), c.outcome);
    }
}

} // namespace
} // namespace zorvia::test
