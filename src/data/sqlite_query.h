#pragma once

#include "data/field.h"
#include "data/field_value.h"
#include "data/params.h"
#include "data/row_cache.h"
#include "data/sql_lines.h"
#include "data/sqlite_api.h"
#include "text/ansi.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace zorvia {

class TSQLiteDB;

namespace data {

// The shapes of the mouse cursor a query shows while it loads rows.
enum class ScreenCursor { Default, SqlWait };

// Optional screen service through which queries show the SQL-wait cursor;
// either operation may be left empty.
struct ScreenCursorService {
    std::function<ScreenCursor()> get;
    std::function<void(ScreenCursor)> set;
};

// Installs the process-wide service (an empty one removes it).
void setScreenCursorService(ScreenCursorService service);

// How a query reads one result column of every row, worked out from the
// column's field definition once per statement.
struct ColumnRead {
    enum class Way : std::uint8_t { Skip, Rowid, Integer, String, Wide, Blob, Text };
    Way way = Way::Skip;
    TFieldType type = TFieldType::ftString;
    std::uint32_t field = 0; // the field it fills
    size_t cut = 0;          // String: bytes kept; Wide: UTF-16 units kept
};

} // namespace data

// A query on a TSQLiteDB connection. Open runs the first statement of the
// text, reads every row into memory and stands on the first row; ExecSQL
// runs all statements of the text without a result.
class TSQLiteBaseQuery {
public:
    TSQLiteBaseQuery() = default;
    virtual ~TSQLiteBaseQuery();
    TSQLiteBaseQuery(const TSQLiteBaseQuery&) = delete;
    TSQLiteBaseQuery& operator=(const TSQLiteBaseQuery&) = delete;

    const AnsiString& Name() const { return name_; }
    void SetName(AnsiString name) { name_ = std::move(name); }

    // ExecSQL runs its statements inside a transaction when set.
    bool AutoCommit() const { return autoCommit_; }
    void SetAutoCommit(bool autoCommit) { autoCommit_ = autoCommit; }
    const AnsiString& TransactionType() const { return transactionType_; }
    void SetTransactionType(AnsiString kind) { transactionType_ = std::move(kind); }

    // Date and time texts are read in SQLite's forms when set; otherwise
    // dates in TableDateFormat, or the format settings' date format.
    bool SQLiteDateFormat() const { return sqliteDateFormat_; }
    void SetSQLiteDateFormat(bool sqliteForms) { sqliteDateFormat_ = sqliteForms; }
    const AnsiString& TableDateFormat() const { return tableDateFormat_; }
    void SetTableDateFormat(AnsiString format) { tableDateFormat_ = std::move(format); }

    TSQLiteDB* Connection() const { return connection_; }
    void SetConnection(TSQLiteDB* connection);

    // " limit n" and " offset n" for Open when not 0.
    int MaxResults() const { return maxResults_; }
    void SetMaxResults(int count) { maxResults_ = count; }
    int StartResult() const { return startResult_; }
    void SetStartResult(int offset) { startResult_ = offset; }

    // Every field is a string field when set.
    bool TypeLess() const { return typeLess_; }
    void SetTypeLess(bool typeLess) { typeLess_ = typeLess; }

    // Shows the SQL-wait cursor while rows load.
    bool SQLCursor() const { return sqlCursor_; }
    void SetSQLCursor(bool show) { sqlCursor_ = show; }

    // Open runs "select * from (text) where Filter" when both are set.
    const AnsiString& Filter() const { return filter_; }
    void SetFilter(AnsiString filter) { filter_ = std::move(filter); }
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered) { filtered_ = filtered; }

    // The data set.
    bool Active() const { return active_; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    void ExecSQL();

    // The cursor over the cached rows.
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    void First();
    void Next();
    void Prior();
    void Last();
    int RecordCount() const { return static_cast<int>(rows_.rowCount()); }
    // Rowid of the current row (the result column named rowid, or the row's
    // number); -1 without a current row.
    std::int64_t RowId() const;

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) const { return *fields_.at(index); }
    TField* FindField(std::string_view name) const;
    // EDatabaseError "<Name>: Field '<name>' not found" for an unknown name.
    TField& FieldByName(std::string_view name) const;
    const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }

    TParams& Params() { return params_; }
    const TParams& Params() const { return params_; }
    // EDatabaseError "<Name>: Parameter '<name>' not found" for an unknown name.
    TParam& ParamByName(std::string_view name);

    // For the fields: the current row's cell of field `index`, if any.
    const data::Cell* currentCell(int index) const {
        if (!active_ || position_ < 0 || position_ >= static_cast<int>(rows_.rowCount()))
            return nullptr;
        if (index < 0 || index >= static_cast<int>(fieldDefs_.size()))
            return nullptr;
        return &rows_.cell(position_, index);
    }
    const data::RowCache& rowCache() const { return rows_; }
    // True when string values come from the library in UTF-8.
    bool readsUtf8() const;

protected:
    // The statement text as written.
    virtual const AnsiString& SqlText() const = 0;
    // Takes a new text: closes the data set and sets the text to run and
    // its parameters.
    void QueryChanged(const AnsiString& textToRun, const std::vector<AnsiString>& paramNames);

private:
    friend class TSQLiteDB;

    void InternalOpen();
    void InternalClose() noexcept;
    void LoadQueryData(const AnsiString& text);
    void buildFieldDefs(const data::sqlite::Api& api, data::sqlite::Stmt* stmt);
    void bindParams(const data::sqlite::Api& api, data::sqlite::Stmt* stmt) const;
    // Steps to the next result row and appends it to the cache; false at
    // the end of the rows.
    bool FetchRow(const data::sqlite::Api& api, data::sqlite::Stmt* stmt,
                  const data::DateReading& reading);
    [[noreturn]] void raise(const AnsiString& message) const;

    AnsiString name_;
    bool autoCommit_ = true;
    AnsiString transactionType_;
    bool sqliteDateFormat_ = true;
    AnsiString tableDateFormat_;
    TSQLiteDB* connection_ = nullptr;
    int maxResults_ = 0;
    int startResult_ = 0;
    bool typeLess_ = false;
    bool sqlCursor_ = true;
    AnsiString filter_;
    bool filtered_ = false;

    AnsiString parsedText_;
    TParams params_;
    std::vector<TFieldDef> fieldDefs_;
    std::vector<data::ColumnRead> columnReads_; // one for each result column
    int rowidColumn_ = -1;
    // Each row's rowid is the result column named rowid, or the row's
    // number; its bookmark is its index.
    data::RowCache rows_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<AnsiString> foldedNames_; // the fields' names in lower case
    bool active_ = false;
    int position_ = -1;
    bool eof_ = true;
    bool bof_ = true;
};

// The query with its SQL text: a change of SQL closes the query and, unless
// RawSQL is set, takes ":name" parameters out of the text.
class TSQLiteQuery : public TSQLiteBaseQuery {
public:
    TSQLiteQuery();

    bool RawSQL() const { return rawSql_; }
    void SetRawSQL(bool raw);

    data::SqlLines& SQL() { return sql_; }
    const data::SqlLines& SQL() const { return sql_; }
    void SetSQL(const data::SqlLines& lines) { sql_.SetText(lines.Text()); }

protected:
    const AnsiString& SqlText() const override { return sql_.Text(); }

private:
    void sqlChanged();

    bool rawSql_ = false;
    data::SqlLines sql_;
};

} // namespace zorvia
