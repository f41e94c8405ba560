// Game-page probes and the help strip.
#include "support/demo_portal.h"
#include "ui/kit/page_control.h"
#include "ui/main/page_children.h"
#include "ui/workspace_fixture.h"

#include <QDir>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "browser/web_browser.h"
#include "support/find_child.h"
#include <gtest/gtest.h>

using zorvia::test::child;

namespace zorvia::test {
namespace {

QWidget* helpStrip(Workspace& ws) {
    const QList<QWidget*> children =
        ui::childControls(child<ui::TPageControl>(ws.form(), "PageControl2")->activePage());
    return children.size() > 1 ? children.at(1) : nullptr;
}

QPlainTextEdit* helpMemo(QWidget* strip) {
    return strip ? strip->findChild<QPlainTextEdit*>() : nullptr;
}

TEST(GamePageProbe, FinishedLoadsEnableTheButtonsOnGamePagesAndNeverDisable) {
    const struct {
        const char* path;
        QString before;
        QString after;
    } cases[] = {
        {"/a", "000", "000"},     {"/a", "111", "111"},      {"/a", "010", "010"},
        {"/game1", "000", "111"}, {"/nohelp", "000", "111"}, {"/game2", "111", "111"},
    };
    Workspace ws;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + c.before.toStdString());
        ws.setGameButtons(c.before);
        ASSERT_TRUE(ws.load(child<TWebBrowser>(ws.form(), "WebBrowser1"), c.path));
        EXPECT_EQ(ws.gameButtons(), c.after);
    }
}

TEST(GamePageProbe, ABackgroundTabsGamePageEnablesTheButtonsWhoseHandlersUseTheActiveTab) {
    Workspace ws;
    ASSERT_TRUE(ws.load(child<TWebBrowser>(ws.form(), "WebBrowser1"), "/a"));
    ws.form().CreateNewTab(ws.url("/game1").toStdString());
    child<ui::TPageControl>(ws.form(), "PageControl2")->setActivePageIndex(0);
    ASSERT_TRUE(Workspace::waitForDocument(ws.browser(1), ws.url("/game1")));
    EXPECT_EQ(ws.gameButtons(), "111");

    child<QPushButton>(ws.form(), "Button_help")->click();
    EXPECT_EQ(ui::childControls(ws.page(0)).size(), 1);
    EXPECT_EQ(ui::childControls(ws.page(1)).size(), 1);
}

TEST(HelpStrip, ShowsTheRawHelpAtTheBottomHidesAndShowsAgain) {
    Workspace ws;
    ASSERT_TRUE(ws.openTab("/game1"));
    ui::TTabSheet* page = ws.page(1);

    child<QPushButton>(ws.form(), "Button_help")->click();
    QWidget* strip = helpStrip(ws);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(ui::childControls(page).at(0), ws.browser(1));
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(strip->geometry(), QRect(0, page->height() - 60, page->width(), 60));
    QPlainTextEdit* memo = helpMemo(strip);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->geometry(), QRect(0, 0, 700, 58));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->toPlainText(), kGame1Help); // markup shows as text
    auto* close = strip->findChild<QPushButton*>();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("关闭帮助"));
    EXPECT_EQ(close->pos(), QPoint(710, 10));

    close->click();
    EXPECT_FALSE(strip->isVisible());
    child<QPushButton>(ws.form(), "Button_help")->click();
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(ui::childControls(page).size(), 2);

    // The strip keeps its size when the page grows with the left column gone.
    const QRect built = strip->geometry();
    child<QPushButton>(ws.form(), "Button_hide")->click();
    ASSERT_NE(page->width(), built.width());
    EXPECT_EQ(strip->geometry(), built);

    // After the tab moves on to another game the strip shows that game's help.
    ASSERT_TRUE(ws.load(ws.browser(1), "/game2"));
    EXPECT_TRUE(strip->isVisible());
    close->click();
    child<QPushButton>(ws.form(), "Button_help")->click();
    EXPECT_EQ(memo->toPlainText(), kGame2Help);
    EXPECT_EQ(ui::childControls(page).size(), 2);

    // A page without help leaves the strip as it is; the close button only
    // acts on the active tab.
    ASSERT_TRUE(ws.load(ws.browser(1), "/nohelp"));
    child<QPushButton>(ws.form(), "Button_help")->click();
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(memo->toPlainText(), kGame2Help);
    child<ui::TPageControl>(ws.form(), "PageControl2")->setActivePageIndex(0);
    close->click();
    EXPECT_FALSE(strip->isHidden());
}

TEST(HelpStrip, AGamePageWithoutHelpShowsNothing) {
    Workspace ws;
    ASSERT_TRUE(ws.openTab("/nohelp"));
    ASSERT_TRUE(child<QPushButton>(ws.form(), "Button_help")->isEnabled());
    child<QPushButton>(ws.form(), "Button_help")->click();
    EXPECT_EQ(helpStrip(ws), nullptr);
}

TEST(HelpStrip, GamePageOfTheDemoPortal) {
    DemoPortal portal;
    ASSERT_TRUE(portal.running()) << portal.error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());
    TForm1 form;
    form.FormCreate();
    form.show();

    const QString game = portal.url("/mini.php?itemid=101");
    form.CreateNewTab(game.toStdString());
    ASSERT_TRUE(Workspace::waitForDocument(form.activeBrowser(), game));
    EXPECT_TRUE(child<QPushButton>(form, "Button_help")->isEnabled());
    child<QPushButton>(form, "Button_help")->click();
    const QList<QWidget*> children =
        ui::childControls(child<ui::TPageControl>(form, "PageControl2")->activePage());
    ASSERT_EQ(children.size(), 2);
    QPlainTextEdit* memo = helpMemo(children.at(1));
    ASSERT_NE(memo, nullptr);
    // The help of game 101 in the demo catalogue, with its wide space.
    EXPECT_EQ(memo->toPlainText(),
              QStringLiteral("用方向键移动所有方块，相同数字碰在一起会合并。　拼出 2048 "
                             "即为胜利，格子填满则游戏结束。"));
    EXPECT_TRUE(children.at(1)->isVisible());
    const QWidget* page = child<ui::TPageControl>(form, "PageControl2")->activePage();
    EXPECT_EQ(children.at(1)->geometry(), QRect(0, page->height() - 60, page->width(), 60));

    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(form.grab().save(dir + "/game_help.png"));
}

} // namespace
} // namespace zorvia::test
