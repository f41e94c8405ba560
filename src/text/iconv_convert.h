#pragma once

#include <string>
#include <string_view>

namespace zorvia::text::detail {

enum class Encoding { Ansi, Utf8, Utf16 };

// Converts `in` from one encoding to another through iconv, writing "?" (in
// the target encoding) for every character the target cannot represent and
// for every input sequence that is not valid in the source. UTF-16 is
// little-endian bytes. One converter per direction and thread, opened on
// first use.
std::string iconvConvert(Encoding to, Encoding from, std::string_view in);

} // namespace zorvia::text::detail
