#include "data/errors.h"
#include "data/sqlite_query.h"
#include "test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace zorvia {
namespace {

using Query = test::RealDatabase;

template <typename Error>
std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST_F(Query, NoRowSelectOpensAtEofAndEmptyTextRunsNothing) {
    exec("create table t(a)");
    query.SQL().SetText("select * from t");
    query.Open();
    EXPECT_TRUE(query.Active());
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.RecordCount(), 0);
    EXPECT_TRUE(query.FieldByName("a").IsNull());
    query.Close();

    exec("   ");
    query.SQL().SetText("  \n ");
    EXPECT_EQ(errorOf<ESQLiteError>([&] { query.Open(); }), "no query specified");
    TSQLiteQuery unbound;
    unbound.SQL().SetText("select 1");
    EXPECT_EQ(errorOf<ESQLiteError>([&] { unbound.Open(); }), "no database connection");
    EXPECT_EQ(errorOf<ESQLiteError>([&] { unbound.ExecSQL(); }), "no database connection");
}

TEST_F(Query, ExecSqlRunsEveryStatementWhileOpenRunsOnlyTheFirst) {
    exec("create table t(a); insert into t values(1); insert into t values(2)");
    query.SQL().SetText("insert into t values(3); insert into t values(4)");
    query.Open();
    query.Close();
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(Query, AutoCommitRollsBackEveryStatementOfAFailingText) {
    exec("create table t(a)");
    query.SetAutoCommit(true);
    exec("insert into t values(1); insert into t values(2)");
    EXPECT_THROW(exec("insert into t values(3); insert into nowhere values(4)"), EDatabaseError);
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"1", "2"}));
}

TEST_F(Query, CursorWalksTheCachedRows) {
    exec("create table t(a); insert into t values('x'); insert into t values('y');"
         "insert into t values('z')");
    query.SQL().SetText("select a from t");
    query.Open();
    std::string seen;
    for (; !query.Eof(); query.Next())
        seen += query.FieldByName("A").AsString();
    EXPECT_EQ(seen, "xyz");
    EXPECT_EQ(query.FieldByName("a").AsString(), "z");
    query.Prior();
    EXPECT_EQ(query.FieldByName("a").AsString(), "y");
    query.First();
    EXPECT_FALSE(query.Eof());
    EXPECT_EQ(query.FieldByName("a").AsString(), "x");
    EXPECT_EQ(errorOf<EDatabaseError>([&] { query.FieldByName("nope"); }),
              "SQLiteQuery1: Field 'nope' not found");
    query.SQL().SetText("select 1");
    EXPECT_FALSE(query.Active());
}

TEST_F(Query, FieldsAreFoundByNameInAnySpellingOfTheirCase) {
    query.SQL().SetText("select 1 as GameHelp, 2 as \"\xB1\xEA\xCC\xE2\", 3 as x, 4 as gamehel");
    query.Open();
    const std::pair<const char*, const char*> found[] = {
        {"GameHelp", "1"},         {"gamehelp", "1"}, {"GAMEHELP", "1"},
        {"\xB1\xEA\xCC\xE2", "2"}, {"X", "3"},        {"gameHEL", "4"},
    };
    for (const auto& [name, value] : found)
        EXPECT_EQ(query.FieldByName(name).AsString(), value) << name;
    for (const char* name : {"gamehelpx", "", "y"})
        EXPECT_EQ(query.FindField(name), nullptr) << name;
}

TEST_F(Query, FieldsGetUniqueNamesAndTheRowidColumnBecomesNoField) {
    exec("create table t(a); insert into t values(5); insert into t values(6)");
    query.SQL().SetText("select a, a, A as a, rowid, 7 as a_1 from t");
    query.Open();
    std::vector<std::string> names;
    for (int i = 0; i < query.FieldCount(); ++i)
        names.push_back(query.Fields(i).FieldName());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "a_1", "a_2", "a_1_1"}));
    EXPECT_EQ(query.FieldByName("a_2").AsString(), "5");
    EXPECT_EQ(query.RowId(), 1);
    query.Next();
    EXPECT_EQ(query.RowId(), 2);
    query.Close();

    query.SQL().SetText("select a from t order by a desc");
    query.Open();
    query.Next();
    EXPECT_EQ(query.RowId(), 1);
}

TEST_F(Query, StringsAreCutToTheirSizeWhileMemoTextStaysUnconverted) {
    exec("create table t(v varchar(10), w varchar(4), m text, b blob)");
    exec("insert into t values('abcdefghijklmnop', '\xD3\xCE\xCF\xB7\xD3\xCE', "
         "'\xD3\xCE\xCF\xB7', x'00FF41')");
    query.SQL().SetText("select * from t");
    query.Open();
    EXPECT_EQ(query.FieldByName("v").Size(), 10);
    EXPECT_EQ(query.FieldByName("v").AsString(), "abcdefghij");
    // Four UTF-8 bytes hold one whole character and the start of the next.
    EXPECT_EQ(query.FieldByName("w").AsString(), "\xD3\xCE?");
    EXPECT_EQ(query.FieldByName("m").AsString(), "\xE6\xB8\xB8\xE6\x88\x8F");
    EXPECT_EQ(query.FieldByName("b").AsString(), std::string("\0\xFF"
                                                             "A",
                                                             3));
}

TEST_F(Query, NullStaysApartFromZeroAndEmptyValues) {
    exec("create table t(k integer primary key, i integer, v varchar(3), m text, b blob)");
    struct Case {
        const char* values;
        const char* field;
        bool null;
        data::FieldValue value;
    };
    const Case cases[] = {
        {"1, 0, '', '', x''", "i", false, std::int32_t{0}},
        {"2, null, null, null, null", "i", true, std::int32_t{0}},
        {"3, 3.5, 'abcdef', 'x', x'00'", "i", false, std::int32_t{0}},
        {"4, '12abc', 'ab', 'y', x'41'", "i", false, std::int32_t{0}},
        {"5, 3000000000, 'a', 'z', x'42'", "i", false, std::int32_t{0}},
        {"6, -7, 'a', 'z', x'42'", "i", false, std::int32_t{-7}},
        {"1, 0, '', '', x''", "v", false, std::string()},
        {"2, null, null, null, null", "v", true, std::string()},
        {"3, 3.5, 'abcdef', 'x', x'00'", "v", false, std::string("abc")},
        {"1, 0, '', '', x''", "m", false, std::string()},
        {"2, null, null, null, null", "m", true, std::string()},
        {"1, 0, '', '', x''", "b", false, std::string()},
        {"2, null, null, null, null", "b", true, std::string()},
        {"3, 3.5, 'abcdef', 'x', x'00'", "b", false, std::string(1, '\0')},
    };
    for (const Case& c : cases)
        exec(std::string("insert or ignore into t values(") + c.values + ")");
    query.SQL().SetText("select * from t order by k");
    query.Open();
    for (const Case& c : cases) {
        const std::string row = std::string(c.values).substr(0, 1);
        query.First();
        while (query.FieldByName("k").AsString() != row)
            query.Next();
        const TField& field = query.FieldByName(c.field);
        EXPECT_EQ(field.IsNull(), c.null) << c.values << " " << c.field;
        EXPECT_EQ(field.Value(), c.value) << c.values << " " << c.field;
    }
}

TEST_F(Query, DeclaredTypesDecideTheValuesRead) {
    exec("create table t(i integer, r real, n numeric(6,2), c money, f boolean, d date, "
         "dt datetime, tm time, w nvarchar(2), e)");
    exec("insert into t values(42, 2.5, 3.14159, 1.23456, 'true', '2024-03-01', "
         "'2024-03-01 10:20:30.400', '10:20:30', 'abc', 1+1)");
    exec("insert into t values(null, null, null, null, null, null, null, null, null, null)");
    query.SQL().SetText("select * from t");
    query.Open();
    struct Case {
        const char* field;
        const char* text;
    };
    const Case cases[] = {
        {"i", "42"},
        {"r", "2.5"},
        {"n", "3.14159"},
        {"c", "1.2346"},
        {"f", "True"},
        {"d", "2024-03-01"},
        {"dt", "2024-03-01 10:20:30"},
        {"tm", "10:20:30"},
        {"w", "ab"},
        {"e", "2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(query.FieldByName(c.field).AsString(), c.text) << c.field;
        EXPECT_FALSE(query.FieldByName(c.field).IsNull()) << c.field;
    }
    EXPECT_EQ(query.FieldByName("i").DataType(), TFieldType::ftInteger);
    EXPECT_EQ(query.FieldByName("n").Precision(), 2);
    query.Next();
    for (const Case& c : cases) {
        EXPECT_TRUE(query.FieldByName(c.field).IsNull()) << c.field;
        EXPECT_EQ(query.FieldByName(c.field).AsString(), "") << c.field;
    }
}

TEST_F(Query, StepFailureDuringOpenCarriesTheSpecificLibraryMessage) {
    const std::string sql = "select abs(-9223372036854775807 - 1) as v";
    query.SQL().SetText(sql);
    EXPECT_EQ(errorOf<EDatabaseError>([&] { query.Open(); }), "integer overflow\n\n" + sql);
    EXPECT_FALSE(query.Active());
}

TEST_F(Query, UnreadableBooleanFailsTheOpen) {
    exec("create table t(f boolean); insert into t values('maybe')");
    query.SQL().SetText("select * from t");
    EXPECT_EQ(errorOf<EConvertError>([&] { query.Open(); }),
              "'maybe' is not a valid boolean value");
    EXPECT_FALSE(query.Active());
    // The statement was finalized: the connection closes cleanly.
    db.Close();
    EXPECT_FALSE(db.LibraryLoaded());
}

TEST_F(Query, TypeLessReadsEveryColumnAsStringOfItsSize) {
    exec("create table t(i integer, m text); insert into t values(1234567890123, 'longer')");
    query.SetTypeLess(true);
    query.SQL().SetText("select * from t");
    query.Open();
    EXPECT_EQ(query.FieldByName("i").DataType(), TFieldType::ftString);
    EXPECT_EQ(query.FieldByName("i").AsString(), "123456789012");
    EXPECT_EQ(query.FieldByName("m").AsString(), "long");
}

TEST_F(Query, LimitOffsetAndFilterShapeTheOpenedText) {
    exec("create table t(a); insert into t values(1); insert into t values(2);"
         "insert into t values(3); insert into t values(4)");
    query.SetMaxResults(2);
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"1", "2"}));
    query.SetMaxResults(0);
    query.SetStartResult(3);
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"4"}));
    EXPECT_EQ(query.MaxResults(), -1);
    EXPECT_EQ(db.LastSQL(), "select a from t limit -1 offset 3");
    query.SetMaxResults(0);
    query.SetStartResult(0);
    query.SetFilter("a % 2 = 0");
    query.SetFiltered(true);
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"2", "4"}));
}

TEST_F(Query, QuoteInsideAConcatenatedValueFailsWithTheLibraryMessage) {
    exec("create table t(a varchar(20))");
    const std::string sql = "insert into t values('it's')";
    EXPECT_EQ(errorOf<EDatabaseError>([&] { exec(sql); }), "near \"s\": syntax error\n\n" + sql);
    EXPECT_TRUE(db.Connected());
}

TEST_F(Query, ColonParametersOutsideQuotesAreBound) {
    exec("create table t(a varchar(20), b varchar(20))");
    exec("insert into t values(':a', :b)");
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{":a"}));
    EXPECT_EQ(column("select count(*) as n from t where b is null", "n"),
              (std::vector<std::string>{"1"}));

    query.SQL().SetText(
        "insert into t values(:first, :second); insert into t values(:second, 'z')");
    query.ParamByName("first").SetAsString("\xD3\xCE\xCF\xB7");
    query.ParamByName("SECOND").SetAsInteger(7);
    query.ExecSQL();
    EXPECT_EQ(column("select a || '/' || b as v from t where rowid > 1", "v"),
              (std::vector<std::string>{"\xD3\xCE\xCF\xB7/7", "7/z"}));

    query.SQL().SetText("select a from t where b = :b and a <> '::b'");
    query.ParamByName("b").SetAsString("z");
    query.Open();
    EXPECT_EQ(query.FieldByName("a").AsString(), "7");
    query.Close();
    EXPECT_EQ(errorOf<EDatabaseError>([&] { query.ParamByName("c"); }),
              "SQLiteQuery1: Parameter 'c' not found");
}

TEST_F(Query, TextRunAgainFollowsSchemaChangesAndFailsLikeANewOne) {
    exec("create table t(a unique)");
    query.SQL().SetText("insert into t(a) values(:a)");
    auto insert = [&](int a) {
        query.ParamByName("a").SetAsInteger(a);
        query.ExecSQL();
    };
    insert(1);
    TSQLiteQuery other;
    other.SetConnection(&db);
    other.SetAutoCommit(false);
    other.SQL().SetText("alter table t add column b default 'new'");
    other.ExecSQL();
    insert(2);
    EXPECT_EQ(errorOf<EDatabaseError>([&] { insert(2); }),
              "UNIQUE constraint failed: t.a\n\ninsert into t(a) values(:a)");
    insert(3);
    db.Close();
    EXPECT_EQ(column("select a || b as v from t", "v"),
              (std::vector<std::string>{"1new", "2new", "3new"}));
}

TEST_F(Query, ClosingTheConnectionClosesTheFileAfterManyTexts) {
    auto handlesOnTheFile = [&] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            count += std::filesystem::read_symlink(entry.path(), error) == folder.file("test.db");
        }
        return count;
    };
    for (int i = 0; i < 20; ++i)
        exec("create table t" + std::to_string(i) + "(a)");
    exec("insert into t0 values(1)");
    EXPECT_GT(handlesOnTheFile(), 0);
    db.Close();
    EXPECT_EQ(handlesOnTheFile(), 0);
}

TEST_F(Query, BusyFetchCallsTheHookInsteadOfFailing) {
    exec("create table t(a); insert into t values(1)");
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"1"}));
    TSQLiteDB other;
    other.SetDatabase(db.Database());
    other.SetDriverDLL(ZORVIA_REAL_SQLITE);
    other.Open();
    other.StartTransaction("EXCLUSIVE");

    int busy = 0;
    db.OnBusy = [&](TSQLiteDB&) { ++busy; };
    query.SQL().SetText("select a from t");
    query.Open();
    EXPECT_EQ(busy, 1);
    EXPECT_TRUE(query.Eof());
    query.Close();

    db.OnBusy = nullptr;
    EXPECT_EQ(errorOf<EDatabaseError>([&] { query.Open(); }),
              "database is locked\n\nselect a from t");

    // A time-out set while connected makes the library wait for the lock.
    db.SetTimeOut(20000);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        other.RollBack();
    });
    query.Open();
    release.join();
    EXPECT_EQ(query.FieldByName("a").AsString(), "1");
}

} // namespace
} // namespace zorvia
