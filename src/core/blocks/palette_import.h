#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/blocks/palette_file.h"

namespace quillon {

struct CurrentMap;
class TilesetPair;
class TRom;

namespace blocks {

// A colour of 8-bit channels as the GBA stores it: each channel divided by 8 (the export
// multiplies by 8), red in bits 0-4, green 5-9, blue 10-14, bit 15 clear.
std::uint16_t gbaColourWord(PaletteColour colour);

// What to do with a file of more or fewer than 16 colours: refuse it, or take its first 16
// and leave the palette's other colours as they are.
enum class ColourCount { Refuse, Fit };

// Writes colours into palette `palette` (0-15) of the open map's tilesets as one transaction
// ("Palette laden 7"). The palette belongs to the part the game loads it from (part 1 palettes
// 0-5, FireRed/LeafGreen 0-6; part 2 the rest); it lies at the part's palette pointer + 32 x
// palette. Throws Error, writing nothing, for a palette of the other part, a count other
// than 16 under Refuse, and a palette outside the file. Nothing is written when the palette
// holds these colours already. The caller reads the tilesets again afterwards.
void importPalette(TRom& rom, const TilesetPair& tilesets, const CurrentMap& map, int part,
                   int palette, std::span<const PaletteColour> colours, ColourCount count,
                   const std::string& mapId);

}  // namespace blocks
}  // namespace quillon
