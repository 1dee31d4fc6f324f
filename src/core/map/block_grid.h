#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// One 16-bit block grid entry: bits 0-9 block number, bits 10-15 movement value.
struct GridEntry {
    static constexpr int kMaxBlock = 0x3FF;
    static constexpr int kMaxMovement = 0x3F;
    std::uint16_t raw = 0;

    constexpr std::uint16_t block() const { return raw & kMaxBlock; }
    constexpr std::uint8_t movement() const { return static_cast<std::uint8_t>(raw >> 10); }
    constexpr GridEntry withBlock(std::uint16_t b) const {
        return {static_cast<std::uint16_t>((raw & ~kMaxBlock) | (b & kMaxBlock))};
    }
    constexpr GridEntry withMovement(std::uint8_t m) const {
        return {static_cast<std::uint16_t>((raw & kMaxBlock) | ((m & kMaxMovement) << 10))};
    }
    friend constexpr bool operator==(GridEntry, GridEntry) = default;
};

// The block grid of the open map, row by row from the top left (cell (x, y) at y * width + x),
// and the movement array that the movement view shows (filled when the grid is read, kept in
// step by every edit, refilled by map rendering). The editor holds at most kMaxCells cells;
// larger maps are refused when they are loaded. In the ROM the grid is width * height
// little-endian 16-bit entries in the same order.
struct BlockGrid {
    static constexpr int kMaxCells = 8001;
    static constexpr int kEntryBytes = 2;

    std::uint16_t width = 1;
    std::uint16_t height = 1;
    std::vector<GridEntry> cells = std::vector<GridEntry>(kMaxCells);
    std::vector<std::uint8_t> movement = std::vector<std::uint8_t>(kMaxCells);

    int cellCount() const { return width * height; }
    std::size_t byteSize() const { return static_cast<std::size_t>(cellCount()) * kEntryBytes; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    int index(int x, int y) const { return y * width + x; }
    GridEntry& at(int x, int y) { return cells[static_cast<std::size_t>(index(x, y))]; }
    GridEntry at(int x, int y) const { return cells[static_cast<std::size_t>(index(x, y))]; }

    // A width x height grid from its ROM bytes (byteSize() of them); the movement array follows
    // the entries. The caller has checked width * height against kMaxCells.
    static BlockGrid decode(std::uint16_t width, std::uint16_t height,
                            std::span<const std::uint8_t> bytes);
    // The ROM bytes of the grid's cells.
    std::vector<std::uint8_t> encode() const;
};

}  // namespace quillon
