// The tab skinner's strip: close boxes under a double click, and the scroll
// buttons that show once the tabs no longer fit.
#include "skin/controls/skin_tab.h"
#include "skin/skin_draw.h"
#include "skin_test_skins.h"
#include "support/x_input.h"
#include "ui/kit/page_control.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace zorvia;

namespace {

class TabStrip : public ::testing::Test {
protected:
    void makePages(int width, int count, int tag) {
        window.resize(width + 20, 200);
        control = new ui::TPageControl(&window);
        control->setTabWidth(120);
        control->setGeometry(10, 10, width, 180);
        control->setProperty("Tag", tag);
        for (int i = 0; i < count; ++i) {
            auto* sheet = new ui::TTabSheet(control);
            sheet->setCaption(QStringLiteral("游戏%1").arg(i));
            control->addPage(sheet);
            if (i == 0)
                first = sheet;
        }
        skinner = new TSkinTab(control, skintest::gameBoxSkin());
        skinner->AttachControl();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QStringList captions() const {
        QStringList out;
        for (int i = 0; i < control->pageCount(); ++i)
            out << control->page(i)->caption();
        return out;
    }
    QWidget window;
    ui::TPageControl* control = nullptr;
    TSkinTab* skinner = nullptr;
    ui::TTabSheet* first = nullptr;
};

TEST_F(TabStrip, DoubleClickOnACloseBoxClosesOneTab) {
    makePages(600, 4, TSkinTab::CloseTag);
    const auto clickAt = [this](int tab, const char* repeat) {
        const QPoint at = control->tabStrip()->mapToGlobal(skinner->closeBox(tab).center());
        return test::xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())}) &&
               test::xdotool({"click", "--repeat", repeat, "--delay", "80", "1"});
    };
    // The tab after the closed one slides under the pointer before the
    // second press.
    ASSERT_TRUE(clickAt(1, "2"));
    // A later click elsewhere: once it has closed its tab, the double click
    // has been handled too.
    ASSERT_TRUE(clickAt(0, "1"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return control->indexOf(first) < 0; }));
    EXPECT_EQ(captions(), (QStringList{"游戏2", "游戏3"}));
}

TEST_F(TabStrip, ScrollButtonsWearTheSkinsArrows) {
    makePages(300, 6, 0);
    const auto buttons = control->tabStrip()->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    const TDataSkinObject& arrows = *skintest::gameBoxSkin().Model().Scrollbar;
    const QRgb face = skintest::gameBoxSkin().Model().qcolour(skin::SlotButtonFace).rgb();
    const int cell = arrows.Image.width() / 23;
    for (QToolButton* button : buttons) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->isVisible(); }));
        // Left arrow images 1 to 4 and right arrow 5 to 8: normal, pressed,
        // disabled, pointer over.
        const int base = button->arrowType() == Qt::LeftArrow ? 1 : 5;
        const int image = base + (button->isEnabled() ? 0 : 2);
        const QImage want = arrows.Image.copy((image - 1) * cell, 0, cell, arrows.Image.height())
                                .scaled(button->size());
        const QImage shown = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (const QPoint p : {QPoint(0, 0), button->rect().center(),
                               QPoint(button->width() - 1, button->height() - 1)}) {
            const QRgb model = want.pixel(p);
            EXPECT_EQ(shown.pixel(p) & 0xFFFFFF, (skin::isKey(model) ? face : model) & 0xFFFFFF)
                << image << " at " << p.x() << "," << p.y();
        }
    }
}

} // namespace
