// A skin loaded into the running game box: the windows wear the second
// skin's plain colours, active or not, with the caption icon keyed over the
// caption, and wear the game box's skin again once it is loaded back.
#include "skin/frame_widget.h"
#include "skin/skin_manage.h"
#include "skin/win_skin_form.h"
#include "skin_test_skins.h"
#include "support/offline_window_test.h"
#include "support/skin_pixels.h"
#include "text/file_path.h"
#include "ui/kit/app_icon.h"
#include "ui/kit/page_control.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <span>

using namespace zorvia;
namespace second = zorvia::skintest::second;
using zorvia::test::skinnerOf;
using zorvia::test::waitSkinned;

namespace {

QImage shot(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString writeFile(const QTemporaryDir& dir, const char* name, std::span<const std::uint8_t> bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

// Pixels of the four edges and the caption that are not the second skin's
// colours, looked at away from the caption text and icon.
int edgesOffTheSecondSkin(QWidget* window) {
    const QImage s = shot(window);
    const int w = s.width(), h = s.height();
    const struct {
        QPoint at;
        QRgb want;
    } checks[] = {
        {{1, h / 2}, second::Left},       {{second::LeftWidth - 1, h - 8}, second::Left},
        {{w - 1, h / 2}, second::Right},  {{w - second::RightWidth, 40}, second::Right},
        {{w / 2, h - 1}, second::Bottom}, {{w / 3, h - second::BottomHeight}, second::Bottom},
        {{w - 4, 2}, second::Top},        {{30, second::Caption - 1}, second::Top}};
    int off = 0;
    for (const auto& c : checks)
        if ((s.pixel(c.at) & 0xFFFFFF) != (c.want & 0xFFFFFF)) {
            ADD_FAILURE() << window->objectName().toStdString() << " at " << c.at.x() << ","
                          << c.at.y() << ": " << std::hex << s.pixel(c.at);
            ++off;
        }
    return off;
}

// Pixels of a window's caption icon that differ from `icon` keyed over the
// caption colour: where the icon is clear, the caption shows.
int iconPixelsOff(QWidget* window, const QImage& icon) {
    const QImage s = shot(window);
    int off = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb p = icon.isNull() ? 0 : icon.pixel(x, y);
            if (qAlpha(p) != 0 && qAlpha(p) != 255)
                continue; // blended edges
            const QRgb want = qAlpha(p) == 255 ? p : second::Top;
            if ((s.pixel(second::IconAt + QPoint(x, y)) & 0xFFFFFF) != (want & 0xFFFFFF))
                ++off;
        }
    return off;
}

class SkinChange : public test::OfflineWindowTest {
protected:
    void SetUp() override {
        OfflineWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_TRUE(waitSkinned(form.get()));
    }
    QTemporaryDir dir;
};

TEST_F(SkinChange, SecondSkinAtRunTimeAndTheGameBoxSkinBack) {
    const QString secondFile = writeFile(dir, "second.skn", second::storedSkin());
    const QString gameBoxFile = writeFile(dir, "gamebox.skn", skin::storedSkin());
    auto* pages = form->findChild<ui::TPageControl*>("PageControl2");
    auto* button = form->findChild<QPushButton*>("Button_down");
    ASSERT_TRUE(pages && button);
    const QSize client = skin::clientArea(form.get())->size();
    // The game box's skin as the window shows it now: its caption, left edge
    // and first tab.
    struct Region {
        QWidget* widget;
        QRect rect;
        QImage before;
        int asBefore() const {
            const QImage now = shot(widget).copy(rect);
            int same = 0;
            for (int y = 0; y < now.height(); ++y)
                for (int x = 0; x < now.width(); ++x)
                    same += now.pixel(x, y) == before.pixel(x, y);
            return same;
        }
    };
    Region regions[] = {{form.get(), {0, 0, form->width(), 30}, {}},
                        {form.get(), {0, 30, 4, form->height() - 30}, {}},
                        {pages->tabStrip(), pages->tabStrip()->tabRect(0), {}}};
    for (Region& r : regions)
        r.before = shot(r.widget).copy(r.rect);
    form->SkinData1.SetSkinFile(text::fromFileSystem(secondFile.toStdString()));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return form->size() == client + QSize(second::LeftWidth + second::RightWidth,
                                              second::Caption + second::BottomHeight);
    }));
    EXPECT_EQ(edgesOffTheSecondSkin(form.get()), 0);
    EXPECT_EQ(shot(button).pixel(1, 1) & 0xFFFFFF, second::Button & 0xFFFFFF);
    // Without "Tabs" the strip paints itself: the game box's tab image is
    // gone, and the band beside the tabs shows the second skin's face.
    const Region& tab = regions[2];
    const QImage strip = shot(tab.widget).copy(tab.rect);
    int drawn = 0; // the tab is there, not a blank band
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            drawn += (strip.pixel(x, y) & 0xFFFFFF) != (second::Face & 0xFFFFFF);
    EXPECT_LT(tab.asBefore(), tab.rect.width() * tab.rect.height() / 2);
    EXPECT_GT(drawn, tab.rect.width() * tab.rect.height() / 2);
    const QPoint beside = pages->mapTo(form.get(), QPoint(pages->width() - 10, 10));
    EXPECT_EQ(shot(form.get()).pixel(beside) & 0xFFFFFF, second::Face & 0xFFFFFF);

    // A window shown without activation (nothing activates it without a
    // window manager) keeps its one-state edges and caption.
    QWidget inactive;
    inactive.setObjectName("Inactive");
    inactive.setAttribute(Qt::WA_ShowWithoutActivating);
    inactive.resize(320, 160);
    inactive.show();
    ASSERT_TRUE(waitSkinned(&inactive));
    ASSERT_FALSE(inactive.isActiveWindow());
    EXPECT_EQ(edgesOffTheSecondSkin(&inactive), 0);
    const QString screenshots = QCoreApplication::applicationDirPath() + "/../screenshots/";
    QDir().mkpath(screenshots);
    form->grab().save(screenshots + "skin_second_main_window.png");
    inactive.grab().save(screenshots + "skin_second_inactive_window.png");
    // The main window loses the focus to it and keeps its edges too.
    inactive.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isActiveWindow(); }));
    EXPECT_EQ(edgesOffTheSecondSkin(form.get()), 0);
    inactive.hide();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    form->SkinData1.SetSkinFile(text::fromFileSystem(gameBoxFile.toStdString()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->size() == QSize(1002, 629); }));
    for (const Region& r : regions)
        EXPECT_EQ(r.asBefore(), r.rect.width() * r.rect.height())
            << r.rect.x() << "," << r.rect.y();
}

TEST(CaptionIcon, TheApplicationsIconKeyedOverTheCaption) {
    const QImage appIcon =
        ui::appIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    const struct {
        const char* name;
        bool withIcon;
    } cases[] = {{"application icon", true}, {"no icon anywhere", false}};
    for (const auto& c : cases) {
        QApplication::setWindowIcon(c.withIcon ? ui::appIcon() : QIcon());
        QWidget window;
        window.resize(300, 140);
        TSkinData data; // built after the icon was set
        data.SkinFormtype = TSkinFormType::sfOnlyThisForm;
        data.SetOwner(&window);
        data.SetActive(true);
        ASSERT_TRUE(data.ReadSkinStream(second::skinStream()));
        data.Loaded();
        window.show();
        ASSERT_TRUE(waitSkinned(&window)) << c.name;
        EXPECT_EQ(iconPixelsOff(&window, c.withIcon ? appIcon : QImage()), 0) << c.name;
    }
    QApplication::setWindowIcon(ui::appIcon());
}

} // namespace
