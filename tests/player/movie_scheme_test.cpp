// The scheme under which local movies play.
#include "player/movie_page.h"
#include "player/movie_scheme.h"
#include "support/browser_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

TEST(MovieSchemeTest, AddressesStandForTheirFileWhateverItsName) {
    for (const char* path : {"/tmp/game.swf", "/home/张三/我的 游戏/大冒险.SWF",
                             "/tmp/a#b?c%41 d/e's.swf", "/tmp/50%.swf"}) {
        SCOPED_TRACE(path);
        const QUrl file = QUrl::fromLocalFile(QString::fromUtf8(path));
        const QUrl page = player::moviePageAddress(file);
        EXPECT_EQ(page.scheme(), QLatin1String(player::kMovieScheme));
        EXPECT_EQ(player::fileAddress(page), file);
        EXPECT_EQ(player::fileAddress(page).toLocalFile(), QString::fromUtf8(path));
    }
    const QUrl other(QStringLiteral("http://example.com/a.swf"));
    EXPECT_EQ(player::fileAddress(other), other);
}

TEST(MovieSchemeTest, ServesTheMoviesFolderToLocalMoviesOnlyAndNeverToTheNetwork) {
    QTemporaryDir folder;
    const QDir games(folder.path() + QStringLiteral("/我的 游戏"));
    ASSERT_TRUE(games.mkpath(QStringLiteral("sub")));
    for (const QString& path : {games.filePath(QStringLiteral("game.swf")),
                                games.filePath(QStringLiteral("sub/level.xml")),
                                folder.filePath(QStringLiteral("secret.txt"))}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("FWS") == 3);
    }
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("secret.txt")),
                            games.filePath(QStringLiteral("link.txt"))));
    player::setLocalMovieFolder(games.path());
    const QUrl movie = QUrl::fromLocalFile(games.filePath(QStringLiteral("game.swf")));
    const QString base = player::moviePageAddress(movie)
                             .adjusted(QUrl::RemoveQuery | QUrl::RemoveFilename)
                             .toString();
    const QString outside = player::moviePageAddress(QUrl::fromLocalFile(folder.path()))
                                .adjusted(QUrl::RemoveQuery)
                                .toString();
    const struct {
        const char* label;
        QString url;
        QString outcome;
    } cases[] = {
        {"the movie", base + "game.swf", "application/x-shockwave-flash"},
        {"a file in a folder beside it", base + "sub/level.xml", "application/octet-stream"},
        {"the host page of another movie", base + "game.swf?page", "text/html; charset=utf-8"},
        {"a page for a file that is no movie", base + "sub/level.xml?page", "failed"},
        {"a folder", base + "sub", "failed"},
        {"a missing file", base + "missing.swf", "failed"},
        {"another host", "zorvia-movie://elsewhere" + movie.path(QUrl::FullyEncoded), "failed"},
        {"a file outside the folder", outside + "/secret.txt", "failed"},
        {"the same by \"..\"", base + "../secret.txt", "failed"},
        {"a link to it inside the folder", base + "link.txt", "failed"},
        {"the same as a file address",
         QUrl::fromLocalFile(folder.filePath("secret.txt")).toString(), "failed"},
        {"a file of the movies' folder as a file address", movie.toString(), "failed"},
        {"a system file", "file:///etc/hostname", "failed"},
    };
    QWidget window;
    auto* browser = new TWebBrowser(&window);
    browser->setAlignClient(true);
    window.show();
    BrowserEvents events(*browser);
    ASSERT_TRUE(navigateAndWait(*browser, events, movie.toLocalFile()));
    EXPECT_EQ(browser->LocationURL(), movie.toString(QUrl::FullyEncoded));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(requestOutcome(*browser, c.url), c.outcome);
    }

    // A page from the network cannot read the disk through the scheme.
    TestHttpServer server;
    server.page("/page", "<!doctype html><title>page</title>");
    ASSERT_TRUE(navigateAndWait(*browser, events, server.url("/page")));
    EXPECT_EQ(requestOutcome(*browser, base + "game.swf"), QStringLiteral("failed"));

    // A page of the disk reads no other file and asks the network nothing.
    const QString page = folder.filePath(QStringLiteral("page.html"));
    QFile pageFile(page);
    ASSERT_TRUE(pageFile.open(QIODevice::WriteOnly) && pageFile.write("<title>page</title>") > 0);
    pageFile.close();
    ASSERT_TRUE(navigateAndWait(*browser, events, page));
    const int asked = server.requestCount("/page");
    EXPECT_EQ(
        requestOutcome(*browser, QUrl::fromLocalFile(folder.filePath("secret.txt")).toString()),
        QStringLiteral("failed"));
    EXPECT_EQ(requestOutcome(*browser, server.url("/page")), QStringLiteral("failed"));
    EXPECT_EQ(server.requestCount("/page"), asked);
}

} // namespace
} // namespace zorvia::test
