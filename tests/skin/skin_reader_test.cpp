#include "skin/skin_reader.h"
#include "skin_test_support.h"
#include "text/ascii_case.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::skintest;

namespace {

std::vector<skinpack::Entry> sampleEntries() {
    return {{"Tab.bmp", textBytes("TAB")},
            {"SCROLL.BMP", textBytes("SCROLLBAR")},
            {"empty.bmp", {}},
            {"Skin.INI", textBytes("[x]\r\n")}};
}

TEST(SkinReader, ReadsEveryKnownVersion) {
    for (const std::int32_t version : {20000, 30000, 40000, 50000, 60000, 70000}) {
        MessageCatcher catcher;
        TSkinReader reader;
        ASSERT_TRUE(reader.ReadStore(storedSkinOf(sampleEntries(), version))) << version;
        EXPECT_EQ(reader.Version(), version);
        EXPECT_EQ(reader.Names().size(), 4u);
        Bytes out;
        reader.ExtractEntry("scroll.bmp", out);
        EXPECT_EQ(out, textBytes("SCROLLBAR")) << version;
        EXPECT_TRUE(catcher.messages.empty());
    }
}

// A container of an unknown version: the "older skin" message, and false.
TEST(SkinReader, UnknownVersionShowsTheMessage) {
    // The writer refuses unknown versions, so patch the header of a good one.
    Bytes container = skinpack::writeContainer(sampleEntries(), 20000);
    container[0] = 0x80;
    container[1] = 0x38;
    container[2] = 0x01; // 80000
    MessageCatcher catcher;
    TSkinReader reader;
    EXPECT_FALSE(reader.ReadStore(skinpack::packStore(container)));
    ASSERT_EQ(catcher.messages.size(), 1u);
    EXPECT_EQ(catcher.messages[0], "This is Older Skin File\rPlease update to new version !");
    EXPECT_TRUE(reader.Names().empty());
}

TEST(SkinReader, NamesAreFoldedAndLookUpsIgnoreCase) {
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadStore(storedSkinOf(sampleEntries())));
    EXPECT_EQ(reader.Names(),
              (std::vector<AnsiString>{"tab.bmp", "scroll.bmp", "empty.bmp", "skin.ini"}));
    EXPECT_EQ(reader.Sizes(), (std::vector<std::int32_t>{3, 9, 0, 5}));

    struct Case {
        const char* name;
        const char* want; // nullptr: no such entry
    };
    const Case cases[] = {{"TAB.BMP", "TAB"}, {"tab.bmp", "TAB"}, {"Scroll.Bmp", "SCROLLBAR"},
                          {"tab", nullptr},   {"", nullptr},      {"skin.ini", "[x]\r\n"},
                          {"empty.bmp", ""}};
    for (const auto& c : cases) {
        Bytes out = textBytes("left over");
        reader.ExtractEntry(c.name, out);
        EXPECT_EQ(out, textBytes(c.want ? c.want : "")) << c.name;
    }
}

TEST(SkinReader, EntryContainingAFragment) {
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadStore(storedSkinOf(sampleEntries())));
    Bytes out;
    AnsiString name = "unchanged";
    EXPECT_TRUE(reader.ExtractEntryContaining(".ini", out, name));
    EXPECT_EQ(name, "skin.ini");
    EXPECT_EQ(out, textBytes("[x]\r\n"));
    // The first match wins.
    EXPECT_TRUE(reader.ExtractEntryContaining(".BMP", out, name));
    EXPECT_EQ(name, "tab.bmp");

    name = "unchanged";
    EXPECT_FALSE(reader.ExtractEntryContaining(".png", out, name));
    EXPECT_EQ(name, "unchanged");
    EXPECT_TRUE(out.empty());
}

// Only ASCII letters are folded: the bytes of a double-byte character stay,
// even when one of them looks like an upper-case letter ("\xB0\x41").
TEST(SkinReader, FoldingKeepsDoubleByteCharacters) {
    EXPECT_EQ(text::toLowerAnsi("\xB0\x41"
                                "AB.BMP"),
              "\xB0\x41"
              "ab.bmp");
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadStore(storedSkinOf({{"\xB0\x41"
                                                "X.BMP",
                                                textBytes("cn")}})));
    Bytes out;
    reader.ExtractEntry("\xB0\x41"
                        "x.bmp",
                        out);
    EXPECT_EQ(out, textBytes("cn"));
}

TEST(SkinReader, NameListLineEnds) {
    struct Case {
        std::string list;
        std::vector<AnsiString> want;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},   {"a\nb", {"a", "b"}}, {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}}, {"\r\n", {""}},       {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(skin::splitLines(c.list), c.want) << c.list;
}

// Containers whose header or tables do not fit the data are refused with a
// message instead of being read past their end.
TEST(SkinReader, DamagedContainersAreRefused) {
    const Bytes good = skinpack::writeContainer(sampleEntries(), 20000);
    auto patched = [&](std::size_t at, std::uint32_t value) {
        Bytes c = good;
        for (int i = 0; i < 4; ++i)
            c[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        return skinpack::packStore(c);
    };
    std::size_t sizeTable = 16; // header, then the names with their line ends
    for (const auto& e : sampleEntries())
        sizeTable += e.name.size() + 2;
    struct Case {
        const char* what;
        Bytes stored;
    };
    const Case cases[] = {
        {"no size field", {1, 0}},
        {"negative size", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"size beyond the limit", {0, 0, 0, 0x7F}},
        {"shorter than a header", skinpack::packStore(Bytes(10, 0))},
        {"name list past the end", patched(4, 0x10000)},
        {"negative name list", patched(4, 0xFFFFFFFF)},
        {"negative entry size", patched(sizeTable, 0xFFFFFFFF)},
        {"entry past the end", patched(sizeTable, 1000)},
    };
    for (const auto& c : cases) {
        MessageCatcher catcher;
        TSkinReader reader;
        EXPECT_FALSE(reader.ReadStore(c.stored)) << c.what;
        EXPECT_EQ(catcher.messages.size(), 1u) << c.what;
        EXPECT_TRUE(reader.Names().empty()) << c.what;
    }
}

TEST(SkinReader, AStoredSkinCutShortStillReads) {
    // The decoder fills what is missing with the decoding of zero bits; the
    // header and names at the front stay readable.
    std::vector<skinpack::Entry> entries = sampleEntries();
    entries.push_back({"big.bmp", Bytes(20000, 0x5A)});
    Bytes stored = storedSkinOf(entries);
    stored.resize(stored.size() - 20);
    MessageCatcher catcher;
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadStore(stored));
    EXPECT_EQ(reader.Names().size(), 5u);
}

} // namespace
