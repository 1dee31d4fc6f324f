#include "core/gfx/bitmap.h"

#include <gtest/gtest.h>

#include <climits>

namespace quillon {
namespace {

TEST(Bitmap, BlitAndDrawingClipOnEverySide) {
    Bitmap src(4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            src.setPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(y << 8 | x));
        }
    }
    for (int dx = -5; dx <= 7; ++dx) {
        for (int dy = -4; dy <= 6; ++dy) {
            Bitmap dest(5, 4, 0xFF123456);
            dest.blit(src, dx, dy);
            for (int y = 0; y < 4; ++y) {
                for (int x = 0; x < 5; ++x) {
                    const bool covered = x - dx >= 0 && x - dx < 4 && y - dy >= 0 && y - dy < 3;
                    ASSERT_EQ(dest.pixel(x, y), covered ? src.pixel(x - dx, y - dy) : 0xFF123456)
                        << dx << "," << dy << " at " << x << "," << y;
                }
            }
        }
    }
    Bitmap b(4, 4, 0xFFFFFFFF);
    b.drawHorizontalLine(1, -10, 2);  // the end is excluded
    EXPECT_EQ(b.pixel(1, 1), kBlack);
    EXPECT_EQ(b.pixel(2, 1), 0xFFFFFFFFu);
    b.fillRect(INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, 0);  // must not wrap around
    b.fillRect(INT_MIN, 0, 2, 2, 0);
    EXPECT_EQ(b.pixel(0, 0), 0xFFFFFFFFu);
}

TEST(Bitmap, ResizeReusesTheBuffer) {
    Bitmap b(100, 100);
    const std::uint32_t* before = b.data();
    b.resize(40, 30);
    b.resize(100, 100);
    EXPECT_EQ(b.data(), before);
    EXPECT_EQ(b.bytesPerLine(), 400);
}

}  // namespace
}  // namespace quillon
