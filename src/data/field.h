#pragma once

#include "data/date_time.h"
#include "data/field_info.h"
#include "data/field_value.h"
#include "data/row_cache.h"
#include "text/ansi.h"

#include <cstdint>

namespace zorvia {

class TSQLiteBaseQuery;

// The definition of one result field, made from a result column.
struct TFieldDef {
    AnsiString Name;
    TFieldType DataType = TFieldType::ftString;
    int Size = 0;
    int Precision = 0;
};

// A field of an open query: reads its value from the query's current row.
// Fields belong to the query and go when it closes.
class TField {
public:
    TField(const TSQLiteBaseQuery& dataSet, TFieldDef definition, int index)
        : dataSet_(&dataSet), definition_(std::move(definition)), index_(index) {}

    const AnsiString& FieldName() const { return definition_.Name; }
    TFieldType DataType() const { return definition_.DataType; }
    int Size() const { return definition_.Size; }
    int Precision() const { return definition_.Precision; }
    int Index() const { return index_; }

    // True when the current row holds null here, or there is no current row.
    bool IsNull() const;

    // The value as text: string fields as stored, converted from UTF-8 when
    // the connection is in UTF-8 mode; memo and blob bytes unconverted;
    // numbers, booleans and dates in the formats of the format settings;
    // empty for null.
    AnsiString AsString() const;

    // The value as a number, boolean or date; EConvertError when the value
    // cannot be one. Null reads as 0 or false.
    std::int32_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    data::TDateTime AsDateTime() const;

    // The stored value itself (bytes as the library gave them).
    data::FieldValue Value() const;

private:
    const data::Cell* cell() const;

    const TSQLiteBaseQuery* dataSet_;
    TFieldDef definition_;
    int index_;
};

} // namespace zorvia
