// The game box run from a program folder with a Chinese name, and killed in
// the middle of a download: each runs in a child process of this program,
// started from the folder it is about.
#include "browser/web_browser.h"
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "platform/program_folder.h"
#include "portal/local_store.h"
#include "portal/url_encode.h"
#include "support/browser_test_support.h"
#include "support/child_run.h"
#include "support/find_child.h"
#include "support/modal.h"
#include "support/program_folder_guard.h"
#include "support/script_server.h"
#include "support/test_http_server.h"
#include "text/codepage.h"
#include "text/file_path.h"
#include "ui/down/form2.h"
#include "ui/kit/list_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace zorvia::test {
namespace {

const QByteArray kGame = "星海远征'1'.swf";

QString env(const char* name) {
    return qEnvironmentVariable(name);
}

std::unique_ptr<TForm1> startedForm() {
    auto form = std::make_unique<TForm1>();
    form->FormCreate();
    form->show();
    return form;
}

ui::TListBox* list(const TForm1& form) {
    return child<ui::TListBox>(form, "ListBox2");
}

// Opens `url` in a tab of form and waits until its document is there.
bool openPage(TForm1& form, const QString& url) {
    form.CreateNewTab(url.toStdString());
    return waitForDocumentAt(*form.activeBrowser(), url);
}

// The page of a game whose file has a Chinese name, and the file, under the
// path the game box asks for (code page 936 bytes, percent-encoded).
void servePage(TestHttpServer& pages) {
    HttpResponse file;
    file.contentType = "application/x-shockwave-flash";
    file.body = "FWSab";
    pages.route(QByteArray::fromStdString(
                    portal::encodeRequestTarget("/games/" + text::utf8ToAnsi(kGame.toStdString()))),
                file);
    pages.page("/game", "<title>星海远征</title><span id=swfurl>games/" + QString::fromUtf8(kGame) +
                            "</span><div id=swfhelp>方向键</div>");
}

TEST(ProgramFolder, AChineseNamedFolderWorksEndToEnd) {
    const QString folder = ProgramFolderGuard::folder() + "下载 '目录'/zorvia/";
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    servePage(pages);
    auto child = startChild(folder, "ChildRun.ChineseFolder",
                            {"ZORVIA_CHILD=chinese", "ZORVIA_SITE_HOST=127.0.0.1:9",
                             "ZORVIA_TEST_PAGE=" + pages.url("/game"),
                             "ZORVIA_TEST_PORTAL=127.0.0.1:" + QString::number(pages.port())},
                            false);
    ASSERT_TRUE(waitForChild(*child));
    const QString output = QString::fromUtf8(child->readAll());
    EXPECT_EQ(child->exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    QDir(ProgramFolderGuard::folder() + "下载 '目录'").removeRecursively();
}

TEST(ChildRun, ChineseFolder) {
    if (env("ZORVIA_CHILD") != "chinese")
        GTEST_SKIP() << "runs in the child of ProgramFolder.AChineseNamedFolderWorksEndToEnd";
    EXPECT_NE(text::toFileSystem(platform::programFolder()).find("下载 '目录'/zorvia/"),
              std::string::npos);
    ModalCloser closer;
    const std::unique_ptr<TForm1> form = startedForm();
    ASSERT_TRUE(openPage(*form, env("ZORVIA_TEST_PAGE")));
    SiteHost = env("ZORVIA_TEST_PORTAL").toStdString();
    child<QPushButton>(form, "Button_down")->click();
    ASSERT_NE(Form2, nullptr);
    EXPECT_EQ(Form2->statusText(), QStringLiteral("下载完成"));
    EXPECT_TRUE(closer.texts().isEmpty()) << closer.texts().join('|').toStdString();

    // Recorded, listed under the Chinese folder, stored there.
    const AnsiString name = text::utf8ToAnsi(kGame.toStdString());
    EXPECT_TRUE(portal::localGameRecorded(form->SQLiteDB1, form->SQLiteQuery1, name));
    ASSERT_EQ(list(*form)->count(), 1);
    const AnsiString link = list(*form)->link(0);
    const QString file = ui::pathToQ(link);
    EXPECT_EQ(file, QCoreApplication::applicationDirPath() + "/flash/" + QString::fromUtf8(kGame));
    QFile stored(file);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), "FWSab");

    // Opened in a tab: the tab shows the stored file.
    form->CreateNewTab(link);
    EXPECT_TRUE(waitForDocumentAt(*form->activeBrowser(),
                                  QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)));

    // Deleted: row, item and file.
    list(*form)->setCurrentRow(0);
    child<QAction>(form, "N1")->trigger();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(list(*form)->count(), 0);
    EXPECT_FALSE(portal::localGameRecorded(form->SQLiteDB1, form->SQLiteQuery1, name));
}

// A program folder that becomes read-only while the game box runs: the
// download still goes to the main window's data folder, where its record
// and list item point. From a plain and a Chinese-named folder.
TEST(ProgramFolder, ADownloadGoesToTheMainWindowsDataFolder) {
    for (const QString& name : {QStringLiteral("plain"), QStringLiteral("下载 '目录'")}) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        QFile::setPermissions(root.path(), QFile::permissions(root.path()) | QFileDevice::ExeOther |
                                               QFileDevice::ReadOther);
        const QString home = root.filePath("home");
        ASSERT_TRUE(QDir().mkpath(home));
        TestHttpServer pages;
        ASSERT_TRUE(pages.isListening());
        servePage(pages);
        // The body comes once the child has made its folder writable again.
        ScriptServer portal({awaitText("\r\n\r\n"),
                             send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n"), hold(),
                             send("FWSab")},
                            1, kChildTimeoutMs);
        const QString folder = root.filePath(name) + "/zorvia/";
        QTimer writable;
        QObject::connect(&writable, &QTimer::timeout, [&] {
            // Read-only before the click, so before the request came.
            if (portal.holdsReached() > 0 &&
                QFile::permissions(folder).testFlag(QFileDevice::WriteOwner)) {
                portal.release();
                writable.stop();
            }
        });
        writable.start(20);
        auto child = startChild(
            folder, "ChildRun.ReadOnlyProgramFolder",
            {"ZORVIA_CHILD=readonly", "ZORVIA_SITE_HOST=127.0.0.1:9", "HOME=" + home,
             "XDG_DATA_HOME=" + home + "/data", "XDG_CONFIG_HOME=" + home + "/config",
             "XDG_CACHE_HOME=" + home + "/cache", "ZORVIA_WEBENGINE_DIR=" + home + "/web",
             "ZORVIA_TEST_PAGE=" + pages.url("/game"),
             "ZORVIA_TEST_PORTAL=127.0.0.1:" + QString::number(portal.port())},
            false, root.path());
        ASSERT_TRUE(waitForChild(*child));
        const QString output = QString::fromUtf8(child->readAll());
        EXPECT_EQ(child->exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    }
}

TEST(ChildRun, ReadOnlyProgramFolder) {
    if (env("ZORVIA_CHILD") != "readonly")
        GTEST_SKIP()
            << "runs in the child of ProgramFolder.ADownloadGoesToTheMainWindowsDataFolder";
    ModalCloser closer;
    const std::unique_ptr<TForm1> form = startedForm();
    const AnsiString data = form->dataFolder();
    ASSERT_EQ(data, platform::programFolder());
    ASSERT_TRUE(openPage(*form, env("ZORVIA_TEST_PAGE")));
    SiteHost = env("ZORVIA_TEST_PORTAL").toStdString();

    // Read-only from the click on, writable again once the download runs,
    // so that the record can go in beside the database.
    const QString folder = ui::pathToQ(data);
    const auto writable = QFile::permissions(folder);
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ASSERT_NE(platform::dataFolder(), data) << "the folder is still writable";
    QTimer::singleShot(0, [&] { QFile::setPermissions(folder, writable); });
    child<QPushButton>(form, "Button_down")->click();
    QFile::setPermissions(folder, writable);

    ASSERT_NE(Form2, nullptr);
    EXPECT_EQ(Form2->statusText(), QStringLiteral("下载完成"));
    EXPECT_TRUE(closer.texts().isEmpty()) << closer.texts().join('|').toStdString();
    ASSERT_EQ(list(*form)->count(), 1);
    QFile stored(ui::pathToQ(list(*form)->link(0)));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), "FWSab");
    EXPECT_EQ(ui::pathToQ(list(*form)->link(0)), folder + "flash/" + QString::fromUtf8(kGame));
}

TEST(ProgramFolder, AKillDuringADownloadLeavesNoTrace) {
    ProgramFolderGuard guard;
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    servePage(pages);
    ScriptServer portal(
        {awaitText("\r\n\r\n"),
         send("HTTP/1.1 200 OK\r\nContent-Length: 4000000\r\n\r\n" + std::string(1 << 20, 'z')),
         pause(4000)},
        1, kChildTimeoutMs);
    auto child = startChild(ProgramFolderGuard::folder(), "ChildRun.Download",
                            {"ZORVIA_CHILD=download", "ZORVIA_SITE_HOST=127.0.0.1:9",
                             "ZORVIA_TEST_PAGE=" + pages.url("/game"),
                             "ZORVIA_TEST_PORTAL=127.0.0.1:" + QString::number(portal.port())});
    const QStringList partial = {".zorvia-part-*"};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto files = QDir(ProgramFolderGuard::flashFolder())
                                   .entryInfoList(partial, QDir::Files | QDir::Hidden);
            return !files.isEmpty() && files.first().size() > 0;
        },
        kChildTimeoutMs))
        << child->readAll().toStdString();
    ::kill(pid_t(child->processId()), SIGKILL);
    ASSERT_TRUE(waitForChild(*child));

    // The next start: the database is sound, the game unknown, nothing left.
    const std::unique_ptr<TForm1> form = startedForm();
    {
        portal::StoreSession session(form->SQLiteDB1, form->SQLiteQuery1);
        form->SQLiteQuery1.SQL().SetText("pragma integrity_check");
        form->SQLiteQuery1.Open();
        EXPECT_EQ(form->SQLiteQuery1.Fields(0).AsString(), "ok");
    }
    EXPECT_FALSE(portal::localGameRecorded(form->SQLiteDB1, form->SQLiteQuery1,
                                           text::utf8ToAnsi(kGame.toStdString())));
    EXPECT_EQ(list(*form)->count(), 0);
    const QDir flash(ProgramFolderGuard::flashFolder());
    EXPECT_TRUE(flash.entryList(partial, QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_FALSE(flash.exists(QString::fromUtf8(kGame)));
}

TEST(ChildRun, Download) {
    if (env("ZORVIA_CHILD") != "download")
        GTEST_SKIP() << "runs in the child of ProgramFolder.AKillDuringADownloadLeavesNoTrace";
    const std::unique_ptr<TForm1> form = startedForm();
    ASSERT_TRUE(openPage(*form, env("ZORVIA_TEST_PAGE")));
    SiteHost = env("ZORVIA_TEST_PORTAL").toStdString();
    ModalCloser closer;
    child<QPushButton>(form, "Button_down")->click();
}

} // namespace
} // namespace zorvia::test
