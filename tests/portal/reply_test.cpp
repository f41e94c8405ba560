#include "portal/chunked.h"
#include "portal/reply_text.h"
#include "portal/request_head.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::portal;

namespace {

TEST(ReplyText, Decoding) {
    struct Case {
        std::string body;
        AnsiString want;
    };
    const Case cases[] = {
        {"ab", "ab"},
        {"", ""},
        {"1|\xE4\xBC\x91\xE9\x97\xB2|", "1|" + text::utf8ToAnsi("休闲") + "|"},
        {"ok\xE4\xBC", ""},                 // cut off at the end
        {"\xE4\x41\x91", ""},               // bad continuation
        {"\xED\x95\x9C", "?"},              // Hangul is not in the code page
        {"x\xF0\x9F\x98\x80y", "x?y"},      // beyond 16 bits: one replacement
        {"\xC0\x80", std::string(1, '\0')}, // lenient about overlong forms
    };
    for (const auto& c : cases)
        EXPECT_EQ(replyText(c.body), c.want) << c.body;
}

TEST(RequestLines, PortalQuery) {
    const std::vector<AnsiString> head = {
        "GET /mini.php?action=catlist HTTP/1.1",
        "Host: portal.test",
        "Accept: */*",
        "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98",
        "Pragma: no-cache",
        "Cache-Control: no-cache",
        "Connection: Close",
    };
    auto without = head;
    without.emplace_back();
    EXPECT_EQ(portalRequestLines("action=catlist", "portal.test", ""), without);

    auto with = head;
    with.push_back("Cookie: sid=1; user=bob");
    with.emplace_back();
    EXPECT_EQ(portalRequestLines("action=catlist", "portal.test", "sid=1; user=bob"), with);

    EXPECT_EQ(requestHeadLines("/flash/a.swf", "h:81").front(), "GET /flash/a.swf HTTP/1.1");
    EXPECT_EQ(requestHeadLines("/flash/a.swf", "h:81").size(), 7u);
}

TEST(Chunked, Detection) {
    EXPECT_TRUE(isChunked({"HTTP/1.1 200 OK", "Transfer-Encoding: chunked"}));
    EXPECT_TRUE(isChunked({"HTTP/1.1 200 OK", "transfer-encoding : gzip, Chunked"}));
    EXPECT_FALSE(isChunked({"HTTP/1.1 200 OK", "Content-Length: 5"}));
    EXPECT_FALSE(isChunked({"Transfer-Encoding: chunked"})); // a status line is not a header
}

TEST(Chunked, Decoding) {
    struct Case {
        std::string body;
        std::optional<std::string> want;
    };
    const Case cases[] = {
        {"5\r\nhello\r\n0\r\n\r\n", "hello"},
        {"3\r\n1|A\r\n4;ext=1\r\n|2|B\r\n0\r\nX-Trailer: 1\r\n\r\n", "1|A|2|B"},
        {"a\r\n0123456789\r\n0\r\n\r\n", "0123456789"},
        {"A\r\n01234\r\n", "01234\r\n"}, // cut off inside a chunk
        {"0\r\n\r\n", ""},
        {"zz\r\nabc\r\n", std::nullopt},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeChunked(c.body), c.want) << c.body;
}

} // namespace
