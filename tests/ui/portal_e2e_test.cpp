// The main window started against the demo portal.
#include "browser/web_browser.h"
#include "support/browser_test_support.h"
#include "support/demo_portal.h"
#include "support/find_child.h"
#include "support/qt_print.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"

#include <QDir>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <memory>

using zorvia::test::child;
using zorvia::test::waitForColour;

using namespace zorvia;

namespace {

TEST(PortalEndToEnd, StartUpShowsCategoriesAndTheStartPage) {
    DemoPortal portal;
    ASSERT_TRUE(portal.running()) << portal.error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal.host().toUtf8());

    auto form = std::make_unique<TForm1>();
    form->FormCreate();
    form->show();

    // The category list came from "action=catlist" before the window showed.
    const QByteArray catlist = portal.get("/mini.php?action=catlist");
    const int records = static_cast<int>(catlist.count('|')) / 2;
    ASSERT_GT(records, 0);
    ASSERT_EQ(child<ui::TListBox>(form, "ListBox1")->count(), records);
    EXPECT_TRUE(child<ui::TListBox>(form, "ListBox1")->isVisible());
    const QString firstId = QString::fromUtf8(catlist.left(catlist.indexOf('|')));
    EXPECT_EQ(QString::fromStdString(child<ui::TListBox>(form, "ListBox1")->link(0)),
              portal.url("/mini.php?catid=" + firstId));
    // The first category of the demo catalogue.
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox1")->item(0)->text(), QStringLiteral("益智游戏"));

    // The start page loads in the first tab, whose caption follows its title
    // once the tab manager is there; the document is what counts here.
    TWebBrowser* start = child<TWebBrowser>(form, "WebBrowser1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return start->Document().has_value(); }, 30000));
    EXPECT_EQ(start->LocationURL(), portal.url("/mini.php"));
    EXPECT_EQ(start->Document()->title(), QStringLiteral("Zorvia游戏盒子 - 精品Flash小游戏"));
    TWebBrowser* panel = child<TWebBrowser>(form, "WebBrowser3");
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->Document().has_value(); }, 30000));
    EXPECT_EQ(panel->Document()->title(), QStringLiteral("会员登录"));

    // On screen: the start page's header begins in its gradient's first colour.
    EXPECT_TRUE(waitForColour(*start->view(), {2, 20}, qRgb(0x3a, 0x47, 0xd5)));
    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(form->grab().save(dir + "/start_page.png"));
}

TEST(PortalEndToEnd, UnreachablePortalLeavesTheCategoriesEmpty) {
    qputenv("ZORVIA_SITE_HOST", QStringLiteral("127.0.0.1:%1").arg(freeLoopbackPort()).toUtf8());
    auto form = std::make_unique<TForm1>();
    form->FormCreate();
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox1")->count(), 0);
    EXPECT_FALSE(form->portalReached());
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->activePage(),
              child<ui::TTabSheet>(form, "TabSheet1"));
}

} // namespace
