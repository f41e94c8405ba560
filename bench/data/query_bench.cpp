// Opens a database, selects 10 000 rows shaped like the game library and
// walks them, once through TSQLiteDB/TSQLiteQuery (library loaded at run
// time, rows cached, text converted to code page 936) and once through the
// SQLite C API directly. Prints the median time of each and the ratio.
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRows = 10000;
constexpr int kRounds = 15;
const char* const kSelect = "select * from iflash order by id desc";

using Clock = std::chrono::steady_clock;

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// A game library file with kRows rows of titles, file names and help texts.
void createDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    check(sqlite3_open(path.c_str(), &db), db, "open");
    check(sqlite3_exec(db,
                       "create table iflash(id integer primary key autoincrement,"
                       " subject varchar(2048), filename varchar(2048), gamehelp text);"
                       "begin",
                       nullptr, nullptr, nullptr),
          db, "create");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, "insert into iflash(subject,filename,gamehelp) values(?,?,?)", -1,
                             &insert, nullptr),
          db, "prepare");
    for (int i = 0; i < kRows; ++i) {
        const std::string subject = "\xE6\xB8\xB8\xE6\x88\x8F Game number " + std::to_string(i);
        const std::string filename = "game_" + std::to_string(i) + ".swf";
        const std::string help = "<p>Use the arrow keys. \xE6\x96\xB9\xE5\x90\x91\xE9\x94\xAE "
                                 "to move, space to jump.</p><p>Level " +
                                 std::to_string(i % 40) + "</p>";
        sqlite3_bind_text(insert, 1, subject.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, filename.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, help.c_str(), -1, SQLITE_TRANSIENT);
        check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

// Open, select, walk reading subject and filename as text, close.
size_t throughComponents(const std::string& path) {
    zorvia::TSQLiteDB db;
    zorvia::TSQLiteQuery query;
    db.SetDatabase(path);
    db.SetDriverDLL(ZORVIA_REAL_SQLITE);
    query.SetConnection(&db);
    query.SetAutoCommit(false);
    size_t bytes = 0;
    db.Open();
    query.SQL().SetText(kSelect);
    query.Open();
    for (; !query.Eof(); query.Next()) {
        bytes += query.FieldByName("subject").AsString().size();
        bytes += query.FieldByName("filename").AsString().size();
    }
    query.Close();
    db.Close();
    return bytes;
}

size_t throughCApi(const std::string& path) {
    sqlite3* db = nullptr;
    check(sqlite3_open(path.c_str(), &db), db, "open");
    sqlite3_stmt* select = nullptr;
    check(sqlite3_prepare_v2(db, kSelect, -1, &select, nullptr), db, "prepare");
    size_t bytes = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        bytes += std::string(reinterpret_cast<const char*>(sqlite3_column_text(select, 1))).size();
        bytes += std::string(reinterpret_cast<const char*>(sqlite3_column_text(select, 2))).size();
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return bytes;
}

template <typename Work>
double medianMs(Work&& work, size_t& bytes) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        bytes = work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main() {
    std::string folder = (std::filesystem::temp_directory_path() / "zorvia-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string path = folder + "/wendora.db";
    int status = 0;
    try {
        createDatabase(path);
        size_t componentBytes = 0;
        size_t directBytes = 0;
        const double components = medianMs([&] { return throughComponents(path); }, componentBytes);
        const double direct = medianMs([&] { return throughCApi(path); }, directBytes);
        std::printf("rows per run:             %d (median of %d runs)\n", kRows, kRounds);
        std::printf("TSQLiteDB/TSQLiteQuery:   %8.2f ms  (%zu text bytes read)\n", components,
                    componentBytes);
        std::printf("SQLite C API directly:    %8.2f ms  (%zu text bytes read)\n", direct,
                    directBytes);
        std::printf("ratio components/direct: %8.2f\n", components / direct);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "benchmark failed: %s\n", error.what());
        status = 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return status;
}
