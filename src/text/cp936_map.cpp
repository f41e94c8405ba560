#include "text/cp936_map.h"

#include "text/dbcs.h"
#include "text/iconv_convert.h"
#include "text/utf8.h"

#include <string>

namespace zorvia::text::detail {

std::atomic<std::uint16_t> ansiCodes[kPlaneSize];
std::atomic<char32_t> codePoints[kPairs];

// iconv's answer for one code point.
std::uint16_t askAnsiCode(char32_t codePoint) {
    std::string utf8;
    appendUtf8(utf8, codePoint);
    const std::string ansi = iconvConvert(Encoding::Ansi, Encoding::Utf8, utf8);
    const auto first = ansi.empty() ? 0 : static_cast<unsigned char>(ansi[0]);
    if (ansi.size() == 1 && first != 0)
        return first;
    if (ansi.size() == 2 && isLeadByte(first))
        return static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(ansi[1]));
    return kNoAnsiCode;
}

// iconv's answer for one double-byte code.
char32_t askCodePoint(unsigned char lead, unsigned char trail) {
    const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
    const std::string utf8 = iconvConvert(Encoding::Utf8, Encoding::Ansi, {pair, 2});
    size_t pos = 0;
    const char32_t codePoint = utf8.empty() ? kMalformed : nextUtf8(utf8, pos);
    return codePoint != kMalformed && pos == utf8.size() ? codePoint : kNoCodePoint;
}

} // namespace zorvia::text::detail
