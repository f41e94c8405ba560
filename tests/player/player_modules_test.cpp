// Which build of the player's module its loader takes, read from the
// loader's text.
#include "player/player_modules.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zorvia::player {
namespace {

// Pieces of a loader: the two file modules, the tests, the choice.
constexpr char kFiles[] = R"(124(e,n,a){e.exports=a.p+"plain1.wasm"},)"
                          R"(797(e,n,a){e.exports=a.p+"ext-2.wasm"})";
constexpr char kTests[] = "const t1=async()=>WebAssembly.validate(new Uint8Array([0,97,115])),"
                          "t2=async()=>WebAssembly.validate(new Uint8Array([ 1, 2,255 ]));";
constexpr char kChoice[] = "const s=n?new URL(a(797),a.b):new URL(a(124),a.b),l=await fetch(s)";

TEST(PlayerModulesTest, TheChoiceComesFromTheLoadersTextOrNotAtAll) {
    const QList<QList<int>> tests{{0, 97, 115}, {1, 2, 255}};
    const struct {
        const char* name;
        QByteArray loader;
        QString extended; // empty: no choice
        QString plain;
    } cases[] = {
        {"methods", QByteArray(kFiles) + kTests + kChoice, "ext-2.wasm", "plain1.wasm"},
        {"arrow functions and spaces",
         QByteArray(R"(124: (e, n, a) => { e.exports = a.p + "plain1.wasm" },)"
                    R"(797:function(e,n,a){e.exports=a.p+"ext-2.wasm"})") +
             kTests + "s = ok ? new URL(a(797), a.b) : new URL(a(124), a.b)",
         "ext-2.wasm", "plain1.wasm"},
        {"negated condition",
         QByteArray(kFiles) + kTests + "s=!n?new URL(a(124),a.b):new URL(a(797),a.b)", "ext-2.wasm",
         "plain1.wasm"},
        {"no choice", QByteArray(kFiles) + kTests, {}, {}},
        {"choice of an unknown module",
         QByteArray(kFiles) + kTests + "s=n?new URL(a(798),a.b):new URL(a(124),a.b)",
         {},
         {}},
        {"one build twice",
         QByteArray(kFiles) + kTests + "s=n?new URL(a(124),a.b):new URL(a(124),a.b)",
         {},
         {}},
        {"no tests", QByteArray(kFiles) + kChoice, {}, {}},
        {"a test byte out of range",
         QByteArray(kFiles) + "WebAssembly.validate(new Uint8Array([0,256]))" + kChoice,
         {},
         {}},
        {"not a loader", "<html>Not found</html>", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto choice = playerModuleChoice(c.loader);
        ASSERT_EQ(choice.has_value(), !c.extended.isEmpty());
        if (!choice)
            continue;
        EXPECT_EQ(choice->extended, c.extended);
        EXPECT_EQ(choice->plain, c.plain);
        EXPECT_EQ(choice->featureTests, tests);
    }
}

// The shipped player (tests run in the program folder): an update of the
// player that hides its choice from playerModuleChoice fails here.
TEST(PlayerModulesTest, TheShippedLoaderNamesBothOfItsModules) {
    QFile loader(QStringLiteral("player/ruffle.js"));
    ASSERT_TRUE(loader.open(QIODevice::ReadOnly)) << "the player is missing: run scripts/deps.sh";
    const auto choice = playerModuleChoice(loader.readAll());
    ASSERT_TRUE(choice.has_value());
    EXPECT_TRUE(QFile::exists(QDir(QStringLiteral("player")).filePath(choice->extended)));
    EXPECT_TRUE(QFile::exists(QDir(QStringLiteral("player")).filePath(choice->plain)));
    EXPECT_FALSE(choice->featureTests.isEmpty());
}

} // namespace
} // namespace zorvia::player
