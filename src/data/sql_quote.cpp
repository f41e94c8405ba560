#include "data/sql_quote.h"

namespace zorvia::data {

AnsiString quotedSqlText(std::string_view value) {
    AnsiString quoted;
    quoted.reserve(value.size() + 2);
    quoted += '\'';
    for (const char c : value) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    quoted += '\'';
    return quoted;
}

} // namespace zorvia::data
