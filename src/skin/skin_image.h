#pragma once

#include "text/ansi.h"

#include <QImage>

#include <cstdint>
#include <span>
#include <string_view>

namespace zorvia {
class TSkinReader;
}

namespace zorvia::skin {

// A Windows bitmap file as an RGB32 image; a null image when the file is
// damaged, truncated or of a kind not supported.
QImage readBitmap(std::span<const std::uint8_t> file);

// The container entry an image key names: the file-name part of `value` (any
// folder dropped), which must end in exactly ".bmp"; empty otherwise.
AnsiString imageEntryName(std::string_view value);

// The bitmap an image key names, or a null image (no such entry, wrong
// extension, damaged bitmap).
QImage readSkinImage(const TSkinReader& reader, std::string_view value);

} // namespace zorvia::skin
