#include "skin/gradient.h"
#include "skin/skin_colour.h"

#include <gtest/gtest.h>

using namespace zorvia::skin;

namespace {

TEST(SkinColour, ParseColour) {
    struct Case {
        const char* text;
        SkinColour want;
    };
    const Case cases[] = {
        {"0 95 196", rgbColour(0, 95, 196)},
        {"0,95,196", rgbColour(0, 95, 196)},
        {"  0 , 95 , 196  ", rgbColour(0, 95, 196)},
        {"12 34", rgbColour(12, 0, 0)},
        {"300 0 0", rgbColour(44, 0, 0)},
        {"1 2 3 4", rgbColour(1, 2, 3)},
        {"R255G128B1", rgbColour(255, 128, 1)},
        {"", 0},
        {"none", 0},
        {"7", 0},
        {"99999999999999999999 1 2", rgbColour(255, 1, 2)}, // 10^20 - 1: low byte 255
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseColour(c.text), c.want) << c.text;
}

TEST(SkinColour, SystemColourReferences) {
    const SystemColours classic = SystemColours::classic();
    EXPECT_TRUE(isSystemColour(systemColour(COLOR_BTNFACE)));
    EXPECT_FALSE(isSystemColour(NoColour));
    EXPECT_FALSE(isSystemColour(rgbColour(255, 255, 255)));
    EXPECT_EQ(classic.resolve(systemColour(COLOR_BTNFACE)), rgbColour(212, 208, 200));
    EXPECT_EQ(classic.resolve(rgbColour(1, 2, 3)), rgbColour(1, 2, 3));
    // An index beyond the table is black rather than a read past it.
    EXPECT_EQ(classic.resolve(systemColour(200)), 0);

    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::ButtonText, QColor(4, 5, 6));
    const SystemColours fromQt = SystemColours::fromPalette(palette);
    EXPECT_EQ(fromQt.resolve(systemColour(COLOR_BTNFACE)), rgbColour(1, 2, 3));
    EXPECT_EQ(fromQt.resolve(systemColour(COLOR_BTNTEXT)), rgbColour(4, 5, 6));
    EXPECT_EQ(fromQt.toQColor(systemColour(COLOR_BTNTEXT)), QColor(4, 5, 6));
}

TEST(SkinColour, BlendAndSaturation) {
    const SkinColour white = rgbColour(255, 255, 255), black = 0;
    // Weight 150 of 1000: 15 % of the first colour.
    EXPECT_EQ(blendColour(black, white, 150), rgbColour(217, 217, 217));
    // Weight 45 of 100.
    EXPECT_EQ(blendColour(white, black, 45), rgbColour(115, 115, 115));
    EXPECT_EQ(blendColour(rgbColour(10, 20, 30), rgbColour(10, 20, 30), 600),
              rgbColour(10, 20, 30));

    struct Case {
        SkinColour colour;
        int want;
    };
    const Case cases[] = {
        {rgbColour(255, 0, 0), 255},
        {rgbColour(200, 200, 200), 0},
        {rgbColour(160, 80, 0), 255},
        {rgbColour(200, 100, 150), 128}, // 127.5 rounds up
        {rgbColour(159, 0, 0), 200},     // no channel above 159
        {0, 200},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colourSaturation(c.colour), c.want) << std::hex << c.colour;
}

TEST(SkinColour, GradientRampsAreCachedRoundRobin) {
    const auto ramp = gradientRamp(5, rgbColour(0, 0, 0), rgbColour(100, 200, 255));
    ASSERT_EQ(ramp.size(), 5u);
    EXPECT_EQ(ramp.front(), rgbColour(0, 0, 0));
    EXPECT_EQ(ramp[2], rgbColour(50, 100, 128)); // 127.5 rounds to 128
    EXPECT_EQ(ramp.back(), rgbColour(100, 200, 255));
    EXPECT_EQ(gradientRamp(1, rgbColour(9, 9, 9), 0), std::vector<SkinColour>{rgbColour(9, 9, 9)});
    EXPECT_TRUE(gradientRamp(0, 0, 0).empty());

    const int before = gradientRampsComputed();
    gradientRamp(5, rgbColour(0, 0, 0), rgbColour(100, 200, 255));
    EXPECT_EQ(gradientRampsComputed(), before) << "served from the cache";
    // Sixteen new ramps push the first one out of the cache.
    for (int i = 0; i < 16; ++i)
        gradientRamp(100 + i, 0, 0);
    const int afterFill = gradientRampsComputed();
    gradientRamp(5, rgbColour(0, 0, 0), rgbColour(100, 200, 255));
    EXPECT_EQ(gradientRampsComputed(), afterFill + 1);
}

} // namespace
