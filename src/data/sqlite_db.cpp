#include "data/sqlite_db.h"

#include "data/database_name.h"
#include "data/errors.h"
#include "data/field.h"
#include "data/format_settings.h"
#include "data/params.h"
#include "data/sqlite_query.h"
#include "data/statement.h"
#include "data/system_collation.h"
#include "text/ascii_case.h"
#include "text/codepage.h"
#include "text/dbcs.h"
#include "text/file_path.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace zorvia {
namespace {

using data::sqlite::kBusy;
using data::sqlite::kOk;
using data::sqlite::kRow;
using data::sqlite::kSchema;

constexpr size_t kMaxErrorText = 255;
constexpr std::chrono::milliseconds kBusyPause{10};

AnsiString currentFolder() {
    std::string buffer(PATH_MAX, '\0');
    if (getcwd(buffer.data(), buffer.size()) == nullptr)
        return {};
    buffer.resize(buffer.find('\0'));
    return text::fromFileSystem(buffer);
}

// At most `limit` bytes of `text`, never ending inside a double-byte character.
AnsiString cutText(const AnsiString& text, size_t limit) {
    if (text.size() <= limit)
        return text;
    size_t cut = limit;
    if (cut > 0 && text::byteTypeAt(text, cut - 1) == text::ByteType::Lead)
        --cut;
    return text.substr(0, cut);
}

// True when nothing but blanks follows the statement that ends at `tail`.
bool isBlankRest(const char* tail) {
    if (tail == nullptr)
        return true;
    while (*tail != '\0' && std::isspace(static_cast<unsigned char>(*tail)))
        ++tail;
    return *tail == '\0';
}

AnsiString transactionStatement(std::string_view kind) {
    if (text::equalsNoCase(kind, "DEFERRED"))
        return "begin deferred transaction";
    if (text::equalsNoCase(kind, "IMMEDIATE"))
        return "begin immediate transaction";
    if (text::equalsNoCase(kind, "EXCLUSIVE"))
        return "begin exclusive transaction";
    return "begin transaction";
}

} // namespace

TSQLiteDB::~TSQLiteDB() {
    try {
        DBConnect(false);
    } catch (...) {
        release();
    }
    for (TSQLiteBaseQuery* query : queries_)
        query->connection_ = nullptr;
}

void TSQLiteDB::SetTimeOut(int milliseconds) {
    timeOut_ = milliseconds;
    if (connected_ && handle_ != nullptr)
        Api().busy_timeout(handle_, timeOut_);
}

void TSQLiteDB::SetDatabase(std::string_view name) {
    database_ = data::normalizeDatabaseName(name, defaultExt_);
}

const AnsiString& TSQLiteDB::DefaultExt() const {
    if (defaultExt_.empty())
        defaultExt_ = ".sqb";
    return defaultExt_;
}

const AnsiString& TSQLiteDB::DriverDLL() const {
    if (driverDll_.empty())
        driverDll_ = "SQLite3.dll";
    return driverDll_;
}

void TSQLiteDB::Open() {
    DBConnect(true);
    if (!library_)
        DBConnect(false);
}

void TSQLiteDB::Close() {
    DBConnect(false);
}

void TSQLiteDB::DBConnect(bool connect) {
    if (!connect) {
        disconnect();
        return;
    }
    if (connected_)
        disconnect();
    this->connect();
}

bool TSQLiteDB::LoadLibs() {
    data::FormatSettings& settings = data::formatSettings();
    if (settings.decimalSeparator != ',' && settings.decimalSeparator != '.')
        settings.decimalSeparator = '.';
    library_.reset();
    library_ = data::SQLiteLibrary::load(text::toFileSystem(DriverDLL()));
    return library_.has_value();
}

void TSQLiteDB::connect() {
    utf8Mode_ = characterEncoding_.empty() || text::equalsNoCase(characterEncoding_, "utf8");
    if (database_.empty())
        throw ESQLiteError("Missing database property");

    AnsiString path = data::databasePath(database_, defaultDir_, "");
    if (!data::isMemoryDatabase(database_)) {
        if (!defaultDir_.empty())
            defaultDir_ = data::withTrailingSeparator(defaultDir_);
        path = data::databasePath(database_, defaultDir_, currentFolder());
        std::error_code error;
        if (mustExist_ && !std::filesystem::exists(text::fileSystemPath(path), error))
            throw EDatabaseError("Database " + path + " does not exist");
    }

    if (!library_ && !LoadLibs()) {
        connected_ = false;
        throw ESQLiteError("Could not load SQLite library(" + DriverDLL() + ")");
    }

    // Until the file is open and set up, a failure leaves nothing behind.
    try {
        connected_ = true;
        const char* version = Api().libversion();
        version_ = version != nullptr ? version : "";
        handle_ = nullptr;
        if (BeforeConnect)
            BeforeConnect(*this);

        const std::string libraryPath =
            data::pathNeedsUtf8(version_) ? text::toFileSystem(path) : path;
        Api().open(libraryPath.c_str(), &handle_);
        if (handle_ == nullptr)
            throw ESQLiteError("Cannot open database");

        Api().create_collation(handle_, "systemnocase", data::sqlite::kEncodingUtf8, nullptr,
                               &data::systemNoCaseCollation);
        Api().create_collation(handle_, "system", data::sqlite::kEncodingUtf8, nullptr,
                               &data::systemCollation);
        if (AfterConnect)
            AfterConnect(*this);
    } catch (...) {
        release();
        throw;
    }

    if (pragma_ != nullptr)
        ExecPragma();
    if (executeInlineSql_ && inlineSql_ != nullptr) {
        executeInlineSql_ = false;
        runInTransaction(inlineSql_->SQL);
    }
    executeInlineSql_ = false;
    if (timeOut_ > 0)
        Api().busy_timeout(handle_, timeOut_);
}

void TSQLiteDB::disconnect() {
    if (!connected_)
        return;
    if (library_) {
        if (BeforeDisconnect)
            BeforeDisconnect(*this);
        for (TSQLiteBaseQuery* query : std::vector<TSQLiteBaseQuery*>(queries_))
            query->Close();
        release();
        if (AfterDisconnect)
            AfterDisconnect(*this);
    }
    connected_ = false;
}

void TSQLiteDB::release() noexcept {
    if (library_)
        statements_.clear(Api());
    if (library_ && handle_ != nullptr)
        Api().close(handle_);
    handle_ = nullptr;
    library_.reset();
    connected_ = false;
    inTransaction_ = false;
}

void TSQLiteDB::attach(TSQLiteBaseQuery* query) {
    queries_.push_back(query);
}

void TSQLiteDB::detach(TSQLiteBaseQuery* query) {
    std::erase(queries_, query);
}

void TSQLiteDB::StartTransaction(const AnsiString& kind) {
    if (!connected_)
        DBConnect(true);
    RunStatementsWithFields(transactionStatement(kind.empty() ? transactionType_ : kind));
    inTransaction_ = true;
}

void TSQLiteDB::Commit() {
    if (!connected_)
        DBConnect(true);
    RunStatementsWithFields("commit transaction");
    inTransaction_ = false;
}

void TSQLiteDB::RollBack() {
    if (!connected_)
        DBConnect(true);
    RunStatementsWithFields("rollback transaction");
    inTransaction_ = false;
}

void TSQLiteDB::runInTransaction(const AnsiString& sql) {
    StartTransaction();
    try {
        RunStatements(sql);
        Commit();
    } catch (...) {
        // An abandoned transaction would swallow every later statement.
        if (inTransaction_) {
            try {
                RollBack();
            } catch (...) {
            }
        }
        throw;
    }
}

int TSQLiteDB::RowsAffected() const {
    if (!connected_ || handle_ == nullptr)
        return -1;
    return Api().changes(handle_);
}

std::string TSQLiteDB::ToLibraryText(const AnsiString& sql) const {
    return utf8Mode_ ? text::ansiToUtf8(sql) : sql;
}

AnsiString TSQLiteDB::FromLibraryText(std::string_view text) const {
    return utf8Mode_ ? text::utf8ToAnsi(text) : AnsiString(text);
}

void TSQLiteDB::Log(const AnsiString& line) const {
    if (log_ != nullptr)
        log_->Display(line);
}

void TSQLiteDB::RaiseSQLiteError() const {
    AnsiString message;
    if (library_ && handle_ != nullptr) {
        const char* text = Api().errmsg(handle_);
        message = cutText(FromLibraryText(text != nullptr ? text : ""), kMaxErrorText);
    }
    message += "\n\n" + lastSql_;
    Log(message);
    throw EDatabaseError(message);
}

// Binds and steps a prepared statement to its end, then resets it; the
// library's result code of the run.
template <typename Binder>
int TSQLiteDB::execute(data::sqlite::Stmt* stmt, Binder& bind) {
    bind(stmt);
    const auto deadline = std::chrono::steady_clock::now() + busyRetryLimit_;
    int stepped = Api().step(stmt);
    while (stepped == kRow || (stepped == kBusy && std::chrono::steady_clock::now() < deadline)) {
        if (stepped == kBusy)
            std::this_thread::sleep_for(kBusyPause);
        stepped = Api().step(stmt);
    }
    if (stepped == kBusy)
        RaiseSQLiteError();
    return Api().reset(stmt);
}

template <typename Binder>
void TSQLiteDB::runAll(const AnsiString& sql, Binder&& bind) {
    lastSql_ = sql;
    Log(sql);
    if (!connected_ || handle_ == nullptr)
        throw ESQLiteError("Database is not connected");
    std::string text = ToLibraryText(sql);
    if (data::sqlite::Stmt* kept = statements_.take(text)) {
        data::Statement statement(Api(), kept);
        const int result = execute(kept, bind);
        if (result == kOk) {
            statements_.keep(Api(), std::move(text), statement.release());
            return;
        }
        // A schema change since the text was prepared: prepare it anew.
        if (result != kSchema)
            RaiseSQLiteError();
    }
    const char* rest = text.c_str();
    while (*rest != '\0') {
        data::sqlite::Stmt* raw = nullptr;
        const char* tail = nullptr;
        const int prepared = Api().prepare(handle_, rest, -1, &raw, &tail);
        data::Statement statement(Api(), raw);
        if (prepared != kOk)
            RaiseSQLiteError();
        if (raw != nullptr) {
            if (execute(raw, bind) != kOk)
                RaiseSQLiteError();
            if (rest == text.c_str() && isBlankRest(tail)) {
                statements_.keep(Api(), std::move(text), statement.release());
                return;
            }
        }
        if (tail == nullptr || tail <= rest)
            break;
        rest = tail;
    }
}

void TSQLiteDB::RunStatements(const AnsiString& sql, const TParams* params) {
    runAll(sql, [&](data::sqlite::Stmt* stmt) {
        if (params == nullptr)
            return;
        const int count = Api().bind_parameter_count(stmt);
        for (int index = 1; index <= count; ++index) {
            const char* name = Api().bind_parameter_name(stmt, index);
            const TParam* param = nullptr;
            if (name != nullptr && name[0] != '\0' && name[0] != '?')
                param = params->FindParam(FromLibraryText(name + 1));
            if (param == nullptr)
                param = params->AtPosition(index - 1);
            if (param != nullptr)
                data::bindValue(Api(), stmt, index, param->Bound(), utf8Mode_);
            else
                Api().bind_null(stmt, index);
        }
    });
}

void TSQLiteDB::RunStatementsWithFields(const AnsiString& sql,
                                        std::span<const TField* const> fields) {
    runAll(sql, [&](data::sqlite::Stmt* stmt) {
        const int count = Api().bind_parameter_count(stmt);
        for (int index = 1; index <= count; ++index) {
            const char* rawName = Api().bind_parameter_name(stmt, index);
            const AnsiString name =
                rawName != nullptr && rawName[0] != '\0' ? FromLibraryText(rawName + 1) : "";
            const TField* field = nullptr;
            for (const TField* candidate : fields) {
                if (candidate != nullptr && text::equalsNoCase(candidate->FieldName(), name)) {
                    field = candidate;
                    break;
                }
            }
            if (field == nullptr)
                throw EDatabaseError(name + " not found");
            data::BindValue value;
            if (!field->IsNull()) {
                value.type = field->DataType();
                value.value = field->DataType() == TFieldType::ftString
                                  ? data::FieldValue(field->AsString())
                                  : field->Value();
            }
            data::bindValue(Api(), stmt, index, value, utf8Mode_);
        }
    });
}

void TSQLiteDB::ExecPragma() {
    if (pragma_ == nullptr)
        return;
    const std::pair<const char*, const AnsiString*> settings[] = {
        {"pragma cache_size=", &pragma_->CacheSize},
        {"pragma default_cache_size=", &pragma_->DefaultCacheSize},
        {"pragma default_synchronous=", &pragma_->DefaultSynchronous},
        {"pragma default_temp_store=", &pragma_->DefaultTempStore},
        {"pragma temp_store=", &pragma_->TempStore},
        {"pragma synchronous=", &pragma_->Synchronous},
    };
    for (const auto& [statement, value] : settings) {
        if (!value->empty())
            RunStatementsWithFields(statement + *value);
    }
}

} // namespace zorvia
