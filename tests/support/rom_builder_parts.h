#pragma once

#include <map>
#include <utility>
#include <vector>

#include "tests/support/rom_builder.h"
#include "tests/support/rom_image.h"

// The builder's layout steps, one per group of structures, shared by its source files.
namespace quillon::testing::detail {

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

}  // namespace quillon::testing::detail
