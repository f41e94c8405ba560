#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zorvia::skin {

// A decoded bitmap: top row first, pixels as 0xFFRRGGBB (any alpha in the
// file is ignored, as the window system's bitmap copies ignore it).
struct RawBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Largest bitmap accepted, in pixels; larger ones count as damaged.
inline constexpr std::int64_t MaxBitmapPixels = 16 * 1024 * 1024;

// Reads a Windows bitmap file (file header, then a core, info, V4 or V5
// header): 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with bit
// fields, bottom-up or top-down. No value for anything damaged, truncated or
// not supported.
std::optional<RawBitmap> decodeBitmap(std::span<const std::uint8_t> file);

} // namespace zorvia::skin
