#pragma once

#include <array>
#include <cstdint>

namespace quillon {

// One palette of 16 colours in the ROM: 16 GBA colours of 2 bytes.
inline constexpr std::uint32_t kPaletteBytes = 32;

class TRom;

// A GBA colour word (bits 0-4 red, 5-9 green, 10-14 blue; bit 15 ignored) as 0xFFRRGGBB,
// each component times 8 (0..248).
constexpr std::uint32_t GbaColourToRgb(std::uint16_t word) {
    const std::uint32_t r = (word & 0x1Fu) * 8;
    const std::uint32_t g = ((word >> 5) & 0x1Fu) * 8;
    const std::uint32_t b = ((word >> 10) & 0x1Fu) * 8;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// The sixteen palettes of sixteen colours shared by both tileset parts, each colour stored
// ready to draw (0xFFRRGGBB).
class TPalette {
public:
    static constexpr int kPalettes = 16;
    static constexpr int kColours = 16;

    // Palette p of the ROM lies at offset + 32 * p, colour i at + 2 * i (16-bit words).
    // Loads palettes first..last (clamped to 0..15) in one read; the others keep their
    // colours. Throws RomIoError when the palettes run past the end of the file.
    void LoadFromRom(TRom& rom, std::int32_t offset, int first, int last);

    std::uint32_t colour(int palette, int index) const {
        return Colours[static_cast<std::size_t>(palette & 15)]
                      [static_cast<std::size_t>(index & 15)];
    }

    std::array<std::array<std::uint32_t, kColours>, kPalettes> Colours{};
};

}  // namespace quillon
