#include "skin/skin_draw.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace zorvia::skin;

namespace {

constexpr QRgb Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF,
               Grey = 0xFF808080, Black = 0xFF000000;

// A 4 x 4 state image with 1-pixel margins: corners red, edges green, centre
// a 2 x 2 checker of blue and white.
QImage nine(QRgb corner = Red) {
    QImage image(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool edgeX = x == 0 || x == 3, edgeY = y == 0 || y == 3;
            image.setPixel(x, y,
                           edgeX && edgeY   ? corner
                           : edgeX || edgeY ? Green
                                            : ((x + y) % 2 ? White : Blue));
        }
    return image;
}

QImage canvas(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Grey);
    return image;
}

// Renders the image as one letter a pixel for readable failures.
std::string picture(const QImage& image) {
    std::string out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            out += p == Red         ? 'R'
                   : p == Green     ? 'G'
                   : p == Blue      ? 'B'
                   : p == White     ? 'W'
                   : p == Grey      ? '.'
                   : p == KeyColour ? 'K'
                   : p == Black     ? 'k'
                                    : '?';
        }
        out += '\n';
    }
    return out;
}

TEST(DrawSkinImage, NinePartDrawing) {
    struct Case {
        const char* what;
        QSize size;
        bool tile;
        const char* want;
    };
    const Case cases[] = {
        {"same size", {4, 4}, false, "RGGR\nGBWG\nGWBG\nRGGR\n"},
        // Corners unscaled, edges and centre stretched by replication.
        {"stretched", {6, 4}, false, "RGGGGR\nGBBWWG\nGWWBBG\nRGGGGR\n"},
        // The centre repeated from its top-left corner.
        {"tiled", {7, 5}, true, "RGGGGGR\nGBWBWBG\nGWBWBWG\nGBWBWBG\nRGGGGGR\n"},
        // Narrower than the state image: the centre keeps its first column.
        {"shrunk", {3, 4}, false, "RGR\nGBG\nGWG\nRGR\n"},
        // Rows as wide as the state image's, repeated downwards.
        {"tiled down", {4, 6}, true, "RGGR\nGBWG\nGWBG\nGBWG\nGWBG\nRGGR\n"},
        // Narrower than both side margins: they count as 0 and the state
        // image is stretched whole across (rows keep their margins).
        {"too narrow", {1, 4}, false, "R\nG\nG\nR\n"},
        {"too low", {4, 1}, false, "RGGR\n"},
    };
    for (const auto& c : cases) {
        QImage target = canvas(c.size.width(), c.size.height());
        DrawSkinImage(target, QRect(QPoint(0, 0), c.size), nine(), false, c.tile, false, 1, 1,
                      {1, 1, 1, 1});
        EXPECT_EQ(picture(target), c.want) << c.what;
    }
}

TEST(DrawSkinImage, StatesSideBySideOrStacked) {
    // Three 2 x 2 states: red, green, blue.
    QImage row(6, 2, QImage::Format_RGB32);
    QImage column(2, 6, QImage::Format_RGB32);
    const QRgb colours[] = {Red, Green, Blue};
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) {
                row.setPixel(2 * k + i, j, colours[k]);
                column.setPixel(i, 2 * k + j, colours[k]);
            }
    for (int state = 1; state <= 3; ++state) {
        QImage a = canvas(3, 3), b = canvas(3, 3);
        DrawSkinImage(a, QRect(0, 0, 3, 3), row, false, false, false, 3, state, {});
        DrawSkinImage(b, QRect(0, 0, 3, 3), column, true, false, false, 3, state, {});
        EXPECT_EQ(a.pixel(2, 2), colours[state - 1]) << state;
        EXPECT_EQ(b.pixel(2, 2), colours[state - 1]) << state;
    }
    // A state beyond the count, or an empty image, draws nothing.
    for (const int state : {0, 4}) {
        QImage a = canvas(2, 2);
        DrawSkinImage(a, QRect(0, 0, 2, 2), row, false, false, false, 3, state, {});
        EXPECT_EQ(picture(a), "..\n..\n") << state;
    }
    QImage a = canvas(2, 2);
    DrawSkinImage(a, QRect(0, 0, 2, 2), QImage(), false, false, false, 1, 1, {});
    EXPECT_EQ(picture(a), "..\n..\n");
    // A state count of 0 draws the whole image as one state.
    DrawSkinImage(a, QRect(0, 0, 2, 2), row, false, false, false, 0, 1, {});
    EXPECT_EQ(a.pixel(0, 0), Red);
    EXPECT_EQ(a.pixel(1, 0), Green); // column 1 of 2 takes column 3 of 6
}

TEST(DrawSkinImage, MagentaKey) {
    const QImage keyed = nine(KeyColour);
    QImage opaque = canvas(4, 4), transparent = canvas(4, 4);
    DrawSkinImage(opaque, QRect(0, 0, 4, 4), keyed, false, false, false, 1, 1, {1, 1, 1, 1});
    DrawSkinImage(transparent, QRect(0, 0, 4, 4), keyed, false, false, true, 1, 1, {1, 1, 1, 1});
    EXPECT_EQ(picture(opaque), "KGGK\nGBWG\nGWBG\nKGGK\n");
    EXPECT_EQ(picture(transparent), ".GG.\nGBWG\nGWBG\n.GG.\n");

    // The same through a painter on an image.
    QImage painted = canvas(4, 4);
    {
        QPainter p(&painted);
        DrawSkinImage(p, QRect(0, 0, 4, 4), keyed, false, false, true, 1, 1, {1, 1, 1, 1});
    }
    EXPECT_EQ(picture(painted), ".GG.\nGBWG\nGWBG\n.GG.\n");
}

TEST(DrawSkinImage, RectangleAndClipping) {
    QImage target = canvas(5, 3);
    // Negative width: nothing.
    DrawSkinImage(target, QRect(QPoint(3, 0), QPoint(1, 2)), nine(), false, false, false, 1, 1, {});
    EXPECT_EQ(picture(target), ".....\n.....\n.....\n");
    // Partly outside the target: clipped, never written past it.
    DrawSkinImage(target, QRect(3, 1, 4, 4), nine(), false, false, false, 1, 1, {1, 1, 1, 1});
    EXPECT_EQ(picture(target), ".....\n...RG\n...GB\n");
    // Margins larger than the state image are cut to it: the left margin
    // takes 3 of its 4 columns, the right one the last; no centre is left.
    QImage wide = canvas(8, 4);
    DrawSkinImage(wide, QRect(0, 0, 8, 4), nine(), false, false, false, 1, 1, {3, 0, 3, 0});
    EXPECT_EQ(picture(wide).substr(0, 9), "RGGKKKKR\n");
}

TEST(DrawSkinImage, Centred) {
    QImage target = canvas(7, 6);
    DrawSkinImageCentred(target, QRect(0, 0, 7, 6), nine(), false, false, 1, 1);
    EXPECT_EQ(picture(target), ".......\n.RGGR..\n.GBWG..\n.GWBG..\n.RGGR..\n.......\n");
    // A rectangle smaller than the image: the image hangs over on both sides.
    QImage small = canvas(4, 4);
    DrawSkinImageCentred(small, QRect(1, 1, 2, 2), nine(), false, true, 1, 1);
    EXPECT_EQ(picture(small), "RGGR\nGBWG\nGWBG\nRGGR\n");
}

} // namespace
