#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "skin/skin_data.h"
#include "skin/skin_manage.h"
#include "support/find_child.h"
#include "support/modal.h"
#include "support/offline_window_test.h"
#include "ui/kit/list_box.h"
#include "ui/kit/page_control.h"
#include "ui/main/form1.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using zorvia::test::child;

using namespace zorvia;

namespace {

// A main window after start-up, against a portal that cannot be reached.
class Shell : public test::OfflineWindowTest {};

struct Tops {
    int pageControl, button2, button3;
    const char* active;
};

TEST_F(Shell, AccordionPlacesTheListUnderItsButton) {
    // After start-up the online list is shown.
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->activePage(),
              child<ui::TTabSheet>(form, "TabSheet1"));
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->y(), 33);
    EXPECT_EQ(child<QPushButton>(form, "Button2")->y(), 322);
    EXPECT_EQ(child<QPushButton>(form, "Button3")->y(), 347);

    struct Case {
        const char* button;
        Tops want;
    };
    const Case cases[] = {
        {"Button2", {58, 33, 347, "TabSheet2"}},  {"Button3", {83, 33, 58, "TabSheet3"}},
        {"Button1", {33, 322, 347, "TabSheet1"}}, {"Button3", {83, 33, 58, "TabSheet3"}},
        {"Button2", {58, 33, 347, "TabSheet2"}},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(child<QPushButton>(form, c.button), Qt::LeftButton);
        EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->y(), c.want.pageControl);
        EXPECT_EQ(child<QPushButton>(form, "Button2")->y(), c.want.button2);
        EXPECT_EQ(child<QPushButton>(form, "Button3")->y(), c.want.button3);
        EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->activePage(),
                  child<ui::TTabSheet>(form, c.want.active));
        EXPECT_EQ(child<QPushButton>(form, "Button1")->x(), 5);
        EXPECT_EQ(child<QPushButton>(form, "Button2")->x(), 5);
        EXPECT_EQ(child<QPushButton>(form, "Button3")->x(), 5);
        EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->x(), 3);
    }
}

TEST_F(Shell, CollapseAndRestoreLeftColumn) {
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(child<QPushButton>(form, "Button_hide"), Qt::LeftButton);
        EXPECT_FALSE(child<QFrame>(form, "Panel_left")->isVisible());
        EXPECT_EQ(child<QPushButton>(form, "Button_hide")->text(), QStringLiteral("打开左栏"));
        EXPECT_EQ(child<QFrame>(form, "Panel_main")->x(), 0);
        EXPECT_EQ(child<QFrame>(form, "Panel_main")->width(), 993);

        QTest::mouseClick(child<QPushButton>(form, "Button_hide"), Qt::LeftButton);
        EXPECT_TRUE(child<QFrame>(form, "Panel_left")->isVisible());
        EXPECT_EQ(child<QPushButton>(form, "Button_hide")->text(), QStringLiteral("收起左栏"));
        EXPECT_EQ(child<QFrame>(form, "Panel_main")->x(), 176);
        EXPECT_EQ(child<QFrame>(form, "Panel_main")->width(), 817);
    }
}

TEST_F(Shell, AnchoredControlsFollowTheWindowSize) {
    skin::setClientSize(form.get(), {TForm1::kClientWidth + 200, TForm1::kClientHeight + 100});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return child<QFrame>(form, "Panel_status")->width() == 1193; }, 5000));
    EXPECT_EQ(child<QFrame>(form, "Panel_left")->geometry(), QRect(0, 0, 175, 667));
    EXPECT_EQ(child<QFrame>(form, "Panel_main")->geometry(), QRect(176, 0, 1017, 667));
    EXPECT_EQ(child<QFrame>(form, "Panel_status")->geometry(), QRect(0, 670, 1193, 25));
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->geometry(), QRect(4, 41, 1010, 622));
    EXPECT_EQ(child<QLineEdit>(form, "Edit_key")->geometry(), QRect(820, 11, 113, 21));
    EXPECT_EQ(child<QPushButton>(form, "Button_search")->geometry(), QRect(938, 9, 75, 25));
    EXPECT_EQ(child<QPushButton>(form, "Button_favor")->geometry(),
              QRect(323, 9, 75, 25)); // not anchored
    EXPECT_EQ(child<QPushButton>(form, "Button_login")->geometry(), QRect(2, 506, 170, 25));
    EXPECT_EQ(child<QFrame>(form, "Panel1")->geometry(), QRect(2, 534, 170, 129));
    EXPECT_EQ(child<QLabel>(form, "Label_tips")->geometry(), QRect(1088, 6, 93, 13));

    // Collapsing while enlarged, then returning to the design size.
    QTest::mouseClick(child<QPushButton>(form, "Button_hide"), Qt::LeftButton);
    EXPECT_EQ(child<QFrame>(form, "Panel_main")->geometry(), QRect(0, 0, 1193, 667));
    skin::setClientSize(form.get(), {TForm1::kClientWidth, TForm1::kClientHeight});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return child<QFrame>(form, "Panel_main")->geometry() == QRect(0, 0, 993, 567); },
        5000));
    QTest::mouseClick(child<QPushButton>(form, "Button_hide"), Qt::LeftButton);
    EXPECT_EQ(child<QFrame>(form, "Panel_main")->geometry(), QRect(176, 0, 817, 567));
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->geometry(), QRect(4, 41, 810, 522));
}

TEST_F(Shell, DesignStateOfTheWindow) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zorvia游戏盒子"));
    EXPECT_EQ(skin::clientArea(form.get())->size(), QSize(994, 595));
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_FALSE(child<QPushButton>(form, "Button_favor")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(form, "Button_down")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(form, "Button_help")->isEnabled());
    EXPECT_EQ(child<QLabel>(form, "Label_status")->text(), QStringLiteral("当前版本:V 1.0.0"));
    EXPECT_EQ(child<ui::TTabSheet>(form, "TabSheet_Main")->caption(), QStringLiteral("加载中..."));
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->tabStrip()->tabText(0),
              QStringLiteral("加载中..."));
    EXPECT_FALSE(child<ui::TPageControl>(form, "PageControl1")->tabsVisible());
    EXPECT_EQ(child<ui::TListBox>(form, "ListBox1")->geometry(), QRect(2, 0, 153, 281));
    EXPECT_TRUE(child<QLabel>(form, "Label_update")->font().underline());
    EXPECT_EQ(form->programFolder(),
              QDir(QCoreApplication::applicationDirPath()).path().toStdString() + "/");

    // The database components are configured but not connected.
    EXPECT_FALSE(form->SQLiteDB1.Connected());
    EXPECT_EQ(form->SQLiteDB1.Database(), form->programFolder() + "wendora.db");
    EXPECT_EQ(form->SQLiteDB1.DriverDLL(), form->programFolder() + "iInter.dll");
    EXPECT_EQ(form->SQLiteQuery1.Connection(), &form->SQLiteDB1);
    EXPECT_FALSE(form->SQLiteQuery1.AutoCommit());

    // The skin stored with the window is decoded with it.
    EXPECT_TRUE(form->SkinData1.SkinLoaded());
    EXPECT_FALSE(form->SkinData1.Model().SkinName.empty());

    // The login button has no click action: once a message posted after the
    // click has arrived, nothing has changed.
    auto* login = child<QPushButton>(form, "Button_login");
    ModalCloser closer;
    QTest::mouseClick(login, Qt::LeftButton);
    bool passed = false;
    QMetaObject::invokeMethod(
        form.get(), [&] { passed = true; }, Qt::QueuedConnection);
    ASSERT_TRUE(QTest::qWaitFor([&] { return passed; }, 5000));
    EXPECT_TRUE(closer.seen().isEmpty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl2")->pageCount(), 1);
    EXPECT_EQ(child<ui::TPageControl>(form, "PageControl1")->activePage(),
              child<ui::TTabSheet>(form, "TabSheet1"));
}

TEST_F(Shell, Screenshot) {
    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    const QImage shot = form->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(dir + "/main_window.png"));
    // Button1 draws Chinese captions with real glyphs: two captions of two
    // characters each look different (boxes for missing glyphs would not),
    // and differ from two characters that no font has.
    auto* button = child<QPushButton>(form, "Button1");
    EXPECT_EQ(button->text(), QStringLiteral("在线Flash游戏"));
    const QString caption = button->text();
    const auto drawn = [&](const QString& text) {
        button->setText(text);
        return button->grab().toImage();
    };
    const QImage first = drawn(QStringLiteral("在线"));
    const QImage second = drawn(QStringLiteral("游戏"));
    const QImage missing = drawn(QStringLiteral("\uE000\uE001"));
    button->setText(caption);
    EXPECT_NE(first, second);
    EXPECT_NE(first, missing);
    EXPECT_NE(first, drawn(QString()));
    button->setText(caption);
}

} // namespace
