#pragma once

#include "text/ansi.h"

#include <cstddef>
#include <string_view>

namespace zorvia::text {

// Code page 936 byte classes. A lead byte (0x81..0xFE) starts a double-byte
// character; a trail byte (0x40..0xFE except 0x7F) may follow it.
constexpr bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
constexpr bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

enum class ByteType { Single, Lead, Trail };

// The role of the byte at `index` when `text` is read from its start.
ByteType byteTypeAt(std::string_view text, size_t index);

// Index of the last occurrence of `delimiter` that is a character of its own
// (never the second byte of a double-byte character), or npos.
size_t lastDelimiter(std::string_view text, char delimiter);

// The text after the last `delimiter`, or the whole text when there is none.
AnsiString splitstring(std::string_view text, char delimiter);

} // namespace zorvia::text
