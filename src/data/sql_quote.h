#pragma once

#include "text/ansi.h"

#include <string_view>

namespace zorvia::data {

// `value` as an SQL string literal: between single quotes, each quote inside
// doubled, so that any text (titles, file names, help texts) is stored and
// matched exactly. In code page 936 a quote byte is never part of a
// double-byte character, so the text is taken byte by byte.
AnsiString quotedSqlText(std::string_view value);

} // namespace zorvia::data
