#include "data/date_time.h"

#include "data/format_settings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace zorvia::data {
namespace {

constexpr double kMsPerDay = 86400000.0;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
long daysFromCivil(long y, long m, long d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateParts civilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp + (mp < 10 ? 3 : -9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long kEpochOffset = daysFromCivil(1899, 12, 30);

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads an unsigned decimal number at `pos`; the digit count goes to `digits`.
std::optional<int> readNumber(std::string_view text, size_t& pos, size_t* digits = nullptr) {
    int value = 0;
    const size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (value > 99999)
            return std::nullopt;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start)
        return std::nullopt;
    if (digits != nullptr)
        *digits = pos - start;
    return value;
}

AnsiString padded(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

} // namespace

std::optional<TDateTime> encodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        return std::nullopt;
    return static_cast<double>(daysFromCivil(year, month, day) - kEpochOffset);
}

std::optional<TDateTime> encodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        return std::nullopt;
    return ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 / kMsPerDay + millisecond / kMsPerDay;
}

DateParts decodeDate(TDateTime value) {
    // The time of day never moves the date, also for days before 1899-12-30.
    const long days = static_cast<long>(std::trunc(value));
    return civilFromDays(days + kEpochOffset);
}

TimeParts decodeTime(TDateTime value) {
    long ms = std::lround(std::fabs(value - std::trunc(value)) * kMsPerDay);
    if (ms >= static_cast<long>(kMsPerDay))
        ms = static_cast<long>(kMsPerDay) - 1;
    TimeParts parts;
    parts.millisecond = static_cast<int>(ms % 1000);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.hour = static_cast<int>(ms / 3600000);
    return parts;
}

AnsiString formatDateTime(std::string_view format, TDateTime value) {
    const FormatSettings& settings = formatSettings();
    const DateParts date = decodeDate(value);
    const TimeParts time = decodeTime(value);
    AnsiString out;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        const char lower = static_cast<char>(c | 0x20);
        size_t run = 1;
        while (i + run < format.size() && (format[i + run] | 0x20) == lower)
            ++run;
        switch (lower) {
        case 'y':
            out += run <= 2 ? padded(date.year % 100, 2) : padded(date.year, 4);
            break;
        case 'm':
            out += padded(date.month, run >= 2 ? 2 : 1);
            break;
        case 'd':
            out += padded(date.day, run >= 2 ? 2 : 1);
            break;
        case 'h':
            out += padded(time.hour, run >= 2 ? 2 : 1);
            break;
        case 'n':
            out += padded(time.minute, run >= 2 ? 2 : 1);
            break;
        case 's':
            out += padded(time.second, run >= 2 ? 2 : 1);
            break;
        case 'z':
            out += padded(time.millisecond, run >= 3 ? 3 : 1);
            break;
        case '/':
            out.append(run, settings.dateSeparator);
            break;
        case ':':
            out.append(run, settings.timeSeparator);
            break;
        case '"':
        case '\'': {
            const size_t end = format.find(c, i + 1);
            const size_t stop = end == std::string_view::npos ? format.size() : end;
            out.append(format.substr(i + 1, stop - i - 1));
            i = stop == format.size() ? stop : stop + 1;
            continue;
        }
        default:
            out.append(format.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}

std::optional<TDateTime> scanDate(std::string_view text, std::string_view format, char separator) {
    // Order of the three numbers from the format's first y, m and d.
    const size_t y = format.find_first_of("yY");
    const size_t m = format.find_first_of("mM");
    const size_t d = format.find_first_of("dD");
    enum { kYear, kMonth, kDay };
    std::array<int, 3> order{kYear, kMonth, kDay};
    if (d != std::string_view::npos && m != std::string_view::npos && d < m)
        order = {kDay, kMonth, kYear};
    else if (m != std::string_view::npos && d != std::string_view::npos &&
             (y == std::string_view::npos || m < y))
        order = {kMonth, kDay, kYear};

    text = trim(text);
    std::array<int, 3> values{};
    size_t yearDigits = 4;
    size_t pos = 0;
    for (size_t part = 0; part < 3; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != separator)
                return std::nullopt;
            ++pos;
        }
        size_t digits = 0;
        const auto number = readNumber(text, pos, &digits);
        if (!number)
            return std::nullopt;
        values[order[part]] = *number;
        if (order[part] == kYear)
            yearDigits = digits;
    }
    if (pos != text.size())
        return std::nullopt;
    int year = values[kYear];
    if (yearDigits <= 2)
        year += year < 50 ? 2000 : 1900;
    return encodeDate(year, values[kMonth], values[kDay]);
}

std::optional<TDateTime> scanTime(std::string_view text, char separator, char decimal) {
    text = trim(text);
    size_t pos = 0;
    std::array<int, 4> values{};
    const auto hour = readNumber(text, pos);
    if (!hour || pos >= text.size() || text[pos] != separator)
        return std::nullopt;
    values[0] = *hour;
    ++pos;
    const auto minute = readNumber(text, pos);
    if (!minute)
        return std::nullopt;
    values[1] = *minute;
    if (pos < text.size() && text[pos] == separator) {
        ++pos;
        const auto second = readNumber(text, pos);
        if (!second)
            return std::nullopt;
        values[2] = *second;
        if (pos < text.size() && text[pos] == decimal) {
            ++pos;
            const auto ms = readNumber(text, pos);
            if (!ms)
                return std::nullopt;
            values[3] = *ms;
        }
    }
    if (pos != text.size())
        return std::nullopt;
    return encodeTime(values[0], values[1], values[2], values[3]);
}

std::optional<int> parseInteger(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace zorvia::data
