#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/base/numbers.h"

namespace quillon {

// The 28-byte map header: pointers to footer (0), events (4) and connections (12), music (16),
// name index (20), weather (22), type (23), show-name byte (26). The raw bytes are kept so a
// field the editor does not interpret is never disturbed.
struct MapHeader {
    static constexpr std::size_t kSize = 28;
    std::array<std::uint8_t, kSize> raw{};

    static MapHeader decode(std::span<const std::uint8_t> bytes);
    std::uint32_t footerOffset() const { return readPointer24(&raw[0]); }
    std::uint32_t eventsOffset() const { return readPointer24(&raw[4]); }
    std::uint32_t connectionsOffset() const { return readPointer24(&raw[12]); }
    std::uint16_t music() const { return readLe16(&raw[16]); }
    std::uint8_t nameIndex() const { return raw[20]; }
    std::uint8_t weather() const { return raw[22]; }
    std::uint8_t type() const { return raw[23]; }
    bool showName() const { return raw[26] != 0; }
};

// The 24-byte map footer (layout): width and height (32 bits each, the low 16 bits kept),
// pointers to border (8), block grid (12) and the two tileset headers (16, 20).
struct MapFooter {
    static constexpr std::size_t kSize = 24;
    std::array<std::uint8_t, kSize> raw{};

    static MapFooter decode(std::span<const std::uint8_t> bytes);
    std::uint16_t width() const { return readLe16(&raw[0]); }
    std::uint16_t height() const { return readLe16(&raw[4]); }
    std::uint32_t borderOffset() const { return readPointer24(&raw[8]); }
    std::uint32_t gridOffset() const { return readPointer24(&raw[12]); }
    std::uint32_t tileset1Offset() const { return readPointer24(&raw[16]); }
    std::uint32_t tileset2Offset() const { return readPointer24(&raw[20]); }
};

}  // namespace quillon
