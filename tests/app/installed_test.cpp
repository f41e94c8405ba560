// The game box as an installed program and as a single instance: processes
// started from an install prefix or a program folder, their windows found
// through the X server.
#include "app/game_process.h"
#include "platform/single_instance.h"
#include "support/qt_print.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include <signal.h>
#include <unistd.h>

namespace zorvia::test {
namespace {

TEST(Installed, RunsWithItsDataInTheUsersFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString prefix = root.filePath("prefix");
    int code = -1;
    const QString log = output("cmake", {"--install", ZORVIA_BUILD_DIR, "--prefix", prefix}, &code);
    ASSERT_EQ(code, 0) << log.toStdString();

    for (const char* file :
         {"bin/zorvia", "lib/zorvia/zorvia", "lib/zorvia/iInter.dll",
          "share/applications/zorvia.desktop", "share/icons/hicolor/16x16/apps/zorvia.png",
          "share/icons/hicolor/48x48/apps/zorvia.png",
          "share/icons/hicolor/256x256/apps/zorvia.png"})
        EXPECT_TRUE(QFileInfo::exists(prefix + "/" + file)) << file;
    EXPECT_EQ(QImage(prefix + "/share/icons/hicolor/48x48/apps/zorvia.png").size(), QSize(48, 48));
    QFile desktop(prefix + "/share/applications/zorvia.desktop");
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(desktop.readAll());
    EXPECT_TRUE(entry.contains("\nName=" + kTitle + "\n"));
    EXPECT_TRUE(entry.contains("\nCategories=Game;\n"));
    EXPECT_TRUE(entry.contains("\nExec=zorvia\n"));

    // Run by the user who installed it, root included: the program folder
    // can be written, yet an installed copy keeps its data per user.
    const QString home = root.filePath("home");
    ASSERT_TRUE(QDir().mkpath(home));
    GameBox game(prefix + "/bin/zorvia", {}, gameEnvironment(home));
    ASSERT_TRUE(game.process().waitForStarted(10000));
    ASSERT_TRUE(game.showsWindow()) << "the installed game box showed no main window";

    const QString data = home + "/data/Zorvia/" + kTitle;
    EXPECT_TRUE(QFileInfo(data + "/flash").isDir());
    EXPECT_EQ(output("sqlite3", {data + "/wendora.db", "select count(*) from iflash"}), "0");
    EXPECT_FALSE(QFileInfo::exists(prefix + "/lib/zorvia/wendora.db"));
    EXPECT_FALSE(QFileInfo::exists(prefix + "/lib/zorvia/flash"));
}

TEST(SingleInstance, SecondStartRaisesTheFirstAndEnds) {
    ProgramFolderCopy folder;
    ASSERT_TRUE(folder.isValid());
    const QString exe = folder.executable();
    const auto env = gameEnvironment(folder.home());

    GameBox first(exe, {}, env);
    ASSERT_TRUE(first.showsWindow());
    // Hidden by the boss key, then started again.
    output("xdotool", {"key", "--clearmodifiers", "ctrl+d"});
    ASSERT_TRUE(waitFor([&] { return windowsOf(first.pid()).isEmpty(); }, 5000));
    {
        GameBox second(exe, {}, env);
        ASSERT_TRUE(second.process().waitForFinished(30000)) << "the second start did not end";
        EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.process().exitCode(), 0);
    }
    EXPECT_TRUE(waitFor([&] { return !windowsOf(first.pid()).isEmpty(); }, 10000))
        << "the running game box did not come back";

    // After a crash the lock it leaves behind does not block a new start.
    ::kill(static_cast<pid_t>(first.pid()), SIGKILL);
    first.process().waitForFinished(5000);
    GameBox third(exe, {}, env);
    EXPECT_TRUE(third.showsWindow());
}

TEST(SingleInstance, LockEndsWithItsOwnerAndLeavesNothingThatBlocks) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    auto first = std::make_unique<platform::SingleInstance>(data.path());
    ASSERT_TRUE(first->claim());
    EXPECT_FALSE(platform::SingleInstance(data.path()).claim()) << "a second owner";
    QTemporaryDir other;
    EXPECT_TRUE(platform::SingleInstance(other.path()).claim()) << "another data folder";
    first.reset();
    // The lock file stays behind; only its owner's lock counted.
    EXPECT_TRUE(platform::SingleInstance(data.path()).claim());

    // A process started by the owner does not keep the lock once the owner
    // has ended.
    first = std::make_unique<platform::SingleInstance>(data.path());
    ASSERT_TRUE(first->claim());
    QProcess child;
    child.start("sleep", {"60"});
    ASSERT_TRUE(child.waitForStarted()); // it runs the new program by now
    first.reset();
    EXPECT_TRUE(platform::SingleInstance(data.path()).claim()) << "the child kept the lock";
    child.kill();
    child.waitForFinished();

    // Where no lock file can be made, every start runs.
    const QByteArray tmp = qgetenv("TMPDIR");
    // A file where the temporary folder should be.
    QFile notAFolder(data.filePath("file"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    qputenv("TMPDIR", notAFolder.fileName().toUtf8());
    platform::SingleInstance unlocked(data.path());
    EXPECT_TRUE(unlocked.claim());
    EXPECT_TRUE(platform::SingleInstance(data.path()).claim());
    if (tmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", tmp);
}

} // namespace
} // namespace zorvia::test
