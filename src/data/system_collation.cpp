#include "data/system_collation.h"

#include <clocale>
#include <cwchar>
#include <cwctype>
#include <locale.h>
#include <string>

namespace zorvia::data {
namespace {

// The user's locale for collation and case, opened once.
locale_t userLocale() {
    static const locale_t locale = [] {
        for (const char* name : {"", "C.UTF-8"}) {
            if (locale_t opened = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, name, nullptr))
                return opened;
        }
        return newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C", nullptr);
    }();
    return locale;
}

// UTF-8 to code points; a malformed byte becomes U+FFFD and NUL becomes
// U+0001 so that the comparison sees the whole length.
std::wstring decode(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        char32_t point = length == 1 ? c : length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 7;
        bool valid = length > 0 && i + length <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        out += point == 0 ? L'\1' : static_cast<wchar_t>(point);
        i += length;
    }
    return out;
}

int compareRaw(int lengthA, const void* a, int lengthB, const void* b, bool ignoreCase) {
    return compareSystemText(
        std::string_view(static_cast<const char*>(a), lengthA > 0 ? lengthA : 0),
        std::string_view(static_cast<const char*>(b), lengthB > 0 ? lengthB : 0), ignoreCase);
}

} // namespace

int compareSystemText(std::string_view a, std::string_view b, bool ignoreCase) {
    const locale_t locale = userLocale();
    std::wstring left = decode(a);
    std::wstring right = decode(b);
    if (ignoreCase && locale != nullptr) {
        for (wchar_t& c : left)
            c = static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), locale));
        for (wchar_t& c : right)
            c = static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), locale));
    }
    const int result = locale != nullptr ? wcscoll_l(left.c_str(), right.c_str(), locale)
                                         : wcscmp(left.c_str(), right.c_str());
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

int systemCollation(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareRaw(lengthA, a, lengthB, b, false);
}

int systemNoCaseCollation(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareRaw(lengthA, a, lengthB, b, true);
}

} // namespace zorvia::data
