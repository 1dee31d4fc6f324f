#pragma once

#include <cstdint>

namespace quillon {

// One 16-bit tile entry of a block record: bits 0-9 the tile of the combined tile space,
// bit 10 X flip, bit 11 Y flip, bits 12-15 the palette.
struct TileEntry {
    static constexpr int kTileMask = 0x3FF;
    std::uint16_t raw = 0;

    constexpr int tile() const { return raw & kTileMask; }
    constexpr bool flipX() const { return (raw & 0x400) != 0; }
    constexpr bool flipY() const { return (raw & 0x800) != 0; }
    constexpr int palette() const { return raw >> 12; }

    static constexpr TileEntry make(int tile, bool flipX, bool flipY, int palette) {
        return {static_cast<std::uint16_t>((tile & kTileMask) | (flipX ? 0x400 : 0) |
                                           (flipY ? 0x800 : 0) | ((palette & 0xF) << 12))};
    }
    friend constexpr bool operator==(TileEntry, TileEntry) = default;
};

}  // namespace quillon
