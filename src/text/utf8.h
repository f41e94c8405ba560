#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvia::text::detail {

inline constexpr char32_t kMalformed = 0xFFFFFFFF;

// The code point of the well-formed UTF-8 sequence at `pos`, with `pos`
// moved past it; kMalformed, with `pos` unchanged, for a bad lead or
// continuation byte, an overlong form, a surrogate, a code point above
// U+10FFFF or a sequence cut off by the end of the text.
inline char32_t nextUtf8(std::string_view text, size_t& pos) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(pos);
    if (c < 0x80) {
        ++pos;
        return c;
    }
    size_t length;
    char32_t cp;
    char32_t min;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return kMalformed;
    }
    if (pos + length > text.size())
        return kMalformed;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char t = byte(pos + k);
        if ((t & 0xC0) != 0x80)
            return kMalformed;
        cp = cp << 6 | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kMalformed;
    pos += length;
    return cp;
}

// Writes the UTF-8 form of a code point (at most U+10FFFF, no surrogate) at
// `to`; the end of what it wrote.
inline char* putUtf8(char* to, char32_t cp) {
    if (cp < 0x80) {
        *to++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *to++ = static_cast<char>(0xC0 | cp >> 6);
        *to++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *to++ = static_cast<char>(0xE0 | cp >> 12);
        *to++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        *to++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *to++ = static_cast<char>(0xF0 | cp >> 18);
        *to++ = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        *to++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        *to++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return to;
}

inline void appendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, putUtf8(bytes, cp));
}

// Appends the UTF-16 form of a code point (at most U+10FFFF, no surrogate).
inline void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

} // namespace zorvia::text::detail
