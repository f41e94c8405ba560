// Playing as a player expects: only the visible game is heard, a hidden or
// minimised window silences and pauses its games, a game tab that becomes
// active again gives the keyboard back to its movie. Movies come from the
// portal's SWF writer (a tone each, a square that moves).
#include "browser/web_browser.h"
#include "support/browser_test_support.h"
#include "support/demo_portal.h"
#include "support/offline_window_test.h"
#include "support/program_folder_guard.h"
#include "support/test_http_server.h"
#include "support/x_input.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <vector>

namespace zorvia::test {
namespace {

// Whether every movie of the page plays (true) or is paused (false); none
// while the page has no started movie.
std::optional<bool> moviesPlay(TWebBrowser& browser) {
    const QVariant state = evaluate(
        browser, QStringLiteral("(function () {"
                                "  var m = document.querySelectorAll('ruffle-object,ruffle-embed,"
                                "ruffle-player');"
                                "  if (!m.length || m[0].isPlaying === undefined) return null;"
                                "  return Array.prototype.every.call(m, function (e) {"
                                "    return e.isPlaying; });"
                                "})()"));
    if (state.isNull() || !state.isValid())
        return std::nullopt;
    return state.toBool();
}

// Heard: audible and not muted.
bool heard(TWebBrowser& browser) {
    return browser.page()->recentlyAudible() && !browser.page()->isAudioMuted();
}

class Play : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
        form = std::make_unique<TForm1>();
        form->FormCreate();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        for (const int hz : {440, 660}) {
            const QString file =
                ProgramFolderGuard::flashFolder() + QStringLiteral("tone_%1.swf").arg(hz);
            ASSERT_TRUE(writeToneMovie(hz, file));
            form->CreateNewTab(file.toStdString());
            games.push_back(form->activeBrowser());
            ASSERT_TRUE(QTest::qWaitFor([&] { return moviesPlay(*games.back()) == true; },
                                        kPlayerTimeoutMs));
        }
    }
    void TearDown() override { form.reset(); }

    ProgramFolderGuard guard;
    std::unique_ptr<TForm1> form;
    std::vector<TWebBrowser*> games;
};

TEST_F(Play, OnlyTheActiveTabIsHeardAndAHiddenWindowSilencesAndPausesEveryGame) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard(*games[1]); }, kLoadTimeoutMs));
    EXPECT_TRUE(games[0]->page()->isAudioMuted());
    auto* tabs = form->findChild<ui::TPageControl*>(QStringLiteral("PageControl2"));
    tabs->setActivePage(qobject_cast<ui::TTabSheet*>(games[0]->parentWidget()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard(*games[0]); }, kLoadTimeoutMs));
    EXPECT_TRUE(games[1]->page()->isAudioMuted());

    const struct {
        const char* way;
        std::function<void(TForm1&)> hide, restore;
    } ways[] = {
        {"boss key", [](TForm1& f) { f.WMHotKey(Qt::ControlModifier, Qt::Key_D); },
         [](TForm1& f) { f.WMHotKey(Qt::ControlModifier, Qt::Key_D); }},
        {"tray menu", [](TForm1& f) { f.N3Click(nullptr); }, [](TForm1& f) { f.N3Click(nullptr); }},
        {"minimise", [](TForm1& f) { f.showMinimized(); }, [](TForm1& f) { f.showNormal(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        way.hide(*form);
        for (TWebBrowser* game : games) {
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return moviesPlay(*game) == false; }, kLoadTimeoutMs));
            EXPECT_TRUE(game->page()->isAudioMuted());
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return !game->page()->recentlyAudible(); }, kLoadTimeoutMs));
        }
        way.restore(*form);
        for (TWebBrowser* game : games)
            EXPECT_TRUE(QTest::qWaitFor([&] { return moviesPlay(*game) == true; }, kLoadTimeoutMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return heard(*games[0]); }, kLoadTimeoutMs));
        EXPECT_TRUE(games[1]->page()->isAudioMuted());
    }
}

bool clickAt(const QPoint& global) {
    return xdotool(
        {"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

TEST_F(Play, AGameTabThatBecomesActiveAgainGivesTheKeyboardBackToItsMovie) {
    auto* tabs = form->findChild<ui::TPageControl*>(QStringLiteral("PageControl2"));
    const auto tabAt = [tabs](int index) {
        const QTabBar* strip = tabs->tabStrip();
        return strip->mapToGlobal(strip->tabRect(index).center());
    };
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), kLoadTimeoutMs));
    TWebBrowser* game = games[1];
    ASSERT_TRUE(QTest::qWaitFor([&] { return game->movieHasFocus(); }, kLoadTimeoutMs));

    const AnsiString path = (ProgramFolderGuard::flashFolder() + "tone_660.swf").toStdString();
    const struct {
        const char* way;
        std::function<bool()> leave, back;
    } ways[] = {
        {"tab strip", [&] { return clickAt(tabAt(0)); }, [&] { return clickAt(tabAt(2)); }},
        {"Ctrl+Tab",
         [] {
             return xdotool({"key", "ctrl+Tab"});
         },
         [] {
             return xdotool({"key", "ctrl+shift+Tab"});
         }},
        {"boss key",
         [&] {
             form->WMHotKey(Qt::ControlModifier, Qt::Key_D);
             return true;
         },
         [&] {
             form->WMHotKey(Qt::ControlModifier, Qt::Key_D);
             return true;
         }},
        // What a click on the game in the left lists does.
        {"open again", [&] { return clickAt(tabAt(1)); },
         [&] {
             form->CreateNewTab(path);
             return true;
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        ASSERT_TRUE(way.leave());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !game->movieHasFocus(); }, kLoadTimeoutMs));
        ASSERT_TRUE(way.back());
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->activeBrowser() == game; }, kLoadTimeoutMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return game->movieHasFocus(); }, kLoadTimeoutMs));
    }
}

// The active game's movie over the whole screen, by key and by the status
// bar's command; Esc leaves. The movie (4:3) fills the screen's width.
TEST_F(Play, F11AndTheStatusBarsCommandShowTheGameFullScreenAndEscLeaves) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), kLoadTimeoutMs));
    TWebBrowser* game = games[1];
    const auto* label = form->findChild<QLabel*>(QStringLiteral("Label_fullScreen"));
    ASSERT_TRUE(label && label->isVisible());
    const QRect screen = form->screen()->geometry();
    const struct {
        const char* way;
        std::function<bool()> enter;
    } ways[] = {
        {"F11",
         [] {
             return xdotool({"key", "F11"});
         }},
        {"status bar", [&] { return clickAt(label->mapToGlobal(label->rect().center())); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        ASSERT_TRUE(way.enter());
        ASSERT_TRUE(QTest::qWaitFor([&] { return game->fullScreenShown(); }, kLoadTimeoutMs));
        QWidget* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("FullScreenWindow") && top->isVisible())
                window = top;
        ASSERT_TRUE(window);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->geometry() == screen; }, kLoadTimeoutMs))
            << window->geometry().width() << "x" << window->geometry().height() << "+"
            << window->geometry().x() << "+" << window->geometry().y();
        // The stage's colour a quarter down the middle, black bars above and below.
        EXPECT_TRUE(waitForColour(*window, {screen.width() / 2, screen.height() / 4},
                                  qRgb(0x20, 0x30, 0x40)));
        EXPECT_TRUE(waitForColour(*window, {screen.width() / 2, 4}, qRgb(0, 0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window, kLoadTimeoutMs));
        ASSERT_TRUE(xdotool({"key", "Escape"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !game->fullScreenShown(); }, kLoadTimeoutMs));
        // The game plays in its tab again, at the tab's size.
        const QSize view = game->view()->size();
        EXPECT_TRUE(waitForColour(*game->view(), {view.width() / 2, view.height() / 4},
                                  qRgb(0x20, 0x30, 0x40)));
        EXPECT_EQ(moviesPlay(*game), true);
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), kLoadTimeoutMs));
    }
}

// A page's own request for the whole screen (as the player makes it for a
// movie whose page allows it) is granted; Esc leaves.
TEST(FullScreenRequest, APagesRequestIsGrantedAndEscLeaves) {
    TestHttpServer server;
    server.page("/asks", QStringLiteral("<!doctype html><body style='margin:0'>"
                                        "<div id=stage style='width:320px;height:240px;"
                                        "background:#203040' onclick='this.requestFullscreen()'>"));
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    TForm1 form;
    form.FormCreate();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, kLoadTimeoutMs));
    form.CreateNewTab(server.url("/asks").toStdString());
    TWebBrowser* page = form.activeBrowser();
    ASSERT_TRUE(waitForDocumentAt(*page, server.url("/asks")));
    ASSERT_TRUE(waitForColour(*page->view(), {160, 120}, qRgb(0x20, 0x30, 0x40)));
    const QString isFullScreen = QStringLiteral("!!document.fullscreenElement");
    ASSERT_TRUE(clickAt(page->view()->mapToGlobal(QPoint(160, 120))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->fullScreenShown(); }, kLoadTimeoutMs));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return evaluate(*page, isFullScreen).toBool(); }, kLoadTimeoutMs));
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !page->fullScreenShown(); }, kLoadTimeoutMs));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !evaluate(*page, isFullScreen).toBool(); }, kLoadTimeoutMs));
}

// Two portal games, the start page and the login panel share the portal's
// renderer; it is killed.
TEST(RendererLoss, GameTabsShowAMessageTheStartPageAndLoginComeBackAndAReloadPlays) {
    ProgramFolderGuard guard;
    DemoPortal portal;
    ASSERT_TRUE(portal.running()) << portal.error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());
    TForm1 form;
    form.FormCreate();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* start = form.findChild<TWebBrowser*>(QStringLiteral("WebBrowser1"));
    auto* login = form.findChild<TWebBrowser*>(QStringLiteral("WebBrowser3"));
    auto* favour = form.findChild<QPushButton*>(QStringLiteral("Button_favor"));
    ASSERT_TRUE(start && login && favour);
    std::vector<TWebBrowser*> games;
    for (const int id : {129, 141}) {
        form.CreateNewTab(portal.url("/mini.php?itemid=" + QString::number(id)).toStdString());
        games.push_back(form.activeBrowser());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return moviesPlay(*games.back()) == true; }, kPlayerTimeoutMs));
    }
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return start->Document() && login->Document(); }, kLoadTimeoutMs));
    const qint64 renderer = games[0]->page()->renderProcessPid();
    ASSERT_GT(renderer, 0);
    ASSERT_EQ(start->page()->renderProcessPid(), renderer);
    ASSERT_TRUE(favour->isEnabled());

    ASSERT_EQ(::kill(static_cast<pid_t>(renderer), SIGKILL), 0);
    for (TWebBrowser* game : games)
        EXPECT_TRUE(QTest::qWaitFor([&] { return game->crashNoticeShown(); }, kLoadTimeoutMs));
    EXPECT_FALSE(favour->isEnabled()); // the active game tab has no document now
    for (TWebBrowser* page : {start, login}) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const qint64 now = page->page()->renderProcessPid();
                return page->Document() && now > 0 && now != renderer;
            },
            kLoadTimeoutMs));
        EXPECT_FALSE(page->crashNoticeShown());
    }
    auto* notice = games[1]->findChild<QWidget*>(QStringLiteral("CrashNotice"));
    ASSERT_TRUE(notice && notice->isVisible());
    const auto* message = notice->findChild<QLabel*>();
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->text().contains(QStringLiteral("进程意外结束")));
    const QString shots = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(shots);
    EXPECT_TRUE(form.grab().save(shots + "/renderer_lost.png"));

    // The reload plays the game again, with the game box's player.
    auto* reload = notice->findChild<QPushButton*>(QStringLiteral("CrashNoticeReload"));
    ASSERT_TRUE(reload);
    reload->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return moviesPlay(*games[1]) == true; }, kPlayerTimeoutMs));
    EXPECT_FALSE(games[1]->crashNoticeShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return favour->isEnabled(); }, kLoadTimeoutMs));
    EXPECT_TRUE(games[0]->crashNoticeShown());
    // So does a game opened afterwards in the renderer started again.
    form.CreateNewTab(portal.url("/mini.php?itemid=130").toStdString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return moviesPlay(*form.activeBrowser()) == true; },
                                kPlayerTimeoutMs));
}

} // namespace
} // namespace zorvia::test
