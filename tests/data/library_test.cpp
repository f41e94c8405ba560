#include "data/errors.h"
#include "data/sqlite_db.h"
#include "test_support.h"
#include "text/codepage.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

namespace zorvia {
namespace {

using test::libraryLoaded;

void configure(TSQLiteDB& db, const char* driver) {
    db.SetDatabase(":memory:");
    db.SetDriverDLL(driver);
}

// The message of the error raised by opening `db`, or "" when none.
template <typename Error>
std::string openError(TSQLiteDB& db) {
    try {
        db.Open();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

TEST(LoadLibs, LibraryLackingEntryPointsNamesTheFirstMissingOneEveryTime) {
    struct Case {
        const char* driver;
        const char* message;
    };
    const Case cases[] = {
        {ZORVIA_FAKE_NONE, "DLL::SQlite3Open not found"},
        {ZORVIA_FAKE_FIRST29, "DLL::SQlite3COlumnTypenot found"},
        {ZORVIA_FAKE_FIRST39, "DLL::SQlite3CreateCollation not found"},
        {ZORVIA_FAKE_GAPS, "DLL::SQlite3Busytimeout not found"},
    };
    for (const Case& c : cases) {
        TSQLiteDB db;
        configure(db, c.driver);
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_EQ(openError<ESQLiteError>(db), c.message) << c.driver;
            EXPECT_FALSE(db.Connected());
            EXPECT_FALSE(libraryLoaded(c.driver)) << c.driver;
        }
    }
}

TEST(LoadLibs, PathThatIsNoLibraryFailsEveryOpen) {
    test::TempFolder folder;
    const std::string notLibrary = folder.file("iInter.dll");
    FILE* file = fopen(notLibrary.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fputs("not a library", file);
    fclose(file);

    for (const std::string& driver : {notLibrary, folder.file("missing.dll")}) {
        TSQLiteDB db;
        configure(db, driver.c_str());
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_EQ(openError<ESQLiteError>(db), "Could not load SQLite library(" + driver + ")");
            EXPECT_FALSE(db.Connected());
            EXPECT_FALSE(db.LibraryLoaded());
        }
    }
}

TEST(LoadLibs, EmptyDriverPathReadsAsDefaultName) {
    TSQLiteDB db;
    db.SetDriverDLL("");
    EXPECT_EQ(db.DriverDLL(), "SQLite3.dll");
    db.SetDatabase(":memory:");
    EXPECT_EQ(openError<ESQLiteError>(db), "Could not load SQLite library(SQLite3.dll)");
}

// Runs with the stand-in library that has every entry point; the test keeps
// its own reference so that what the library recorded can be read.
class FakeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(ZORVIA_FAKE_FULL, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr);
        lastPath = static_cast<const char*>(dlsym(handle, "fake_last_open_path"));
        ASSERT_NE(lastPath, nullptr);
    }
    void TearDown() override {
        unsetenv("ZORVIA_FAKE_VERSION");
        unsetenv("ZORVIA_FAKE_OPEN_FAILS");
        dlclose(handle);
    }

    void* handle = nullptr;
    const char* lastPath = nullptr;
};

TEST_F(FakeLibrary, PathEncodingFollowsTheLibraryVersion) {
    const std::string ansiPath = "/tmp/\xD3\xCE\xCF\xB7/wendora.db";
    struct Case {
        const char* version;
        bool utf8;
    };
    const Case cases[] = {
        {"3.3.0", true}, {"3.2.6", true}, {"3.2.5", false}, {"3.10.0", true}, {"3.1.9", false},
    };
    for (const Case& c : cases) {
        setenv("ZORVIA_FAKE_VERSION", c.version, 1);
        TSQLiteDB db;
        db.SetDriverDLL(ZORVIA_FAKE_FULL);
        db.SetDatabase(ansiPath);
        db.Open();
        EXPECT_EQ(db.Version(), c.version);
        EXPECT_EQ(std::string(lastPath), c.utf8 ? text::ansiToUtf8(ansiPath) : ansiPath)
            << c.version;
        db.Close();
    }
}

TEST_F(FakeLibrary, MissingHandleAfterOpenLeavesNothingConnectedOrLoaded) {
    setenv("ZORVIA_FAKE_OPEN_FAILS", "1", 1);
    TSQLiteDB db;
    configure(db, ZORVIA_FAKE_FULL);
    int disconnects = 0;
    db.AfterDisconnect = [&](TSQLiteDB&) { ++disconnects; };
    EXPECT_EQ(openError<ESQLiteError>(db), "Cannot open database");
    EXPECT_FALSE(db.Connected());
    EXPECT_FALSE(db.LibraryLoaded());
    db.Close();
    EXPECT_EQ(disconnects, 0);
}

} // namespace
} // namespace zorvia
