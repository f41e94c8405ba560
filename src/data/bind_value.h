#pragma once

#include "data/field_value.h"
#include "data/sqlite_api.h"

namespace zorvia::data {

// A value to hand to a statement parameter, with the kind that decides how.
struct BindValue {
    TFieldType type = TFieldType::ftUnknown;
    FieldValue value;
};

// Binds `value` to parameter `index` (1 up): null, integer, double, text
// (strings and booleans; dates and times as SQLite date texts), UTF-16 text
// (wide strings) or blob (blob, graphic, memo). Strings are handed over in
// UTF-8 when `utf8` is set. Returns the library's result code.
int bindValue(const sqlite::Api& api, sqlite::Stmt* stmt, int index, const BindValue& value,
              bool utf8);

} // namespace zorvia::data
