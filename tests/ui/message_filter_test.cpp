// The application message filter with real input through the X server.
#include "ui/kit/page_control.h"
#include "ui/workspace_fixture.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "browser/web_browser.h"
#include "support/find_child.h"
#include "support/x_input.h"
#include <gtest/gtest.h>

using zorvia::test::child;

namespace zorvia::test {
namespace {

QVariantList pageList(TWebBrowser& browser, const char* name) {
    return evaluate(browser, QStringLiteral("window.%1").arg(name)).toList();
}

// Counts the menus the application shows.
class MenuCount : public QObject {
public:
    MenuCount() { qApp->installEventFilter(this); }
    ~MenuCount() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QMenu*>(watched))
            ++shown;
        return false;
    }
};

// Moves the pointer onto `widget` through the X server and waits until the
// widget sees it come: the input given before has been handled by then.
bool pointerArrives(QWidget* widget) {
    struct EnterWatch : QObject {
        bool entered = false;
        bool eventFilter(QObject*, QEvent* event) override {
            entered = entered || event->type() == QEvent::Enter;
            return false;
        }
    } watch;
    widget->installEventFilter(&watch);
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    return xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())}) &&
           QTest::qWaitFor([&] { return watch.entered; }, kLoadTimeoutMs);
}

void closeMenus() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(widget))
            widget->hide();
}

TEST(MessageFilter, RightButtonNeverReachesTheActiveTabOrTheLoginPanel) {
    Workspace ws;
    TForm1& form = ws.form();
    ASSERT_TRUE(ws.load(child<TWebBrowser>(form, "WebBrowser3"), "/input"));
    ASSERT_TRUE(ws.openTab("/input"));
    TWebBrowser& tab = *form.activeBrowser();
    // A browser of another window is left alone.
    QWidget other;
    other.setGeometry(700, 620, 400, 300);
    auto* outside = new TWebBrowser(&other);
    outside->setAlignClient(true);
    other.show();
    ASSERT_TRUE(ws.load(outside, "/input"));

    const struct {
        const char* label;
        TWebBrowser* browser;
        bool rightArrives;
    } cases[] = {
        {"active tab", &tab, false},
        {"login panel", child<TWebBrowser>(form, "WebBrowser3"), false},
        {"another window's browser", outside, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QWidget* input = c.browser->inputWidget();
        ASSERT_NE(input, nullptr);
        const QPoint inPage(60, 100);
        MenuCount menus;
        ASSERT_TRUE(xClick(input, inPage, 3));
        ASSERT_TRUE(xClick(input, inPage, 3, 2));
        if (c.rightArrives) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return pageList(*c.browser, "ups").contains(2) &&
                           evaluate(*c.browser, "window.menus").toInt() > 0;
                },
                kLoadTimeoutMs));
            EXPECT_TRUE(pageList(*c.browser, "downs").contains(2));
            closeMenus();
            continue;
        }
        // A left click after them arrives: the page did get the input route,
        // and the right clicks before it were kept away.
        ASSERT_TRUE(xClick(input, inPage, 1));
        ASSERT_TRUE(QTest::qWaitFor([&] { return pageList(*c.browser, "ups").contains(0); },
                                    kLoadTimeoutMs));
        EXPECT_FALSE(pageList(*c.browser, "downs").contains(2));
        EXPECT_FALSE(pageList(*c.browser, "ups").contains(2));
        EXPECT_EQ(evaluate(*c.browser, "window.menus").toInt(), 0);
        EXPECT_EQ(menus.shown, 0);
    }
}

TEST(MessageFilter, EnterAndArrowsAreKeptFromTheActiveTabOnly) {
    Workspace ws;
    TForm1& form = ws.form();
    ASSERT_TRUE(ws.load(child<TWebBrowser>(form, "WebBrowser3"), "/input"));
    ASSERT_TRUE(ws.openTab("/input"));

    // Each arrow moves the caret where it shows in the text: Left before
    // "b", Right after Home, Up to the start and Down to the end before the
    // space.
    const QStringList typed = {"a",     "Return", "KP_Enter", "Left", "b",     "Home",
                               "Right", "c",      "Up",       "Down", "space", "d"};
    const QString field = "document.getElementById('field').focus()";
    // A page's own element of a player's name is no movie: it gets no keys.
    const QString fakeMovie = "var m = document.createElement('ruffle-embed'); m.tabIndex = 0;"
                              "document.body.append(m); m.focus()";
    const struct {
        const char* label;
        TWebBrowser* browser;
        QString focus;
        QVariantList keys;
        QString value;
    } cases[] = {
        {"active tab", form.activeBrowser(), field, {"a", "b", "Home", "c", " ", "d"}, "c dab"},
        {"a page's own player element",
         form.activeBrowser(),
         fakeMovie,
         {"a", "b", "Home", "c", " ", "d"},
         ""},
        {"login panel",
         child<TWebBrowser>(form, "WebBrowser3"),
         field,
         {"a", "Enter", "Enter", "ArrowLeft", "b", "Home", "ArrowRight", "c", "ArrowUp",
          "ArrowDown", " ", "d"},
         "bca d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(focusInside(&form, c.browser->inputWidget()));
        evaluate(*c.browser, "document.getElementById('field').value = ''; " + c.focus +
                                 "; keys = []; keyups = []; 0");
        ASSERT_TRUE(xKeys(typed));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return pageList(*c.browser, "keyups").size() >= typed.size(); }, kLoadTimeoutMs));
        EXPECT_EQ(pageList(*c.browser, "keys"), c.keys);
        // Key releases pass everywhere.
        EXPECT_TRUE(pageList(*c.browser, "keyups").contains("Enter"));
        EXPECT_EQ(evaluate(*c.browser, "document.getElementById('field').value").toString(),
                  c.value);
    }
}

TEST(MessageFilter, DoubleClickOnTheTabStripClosesTheCurrentTab) {
    Workspace ws;
    TForm1& form = ws.form();
    ASSERT_TRUE(ws.load(child<TWebBrowser>(form, "WebBrowser1"), "/a"));
    for (const char* path : {"/b", "/c", "/game1"})
        ASSERT_TRUE(ws.openTab(path));
    ui::TTabStrip* strip = child<ui::TPageControl>(form, "PageControl2")->tabStrip();
    const QPoint empty(strip->tabRect(3).right() + 100, strip->height() / 2);

    const struct {
        const char* label;
        QWidget* target;
        QPoint pos;
        QStringList remaining; // captions
    } steps[] = {
        {"a tab: its first click activates it",
         strip,
         strip->tabRect(1).center(),
         {"A", "C", "Game one"}},
        {"inside a page closes nothing",
         child<TWebBrowser>(form, "WebBrowser1"),
         QPoint(50, 50),
         {"A", "C", "Game one"}},
        {"empty strip: the active tab", strip, empty, {"A", "C"}},
        {"the start tab stays", strip, strip->tabRect(0).center(), {"A", "C"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.label);
        if (step.target == strip && step.pos == empty)
            child<ui::TPageControl>(form, "PageControl2")->setActivePageIndex(2);
        QWidget* target = step.target == child<TWebBrowser>(form, "WebBrowser1")
                              ? child<TWebBrowser>(form, "WebBrowser1")->inputWidget()
                              : step.target;
        ASSERT_TRUE(xClick(target, step.pos, 1, 2));
        ASSERT_TRUE(pointerArrives(child<QPushButton>(form, "Button_search")));
        QStringList captions;
        for (int i = 0; i < ws.pageCount(); ++i)
            captions << ws.page(i)->caption();
        EXPECT_EQ(captions, step.remaining);
    }
}

} // namespace
} // namespace zorvia::test
