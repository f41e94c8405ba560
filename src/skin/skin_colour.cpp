#include "skin/skin_colour.h"

#include "text/trim.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace zorvia::skin {

SystemColours SystemColours::classic() {
    SystemColours s;
    auto set = [&](int index, int r, int g, int b) { s.values[index] = rgbColour(r, g, b); };
    set(COLOR_SCROLLBAR, 212, 208, 200);
    set(COLOR_BACKGROUND, 58, 110, 165);
    set(COLOR_ACTIVECAPTION, 10, 36, 106);
    set(COLOR_INACTIVECAPTION, 128, 128, 128);
    set(COLOR_MENU, 212, 208, 200);
    set(COLOR_WINDOW, 255, 255, 255);
    set(COLOR_WINDOWFRAME, 0, 0, 0);
    set(COLOR_MENUTEXT, 0, 0, 0);
    set(COLOR_WINDOWTEXT, 0, 0, 0);
    set(COLOR_CAPTIONTEXT, 255, 255, 255);
    set(COLOR_ACTIVEBORDER, 212, 208, 200);
    set(COLOR_INACTIVEBORDER, 212, 208, 200);
    set(COLOR_APPWORKSPACE, 128, 128, 128);
    set(COLOR_HIGHLIGHT, 10, 36, 106);
    set(COLOR_HIGHLIGHTTEXT, 255, 255, 255);
    set(COLOR_BTNFACE, 212, 208, 200);
    set(COLOR_BTNSHADOW, 128, 128, 128);
    set(COLOR_GRAYTEXT, 128, 128, 128);
    set(COLOR_BTNTEXT, 0, 0, 0);
    set(COLOR_INACTIVECAPTIONTEXT, 212, 208, 200);
    set(COLOR_BTNHIGHLIGHT, 255, 255, 255);
    set(COLOR_3DDKSHADOW, 64, 64, 64);
    set(COLOR_3DLIGHT, 212, 208, 200);
    set(COLOR_INFOTEXT, 0, 0, 0);
    set(COLOR_INFOBK, 255, 255, 225);
    return s;
}

SystemColours SystemColours::fromPalette(const QPalette& p) {
    SystemColours s = classic();
    auto set = [&](int index, QPalette::ColorGroup group, QPalette::ColorRole role) {
        const QColor c = p.color(group, role);
        s.values[index] = rgbColour(c.red(), c.green(), c.blue());
    };
    using G = QPalette;
    set(COLOR_SCROLLBAR, G::Active, G::Button);
    set(COLOR_ACTIVECAPTION, G::Active, G::Highlight);
    set(COLOR_INACTIVECAPTION, G::Inactive, G::Mid);
    set(COLOR_MENU, G::Active, G::Button);
    set(COLOR_WINDOW, G::Active, G::Base);
    set(COLOR_WINDOWFRAME, G::Active, G::Shadow);
    set(COLOR_MENUTEXT, G::Active, G::ButtonText);
    set(COLOR_WINDOWTEXT, G::Active, G::WindowText);
    set(COLOR_CAPTIONTEXT, G::Active, G::HighlightedText);
    set(COLOR_ACTIVEBORDER, G::Active, G::Window);
    set(COLOR_INACTIVEBORDER, G::Inactive, G::Window);
    set(COLOR_APPWORKSPACE, G::Active, G::Mid);
    set(COLOR_HIGHLIGHT, G::Active, G::Highlight);
    set(COLOR_HIGHLIGHTTEXT, G::Active, G::HighlightedText);
    set(COLOR_BTNFACE, G::Active, G::Button);
    set(COLOR_BTNSHADOW, G::Active, G::Dark);
    set(COLOR_GRAYTEXT, G::Disabled, G::Text);
    set(COLOR_BTNTEXT, G::Active, G::ButtonText);
    set(COLOR_INACTIVECAPTIONTEXT, G::Inactive, G::Light);
    set(COLOR_BTNHIGHLIGHT, G::Active, G::Light);
    set(COLOR_3DDKSHADOW, G::Active, G::Shadow);
    set(COLOR_3DLIGHT, G::Active, G::Midlight);
    set(COLOR_INFOTEXT, G::Active, G::ToolTipText);
    set(COLOR_INFOBK, G::Active, G::ToolTipBase);
    return s;
}

SystemColours SystemColours::current() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return classic();
    return fromPalette(QGuiApplication::palette());
}

SkinColour SystemColours::resolve(SkinColour c) const {
    if (isSystemColour(c)) {
        const int index = c & 0xFF;
        return index < SystemColourCount ? values[static_cast<size_t>(index)] : 0;
    }
    return c & 0x00FFFFFF;
}

QColor SystemColours::toQColor(SkinColour c) const {
    const SkinColour v = resolve(c);
    return QColor(redOf(v), greenOf(v), blueOf(v));
}

SkinColour ParseColour(std::string_view text) {
    text = text::trim(text);
    std::array<int, 3> values{};
    int stored = 0;
    bool pending = false;
    int number = 0;
    for (const char c : text) {
        if (stored == 3)
            break;
        if (c >= '0' && c <= '9') {
            // Only the low byte counts in the end; keep the number small.
            number = (number * 10 + (c - '0')) % 256;
            pending = true;
        } else if (pending) {
            values[static_cast<size_t>(stored++)] = number;
            number = 0;
            pending = false;
        }
    }
    if (pending && stored == 2)
        values[static_cast<size_t>(stored++)] = number;
    return rgbColour(values[0], values[1], values[2]);
}

SkinColour blendColour(SkinColour x, SkinColour y, int w) {
    const int base = w < 100 ? 100 : 1000;
    auto channel = [&](int a, int b) { return (a * w + b * (base - w) + base / 2) / base; };
    return rgbColour(channel(redOf(x), redOf(y)), channel(greenOf(x), greenOf(y)),
                     channel(blueOf(x), blueOf(y)));
}

int colourSaturation(SkinColour c) {
    const int r = redOf(c), g = greenOf(c), b = blueOf(c);
    const int hi = std::max({r, g, b});
    const int lo = std::min({r, g, b});
    if (hi <= 159)
        return 200;
    return static_cast<int>(std::lround(255.0 * (hi - lo) / hi));
}

} // namespace zorvia::skin
