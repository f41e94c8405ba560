// Fuzz target: the conversion of a reply body to text. Well-formed UTF-8
// reads as the strict decoder reads it; the lenient reading only adds what
// the portal has always sent.
#include "fuzz_check.h"
#include "portal/reply_text.h"
#include "text/codepage.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using zorvia::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const zorvia::AnsiString text = zorvia::portal::replyText(body);
    if (const auto wide = zorvia::text::decodeUtf8Strict(body))
        check(text == zorvia::text::utf16ToAnsi(*wide), "well-formed UTF-8 reads as strict UTF-8");
    // Text in the code page comes back from its UTF-8 form.
    const zorvia::AnsiString ansi = zorvia::text::utf8ToAnsi(zorvia::text::ansiToUtf8(body));
    check(zorvia::portal::replyText(zorvia::text::ansiToUtf8(ansi)) == ansi,
          "a reply in UTF-8 of code page text reads back as that text");
    return 0;
}
