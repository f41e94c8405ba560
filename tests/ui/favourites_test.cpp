// Adding and deleting favourites and following the side panel's login
// state, against a scripted portal and small local pages.
#include "browser/web_browser.h"
#include "browser/web_profile.h"
#include "support/find_child.h"
#include "support/modal.h"
#include "support/qt_print.h"
#include "support/script_server.h"
#include "support/test_http_server.h"
#include "text/codepage.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QNetworkCookie>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <gtest/gtest.h>

#include <QAction>
#include <algorithm>
#include <memory>

using zorvia::test::child;

using namespace zorvia;

namespace {

// A portal that answers every query with `body` and records the request.
std::vector<test::Step> answer(const std::string& body) {
    return {test::awaitText("\r\n\r\n"),
            test::send("HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\n"
                       "Content-Length: " +
                       std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body),
            test::close()};
}

std::string firstLine(const std::string& request) {
    return request.substr(0, request.find("\r\n"));
}

class Favourites : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pages.isValid());
        qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
        form = std::make_unique<TForm1>();
        form->FormCreate();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // A local page; returns its path.
    QString writePage(const QString& name, const QString& body) {
        const QString path = pages.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("<!doctype html><meta charset=utf-8>" + body).toUtf8());
        return path;
    }

    // A page served on 127.0.0.1, for a tab (tabs open no local page but a
    // game); returns its address.
    QString servePage(const QByteArray& name, const QString& body) {
        site.page("/" + name, "<!doctype html><meta charset=utf-8>" + body);
        return site.url("/" + QString::fromLatin1(name));
    }

    static bool showsAddress(const TWebBrowser* browser, const QString& url) {
        const auto document = browser->Document();
        return document && document->location() == url;
    }

    static bool shows(const TWebBrowser* browser, const QString& path) {
        const auto document = browser->Document();
        return document && document->location() == QUrl::fromLocalFile(path).toString();
    }

    // A game page with the id 123 open in the active tab.
    void openGamePage() {
        const QString url = servePage("game.html", QStringLiteral("<title>测试游戏</title><span "
                                                                  "id=swfurl>g/x.swf</span><span "
                                                                  "id=gameid>123</span>"));
        form->CreateNewTab(ui::fromQ(url));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return showsAddress(form->activeBrowser(), url); }, 20000));
    }

    void usePortal(const test::ScriptServer& server) {
        SiteHost = "127.0.0.1:" + server.portText();
    }

    test::TestHttpServer site;
    QTemporaryDir pages{QDir::tempPath() + "/zorvia-favourites-XXXXXX"};
    std::unique_ptr<TForm1> form;
};

TEST_F(Favourites, AddingAnswersEachReplyOfThePortal) {
    openGamePage();
    const AnsiString location = ui::fromQ(form->activeBrowser()->LocationURL());
    struct Case {
        const char* reply; // nullptr: the portal cannot be reached
        const char* message;
        bool added;
    };
    const Case cases[] = {
        {"USER", "收藏功能需要会员登录后才能使用，请先登录或注册", false},
        {"NOID", "对不起，你要收藏的游戏不存在或已被删除", false},
        {"EXIST", "该游戏已经收藏在您的列表中", false},
        {"OK", "收藏成功", true},
        {"", "收藏成功", true},       // any other reply is success
        {"exist", "收藏成功", true},  // compared case-sensitively
        {"EXIST ", "收藏成功", true}, // and as a whole
        {nullptr, "网络连接失败，请稍后再试", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply ? c.reply : "(unreachable)");
        child<ui::TListBox>(form, "ListBox3")->clear();
        std::unique_ptr<test::ScriptServer> server;
        if (c.reply) {
            server = std::make_unique<test::ScriptServer>(answer(c.reply));
            usePortal(*server);
        } else {
            SiteHost = "127.0.0.1:" + std::to_string(test::unusedPort());
        }
        ModalCloser closer;
        form->Button_favorClick(child<QPushButton>(form, "Button_favor"));

        ASSERT_EQ(closer.seen().size(), 1);
        EXPECT_EQ(closer.seen().front().caption, QStringLiteral("提示"));
        EXPECT_EQ(closer.seen().front().text, QString::fromUtf8(c.message));
        if (server) {
            EXPECT_EQ(firstLine(server->received()), "GET /mini.php?favadd=123 HTTP/1.1");
        }
        ASSERT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), c.added ? 1 : 0);
        if (c.added) {
            EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->item(0)->text(),
                      QStringLiteral("测试游戏"));
            EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->link(0), location);
        }
    }
}

// The portal's cookie goes into each request while it fits the 256-byte
// buffer of the read (its terminating zero included); a longer one, or
// none, keeps the one sent before.
TEST_F(Favourites, ACookieOf256BytesOrMoreKeepsThePreviousOne) {
    QWebEngineCookieStore* store = browser::sharedProfile()->cookieStore();
    const QUrl portal(QStringLiteral("http://127.0.0.1/"));
    store->deleteAllCookies();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return browser::cookiesForUrl(portal.toString()).empty(); }, 20000));
    SiteCookie.clear();
    // Each header is "zc=" and a value: `size` bytes in all.
    const struct {
        int size;     // 0: the cookie is removed
        int sentSize; // size of the Cookie line's value
    } cases[] = {{255, 255}, {256, 255}, {300, 255}, {10, 10}, {0, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const QNetworkCookie cookie("zc", QByteArray(std::max(c.size - 3, 0), 'v'));
        if (c.size > 0)
            store->setCookie(cookie, portal);
        else
            store->deleteCookie(cookie, portal);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return browser::cookiesForUrl(portal.toString()).size() == std::size_t(c.size); },
            20000));
        test::ScriptServer server(answer("1|A|"));
        usePortal(server);
        EXPECT_EQ(form->GetHttpLine("action=favlist"), "1|A|");
        const std::string want =
            "\r\nCookie: zc=" + std::string(std::size_t(c.sentSize - 3), 'v') + "\r\n";
        EXPECT_NE(server.received().find(want), std::string::npos) << server.received();
    }
}

TEST_F(Favourites, AddingNeedsAGameInTheActiveTab) {
    test::ScriptServer server(answer("OK"));
    usePortal(server);
    ModalCloser closer;
    // The start tab has no document: its portal cannot be reached.
    form->Button_favorClick(child<QPushButton>(form, "Button_favor"));
    // A page without "gameid".
    const QString url = servePage("plain.html", "<title>plain</title><span id=swfurl>x</span>");
    form->CreateNewTab(ui::fromQ(url));
    ASSERT_TRUE(QTest::qWaitFor([&] { return showsAddress(form->activeBrowser(), url); }, 20000));
    form->Button_favorClick(child<QPushButton>(form, "Button_favor"));

    EXPECT_TRUE(closer.seen().isEmpty());
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 0);
    EXPECT_EQ(server.accepted(), 0);
}

TEST_F(Favourites, DeletingSendsTheIdAfterTheLastEqualsSign) {
    struct Case {
        const char* link;
        const char* request; // nullptr: the portal cannot be reached
    };
    const Case cases[] = {
        {"http://h/mini.php?itemid=101", "GET /mini.php?favdel=101 HTTP/1.1"},
        {"http://h/a=b?itemid=7", "GET /mini.php?favdel=7 HTTP/1.1"},
        {"no-equals-sign", "GET /mini.php?favdel=no-equals-sign HTTP/1.1"},
        {"http://h/mini.php?itemid=", "GET /mini.php?favdel= HTTP/1.1"},
        {"http://h/mini.php?itemid=102", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        child<ui::TListBox>(form, "ListBox3")->clear();
        child<ui::TListBox>(form, "ListBox3")->addItem("keep", "http://h/keep");
        child<ui::TListBox>(form, "ListBox3")->addItem("game", c.link);
        child<ui::TListBox>(form, "ListBox3")->setCurrentRow(1);
        std::unique_ptr<test::ScriptServer> server;
        if (c.request) {
            server = std::make_unique<test::ScriptServer>(answer("OK"));
            usePortal(*server);
        } else {
            SiteHost = "127.0.0.1:" + std::to_string(test::unusedPort());
        }
        ModalCloser closer;
        child<QAction>(form, "N2")->trigger();

        ASSERT_EQ(closer.seen().size(), 1);
        if (server) {
            EXPECT_EQ(firstLine(server->received()), c.request);
            EXPECT_EQ(closer.seen().front().text, QStringLiteral("删除成功"));
            ASSERT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 1);
        } else {
            EXPECT_EQ(closer.seen().front().text, QStringLiteral("网络连接失败，请稍后再试"));
            ASSERT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 2);
            EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->link(1), c.link);
        }
        EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->link(0), "http://h/keep");
    }

    // Without a selection there is nothing to delete.
    test::ScriptServer server(answer("OK"));
    usePortal(server);
    child<ui::TListBox>(form, "ListBox3")->clearSelection();
    ModalCloser closer;
    child<QAction>(form, "N2")->trigger();
    EXPECT_TRUE(closer.seen().isEmpty());
    EXPECT_EQ(server.accepted(), 0);
}

TEST_F(Favourites, PanelLoginMarkerFillsOrClearsTheList) {
    struct Case {
        const char* name;
        QString marker; // the loginflag element, or none
        QStringList want;
    };
    const Case cases[] = {
        {"logged in",
         "<span id=loginflag hidden>login</span>",
         {"Game A", QStringLiteral("乙游戏")}},
        {"login form", "<span id=loginflag hidden>form</span>", {}},
        {"found by name", "<b name=loginflag>form</b>", {}},
        {"extra spaces", "<span id=loginflag hidden> login </span>", {"keep"}},
        {"upper case", "<span id=loginflag hidden>LOGIN</span>", {"keep"}},
        {"no marker", "<p>nothing</p>", {"keep"}},
    };
    // Counts the side panel's completed documents once the window's own
    // handler has run.
    int completed = 0;
    auto handler = child<TWebBrowser>(form, "WebBrowser3")->OnDocumentComplete;
    child<TWebBrowser>(form, "WebBrowser3")->OnDocumentComplete =
        [&](TWebBrowser* sender, const BrowserApplication& pDisp, const QString& url) {
            handler(sender, pDisp, url);
            ++completed;
        };
    // The first page of the panel, so that each scripted portal below is
    // asked within its time limit.
    const QString first = writePage("first.html", "<p>first</p>");
    child<TWebBrowser>(form, "WebBrowser3")->Navigate(first);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return completed > 0 && shows(child<TWebBrowser>(form, "WebBrowser3"), first); },
        30000));
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptServer server(answer("101|Game A|102|乙游戏|103"));
        usePortal(server);
        child<ui::TListBox>(form, "ListBox3")->clear();
        child<ui::TListBox>(form, "ListBox3")->addItem("keep", "http://h/keep");
        const QString path = writePage(QString("panel%1.html").arg(n++), c.marker);
        const int before = completed;
        child<TWebBrowser>(form, "WebBrowser3")->Navigate(path);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return completed > before && shows(child<TWebBrowser>(form, "WebBrowser3"), path);
            },
            20000));

        QStringList names;
        for (int i = 0; i < child<ui::TListBox>(form, "ListBox3")->count(); ++i)
            names << child<ui::TListBox>(form, "ListBox3")->item(i)->text();
        EXPECT_EQ(names, c.want);
        if (c.want.size() == 2) {
            EXPECT_EQ(firstLine(server.received()), "GET /mini.php?action=favlist HTTP/1.1");
            EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->link(1),
                      "http://" + SiteHost + "/mini.php?itemid=102");
        }
    }
}

} // namespace
