// Fuzz target: "splitstring", the text after the last delimiter of a code
// page 936 text. The delimiter found is a character of its own, no later
// one is, and the result is the text behind it.
#include "fuzz_check.h"
#include "text/dbcs.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using zorvia::fuzz::check;
using zorvia::text::ByteType;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 4096)
        return 0;
    const char delimiter = static_cast<char>(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t at = zorvia::text::lastDelimiter(text, delimiter);
    const zorvia::AnsiString tail = zorvia::text::splitstring(text, delimiter);
    for (std::size_t i = at == std::string_view::npos ? 0 : at + 1; i < text.size(); ++i)
        check(text[i] != delimiter || zorvia::text::byteTypeAt(text, i) != ByteType::Single,
              "no delimiter of its own after the one found");
    if (at == std::string_view::npos) {
        check(tail == text, "without a delimiter the whole text");
        return 0;
    }
    check(text[at] == delimiter && zorvia::text::byteTypeAt(text, at) == ByteType::Single,
          "the delimiter found is a character of its own");
    check(tail == text.substr(at + 1), "the text after the delimiter");
    return 0;
}
