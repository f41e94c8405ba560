#include "text/codepage.h"

#include "text/iconv_convert.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

using namespace zorvia::text;

namespace {

// "游戏" in the three encodings.
const std::string kGameAnsi = "\xD3\xCE\xCF\xB7";
const std::string kGameUtf8 = "\xE6\xB8\xB8\xE6\x88\x8F";
const std::u16string kGame16 = u"\u6E38\u620F";

TEST(Codepage, RoundTrips) {
    struct Case {
        std::string ansi;
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", "", u""},
        {"abc", "abc", u"abc"},
        {kGameAnsi, kGameUtf8, kGame16},
        {"Zorvia" + kGameAnsi + "!", "Zorvia" + kGameUtf8 + "!", u"Zorvia\u6E38\u620F!"},
        {"\x80", "\xE2\x82\xAC", u"\u20AC"}, // the euro sign of code page 936
        {std::string("a\0b", 3), std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ansiToUtf8(c.ansi), c.utf8);
        EXPECT_EQ(utf8ToAnsi(c.utf8), c.ansi);
        EXPECT_EQ(ansiToUtf16(c.ansi), c.utf16);
        EXPECT_EQ(utf16ToAnsi(c.utf16), c.ansi);
        EXPECT_EQ(utf16ToUtf8(c.utf16), c.utf8);
        EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16);
    }
}

TEST(Codepage, UnrepresentableAndInvalidBecomeQuestionMarks) {
    struct Case {
        const char* what;
        std::string got;
        std::string want;
    };
    const Case cases[] = {
        {"emoji to ANSI",
         utf8ToAnsi("a\xF0\x9F\x98\x80"
                    "b"),
         "a?b"},
        {"Korean to ANSI", utf16ToAnsi(u"x\uD55Cy"), "x?y"},
        {"surrogate pair to ANSI", utf16ToAnsi(u"\U0001F600"), "?"},
        {"bad UTF-8 byte",
         utf8ToAnsi("a\xFF"
                    "b"),
         "a?b"},
        {"cut-off UTF-8", utf8ToAnsi("a\xE6\xB8"), "a?"},
        {"lone lead byte at end", ansiToUtf8("a\xD3"), "a?"},
        {"0xFF in ANSI",
         ansiToUtf8("\xFF"
                    "z"),
         "?z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(Codepage, LongTextCrossesBufferBoundaries) {
    std::string ansi;
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        ansi += kGameAnsi + "x";
        utf8 += kGameUtf8 + "x";
    }
    EXPECT_EQ(ansiToUtf8(ansi), utf8);
    EXPECT_EQ(utf8ToAnsi(utf8), ansi);
}

TEST(Codepage, StrictUtf8Decoding) {
    struct Case {
        std::string in;
        bool ok;
    };
    const Case cases[] = {
        {"", true},
        {kGameUtf8, true},
        {"\xF0\x9F\x98\x80", true},
        {"\xC0\xAF", false},         // overlong
        {"\xED\xA0\x80", false},     // surrogate
        {"\xE6\xB8", false},         // cut off
        {"\x80", false},             // stray continuation
        {"\xE6\x41\x8F", false},     // bad continuation
        {"\xF5\x80\x80\x80", false}, // beyond U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeUtf8Strict(c.in).has_value(), c.ok) << c.in;
    EXPECT_EQ(decodeUtf8Strict(kGameUtf8).value(), kGame16);
    EXPECT_EQ(decodeUtf8Strict("\xF0\x9F\x98\x80").value(), u"\U0001F600");
}

// What the conversions gave when every text went through iconv, pinned.
TEST(Codepage, PinnedCodePageTexts) {
    struct Case {
        const char* what;
        std::string utf8;
        std::string ansi;
    };
    const Case cases[] = {
        {"ASCII", "Zorvia 1.0 <p>a_b</p>", "Zorvia 1.0 <p>a_b</p>"},
        {"Chinese", "\u6E38\u620F\u76D2\u5B50 v2", "\xD3\xCE\xCF\xB7\xBA\xD0\xD7\xD3 v2"},
        {"kana, Greek, pinyin, circled digit", "\u3042\u03B1\u00E9\u2460",
         "\xA4\xA2\xA6\xC1\xA8\xA6\xA2\xD9"},
        {"outside code page 936", "a\uD55C\u00E4\U0001F600b", "a???b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToAnsi(c.utf8), c.ansi) << c.what;
        EXPECT_EQ(utf16ToAnsi(utf8ToUtf16(c.utf8)), c.ansi) << c.what;
    }
    // Double-byte codes the code page leaves unassigned.
    EXPECT_EQ(ansiToUtf8("\xA2\xA0x\xFE\xFE"), "?x?");
    EXPECT_EQ(ansiToUtf16("\xD7\xFA"), u"?");
}

// Texts converted on the stack and texts too long for it: Chinese, ASCII
// and a character outside the code page on both sides of the limit.
TEST(Codepage, TextsAroundTheStackLimitConvertAlike) {
    for (size_t padding = 240; padding <= 260; ++padding) {
        const std::string ascii(padding, 'a');
        EXPECT_EQ(utf8ToAnsi(ascii + kGameUtf8 + "\xF0\x9F\x98\x80z"), ascii + kGameAnsi + "?z")
            << padding;
        EXPECT_EQ(utf8ToAnsi(kGameUtf8 + ascii), kGameAnsi + ascii) << padding;
    }
}

// Character by character the conversions give what iconv gives for the
// same text: every code point of the first plane, every double-byte code.
TEST(Codepage, EveryCharacterConvertsAsIconvConvertsIt) {
    using zorvia::text::detail::Encoding;
    using zorvia::text::detail::iconvConvert;
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        std::string utf8 = "x";
        zorvia::text::detail::appendUtf8(utf8, cp);
        const std::u16string utf16 = {u'x', static_cast<char16_t>(cp)};
        const std::string utf16Bytes = {'x', '\0', static_cast<char>(cp & 0xFF),
                                        static_cast<char>(cp >> 8)};
        const auto code = static_cast<unsigned>(cp);
        ASSERT_EQ(utf8ToAnsi(utf8), iconvConvert(Encoding::Ansi, Encoding::Utf8, utf8)) << code;
        ASSERT_EQ(utf16ToAnsi(utf16), iconvConvert(Encoding::Ansi, Encoding::Utf16, utf16Bytes))
            << code;
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string ansi = {static_cast<char>(lead), static_cast<char>(trail), 'x'};
            ASSERT_EQ(ansiToUtf8(ansi), iconvConvert(Encoding::Utf8, Encoding::Ansi, ansi))
                << lead << " " << trail;
            ASSERT_EQ(ansiToUtf16(ansi),
                      utf8ToUtf16(iconvConvert(Encoding::Utf8, Encoding::Ansi, ansi)))
                << lead << " " << trail;
        }
    }
}

} // namespace
