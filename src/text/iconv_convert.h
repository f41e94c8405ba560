#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zorvia::text::detail {

// Gb18030 is the superset of code page 936 that writes all of Unicode.
enum class Encoding { Ansi, Utf8, Utf16, Gb18030 };

// A conversion's own reading of input that iconv does not take (invalid,
// not representable in the target, or cut off by the end of the input):
// `rest` starts at that input; appends the reading to `out` and returns how
// many bytes of `rest` it took (at least one). It may convert text itself,
// though not between the same two encodings.
using BadInput = std::function<std::size_t(std::string_view rest, std::string& out)>;

// Converts `in` from one encoding to another through iconv, writing "?" (in
// the target encoding) for every character the target cannot represent and
// for every input sequence that is not valid in the source. UTF-16 is
// little-endian bytes. One converter per direction and thread, opened on
// first use.
std::string iconvConvert(Encoding to, Encoding from, std::string_view in);
// The same with `onBad` reading what iconv does not take.
std::string iconvConvert(Encoding to, Encoding from, std::string_view in, const BadInput& onBad);

} // namespace zorvia::text::detail
