#include "portal/addresses.h"
#include "portal/list_reply.h"
#include "portal/url_encode.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

using namespace zorvia;
using namespace zorvia::portal;

namespace {

const AnsiString kHost = "portal.test";

TEST(ListReply, Records) {
    const AnsiString cat = "http://portal.test/mini.php?catid=";
    const AnsiString game = text::utf8ToAnsi("益智");
    struct Case {
        AnsiString reply;
        std::vector<ListItem> want;
    };
    const Case cases[] = {
        {"1|Puzzle|2|Action|", {{"Puzzle", cat + "1"}, {"Action", cat + "2"}}},
        {"5|", {{"", cat + "5"}}},
        {"7|Name", {{"", cat + "7"}}},
        {"1|A|7|Name", {{"A", cat + "1"}, {"", cat + "7"}}},
        {"no separator", {}},
        {"", {}},
        {"||", {{"", cat}}},
        {"3|" + game + "|", {{game, cat + "3"}}},
        // A 0x7C byte counts as the separator even as a trail byte.
        {"4|\x81\x7C|", {{"\x81", cat + "4"}, {"", cat}}},
        {"9|Tom's|", {{"Tom's", cat + "9"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseListReply(c.reply, kHost, kCategoryPath), c.want) << c.reply;
}

TEST(ListReply, GameLinks) {
    const auto items = parseListReply("12|Snake|", "127.0.0.1:8380", kGamePath);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].link, "http://127.0.0.1:8380/mini.php?itemid=12");
}

TEST(UrlEncode, Bytes) {
    struct Case {
        AnsiString in;
        AnsiString want;
    };
    const Case cases[] = {
        {"a b", "a%20b"},
        {"c++", "c%2B%2B"},
        {"~", "%7E"},
        {"AZaz09-._", "AZaz09-._"},
        {"\xE4\xB8\xAD", "%E4%B8%AD"},
        {"/?&=%", "%2F%3F%26%3D%25"},
        {"", ""},
        {std::string(1, '\0'), "%00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(URLEncode(c.in), c.want) << c.in;
}

TEST(Addresses, Paths) {
    EXPECT_EQ(portalUrl(kHost, kStartPagePath), "http://portal.test/mini.php");
    EXPECT_EQ(portalUrl(kHost, kLoginPanelPath), "http://portal.test/mini.php?action=login");
    EXPECT_EQ(portalUrl(kHost, kUpgradePath), "http://portal.test/wendo/");
}

} // namespace
