#include "text/ascii_case.h"
#include "text/trim.h"

#include <gtest/gtest.h>

using namespace zorvia::text;

namespace {

// trimBlanks stops at other control characters, trim removes them too; case
// folding touches ASCII letters only.
TEST(TextHelpers, TrimAndFold) {
    EXPECT_EQ(trimBlanks(" \t a b\t "), "a b");
    EXPECT_EQ(trimBlanks("\r\na\n"), "\r\na\n");
    EXPECT_EQ(trim("\r\n\x01 a b \x1F"), "a b");
    EXPECT_EQ(trim("\x7F\xA1"), "\x7F\xA1");
    EXPECT_EQ(toLowerAscii("Ab\xC4Z"), "ab\xC4z");
    EXPECT_EQ(toUpperAscii("aB\xE4z"), "AB\xE4Z");
    EXPECT_TRUE(equalsNoCase(":MeMory:", ":memory:"));
    EXPECT_FALSE(equalsNoCase("\xC4", "\xE4"));
}

// The folded comparison agrees with comparing the folded texts: the second
// byte of a double-byte character keeps its case, a lone last lead byte does
// not pair with anything.
TEST(TextHelpers, EqualsNoCaseAnsiMatchesFoldedTexts) {
    const char* const texts[] = {"Image",        "iMAGE",        "Imag",  "\xB0\x41x",
                                 "\xB0\x61X",    "\xB0\x41X",    "a\xB0", "A\xB0",
                                 "\xB0\xB0\x41", "\xB0\xB0\x61", "",      "\x41\xB0\x41",
                                 "\x61\xB0\x41"};
    for (const char* a : texts)
        for (const char* b : texts)
            EXPECT_EQ(equalsNoCaseAnsi(a, b), toLowerAnsi(a) == toLowerAnsi(b)) << a << " / " << b;
}

} // namespace
