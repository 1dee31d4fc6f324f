#pragma once

#include <cstdint>
#include <vector>

namespace quillon {

// A block is 16x16 pixels (2x2 tiles of 8x8); tileset pictures are 16 tiles wide.
inline constexpr int kBlockPixels = 16;
inline constexpr int kTilesPerRow = 16;

// A rectangle of pixels; x, y is the top-left corner.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr std::uint32_t kBlack = 0xFF000000u;

// A 32-bit picture, pixels 0xFFRRGGBB, rows top to bottom without padding (row stride
// width * 4 bytes), so the ui can wrap data() as an RGB32 image without copying.
// Every drawing operation clips to the picture: nothing is ever written outside it.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, std::uint32_t colour = kBlack);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool empty() const { return m_width == 0 || m_height == 0; }
    int bytesPerLine() const { return m_width * 4; }

    // Changes the size in place, keeping the buffer's capacity: shrinking or keeping the
    // size never reallocates. Pixel contents afterwards are unspecified; fill() them.
    // Negative sizes count as 0.
    void resize(int width, int height);
    void fill(std::uint32_t colour);

    std::uint32_t* data() { return m_pixels.data(); }
    const std::uint32_t* data() const { return m_pixels.data(); }
    // Row y, unchecked: 0 <= y < height().
    std::uint32_t* row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * m_width; }
    const std::uint32_t* row(int y) const {
        return m_pixels.data() + static_cast<std::size_t>(y) * m_width;
    }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    // Out-of-picture writes are ignored; out-of-picture reads give 0.
    void setPixel(int x, int y, std::uint32_t colour);
    std::uint32_t pixel(int x, int y) const;

    void fillRect(int x, int y, int width, int height, std::uint32_t colour);
    // One-pixel lines; the end coordinate is excluded, as the platform's line drawing does.
    void drawHorizontalLine(int y, int x0, int x1, std::uint32_t colour = kBlack);
    void drawVerticalLine(int x, int y0, int y1, std::uint32_t colour = kBlack);

    // Copies src with its top-left corner at (x, y).
    void blit(const Bitmap& src, int x, int y);

    friend bool operator==(const Bitmap&, const Bitmap&);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

// The part of a (width x height) rectangle at (x, y) that lies inside a picture of
// pictureWidth x pictureHeight; width or height 0 when nothing does.
PixelRect clipRect(PixelRect rect, int pictureWidth, int pictureHeight);

}  // namespace quillon
