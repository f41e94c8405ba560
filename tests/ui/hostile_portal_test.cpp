// The game box against a hostile portal (scripted replies on loopback), run
// from the program folder and again from a copy of it whose folder name is
// Chinese, with a character whose second byte is 0x5C.
#include "browser/web_browser.h"
#include "player/player_warmup.h"
#include "portal/addresses.h"
#include "portal/local_store.h"
#include "skin/frame_widget.h"
#include "skin/win_skin_form.h"
#include "support/browser_test_support.h"
#include "support/child_run.h"
#include "support/find_child.h"
#include "support/modal.h"
#include "support/program_folder_guard.h"
#include "support/script_server.h"
#include "support/skin_pixels.h"
#include "support/test_http_server.h"
#include "text/codepage.h"
#include "ui/confirm/form3.h"
#include "ui/down/form2.h"
#include "ui/down/progress_delegate.h"
#include "ui/kit/list_box.h"
#include "ui/kit/message_box.h"
#include "ui/kit/page_control.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"
#include "ui/main/tab_caption.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zorvia::test {
namespace {

const std::string kHead = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";

std::string portalOf(const ScriptServer& server) {
    return "127.0.0.1:" + server.portText();
}

// The main window started with no portal to reach; each test points SiteHost
// at its scripted portal afterwards.
std::unique_ptr<TForm1> startedForm() {
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    auto form = std::make_unique<TForm1>();
    form->FormCreate();
    form->show();
    return form;
}

// A game page served by `pages`, whose file is `swfurl`.
QString gamePage(TestHttpServer& pages, const QString& title, const QString& swfurl) {
    pages.page("/game", "<title>" + title + "</title><span id=swfurl>" + swfurl +
                            "</span><div id=swfhelp>help</div>");
    return pages.url("/game");
}

bool openPage(TForm1& form, const QString& url) {
    form.CreateNewTab(url.toStdString());
    return waitForDocumentAt(*form.activeBrowser(), url);
}

QList<ui::TMessageBox*> openBoxes() {
    QList<ui::TMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<ui::TMessageBox*>(w); box && box->isVisible())
            boxes << box;
    return boxes;
}

QByteArray movie() {
    QFile file(ZORVIA_TEST_MOVIE);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(HostilePortal, ALongCategoryListShowsWholeAndOneOverTheLimitNotAtAll) {
    ProgramFolderGuard guard;
    const std::unique_ptr<TForm1> form = startedForm();
    auto* list = child<ui::TListBox>(form, "ListBox1");

    // 16 MB of categories: filled in time linear in their number.
    std::string reply;
    int records = 0;
    while (reply.size() < 16u * 1024u * 1024u) {
        ++records;
        reply += std::to_string(records) + "|分类 " + std::to_string(records) + "|";
    }
    // Over the 32 MiB limit in records that a cut would still show.
    std::string over;
    while (over.size() <= 33u * 1024u * 1024u)
        over += "7|" + std::string(1000, 'a') + "|";

    const struct {
        const char* what;
        const std::string& body;
        int items;
    } cases[] = {{"33 MB", over, 0}, {"16 MB", reply, records}};
    for (const auto& c : cases) {
        ScriptServer portal({awaitText("\r\n\r\n"), send(kHead + c.body)});
        SiteHost = portalOf(portal);
        list->clear();
        // Step 11 of the start-up.
        form->FillListFromReply(form->GetHttpLine("action=catlist"), list, portal::kCategoryPath);
        ASSERT_EQ(list->count(), c.items) << c.what;
    }
    EXPECT_EQ(list->item(records - 1)->text(), "分类 " + QString::number(records));
    EXPECT_EQ(list->link(records - 1),
              "http://" + SiteHost + "/mini.php?catid=" + std::to_string(records));
}

TEST(HostilePortal, AGameWithA5CSecondByteDownloadsPlaysUnderItsTitleAndDeletes) {
    ProgramFolderGuard guard;
    const QByteArray body = movie();
    ASSERT_FALSE(body.isEmpty());
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    // 淺 and 禱 end in 0x5C in code page 936; the space and "#" may not go
    // into a request target as they are.
    const QString name = QStringLiteral("淺禱 #1.swf");
    const QString title = QStringLiteral("淺禱之歌");
    const std::unique_ptr<TForm1> form = startedForm();
    ASSERT_TRUE(openPage(*form, gamePage(pages, title, "games/" + name)));
    ScriptServer portal({awaitText("\r\n\r\n"),
                         send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                              "\r\n\r\n" + body.toStdString())});
    SiteHost = portalOf(portal);
    {
        ModalCloser closer;
        child<QPushButton>(form, "Button_down")->click();
        EXPECT_TRUE(closer.texts().isEmpty()) << closer.texts().join('|').toStdString();
    }
    ASSERT_NE(Form2, nullptr);
    EXPECT_EQ(Form2->statusText(), QStringLiteral("下载完成"));
    const std::string request = portal.received();
    EXPECT_EQ(request.substr(0, request.find("\r\n")),
              "GET /games/%9C%5C%B6%5C%20%231.swf HTTP/1.1");
    const QString file = ProgramFolderGuard::flashFolder() + name;
    QFile stored(file);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), body);
    stored.close();

    // Plays, in a tab captioned with the recorded title.
    auto* local = child<ui::TListBox>(form, "ListBox2");
    ASSERT_EQ(local->count(), 1);
    EXPECT_EQ(local->item(0)->text(), title);
    const AnsiString link = local->link(0);
    EXPECT_EQ(ui::pathToQ(link), file);
    form->CreateNewTab(link);
    TWebBrowser* browser = form->activeBrowser();
    auto* tabs = child<ui::TPageControl>(form, "PageControl2");
    const QString address = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return browser->Document() && browser->Document()->location() == address; },
        kLoadTimeoutMs));
    QWidget* view = browser->view();
    EXPECT_TRUE(framesAdvance(*view, view->rect()));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return tabs->activePage()->caption() == ui::tabCaption(title); }, kLoadTimeoutMs))
        << tabs->activePage()->caption().toStdString();

    // Deleted: row, item and file.
    local->setCurrentRow(0);
    {
        ModalCloser closer;
        child<QAction>(form, "N1")->trigger();
    }
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(local->count(), 0);
    EXPECT_FALSE(portal::localGameRecorded(form->SQLiteDB1, form->SQLiteQuery1, ui::fromQ(name)));
}

TEST(HostilePortal, ARunningDownloadWaitsForNoBox) {
    ProgramFolderGuard guard;
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    const std::unique_ptr<TForm1> form = startedForm();
    ASSERT_TRUE(openPage(*form, gamePage(pages, "slow", "games/slow.swf")));
    ScriptServer portal(
        {awaitText("\r\n\r\n"),
         send("HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\nFWS" + std::string(997, 'a')), hold(),
         send(std::string(1000, 'b'))});
    SiteHost = portalOf(portal);

    // While the body is on its way: the same game again, and a search that
    // tells the user something.
    TForm2* first = nullptr;
    bool acted = false;
    QStringList closedLate;
    QTimer during;
    during.setInterval(20);
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (acted || !Form2 || !Form2->statusText().contains('/'))
            return;
        acted = true;
        first = Form2;
        first->hide();
        child<QPushButton>(form, "Button_down")->click();
        EXPECT_EQ(Form2, first);
        EXPECT_TRUE(first->isVisible());
        child<QLineEdit>(form, "Edit_key")->clear();
        child<QPushButton>(form, "Button_search")->click();
        // The rest of the body comes once the handlers have returned.
        portal.release();
    });
    during.start();
    // A box that did hold the transfer up is closed in the end, so that the
    // test ends and tells what it saw.
    QTimer late;
    QObject::connect(&late, &QTimer::timeout, [&] {
        late.setInterval(100);
        for (ui::TMessageBox* box : openBoxes()) {
            closedLate << box->text();
            box->okButton()->click();
        }
        portal.release();
    });
    late.start(20000);

    child<QPushButton>(form, "Button_down")->click();
    during.stop();
    late.stop();

    EXPECT_TRUE(acted);
    EXPECT_TRUE(closedLate.isEmpty()) << closedLate.join('|').toStdString();
    EXPECT_EQ(Form2, first);
    EXPECT_EQ(form->findChildren<TForm2*>().size(), 1);
    ASSERT_NE(Form2, nullptr);
    EXPECT_EQ(Form2->statusText(), QStringLiteral("下载完成"));
    // The search's box is still open: the transfer ended without it.
    const QList<ui::TMessageBox*> boxes = openBoxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.front()->text(), QStringLiteral("请输入关键字"));
    boxes.front()->okButton()->click();
    EXPECT_TRUE(QTest::qWaitFor([] { return openBoxes().isEmpty(); }));
}

QWidget* shownMenu(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(w) && w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

TEST(HostilePortal, ARunningDownloadGoesOnUnderTheCloseDialogAndTheWindowMenu) {
    // Each opens while the body is half-way, and "最小化" chosen in it ends it.
    const struct {
        const char* what;
        std::function<void(TForm1&)> open;
        std::function<QWidget*()> shown;
        std::function<void(QWidget&)> minimise;
    } cases[] = {
        {"close dialog", [](TForm1& form) { form.close(); },
         []() -> QWidget* { return Form3 && Form3->isVisible() ? Form3 : nullptr; },
         [](QWidget& dialog) { static_cast<TForm3&>(dialog).Button1->click(); }},
        {"skinned window menu",
         [](TForm1& form) {
             auto* frame =
                 form.findChild<skin::TSkinFrame*>("SkinFrame", Qt::FindDirectChildrenOnly);
             ASSERT_NE(frame, nullptr);
             const QPoint caption(form.width() / 2, skinnerOf(&form)->metrics().top / 2);
             QTest::mousePress(frame, Qt::RightButton, {}, caption);
         },
         [] { return shownMenu("SkinWindowMenu"); },
         [](QWidget& menu) {
             static_cast<QMenu&>(menu).actions().at(1)->trigger();
             menu.close();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolderGuard guard;
        TestHttpServer pages;
        ASSERT_TRUE(pages.isListening());
        const std::unique_ptr<TForm1> form = startedForm();
        ASSERT_TRUE(waitSkinned(form.get()));
        ASSERT_TRUE(openPage(*form, gamePage(pages, "slow", "games/slow.swf")));
        ScriptServer portal(
            {awaitText("\r\n\r\n"),
             send("HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\nFWS" + std::string(997, 'a')),
             hold(), send(std::string(1000, 'b'))});
        SiteHost = portalOf(portal);
        bool opened = false;
        QTimer during;
        during.setInterval(20);
        QObject::connect(&during, &QTimer::timeout, [&] {
            if (opened || !Form2 || !Form2->statusText().contains('/'))
                return;
            opened = true;
            c.open(*form);
            portal.release(); // the rest of the body, once the handler has returned
        });
        during.start();
        // One that did hold the transfer up is ended in the end, so that the
        // test ends and tells what it saw.
        QTimer late;
        late.setSingleShot(true);
        QObject::connect(&late, &QTimer::timeout, [&] {
            if (QWidget* up = c.shown())
                c.minimise(*up);
            portal.release();
        });
        late.start(15000);
        child<QPushButton>(form, "Button_down")->click();
        during.stop();
        late.stop();

        ASSERT_NE(Form2, nullptr);
        EXPECT_EQ(Form2->statusText(), QStringLiteral("下载完成"));
        QWidget* up = c.shown();
        EXPECT_NE(up, nullptr) << "the transfer waited for it";
        if (!up)
            continue;
        c.minimise(*up);
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->isMinimized() || !form->isVisible(); }));
    }
}

// The portal host's server on a thread of its own, so that the main
// window's blocking portal requests are answered while the test waits.
class PortalThread {
public:
    PortalThread() {
        context_.moveToThread(&thread_);
        thread_.start();
        run([this](TestHttpServer&) { server_ = std::make_unique<TestHttpServer>(); });
    }
    ~PortalThread() {
        QMetaObject::invokeMethod(
            &context_, [this] { server_.reset(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    // Runs `work` on the server's thread and waits for it.
    void run(const std::function<void(TestHttpServer&)>& work) {
        QMetaObject::invokeMethod(
            &context_, [&] { work(*server_); }, Qt::BlockingQueuedConnection);
    }

private:
    QThread thread_;
    QObject context_;
    std::unique_ptr<TestHttpServer> server_;
};

TEST(HostilePortal, TheLoginPanelWaitsForTheStartPageWhateverBecomesOfIt) {
    const struct {
        const char* what;
        bool answered;
        bool panelSentElsewhere;
    } cases[] = {
        {"the start page fails", false, false},
        {"the start page comes late", true, false},
        {"the panel is sent elsewhere meanwhile", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolderGuard guard;
        PortalThread portal;
        QString host;
        portal.run([&](TestHttpServer& server) {
            server.hold("/mini.php");
            host = "127.0.0.1:" + QString::number(server.port());
        });
        qputenv("ZORVIA_SITE_HOST", host.toUtf8());
        ModalCloser closer;
        TForm1 form;
        form.FormCreate();
        form.show();
        auto* start = child<TWebBrowser>(form, "WebBrowser1");
        auto* panel = child<TWebBrowser>(form, "WebBrowser3");
        const auto startAsked = [&] {
            bool asked = false;
            portal.run([&](TestHttpServer& server) {
                for (const HttpRequest& request : server.requests())
                    asked = asked || request.target == "/mini.php";
            });
            return asked;
        };
        ASSERT_TRUE(QTest::qWaitFor(startAsked, kLoadTimeoutMs));
        // Only the start page's end sends the panel anywhere.
        EXPECT_TRUE(panel->page()->requestedUrl().isEmpty());
        const QString elsewhere = "http://" + host + "/elsewhere";
        if (c.panelSentElsewhere)
            panel->Navigate(elsewhere);
        // Told after the window, which connected first.
        bool ended = false;
        QObject::connect(start->page(), &QWebEnginePage::loadFinished, [&] { ended = true; });
        portal.run([&](TestHttpServer& server) { server.release("/mini.php", c.answered); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return ended; }, kLoadTimeoutMs));
        EXPECT_EQ(panel->page()->requestedUrl().toString(),
                  c.panelSentElsewhere ? elsewhere : "http://" + host + "/mini.php?action=login");
    }
}

TEST(HostilePortal, OnlyAStartPageOfThePortalHostCompilesThePlayerAhead) {
    const struct {
        const char* what;
        bool redirected; // to the same server under another host name
        QString state;   // what the warm-up left
    } cases[] = {
        {"the portal's start page", false, "module"},
        {"a start page sent to another host", true, "none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolderGuard guard;
        PortalThread portal;
        QString host;
        portal.run([&](TestHttpServer& server) {
            const QString port = QString::number(server.port());
            host = "127.0.0.1:" + port;
            HttpResponse start;
            start.body = "<title>start</title>";
            if (c.redirected) {
                start.status = 302;
                start.headers.append(
                    {"Location", ("http://localhost:" + port + "/other").toUtf8()});
            }
            server.route("/mini.php", start);
            server.page("/other", "<title>other</title>");
        });
        qputenv("ZORVIA_SITE_HOST", host.toUtf8());
        ModalCloser closer;
        TForm1 form;
        bool ended = false;
        form.FormCreate();
        form.show();
        QWebEnginePage& page = *child<TWebBrowser>(form, "WebBrowser1")->page();
        // Two seconds after the start page's end, later than the window's
        // warm-up a second after it.
        QObject::connect(&page, &QWebEnginePage::loadFinished,
                         [&] { QTimer::singleShot(2000, [&] { ended = true; }); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return ended; }, kLoadTimeoutMs));
        // Scripts of a world run in the order given: a warm-up begun shows.
        const QString state =
            QStringLiteral("(function () { var r = window.%1; return !r ? 'none' :"
                           " r.module instanceof WebAssembly.Module ? 'module' :"
                           " r.failed ? 'failed' : ''; })()")
                .arg(QLatin1String(player::kWarmUpRecord));
        QString seen;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                seen = evaluate(page, state, QWebEngineScript::ApplicationWorld).toString();
                return !seen.isEmpty();
            },
            kPlayerTimeoutMs));
        EXPECT_EQ(seen, c.state);
    }
}

TEST(HostilePortal, AFailedDownloadLooksFailed) {
    ProgramFolderGuard guard;
    TestHttpServer pages;
    ASSERT_TRUE(pages.isListening());
    const std::unique_ptr<TForm1> form = startedForm();
    ASSERT_TRUE(openPage(*form, gamePage(pages, "short", "games/short.swf")));
    ScriptServer portal(
        {awaitText("\r\n\r\n"),
         send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(700, 'a'))});
    SiteHost = portalOf(portal);
    QStringList seen;
    {
        ModalCloser closer;
        child<QPushButton>(form, "Button_down")->click();
        seen = closer.texts();
    }
    EXPECT_EQ(seen, QStringList{"Connection Closed Gracefully."});
    ASSERT_NE(Form2, nullptr);
    EXPECT_TRUE(Form2->statusFailed());
    EXPECT_TRUE(Form2->statusText().endsWith("/1000")) << Form2->statusText().toStdString();
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox2")->count(), 0);
    EXPECT_FALSE(QFile::exists(ProgramFolderGuard::flashFolder() + "short.swf"));

    // The cell against the same cell not marked failed: the failed bar is
    // not filled where the other is, and its text is in the failure colour.
    QTreeWidget* view = Form2->ListView1;
    QTreeWidgetItem* row = view->topLevelItem(0);
    const QRect cell = view->visualRect(view->model()->index(0, 1));
    const QPoint filledEnd(cell.left() + 8, cell.center().y());
    const auto grab = [&] {
        view->viewport()->repaint();
        return view->viewport()->grab().toImage();
    };
    const QImage failed = grab();
    bool failureText = false;
    for (int x = cell.left(); x <= cell.right() && !failureText; ++x)
        for (int y = cell.top(); y <= cell.bottom() && !failureText; ++y)
            failureText = failed.pixelColor(x, y) == ui::ProgressDelegate::failureColour();
    EXPECT_TRUE(failureText);
    row->setData(1, ui::ProgressDelegate::kFailedRole, false);
    const QImage running = grab();
    EXPECT_NE(failed.pixelColor(filledEnd), running.pixelColor(filledEnd));
}

TEST(HostilePortal, FromAChineseNamedProgramFolder) {
    if (qEnvironmentVariable("ZORVIA_CHILD") == "hostile")
        GTEST_SKIP() << "the child run itself";
    const QString top = ProgramFolderGuard::folder() + QStringLiteral("游戏 淺禱盒子");
    const QString folder = top + "/zorvia/";
    auto child = startChild(folder, "HostilePortal.*", {"ZORVIA_CHILD=hostile"});
    ASSERT_TRUE(waitForChild(*child));
    const QString output = QString::fromUtf8(child->readAll());
    EXPECT_EQ(child->exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 4 tests")) << output.toStdString();
    QDir(top).removeRecursively();
}

} // namespace
} // namespace zorvia::test
