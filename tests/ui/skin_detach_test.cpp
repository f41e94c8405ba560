// Control skinners that change a control's frame, style or colours give them
// back when they are detached or deleted.
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin_test_skins.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zorvia;

namespace {

// What a skinner may change on the controls below.
struct Look {
    int frameStyle, lineWidth;
    QStyle* barStyle;
    bool tracking;
    QColor sheetColour, editBase;
    bool sheetFills, editFrame;
    QMargins editMargins;
    bool operator==(const Look&) const = default;
};

TEST(SkinnerDetach, GivesBackFrameStylePaletteAndMargins) {
    const struct {
        const char* name;
        std::function<void(TSkinControl&)> leave;
    } cases[] = {{"detached", [](TSkinControl& s) { s.Detach(); }},
                 {"deleted", [](TSkinControl& s) { delete &s; }}};
    for (const auto& c : cases) {
        QWidget window;
        auto* list = new QListWidget(&window);
        auto* sheet = new QWidget(&window);
        auto* edit = new QLineEdit(&window);
        auto look = [&] {
            return Look{list->frameStyle(),
                        list->lineWidth(),
                        list->verticalScrollBar()->style(),
                        list->verticalScrollBar()->hasMouseTracking(),
                        sheet->palette().color(sheet->backgroundRole()),
                        edit->palette().color(QPalette::Base),
                        sheet->autoFillBackground(),
                        edit->hasFrame(),
                        edit->textMargins()};
        };
        const Look before = look();
        TSkinData& data = skintest::gameBoxSkin();
        TSkinControl* skinners[] = {new TSkinScrollbar(list, data), new TSkinTabSheet(sheet, data),
                                    new TSkinEdit(edit, data)};
        for (TSkinControl* s : skinners)
            s->AttachControl();
        const Look skinned = look();
        EXPECT_NE(skinned.frameStyle, before.frameStyle) << c.name;
        EXPECT_NE(skinned.sheetColour, before.sheetColour) << c.name;
        EXPECT_NE(skinned.editFrame, before.editFrame) << c.name;
        for (TSkinControl* s : skinners)
            c.leave(*s);
        EXPECT_TRUE(look() == before) << c.name;
    }
}

} // namespace
