#include "skin/skin_draw.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace zorvia::skin {

namespace {

// Copies src rectangle (sx, sy, sw, sh) of `from` to dst rectangle
// (dx, dy, dw, dh) of `to`, replicating pixels (or repeating them from the
// top-left corner when tiling). The source column of each target column is
// worked out once for all rows; rows of the same width are copied whole.
void blit(const QImage& from, int sx, int sy, int sw, int sh, QImage& to, int dx, int dy, int dw,
          int dh, bool tile) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return;
    const bool sameWidth = sw == dw;
    std::vector<int> columns;
    if (!sameWidth) {
        columns.resize(static_cast<std::size_t>(dw));
        for (int x = 0; x < dw; ++x)
            columns[static_cast<std::size_t>(x)] =
                sx + (tile ? x % sw : static_cast<int>(static_cast<long long>(x) * sw / dw));
    }
    for (int y = 0; y < dh; ++y) {
        const int srcY =
            sy + (tile ? y % sh : static_cast<int>(static_cast<long long>(y) * sh / dh));
        const auto* src = reinterpret_cast<const QRgb*>(from.constScanLine(srcY));
        auto* dst = reinterpret_cast<QRgb*>(to.scanLine(dy + y)) + dx;
        if (sameWidth) {
            std::copy_n(src + sx, dw, dst);
            continue;
        }
        for (int x = 0; x < dw; ++x)
            dst[x] = src[columns[static_cast<std::size_t>(x)]];
    }
}

QImage asRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

void blitToImage(QImage& target, QPoint at, const QImage& work, bool transparent) {
    const QRect area = QRect(at, work.size()) & target.rect();
    if (area.isEmpty())
        return;
    const bool fast = target.format() == QImage::Format_RGB32 ||
                      target.format() == QImage::Format_ARGB32 ||
                      target.format() == QImage::Format_ARGB32_Premultiplied;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(work.constScanLine(y - at.y()));
        auto* dst = fast ? reinterpret_cast<QRgb*>(target.scanLine(y)) : nullptr;
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = src[x - at.x()] | 0xFF000000u;
            if (transparent && isKey(p))
                continue;
            if (fast)
                dst[x] = p;
            else
                target.setPixel(x, y, p);
        }
    }
}

void blitToPainter(QPainter& target, QPoint at, QImage work, bool transparent) {
    if (transparent) {
        work = work.convertToFormat(QImage::Format_ARGB32);
        const int width = work.width();
        for (int y = 0; y < work.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(work.scanLine(y));
            for (int x = 0; x < width; ++x)
                if (isKey(line[x]))
                    line[x] = 0;
        }
    }
    target.drawImage(at, work);
}

} // namespace

QImage stateImage(const QImage& image, bool vertical, int frameCount, int state) {
    const int n = std::max(frameCount, 1);
    if (image.isNull() || state < 1 || state > n)
        return {};
    const int w = vertical ? image.width() : image.width() / n;
    const int h = vertical ? image.height() / n : image.height();
    if (w <= 0 || h <= 0)
        return {};
    const QPoint origin = vertical ? QPoint(0, (state - 1) * h) : QPoint((state - 1) * w, 0);
    return asRgb32(image.copy(QRect(origin, QSize(w, h))));
}

QImage composeSkinImage(QSize size, const QImage& image, bool vertical, bool tile, int frameCount,
                        int state, SkinMargins m) {
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    const QImage src = stateImage(image, vertical, frameCount, state);
    if (src.isNull())
        return {};
    const int w = size.width(), h = size.height();
    const int sw = src.width(), sh = src.height();

    int l = std::max(m.left, 0), r = std::max(m.right, 0);
    int t = std::max(m.top, 0), b = std::max(m.bottom, 0);
    if (w < l + r)
        l = r = 0;
    if (h < t + b)
        t = b = 0;
    // Margins wider than the state image are cut to it.
    l = std::min(l, sw);
    r = std::min(r, sw - l);
    t = std::min(t, sh);
    b = std::min(b, sh - t);

    QImage work(size, QImage::Format_RGB32);
    work.fill(KeyColour);
    const int scw = sw - l - r, sch = sh - t - b; // source centre
    const int dcw = w - l - r, dch = h - t - b;   // target centre

    if (l > 0 && t > 0)
        blit(src, 0, 0, l, t, work, 0, 0, l, t, false);
    if (r > 0 && t > 0)
        blit(src, sw - r, 0, r, t, work, w - r, 0, r, t, false);
    if (l > 0 && b > 0)
        blit(src, 0, sh - b, l, b, work, 0, h - b, l, b, false);
    if (r > 0 && b > 0)
        blit(src, sw - r, sh - b, r, b, work, w - r, h - b, r, b, false);

    blit(src, l, 0, scw, t, work, l, 0, dcw, t, false);          // top edge
    blit(src, l, sh - b, scw, b, work, l, h - b, dcw, b, false); // bottom edge
    blit(src, 0, t, l, sch, work, 0, t, l, dch, false);          // left edge
    blit(src, sw - r, t, r, sch, work, w - r, t, r, dch, false); // right edge
    blit(src, l, t, scw, sch, work, l, t, dcw, dch, tile);       // centre
    return work;
}

void DrawSkinImage(QImage& target, const QRect& rect, const QImage& image, bool vertical, bool tile,
                   bool transparent, int frameCount, int state, SkinMargins margins) {
    const QImage work =
        composeSkinImage(rect.size(), image, vertical, tile, frameCount, state, margins);
    if (!work.isNull())
        blitToImage(target, rect.topLeft(), work, transparent);
}

void DrawSkinImage(QPainter& target, const QRect& rect, const QImage& image, bool vertical,
                   bool tile, bool transparent, int frameCount, int state, SkinMargins margins) {
    const QImage work =
        composeSkinImage(rect.size(), image, vertical, tile, frameCount, state, margins);
    if (!work.isNull())
        blitToPainter(target, rect.topLeft(), work, transparent);
}

namespace {

QPoint centredOrigin(const QRect& rect, const QImage& state) {
    return rect.topLeft() +
           QPoint((rect.width() - state.width()) / 2, (rect.height() - state.height()) / 2);
}

} // namespace

void DrawSkinImageCentred(QImage& target, const QRect& rect, const QImage& image, bool vertical,
                          bool transparent, int frameCount, int state) {
    const QImage src = stateImage(image, vertical, frameCount, state);
    if (!src.isNull())
        blitToImage(target, centredOrigin(rect, src), src, transparent);
}

void DrawSkinImageCentred(QPainter& target, const QRect& rect, const QImage& image, bool vertical,
                          bool transparent, int frameCount, int state) {
    const QImage src = stateImage(image, vertical, frameCount, state);
    if (!src.isNull())
        blitToPainter(target, centredOrigin(rect, src), src, transparent);
}

void DrawSkinObject(QImage& target, const QRect& rect, const TDataSkinObject& object, int state,
                    bool vertical) {
    DrawSkinImage(target, rect, object.Image, vertical, object.Tile == 1, object.Trans != 0,
                  object.Frame, state, SkinMargins::of(object));
}

void DrawSkinObject(QPainter& target, const QRect& rect, const TDataSkinObject& object, int state,
                    bool vertical) {
    DrawSkinImage(target, rect, object.Image, vertical, object.Tile == 1, object.Trans != 0,
                  object.Frame, state, SkinMargins::of(object));
}

} // namespace zorvia::skin
