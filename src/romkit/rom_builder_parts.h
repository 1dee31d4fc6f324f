#pragma once

#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "romkit/rom_builder.h"
#include "romkit/rom_image.h"

// The builder's layout steps, one per group of structures, shared by its source files.
namespace quillon::romkit::detail {

// Pictures, palettes, block, behaviour (and FireRed/LeafGreen attribute) tables of every
// tileset, then their 24-byte headers one after another. secondary[i] sets header byte 1.
std::vector<BuiltTileset> layTilesets(RomImage& image, Family family,
                                      const std::vector<TilesetSpec>& tilesets,
                                      const std::vector<bool>& secondary);

// Border, grid, footer, event header and map header of every map, in bank and map order; then
// the map tables of the banks, the empty closing bank's table and the bank table. Fills
// rom.maps, rom.mapTables and rom.bankTable.
void layMaps(RomImage& image, Family family, const std::map<std::pair<int, int>, MapSpec>& maps,
             const std::vector<BuiltTileset>& tilesets, BuiltRom& rom);

// The four event tables of a map back to back, then its event header (none for noEventHeader).
// Fills built.events and the table offsets. Throws std::invalid_argument past 255 records.
void layEvents(RomImage& image, const MapSpec& wanted, BuiltMap& built);

// Everything the sprite tables are made of, as the builder collected it.
struct SpriteTables {
    const std::vector<SpriteSpec>& sprites;
    const std::vector<std::pair<std::uint16_t, std::array<std::uint16_t, 16>>>& palettes;
    const std::optional<std::array<std::uint16_t, 10>>& slotTags;
    const std::vector<std::pair<std::uint32_t, std::uint16_t>>& specials;
};

// Pixels, frame tables, records and the header table of the sprites; the sprite palettes and
// their table; the slot tag list; the special palette table. Fills the sprite fields of rom.
void laySprites(RomImage& image, const SpriteTables& tables, BuiltRom& rom);

// The fly records, then the ending record or, unterminated, 300 records that end nothing.
// Returns the table's offset, 0 when there is nothing to write.
std::uint32_t layFlyTable(RomImage& image, const std::vector<std::array<std::uint8_t, 8>>& records,
                          bool unterminated);

// The slots and encounter record of every kind each map has, then the 20-byte headers and the
// end mark (bank and map 0xFF). Fills rom.wildTable and rom.wild; nothing without maps.
void layWildTable(RomImage& image, const std::vector<WildSpec>& maps, BuiltRom& rom);

}  // namespace quillon::romkit::detail
