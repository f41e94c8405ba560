#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zorvia::skin {

// The game box's own skin, packed at build time from assets/skin and compiled
// into the program: the stored form (container size, then the packed stream).
std::span<const std::uint8_t> storedSkin();

// The same skin as a SkinStream property value (length, then stored skin),
// ready for TSkinData::ReadSkinStream.
std::vector<std::uint8_t> storedSkinStream();

} // namespace zorvia::skin
