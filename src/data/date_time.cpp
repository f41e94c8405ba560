#include "data/date_time.h"

#include "data/format_settings.h"
#include "text/trim.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace zorvia::data {
namespace {

constexpr double kMsPerDay = 86400000.0;

// Day 0 of the day count.
constexpr std::chrono::sys_days kEpoch{std::chrono::year{1899} / 12 / 30};

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
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok())
        return std::nullopt;
    return static_cast<double>((std::chrono::sys_days{date} - kEpoch).count());
}

std::optional<TDateTime> encodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        return std::nullopt;
    return ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 / kMsPerDay + millisecond / kMsPerDay;
}

DateParts decodeDate(TDateTime value) {
    // The time of day never moves the date, also for days before 1899-12-30.
    const std::chrono::days days{static_cast<long>(std::trunc(value))};
    const std::chrono::year_month_day date{kEpoch + days};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
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

    text = text::trimBlanks(text);
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
    text = text::trimBlanks(text);
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
    text = text::trimLeft(text, text::isBlank);
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
