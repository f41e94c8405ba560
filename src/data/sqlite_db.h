#pragma once

#include "data/sqlite_api.h"
#include "data/sqlite_components.h"
#include "data/sqlite_library.h"
#include "data/statement_cache.h"
#include "text/ansi.h"

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zorvia {

class TSQLiteDB;
class TSQLiteBaseQuery;
class TField;
class TParams;

using TSQLiteNotifyEvent = std::function<void(TSQLiteDB& Sender)>;

// Connection to one SQLite database file through a SQLite library loaded at
// run time from `DriverDLL`. Every Open loads the library and opens the file;
// every Close closes the file and unloads the library. Failures are raised
// as ESQLiteError or EDatabaseError (data/errors.h).
//
// Links to pragma, inline SQL and log components are not owned; they must
// outlive the connection or be unset first.
class TSQLiteDB {
public:
    TSQLiteDB() = default;
    ~TSQLiteDB();
    TSQLiteDB(const TSQLiteDB&) = delete;
    TSQLiteDB& operator=(const TSQLiteDB&) = delete;

    // Component name, used in messages of the queries bound to it.
    const AnsiString& Name() const { return name_; }
    void SetName(AnsiString name) { name_ = std::move(name); }

    // Busy time-out in milliseconds handed to the library at connect when
    // above 0; set while connected it applies at once.
    int TimeOut() const { return timeOut_; }
    void SetTimeOut(int milliseconds);

    // Empty or "utf8" (any case): statements and string values cross the
    // library in UTF-8. Takes effect at the next connect.
    const AnsiString& CharacterEncoding() const { return characterEncoding_; }
    void SetCharacterEncoding(AnsiString encoding) { characterEncoding_ = std::move(encoding); }

    // Kind of transaction StartTransaction begins by default.
    const AnsiString& TransactionType() const { return transactionType_; }
    void SetTransactionType(AnsiString kind) { transactionType_ = std::move(kind); }

    // The database file name: trimmed, with DefaultExt appended when it has
    // no extension (":memory:" in any case excepted).
    const AnsiString& Database() const { return database_; }
    void SetDatabase(std::string_view name);

    TSQLitePragma* SQLitePragma() const { return pragma_; }
    void SetSQLitePragma(TSQLitePragma* pragma) { pragma_ = pragma; }
    TSQLiteLog* SQLiteLog() const { return log_; }
    void SetSQLiteLog(TSQLiteLog* log) { log_ = log; }

    // Extension for database names without one; ".sqb" when empty.
    const AnsiString& DefaultExt() const;
    void SetDefaultExt(AnsiString extension) { defaultExt_ = std::move(extension); }

    // Folder put before the database name at connect, when set.
    const AnsiString& DefaultDir() const { return defaultDir_; }
    void SetDefaultDir(AnsiString folder) { defaultDir_ = std::move(folder); }

    // The loaded library's version text, set at connect.
    const AnsiString& Version() const { return version_; }

    // Path of the SQLite library file; "SQLite3.dll" when empty.
    const AnsiString& DriverDLL() const;
    void SetDriverDLL(AnsiString path) { driverDll_ = std::move(path); }

    bool Connected() const { return connected_; }
    void SetConnected(bool connected) { DBConnect(connected); }

    // When set, a missing database file is an error instead of a new file.
    bool MustExist() const { return mustExist_; }
    void SetMustExist(bool mustExist) { mustExist_ = mustExist; }

    TSQLiteInlineSQL* SQLiteInlineSQL() const { return inlineSql_; }
    void SetSQLiteInlineSQL(TSQLiteInlineSQL* inlineSql) { inlineSql_ = inlineSql; }
    bool ExecuteInlineSQL() const { return executeInlineSql_; }
    void SetExecuteInlineSQL(bool execute) { executeInlineSql_ = execute; }

    // Longest time RunStatements keeps retrying a statement that finds the
    // database busy before it raises the library's error.
    std::chrono::milliseconds BusyRetryLimit() const { return busyRetryLimit_; }
    void SetBusyRetryLimit(std::chrono::milliseconds limit) { busyRetryLimit_ = limit; }

    TSQLiteNotifyEvent AfterConnect;
    TSQLiteNotifyEvent BeforeConnect;
    TSQLiteNotifyEvent AfterDisconnect;
    TSQLiteNotifyEvent BeforeDisconnect;
    // Called instead of an error when a query's row fetch finds the
    // database busy; the query then ends its rows there.
    TSQLiteNotifyEvent OnBusy;

    // Connects; a component that is connected already is reconnected.
    void Open();
    // Disconnects; nothing happens when not connected.
    void Close();
    void DBConnect(bool connect);

    // Loads the library at DriverDLL and resolves its entry points. False
    // when the file cannot be loaded; ESQLiteError when an entry point is
    // missing.
    bool LoadLibs();
    bool LibraryLoaded() const { return library_.has_value(); }

    // Transactions; each connects first when disconnected. An empty kind
    // stands for TransactionType: "DEFERRED", "IMMEDIATE", "EXCLUSIVE" or
    // (anything else) a plain transaction.
    void StartTransaction(const AnsiString& kind = {});
    void Commit();
    void RollBack();
    bool InTransaction() const { return inTransaction_; }

    // Rows changed by the last statement, or -1 when disconnected.
    int RowsAffected() const;

    // Runs every statement of `sql` in turn (rows are stepped over), binding
    // `params` by name where a statement names its parameter and by position
    // otherwise.
    void RunStatements(const AnsiString& sql, const TParams* params = nullptr);
    // The same, binding each named parameter from the field of that name.
    void RunStatementsWithFields(const AnsiString& sql, std::span<const TField* const> fields = {});
    void ExecPragma();

    // Raises EDatabaseError with the library's last error text and the last
    // SQL text.
    [[noreturn]] void RaiseSQLiteError() const;

    bool Utf8Mode() const { return utf8Mode_; }
    const AnsiString& LastSQL() const { return lastSql_; }

    // For the queries bound to this connection.
    void SetLastSQL(AnsiString sql) { lastSql_ = std::move(sql); }
    std::string ToLibraryText(const AnsiString& sql) const;
    AnsiString FromLibraryText(std::string_view text) const;
    const data::sqlite::Api& Api() const { return library_->api(); }
    data::sqlite::Db* Handle() const { return handle_; }
    void Log(const AnsiString& line) const;

private:
    friend class TSQLiteBaseQuery;
    void attach(TSQLiteBaseQuery* query);
    void detach(TSQLiteBaseQuery* query);

    void connect();
    void disconnect();
    void release() noexcept;
    template <typename Binder>
    int execute(data::sqlite::Stmt* stmt, Binder& bind);
    template <typename Binder>
    void runAll(const AnsiString& sql, Binder&& bind);
    void runInTransaction(const AnsiString& sql);

    AnsiString name_;
    int timeOut_ = 0;
    AnsiString characterEncoding_;
    AnsiString transactionType_;
    AnsiString database_;
    TSQLitePragma* pragma_ = nullptr;
    TSQLiteLog* log_ = nullptr;
    mutable AnsiString defaultExt_ = ".sqb";
    AnsiString defaultDir_;
    AnsiString version_;
    mutable AnsiString driverDll_ = "SQLite3.dll";
    bool connected_ = false;
    bool mustExist_ = false;
    TSQLiteInlineSQL* inlineSql_ = nullptr;
    bool executeInlineSql_ = false;
    std::chrono::milliseconds busyRetryLimit_{5000};

    std::optional<data::SQLiteLibrary> library_;
    data::sqlite::Db* handle_ = nullptr;
    data::StatementCache statements_{16}; // single-statement texts run last
    bool inTransaction_ = false;
    bool utf8Mode_ = true;
    AnsiString lastSql_;
    std::vector<TSQLiteBaseQuery*> queries_;
};

} // namespace zorvia
