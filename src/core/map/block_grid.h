#pragma once

#include <cstdint>
#include <vector>

namespace quillon {

// One 16-bit block grid entry: bits 0-9 block number, bits 10-15 movement value.
struct GridEntry {
    std::uint16_t raw = 0;

    constexpr std::uint16_t block() const { return raw & 0x3FF; }
    constexpr std::uint8_t movement() const { return static_cast<std::uint8_t>(raw >> 10); }
    constexpr GridEntry withBlock(std::uint16_t b) const {
        return {static_cast<std::uint16_t>((raw & 0xFC00) | (b & 0x3FF))};
    }
    constexpr GridEntry withMovement(std::uint8_t m) const {
        return {static_cast<std::uint16_t>((raw & 0x3FF) | ((m & 0x3F) << 10))};
    }
    friend constexpr bool operator==(GridEntry, GridEntry) = default;
};

// The block grid of the open map, row by row from the top left (cell (x, y) at y * width + x),
// and the movement array that map rendering refills from it. The editor holds at most
// kMaxCells cells; larger maps are refused when they are loaded.
struct BlockGrid {
    static constexpr int kMaxCells = 8001;

    std::uint16_t width = 1;
    std::uint16_t height = 1;
    std::vector<GridEntry> cells = std::vector<GridEntry>(kMaxCells);
    std::vector<std::uint8_t> movement = std::vector<std::uint8_t>(kMaxCells);

    int cellCount() const { return width * height; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    GridEntry& at(int x, int y) { return cells[static_cast<std::size_t>(y * width + x)]; }
    GridEntry at(int x, int y) const { return cells[static_cast<std::size_t>(y * width + x)]; }
};

}  // namespace quillon
