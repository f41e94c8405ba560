#pragma once

// The entry points of the SQLite library as this program calls them. The
// library is loaded at run time, so only the shapes of its functions are
// declared here; its handles stay opaque.

namespace zorvia::data::sqlite {

struct Db;
struct Stmt;
struct Value;

using Int64 = long long;
using Destructor = void (*)(void*);
using ExecCallback = int (*)(void*, int, char**, char**);
using CollationCompare = int (*)(void*, int, const void*, int, const void*);
using BusyCallback = int (*)(void*, int);

// Result codes and constants the components look at.
inline constexpr int kOk = 0;
inline constexpr int kError = 1;
inline constexpr int kBusy = 5;
inline constexpr int kSchema = 17;
inline constexpr int kMisuse = 21;
inline constexpr int kRange = 25;
inline constexpr int kRow = 100;
inline constexpr int kDone = 101;

inline constexpr int kTypeInteger = 1;
inline constexpr int kTypeNull = 5;
inline constexpr int kEncodingUtf8 = 1;

// Tells the library to copy a bound value before the bind call returns.
inline Destructor transient() {
    return reinterpret_cast<Destructor>(-1);
}

// X(member, exported name, message when the library lacks it), in the order
// in which a loaded library is checked.
#define ZORVIA_SQLITE_ENTRY_POINTS(X)                                                              \
    X(open, "sqlite3_open", "DLL::SQlite3Open not found")                                          \
    X(close, "sqlite3_close", "DLL::SQlite3Close not found")                                       \
    X(exec, "sqlite3_exec", "DLL::SQlite3Exe not found")                                           \
    X(libversion, "sqlite3_libversion", "DLL::SQliteLibversion not found")                         \
    X(errmsg, "sqlite3_errmsg", "DLL::SQlite3ErrorStringnot found")                                \
    X(get_table, "sqlite3_get_table", "DLL::SQlite3GetTable not found")                            \
    X(free_table, "sqlite3_free_table", "DLL::SQlite3FreeTable not found")                         \
    X(free, "sqlite3_free", "DLL::SQlite3FreeMem not found")                                       \
    X(complete, "sqlite3_complete", "DLL::SQlite3Complete not found")                              \
    X(last_insert_rowid, "sqlite3_last_insert_rowid", "DLL::SQlite3LastInsertRow not found")       \
    X(interrupt, "sqlite3_interrupt", "DLL::SQlite3Cancel not found")                              \
    X(busy_timeout, "sqlite3_busy_timeout", "DLL::SQlite3Busytimeout not found")                   \
    X(busy_handler, "sqlite3_busy_handler", "DLL::SQlite3BusyHandler not found")                   \
    X(changes, "sqlite3_changes", "DLL::SQlite3Changes not found")                                 \
    X(prepare, "sqlite3_prepare", "DLL::SQlite3Prepare not found")                                 \
    X(finalize, "sqlite3_finalize", "DLL::SQlite3Finalize not found")                              \
    X(reset, "sqlite3_reset", "DLL::SQlite3Reset not found")                                       \
    X(step, "sqlite3_step", "DLL::SQlite3Step not found")                                          \
    X(column_blob, "sqlite3_column_blob", "DLL::SQlite3ColumnBlob not found")                      \
    X(column_bytes, "sqlite3_column_bytes", "DLL::SQlite3ColumnBytes not found")                   \
    X(column_bytes16, "sqlite3_column_bytes16", "DLL::SQlite3ColumnBytes16 not found")             \
    X(column_count, "sqlite3_column_count", "DLL::SQlite3ColumnCount not found")                   \
    X(column_decltype, "sqlite3_column_decltype", "DLL::SQlite3ColumnDeclType not found")          \
    X(column_double, "sqlite3_column_double", "DLL::SQlite3ColumnDouble not found")                \
    X(column_int, "sqlite3_column_int", "DLL::SQlite3ColumnInt not found")                         \
    X(column_int64, "sqlite3_column_int64", "DLL::SQlite3ColumnInt64 not found")                   \
    X(column_name, "sqlite3_column_name", "DLL::SQlite3ColumnName not found")                      \
    X(column_text, "sqlite3_column_text", "DLL::SQlite3ColumnText not found")                      \
    X(column_text16, "sqlite3_column_text16", "DLL::SQlite3ColumnText16 not found")                \
    X(column_type, "sqlite3_column_type", "DLL::SQlite3COlumnTypenot found")                       \
    X(bind_blob, "sqlite3_bind_blob", "DLL::SQlite3BindBlob not found")                            \
    X(bind_value, "sqlite3_bind_value", "DLL::SQlite3BindValue not found")                         \
    X(bind_int, "sqlite3_bind_int", "DLL::SQlite3BindInt not found")                               \
    X(bind_double, "sqlite3_bind_double", "DLL::SQlite3BindDouble not found")                      \
    X(bind_null, "sqlite3_bind_null", "DLL::SQlite3BindNull not found")                            \
    X(bind_text, "sqlite3_bind_text", "DLL::SQlite3BindText not found")                            \
    X(bind_text16, "sqlite3_bind_text16", "DLL::SQlite3BindText16 not found")                      \
    X(bind_parameter_count, "sqlite3_bind_parameter_count",                                        \
      "DLL::SQlite3BindParameterCount not found")                                                  \
    X(bind_parameter_name, "sqlite3_bind_parameter_name",                                          \
      "DLL::SQlite3BindParameterName not found")                                                   \
    X(create_collation, "sqlite3_create_collation", "DLL::SQlite3CreateCollation not found")

// The resolved entry points of one loaded library.
struct Api {
    int (*open)(const char* path, Db** db) = nullptr;
    int (*close)(Db*) = nullptr;
    int (*exec)(Db*, const char* sql, ExecCallback, void*, char** error) = nullptr;
    const char* (*libversion)() = nullptr;
    const char* (*errmsg)(Db*) = nullptr;
    int (*get_table)(Db*, const char* sql, char*** result, int* rows, int* columns,
                     char** error) = nullptr;
    void (*free_table)(char** result) = nullptr;
    void (*free)(void*) = nullptr;
    int (*complete)(const char* sql) = nullptr;
    Int64 (*last_insert_rowid)(Db*) = nullptr;
    void (*interrupt)(Db*) = nullptr;
    int (*busy_timeout)(Db*, int ms) = nullptr;
    int (*busy_handler)(Db*, BusyCallback, void*) = nullptr;
    int (*changes)(Db*) = nullptr;
    int (*prepare)(Db*, const char* sql, int bytes, Stmt** stmt, const char** tail) = nullptr;
    int (*finalize)(Stmt*) = nullptr;
    int (*reset)(Stmt*) = nullptr;
    int (*step)(Stmt*) = nullptr;
    const void* (*column_blob)(Stmt*, int column) = nullptr;
    int (*column_bytes)(Stmt*, int column) = nullptr;
    int (*column_bytes16)(Stmt*, int column) = nullptr;
    int (*column_count)(Stmt*) = nullptr;
    const char* (*column_decltype)(Stmt*, int column) = nullptr;
    double (*column_double)(Stmt*, int column) = nullptr;
    int (*column_int)(Stmt*, int column) = nullptr;
    Int64 (*column_int64)(Stmt*, int column) = nullptr;
    const char* (*column_name)(Stmt*, int column) = nullptr;
    const unsigned char* (*column_text)(Stmt*, int column) = nullptr;
    const void* (*column_text16)(Stmt*, int column) = nullptr;
    int (*column_type)(Stmt*, int column) = nullptr;
    int (*bind_blob)(Stmt*, int index, const void*, int bytes, Destructor) = nullptr;
    int (*bind_value)(Stmt*, int index, const Value*) = nullptr;
    int (*bind_int)(Stmt*, int index, int) = nullptr;
    int (*bind_double)(Stmt*, int index, double) = nullptr;
    int (*bind_null)(Stmt*, int index) = nullptr;
    int (*bind_text)(Stmt*, int index, const char*, int bytes, Destructor) = nullptr;
    int (*bind_text16)(Stmt*, int index, const void*, int bytes, Destructor) = nullptr;
    int (*bind_parameter_count)(Stmt*) = nullptr;
    const char* (*bind_parameter_name)(Stmt*, int index) = nullptr;
    int (*create_collation)(Db*, const char* name, int encoding, void* context,
                            CollationCompare) = nullptr;
};

} // namespace zorvia::data::sqlite
