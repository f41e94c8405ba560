#include "skin/skin_image.h"

#include "skin/bitmap_decode.h"
#include "skin/skin_reader.h"
#include "text/dbcs.h"

namespace zorvia::skin {

QImage readBitmap(std::span<const std::uint8_t> file) {
    const auto raw = decodeBitmap(file);
    if (!raw)
        return {};
    QImage image(raw->width, raw->height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < raw->height; ++y)
        std::copy_n(raw->pixels.data() + static_cast<std::size_t>(y) * raw->width, raw->width,
                    reinterpret_cast<QRgb*>(image.scanLine(y)));
    return image;
}

AnsiString imageEntryName(std::string_view value) {
    // Folders may be written with "\" or "/", and a drive with ":"; the
    // second byte of a double-byte character is never taken for one.
    AnsiString name(value);
    for (const char delimiter : {'\\', '/', ':'})
        name = text::splitstring(name, delimiter);
    constexpr std::string_view extension = ".bmp";
    if (name.size() < extension.size() ||
        std::string_view(name).substr(name.size() - extension.size()) != extension)
        return {};
    return name;
}

QImage readSkinImage(const TSkinReader& reader, std::string_view value) {
    const AnsiString entry = imageEntryName(value);
    if (entry.empty())
        return {};
    TSkinReader::Bytes bytes;
    reader.ExtractEntry(entry, bytes);
    if (bytes.empty())
        return {};
    return readBitmap(bytes);
}

} // namespace zorvia::skin
