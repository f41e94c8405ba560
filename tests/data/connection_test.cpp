#include "data/errors.h"
#include "data/sqlite_db.h"
#include "test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace zorvia {
namespace {

using Connection = test::RealDatabase;

TEST_F(Connection, OpenAndCloseLoadAndUnloadTheLibraryAndRunTheHooksInOrder) {
    ASSERT_FALSE(test::libraryLoaded(ZORVIA_REAL_SQLITE));
    std::vector<std::string> events;
    db.BeforeConnect = [&](TSQLiteDB& sender) {
        EXPECT_EQ(&sender, &db);
        events.push_back("before connect");
    };
    db.AfterConnect = [&](TSQLiteDB&) { events.push_back("after connect"); };
    db.BeforeDisconnect = [&](TSQLiteDB&) { events.push_back("before disconnect"); };
    db.AfterDisconnect = [&](TSQLiteDB&) { events.push_back("after disconnect"); };

    db.Close();
    EXPECT_TRUE(events.empty());
    for (int round = 0; round < 2; ++round) {
        db.Open();
        EXPECT_TRUE(db.Connected());
        EXPECT_TRUE(test::libraryLoaded(ZORVIA_REAL_SQLITE));
        EXPECT_FALSE(db.Version().empty());
        query.SQL().SetText("select 1 as one");
        query.Open();
        db.Close();
        EXPECT_FALSE(query.Active());
        EXPECT_FALSE(db.Connected());
        EXPECT_FALSE(test::libraryLoaded(ZORVIA_REAL_SQLITE));
    }
    EXPECT_EQ(events,
              (std::vector<std::string>{"before connect", "after connect", "before disconnect",
                                        "after disconnect", "before connect", "after connect",
                                        "before disconnect", "after disconnect"}));
}

TEST_F(Connection, DatabaseNameRulesDecideWhichFileIsOpened) {
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    db.SetDatabase("  bare  ");
    db.Open();
    db.Close();
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(std::filesystem::exists(folder.file("bare.sqb")));

    std::filesystem::create_directory(folder.file("sub"));
    db.SetDefaultDir(folder.file("sub"));
    db.SetDatabase("other.db");
    db.Open();
    db.Close();
    EXPECT_EQ(db.DefaultDir(), folder.file("sub") + "/");
    EXPECT_TRUE(std::filesystem::exists(folder.file("sub/other.db")));

    db.SetDefaultDir("");
    std::filesystem::remove(":MEMORY:");
    db.SetDatabase(":MEMORY:");
    db.Open();
    db.Close();
    EXPECT_FALSE(std::filesystem::exists(folder.file(":MEMORY:")));
    EXPECT_FALSE(std::filesystem::exists(":MEMORY:")); // nor in the current folder
}

TEST_F(Connection, MissingNameOrRequiredFileFailsWithoutConnecting) {
    db.SetDatabase("   ");
    EXPECT_THROW(
        {
            try {
                db.Open();
            } catch (const ESQLiteError& error) {
                EXPECT_STREQ(error.what(), "Missing database property");
                throw;
            }
        },
        ESQLiteError);

    db.SetDatabase(folder.file("absent.db"));
    db.SetMustExist(true);
    try {
        db.Open();
        ADD_FAILURE() << "opened a file that does not exist";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Database " + folder.file("absent.db") + " does not exist");
    }
    EXPECT_FALSE(db.Connected());
    EXPECT_FALSE(std::filesystem::exists(folder.file("absent.db")));
}

TEST_F(Connection, RunStatementsRunsEveryStatementAndReportsFailuresWithTheText) {
    db.Open();
    db.RunStatements("create table t(a); insert into t values(1);\n insert into t values(2)");
    db.RunStatements("");
    db.RunStatements("  -- nothing but a comment\n");
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(db.RowsAffected(), 1);
    db.RunStatements("update t set a = a + 10");
    EXPECT_EQ(db.RowsAffected(), 2);

    const std::string bad = "insert into t values(3); insert into nowhere values(4)";
    try {
        db.RunStatements(bad);
        ADD_FAILURE() << "bad statement ran";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), "no such table: nowhere\n\n" + bad);
    }
    EXPECT_TRUE(db.Connected());
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"11", "12", "3"}));
    db.Close();
    EXPECT_EQ(db.RowsAffected(), -1);
}

TEST_F(Connection, TransactionsOfEveryKindCommitOrRollBack) {
    db.Open();
    db.RunStatements("create table t(a)");
    for (const char* kind : {"", "DEFERRED", "immediate", "Exclusive", "default", "other"}) {
        db.StartTransaction(kind);
        EXPECT_TRUE(db.InTransaction()) << kind;
        db.RunStatements("insert into t values(1)");
        db.RollBack();
        EXPECT_FALSE(db.InTransaction());
    }
    db.StartTransaction();
    db.RunStatements("insert into t values(2)");
    db.Commit();
    db.Close();
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"2"}));
}

TEST_F(Connection, BusyDatabaseIsRetriedUntilTheLimit) {
    db.Open();
    db.RunStatements("create table t(a)");
    TSQLiteDB other;
    other.SetDatabase(db.Database());
    other.SetDriverDLL(ZORVIA_REAL_SQLITE);
    other.Open();
    other.StartTransaction("EXCLUSIVE");

    db.SetBusyRetryLimit(std::chrono::milliseconds(100));
    try {
        db.RunStatements("insert into t values(1)");
        ADD_FAILURE() << "wrote into a locked database";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), "database is locked\n\ninsert into t values(1)");
    }

    // Released while the statement is retried, the lock lets it through.
    db.SetBusyRetryLimit(std::chrono::seconds(20));
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        other.Commit();
    });
    db.RunStatements("insert into t values(2)");
    release.join();
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"2"}));
}

TEST_F(Connection, SystemCollationsCompareWithAndWithoutCase) {
    db.Open();
    db.RunStatements("create table t(a); insert into t values('b'); insert into t values('A');"
                     "insert into t values('a'); insert into t values('B')");
    EXPECT_EQ(column("select count(*) as n from t where a = 'a' collate systemnocase", "n"),
              (std::vector<std::string>{"2"}));
    EXPECT_EQ(column("select count(*) as n from t where a = 'a' collate system", "n"),
              (std::vector<std::string>{"1"}));
    const auto ordered = column("select a from t order by a collate systemnocase, a", "a");
    ASSERT_EQ(ordered.size(), 4u);
    EXPECT_EQ(ordered[0][0] | 0x20, 'a');
    EXPECT_EQ(ordered[1][0] | 0x20, 'a');
}

TEST_F(Connection, PragmasAndInlineSqlRunAtConnect) {
    TSQLitePragma pragma;
    pragma.CacheSize = "123";
    TSQLiteInlineSQL inlineSql{"create table t(a); insert into t values('inline')"};
    db.SetSQLitePragma(&pragma);
    db.SetSQLiteInlineSQL(&inlineSql);
    db.SetExecuteInlineSQL(true);
    db.Open();
    EXPECT_FALSE(db.ExecuteInlineSQL());
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(column("pragma cache_size", "cache_size"), (std::vector<std::string>{"123"}));
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"inline"}));
    db.Close();

    // A failing inline text is rolled back and not tried again.
    inlineSql.SQL = "insert into t values('half'); insert into nowhere values(1)";
    db.SetExecuteInlineSQL(true);
    EXPECT_THROW(db.Open(), EDatabaseError);
    EXPECT_FALSE(db.ExecuteInlineSQL());
    EXPECT_FALSE(db.InTransaction());
    db.Close();
    db.Open();
    EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"inline"}));
}

TEST_F(Connection, Utf8ModeDecidesHowTextIsStored) {
    struct Case {
        const char* encoding;
        const char* storedHex;
    };
    const Case cases[] = {{"", "E6B8B8E6888F"}, {"UTF8", "E6B8B8E6888F"}, {"gbk", "D3CECFB7"}};
    for (const Case& c : cases) {
        db.SetCharacterEncoding(c.encoding);
        db.Open();
        db.RunStatements("drop table if exists t; create table t(a varchar(20));"
                         "insert into t values('\xD3\xCE\xCF\xB7')");
        EXPECT_EQ(column("select hex(a) as h from t", "h"),
                  (std::vector<std::string>{c.storedHex}));
        EXPECT_EQ(column("select a from t", "a"), (std::vector<std::string>{"\xD3\xCE\xCF\xB7"}));
        db.Close();
    }
}

TEST_F(Connection, LibraryErrorTextIsGivenInTheCodePage) {
    db.Open();
    const std::string sql = "select * from \xD3\xCE\xCF\xB7";
    try {
        db.RunStatements(sql);
        ADD_FAILURE();
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(std::string(error.what()), "no such table: \xD3\xCE\xCF\xB7\n\n" + sql);
    }
}

} // namespace
} // namespace zorvia
