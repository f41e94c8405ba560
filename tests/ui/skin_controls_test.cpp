// The control skinners on real widgets with real input under the X server:
// pixels are compared against the skin model's own images.
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_paint.h"
#include "skin/controls/skin_progress.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_tab.h"
#include "skin/skin_data.h"
#include "skin/skin_draw.h"
#include "skin/skin_events.h"
#include "skin/stored_skin.h"
#include "support/x_input.h"
#include "ui/kit/page_control.h"

#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace zorvia;

namespace {

TSkinData& gameBoxSkin() {
    static TSkinData* data = [] {
        auto* d = new TSkinData;
        d->ReadSkinStream(skin::storedSkinStream());
        return d;
    }();
    return *data;
}
const skin::SkinModel& model() {
    return gameBoxSkin().Model();
}

// A skinner of class S attached to `widget` directly.
template <class S, class W>
S* attach(W* widget) {
    auto* skinner = new S(widget, gameBoxSkin());
    skinner->AttachControl();
    return skinner;
}

QImage grab(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// State `state` of `object` composed to `size` over the ButtonFace colour.
QImage expected(QSize size, const TDataSkinObject& object, const QImage& image, int frames,
                int state) {
    QImage out(size, QImage::Format_RGB32);
    out.fill(model().qcolour(skin::SlotButtonFace));
    skin::DrawSkinImage(out, out.rect(), image, false, object.Tile == 1, object.Trans != 0, frames,
                        state, skin::SkinMargins::of(object));
    return out;
}

// Pixels of `area` that differ between the two images.
int differing(const QImage& a, const QImage& b, const QRect& area, const QRect& skip = {}) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!skip.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                ++count;
    return count;
}

void activate(QWidget* window) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QApplication::setActiveWindow(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }));
}

class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(300, 120);
        button = new QPushButton(QStringLiteral("下载本游戏"), &window);
        button->setGeometry(20, 20, 90, 30);
        other = new QPushButton(QStringLiteral("其他"), &window);
        other->setGeometry(150, 20, 90, 30);
        skinner = attach<TSkinButton>(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        activate(&window);
        other->setFocus();
        QTest::mouseMove(&window, QPoint(280, 110));
    }
    // Whether the button shows state image `state` (the caption and its
    // focus rectangle left out).
    void expectState(int state, const char* what) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return skinner->state() == state; })) << what;
        const QImage shown = grab(button);
        const QImage want =
            expected(button->size(), model().Buttons, model().Buttons.Image, 5, state);
        EXPECT_EQ(differing(shown, want, shown.rect(), skinner->textRect().adjusted(-3, -3, 3, 3)),
                  0)
            << what;
    }
    QWidget window;
    QPushButton* button = nullptr;
    QPushButton* other = nullptr;
    TSkinButton* skinner = nullptr;
    int clicks = 0;
};

TEST_F(Buttons, StateImagesFollowPointerFocusAndDefault) {
    const QPoint centre = button->rect().center();
    expectState(TSkinButton::Normal, "normal");
    QTest::mouseMove(button, centre);
    expectState(TSkinButton::Hot, "pointer over");
    QTest::mousePress(button, Qt::LeftButton, {}, centre);
    expectState(TSkinButton::Pressed, "pressed");
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
    QTest::mouseMove(&window, QPoint(280, 110));
    expectState(TSkinButton::Focused, "focused after the click");
    other->setFocus();
    button->setDefault(true);
    expectState(TSkinButton::Focused, "default without focus");
    button->setEnabled(false);
    QTest::mouseMove(button, centre);
    expectState(TSkinButton::Disabled, "disabled under the pointer");
    QTest::mouseClick(button, Qt::LeftButton, {}, centre);
    expectState(TSkinButton::Disabled, "disabled after a click");
    EXPECT_EQ(clicks, 1);
    // The caption of a disabled button is in the button-shadow colour.
    const QImage shown = grab(button);
    const QRgb shadow = skin::systemQColour(model(), skin::COLOR_BTNSHADOW).rgb();
    int shadowPixels = 0;
    for (int y = skinner->textRect().top(); y <= skinner->textRect().bottom(); ++y)
        for (int x = skinner->textRect().left(); x <= skinner->textRect().right(); ++x)
            shadowPixels += shown.pixel(x, y) == shadow;
    EXPECT_GT(shadowPixels, 10);
}

TEST_F(Buttons, ClickNeedsPressAndReleaseWithoutLeaving) {
    const QPoint centre = button->rect().center();
    const QPoint outside = button->rect().bottomRight() + QPoint(30, 30);
    struct Case {
        const char* what;
        bool leaveAndReturn;
        int clicks;
    };
    const Case cases[] = {{"press, release", false, 1}, {"press, leave, return, release", true, 0}};
    for (const auto& c : cases) {
        clicks = 0;
        QTest::mouseMove(button, centre);
        QTest::mousePress(button, Qt::LeftButton, {}, centre);
        if (c.leaveAndReturn) {
            QTest::mouseMove(button, outside);
            QTest::mouseMove(button, centre);
        }
        QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
        EXPECT_EQ(clicks, c.clicks) << c.what;
        EXPECT_NE(skinner->state(), TSkinButton::Pressed) << c.what;
    }
}

// The same rules with the pointer driven through the X server.
TEST_F(Buttons, RealPointerThroughTheXServer) {
    const auto moveTo = [this](QPoint at) {
        const QPoint global = button->mapToGlobal(at);
        return QStringList{"mousemove", QString::number(global.x()), QString::number(global.y())};
    };
    const QPoint centre = button->rect().center();
    const QPoint outside = button->rect().bottomRight() + QPoint(30, 30);
    ASSERT_TRUE(test::xdotool(moveTo(centre)));
    expectState(TSkinButton::Hot, "pointer over");
    ASSERT_TRUE(test::xdotool({"mousedown", "1"}));
    expectState(TSkinButton::Pressed, "pressed");
    // Each step is waited for, so that the button sees the pointer leave.
    ASSERT_TRUE(test::xdotool(moveTo(outside)));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return skinner->state() != TSkinButton::Pressed && skinner->state() != TSkinButton::Hot;
    })) << "left while pressed";
    ASSERT_TRUE(test::xdotool(moveTo(centre)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return skinner->state() == TSkinButton::Hot; }))
        << "back while pressed";
    ASSERT_TRUE(test::xdotool({"mouseup", "1"}));
    // The next press shows once the release before it has been handled.
    ASSERT_TRUE(test::xdotool({"mousedown", "1"}));
    expectState(TSkinButton::Pressed, "pressed again");
    EXPECT_EQ(clicks, 0) << "press, leave, return, release";
    ASSERT_TRUE(test::xdotool({"mouseup", "1"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks > 0; })) << "press, release";
    EXPECT_EQ(clicks, 1) << "press, release";
}

TEST_F(Buttons, SpaceShowsThePressedImageAndClicksOnRelease) {
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    expectState(TSkinButton::Pressed, "space held");
    QTest::keyRelease(button, Qt::Key_Space);
    expectState(TSkinButton::Focused, "space released");
    EXPECT_EQ(clicks, 1);
}

TEST_F(Buttons, FirstDoubleBarBreaksTheLine) {
    button->resize(90, 56);
    const int line = button->fontMetrics().height();
    struct Case {
        QString caption;
        int lines;
    };
    const Case cases[] = {{QStringLiteral("收藏本游戏"), 1},
                          {QStringLiteral("收藏||本游戏"), 2},
                          {QStringLiteral("a||b||c"), 2}};
    for (const auto& c : cases) {
        button->setText(c.caption);
        (void)grab(button);
        EXPECT_EQ(skinner->textRect().height() / line, c.lines) << c.caption.toStdString();
    }
}

// A window that answers the page control's close question.
class CloseAnswer : public QWidget {
public:
    int answer = 0;
    int asked = -1;

protected:
    bool event(QEvent* e) override {
        if (e->type() == TSkinCloseTabEvent::EventType) {
            auto* q = static_cast<TSkinCloseTabEvent*>(e);
            asked = q->index;
            q->answer = answer;
            return true;
        }
        return QWidget::event(e);
    }
};

class Tabs : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(420, 200);
        control = new ui::TPageControl(&window);
        control->setTabWidth(120);
        control->setGeometry(10, 10, 400, 180);
        for (const char* name : {"首页", "游戏一", "游戏二"}) {
            auto* sheet = new ui::TTabSheet(control);
            sheet->setCaption(QString::fromUtf8(name));
            control->addPage(sheet);
        }
    }
    void skin(int tag) {
        control->setProperty("Tag", tag);
        skinner = attach<TSkinTab>(control);
        activate(&window);
    }
    QRect tabRect(int i) const {
        return control->tabStrip()->tabRect(i) &
               skinner->bandRect().translated(-control->tabStrip()->pos());
    }
    CloseAnswer window;
    ui::TPageControl* control = nullptr;
    TSkinTab* skinner = nullptr;
};

TEST_F(Tabs, CurrentTabShowsStateTwoOthersStateOne) {
    skin(0);
    control->setActivePageIndex(1);
    const QImage shown = grab(control->tabStrip());
    const TDataSkinBorder& tabs = *model().Tabs;
    for (int i = 0; i < 3; ++i) {
        const QRect r = tabRect(i);
        const int state = i == 1 ? 2 : 1;
        QImage want = expected(r.size(), tabs, tabs.Image, 5, state);
        // The margins of the tab image carry no text.
        const QImage part = shown.copy(r);
        const QRect left(0, 0, tabs.LeftWidth, r.height());
        EXPECT_EQ(differing(part, want, left), 0) << i;
    }
}

TEST_F(Tabs, CloseBoxClosesOnlyWhenTheWindowAnswersZero) {
    skin(TSkinTab::CloseTag);
    for (const int answer : {1, 0}) {
        window.answer = answer;
        const QRect box = skinner->closeBox(1);
        ASSERT_FALSE(box.isEmpty());
        QTest::mouseClick(control->tabStrip(), Qt::LeftButton, {}, box.center());
        EXPECT_EQ(window.asked, 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return control->pageCount() == (answer == 0 ? 2 : 3); }))
            << answer;
    }
    // Without the tag there are no close boxes.
    ui::TPageControl plain(&window);
    plain.addPage(new ui::TTabSheet(&plain));
    TSkinTab plainSkin(&plain, gameBoxSkin());
    plainSkin.AttachControl();
    (void)grab(&plain);
    EXPECT_TRUE(plainSkin.closeBox(0).isEmpty());
}

TEST_F(Tabs, HiddenTabsStillGetThePaneAndBottomTabsAreFlipped) {
    // The accordion: no tabs, the pane's edge round the pages.
    control->setTabsVisible(false);
    skin(0);
    const QImage pane = model().Tabs->Image2;
    const QImage accordion = grab(control);
    EXPECT_EQ(accordion.pixel(0, control->height() / 2), pane.pixel(0, pane.height() / 2));
    EXPECT_EQ(accordion.pixel(control->width() / 2, 1), pane.pixel(pane.width() / 2, 0));

    QTabWidget bottom(&window);
    bottom.setTabPosition(QTabWidget::South);
    bottom.setGeometry(10, 10, 300, 150);
    bottom.addTab(new QWidget, QStringLiteral("游戏"));
    bottom.addTab(new QWidget, QStringLiteral("首页"));
    TSkinTab bottomSkin(&bottom, gameBoxSkin());
    bottomSkin.AttachControl();
    bottom.show();
    QTabBar* bar = bottom.tabBar();
    const QRect r = bar->tabRect(1) & bottomSkin.bandRect().translated(-bar->pos());
    const TDataSkinBorder& tabs = *model().Tabs;
    const QImage want = expected(r.size(), tabs, tabs.Image.mirrored(false, true), 5, 1);
    EXPECT_EQ(differing(grab(bar).copy(r), want, QRect(0, 0, tabs.LeftWidth, r.height())), 0);
}

class Scrollbars : public ::testing::Test {
protected:
    void SetUp() override {
        list = new QListWidget(&window);
        list->setGeometry(10, 10, 160, 200);
        window.resize(200, 240);
        for (int i = 0; i < 3; ++i)
            list->addItem(QStringLiteral("游戏 %1").arg(i));
        skinner = attach<TSkinScrollbar>(list);
        activate(&window);
        bar = list->verticalScrollBar();
    }
    // The part of the bar as painted, against the model's image for it.
    void expectPart(TSkinScrollbar::Part part, const QImage& want, const char* what) {
        const QImage shown = grab(bar);
        const QRect r = TSkinScrollbar::partRect(bar, part);
        EXPECT_EQ(differing(shown.copy(r), want, QRect(QPoint(), r.size())), 0) << what;
    }
    QImage arrow(int image, QSize size) const {
        QImage out(size, QImage::Format_RGB32);
        out.fill(model().qcolour(skin::SlotButtonFace));
        skin::DrawSkinImage(out, out.rect(), model().Scrollbar->Image, false, false, true, 23,
                            image, {});
        return out;
    }
    void fill(int n) {
        for (int i = 0; i < n; ++i)
            list->addItem(QStringLiteral("更多游戏 %1").arg(i));
    }
    QWidget window;
    QListWidget* list = nullptr;
    QScrollBar* bar = nullptr;
    TSkinScrollbar* skinner = nullptr;
};

TEST_F(Scrollbars, GrowingListShowsTheSkinnedBar) {
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(skinner->hasBorder());
    fill(60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }));
    EXPECT_EQ(bar->width(), model().Scrollbar->Image.height());
    const QRect up = TSkinScrollbar::partRect(bar, TSkinScrollbar::FirstArrow);
    expectPart(TSkinScrollbar::FirstArrow, arrow(9, up.size()), "up arrow");
    // The two-pixel border: ButtonShadow outside, ButtonFace inside.
    const QImage shown = grab(list);
    EXPECT_EQ(QColor(shown.pixel(0, 50)), model().qcolour(skin::SlotButtonShadow));
    EXPECT_EQ(QColor(shown.pixel(1, 50)), model().qcolour(skin::SlotButtonFace));
}

TEST_F(Scrollbars, TrackClickPagesWhileTheTrackShowsPressed) {
    fill(200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }));
    bar->setValue(bar->maximum() / 2);
    const int before = bar->value();
    const QRect track = TSkinScrollbar::partRect(bar, TSkinScrollbar::TrackBefore);
    const QPoint at(track.center().x(), track.top() + 3);
    QTest::mousePress(bar, Qt::LeftButton, {}, at);
    EXPECT_EQ(bar->value(), before - bar->pageStep());
    const QRect now = TSkinScrollbar::partRect(bar, TSkinScrollbar::TrackBefore);
    QImage want(now.size(), QImage::Format_RGB32);
    want.fill(model().qcolour(skin::SlotButtonFace));
    skin::DrawSkinObject(want, want.rect(), *model().VertScroll, 2);
    expectPart(TSkinScrollbar::TrackBefore, want, "pressed track");
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    EXPECT_FALSE(skinner->pressed(Qt::Vertical));
}

TEST_F(Scrollbars, DraggedThumbStaysBetweenTheArrows) {
    fill(200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }));
    bar->setValue(bar->maximum() / 2);
    for (const int to : {-300, 900}) {
        const QPoint grip = TSkinScrollbar::partRect(bar, TSkinScrollbar::Thumb).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, QPoint(grip.x(), to));
        const QRect thumb = TSkinScrollbar::partRect(bar, TSkinScrollbar::Thumb);
        const QRect up = TSkinScrollbar::partRect(bar, TSkinScrollbar::FirstArrow);
        const QRect down = TSkinScrollbar::partRect(bar, TSkinScrollbar::SecondArrow);
        EXPECT_GT(thumb.top(), up.bottom()) << to;
        EXPECT_LT(thumb.bottom(), down.top()) << to;
        EXPECT_EQ(bar->value(), to < 0 ? bar->minimum() : bar->maximum());
        // Both arrows are painted whole, the thumb never over them.
        expectPart(TSkinScrollbar::FirstArrow, arrow(9, up.size()), "up arrow");
        expectPart(TSkinScrollbar::SecondArrow, arrow(13, down.size()), "down arrow");
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(grip.x(), to));
    }
}

// The shared routing of the skinner base reaches each kind of skinner: it
// answers the already-skinned question, and switched off the control paints
// itself until it is switched on again.
TEST(SkinnerRouting, SetEnabledAndIsSkinnedReachEachSkinner) {
    QWidget window;
    window.resize(420, 240);
    auto* button = new QPushButton(QStringLiteral("下载本游戏"), &window);
    button->setGeometry(10, 10, 90, 30);
    auto* pages = new ui::TPageControl(&window);
    pages->setGeometry(110, 10, 300, 120);
    for (const char* name : {"首页", "游戏"}) {
        auto* sheet = new ui::TTabSheet(pages);
        sheet->setCaption(QString::fromUtf8(name));
        pages->addPage(sheet);
    }
    auto* list = new QListWidget(&window);
    list->setGeometry(10, 50, 90, 180);
    for (int i = 0; i < 60; ++i)
        list->addItem(QStringLiteral("游戏 %1").arg(i));
    attach<TSkinButton>(button);
    attach<TSkinTab>(pages);
    attach<TSkinScrollbar>(list);
    activate(&window);
    struct Case {
        const char* what;
        QWidget* control;
        QWidget* painted;
    };
    const Case cases[] = {{"button", button, button},
                          {"tab", pages, pages->tabStrip()},
                          {"scroll bar", list, list->verticalScrollBar()}};
    for (const auto& c : cases) {
        EXPECT_TRUE(skin::isSkinned(c.control)) << c.what;
        const QImage skinned = grab(c.painted);
        skin::setSkinEnabled(c.control, false);
        EXPECT_FALSE(skin::isSkinned(c.control)) << c.what;
        EXPECT_NE(grab(c.painted), skinned) << c.what;
        skin::setSkinEnabled(c.control, true);
        EXPECT_TRUE(skin::isSkinned(c.control)) << c.what;
        EXPECT_EQ(grab(c.painted), skinned) << c.what;
    }
}

TEST(Progress, ChannelAndBarFromTheSkin) {
    QWidget window;
    auto* bar = new QProgressBar(&window);
    bar->setGeometry(0, 0, 200, 18);
    bar->setTextVisible(false);
    bar->setValue(50);
    attach<TSkinProgress>(bar);
    window.show();
    const QImage shown = grab(bar);
    // Corners are drawn unscaled: the channel's (state 1) are the first
    // image's corners at the bar's right end, the bar's (state 2) the second
    // image's at its left end. Read straight from the skin's bitmap: the
    // pixels near each corner, inside the 4-pixel margins.
    const TDataSkinBorder& look = *model().Progress;
    ASSERT_EQ(look.Frame, 2);
    ASSERT_GE(std::min({look.LeftWidth, look.TopHeight, look.RightWidth, look.BottomHeight}), 3);
    const QImage image = look.Image.convertToFormat(QImage::Format_RGB32);
    const int w = image.width() / 2;
    const int h = image.height();
    const struct {
        const char* what;
        QPoint shown; // the corner in the bar
        QPoint image; // the corner in the bitmap
        QPoint inward;
    } corners[] = {
        {"channel, right top", {199, 0}, {w - 1, 0}, {-1, 1}},
        {"channel, right bottom", {199, 17}, {w - 1, h - 1}, {-1, -1}},
        {"bar, left top", {0, 0}, {w, 0}, {1, 1}},
        {"bar, left bottom", {0, 17}, {w, h - 1}, {1, -1}},
    };
    int compared = 0;
    for (const auto& c : corners)
        for (const QPoint step : {QPoint(2, 0), QPoint(2, 1), QPoint(1, 2), QPoint(0, 2)}) {
            const QPoint d(step.x() * c.inward.x(), step.y() * c.inward.y());
            const QRgb want = image.pixel(c.image + d);
            if (skin::isKey(want))
                continue;
            ++compared;
            EXPECT_EQ(shown.pixel(c.shown + d) & 0xFFFFFF, want & 0xFFFFFF)
                << c.what << " " << d.x() << "," << d.y();
        }
    EXPECT_GE(compared, 8);
    // The two states differ where they are compared.
    EXPECT_NE(image.pixel(2, 1), image.pixel(w + 2, 1));
}

} // namespace
