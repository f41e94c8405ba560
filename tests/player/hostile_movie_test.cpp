// Movies of a hostile portal, played as local games, try to carry files of
// the disk off to the network (tests/player/hostile_movies.php writes them).
#include "player/movie_scheme.h"
#include "support/browser_test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace zorvia::test {
namespace {

constexpr char kSecret[] = "ZORVIASECRET";
constexpr char kInside[] = "ZORVIAINSIDE";

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool leaked(const TestHttpServer& server, const char* text) {
    for (const HttpRequest& request : server.requests()) {
        if (QUrl::fromPercentEncoding(request.target).contains(QLatin1String(text)))
            return true;
    }
    return false;
}

TEST(HostileMovieTest, LocalMoviesReadTheirFolderAndReachTheNetworkButNoOtherFile) {
    QTemporaryDir disk;
    const QString flash = disk.path() + QStringLiteral("/flash");
    const QString secret = disk.path() + QStringLiteral("/secret.txt");
    ASSERT_TRUE(QDir().mkpath(flash));
    ASSERT_TRUE(write(secret, QByteArray("o=") + kSecret));
    ASSERT_TRUE(write(flash + QStringLiteral("/inside.txt"), QByteArray("i=") + kInside));
    // A link inside the folder to a file outside it is outside too.
    ASSERT_TRUE(QFile::link(secret, flash + QStringLiteral("/link.txt")));
    TestHttpServer server;
    server.page("/leak", QString());
    server.page("/later", QString());
    QProcess php;
    php.start(QStringLiteral("php"),
              {QStringLiteral(ZORVIA_HOSTILE_MOVIES), QStringLiteral(ZORVIA_PORTAL_DIR), flash,
               server.url("/leak"), secret, QUrl::fromLocalFile(secret).toString(),
               QStringLiteral("link.txt"), QStringLiteral("../secret.txt")});
    ASSERT_TRUE(php.waitForFinished(30000) && php.exitCode() == 0)
        << php.readAllStandardError().toStdString();
    player::setLocalMovieFolder(flash);

    for (const char* movie : {"variables.swf", "on_data.swf", "script.swf"}) {
        SCOPED_TRACE(movie);
        server.clearRequests();
        QWidget window;
        auto* browser = new TWebBrowser(&window);
        browser->setAlignClient(true);
        window.resize(200, 200);
        window.show();
        browser->Navigate(flash + u'/' + QLatin1String(movie));
        // The file beside the movie arrives at the network: the movie ran.
        EXPECT_TRUE(QTest::qWaitFor([&] { return leaked(server, kInside); }, kPlayerTimeoutMs));
        evaluate(*browser, QStringLiteral("fetch('%1'); 0").arg(server.url("/later")));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return server.requestCount("/later") > 0; }, kLoadTimeoutMs));
        EXPECT_FALSE(leaked(server, kSecret));
    }
}

} // namespace
} // namespace zorvia::test
