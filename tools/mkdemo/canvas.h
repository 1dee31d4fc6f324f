#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string_view>
#include <vector>

namespace quillon::mkdemo {

// A picture of palette indices, drawn by code. Index 0 is "nothing": it stays transparent in
// an upper layer and is never left in a lower one. Drawing outside the picture is clipped.
class Canvas {
public:
    Canvas(int width, int height, std::uint8_t fill = 0);

    int width() const { return m_width; }
    int height() const { return m_height; }
    std::uint8_t at(int x, int y) const;  // 0 outside
    void set(int x, int y, std::uint8_t colour);
    void fill(int x, int y, int w, int h, std::uint8_t colour);
    void hline(int x0, int x1, int y, std::uint8_t colour);
    void vline(int x, int y0, int y1, std::uint8_t colour);
    // Pixels whose centre lies inside the ellipse.
    void ellipse(double cx, double cy, double rx, double ry, std::uint8_t colour);
    // Recolours the pixels of one colour that lie inside the ellipse.
    void shade(double cx, double cy, double rx, double ry, std::uint8_t from, std::uint8_t to);
    // Every empty pixel next to a filled one (4 neighbours) becomes colour.
    void outline(std::uint8_t colour);
    // Copies the non-zero pixels of src with its top left at (dx, dy).
    void blit(const Canvas& src, int dx, int dy);
    Canvas crop(int x, int y, int w, int h) const;

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
};

// One letter of a pixel pattern and the colour it stands for.
struct Ink {
    char key;
    std::uint8_t colour;
};

// Draws rows of letters with (x, y) as the top left; letters without an ink are skipped.
void paint(Canvas& canvas, int x, int y, std::initializer_list<std::string_view> rows,
           std::initializer_list<Ink> inks);

// Deterministic randomness for the art and the maps: the same numbers on every platform
// (raw engine output, no distributions).
class Rng {
public:
    explicit Rng(std::uint32_t seed) : m_engine(seed) {}
    int below(int n) { return static_cast<int>(m_engine() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937 m_engine;
};

// A stable hash of a cell, for choosing variants without a running generator.
inline std::uint32_t cellHash(int x, int y, std::uint32_t salt) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^
                      static_cast<std::uint32_t>(y) * 19349663u ^ salt * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

}  // namespace quillon::mkdemo
