#include "core/gfx/bitmap.h"

#include <gtest/gtest.h>

#include <climits>

namespace quillon {
namespace {

// A 4 x 3 source whose pixel (x, y) is 0xFF000000 | y << 8 | x.
Bitmap numbered(int w = 4, int h = 3) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.setPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(y << 8 | x));
        }
    }
    return b;
}

TEST(Bitmap, ResizeReusesTheBuffer) {
    Bitmap b(100, 100);
    const std::uint32_t* before = b.data();
    b.resize(40, 30);
    EXPECT_EQ(b.data(), before);
    b.resize(100, 100);
    EXPECT_EQ(b.data(), before);
    EXPECT_EQ(b.bytesPerLine(), 400);
    b.resize(-3, 5);
    EXPECT_TRUE(b.empty());
}

TEST(Bitmap, BlitClipsOnEverySide) {
    const Bitmap src = numbered();
    for (int dx = -5; dx <= 7; ++dx) {
        for (int dy = -4; dy <= 6; ++dy) {
            Bitmap dest(5, 4, 0xFF123456);
            dest.blit(src, dx, dy);
            for (int y = 0; y < 4; ++y) {
                for (int x = 0; x < 5; ++x) {
                    const bool covered = x - dx >= 0 && x - dx < 4 && y - dy >= 0 && y - dy < 3;
                    EXPECT_EQ(dest.pixel(x, y), covered ? src.pixel(x - dx, y - dy) : 0xFF123456)
                        << dx << "," << dy << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(Bitmap, BlitKeyedLeavesKeyColourOut) {
    Bitmap src(2, 1);
    src.setPixel(0, 0, 0xFF00FF00);
    src.setPixel(1, 0, 0xFF0000FF);
    Bitmap dest(3, 1, 0xFFFFFFFF);
    dest.blitKeyed(src, 1, 0, 0xFF00FF00);
    EXPECT_EQ(dest.pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(dest.pixel(2, 0), 0xFF0000FFu);
}

TEST(Bitmap, LinesExcludeTheirEndAndClip) {
    Bitmap b(4, 4, 0xFFFFFFFF);
    b.drawHorizontalLine(1, -10, 2);
    b.drawVerticalLine(3, 2, 100);
    EXPECT_EQ(b.pixel(0, 1), kBlack);
    EXPECT_EQ(b.pixel(1, 1), kBlack);
    EXPECT_EQ(b.pixel(2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(b.pixel(3, 1), 0xFFFFFFFFu);
    EXPECT_EQ(b.pixel(3, 3), kBlack);
    b.fillRect(INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, 0);  // must not wrap around
    b.fillRect(INT_MIN, 0, 2, 2, 0);
    EXPECT_EQ(b.pixel(0, 0), 0xFFFFFFFFu);
}

TEST(Bitmap, MirrorsBothWays) {
    Bitmap b = numbered();
    b.mirrorHorizontal();
    EXPECT_EQ(b.pixel(0, 0), numbered().pixel(3, 0));
    b.mirrorVertical();
    EXPECT_EQ(b.pixel(0, 0), numbered().pixel(3, 2));
    EXPECT_EQ(b.pixel(1, 1), numbered().pixel(2, 1));
}

}  // namespace
}  // namespace quillon
