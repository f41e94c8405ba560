#pragma once

#include "text/ansi.h"

#include <optional>
#include <string>
#include <string_view>

namespace zorvia::text {

// Conversions between code page 936, UTF-8 and UTF-16. A character that the
// target cannot represent, or an input byte sequence that is not valid in the
// source encoding, becomes "?".
std::string ansiToUtf8(std::string_view ansi);
AnsiString utf8ToAnsi(std::string_view utf8);
std::u16string ansiToUtf16(std::string_view ansi);
AnsiString utf16ToAnsi(std::u16string_view utf16);
std::string utf16ToUtf8(std::u16string_view utf16);
std::u16string utf8ToUtf16(std::string_view utf8);

// Strict UTF-8 decoding: no value when the input is not well-formed UTF-8
// (bad lead or continuation bytes, overlong forms, surrogates, a cut-off
// sequence at the end).
std::optional<std::u16string> decodeUtf8Strict(std::string_view utf8);

} // namespace zorvia::text
