#pragma once

// Skins for the skin engine's UI tests: the game box's own, and a second one
// of plain colours whose pixels a test can name without drawing anything.
#include "skin/skin_data.h"
#include "skin/skin_test_support.h"
#include "skin/stored_skin.h"

#include <QColor>

#include <string>

namespace zorvia::skintest {

// The game box's own skin, loaded once.
inline TSkinData& gameBoxSkin() {
    static TSkinData* data = [] {
        auto* d = new TSkinData;
        d->ReadSkinStream(skin::storedSkinStream());
        return d;
    }();
    return *data;
}

// The second skin: edges of one state and one colour each, a caption icon
// and no other caption button, buttons of one colour, no "Tabs".
namespace second {
inline constexpr QRgb Left = qRgb(200, 30, 40);
inline constexpr QRgb Right = qRgb(30, 160, 60);
inline constexpr QRgb Bottom = qRgb(40, 60, 200);
inline constexpr QRgb Top = qRgb(90, 20, 120);
inline constexpr QRgb Button = qRgb(250, 200, 20);
inline constexpr QRgb Face = qRgb(210, 230, 200);
inline constexpr int LeftWidth = 6, RightWidth = 7, BottomHeight = 3, Caption = 24;
inline constexpr QPoint IconAt{6, 4}; // the caption icon's top-left corner

inline Bytes storedSkin() {
    const std::string ini = "[Personality]\n"
                            "Top=top.bmp\nTopFrame=1\nTopTrans=0\n"
                            "Left=left.bmp\nLeftFrame=1\nLeftTrans=0\n"
                            "Right=right.bmp\nRightFrame=1\nRightTrans=0\n"
                            "Bottom=bottom.bmp\nBottomFrame=1\nBottomTrans=0\n"
                            "TextShift=40\nTextRightClip=10\n"
                            "[ButtonIcon]\nAction=3\nAlign=0\nXCoord=6\nYCoord=4\nVisibility=0\n"
                            "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=2\nRightWidth=2\n"
                            "TopHeight=2\nBottomHeight=2\n"
                            "[Colours]\nButtonFace=210 230 200\n";
    return storedSkinOf({{"bottom.bmp", solidBmp(8, BottomHeight, Bottom)},
                         {"buttons.bmp", solidBmp(50, 10, Button)},
                         {"left.bmp", solidBmp(LeftWidth, 8, Left)},
                         {"right.bmp", solidBmp(RightWidth, 8, Right)},
                         {"top.bmp", solidBmp(16, Caption, Top)},
                         {"second.ini", textBytes(ini)}});
}

// The same as a SkinStream property value.
inline Bytes skinStream() {
    Bytes stored = storedSkin();
    Bytes out;
    putLe(out, static_cast<std::uint32_t>(stored.size()), 4);
    out.insert(out.end(), stored.begin(), stored.end());
    return out;
}
} // namespace second

} // namespace zorvia::skintest
