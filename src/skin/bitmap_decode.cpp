#include "skin/bitmap_decode.h"

#include <algorithm>
#include <bit>

namespace zorvia::skin {

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;

class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    std::uint32_t u32(std::size_t at) const {
        return bytes_[at] | (bytes_[at + 1] << 8) | (bytes_[at + 2] << 16) |
               (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }
    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::uint8_t u8(std::size_t at) const { return bytes_[at]; }

private:
    std::span<const std::uint8_t> bytes_;
};

// One channel of a bit-field pixel, scaled to 8 bits.
struct Field {
    int shift = 0;
    int bits = 0;
    std::uint32_t mask = 0;

    static Field of(std::uint32_t mask) {
        Field f;
        f.mask = mask;
        if (mask != 0) {
            f.shift = std::countr_zero(mask);
            f.bits = std::popcount(mask >> f.shift);
        }
        return f;
    }
    std::uint32_t take(std::uint32_t pixel) const {
        if (bits == 0)
            return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        // Replicate the top bits so that full scale maps to 255.
        const std::uint32_t max = (1u << bits) - 1;
        return (v * 255 + max / 2) / max;
    }
};

} // namespace

std::optional<RawBitmap> decodeBitmap(std::span<const std::uint8_t> file) {
    const Cursor in(file);
    if (!in.has(0, 18) || in.u8(0) != 'B' || in.u8(1) != 'M')
        return std::nullopt;
    const std::uint32_t dataOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);
    const std::size_t headerAt = 14;
    if (!in.has(headerAt, headerSize))
        return std::nullopt;

    std::int64_t width = 0;
    std::int64_t height = 0;
    int bpp = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t coloursUsed = 0;
    int paletteEntrySize = 4;
    std::size_t afterHeader = headerAt + headerSize;
    std::uint32_t masks[3] = {0, 0, 0};

    if (headerSize == 12) {
        width = in.u16(headerAt + 4);
        height = static_cast<std::int16_t>(in.u16(headerAt + 6));
        bpp = in.u16(headerAt + 10);
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = static_cast<std::int32_t>(in.u32(headerAt + 4));
        height = static_cast<std::int32_t>(in.u32(headerAt + 8));
        bpp = in.u16(headerAt + 14);
        compression = in.u32(headerAt + 16);
        coloursUsed = in.u32(headerAt + 32);
        if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
            std::size_t maskAt = headerAt + 40;
            if (headerSize == 40) {
                if (!in.has(afterHeader, 12))
                    return std::nullopt;
                maskAt = afterHeader;
                afterHeader += compression == BI_ALPHABITFIELDS ? 16 : 12;
            } else if (headerSize < 52) {
                return std::nullopt;
            }
            for (int i = 0; i < 3; ++i)
                masks[i] = in.u32(maskAt + 4 * static_cast<std::size_t>(i));
        }
    } else {
        return std::nullopt;
    }

    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width * height > MaxBitmapPixels)
        return std::nullopt;

    const bool paletted = bpp == 1 || bpp == 4 || bpp == 8;
    const bool bitFields = compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
    if (!(paletted || bpp == 16 || bpp == 24 || bpp == 32))
        return std::nullopt;
    if (compression != BI_RGB && !(bitFields && (bpp == 16 || bpp == 32)))
        return std::nullopt;
    if (!bitFields) {
        if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000;
            masks[1] = 0x00FF00;
            masks[2] = 0x0000FF;
        }
    }

    std::vector<std::uint32_t> palette;
    if (paletted) {
        const std::uint32_t maxEntries = 1u << bpp;
        std::uint32_t entries =
            coloursUsed == 0 || coloursUsed > maxEntries ? maxEntries : coloursUsed;
        // A palette cut short by the pixel data keeps the entries before it.
        if (dataOffset > afterHeader)
            entries = std::min<std::uint32_t>(
                entries, static_cast<std::uint32_t>((dataOffset - afterHeader) / paletteEntrySize));
        if (!in.has(afterHeader, static_cast<std::size_t>(entries) * paletteEntrySize))
            return std::nullopt;
        palette.reserve(entries);
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::size_t at = afterHeader + i * static_cast<std::size_t>(paletteEntrySize);
            palette.push_back(0xFF000000u | (in.u8(at + 2) << 16) | (in.u8(at + 1) << 8) |
                              in.u8(at));
        }
    }

    const std::size_t stride = static_cast<std::size_t>((width * bpp + 31) / 32) * 4;
    const std::size_t pixelAt =
        dataOffset != 0 ? dataOffset : afterHeader + palette.size() * paletteEntrySize;
    if (!in.has(pixelAt, stride * static_cast<std::size_t>(height)))
        return std::nullopt;

    const Field red = Field::of(masks[0]);
    const Field green = Field::of(masks[1]);
    const Field blue = Field::of(masks[2]);

    RawBitmap out;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.resize(static_cast<std::size_t>(width * height));
    for (int y = 0; y < out.height; ++y) {
        const int fileRow = topDown ? y : out.height - 1 - y;
        const std::size_t row = pixelAt + static_cast<std::size_t>(fileRow) * stride;
        std::uint32_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * out.width;
        for (int x = 0; x < out.width; ++x) {
            std::uint32_t argb;
            if (paletted) {
                const std::size_t bit = static_cast<std::size_t>(x) * bpp;
                const std::uint8_t byte = in.u8(row + bit / 8);
                const int shift = 8 - bpp - static_cast<int>(bit % 8);
                const std::uint32_t index = (byte >> shift) & ((1u << bpp) - 1);
                argb = index < palette.size() ? palette[index] : 0xFF000000u;
            } else {
                const std::size_t at = row + static_cast<std::size_t>(x) * (bpp / 8);
                std::uint32_t v;
                if (bpp == 16)
                    v = in.u16(at);
                else if (bpp == 24)
                    v = in.u8(at) | (in.u8(at + 1) << 8) | (in.u8(at + 2) << 16);
                else
                    v = in.u32(at);
                argb = 0xFF000000u | (red.take(v) << 16) | (green.take(v) << 8) | blue.take(v);
            }
            dst[x] = argb;
        }
    }
    return out;
}

} // namespace zorvia::skin
