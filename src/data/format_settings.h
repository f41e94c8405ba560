#pragma once

#include <string>

namespace zorvia::data {

// The process-wide number and date conventions used when field values are
// read from and shown as text. Format letters: yyyy/yy year, mm/m month,
// dd/d day, hh/h hour, nn/n minute, ss/s second, zzz milliseconds; "/" and
// ":" stand for the date and time separators; anything else is literal.
struct FormatSettings {
    char decimalSeparator = '.';
    char dateSeparator = '-';
    char timeSeparator = ':';
    std::string shortDateFormat = "yyyy-mm-dd";
    std::string longTimeFormat = "hh:nn:ss";
};

// The settings in force. Only the GUI thread reads and changes them.
FormatSettings& formatSettings();

} // namespace zorvia::data
