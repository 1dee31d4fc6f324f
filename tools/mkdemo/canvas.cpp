#include "tools/mkdemo/canvas.h"

namespace quillon::mkdemo {

Canvas::Canvas(int width, int height, std::uint8_t fill)
    : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, fill) {}

std::uint8_t Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

void Canvas::set(int x, int y, std::uint8_t colour) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
        m_pixels[static_cast<std::size_t>(y) * m_width + x] = colour;
    }
}

void Canvas::fill(int x, int y, int w, int h, std::uint8_t colour) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            set(i, j, colour);
        }
    }
}

void Canvas::hline(int x0, int x1, int y, std::uint8_t colour) {
    for (int x = x0; x <= x1; ++x) {
        set(x, y, colour);
    }
}

void Canvas::vline(int x, int y0, int y1, std::uint8_t colour) {
    for (int y = y0; y <= y1; ++y) {
        set(x, y, colour);
    }
}

void Canvas::ellipse(double cx, double cy, double rx, double ry, std::uint8_t colour) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) {
                set(x, y, colour);
            }
        }
    }
}

void Canvas::shade(double cx, double cy, double rx, double ry, std::uint8_t from, std::uint8_t to) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0 && at(x, y) == from) {
                set(x, y, to);
            }
        }
    }
}

void Canvas::outline(std::uint8_t colour) {
    const Canvas before = *this;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (before.at(x, y) != 0) {
                continue;
            }
            const bool touches = before.at(x - 1, y) != 0 || before.at(x + 1, y) != 0 ||
                                 before.at(x, y - 1) != 0 || before.at(x, y + 1) != 0;
            if (touches) {
                set(x, y, colour);
            }
        }
    }
}

void Canvas::blit(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            if (src.at(x, y) != 0) {
                set(dx + x, dy + y, src.at(x, y));
            }
        }
    }
}

Canvas Canvas::crop(int x, int y, int w, int h) const {
    Canvas out(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            out.set(i, j, at(x + i, y + j));
        }
    }
    return out;
}

void paint(Canvas& canvas, int x, int y, std::initializer_list<std::string_view> rows,
           std::initializer_list<Ink> inks) {
    int j = 0;
    for (std::string_view row : rows) {
        for (int i = 0; i < static_cast<int>(row.size()); ++i) {
            for (const Ink& ink : inks) {
                if (ink.key == row[i]) {
                    canvas.set(x + i, y + j, ink.colour);
                }
            }
        }
        ++j;
    }
}

}  // namespace quillon::mkdemo
