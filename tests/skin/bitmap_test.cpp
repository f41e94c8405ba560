#include "skin/bitmap_decode.h"
#include "skin/skin_image.h"
#include "skin_test_support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

using namespace zorvia;
using namespace zorvia::skintest;

namespace {

QImage pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 60 % 256, (x + y) % 2 ? 255 : 0));
    return image;
}

TEST(Bitmap, ReadsEveryWrittenForm) {
    for (const auto& size : {QSize(1, 1), QSize(3, 2), QSize(5, 4), QSize(17, 3)}) {
        const QImage want = pattern(size.width(), size.height());
        for (const int bpp : {8, 24, 32}) {
            for (const bool topDown : {false, true}) {
                const QImage got = skin::readBitmap(bmpFile(want, bpp, topDown));
                ASSERT_FALSE(got.isNull()) << bpp << topDown;
                EXPECT_EQ(got, want) << size.width() << "x" << size.height() << " " << bpp
                                     << (topDown ? " top-down" : " bottom-up");
            }
        }
    }
}

Bytes header(int w, int h, int bpp, std::uint32_t compression, std::uint32_t headerSize = 40,
             std::uint32_t paletteBytes = 0) {
    Bytes out{'B', 'M'};
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 14 + headerSize + paletteBytes, 4);
    putLe(out, headerSize, 4);
    putLe(out, static_cast<std::uint32_t>(w), 4);
    putLe(out, static_cast<std::uint32_t>(h), 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(bpp), 2);
    putLe(out, compression, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    return out;
}

// `file` with little-endian values appended, each as (value, byte count).
Bytes appended(Bytes file, std::initializer_list<std::pair<std::uint32_t, int>> values) {
    for (const auto& [value, size] : values)
        putLe(file, value, size);
    return file;
}

TEST(Bitmap, OtherDepths) {
    const struct {
        const char* what;
        Bytes file;
        std::vector<QRgb> row;
    } cases[] = {
        // Two palette entries, then the row "10" padded to 4 bytes.
        {"1 bit",
         appended(header(2, 1, 1, 0, 40, 8), {{0x000000, 4}, {0xFFFFFF, 4}, {0x80, 4}}),
         {qRgb(255, 255, 255), qRgb(0, 0, 0)}},
        {"4 bits, indices 1 and 0",
         appended(header(2, 1, 4, 0, 40, 8), {{0x0000FF, 4}, {0x00FF00, 4}, {0x10, 4}}),
         {qRgb(0, 255, 0), qRgb(0, 0, 255)}},
        {"16 bits 5-5-5",
         appended(header(2, 1, 16, 0), {{0x7C00, 2}, {0x7FFF, 2}}),
         {qRgb(255, 0, 0), qRgb(255, 255, 255)}},
        {"16 bits with 5-6-5 bit fields after the info header",
         appended(header(1, 1, 16, 3, 40, 12),
                  {{0xF800, 4}, {0x07E0, 4}, {0x001F, 4}, {0x07E0, 4}}),
         {qRgb(0, 255, 0)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage image = skin::readBitmap(c.file);
        ASSERT_FALSE(image.isNull());
        for (std::size_t x = 0; x < c.row.size(); ++x)
            EXPECT_EQ(image.pixel(int(x), 0), c.row[x]) << x;
    }
}

// Damaged or cut bitmaps give an empty image, never a crash.
TEST(Bitmap, DamagedFilesGiveEmptyImages) {
    const Bytes good = bmpFile(pattern(6, 5), 24);
    const Bytes good8 = bmpFile(pattern(6, 5), 8);
    auto with = [](Bytes b, std::size_t at, std::uint32_t value, int size = 4) {
        for (int i = 0; i < size; ++i)
            b.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(value >> (8 * i));
        return b;
    };
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"not BM", with(good, 0, 'X', 1)},
        {"cut in the header", Bytes(good.begin(), good.begin() + 30)},
        {"cut in the pixels", Bytes(good.begin(), good.end() - 1)},
        {"pixels offset past the end", with(good, 10, 100000)},
        {"zero width", with(good, 18, 0)},
        {"negative width", with(good, 18, 0xFFFFFFF0)},
        {"zero height", with(good, 22, 0)},
        {"huge", with(with(good, 18, 40000), 22, 40000)},
        {"unknown header size", with(good, 14, 20)},
        {"header past the end", with(good, 14, 5000)},
        {"bit depth 7", with(good, 28, 7, 2)},
        {"run-length compressed", with(good8, 30, 1)},
        {"bit fields on 24 bits", with(good, 30, 3)},
        {"palette past the end", with(with(good8, 46, 256), 10, 100000)},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(skin::readBitmap(c.file).isNull()) << c.what;
}

TEST(Bitmap, PaletteIndexBeyondThePaletteIsBlack) {
    Bytes file = header(1, 1, 8, 0, 40, 4);
    putLe(file, 0xFFFFFF, 4); // one entry, pixel uses index 9
    putLe(file, 9, 4);
    // The info header's colour count says one entry.
    file[46] = 1;
    const QImage image = skin::readBitmap(file);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(Bitmap, ImageEntryNames) {
    struct Case {
        const char* value;
        const char* want;
    };
    const Case cases[] = {
        {"tab.bmp", "tab.bmp"},
        {"skins\\tab.bmp", "tab.bmp"},
        {"c:\\skins\\blue\\tab.bmp", "tab.bmp"},
        {"skins/tab.bmp", "tab.bmp"},
        {"Tab.BMP", ""},
        {"tab.png", ""},
        {"tab.bmp ", ""},
        {".bmp", ".bmp"},
        {"", ""},
        // "\xD3\x5C" is one character whose second byte is a backslash.
        {"\xD3\x5C"
         "a.bmp",
         "\xD3\x5C"
         "a.bmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(skin::imageEntryName(c.value), c.want) << c.value;
}

} // namespace
