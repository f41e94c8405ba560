// The skin on the program's windows: frames drawn from the skin model, the
// caption buttons and caption mouse, switching the skin off and on, and the
// rules that keep a window or control unskinned.
#include "skin/frame_widget.h"
#include "skin/skin_draw.h"
#include "skin/skin_manage.h"
#include "skin/stored_skin.h"
#include "skin/win_skin_form.h"
#include "support/offline_window_test.h"
#include "support/skin_pixels.h"
#include "ui/confirm/form3.h"
#include "ui/down/form2.h"
#include "ui/kit/error_report.h"
#include "ui/kit/message_box.h"
#include "ui/main/form1.h"
#include "ui/main/globals.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace zorvia;

namespace {

using test::framePixelsOffTheModel;
using test::skinnerOf;
using test::waitSkinned;

skin::TSkinFrame* frameOf(QWidget* window) {
    return window->findChild<skin::TSkinFrame*>("SkinFrame", Qt::FindDirectChildrenOnly);
}

// Runs `check` on the first visible window that `find` accepts, while a
// modal loop runs, then closes it.
class ModalWatch {
public:
    ModalWatch(std::function<QDialog*()> find, std::function<void(QDialog&)> check)
        : find_(std::move(find)), check_(std::move(check)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QDialog* dialog = find_();
            if (++polls_ > 250 || (dialog && dialog->isVisible() && waitSkinned(dialog))) {
                timer_.stop();
                if (dialog) {
                    seen_ = true;
                    check_(*dialog);
                    dialog->done(2);
                }
            }
        });
        timer_.start();
    }
    bool seen() const { return seen_; }

private:
    std::function<QDialog*()> find_;
    std::function<void(QDialog&)> check_;
    QTimer timer_;
    int polls_ = 0;
    bool seen_ = false;
};

QDialog* visibleMessageBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<ui::TMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

class SkinFrames : public test::OfflineWindowTest {
protected:
    void SetUp() override {
        OfflineWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_TRUE(waitSkinned(form.get()));
    }

    TSkinData& data() { return skinnerOf(form.get())->data(); }
    QPoint buttonCentre(int action) {
        const skin::TSkinFrame* frame = frameOf(form.get());
        const int index = frame->buttonWithAction(action);
        return index < 0 ? QPoint(-1, -1)
                         : frame->caption().buttons[static_cast<std::size_t>(index)].rect.center();
    }
    const QImage& shownImage(int action) {
        const skin::TSkinFrame* frame = frameOf(form.get());
        const auto& b =
            frame->caption().buttons[static_cast<std::size_t>(frame->buttonWithAction(action))];
        return data().Model().CaptionButtons[static_cast<std::size_t>(b.index)].Image;
    }
};

TEST(SkinComponent, DefaultsAndEndOfLoading) {
    TSkinData data;
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.DisableTag, 99);
    EXPECT_EQ(data.Options, (TSkinOptions{TSkinOption::xoPreview, TSkinOption::xoToolbarBK,
                                          TSkinOption::xoCaptionButtonHint}));
    EXPECT_FALSE(data.SkinControls.has(TSkinControlType::xcMenuItem));
    EXPECT_FALSE(data.SkinControls.has(TSkinControlType::xcReportDesigner));
    EXPECT_TRUE(data.SkinControls.has(TSkinControlType::xcSystemMenu));
    ASSERT_EQ(data.Skin3rd().size(), 118u);
    EXPECT_EQ(data.Skin3rd()[3], "TVirtualStringTree=scrollbar");
    data.SetVersion("2.0");
    EXPECT_EQ(data.Version(), "1.0.0.0");

    // Without its menu bar kind the window menu is not skinned; a component
    // whose skin did not load switches itself off.
    data.SkinControls.exclude(TSkinControlType::xcMainMenu);
    data.SetActive(true);
    data.Loaded();
    EXPECT_FALSE(data.SkinControls.has(TSkinControlType::xcSystemMenu));
    EXPECT_FALSE(data.Active());
    data.SetActive(true);
    EXPECT_FALSE(data.Active());
}

TEST_F(SkinFrames, ClientKeepsItsSizeInsideTheSkinEdges) {
    const skin::FrameMetrics m = skin::frameMetrics(data().Model(), true);
    const QWidget* client = skin::clientArea(form.get());
    ASSERT_NE(client, form.get());
    EXPECT_EQ(client->geometry(), QRect(m.left, m.top, 994, 595));
    EXPECT_EQ(form->size(), QSize(994 + m.horizontal(), 595 + m.vertical()));
    EXPECT_EQ(form->size(), QSize(1002, 629)); // the game box's own skin: 30 + 4, 4 + 4
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form->findChild<QWidget*>("Panel_left")->parentWidget(), client);
}

TEST_F(SkinFrames, FrameIsDrawnFromTheSkinImages) {
    int compared = 0;
    EXPECT_EQ(framePixelsOffTheModel(form.get(), compared), 0);
    EXPECT_GT(compared, form->width() * 20);
}

TEST_F(SkinFrames, CloseButtonAsksToExitOrMinimise) {
    bool dialogSkinned = false;
    ModalWatch watch([] { return static_cast<QDialog*>(Form3); },
                     [&](QDialog& dialog) { dialogSkinned = frameOf(&dialog) != nullptr; });
    QTest::mouseClick(frameOf(form.get()), Qt::LeftButton, {}, buttonCentre(0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.seen(); }, 5000));
    EXPECT_TRUE(dialogSkinned);
    EXPECT_TRUE(form->isVisible()); // closing the dialog by its caption cancels
}

TEST_F(SkinFrames, MinimiseAndMaximiseActAndSwapTheirImages) {
    form->move(30, 20);
    const QRect normal = form->geometry();
    const qint64 maximiseImage = shownImage(1).cacheKey();
    QTest::mouseClick(frameOf(form.get()), Qt::LeftButton, {}, buttonCentre(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isMaximized(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form->geometry() == form->screen()->availableGeometry(); }, 2000));
    EXPECT_NE(shownImage(1).cacheKey(), maximiseImage); // the restore image
    EXPECT_EQ(skin::clientArea(form.get())->size(),
              form->size() - QSize(skinnerOf(form.get())->metrics().horizontal(),
                                   skinnerOf(form.get())->metrics().vertical()));

    QTest::mouseClick(frameOf(form.get()), Qt::LeftButton, {}, buttonCentre(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isMaximized(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->geometry() == normal; }, 2000));
    EXPECT_EQ(shownImage(1).cacheKey(), maximiseImage);

    QTest::mouseClick(frameOf(form.get()), Qt::LeftButton, {}, buttonCentre(2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isMinimized(); }, 2000));
    form->showNormal();
}

TEST_F(SkinFrames, CaptionDragMovesTheWindowUnlessMaximised) {
    const struct {
        bool maximised;
        QPoint moved;
    } cases[] = {{false, {40, 25}}, {true, {0, 0}}};
    for (const auto& c : cases) {
        if (c.maximised)
            form->showMaximized();
        else
            form->showNormal();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return form->isMaximized() == c.maximised &&
                       (form->geometry() == form->screen()->availableGeometry()) == c.maximised;
            },
            5000));
        skin::TSkinFrame* frame = frameOf(form.get());
        const QPoint start = form->pos();
        const QPoint grip(form->width() / 2, skinnerOf(form.get())->metrics().top / 2);
        QTest::mousePress(frame, Qt::LeftButton, {}, grip);
        QTest::mouseMove(frame, grip + QPoint(40, 25));
        QTest::mouseRelease(frame, Qt::LeftButton, {}, grip + QPoint(40, 25));
        EXPECT_EQ(form->pos(), start + c.moved) << "maximised " << c.maximised;
    }
    form->showNormal();
}

TEST_F(SkinFrames, EdgesResizeTheWindowWithoutAWindowManager) {
    const struct {
        QPoint grip; // from the window's bottom-right corner when negative
        QPoint drag;
        QMargins change; // moves of the left, top, right and bottom sides
    } cases[] = {{{-2, -2}, {30, 20}, {0, 0, 30, 20}},
                 {{1, 300}, {-10, 5}, {-10, 0, 0, 0}},
                 {{500, 1}, {7, -12}, {0, -12, 0, 0}}};
    for (const auto& c : cases) {
        form->setGeometry(100, 100, 1002, 629);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return form->geometry() == QRect(100, 100, 1002, 629); }, 5000));
        const QRect before = form->geometry();
        skin::TSkinFrame* frame = frameOf(form.get());
        const QPoint grip(c.grip.x() < 0 ? form->width() + c.grip.x() : c.grip.x(),
                          c.grip.y() < 0 ? form->height() + c.grip.y() : c.grip.y());
        QTest::mousePress(frame, Qt::LeftButton, {}, grip);
        QTest::mouseMove(frame, grip + c.drag);
        QTest::mouseRelease(frame, Qt::LeftButton, {}, grip + c.drag);
        const QRect want =
            before.adjusted(c.change.left(), c.change.top(), c.change.right(), c.change.bottom());
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->geometry() == want; }, 1000))
            << grip.x() << "," << grip.y();
        const skin::FrameMetrics m = skinnerOf(form.get())->metrics();
        EXPECT_EQ(skin::clientArea(form.get())->size(),
                  want.size() - QSize(m.horizontal(), m.vertical()));
    }
}

TEST_F(SkinFrames, MessageBoxAndErrorReportWearTheFrame) {
    const struct {
        const char* name;
        std::function<void()> show;
    } cases[] = {{"message box", [this] { ui::showMessage(form.get(), "没有找到游戏"); }},
                 {"error report", [] { ui::reportError("Socket Error # 10061"); }}};
    for (const auto& c : cases) {
        bool framed = false;
        int width = 0, needed = 0;
        ModalWatch watch(visibleMessageBox, [&](QDialog& box) {
            framed = frameOf(&box) && box.windowFlags().testFlag(Qt::FramelessWindowHint);
            width = box.width();
            needed = skin::captionWidthNeeded(data().Model(), box.windowTitle(),
                                              skinnerOf(&box)->data().TitleFont());
        });
        c.show();
        EXPECT_TRUE(watch.seen()) << c.name;
        EXPECT_TRUE(framed) << c.name;
        EXPECT_GE(width, needed) << c.name; // widened for its caption
    }
}

TEST_F(SkinFrames, ActiveOffAndOnWithinTheDelayKeepsTheSkin) {
    TSkinData& skin = data();
    skin.SetActive(false);
    skin.SetActive(true);
    // Once the manager's delayed request has run.
    ASSERT_TRUE(QTest::qWaitFor([] { return !TSkinManage::instance()->requestPending(); }, 5000));
    EXPECT_NE(skinnerOf(form.get()), nullptr);
    EXPECT_EQ(form->size(), QSize(1002, 629));

    // Off for good: the window gets its own frame, size and children back.
    skin.SetActive(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !skinnerOf(form.get()); }, 1000));
    EXPECT_EQ(form->size(), QSize(994, 595));
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form->findChild<QWidget*>("Panel_left")->parentWidget(), form.get());
    EXPECT_EQ(form->findChild<QWidget*>("SkinClient"), nullptr);

    skin.SetActive(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return skinnerOf(form.get()) != nullptr; }, 1000));
    EXPECT_EQ(form->size(), QSize(1002, 629));
}

TEST_F(SkinFrames, TagAndSkin3rdKeepWindowsAndControlsUnskinned) {
    TSkinData extra; // registered last: it supplies the skin of new windows
    extra.ReadSkinStream(skin::storedSkinStream());
    extra.DisableTag = 7;
    extra.Loaded();
    const struct {
        int windowTag;
        int panelTag;
        std::vector<AnsiString> skin3rd;
        bool windowSkinned, panelSkinned;
    } cases[] = {
        {0, 0, TSkinData::DefaultSkin3rd(), true, true},
        {99, 0, {}, false, false}, // a form tagged 99, whatever DisableTag says
        {0, 7, {}, true, false},   // a control tagged DisableTag
        {0, 0, {"TPanel=nil"}, true, false},
        {0, 0, {"tpanel=Panel"}, true, true},
        {0, 0, {"TPane=nil"}, true, true}, // a shorter class name does not match
    };
    for (const auto& c : cases) {
        extra.SetSkin3rd(c.skin3rd);
        QDialog dialog(form.get());
        dialog.setProperty("Tag", c.windowTag);
        dialog.resize(240, 120);
        auto* panel = new QFrame(&dialog);
        panel->setObjectName("Panel1");
        panel->setProperty("Tag", c.panelTag);
        dialog.show();
        if (c.windowSkinned)
            EXPECT_TRUE(waitSkinned(&dialog));
        else
            EXPECT_FALSE(QTest::qWaitFor([&] { return skinnerOf(&dialog) != nullptr; }, 300));
        const auto skinners =
            skinnerOf(&dialog) ? skinnerOf(&dialog)->controlSkinners() : std::vector<QObject*>{};
        const bool panelSkinned = std::any_of(skinners.begin(), skinners.end(),
                                              [&](QObject* s) { return s->parent() == panel; });
        EXPECT_EQ(panelSkinned, c.panelSkinned) << c.skin3rd.size() << " " << c.panelTag;
    }
}

TEST_F(SkinFrames, ListMenusAreDrawnFromTheSkin) {
    auto* menu = form->findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    menu->popup(form->mapToGlobal(QPoint(100, 200)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QAction* item = menu->actions().first();
    menu->setActiveAction(item);
    const QRect r = menu->actionGeometry(item);
    const auto& look = *data().Model().MenuItem;
    const QImage want = skin::composeSkinImage(r.size(), look.Image, false, look.Tile, look.Frame,
                                               2, skin::SkinMargins::of(look));
    const QImage shown = menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(0, r.height() / 2), QPoint(r.width() - 1, r.height() / 2),
                           QPoint(r.width() - 3, 2)})
        EXPECT_EQ(shown.pixel(r.topLeft() + p) & 0xFFFFFF, want.pixel(p) & 0xFFFFFF)
            << p.x() << "," << p.y();
    // The outline around the items comes from "MenuBackground".
    const auto& back = *data().Model().MenuBackground;
    const QImage panel = skin::composeSkinImage(shown.size(), back.Image, false, back.Tile,
                                                back.Frame, 1, skin::SkinMargins::of(back));
    for (const QPoint p : {QPoint(0, 0), QPoint(shown.width() / 2, shown.height() - 1)})
        EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, panel.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    menu->grab().save(QCoreApplication::applicationDirPath() +
                      "/../screenshots/frame_list_menu.png");
    menu->hide();
}

TEST_F(SkinFrames, Screenshots) {
    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    auto* download = new TForm2(form.get(), form->dataFolder());
    download->AddDownloadItem("\xCC\xB0\xB3\xD4\xC9\xDF"); // "贪吃蛇"
    TForm3 dialog(form.get());
    ui::TMessageBox box(form.get(), QStringLiteral("该游戏已经下载过了"), QStringLiteral("提示"),
                        ui::TMessageBox::Icon::None);
    // Where the client's bare background shows, it is the skin's face colour.
    const struct {
        QWidget* window;
        const char* file;
        QPoint bare;
    } cases[] = {{form.get(), "frame_main_window.png", {}},
                 {download, "frame_download_window.png", {}},
                 {&dialog, "frame_confirm_dialog.png", {6, 6}},
                 {&box, "frame_message_box.png", {6, 6}}};
    const QRgb face = data().Model().qcolour(skin::SlotButtonFace).rgb();
    for (const auto& c : cases) {
        c.window->show();
        c.window->activateWindow();
        ASSERT_TRUE(waitSkinned(c.window)) << c.file;
        int compared = 0;
        EXPECT_EQ(framePixelsOffTheModel(c.window, compared), 0) << c.file;
        EXPECT_GT(compared, 0) << c.file;
        const QImage shot = c.window->grab().toImage();
        if (!c.bare.isNull()) {
            const QPoint at = skin::clientArea(c.window)->mapTo(c.window, c.bare);
            EXPECT_EQ(shot.pixel(at) & 0xFFFFFF, face & 0xFFFFFF) << c.file;
        }
        EXPECT_TRUE(shot.save(dir + "/" + c.file)) << c.file;
        if (c.window != form.get())
            c.window->hide();
    }
    bool reported = false;
    ModalWatch watch(visibleMessageBox, [&](QDialog& report) {
        reported = report.grab().save(dir + "/frame_error_report.png");
    });
    ui::reportError("Socket Error # 10061\r\nConnection refused");
    EXPECT_TRUE(reported);
}

} // namespace
