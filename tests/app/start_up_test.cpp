// The game box as a process: start-up paths that end the program.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// Window ids of mapped windows whose title is exactly `title`.
QStringList windowsNamed(const QString& title) {
    const QString out = run("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"});
    return out.isEmpty() ? QStringList() : out.split('\n');
}

TEST(StartUp, MissingDatabaseShowsTheMessageAndEnds) {
    // A program folder with the game box but without its database.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString exe = folder.filePath("zorvia");
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/zorvia", exe));
    QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);

    QProcess game;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("ZORVIA_SITE_HOST", "127.0.0.1:9");
    env.insert("XDG_DATA_HOME", folder.filePath("data"));
    game.setProcessEnvironment(env);
    game.start(exe, {});
    ASSERT_TRUE(game.waitForStarted(10000));

    QStringList boxes;
    QElapsedTimer clock;
    clock.start();
    while (boxes.isEmpty() && clock.elapsed() < 30000 && game.state() == QProcess::Running) {
        QTest::qWait(200);
        boxes = windowsNamed(QStringLiteral("提示"));
    }
    ASSERT_EQ(boxes.size(), 1) << "no message box appeared";
    // The main window is not shown on this path.
    EXPECT_TRUE(windowsNamed(QStringLiteral("Zorvia游戏盒子")).isEmpty());

    const QString shots = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(shots);
    run("import", {"-window", boxes[0], shots + "/missing_database.png"});

    // Close the box with Enter: its OK button is the default button.
    run("xdotool", {"windowfocus", "--sync", boxes[0]});
    run("xdotool", {"key", "Return"});
    ASSERT_TRUE(game.waitForFinished(20000)) << "the program did not end";
    EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.exitCode(), 0);
    EXPECT_TRUE(windowsNamed(QStringLiteral("提示")).isEmpty());
}

} // namespace
