// Game file names as the flash folder takes them, and paths as the request
// line carries them.
#include "portal/flash_folder.h"
#include "portal/request_head.h"
#include "portal/url_encode.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::portal;

namespace {

TEST(GameFileName, CharactersNotBytes) {
    struct Case {
        AnsiString name;
        bool valid;
    };
    const Case cases[] = {
        // Second byte 0x5C: 淺 9C5C, 禱 B65C, 籠 BB5C.
        {text::utf8ToAnsi("淺禱.swf"), true},
        {text::utf8ToAnsi("籠中鳥.swf"), true},
        {text::utf8ToAnsi("星海 远征 #1 (100%).swf"), true},
        {"a\\b.swf", false},
        {text::utf8ToAnsi("游戏") + "\\x.swf", false},
        {"a/b.swf", false},
        {"a\x81/b.swf", false},
        {"a\x81\\b.swf", true},
        {"", false},
        {".", false},
        {"..", false},
        {"a\tb.swf", false},
        {".zorvia-part-1-2", false},
        {std::string(255, 'a'), true},
        {std::string(256, 'a'), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isGameFileName(c.name), c.valid) << text::ansiToUtf8(c.name);
}

TEST(RequestTarget, PercentEncodesWhatATargetMayNotCarry) {
    struct Case {
        AnsiString target;
        AnsiString sent;
    };
    const Case cases[] = {
        {"/games/abc.swf", "/games/abc.swf"},
        {"/games/my game.swf", "/games/my%20game.swf"},
        {"/" + text::utf8ToAnsi("游戏/淺禱.swf"), "/%D3%CE%CF%B7/%9C%5C%B6%5C.swf"},
        {"/a%20b%zz.swf", "/a%20b%zz.swf"},
        {"/x.swf?id=3&k=a+b", "/x.swf?id=3&k=a+b"},
        {"/q\"#<>\\^`{|}\x7F.swf", "/q%22%23%3C%3E%5C%5E%60%7B%7C%7D%7F.swf"},
        {"/~!$'()*,;:@=-._", "/~!$'()*,;:@=-._"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeRequestTarget(c.target), c.sent) << c.target;
        EXPECT_EQ(requestHeadLines(c.target, "h").front(), "GET " + c.sent + " HTTP/1.1");
    }
    EXPECT_EQ(portalRequestLines("favadd=7 8", "h", "").front(),
              "GET /mini.php?favadd=7%208 HTTP/1.1");
}

} // namespace
