#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/base/numbers.h"
#include "core/rom/rom_pointer.h"

namespace quillon {

// Where a game keeps the "show the name on entry" flag of a map header. Ruby/Sapphire: the
// whole byte 26 (0 or 1). Emerald: bits 3-7 of byte 26 (bits 0-2 allow bike, escape rope and
// running). FireRed/LeafGreen: bits 2-7 of byte 25 (bits 0-1 escape rope and running; their
// byte 26 is the floor number). The flag reads as set when any of its bits is; it is written
// as 1 or 0 in its bits, every other bit kept.
struct ShowNameBits {
    std::size_t byte = 26;
    std::uint8_t mask = 0xFF;
    int shift = 0;

    // gameCode3: the first three characters of the game code ("BPE" is Emerald).
    static ShowNameBits forGame(const std::string& gameCode3, bool frlg);
    bool read(std::uint8_t value) const { return (value & mask) != 0; }
    std::uint8_t write(std::uint8_t value, bool show) const {
        return static_cast<std::uint8_t>((value & ~mask) | (show ? 1u << shift : 0u));
    }
};

// The 28-byte map header: pointers to footer (0), events (4) and connections (12), music (16),
// name index (20), weather (22), type (23), show-name bits (25 or 26, see ShowNameBits). The
// raw bytes are kept so a field the editor does not interpret is never disturbed.
struct MapHeader {
    static constexpr std::size_t kSize = 28;
    std::array<std::uint8_t, kSize> raw{};

    static MapHeader decode(std::span<const std::uint8_t> bytes);
    std::uint32_t footerOffset() const { return readPointerField(&raw[0]); }
    std::uint32_t eventsOffset() const { return readPointerField(&raw[4]); }
    std::uint32_t connectionsOffset() const { return readPointerField(&raw[12]); }
    std::uint16_t music() const { return readLe16(&raw[16]); }
    std::uint8_t nameIndex() const { return raw[20]; }
    std::uint8_t weather() const { return raw[22]; }
    std::uint8_t type() const { return raw[23]; }
    bool showName(const ShowNameBits& bits) const { return bits.read(raw[bits.byte]); }
};

// The 24-byte map footer (layout): width and height (32 bits each, the low 16 bits kept),
// pointers to border (8), block grid (12) and the two tileset headers (16, 20).
struct MapFooter {
    static constexpr std::size_t kSize = 24;
    std::array<std::uint8_t, kSize> raw{};

    static MapFooter decode(std::span<const std::uint8_t> bytes);
    std::uint16_t width() const { return readLe16(&raw[0]); }
    std::uint16_t height() const { return readLe16(&raw[4]); }
    std::uint32_t borderOffset() const { return readPointerField(&raw[8]); }
    std::uint32_t gridOffset() const { return readPointerField(&raw[12]); }
    std::uint32_t tileset1Offset() const { return readPointerField(&raw[16]); }
    std::uint32_t tileset2Offset() const { return readPointerField(&raw[20]); }
};

}  // namespace quillon
