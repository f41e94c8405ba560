#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zorvia::skinpack {

// Packs `data` into an LZHUF bit stream that the engine's decoder turns back
// into exactly `data` when asked for data.size() bytes.
std::vector<std::uint8_t> lzhEncode(std::span<const std::uint8_t> data);

// The stored form of a container: its size as 32-bit little-endian, then the
// packed stream.
std::vector<std::uint8_t> packStore(std::span<const std::uint8_t> container);

} // namespace zorvia::skinpack
