#include "core/gfx/bitmap.h"

#include <algorithm>
#include <cstring>

namespace quillon {

namespace {

// Source and destination ranges of a blit once both pictures have clipped it.
struct BlitSpan {
    int srcX = 0;
    int srcY = 0;
    PixelRect dest;
};

BlitSpan clipBlit(const Bitmap& dest, const Bitmap& src, int x, int y) {
    BlitSpan s;
    s.dest = clipRect({x, y, src.width(), src.height()}, dest.width(), dest.height());
    s.srcX = s.dest.x - x;
    s.srcY = s.dest.y - y;
    return s;
}

}  // namespace

PixelRect clipRect(PixelRect rect, int pictureWidth, int pictureHeight) {
    // 64-bit ends: x + width must not overflow for callers near INT_MAX.
    long long x0 = std::max<long long>(rect.x, 0);
    long long y0 = std::max<long long>(rect.y, 0);
    long long x1 = std::min<long long>(static_cast<long long>(rect.x) + rect.width, pictureWidth);
    long long y1 = std::min<long long>(static_cast<long long>(rect.y) + rect.height, pictureHeight);
    if (x1 <= x0 || y1 <= y0) {
        return {static_cast<int>(std::min<long long>(x0, pictureWidth)),
                static_cast<int>(std::min<long long>(y0, pictureHeight)), 0, 0};
    }
    return {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
            static_cast<int>(y1 - y0)};
}

Bitmap::Bitmap(int width, int height, std::uint32_t colour) {
    resize(width, height);
    fill(colour);
}

void Bitmap::resize(int width, int height) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_pixels.resize(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height));
}

void Bitmap::fill(std::uint32_t colour) { std::fill(m_pixels.begin(), m_pixels.end(), colour); }

void Bitmap::setPixel(int x, int y, std::uint32_t colour) {
    if (contains(x, y)) {
        row(y)[x] = colour;
    }
}

std::uint32_t Bitmap::pixel(int x, int y) const { return contains(x, y) ? row(y)[x] : 0; }

void Bitmap::fillRect(int x, int y, int width, int height, std::uint32_t colour) {
    PixelRect r = clipRect({x, y, width, height}, m_width, m_height);
    for (int j = 0; j < r.height; ++j) {
        std::uint32_t* p = row(r.y + j) + r.x;
        std::fill(p, p + r.width, colour);
    }
}

void Bitmap::drawHorizontalLine(int y, int x0, int x1, std::uint32_t colour) {
    fillRect(x0, y, x1 - x0, 1, colour);
}

void Bitmap::drawVerticalLine(int x, int y0, int y1, std::uint32_t colour) {
    fillRect(x, y0, 1, y1 - y0, colour);
}

void Bitmap::blit(const Bitmap& src, int x, int y) {
    BlitSpan s = clipBlit(*this, src, x, y);
    std::size_t bytes = static_cast<std::size_t>(s.dest.width) * sizeof(std::uint32_t);
    for (int j = 0; j < s.dest.height; ++j) {
        std::memcpy(row(s.dest.y + j) + s.dest.x, src.row(s.srcY + j) + s.srcX, bytes);
    }
}

bool operator==(const Bitmap& a, const Bitmap& b) {
    return a.m_width == b.m_width && a.m_height == b.m_height && a.m_pixels == b.m_pixels;
}

}  // namespace quillon
