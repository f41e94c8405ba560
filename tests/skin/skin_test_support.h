#pragma once

// Helpers for the skin tests: Windows bitmap files, containers and stored
// skins made on the spot, and a catcher for the engine's messages.
#include "lzh_encoder.h"
#include "skin/skin_message.h"
#include "skin_writer.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace zorvia::skintest {

using Bytes = std::vector<std::uint8_t>;

inline void putLe(Bytes& out, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A Windows bitmap file of `image` with 8, 24 or 32 bits per pixel.
inline Bytes bmpFile(const QImage& source, int bpp = 24, bool topDown = false) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    std::vector<QRgb> palette;
    if (bpp == 8) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (std::find(palette.begin(), palette.end(), image.pixel(x, y)) == palette.end())
                    palette.push_back(image.pixel(x, y));
    }
    const int stride = (w * bpp + 31) / 32 * 4;
    Bytes pixels;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        const size_t start = pixels.size();
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            if (bpp == 8) {
                pixels.push_back(static_cast<std::uint8_t>(
                    std::find(palette.begin(), palette.end(), p) - palette.begin()));
            } else {
                pixels.push_back(static_cast<std::uint8_t>(qBlue(p)));
                pixels.push_back(static_cast<std::uint8_t>(qGreen(p)));
                pixels.push_back(static_cast<std::uint8_t>(qRed(p)));
                if (bpp == 32)
                    pixels.push_back(0x00); // alpha is ignored by the reader
            }
        }
        pixels.resize(start + static_cast<size_t>(stride), 0);
    }
    const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(palette.size());
    Bytes out{'B', 'M'};
    putLe(out, offset + static_cast<std::uint32_t>(pixels.size()), 4);
    putLe(out, 0, 4);
    putLe(out, offset, 4);
    putLe(out, 40, 4);
    putLe(out, static_cast<std::uint32_t>(w), 4);
    putLe(out, static_cast<std::uint32_t>(topDown ? -h : h), 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(bpp), 2);
    putLe(out, 0, 4);
    putLe(out, static_cast<std::uint32_t>(pixels.size()), 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, static_cast<std::uint32_t>(palette.size()), 4);
    putLe(out, 0, 4);
    for (const QRgb p : palette) {
        out.push_back(static_cast<std::uint8_t>(qBlue(p)));
        out.push_back(static_cast<std::uint8_t>(qGreen(p)));
        out.push_back(static_cast<std::uint8_t>(qRed(p)));
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// A w x h bitmap file of one colour.
inline Bytes solidBmp(int w, int h, QRgb colour = qRgb(10, 20, 30)) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return bmpFile(image);
}

inline Bytes textBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// A stored skin (size, then packed stream) of a container with `entries`.
inline Bytes storedSkinOf(const std::vector<skinpack::Entry>& entries,
                          std::int32_t version = skinpack::ContainerVersion) {
    return skinpack::packStore(skinpack::writeContainer(entries, version));
}

// Catches the engine's messages while it lives.
class MessageCatcher {
public:
    MessageCatcher() {
        previous_ =
            skin::setMessageHandler([this](const AnsiString& text) { messages.push_back(text); });
    }
    ~MessageCatcher() { skin::setMessageHandler(std::move(previous_)); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    std::vector<AnsiString> messages;

private:
    skin::MessageHandler previous_;
};

} // namespace zorvia::skintest
