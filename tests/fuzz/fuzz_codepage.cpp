// Fuzz target: the code page 936 conversions. The quick character-by-
// character paths give what iconv gives for the whole text, and a text
// whose conversion replaced nothing converts back to itself.
#include "fuzz_check.h"
#include "text/codepage.h"
#include "text/iconv_convert.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using zorvia::fuzz::check;
using zorvia::text::detail::Encoding;
using zorvia::text::detail::iconvConvert;
namespace text = zorvia::text;

namespace {

std::string_view bytesOf(const std::u16string& s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * 2};
}

std::size_t marks(std::string_view s) {
    return std::size_t(std::count(s.begin(), s.end(), '?'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);

    // The input as code page 936 text.
    const std::string utf8 = text::ansiToUtf8(in);
    check(utf8 == iconvConvert(Encoding::Utf8, Encoding::Ansi, in), "code page 936 to UTF-8");
    const std::u16string utf16 = text::ansiToUtf16(in);
    check(bytesOf(utf16) == iconvConvert(Encoding::Utf16, Encoding::Ansi, in),
          "code page 936 to UTF-16");
    if (marks(utf8) == marks(in)) {
        check(text::utf8ToAnsi(utf8) == in, "code page 936 round trip through UTF-8");
        check(text::utf16ToAnsi(utf16) == in, "code page 936 round trip through UTF-16");
    }

    // The input as UTF-8 text.
    const zorvia::AnsiString ansi = text::utf8ToAnsi(in);
    check(ansi == iconvConvert(Encoding::Ansi, Encoding::Utf8, in), "UTF-8 to code page 936");
    if (marks(ansi) == marks(in))
        check(text::ansiToUtf8(ansi) == in, "UTF-8 round trip through code page 936");

    // The input as UTF-16 text.
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(data[2 * i] | data[2 * i + 1] << 8);
    check(text::utf16ToAnsi(units) == iconvConvert(Encoding::Ansi, Encoding::Utf16, bytesOf(units)),
          "UTF-16 to code page 936");
    return 0;
}
