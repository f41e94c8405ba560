#pragma once

#include "data/date_time.h"
#include "data/field_info.h"
#include "text/ansi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace zorvia::data {

// A stored value: bytes (string, memo, blob), UTF-16 text (wide string),
// integer, boolean, or a number (floating, currency, and date and time as
// TDateTime). monostate stands for no value.
using FieldValue =
    std::variant<std::monostate, std::string, std::u16string, std::int32_t, bool, double>;

// How date and time texts are read (the query's date settings).
struct DateReading {
    bool sqliteDateFormat = true;
    std::string tableDateFormat;
};

// The value a field of `type` stores for the column text `text`. Throws
// EConvertError for a boolean text that is not a boolean word and for a date
// text that no date reader accepts.
FieldValue valueFromText(TFieldType type, std::string_view text, const DateReading& reading);

// The number a value holds: a floating value, an integer, or, when
// `booleans` is set, a boolean as 1 or 0. No number for any other value.
std::optional<double> numberIn(const FieldValue& value, bool booleans);

// The value a null column leaves in a field of `type`.
FieldValue emptyValue(TFieldType type);

// The text of a stored value as fields show it (number and date formats of
// the format settings). Byte values are returned as stored.
AnsiString valueToText(TFieldType type, const FieldValue& value);

// A number written with `decimal` as decimal separator, optionally signed and
// with an exponent, blanks allowed around; no value for anything else.
std::optional<double> parseDecimal(std::string_view text, char decimal);

// The shortest text (at most 15 significant digits) for a number, with the
// decimal separator of the format settings and "E" before an exponent.
AnsiString formatFloat(double value);

// A boolean word ("True", "False", any case) or a number (not 0 is true).
std::optional<bool> parseBoolean(std::string_view text);

} // namespace zorvia::data
