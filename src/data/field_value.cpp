#include "data/field_value.h"

#include "data/errors.h"
#include "data/format_settings.h"
#include "text/ascii_case.h"
#include "text/codepage.h"
#include "text/trim.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zorvia::data {
namespace {

using enum TFieldType;

// Date texts are tried in the format in force, then day first, then year
// first, both with "-".
TDateTime readDate(std::string_view text, std::string_view format) {
    if (auto date = scanDate(text, format, formatSettings().dateSeparator))
        return *date;
    if (auto date = scanDate(text, "dd-mm-yyyy", '-'))
        return *date;
    if (auto date = scanDate(text, "yyyy-mm-dd", '-'))
        return *date;
    throw EConvertError::notValid(text, "date");
}

// The time of day of "date hh:nn:ss.zzz": what follows the first blank, up
// to the first ".".
TDateTime readSqliteTime(std::string_view text) {
    const size_t blank = text.find(' ');
    if (blank != std::string_view::npos)
        text.remove_prefix(blank + 1);
    text = text.substr(0, text.find('.'));
    return scanTime(text, ':', '.').value_or(0.0);
}

// "yyyy-mm-dd hh:nn:ss.zzz" read by character positions; 0 when a part
// that the length calls for is not a number or not a valid date or time.
TDateTime readSqliteDateTime(std::string_view text) {
    auto number = [&](size_t first, size_t count) -> std::optional<int> {
        if (first >= text.size())
            return std::nullopt;
        return parseInteger(text.substr(first, count));
    };
    TDateTime result = 0;
    if (text.size() > 9) {
        const auto year = number(0, 4), month = number(5, 2), day = number(8, 2);
        if (!year || !month || !day)
            return 0;
        const auto date = encodeDate(*year, *month, *day);
        if (!date)
            return 0;
        result = *date;
    }
    if (text.size() > 10) {
        int second = 0;
        int millisecond = 0;
        const auto hour = number(11, 2), minute = number(14, 2);
        if (!hour || !minute)
            return 0;
        if (text.size() > 16) {
            const auto s = number(17, 2);
            if (!s)
                return 0;
            second = *s;
        }
        if (text.size() >= 20) {
            const auto ms = number(20, 3);
            if (!ms)
                return 0;
            millisecond = *ms;
        }
        const auto time = encodeTime(*hour, *minute, second, millisecond);
        if (!time)
            return 0;
        result += result < 0 ? -*time : *time;
    }
    return result;
}

// The locale's date-time reader: a date, optionally followed by a blank and
// a time; falls back to the date reader alone.
TDateTime readLocaleDateTime(std::string_view text, std::string_view format) {
    const FormatSettings& settings = formatSettings();
    const std::string_view whole = text::trimBlanks(text);
    const size_t blank = whole.find(' ');
    if (blank != std::string_view::npos) {
        const auto date = scanDate(whole.substr(0, blank), format, settings.dateSeparator);
        const auto time =
            scanTime(whole.substr(blank + 1), settings.timeSeparator, settings.decimalSeparator);
        if (date && time)
            return *date + *time;
    }
    return readDate(text, format);
}

double readNumber(std::string_view text) {
    const char decimal = formatSettings().decimalSeparator;
    std::string local(text);
    const size_t dot = local.find('.');
    if (dot != std::string::npos)
        local[dot] = decimal;
    return parseDecimal(local, decimal).value_or(0.0);
}

} // namespace

std::optional<double> parseDecimal(std::string_view text, char decimal) {
    text = text::trimBlanks(text);
    std::string normal;
    normal.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == decimal)
            normal += '.';
        else if (c == '+' && (i == 0 || text[i - 1] == 'e' || text[i - 1] == 'E'))
            continue;
        else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == 'e' || c == 'E')
            normal += c;
        else
            return std::nullopt;
    }
    double value = 0;
    const char* end = normal.data() + normal.size();
    const auto [stop, error] = std::from_chars(normal.data(), end, value);
    if (error != std::errc() || stop != end || normal.empty())
        return std::nullopt;
    return value;
}

AnsiString formatFloat(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    const size_t exponent = text.find('E');
    if (exponent != std::string::npos) {
        // "1E+20" -> "1E20", "1E-05" -> "1E-5".
        std::string mantissa = text.substr(0, exponent);
        const int power = std::atoi(text.c_str() + exponent + 1);
        text = mantissa + "E" + std::to_string(power);
    }
    const size_t dot = text.find('.');
    if (dot != std::string::npos)
        text[dot] = formatSettings().decimalSeparator;
    return text;
}

std::optional<bool> parseBoolean(std::string_view text) {
    if (const auto number = parseDecimal(text, formatSettings().decimalSeparator))
        return *number != 0;
    const std::string_view word = text::trimBlanks(text);
    if (text::equalsNoCase(word, "true"))
        return true;
    if (text::equalsNoCase(word, "false"))
        return false;
    return std::nullopt;
}

std::optional<double> numberIn(const FieldValue& value, bool booleans) {
    if (const auto* number = std::get_if<double>(&value))
        return *number;
    if (const auto* integer = std::get_if<std::int32_t>(&value))
        return *integer;
    if (const auto* flag = std::get_if<bool>(&value); flag && booleans)
        return *flag ? 1 : 0;
    return std::nullopt;
}

FieldValue emptyValue(TFieldType type) {
    switch (type) {
    case ftWideString:
        return std::u16string();
    case ftInteger:
        return std::int32_t{0};
    case ftBoolean:
        return false;
    case ftFloat:
    case ftCurrency:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
        return 0.0;
    case ftDate:
        return *encodeDate(1900, 1, 1);
    default:
        return std::string();
    }
}

FieldValue valueFromText(TFieldType type, std::string_view text, const DateReading& reading) {
    switch (type) {
    case ftInteger:
        return parseInteger(text).value_or(0);
    case ftBoolean: {
        if (text.empty())
            return false;
        const auto value = parseBoolean(text);
        if (!value)
            throw EConvertError::notValid(text, "boolean value");
        return *value;
    }
    case ftFloat:
        return readNumber(text);
    case ftCurrency:
        return std::round(readNumber(text) * 10000.0) / 10000.0;
    case ftDate:
        if (reading.sqliteDateFormat) {
            if (text::trimBlanks(text).empty())
                return *encodeDate(1900, 1, 1);
            return readDate(text, "yyyy-mm-dd");
        }
        return readDate(text, reading.tableDateFormat.empty() ? formatSettings().shortDateFormat
                                                              : reading.tableDateFormat);
    case ftTime:
        return readSqliteTime(text);
    case ftDateTime:
    case ftTimeStamp:
        if (reading.sqliteDateFormat)
            return readSqliteDateTime(text);
        return readLocaleDateTime(text, formatSettings().shortDateFormat);
    default:
        return std::string(text);
    }
}

AnsiString valueToText(TFieldType type, const FieldValue& value) {
    const FormatSettings& settings = formatSettings();
    if (const auto* bytes = std::get_if<std::string>(&value))
        return *bytes;
    if (const auto* wide = std::get_if<std::u16string>(&value))
        return text::utf16ToAnsi(*wide);
    if (const auto* integer = std::get_if<std::int32_t>(&value))
        return std::to_string(*integer);
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? "True" : "False";
    const auto* number = std::get_if<double>(&value);
    if (number == nullptr)
        return {};
    switch (type) {
    case ftDate:
        return formatDateTime(settings.shortDateFormat, *number);
    case ftTime:
        return formatDateTime(settings.longTimeFormat, *number);
    case ftDateTime:
    case ftTimeStamp: {
        AnsiString text = formatDateTime(settings.shortDateFormat, *number);
        if (*number != std::trunc(*number))
            text += " " + formatDateTime(settings.longTimeFormat, *number);
        return text;
    }
    default:
        return formatFloat(*number);
    }
}

} // namespace zorvia::data
