#include "data/database_name.h"

#include <gtest/gtest.h>

namespace zorvia::data {
namespace {

TEST(DatabaseName, StoredNameIsTrimmedAndGetsTheDefaultExtension) {
    struct Case {
        const char* given;
        const char* stored;
    };
    const Case cases[] = {
        {"  games  ", "games.sqb"},
        {"\tgames.db ", "games.db"},
        {":MEMORY:", ":MEMORY:"},
        {" :memory: ", ":memory:"},
        {"/tmp/box/games", "/tmp/box/games.sqb"},
        {"/tmp/box.v2/games", "/tmp/box.v2/games.sqb"},
        {"games.", "games."},
        {"\xD3\xCE\xCF\xB7", "\xD3\xCE\xCF\xB7.sqb"},
        {"   ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(normalizeDatabaseName(c.given, ".sqb"), c.stored) << "'" << c.given << "'";
}

TEST(DatabaseName, PathComesFromDefaultFolderNameOrCurrentFolder) {
    struct Case {
        const char* database;
        const char* defaultDir;
        const char* current;
        const char* path;
    };
    const Case cases[] = {
        {"games.db", "", "/home/u", "/home/u/games.db"},
        {"games.db", "", "/home/u/", "/home/u/games.db"},
        {"/opt/box/games.db", "", "/home/u", "/opt/box/games.db"},
        {"sub/games.db", "", "/home/u", "sub/games.db"},
        {"games.db", "/data/", "/home/u", "/data/games.db"},
        {"/opt/games.db", "/data/", "/home/u", "/data//opt/games.db"},
        {":Memory:", "/data/", "/home/u", ":memory:"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(databasePath(c.database, c.defaultDir, c.current), c.path) << c.database;
}

TEST(DatabaseName, LibrariesAfter325TakeUtf8Paths) {
    struct Case {
        const char* version;
        bool utf8;
    };
    const Case cases[] = {
        {"3.3.0", true},  {"3.2.6", true},  {"3.2.5", false},   {"3.2.10", true},
        {"3.10.0", true}, {"3.40.1", true}, {"2.8.17", false},  {"3.2.5.1", true},
        {"", false},      {"4", true},      {"garbage", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pathNeedsUtf8(c.version), c.utf8) << c.version;
}

} // namespace
} // namespace zorvia::data
