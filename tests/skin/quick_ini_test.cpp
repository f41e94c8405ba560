#include "skin/quick_ini.h"

#include <gtest/gtest.h>

using namespace zorvia;

namespace {

const char Sample[] = "; skin settings\r\n"
                      "[Tabs]\r\n"
                      "Image=\r\n"
                      "Image=second.bmp\r\n"
                      "  Trans = 1 ; note  \r\n"
                      "Hex1=0x1F\r\n"
                      "Hex2=$1F\r\n"
                      "Hex3=0x\r\n"
                      "Hex4=0XfF\r\n"
                      "Neg=-12\r\n"
                      "Big=2147483648\r\n"
                      "Full=$FFFFFFFF\r\n"
                      "Spaced=1 2\r\n"
                      "NoEquals\r\n"
                      "=orphan\r\n"
                      "A=b=c\r\n"
                      "\r\n"
                      "   ; indented comment\r\n"
                      "[tabs]\r\n"
                      "Image=other.bmp\r\n"
                      "Extra=only in the second\r\n"
                      "[ Buttons ]\r\n"
                      "Bitmap=b.bmp\r\n"
                      "[Last]\n"
                      "Key=lf only\r"
                      "Key2=cr only\0"
                      "Hidden=after the NUL\r\n";

class QuickIniTest : public ::testing::Test {
protected:
    void SetUp() override { ini.LoadFromText(std::string_view(Sample, sizeof(Sample) - 1)); }
    TQuickIni ini;
};

TEST_F(QuickIniTest, ReadString) {
    struct Case {
        const char* section;
        const char* key;
        const char* want;
    };
    const Case cases[] = {
        // The first "Image" line counts even though it is empty: default.
        {"Tabs", "Image", "default"},
        {"TABS", "image", "default"},
        // Comments after a value are part of it.
        {"Tabs", "Trans", "1 ; note"},
        {"Tabs", "A", "b=c"},
        // The second section of the same name is never read.
        {"Tabs", "Extra", "default"},
        // Blanks inside the brackets: not found by the bare name.
        {"Buttons", "Bitmap", "default"},
        {" Buttons ", "Bitmap", "b.bmp"},
        {"Tabs", "NoEquals", "default"},
        {"Tabs", "", "default"},
        {"Missing", "Image", "default"},
        {"Last", "Key", "lf only"},
        {"Last", "Key2", "cr only"},
        {"Last", "Hidden", "default"},
        // A key of the next section is not read through the header.
        {"Tabs", "Bitmap", "default"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.want) << c.section << "/" << c.key;
}

TEST_F(QuickIniTest, ReadInteger) {
    struct Case {
        const char* key;
        std::int32_t want;
    };
    const Case cases[] = {
        {"Trans", 7},                              // "1 ; note" is no integer
        {"Hex1", 31},  {"Hex2", 31},  {"Hex3", 7}, // "0x" alone
        {"Hex4", 255}, {"Neg", -12},  {"Big", 7},  // out of range
        {"Full", -1},  {"Spaced", 7}, {"Missing", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadInteger("Tabs", c.key, 7), c.want) << c.key;
}

TEST_F(QuickIniTest, SectionsInFileOrder) {
    EXPECT_EQ(ini.ReadSections(), (std::vector<AnsiString>{"Tabs", "tabs", "Buttons", "Last"}));
    std::vector<AnsiString> list{"stale"};
    ini.ReadSections(&list);
    EXPECT_EQ(list.size(), 4u);
}

TEST_F(QuickIniTest, KeepsOnlyTrimmedNonCommentLines) {
    EXPECT_EQ(ini.Lines().front(), "[Tabs]");
    EXPECT_EQ(ini.Lines()[3], "Trans = 1 ; note");
    for (const auto& line : ini.Lines()) {
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), ';');
    }
}

TEST(QuickIni, LoadingReplacesEverything) {
    TQuickIni ini;
    ini.LoadFromText("[A]\nk=1\n");
    ini.LoadFromText("[B]\nk=2\n");
    EXPECT_EQ(ini.ReadString("A", "k", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("B", "k", 0), 2);
    ini.LoadFromText("");
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_EQ(ini.ReadString("B", "k", "none"), "none");
}

TEST(QuickIni, ParseInteger) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"+5", true, 5},
        {"-2147483648", true, INT32_MIN},
        {"2147483647", true, INT32_MAX},
        {"$7fffffff", true, INT32_MAX},
        {"-$10", true, -16},
        {"$", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {"$100000000", false, 0},
        {"1e3", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t v = 0;
        EXPECT_EQ(skin::parseInteger(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

} // namespace
