#pragma once

#include "text/ansi.h"

#include <string_view>
#include <vector>

namespace zorvia::data {

// A statement text with its parameter markers taken out.
struct ParsedSql {
    AnsiString text;               // ":name" replaced by "?", "::" by ":"
    std::vector<AnsiString> names; // one per "?", in text order
};

// Finds the parameters of a statement text in code page 936: a ":" followed
// by a name (letters, digits, "_" and double-byte characters) becomes "?",
// and "::" becomes ":". Quoted literals ('...', "..."), comments (-- and
// /* */) and double-byte characters are copied unchanged.
ParsedSql parseSqlParams(std::string_view sql);

} // namespace zorvia::data
