#include "portal/reply_text.h"

#include "text/codepage.h"

namespace zorvia::portal {

namespace {

// Lead bytes with the high bit set start a sequence of two bytes, three when
// bit 0x20 is set too, four when bit 0x10 is set as well; every following
// byte lies in 0x80..0xBF. Values are taken as they come (no check of
// overlong forms), as the portal's own replies have always been read.
bool decodeLenient(std::string_view in, std::u16string& out) {
    size_t i = 0;
    while (i < in.size()) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        const size_t len = (c & 0x20) == 0 ? 2 : (c & 0x10) == 0 ? 3 : 4;
        if (i + len > in.size())
            return false;
        char32_t cp = len == 2 ? (c & 0x3F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < len; ++k) {
            const auto t = static_cast<unsigned char>(in[i + k]);
            if (t < 0x80 || t > 0xBF)
                return false;
            cp = cp << 6 | (t & 0x3F);
        }
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else if (cp > 0x10FFFF) {
            out.push_back(u'?');
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return true;
}

} // namespace

AnsiString replyText(std::string_view body) {
    std::u16string wide;
    wide.reserve(body.size());
    if (!decodeLenient(body, wide))
        return {};
    return text::utf16ToAnsi(wide);
}

} // namespace zorvia::portal
