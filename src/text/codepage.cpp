#include "text/codepage.h"

#include "text/cp936_map.h"
#include "text/dbcs.h"
#include "text/iconv_convert.h"
#include "text/utf8.h"

#include <cstdint>
#include <cstring>

namespace zorvia::text {
namespace {

using detail::Encoding;

// Index of the first byte at or after `from` that is not ASCII.
size_t endOfAscii(std::string_view text, size_t from = 0) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    size_t i = from;
    for (std::uint64_t word; i + sizeof word <= text.size(); i += sizeof word) {
        std::memcpy(&word, text.data() + i, sizeof word);
        if ((word & kHighBits) != 0)
            break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i;
}

// The fast paths below convert character by character and give up (false)
// on anything whose conversion depends on how iconv treats bad input; the
// caller then converts the whole text through iconv. Code page 936 and the
// UTF forms carry no state, so converting character by character gives what
// iconv gives for the whole text.

// Hands each run of ASCII bytes to `ascii` and every other character, as a
// code point, to `other`.
template <typename Ascii, typename Other>
bool eachAnsiCharacter(std::string_view ansi, Ascii&& ascii, Other&& other) {
    size_t i = 0;
    while (i < ansi.size()) {
        const size_t run = endOfAscii(ansi, i);
        ascii(ansi.substr(i, run - i));
        if ((i = run) == ansi.size())
            break;
        const auto lead = static_cast<unsigned char>(ansi[i]);
        if (!isLeadByte(lead) || i + 1 == ansi.size())
            return false;
        const auto trail = static_cast<unsigned char>(ansi[i + 1]);
        if (!isTrailByte(trail))
            return false;
        const char32_t codePoint = detail::codePointOf(lead, trail);
        if (codePoint == detail::kNoCodePoint)
            return false;
        other(codePoint);
        i += 2;
    }
    return true;
}

// Writes the code page 936 bytes of a non-ASCII code point at `to`; false
// when iconv has to convert it in its text.
inline bool putAnsi(char*& to, char32_t codePoint) {
    const std::uint16_t code = detail::ansiCodeOf(codePoint);
    if (code == detail::kNoAnsiCode)
        return false;
    if (code > 0xFF)
        *to++ = static_cast<char>(code >> 8);
    *to++ = static_cast<char>(code & 0xFF);
    return true;
}

// nextUtf8 for a character that is not ASCII, quicker for the three-byte
// form of most Chinese characters: after a lead byte of E1 to EC or EE to EF
// any two continuation bytes make a well-formed character (no overlong form,
// no surrogate).
inline char32_t nextNonAscii(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead >= 0xE1 && lead <= 0xEF && lead != 0xED && pos + 2 < text.size()) {
        const auto second = static_cast<unsigned char>(text[pos + 1]);
        const auto third = static_cast<unsigned char>(text[pos + 2]);
        if ((second & 0xC0) == 0x80 && (third & 0xC0) == 0x80) {
            pos += 3;
            return static_cast<char32_t>((lead & 0x0F) << 12 | (second & 0x3F) << 6 |
                                         (third & 0x3F));
        }
    }
    return detail::nextUtf8(text, pos);
}

std::string_view bytesOf(std::u16string_view s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * 2};
}

std::u16string unitsOf(const std::string& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return out;
}

} // namespace

std::string ansiToUtf8(std::string_view ansi) {
    if (endOfAscii(ansi) == ansi.size())
        return std::string(ansi);
    // A double-byte character becomes at most four UTF-8 bytes.
    std::string out(ansi.size() * 2, '\0');
    char* to = out.data();
    const bool converted = eachAnsiCharacter(
        ansi,
        [&](std::string_view run) {
            std::memcpy(to, run.data(), run.size());
            to += run.size();
        },
        [&](char32_t cp) { to = detail::putUtf8(to, cp); });
    if (!converted)
        return detail::iconvConvert(Encoding::Utf8, Encoding::Ansi, ansi);
    out.resize(to - out.data());
    return out;
}

AnsiString utf8ToAnsi(std::string_view utf8) {
    size_t i = endOfAscii(utf8);
    if (i == utf8.size())
        return AnsiString(utf8);
    // No character takes more bytes in code page 936 than in UTF-8. A short
    // text is converted on the stack and copied out once; a long one in the
    // string it is returned in.
    char local[256];
    AnsiString out;
    char* begin = local;
    if (utf8.size() > sizeof local) {
        out.resize(utf8.size());
        begin = out.data();
    }
    std::memcpy(begin, utf8.data(), i);
    char* to = begin + i;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            const size_t run = endOfAscii(utf8, i);
            std::memcpy(to, utf8.data() + i, run - i);
            to += run - i;
            i = run;
            continue;
        }
        const char32_t codePoint = nextNonAscii(utf8, i);
        if (codePoint == detail::kMalformed || !putAnsi(to, codePoint))
            return detail::iconvConvert(Encoding::Ansi, Encoding::Utf8, utf8);
    }
    if (begin == local)
        return AnsiString(local, to);
    out.resize(to - begin);
    return out;
}

std::u16string ansiToUtf16(std::string_view ansi) {
    std::u16string out;
    out.reserve(ansi.size());
    const bool converted = eachAnsiCharacter(
        ansi, [&](std::string_view run) { out.append(run.begin(), run.end()); },
        [&](char32_t cp) { detail::appendUtf16(out, cp); });
    if (!converted)
        return unitsOf(detail::iconvConvert(Encoding::Utf16, Encoding::Ansi, ansi));
    return out;
}

AnsiString utf16ToAnsi(std::u16string_view utf16) {
    // A surrogate pair stands for one character of at most two bytes.
    AnsiString out(utf16.size() * 2, '\0');
    char* to = out.data();
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t codePoint = utf16[i];
        if (codePoint < 0x80) {
            *to++ = static_cast<char>(codePoint);
            continue;
        }
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            const bool pair = codePoint <= 0xDBFF && i + 1 < utf16.size() &&
                              utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF;
            if (!pair)
                return detail::iconvConvert(Encoding::Ansi, Encoding::Utf16, bytesOf(utf16));
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        }
        if (!putAnsi(to, codePoint))
            return detail::iconvConvert(Encoding::Ansi, Encoding::Utf16, bytesOf(utf16));
    }
    out.resize(to - out.data());
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    return detail::iconvConvert(Encoding::Utf8, Encoding::Utf16, bytesOf(utf16));
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    return unitsOf(detail::iconvConvert(Encoding::Utf16, Encoding::Utf8, utf8));
}

std::optional<std::u16string> decodeUtf8Strict(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t codePoint = detail::nextUtf8(utf8, i);
        if (codePoint == detail::kMalformed)
            return std::nullopt;
        detail::appendUtf16(out, codePoint);
    }
    return out;
}

} // namespace zorvia::text
