#pragma once

#include "romkit/rom_builder.h"

namespace quillon::bench {

// A ROM of game size: 16 MiB, 32 banks of 16 maps, 400 map names, 411 species names, four
// tileset pairs with compressed pictures. Maps (0, 0) and (0, 1) are 89 x 89 with different
// tileset pairs; (0, 2) is 89 x 89 with the pair of (0, 0), block 7 in every cell.
// The three large maps carry 40 events of each kind.
romkit::BuiltRom buildBigRom();

// A program folder with the ROM file "big.gba", made once per process.
const std::filesystem::path& bigRomFolder();

// A tileset of `blocks` blocks with a compressed 512-tile picture and 16 palettes; seed makes
// each one differ.
romkit::TilesetSpec benchTileset(int seed, int blocks);

// A program folder named after name with the ROM file "rom.gba" that build makes, made once
// per process and removed when it ends.
const std::filesystem::path& romFolder(const std::string& name, romkit::BuiltRom (*build)());

}  // namespace quillon::bench
