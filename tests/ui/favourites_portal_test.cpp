// The favourites against the demo portal: logging in and out in the side
// panel, adding the game of a tab, deleting a favourite.
#include "browser/web_browser.h"
#include "support/demo_portal.h"
#include "support/find_child.h"
#include "support/modal.h"
#include "support/qt_print.h"
#include "ui/kit/list_box.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include <QAction>
#include <memory>

using zorvia::test::child;

using namespace zorvia;

namespace {

QString pageElementText(const TWebBrowser* browser, const char* name) {
    const auto element = GetPageElement(browser->Document(), name);
    return element ? element->innerText() : QString();
}

// Runs a script in the page and waits (bounded) for its result.
QVariant runScript(TWebBrowser* browser, const QString& script) {
    QVariant result;
    bool done = false;
    browser->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    QTest::qWaitFor([&] { return done; }, 10000);
    return result;
}

QStringList itemTexts(const ui::TListBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

class FavouritesOnPortal : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(portal.running()) << portal.error().toStdString();
        qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());
        form = std::make_unique<TForm1>();
        form->FormCreate();
        // Counts the side panel's completed pages once the window's handler
        // has run on them.
        auto handler = child<TWebBrowser>(form, "WebBrowser3")->OnDocumentComplete;
        child<TWebBrowser>(form, "WebBrowser3")->OnDocumentComplete =
            [this, handler](TWebBrowser* sender, const BrowserApplication& pDisp,
                            const QString& url) {
                handler(sender, pDisp, url);
                ++panelPages;
            };
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // Waits for the side panel to complete a page reporting `state`.
    bool panelReports(const QString& state) {
        return QTest::qWaitFor(
                   [&] {
                       return panelPages > seenPages &&
                              pageElementText(child<TWebBrowser>(form, "WebBrowser3"),
                                              "loginflag") == state;
                   },
                   30000) &&
               (seenPages = panelPages, true);
    }

    // Opens game `id` in a tab and waits until the probe has enabled the
    // favourites button.
    bool openGame(int id) {
        form->CreateNewTab(ui::fromQ(portal.url(QString("/mini.php?itemid=%1").arg(id))));
        TWebBrowser* browser = form->activeBrowser();
        return QTest::qWaitFor(
            [&] {
                return GetPageElement(browser->Document(), "gameid").has_value() &&
                       child<QPushButton>(form, "Button_favor")->isEnabled();
            },
            30000);
    }

    void screenshot(const QString& name) {
        const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
        QDir().mkpath(dir);
        EXPECT_TRUE(form->grab().save(dir + "/" + name));
    }

    DemoPortal portal;
    std::unique_ptr<TForm1> form;
    int panelPages = 0;
    int seenPages = 0;
};

TEST_F(FavouritesOnPortal, LoginAddDeleteLogout) {
    ModalCloser closer;
    child<QPushButton>(form, "Button3")->click();
    ASSERT_TRUE(panelReports("form"));
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 0);

    // Not logged in: the portal answers USER and the panel's user name
    // field gets the focus.
    ASSERT_TRUE(openGame(101));
    QTest::mouseClick(child<QPushButton>(form, "Button_favor"), Qt::LeftButton);
    ASSERT_EQ(closer.texts(),
              QStringList{QStringLiteral("收藏功能需要会员登录后才能使用，请先登录或注册")});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return runScript(child<TWebBrowser>(form, "WebBrowser3"), "document.activeElement.id")
                       .toString() == "username";
        },
        10000));
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 0);

    // Log in in the panel: its page now reports "login" and the list is
    // fetched (empty for a new account).
    runScript(child<TWebBrowser>(form, "WebBrowser3"),
              "document.getElementById('username').value = 'demo';"
              "document.getElementById('password').value = 'demo123';"
              "document.forms[0].submit();");
    ASSERT_TRUE(panelReports("login"));
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 0);

    // Add the game of the active tab, then again.
    QTest::mouseClick(child<QPushButton>(form, "Button_favor"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(form, "Button_favor"), Qt::LeftButton);
    EXPECT_EQ(closer.texts().mid(1), (QStringList{QStringLiteral("收藏成功"),
                                                  QStringLiteral("该游戏已经收藏在您的列表中")}));
    ASSERT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 1);
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->item(0)->text(),
              form->activeBrowser()->Document()->title());
    EXPECT_EQ(ui::toQ(child<ui::TListBox>(form, "ListBox3")->link(0)),
              portal.url("/mini.php?itemid=101"));

    ASSERT_TRUE(openGame(102));
    QTest::mouseClick(child<QPushButton>(form, "Button_favor"), Qt::LeftButton);
    ASSERT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 2);

    // The panel's next page brings the portal's list: names of the games.
    child<TWebBrowser>(form, "WebBrowser3")->Refresh();
    ASSERT_TRUE(panelReports("login"));
    ASSERT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 2);
    EXPECT_EQ(ui::toQ(child<ui::TListBox>(form, "ListBox3")->link(0)),
              portal.url("/mini.php?itemid=101"));
    EXPECT_EQ(ui::toQ(child<ui::TListBox>(form, "ListBox3")->link(1)),
              portal.url("/mini.php?itemid=102"));
    // The names of games 101 and 102 in the demo catalogue.
    const QStringList names = {QStringLiteral("2048 数字合并"), QStringLiteral("连连看 经典版")};
    EXPECT_EQ(itemTexts(child<ui::TListBox>(form, "ListBox3")), names);
    EXPECT_TRUE(child<ui::TListBox>(form, "ListBox3")->isVisible());
    screenshot("favourites_logged_in.png");

    // Delete the first one through its menu.
    const QPoint first = child<ui::TListBox>(form, "ListBox3")
                             ->visualItemRect(child<ui::TListBox>(form, "ListBox3")->item(0))
                             .center();
    QTest::mouseClick(child<ui::TListBox>(form, "ListBox3")->viewport(), Qt::RightButton, {},
                      first);
    ASSERT_TRUE(child<QMenu>(form, "PopupMenu2")->isVisible());
    EXPECT_EQ(child<QMenu>(form, "PopupMenu2")->actions(),
              QList<QAction*>{child<QAction>(form, "N2")});
    EXPECT_EQ(child<QAction>(form, "N2")->text(), QStringLiteral("删除"));
    EXPECT_TRUE(
        child<QMenu>(form, "PopupMenu2")
            ->grab()
            .save(QCoreApplication::applicationDirPath() + "/../screenshots/favourites_menu.png"));
    child<QMenu>(form, "PopupMenu2")->hide();
    child<QAction>(form, "N2")->trigger();
    EXPECT_EQ(closer.texts().last(), QStringLiteral("删除成功"));
    EXPECT_EQ(itemTexts(child<ui::TListBox>(form, "ListBox3")), names.mid(1));

    // The portal forgot it too.
    child<TWebBrowser>(form, "WebBrowser3")->Refresh();
    ASSERT_TRUE(panelReports("login"));
    EXPECT_EQ(itemTexts(child<ui::TListBox>(form, "ListBox3")), names.mid(1));

    // Logging out empties the list.
    runScript(child<TWebBrowser>(form, "WebBrowser3"),
              "document.querySelector('a[href*=logout]').click();");
    ASSERT_TRUE(panelReports("form"));
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox3")->count(), 0);
}

} // namespace
