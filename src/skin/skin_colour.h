#pragma once

#include <QColor>
#include <QPalette>

#include <array>
#include <cstdint>
#include <string_view>

namespace zorvia::skin {

// A skin colour: 0x00BBGGRR, or 0xFF000000 + a system colour index; -1 and
// 0x1FFFFFFF are the "not given" markers of model fields.
using SkinColour = std::int32_t;

inline constexpr SkinColour NoColour = -1;
inline constexpr SkinColour TitleColourNotGiven = 0x1FFFFFFF;

// Windows system colour indices used by the skin.
enum SystemColourIndex : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    SystemColourCount = 31,
};

constexpr SkinColour systemColour(int index) {
    return static_cast<SkinColour>(0xFF000000u | static_cast<std::uint32_t>(index));
}
constexpr bool isSystemColour(SkinColour c) {
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u && c != NoColour;
}
constexpr SkinColour rgbColour(int r, int g, int b) {
    return static_cast<SkinColour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The current values of the system colours, as RGB (0x00BBGGRR).
struct SystemColours {
    std::array<SkinColour, SystemColourCount> values{};

    // The classic desktop defaults (used where no GUI palette is at hand).
    static SystemColours classic();
    // Taken from a Qt palette; indices without a palette role keep the
    // classic value.
    static SystemColours fromPalette(const QPalette& palette);
    // From the running GUI application's palette, or classic() without one.
    static SystemColours current();

    // `c` with a system colour reference replaced by its current value; other
    // values keep their low 24 bits.
    SkinColour resolve(SkinColour c) const;
    QColor toQColor(SkinColour c) const;
};

// "0 95 196", "0,95,196" and the like: up to three decimal numbers separated
// by anything; the result is RGB of their low bytes. See the settings docs.
SkinColour ParseColour(std::string_view text);

// Blend of two (resolved) colours with weight `w`: base 100 when w < 100,
// else 1000; each channel is (x*w + y*(base-w) + base/2) / base.
SkinColour blendColour(SkinColour x, SkinColour y, int w);
// 255 * (max - min) / max, rounded, when a channel is above 159; else 200.
int colourSaturation(SkinColour c);

constexpr int redOf(SkinColour c) {
    return c & 0xFF;
}
constexpr int greenOf(SkinColour c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(SkinColour c) {
    return (c >> 16) & 0xFF;
}

} // namespace zorvia::skin
