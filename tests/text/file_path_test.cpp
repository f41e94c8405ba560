#include "text/codepage.h"
#include "text/file_path.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::text;

TEST(FilePath, EveryNameComesBackAndCodePage936TextsStayAsTheyAre) {
    const char* const names[] = {
        "/home/u/下载/zorvia/",           "/tmp/a b/'q\"/flash/x.swf",    "/tmp/𠀀😀/ü€/wendora.db",
        "/tmp/ｚｏｒｖｉａ/游戏 (1).swf", "/tmp/\xC3\xA9t\xC3\xA9/plain",
    };
    for (const char* utf8 : names) {
        const AnsiString ansi = fromFileSystem(utf8);
        EXPECT_EQ(toFileSystem(ansi), utf8);
        // A name that code page 936 can write is the same text either way.
        if (ansiToUtf8(utf8ToAnsi(utf8)) == utf8) {
            EXPECT_EQ(ansi, utf8ToAnsi(utf8)) << utf8;
        }
    }
    // Texts built in code page 936, its single-byte euro sign included.
    EXPECT_EQ(toFileSystem(utf8ToAnsi("flash/€游戏.swf")), "flash/€游戏.swf");
    EXPECT_EQ(toFileSystem("a\xFF"
                           "b"),
              "a?b");
    EXPECT_EQ(fromFileSystem("a\xFF"
                             "b"),
              "a?b");
}
