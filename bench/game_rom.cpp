#include "bench/game_rom.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/gfx/tile_entry.h"
#include "core/map/block_grid.h"

namespace quillon::bench {

namespace {

// A small deterministic generator, so every run builds the same ROM.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_state(seed * 2654435761u + 1) {}
    std::uint32_t next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint32_t m_state;
};

struct Layout {
    romkit::Family family;
    const char* title;
    const char* code;
    int primaryTiles;    // tiles (and blocks) of part 1
    int secondaryTiles;  // tiles (and blocks) of part 2
    int secondaries;     // secondary tilesets
    int banks;
    int maps;
};

constexpr int kUsedPalettes = 13;

// Tile art: two colours in a pattern (flat, stripes, checks, a round shape) with speckles, as
// grass, water, roofs and floors are drawn; tile 0 is blank, as in the games.
void drawTile(Random& random, std::uint8_t* tile) {
    const int a = random.below(16);
    const int b = random.below(16);
    const int kind = random.below(4);
    const int speckles = random.below(30);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool second = false;
            switch (kind) {
                case 1: second = (y & 2) != 0; break;
                case 2: second = ((x ^ y) & 4) != 0; break;
                case 3: second = (x - 4) * (x - 4) + (y - 4) * (y - 4) < 10; break;
                default: break;
            }
            int c = second ? b : a;
            if (random.below(100) < speckles) {
                c = random.below(16);
            }
            std::uint8_t& byte = tile[4 * y + x / 2];
            byte = static_cast<std::uint8_t>(byte | (c << ((x & 1) * 4)));
        }
    }
}

std::array<std::uint16_t, 16> palette(Random& random) {
    std::array<std::uint16_t, 16> colours{};
    // Shades of one hue, as tileset palettes run from dark to light.
    const int r = random.below(32);
    const int g = random.below(32);
    const int b = random.below(32);
    for (int c = 0; c < 16; ++c) {
        const auto shade = [&](int base) { return std::clamp(base + c * 2 - 15, 0, 31); };
        colours[static_cast<std::size_t>(c)] =
            static_cast<std::uint16_t>(shade(r) | shade(g) << 5 | shade(b) << 10);
    }
    return colours;
}

std::array<std::uint16_t, 8> block(Random& random, int firstTile, int tiles, int palettes) {
    std::array<std::uint16_t, 8> entries{};
    for (int e = 0; e < 8; ++e) {
        const bool upper = e >= 4;
        // Most blocks have nothing on their upper layer: tile 0, blank.
        const bool blank = upper && random.chance(70);
        const int tile = blank ? 0 : firstTile + random.below(tiles);
        entries[static_cast<std::size_t>(e)] =
            TileEntry::make(tile, random.chance(15), random.chance(10), random.below(palettes))
                .raw;
    }
    return entries;
}

romkit::TilesetSpec tileset(std::uint32_t seed, const Layout& layout, bool primary) {
    Random random(seed);
    romkit::TilesetSpec t;
    t.compressed = true;
    const int tiles = primary ? layout.primaryTiles : layout.secondaryTiles;
    t.tiles.assign(static_cast<std::size_t>(tiles) * 32, 0);
    for (int i = 1; i < tiles; ++i) {
        drawTile(random, t.tiles.data() + static_cast<std::size_t>(i) * 32);
    }
    for (int p = 0; p < 16; ++p) {
        t.palettes.push_back(p < kUsedPalettes ? palette(random)
                                               : std::array<std::uint16_t, 16>{});
    }
    // Primary blocks use the primary tiles and palettes; secondary blocks use either part.
    const int split = layout.family == romkit::Family::Frlg ? 7 : 6;
    for (int b = 0; b < tiles; ++b) {
        t.blocks.push_back(primary ? block(random, 0, layout.primaryTiles, split)
                                   : block(random, 0, 1024, kUsedPalettes));
    }
    return t;
}

// Areas that repeat a pattern of one to four blocks, then single blocks scattered over them.
std::vector<std::uint16_t> grid(Random& random, int width, int height, int firstBlock,
                                int blocks) {
    std::vector<std::uint16_t> cells(static_cast<std::size_t>(width) * height);
    const int areas = std::max(1, width * height / 120);
    for (int a = 0; a < areas; ++a) {
        const int w = a == 0 ? width : 2 + random.below(std::max(1, width / 2));
        const int h = a == 0 ? height : 2 + random.below(std::max(1, height / 2));
        const int x0 = a == 0 ? 0 : random.below(width);
        const int y0 = a == 0 ? 0 : random.below(height);
        const int pw = 1 + random.below(2);
        const int ph = 1 + random.below(2);
        const int first = firstBlock + random.below(blocks - 4);
        for (int y = y0; y < std::min(height, y0 + h); ++y) {
            for (int x = x0; x < std::min(width, x0 + w); ++x) {
                cells[static_cast<std::size_t>(y * width + x)] =
                    static_cast<std::uint16_t>(first + (y % ph) * pw + x % pw);
            }
        }
    }
    for (std::uint16_t& cell : cells) {
        if (random.chance(8)) {
            cell = static_cast<std::uint16_t>(firstBlock + random.below(blocks));
        }
        cell = GridEntry{cell}.withMovement(static_cast<std::uint8_t>(random.below(2) * 0xC)).raw;
    }
    return cells;
}

// The size of map n of the game, with the number of its secondary tileset and whether it is
// indoors (primary tileset 1).
struct MapShape {
    int width;
    int height;
    bool indoors;
};

MapShape shape(int n, int outdoor, int caves) {
    static constexpr std::array<std::pair<int, int>, 6> kTowns{
        {{24, 20}, {30, 30}, {40, 40}, {48, 40}, {60, 40}, {24, 24}}};
    static constexpr std::array<std::pair<int, int>, 5> kRoutes{
        {{24, 80}, {80, 20}, {24, 60}, {60, 20}, {40, 80}}};
    static constexpr std::array<std::pair<int, int>, 4> kWide{
        {{120, 40}, {104, 60}, {140, 24}, {128, 48}}};
    static constexpr std::array<std::pair<int, int>, 5> kCaves{
        {{30, 30}, {40, 40}, {48, 48}, {60, 60}, {20, 30}}};
    static constexpr std::array<std::pair<int, int>, 8> kRooms{
        {{10, 8}, {12, 10}, {14, 12}, {20, 20}, {24, 24}, {30, 30}, {40, 40}, {20, 16}}};
    std::pair<int, int> size;
    if (n < 4) {
        size = kWide[static_cast<std::size_t>(n)];
    } else if (n < outdoor) {
        size = n % 3 == 0 ? kTowns[static_cast<std::size_t>(n / 3 % 6)]
                          : kRoutes[static_cast<std::size_t>(n % 5)];
    } else if (n < outdoor + caves) {
        size = kCaves[static_cast<std::size_t>(n % 5)];
    } else {
        size = kRooms[static_cast<std::size_t>(n % 8)];
    }
    return {size.first, size.second, n >= outdoor + caves};
}

romkit::BuiltRom build(const Layout& layout) {
    romkit::RomBuilder b(layout.family, layout.title, layout.code, 16u << 20);
    b.addTileset(tileset(1, layout, true));   // outdoors and caves
    b.addTileset(tileset(2, layout, true));   // indoors
    for (int s = 0; s < layout.secondaries; ++s) {
        b.addTileset(tileset(100 + static_cast<std::uint32_t>(s), layout, false));
    }
    for (int i = 0; i < 200; ++i) {
        b.addMapName("PLACE " + std::to_string(i));
    }
    const int outdoor = layout.maps * 16 / 100;
    const int caves = layout.maps * 14 / 100;
    const int perBank = (layout.maps + layout.banks - 1) / layout.banks;
    Random random(7);
    for (int n = 0; n < layout.maps; ++n) {
        const MapShape s = shape(n, outdoor, caves);
        romkit::MapSpec m;
        m.bank = n / perBank;
        m.map = n % perBank;
        m.width = static_cast<std::uint16_t>(s.width);
        m.height = static_cast<std::uint16_t>(s.height);
        m.primary = s.indoors ? 1 : 0;
        // Neighbouring maps share a secondary tileset, as a town's houses do.
        const int third = layout.secondaries / 3;
        m.secondary = 2 + (s.indoors ? third + (n / 6) % (layout.secondaries - third)
                                     : (n / 3) % third);
        const int blocks = layout.primaryTiles + layout.secondaryTiles;
        m.grid = grid(random, s.width, s.height, 0, blocks);
        m.nameIndex = static_cast<std::uint8_t>(n % 200);
        b.addMap(m);
    }
    return b.build();
}

}  // namespace

romkit::BuiltRom buildFireRedSizedRom() {
    return build({romkit::Family::Frlg, "QUILLON FR", "BPRE", 640, 384, 48, 43, 425});
}

romkit::BuiltRom buildEmeraldSizedRom() {
    return build({romkit::Family::Rse, "QUILLON EM", "BPEE", 512, 512, 64, 34, 518});
}

}  // namespace quillon::bench
