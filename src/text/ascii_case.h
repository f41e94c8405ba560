#pragma once

#include "text/ansi.h"
#include "text/dbcs.h"

#include <algorithm>
#include <string_view>

namespace zorvia::text {

constexpr char toLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char toUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equality of two texts without regard to the case of ASCII letters.
constexpr bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return toLowerAscii(x) == toLowerAscii(y); });
}

// The text with every ASCII letter in lower (upper) case; other bytes stay.
inline std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return toLowerAscii(c); });
    return out;
}
inline std::string toUpperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return toUpperAscii(c); });
    return out;
}

// Code page 936 text with its ASCII letters in lower case; both bytes of a
// double-byte character stay, even when the second looks like a letter.
inline AnsiString toLowerAnsi(std::string_view text) {
    AnsiString out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size())
            ++i;
        else
            out[i] = toLowerAscii(out[i]);
    }
    return out;
}

// Whether toLowerAnsi(a) == toLowerAnsi(b), without building either.
constexpr bool equalsNoCaseAnsi(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    bool trailA = false;
    bool trailB = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = trailA ? a[i] : toLowerAscii(a[i]);
        const char y = trailB ? b[i] : toLowerAscii(b[i]);
        if (x != y)
            return false;
        trailA = !trailA && isLeadByte(static_cast<unsigned char>(a[i]));
        trailB = !trailB && isLeadByte(static_cast<unsigned char>(b[i]));
    }
    return true;
}

} // namespace zorvia::text
