#pragma once

#include "text/ansi.h"

#include <optional>
#include <string_view>

namespace zorvia::data {

// A point in time as days since 1899-12-30 (the whole part) plus the time of
// day as a fraction of a day.
using TDateTime = double;

struct DateParts {
    int year = 0, month = 0, day = 0;
};
struct TimeParts {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

std::optional<TDateTime> encodeDate(int year, int month, int day);
std::optional<TDateTime> encodeTime(int hour, int minute, int second, int millisecond);
DateParts decodeDate(TDateTime value);
TimeParts decodeTime(TDateTime value);

// `value` written with a format of the letters described in FormatSettings.
AnsiString formatDateTime(std::string_view format, TDateTime value);

// A date written as three numbers in the order of `format` (the order in
// which its y, m and d letters first appear), separated by `separator`, with
// nothing but blanks around. A year of one or two digits lies in 1950..2049.
std::optional<TDateTime> scanDate(std::string_view text, std::string_view format, char separator);

// A time of day "h:n", "h:n:s" or "h:n:s.z" with `separator` between the
// numbers and `decimal` before the milliseconds.
std::optional<TDateTime> scanTime(std::string_view text, char separator, char decimal);

// A whole number in decimal, optionally signed, with blanks allowed before
// it; no value when the text is not one or does not fit 32 bits.
std::optional<int> parseInteger(std::string_view text);

} // namespace zorvia::data
