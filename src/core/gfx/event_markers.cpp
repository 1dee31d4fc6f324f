#include "core/gfx/event_markers.h"

#include <cstdint>

namespace quillon {

namespace {

struct Rgb {
    int r, g, b;
};

constexpr std::uint32_t pack(Rgb c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(c.r) << 16) |
           (static_cast<std::uint32_t>(c.g) << 8) | static_cast<std::uint32_t>(c.b);
}

constexpr Rgb mix(Rgb a, Rgb b, int num, int den) {
    return {a.r + (b.r - a.r) * num / den, a.g + (b.g - a.g) * num / den,
            a.b + (b.b - a.b) * num / den};
}

struct MarkerLook {
    char letter;
    Rgb topLeft;
    Rgb bottomRight;
};

constexpr MarkerLook kLooks[EventMarkers::kKinds] = {
    {'W', {198, 19, 190}, {58, 22, 218}},  {'S', {245, 47, 10}, {245, 179, 10}},
    {'P', {211, 237, 15}, {20, 238, 200}}, {'S', {16, 117, 24}, {62, 227, 17}},
    {'F', {245, 9, 90}, {245, 106, 10}},
};

constexpr Rgb kLetter{240, 224, 32};
constexpr Rgb kOutline{48, 36, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kShadow{0, 0, 0};

// A 5 x 7 pixel font for the four letters the markers need; '#' is ink.
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphScale = 4;

const char* const* glyph(char letter) {
    static constexpr const char* w[] = {"#...#", "#...#", "#...#", "#.#.#",
                                        "#.#.#", "##.##", "#...#"};
    static constexpr const char* s[] = {".###.", "#...#", "#....", ".###.",
                                        "....#", "#...#", ".###."};
    static constexpr const char* p[] = {"####.", "#...#", "#...#", "####.",
                                        "#....", "#....", "#...."};
    static constexpr const char* f[] = {"#####", "#....", "#....", "####.",
                                        "#....", "#....", "#...."};
    switch (letter) {
        case 'W':
            return w;
        case 'S':
            return s;
        case 'P':
            return p;
        default:
            return f;
    }
}

// Whether marker pixel (x, y) lies on the letter, drawn 4 times enlarged and centred.
bool onLetter(const char* const* rows, int x, int y) {
    constexpr int left = (EventMarkers::kSize - kGlyphWidth * kGlyphScale) / 2;
    constexpr int top = (EventMarkers::kSize - kGlyphHeight * kGlyphScale) / 2;
    const int gx = x - left;
    const int gy = y - top;
    if (gx < 0 || gy < 0 || gx >= kGlyphWidth * kGlyphScale || gy >= kGlyphHeight * kGlyphScale) {
        return false;
    }
    return rows[gy / kGlyphScale][gx / kGlyphScale] == '#';
}

bool nearLetter(const char* const* rows, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (onLetter(rows, x + dx, y + dy)) {
                return true;
            }
        }
    }
    return false;
}

Rgb unpack(std::uint32_t c) {
    return {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
            static_cast<int>(c & 0xFF)};
}

// Each pixel of the small picture is the mean of a 2 x 2 square of the large one.
Bitmap halve(const Bitmap& big) {
    Bitmap small(big.width() / 2, big.height() / 2);
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            Rgb sum{0, 0, 0};
            for (int i = 0; i < 4; ++i) {
                const Rgb c = unpack(big.pixel(2 * x + i % 2, 2 * y + i / 2));
                sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
            }
            small.setPixel(x, y, pack({sum.r / 4, sum.g / 4, sum.b / 4}));
        }
    }
    return small;
}

}  // namespace

Bitmap makeEventMarker(int kind) {
    const MarkerLook& look = kLooks[kind];
    const char* const* rows = glyph(look.letter);
    constexpr int n = EventMarkers::kSize;
    constexpr int bevel = 2;
    Bitmap out(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            Rgb c = mix(look.topLeft, look.bottomRight, x + y, 2 * (n - 1));
            if (x >= n - bevel || y >= n - bevel) {
                c = mix(c, kShadow, 1, 2);
            } else if (x < bevel || y < bevel) {
                c = mix(c, kWhite, 1, 2);
            }
            if (onLetter(rows, x, y)) {
                c = kLetter;
            } else if (nearLetter(rows, x, y)) {
                c = kOutline;
            }
            out.setPixel(x, y, pack(c));
        }
    }
    return out;
}

EventMarkers::EventMarkers() {
    for (int k = 0; k < kKinds; ++k) {
        m_markers[static_cast<std::size_t>(k)] = makeEventMarker(k);
        m_cells[static_cast<std::size_t>(k)] = halve(m_markers[static_cast<std::size_t>(k)]);
    }
}

bool EventMarkers::DrawEventMarker(Bitmap& picture, int x, int y, int kind) const {
    if (kind < 0 || kind >= kKinds || x < 0 || y < 0 || x + kCell > picture.width() ||
        y + kCell > picture.height()) {
        return false;
    }
    const Bitmap& cell = m_cells[static_cast<std::size_t>(kind)];
    for (int j = 0; j < kCell; ++j) {
        std::uint32_t* dest = picture.row(y + j) + x;
        const std::uint32_t* src = cell.row(j);
        for (int i = 0; i < kCell; ++i) {
            // Per component (a + b) / 2 rounded down: halve each, add the carried low bits.
            const std::uint32_t a = src[i];
            const std::uint32_t b = dest[i];
            dest[i] =
                0xFF000000u |
                ((((a & 0xFEFEFE) >> 1) + ((b & 0xFEFEFE) >> 1) + (a & b & 0x010101)) & 0xFFFFFF);
        }
    }
    return true;
}

}  // namespace quillon
