#include "data/date_time.h"
#include "data/errors.h"
#include "data/field_value.h"
#include "data/format_settings.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace zorvia::data {
namespace {

using enum TFieldType;

double dateOf(int y, int m, int d) {
    return *encodeDate(y, m, d);
}
double timeOf(int h, int n, int s, int ms) {
    return *encodeTime(h, n, s, ms);
}

TEST(ValueRules, TextsBecomeTypedValues) {
    const DateReading sqlite{true, ""};
    struct Case {
        TFieldType type;
        const char* text;
        FieldValue value;
    };
    const Case cases[] = {
        {ftInteger, "42", std::int32_t{42}},
        {ftInteger, " -7", std::int32_t{-7}},
        {ftInteger, "12abc", std::int32_t{0}},
        {ftInteger, "3.5", std::int32_t{0}},
        {ftInteger, "99999999999", std::int32_t{0}},
        {ftBoolean, "", false},
        {ftBoolean, "TRUE", true},
        {ftBoolean, "false", false},
        {ftBoolean, "1", true},
        {ftBoolean, "0", false},
        {ftFloat, "3.25", 3.25},
        {ftFloat, "-1e3", -1000.0},
        {ftFloat, "abc", 0.0},
        {ftCurrency, "1.23456", 1.2346},
        {ftDate, "2024-02-29", dateOf(2024, 2, 29)},
        {ftDate, "  ", dateOf(1900, 1, 1)},
        {ftDate, "31-12-2023", dateOf(2023, 12, 31)},
        {ftTime, "2024-01-02 13:45:10.250", timeOf(13, 45, 10, 0)},
        {ftTime, "08:30", timeOf(8, 30, 0, 0)},
        {ftTime, "noon", 0.0},
        {ftDateTime, "2024-01-02 13:45:10.250", dateOf(2024, 1, 2) + timeOf(13, 45, 10, 250)},
        {ftDateTime, "2024-01-02", dateOf(2024, 1, 2)},
        {ftDateTime, "2024-01-02 13:45", dateOf(2024, 1, 2) + timeOf(13, 45, 0, 0)},
        {ftDateTime, "2024-13-02 13:45", 0.0},
        {ftDateTime, "2024-01-02 13:4x", 0.0},
        {ftTimeStamp, "short", 0.0},
    };
    for (const Case& c : cases) {
        const FieldValue value = valueFromText(c.type, c.text, sqlite);
        if (const auto* expected = std::get_if<double>(&c.value)) {
            ASSERT_TRUE(std::holds_alternative<double>(value)) << c.text;
            EXPECT_NEAR(std::get<double>(value), *expected, 1e-9) << c.text;
        } else {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(ValueRules, UnreadableBooleansAndDatesRaiseConversionErrors) {
    const DateReading sqlite{true, ""};
    struct Case {
        TFieldType type;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {ftBoolean, "yes", "'yes' is not a valid boolean value"},
        {ftDate, "2024-02-30", "'2024-02-30' is not a valid date"},
        {ftDate, "2024-01-02 10:00:00", "'2024-01-02 10:00:00' is not a valid date"},
    };
    for (const Case& c : cases) {
        try {
            valueFromText(c.type, c.text, sqlite);
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(ValueRules, TableDateFormatDecidesTheOrderWhenSqliteFormsAreOff) {
    EXPECT_EQ(std::get<double>(valueFromText(ftDate, "03-04-2024", {false, "mm-dd-yyyy"})),
              dateOf(2024, 3, 4));
    EXPECT_EQ(std::get<double>(valueFromText(ftDate, "2024-03-04", {false, ""})),
              dateOf(2024, 3, 4));
}

TEST(ValueRules, ValuesAreShownInTheFormatSettings) {
    struct Case {
        TFieldType type;
        FieldValue value;
        const char* text;
    };
    const Case cases[] = {
        {ftInteger, std::int32_t{-12}, "-12"},
        {ftBoolean, true, "True"},
        {ftFloat, 0.1, "0.1"},
        {ftFloat, 1e20, "1E20"},
        {ftFloat, 0.00001, "1E-5"},
        {ftFloat, 123456.789, "123456.789"},
        {ftCurrency, 2.5, "2.5"},
        {ftDate, dateOf(2024, 1, 5), "2024-01-05"},
        {ftTime, timeOf(7, 8, 9, 0), "07:08:09"},
        {ftDateTime, dateOf(2024, 1, 5), "2024-01-05"},
        {ftDateTime, dateOf(2024, 1, 5) + timeOf(23, 59, 58, 0), "2024-01-05 23:59:58"},
        {ftDate, dateOf(1850, 6, 1), "1850-06-01"},
        {ftWideString, std::u16string(u"\u6E38\u620F"), "\xD3\xCE\xCF\xB7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(valueToText(c.type, c.value), c.text);
}

TEST(ValueRules, DecimalSeparatorOfTheSettingsIsUsedBothWays) {
    FormatSettings& settings = formatSettings();
    const FormatSettings saved = settings;
    settings.decimalSeparator = ',';
    EXPECT_EQ(std::get<double>(valueFromText(ftFloat, "2.75", {})), 2.75);
    EXPECT_EQ(valueToText(ftFloat, 2.75), "2,75");
    settings = saved;
}

// The day count starts at 1899-12-30 and runs through leap days both ways.
TEST(ValueRules, DayCountAgainstKnownDates) {
    struct Case {
        int y, m, d;
        double days;
    };
    const Case cases[] = {{1899, 12, 30, 0},      {1900, 1, 1, 2},      {1899, 12, 29, -1},
                          {2023, 3, 15, 45000},   {2000, 2, 29, 36585}, {1, 1, 1, -693593},
                          {9999, 12, 31, 2958465}};
    for (const auto& c : cases) {
        EXPECT_EQ(encodeDate(c.y, c.m, c.d), std::optional<double>(c.days)) << c.y << '-' << c.m;
        const DateParts back = decodeDate(c.days);
        EXPECT_EQ(std::tie(back.year, back.month, back.day), std::tie(c.y, c.m, c.d)) << c.days;
    }
    const std::tuple<int, int, int> invalid[] = {
        {2023, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2024, 269, 1}};
    for (const auto& [y, m, d] : invalid)
        EXPECT_FALSE(encodeDate(y, m, d)) << y << '-' << m << '-' << d;
}

} // namespace
} // namespace zorvia::data
