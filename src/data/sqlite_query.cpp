#include "data/sqlite_query.h"

#include "data/errors.h"
#include "data/field_info.h"
#include "data/sql_params.h"
#include "data/sqlite_db.h"
#include "data/statement.h"
#include "text/ascii_case.h"
#include "text/trim.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <string>

namespace zorvia {
namespace data {
namespace {

ScreenCursorService& screenCursorService() {
    static ScreenCursorService service;
    return service;
}

// Shows the SQL-wait cursor for its lifetime and restores the one before.
class WaitCursor {
public:
    explicit WaitCursor(bool show) {
        const ScreenCursorService& service = screenCursorService();
        if (!show || !service.set)
            return;
        active_ = true;
        if (service.get)
            previous_ = service.get();
        service.set(ScreenCursor::SqlWait);
    }
    ~WaitCursor() {
        if (!active_)
            return;
        const ScreenCursorService& service = screenCursorService();
        service.set(previous_);
        if (service.get && service.get() == ScreenCursor::SqlWait)
            service.set(ScreenCursor::Default);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool active_ = false;
    ScreenCursor previous_ = ScreenCursor::Default;
};

} // namespace

void setScreenCursorService(ScreenCursorService service) {
    screenCursorService() = std::move(service);
}

} // namespace data

namespace {

using enum TFieldType;
namespace sqlite = data::sqlite;

// Null or not: a value a column reader returned is never null, while no
// value may also be an empty blob.
bool isPresent(const void* value, const sqlite::Api& api, sqlite::Stmt* stmt, int column) {
    return value != nullptr || api.column_type(stmt, column) != sqlite::kTypeNull;
}

size_t byteCount(int bytes) {
    return static_cast<size_t>(std::max(bytes, 0));
}

// How the row loop reads the column of field `field`.
data::ColumnRead columnRead(const TFieldDef& def, size_t field) {
    using Way = data::ColumnRead::Way;
    data::ColumnRead read{Way::Text, def.DataType, static_cast<std::uint32_t>(field), 0};
    const size_t size = byteCount(def.Size);
    if (def.DataType == ftString) {
        read.way = Way::String;
        read.cut = size;
    } else if (def.DataType == ftWideString) {
        read.way = Way::Wide;
        read.cut = (size + 1) / 2;
    } else if (isBlobLike(def.DataType)) {
        read.way = Way::Blob;
    } else if (def.DataType == ftInteger) {
        read.way = Way::Integer;
    }
    return read;
}

const char* columnText(const sqlite::Api& api, sqlite::Stmt* stmt, int column) {
    return reinterpret_cast<const char*>(api.column_text(stmt, column));
}

// Fills the field from `raw`, the text of column `column`, through the
// field's type: the reading of every value no quicker reading takes.
void readText(const sqlite::Api& api, sqlite::Stmt* stmt, int column, const char* raw,
              const data::ColumnRead& read, const data::DateReading& reading,
              data::RowCache& rows) {
    if (!isPresent(raw, api, stmt, column))
        return rows.setNull(read.field, data::emptyValue(read.type));
    const size_t length = raw != nullptr ? byteCount(api.column_bytes(stmt, column)) : 0;
    rows.setValue(read.field,
                  data::valueFromText(read.type, {raw != nullptr ? raw : "", length}, reading));
}

// Fills a field of the row read last from one column of the row the
// statement stands on. Inlined into the row loop: it runs for every column
// of every row.
[[gnu::always_inline]] inline void readCell(const sqlite::Api& api, sqlite::Stmt* stmt, int column,
                                            const data::ColumnRead& read,
                                            const data::DateReading& reading,
                                            data::RowCache& rows) {
    using Way = data::ColumnRead::Way;
    switch (read.way) {
    case Way::Skip:
        return;
    case Way::Rowid:
        return rows.setRowid(api.column_int(stmt, column));
    case Way::String: {
        const char* raw = columnText(api, stmt, column);
        if (raw == nullptr)
            return readText(api, stmt, column, raw, read, reading, rows);
        // Cut to the field's size, or at the first zero byte: the text's own
        // terminator or one inside it.
        return rows.setBytes(read.field, {raw, strnlen(raw, read.cut)});
    }
    case Way::Integer: {
        // An integer's text is its decimal form: read the number itself.
        if (api.column_type(stmt, column) != sqlite::kTypeInteger)
            return readText(api, stmt, column, columnText(api, stmt, column), read, reading, rows);
        const sqlite::Int64 number = api.column_int64(stmt, column);
        const bool fits = number >= std::numeric_limits<std::int32_t>::min() &&
                          number <= std::numeric_limits<std::int32_t>::max();
        return rows.setInteger(read.field, fits ? static_cast<std::int32_t>(number) : 0);
    }
    case Way::Wide: {
        const auto* units = static_cast<const char16_t*>(api.column_text16(stmt, column));
        if (!isPresent(units, api, stmt, column))
            return rows.setNull(read.field, data::emptyValue(read.type));
        const size_t count = units != nullptr ? byteCount(api.column_bytes16(stmt, column)) / 2 : 0;
        return rows.setWide(read.field,
                            {units != nullptr ? units : u"", std::min(count, read.cut)});
    }
    case Way::Blob: {
        const auto* bytes = static_cast<const char*>(api.column_blob(stmt, column));
        if (bytes != nullptr)
            return rows.setBytes(read.field, {bytes, byteCount(api.column_bytes(stmt, column))});
        if (api.column_type(stmt, column) == sqlite::kTypeNull)
            return rows.setNull(read.field, data::emptyValue(read.type));
        return rows.setBytes(read.field, {});
    }
    case Way::Text:
        return readText(api, stmt, column, columnText(api, stmt, column), read, reading, rows);
    }
}

} // namespace

TSQLiteBaseQuery::~TSQLiteBaseQuery() {
    InternalClose();
    if (connection_ != nullptr)
        connection_->detach(this);
}

void TSQLiteBaseQuery::SetConnection(TSQLiteDB* connection) {
    if (connection == connection_)
        return;
    Close();
    if (connection_ != nullptr)
        connection_->detach(this);
    connection_ = connection;
    if (connection_ != nullptr)
        connection_->attach(this);
}

void TSQLiteBaseQuery::SetActive(bool active) {
    if (active == active_)
        return;
    if (!active) {
        InternalClose();
        return;
    }
    try {
        InternalOpen();
    } catch (...) {
        InternalClose();
        throw;
    }
    active_ = true;
    First();
}

void TSQLiteBaseQuery::QueryChanged(const AnsiString& textToRun,
                                    const std::vector<AnsiString>& paramNames) {
    Close();
    parsedText_ = textToRun;
    params_ = TParams(paramNames, params_);
}

void TSQLiteBaseQuery::InternalOpen() {
    if (text::trim(SqlText()).empty())
        throw ESQLiteError("no query specified");
    if (maxResults_ == 0 && startResult_ != 0)
        maxResults_ = -1;
    AnsiString text(text::trim(parsedText_));
    if (filtered_ && !filter_.empty())
        text = "select * from (" + text + ") where " + filter_;
    if (connection_ == nullptr)
        throw ESQLiteError("no database connection");
    if (!connection_->Connected())
        connection_->DBConnect(true);
    if (maxResults_ != 0)
        text += " limit " + std::to_string(maxResults_);
    if (startResult_ != 0)
        text += " offset " + std::to_string(startResult_);
    rows_.reset(0);
    if (connection_->Connected())
        LoadQueryData(text);
    position_ = -1;
    fields_.clear();
    foldedNames_.clear();
    for (size_t i = 0; i < fieldDefs_.size(); ++i) {
        fields_.push_back(std::make_unique<TField>(*this, fieldDefs_[i], static_cast<int>(i)));
        foldedNames_.push_back(text::toLowerAscii(fieldDefs_[i].Name));
    }
}

void TSQLiteBaseQuery::InternalClose() noexcept {
    rows_.release();
    fields_.clear();
    foldedNames_.clear();
    fieldDefs_.clear();
    columnReads_.clear();
    rowidColumn_ = -1;
    position_ = -1;
    active_ = false;
    eof_ = true;
    bof_ = true;
}

void TSQLiteBaseQuery::LoadQueryData(const AnsiString& text) {
    TSQLiteDB& db = *connection_;
    db.SetLastSQL(text);
    db.Log(text);
    data::WaitCursor cursor(sqlCursor_);
    rowidColumn_ = -1;

    const sqlite::Api& api = db.Api();
    const std::string libraryText = db.ToLibraryText(text);
    sqlite::Stmt* raw = nullptr;
    const char* tail = nullptr;
    const int prepared = api.prepare(db.Handle(), libraryText.c_str(), -1, &raw, &tail);
    data::Statement statement(api, raw);
    if (prepared != sqlite::kOk)
        db.RaiseSQLiteError();
    buildFieldDefs(api, raw);
    rows_.reset(fieldDefs_.size());
    if (raw == nullptr)
        return;
    bindParams(api, raw);
    const data::DateReading reading{sqliteDateFormat_, tableDateFormat_};
    while (FetchRow(api, raw, reading)) {
    }
    api.reset(raw);
    const int finished = statement.finalize();
    if (finished != sqlite::kOk)
        throw ESQLiteError("SQLiteExecute error: " + std::to_string(finished));
}

void TSQLiteBaseQuery::buildFieldDefs(const sqlite::Api& api, sqlite::Stmt* stmt) {
    fieldDefs_.clear();
    columnReads_.clear();
    const int columns = stmt != nullptr ? api.column_count(stmt) : 0;
    for (int column = 0; column < columns; ++column) {
        const char* rawName = api.column_name(stmt, column);
        const AnsiString name = connection_->FromLibraryText(rawName != nullptr ? rawName : "");
        if (text::equalsNoCase(name, "rowid")) {
            data::ColumnRead read;
            if (rowidColumn_ < 0) {
                rowidColumn_ = column;
                read.way = data::ColumnRead::Way::Rowid;
            }
            columnReads_.push_back(read);
            continue;
        }
        auto taken = [&](std::string_view candidate) {
            return std::any_of(fieldDefs_.begin(), fieldDefs_.end(), [&](const TFieldDef& def) {
                return text::equalsNoCase(def.Name, candidate);
            });
        };
        AnsiString unique = name;
        for (int suffix = 1; taken(unique); ++suffix)
            unique = name + "_" + std::to_string(suffix);

        const char* declared = api.column_decltype(stmt, column);
        const FieldInfo info = GetFieldInfo(declared != nullptr ? declared : "string");
        TFieldDef def{unique, info.type, 0, 0};
        if (typeLess_) {
            def.DataType = ftString;
            def.Size = info.size;
        } else if (info.type == ftString || info.type == ftWideString) {
            def.Size = info.size;
        } else if (info.type == ftFloat) {
            def.Precision = info.precision;
        }
        columnReads_.push_back(columnRead(def, fieldDefs_.size()));
        fieldDefs_.push_back(std::move(def));
    }
}

void TSQLiteBaseQuery::bindParams(const sqlite::Api& api, sqlite::Stmt* stmt) const {
    const int count = api.bind_parameter_count(stmt);
    for (int index = 1; index <= count; ++index) {
        if (const TParam* param = params_.AtPosition(index - 1))
            data::bindValue(api, stmt, index, param->Bound(), connection_->Utf8Mode());
    }
}

bool TSQLiteBaseQuery::FetchRow(const sqlite::Api& api, sqlite::Stmt* stmt,
                                const data::DateReading& reading) {
    const int stepped = api.step(stmt);
    if (stepped == sqlite::kRow) {
        rows_.addRow();
        const int columns = static_cast<int>(columnReads_.size());
        for (int column = 0; column < columns; ++column)
            readCell(api, stmt, column, columnReads_[column], reading, rows_);
        return true;
    }
    if (stepped == sqlite::kBusy) {
        if (connection_->OnBusy) {
            connection_->OnBusy(*connection_);
            return false;
        }
        connection_->RaiseSQLiteError();
    }
    if (stepped == sqlite::kError || stepped == sqlite::kMisuse) {
        // The specific error text reaches the connection with the reset.
        api.reset(stmt);
        connection_->RaiseSQLiteError();
    }
    return false;
}

void TSQLiteBaseQuery::ExecSQL() {
    if (connection_ == nullptr)
        throw ESQLiteError("no database connection");
    if (!connection_->Connected())
        connection_->DBConnect(true);
    Close();
    if (!autoCommit_) {
        connection_->RunStatements(SqlText(), &params_);
        return;
    }
    connection_->StartTransaction(transactionType_);
    try {
        connection_->RunStatements(SqlText(), &params_);
        connection_->Commit();
    } catch (...) {
        if (connection_->InTransaction()) {
            try {
                connection_->RollBack();
            } catch (...) {
            }
        }
        throw;
    }
}

void TSQLiteBaseQuery::First() {
    position_ = rows_.rowCount() == 0 ? -1 : 0;
    bof_ = true;
    eof_ = rows_.rowCount() == 0;
}

void TSQLiteBaseQuery::Next() {
    if (position_ < static_cast<int>(rows_.rowCount()) - 1) {
        ++position_;
        bof_ = false;
    } else {
        eof_ = true;
    }
}

void TSQLiteBaseQuery::Prior() {
    if (position_ > 0) {
        --position_;
        eof_ = false;
    } else {
        bof_ = true;
    }
}

void TSQLiteBaseQuery::Last() {
    position_ = static_cast<int>(rows_.rowCount()) - 1;
    eof_ = true;
    bof_ = rows_.rowCount() == 0;
}

std::int64_t TSQLiteBaseQuery::RowId() const {
    if (!active_ || position_ < 0 || position_ >= static_cast<int>(rows_.rowCount()))
        return -1;
    return rows_.rowid(position_);
}

bool TSQLiteBaseQuery::readsUtf8() const {
    return connection_ != nullptr && connection_->Utf8Mode();
}

TField* TSQLiteBaseQuery::FindField(std::string_view name) const {
    // No two fields' names differ in case alone, so a name written as the
    // field's own is the one; only other spellings are folded, and the
    // fields' names were folded when the fields were made.
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i]->FieldName() == name)
            return fields_[i].get();
    }
    const std::string folded = text::toLowerAscii(name);
    for (size_t i = 0; i < foldedNames_.size(); ++i) {
        if (foldedNames_[i] == folded)
            return fields_[i].get();
    }
    return nullptr;
}

TField& TSQLiteBaseQuery::FieldByName(std::string_view name) const {
    if (TField* field = FindField(name))
        return *field;
    raise("Field '" + std::string(name) + "' not found");
}

TParam& TSQLiteBaseQuery::ParamByName(std::string_view name) {
    if (TParam* param = params_.FindParam(name))
        return *param;
    raise("Parameter '" + std::string(name) + "' not found");
}

void TSQLiteBaseQuery::raise(const AnsiString& message) const {
    throw EDatabaseError(name_.empty() ? message : name_ + ": " + message);
}

TSQLiteQuery::TSQLiteQuery() : sql_([this] { sqlChanged(); }) {}

void TSQLiteQuery::SetRawSQL(bool raw) {
    rawSql_ = raw;
    sqlChanged();
}

void TSQLiteQuery::sqlChanged() {
    if (rawSql_) {
        QueryChanged(sql_.Text(), {});
        return;
    }
    const data::ParsedSql parsed = data::parseSqlParams(sql_.Text());
    QueryChanged(parsed.text, parsed.names);
}

} // namespace zorvia
