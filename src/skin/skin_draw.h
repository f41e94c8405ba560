#pragma once

#include "skin/skin_model.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace zorvia::skin {

// Fixed margins of the nine-part drawing.
struct SkinMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static SkinMargins of(const TDataSkinObject& o) {
        return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight};
    }
};

// The transparency key of every skin image.
inline constexpr QRgb KeyColour = 0xFFFF00FF;
inline bool isKey(QRgb pixel) {
    return (pixel & 0x00FFFFFF) == 0x00FF00FF;
}

// State `state` (counted from 1) of an image holding `frameCount` states side
// by side (or stacked, when `vertical`).
QImage stateImage(const QImage& image, bool vertical, int frameCount, int state);

// The work image of DrawSkinImage: state `state` composed to `size` with
// unscaled corners, edges stretched along their length and the centre
// stretched or tiled. Parts not covered are the key colour. A null image when
// there is nothing to draw (empty size, no such state, empty image).
QImage composeSkinImage(QSize size, const QImage& image, bool vertical, bool tile, int frameCount,
                        int state, SkinMargins margins);

// Draws state `state` of `image` into `rect` of `target` (see composeSkinImage);
// with `transparent`, target pixels under key pixels stay as they are.
// Nothing is drawn when the rectangle has a negative width or height.
void DrawSkinImage(QImage& target, const QRect& rect, const QImage& image, bool vertical, bool tile,
                   bool transparent, int frameCount, int state, SkinMargins margins);
void DrawSkinImage(QPainter& target, const QRect& rect, const QImage& image, bool vertical,
                   bool tile, bool transparent, int frameCount, int state, SkinMargins margins);

// Draws state `state` unscaled, its top-left at the rectangle's origin plus
// half (rounded down) of the free width and height.
void DrawSkinImageCentred(QImage& target, const QRect& rect, const QImage& image, bool vertical,
                          bool transparent, int frameCount, int state);
void DrawSkinImageCentred(QPainter& target, const QRect& rect, const QImage& image, bool vertical,
                          bool transparent, int frameCount, int state);

// DrawSkinImage with the object's own margins, Tile, Trans and Frame.
void DrawSkinObject(QImage& target, const QRect& rect, const TDataSkinObject& object, int state,
                    bool vertical = false);
void DrawSkinObject(QPainter& target, const QRect& rect, const TDataSkinObject& object, int state,
                    bool vertical = false);

} // namespace zorvia::skin
