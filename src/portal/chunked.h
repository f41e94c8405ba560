#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvia::portal {

// True when the header lines of a reply (status line first) declare the
// chunked transfer coding.
bool isChunked(const std::vector<std::string>& headLines);

// Decodes a body in chunked transfer coding: the chunk data joined, size
// lines, extensions and trailers dropped. A body cut off inside a chunk
// gives what arrived of it; no value when a size line is not a number.
std::optional<std::string> decodeChunked(std::string_view body);

} // namespace zorvia::portal
