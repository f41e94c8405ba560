// Notification icon, boss key and close confirmation of the main window,
// under a real X server (keys through xdotool, the tray through trayer).
#include "support/find_child.h"
#include "support/modal.h"
#include "support/skin_pixels.h"
#include "ui/confirm/form3.h"
#include "ui/main/desktop_integration.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <functional>
#include <memory>

using zorvia::test::child;
using zorvia::test::findNamed;

using namespace zorvia;

namespace {

bool run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool xKey(const QString& key) {
    return run("xdotool", {"key", "--clearmodifiers", key});
}

// Counts the times a widget is shown and hidden.
class ShowCount : public QObject {
public:
    explicit ShowCount(QWidget* widget) { widget->installEventFilter(this); }
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        hides += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
};

// Answers the next close dialog with `answer` once it is shown; gives up
// after a few seconds so that no test can hang on a dialog.
class DialogAnswer {
public:
    explicit DialogAnswer(std::function<void(TForm3&)> answer) : answer_(std::move(answer)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    ~DialogAnswer() { timer_.stop(); }
    int answered() const { return answered_; }

private:
    void poll() {
        if (++polls_ > 250) {
            // Safety net: close whatever dialog is still up.
            if (Form3 != nullptr && Form3->isVisible())
                Form3->done(TForm3::kResultClosed);
            timer_.stop();
            return;
        }
        if (Form3 == nullptr || !Form3->isVisible() || seen_ == Form3)
            return;
        seen_ = Form3;
        ++answered_;
        answer_(*Form3);
    }
    std::function<void(TForm3&)> answer_;
    QTimer timer_;
    QPointer<TForm3> seen_;
    int polls_ = 0;
    int answered_ = 0;
};

void pressEnter(TForm3& dialog) {
    QTest::keyClick(&dialog, Qt::Key_Return);
}
void clickExit(TForm3& dialog) {
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
}
void closeBox(TForm3& dialog) {
    dialog.close();
}

// The main window after start-up (the portal cannot be reached), shown and
// active; ends of the application are counted instead of leaving the loop.
class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
        form = std::make_unique<TForm1>();
        form->OnTerminate = [this] { ++terminations; };
        form->FormCreate();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        activate();
    }
    void TearDown() override {
        if (form && findNamed<QMenu>(form, "PopupMenu_icon") != nullptr)
            child<QMenu>(form, "PopupMenu_icon")->hide();
        form.reset();
    }
    bool activate() {
        form->activateWindow();
        form->raise();
        return QTest::qWaitForWindowActive(form.get(), 5000);
    }
    // A close request through the window's close event, answered by `answer`.
    bool requestClose(std::function<void(TForm3&)> answer) {
        DialogAnswer answering(std::move(answer));
        const bool closed = form->close();
        EXPECT_EQ(answering.answered(), 1);
        return closed;
    }

    std::unique_ptr<TForm1> form;
    int terminations = 0;
};

TEST(ConfirmDialog, LayoutOfTheDialog) {
    QWidget owner;
    TForm3 dialog(&owner);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("提示"));
    EXPECT_EQ(dialog.size(), QSize(252, 118));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.parentWidget(), &owner);
    EXPECT_EQ(dialog.Label1->geometry(), QRect(24, 24, 209, 17));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("退出程序还是最小化到托盘？"));
    EXPECT_TRUE(dialog.Label1->font().bold());
    EXPECT_EQ(dialog.Button1->geometry(), QRect(128, 64, 85, 25));
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("最小化到托盘"));
    EXPECT_TRUE(dialog.Button1->isDefault());
    EXPECT_EQ(dialog.Button2->geometry(), QRect(24, 64, 85, 25));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("退出程序"));
    EXPECT_EQ(dialog.Button1->nextInFocusChain(), dialog.Button2);

    // Centred on the screen.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((dialog.geometry().center() - area.center()).manhattanLength(), 2);
}

TEST(ConfirmDialog, ResultOfEachWayOut) {
    struct Case {
        const char* name;
        std::function<void(TForm3&)> act;
        int result;
    };
    const Case cases[] = {
        {"Enter presses the default button", pressEnter, 6},
        {"exit button", clickExit, 7},
        {"title bar close", closeBox, 2},
        {"Escape does nothing, then the close box",
         [](TForm3& d) {
             QTest::keyClick(&d, Qt::Key_Escape);
             EXPECT_TRUE(d.isVisible());
             d.close();
         },
         2},
    };
    QWidget owner;
    for (const Case& c : cases) {
        TForm3 dialog(&owner);
        Form3 = &dialog;
        DialogAnswer answering(c.act);
        EXPECT_EQ(dialog.exec(), c.result) << c.name;
        EXPECT_EQ(answering.answered(), 1) << c.name;
    }
    EXPECT_EQ(Form3, nullptr); // each dialog let go of the global as it went
}

TEST_F(Tray, CloseRequestOutcomes) {
    // No notification area here: "minimise to tray" minimises instead of
    // hiding, so the window stays reachable from the taskbar.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    struct Case {
        const char* name;
        void (*answer)(TForm3&);
        bool closed, visible, minimized;
        int terminations;
    };
    const Case cases[] = {
        {"close box cancels", closeBox, false, true, false, 0},
        {"minimise without a tray", pressEnter, false, true, true, 0},
        {"exit ends the program", clickExit, true, false, false, 1},
    };
    QPointer<TForm3> previous;
    for (const Case& c : cases) {
        form->showNormal();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        terminations = 0;
        EXPECT_EQ(requestClose(c.answer), c.closed) << c.name;
        // Each request has a dialog of its own; the previous one is gone.
        EXPECT_TRUE(previous.isNull()) << c.name;
        ASSERT_NE(Form3, nullptr);
        EXPECT_EQ(Form3->parentWidget(), form.get());
        previous = Form3;
        EXPECT_EQ(form->isVisible(), c.visible) << c.name;
        EXPECT_EQ(form->isMinimized(), c.minimized) << c.name;
        EXPECT_EQ(terminations, c.terminations) << c.name;
    }
}

TEST_F(Tray, ScreenshotOfTheCloseDialog) {
    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    const QString file = dir + "/confirm_dialog.png";
    QFile::remove(file);
    int off = -1;
    int compared = 0;
    requestClose([&](TForm3& dialog) {
        // The skin comes with the dialog's first activation.
        if (test::waitSkinned(&dialog))
            off = test::framePixelsOffTheModel(&dialog, compared);
        const QRect frame = dialog.frameGeometry().adjusted(-4, -4, 4, 4);
        dialog.screen()
            ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
            .save(file);
        dialog.close();
    });
    EXPECT_EQ(off, 0);
    EXPECT_GT(compared, 0);
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(Tray, IconActivationByTrayKind) {
    using Kind = DesktopIntegration::TrayKind;
    struct Case {
        const char* name;
        Kind kind;
        bool visibleBefore;
        QSystemTrayIcon::ActivationReason reason;
        bool visibleAfter;
        QString n3; // caption after the activation; empty: menu not opened
    };
    const Case cases[] = {
        {"context, window shown", Kind::XEmbed, true, QSystemTrayIcon::Context, true,
         QStringLiteral("最小化")},
        {"context, window hidden", Kind::XEmbed, false, QSystemTrayIcon::Context, false,
         QStringLiteral("还原")},
        {"double click shows", Kind::XEmbed, false, QSystemTrayIcon::DoubleClick, true, {}},
        {"double click while shown", Kind::XEmbed, true, QSystemTrayIcon::DoubleClick, true, {}},
        {"single click of an XEmbed tray does nothing",
         Kind::XEmbed,
         false,
         QSystemTrayIcon::Trigger,
         false,
         {}},
        {"middle click does nothing", Kind::XEmbed, false, QSystemTrayIcon::MiddleClick, false, {}},
        {"StatusNotifier activation shows",
         Kind::StatusNotifier,
         false,
         QSystemTrayIcon::Trigger,
         true,
         {}},
        // A StatusNotifier host shows the menu itself.
        {"StatusNotifier context", Kind::StatusNotifier, true, QSystemTrayIcon::Context, true, {}},
    };
    auto* desktop = form->findChild<DesktopIntegration*>();
    ASSERT_NE(desktop, nullptr);
    for (const Case& c : cases) {
        desktop->removeTrayIcon();
        desktop->showTrayIcon(c.kind);
        form->setVisible(c.visibleBefore);
        child<QAction>(form, "N3")->setText(QStringLiteral("-"));
        form->WMTrayIcon(c.reason);
        EXPECT_EQ(form->isVisible(), c.visibleAfter) << c.name;
        if (c.n3.isEmpty()) {
            EXPECT_FALSE(child<QMenu>(form, "PopupMenu_icon")->isVisible()) << c.name;
            continue;
        }
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return child<QMenu>(form, "PopupMenu_icon")->isVisible(); }, 2000))
            << c.name;
        EXPECT_EQ(child<QAction>(form, "N3")->text(), c.n3) << c.name;
        child<QMenu>(form, "PopupMenu_icon")->hide();
    }
    // Only the StatusNotifier icon carries the menu for its host to show.
    EXPECT_EQ(child<QSystemTrayIcon>(form, "TrayIcon")->contextMenu(),
              child<QMenu>(form, "PopupMenu_icon"));
}

TEST_F(Tray, MenuItemsToggleAndExit) {
    ModalCloser closer;
    child<QAction>(form, "N3")->trigger();
    EXPECT_FALSE(form->isVisible());
    child<QAction>(form, "N3")->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get(), 5000));

    // Exit from the menu: no dialog, the key and the icon are let go.
    const QPointer<TForm3> before = Form3;
    child<QAction>(form, "N4")->trigger();
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(Form3, before.data());
    EXPECT_FALSE(form->hotKeyRegistered());
    EXPECT_EQ(findNamed<QSystemTrayIcon>(form, "TrayIcon"), nullptr);
    EXPECT_TRUE(closer.seen().isEmpty());
    // Closing the window on the way out asks nothing either.
    EXPECT_TRUE(form->close());
}

TEST_F(Tray, BossKeyThroughTheKeyboard) {
    ASSERT_TRUE(form->hotKeyRegistered());
    EXPECT_GE(HotKeyId, 0);
    EXPECT_LE(HotKeyId, 0x3FFF);
    // With NumLock or CapsLock on the key works all the same.
    for (const QString& lock :
         {QString(), QStringLiteral("Num_Lock"), QStringLiteral("Caps_Lock")}) {
        if (!lock.isEmpty()) {
            ASSERT_TRUE(xKey(lock));
        }
        ASSERT_TRUE(xKey("ctrl+d")) << lock.toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 3000))
            << lock.toStdString();
        ASSERT_TRUE(xKey("ctrl+d"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->isVisible(); }, 3000)) << lock.toStdString();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get(), 3000)) << lock.toStdString();
        if (!lock.isEmpty()) {
            ASSERT_TRUE(xKey(lock));
        }
    }
    // Other keys with Ctrl are not taken: the Ctrl+D after Ctrl+E hides the
    // window, and only once.
    {
        ShowCount count(form.get());
        ASSERT_TRUE(xKey("ctrl+e"));
        ASSERT_TRUE(xKey("ctrl+d"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
        EXPECT_EQ(count.hides, 1);
        EXPECT_EQ(count.shows, 0);
        ASSERT_TRUE(xKey("ctrl+d"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->isVisible(); }, 5000));
        ASSERT_TRUE(activate());
    }

    // Clean-up runs twice without harm and lets the key go: a Ctrl+D then
    // changes nothing, as a click given after it and handled shows.
    form->FormDestroy(form.get());
    form->FormDestroy(form.get());
    EXPECT_FALSE(form->hotKeyRegistered());
    auto* hide = child<QPushButton>(form, "Button_hide");
    const QPoint on = hide->mapToGlobal(hide->rect().center());
    ShowCount count(form.get());
    ASSERT_TRUE(xKey("ctrl+d"));
    ASSERT_TRUE(run("xdotool",
                    {"mousemove", QString::number(on.x()), QString::number(on.y()), "click", "1"}));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !child<QFrame>(form, "Panel_left")->isVisible(); }, 5000));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(count.hides, 0);
}

TEST(BossKey, HeldByAnotherProgramIsSilentlyAbsent) {
    // Another client of the display holds Ctrl+D.
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(other), 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(other);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 'd');
    ASSERT_NE(codes, nullptr);
    xcb_generic_error_t* error = xcb_request_check(
        other, xcb_grab_key_checked(other, 0, root, XCB_MOD_MASK_CONTROL, codes[0],
                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    EXPECT_EQ(error, nullptr);
    free(error);

    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    {
        ModalCloser closer;
        TForm1 form;
        form.OnTerminate = [] {};
        form.FormCreate();
        EXPECT_FALSE(form.hotKeyRegistered());
        EXPECT_TRUE(closer.seen().isEmpty());
        form.FormDestroy(&form);
    }
    free(codes);
    xcb_key_symbols_free(symbols);
    xcb_disconnect(other);
}

// A notification area (trayer) on the display for the test's duration.
class TrayArea {
public:
    TrayArea() {
        process_.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "pixel",
                                  "--width", "64", "--height", "24"});
        process_.waitForStarted(5000);
    }
    ~TrayArea() {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(1000);
        }
    }
    bool running() const { return process_.state() == QProcess::Running; }

private:
    QProcess process_;
};

TEST(TrayIcon, PresentInANotificationArea) {
    if (QStandardPaths::findExecutable("trayer").isEmpty())
        GTEST_SKIP() << "trayer is not installed";
    TrayArea area;
    ASSERT_TRUE(area.running());
    ASSERT_TRUE(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 5000));

    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    int terminations = 0;
    {
        TForm1 form;
        form.OnTerminate = [&] { ++terminations; };
        form.FormCreate();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_NE(findNamed<QSystemTrayIcon>(form, "TrayIcon"), nullptr);
        EXPECT_TRUE(child<QSystemTrayIcon>(form, "TrayIcon")->isVisible());
        EXPECT_EQ(child<QSystemTrayIcon>(form, "TrayIcon")->toolTip(),
                  QStringLiteral("Zorvia游戏盒子"));
        EXPECT_FALSE(child<QSystemTrayIcon>(form, "TrayIcon")->icon().isNull());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return child<QSystemTrayIcon>(form, "TrayIcon")->geometry().isValid(); }, 5000));

        // "Minimise to tray" hides the window; the icon brings it back.
        {
            DialogAnswer answering(pressEnter);
            EXPECT_FALSE(form.close());
        }
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.isMinimized());
        const QPoint icon = child<QSystemTrayIcon>(form, "TrayIcon")->geometry().center();
        ASSERT_TRUE(
            run("xdotool", {"mousemove", QString::number(icon.x()), QString::number(icon.y()),
                            "click", "--repeat", "2", "--delay", "80", "1"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.isVisible(); }, 3000));

        // Right button on the icon opens its menu naming the next action.
        ASSERT_TRUE(run("xdotool", {"mousemove", QString::number(icon.x()),
                                    QString::number(icon.y()), "click", "3"}));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return child<QMenu>(form, "PopupMenu_icon")->isVisible(); }, 3000));
        EXPECT_EQ(child<QAction>(form, "N3")->text(), QStringLiteral("最小化"));
        child<QMenu>(form, "PopupMenu_icon")->hide();

        form.FormDestroy(&form);
        form.FormDestroy(&form);
        EXPECT_EQ(findNamed<QSystemTrayIcon>(form, "TrayIcon"), nullptr);
    }
    EXPECT_EQ(terminations, 0);
}

} // namespace
