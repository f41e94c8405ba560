#pragma once

#include "data/sqlite_db.h"
#include "data/sqlite_query.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>

namespace zorvia::test {

// A new empty folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zorvia-data-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// True while the library file at `path` is loaded in this process.
inline bool libraryLoaded(const char* path) {
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr)
        return false;
    dlclose(handle);
    return true;
}

// A connection on a database file in a temporary folder through the real
// SQLite library, and a query bound to it.
class RealDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        db.SetName("SQLiteDB1");
        db.SetDatabase(folder.file("test.db"));
        db.SetDriverDLL(ZORVIA_REAL_SQLITE);
        query.SetName("SQLiteQuery1");
        query.SetConnection(&db);
        query.SetAutoCommit(false);
    }

    // Runs statements through the query's ExecSQL.
    void exec(const std::string& sql) {
        query.SQL().SetText(sql);
        query.ExecSQL();
    }

    // Opens `sql` and returns the column `field` of every row as text.
    std::vector<std::string> column(const std::string& sql, const std::string& field) {
        query.SQL().SetText(sql);
        query.Open();
        std::vector<std::string> values;
        for (; !query.Eof(); query.Next())
            values.push_back(query.FieldByName(field).AsString());
        query.Close();
        return values;
    }

    TempFolder folder;
    TSQLiteDB db;
    TSQLiteQuery query;
};

} // namespace zorvia::test
