#include "ui/main/tab_caption.h"

#include "support/browser_test_support.h"

#include <gtest/gtest.h>

namespace zorvia::ui {
namespace {

TEST(TabCaption, LongTitlesAreCutByTheDoubleByteRuleOfByteEleven) {
    const struct {
        const char* label;
        QString title;
        QString caption;
    } cases[] = {
        {"14 ASCII letters stay whole", "abcdefghijklmn", "abcdefghijklmn"},
        {"16 bytes, byte 11 single", "Game Center Home", "Game Center..."},
        {"7 Chinese characters (14 bytes) stay whole", "一二三四五六七", "一二三四五六七"},
        {"8 Chinese characters: byte 11 is a lead byte", "一二三四五六七八", "一二三四五六七八..."},
        {"12 Chinese characters", "一二三四五六七八九十甲乙", "一二三四五六七八九十甲..."},
        {"a letter and 12 Chinese characters: byte 11 is a trail byte", "a一二三四五六七八九十甲乙",
         "a一二三四五六七八九..."},
        {"empty title", "", ""},
        {"characters the code page lacks become ?", QString::fromUtf8("ab\xF0\x9F\x98\x80"), "ab?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(tabCaption(c.title), c.caption);
    }
}

} // namespace
} // namespace zorvia::ui
