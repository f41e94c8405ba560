#include "data/sql_lines.h"
#include "data/sql_params.h"
#include "data/sql_quote.h"

#include <gtest/gtest.h>

namespace zorvia::data {
namespace {

TEST(SqlParams, MarkersOutsideLiteralsBecomeParameters) {
    struct Case {
        const char* sql;
        const char* parsed;
        std::vector<AnsiString> names;
    };
    const Case cases[] = {
        {"select * from t where a=:a and b=:b_2",
         "select * from t where a=? and b=?",
         {"a", "b_2"}},
        {"select ':a', \":b\" from t", "select ':a', \":b\" from t", {}},
        {"select 'it''s :x' || :y", "select 'it''s :x' || ?", {"y"}},
        {"select \"it's\" || :y", "select \"it's\" || ?", {"y"}},
        {"select a::text, ':'", "select a:text, ':'", {}},
        {"select 'a::b'", "select 'a::b'", {}},
        {"select 1 : 2", "select 1 : 2", {}},
        {"select :v, :v", "select ?, ?", {"v", "v"}},
        {"insert into t values(:\xD3\xCE\xCF\xB7)",
         "insert into t values(?)",
         {"\xD3\xCE\xCF\xB7"}},
        // A trail byte that reads as "|" or "\\" belongs to its character.
        {"select :\xB2\x7C, :\x81\x5C", "select ?, ?", {"\xB2\x7C", "\x81\x5C"}},
        // A lead byte before a quote is no character: the quote ends the literal.
        {"select '\xB2' where x=:p", "select '\xB2' where x=?", {"p"}},
        {"select 1 -- it's :c\n, :d", "select 1 -- it's :c\n, ?", {"d"}},
        {"select /* :c ' */ :d", "select /* :c ' */ ?", {"d"}},
        {"select 'open :x", "select 'open :x", {}},
    };
    for (const Case& c : cases) {
        const ParsedSql parsed = parseSqlParams(c.sql);
        EXPECT_EQ(parsed.text, c.parsed) << c.sql;
        EXPECT_EQ(parsed.names, c.names) << c.sql;
    }
}

TEST(SqlQuote, QuotesAreDoubledInsideSingleQuotes) {
    struct Case {
        const char* value;
        const char* quoted;
    };
    const Case cases[] = {
        {"", "''"},
        {"plain", "'plain'"},
        {"it's", "'it''s'"},
        {"''", "''''''"},
        {"\xD3\xCE\xCF\xB7'\xB2\xE2", "'\xD3\xCE\xCF\xB7''\xB2\xE2'"},
        {"a\r\nb\"c", "'a\r\nb\"c'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quotedSqlText(c.value), c.quoted);
}

TEST(SqlLines, TextIsKeptExactlyAndEveryChangeIsReported) {
    int changes = 0;
    SqlLines lines([&] { ++changes; });
    lines.SetText("select 'a\r\nb'\r\nfrom t");
    EXPECT_EQ(lines.Text(), "select 'a\r\nb'\r\nfrom t");
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Strings(2), "from t");
    lines.Clear();
    lines.Add("select 1");
    lines.Add("union select 2");
    EXPECT_EQ(lines.Text(), "select 1\nunion select 2");
    EXPECT_EQ(changes, 4);
}

} // namespace
} // namespace zorvia::data
