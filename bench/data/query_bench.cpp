// Opens a database, selects 10 000 rows shaped like the game library and
// walks them, once through TSQLiteDB/TSQLiteQuery (library loaded at run
// time, rows cached, text converted to code page 936) and once through the
// SQLite C API directly; then inserts 10 000 such rows inside one
// transaction, through ExecSQL with parameters and through one bound
// statement of the C API. Prints the median times and the ratios.
//
// The select is set against three C API loops. "Directly" steps and reads
// only the two columns the walk asks for. The query cannot do so little: it
// reads every column of every row when it opens, before a field is asked
// for, and the rows then move in memory. "Every column" does exactly that
// reading (each column once, the natural way for its type) and nothing
// more, no keeping and no conversion: it is the like-for-like baseline, and
// the one the select goal is measured against. "Whole rows" also keeps
// every row in memory first, as the query does.
#include "data/sqlite_db.h"
#include "data/sqlite_query.h"
#include "text/codepage.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int kRows = 10000;
constexpr int kRounds = 21;
const char* const kSelect = "select * from iflash order by id desc";
const char* const kCreate = "create table iflash(id integer primary key autoincrement,"
                            " subject varchar(2048), filename varchar(2048), gamehelp text)";
const char* const kInsert = "insert into iflash(subject,filename,gamehelp) values(?,?,?)";
const char* const kInsertNamed =
    "insert into iflash(subject,filename,gamehelp) values(:subject,:filename,:gamehelp)";

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// The texts of row `i` in UTF-8: a title, a file name and a help text.
struct GameRow {
    std::string subject;
    std::string filename;
    std::string help;
};

GameRow gameRow(int i) {
    return {"\xE6\xB8\xB8\xE6\x88\x8F Game number " + std::to_string(i),
            "game_" + std::to_string(i) + ".swf",
            "<p>Use the arrow keys. \xE6\x96\xB9\xE5\x90\x91\xE9\x94\xAE to move, space to "
            "jump.</p><p>Level " +
                std::to_string(i % 40) + "</p>"};
}

sqlite3* openDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    check(sqlite3_open(path.c_str(), &db), db, "open");
    return db;
}

// kRows rows inserted through one bound statement inside one transaction.
void insertThroughCApi(sqlite3* db) {
    check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), db, "begin");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr), db, "prepare");
    for (int i = 0; i < kRows; ++i) {
        const GameRow row = gameRow(i);
        sqlite3_bind_text(insert, 1, row.subject.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, row.filename.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, row.help.c_str(), -1, SQLITE_TRANSIENT);
        check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db, "commit");
}

// A game library file with kRows rows of titles, file names and help texts.
void createDatabase(const std::string& path) {
    sqlite3* db = openDatabase(path);
    check(sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr), db, "create");
    insertThroughCApi(db);
    sqlite3_close(db);
}

// A connection on `path` through the run-time loaded library, and a query
// bound to it, set up as the game box sets them up.
struct Components {
    explicit Components(const std::string& path) {
        db.SetDatabase(path);
        db.SetDriverDLL(ZORVIA_REAL_SQLITE);
        query.SetConnection(&db);
        query.SetAutoCommit(false);
    }

    zorvia::TSQLiteDB db;
    zorvia::TSQLiteQuery query;
};

// Open, select, walk reading subject and filename as text, close.
size_t throughComponents(const std::string& path) {
    Components components(path);
    zorvia::TSQLiteDB& db = components.db;
    zorvia::TSQLiteQuery& query = components.query;
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
    sqlite3* db = openDatabase(path);
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

// What the select makes the query read, through the C API: every column of
// every row, each the natural way for its declared type (the id as a number,
// title and file name as text taken as strings like the walk above, the
// help text as bytes). The query has no choice here: it reads a select
// completely when it opens, before anyone asks for a field, so the two
// columns the walk asks for are not all it must read. Nothing is kept,
// nothing converted: this is the least any reader of these rows does.
// Counts the text bytes of title and file name; ids and help text lengths
// are summed into `sink`, so that nothing read goes unused.
size_t throughCApiEveryColumn(const std::string& path, size_t& sink) {
    sqlite3* db = openDatabase(path);
    sqlite3_stmt* select = nullptr;
    check(sqlite3_prepare_v2(db, kSelect, -1, &select, nullptr), db, "prepare");
    size_t bytes = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        sink += static_cast<size_t>(sqlite3_column_int64(select, 0));
        bytes += std::string(reinterpret_cast<const char*>(sqlite3_column_text(select, 1))).size();
        bytes += std::string(reinterpret_cast<const char*>(sqlite3_column_text(select, 2))).size();
        if (sqlite3_column_blob(select, 3) != nullptr)
            sink += static_cast<size_t>(sqlite3_column_bytes(select, 3));
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return bytes;
}

// The same through the C API doing what the query has to do: every column
// of every row kept in memory first, then the rows walked.
size_t throughCApiWholeRows(const std::string& path) {
    struct Row {
        sqlite3_int64 id;
        std::string subject;
        std::string filename;
        std::string help;
    };
    sqlite3* db = openDatabase(path);
    sqlite3_stmt* select = nullptr;
    check(sqlite3_prepare_v2(db, kSelect, -1, &select, nullptr), db, "prepare");
    std::vector<Row> rows;
    auto text = [&](int column) {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(select, column)));
    };
    while (sqlite3_step(select) == SQLITE_ROW) {
        const auto* help = static_cast<const char*>(sqlite3_column_blob(select, 3));
        rows.push_back({sqlite3_column_int64(select, 0), text(1), text(2),
                        std::string(help, static_cast<size_t>(sqlite3_column_bytes(select, 3)))});
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    size_t bytes = 0;
    for (const Row& row : rows)
        bytes += row.subject.size() + row.filename.size();
    return bytes;
}

// A fresh file for each round of inserts.
std::string emptyDatabase(const std::string& folder, int round) {
    const std::string path = folder + "/insert" + std::to_string(round) + ".db";
    sqlite3* db = openDatabase(path);
    check(sqlite3_exec(db, kCreate, nullptr, nullptr, nullptr), db, "create");
    sqlite3_close(db);
    return path;
}

// The rows' texts in code page 936, as the game box holds them.
std::vector<GameRow> ansiRows() {
    std::vector<GameRow> rows;
    for (int i = 0; i < kRows; ++i) {
        const GameRow row = gameRow(i);
        rows.push_back({zorvia::text::utf8ToAnsi(row.subject),
                        zorvia::text::utf8ToAnsi(row.filename),
                        zorvia::text::utf8ToAnsi(row.help)});
    }
    return rows;
}

// Open, one transaction of kRows parameterised ExecSQL inserts, close.
size_t insertThroughComponents(const std::string& path, const std::vector<GameRow>& rows) {
    Components components(path);
    zorvia::TSQLiteDB& db = components.db;
    zorvia::TSQLiteQuery& query = components.query;
    db.Open();
    db.StartTransaction();
    query.SQL().SetText(kInsertNamed);
    zorvia::TParam& subject = query.ParamByName("subject");
    zorvia::TParam& filename = query.ParamByName("filename");
    zorvia::TParam& help = query.ParamByName("gamehelp");
    for (const GameRow& row : rows) {
        subject.SetAsString(row.subject);
        filename.SetAsString(row.filename);
        help.SetAsString(row.help);
        query.ExecSQL();
    }
    db.Commit();
    db.Close();
    return rows.size();
}

size_t insertThroughCApi(const std::string& path) {
    sqlite3* db = openDatabase(path);
    insertThroughCApi(db);
    sqlite3_close(db);
    return kRows;
}

// The median processor time in milliseconds of one run, and what the run
// counted.
struct Timing {
    double ms = 0;
    size_t count = 0;
};

// Processor time of this thread in milliseconds: on a shared machine the
// time the thread waits for a processor would blur the comparison.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double since(double start) {
    return cpuMs() - start;
}

// `first(round)` and `second(round)` kRounds times each, taking turns so
// that both meet the same load on the machine.
template <typename First, typename Second>
std::pair<Timing, Timing> medianPair(First&& first, Second&& second) {
    std::vector<double> firstTimes;
    std::vector<double> secondTimes;
    std::pair<Timing, Timing> result;
    for (int round = 0; round < kRounds; ++round) {
        double start = cpuMs();
        result.first.count = first(round);
        firstTimes.push_back(since(start));
        start = cpuMs();
        result.second.count = second(round);
        secondTimes.push_back(since(start));
    }
    std::sort(firstTimes.begin(), firstTimes.end());
    std::sort(secondTimes.begin(), secondTimes.end());
    result.first.ms = firstTimes[kRounds / 2];
    result.second.ms = secondTimes[kRounds / 2];
    return result;
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
        const auto [components, direct] = medianPair([&](int) { return throughComponents(path); },
                                                     [&](int) { return throughCApi(path); });
        std::printf("rows per run:             %d (median of %d runs)\n", kRows, kRounds);
        std::printf("TSQLiteDB/TSQLiteQuery:   %8.2f ms  (%zu text bytes read)\n", components.ms,
                    components.count);
        std::printf("SQLite C API directly:    %8.2f ms  (%zu text bytes read)\n", direct.ms,
                    direct.count);
        std::printf("select ratio components/direct: %6.2f\n", components.ms / direct.ms);
        size_t sink = 0;
        const auto [third, everyColumn] =
            medianPair([&](int) { return throughComponents(path); },
                       [&](int) { return throughCApiEveryColumn(path, sink); });
        std::printf("C API reading every column: %6.2f ms  (components again: %.2f ms)\n",
                    everyColumn.ms, third.ms);
        std::printf("  (checksum of the ids and help text lengths it read: %zu)\n", sink / kRounds);
        std::printf("select ratio components/every column: %6.2f  (goal: at most 1.5)\n",
                    third.ms / everyColumn.ms);
        const auto [again, wholeRows] = medianPair([&](int) { return throughComponents(path); },
                                                   [&](int) { return throughCApiWholeRows(path); });
        std::printf("C API keeping whole rows: %8.2f ms  (components again: %.2f ms)\n",
                    wholeRows.ms, again.ms);
        std::printf("select ratio components/whole rows: %6.2f\n", again.ms / wholeRows.ms);

        const std::vector<GameRow> rows = ansiRows();
        std::vector<std::string> files;
        for (int round = 0; round < 2 * kRounds; ++round)
            files.push_back(emptyDatabase(folder, round));
        const auto [execSql, bound] =
            medianPair([&](int round) { return insertThroughComponents(files[2 * round], rows); },
                       [&](int round) { return insertThroughCApi(files[2 * round + 1]); });
        std::printf("inserts per run:          %zu in one transaction\n", execSql.count);
        std::printf("ExecSQL with parameters:  %8.2f ms\n", execSql.ms);
        std::printf("C API bound statement:    %8.2f ms\n", bound.ms);
        std::printf("insert ratio components/direct: %6.2f\n", execSql.ms / bound.ms);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "benchmark failed: %s\n", error.what());
        status = 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return status;
}
