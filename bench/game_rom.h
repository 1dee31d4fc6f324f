#pragma once

#include <filesystem>

#include "romkit/rom_builder.h"

namespace quillon::bench {

// A ROM laid out like a retail game of the FireRed family for the whole-game picture runs: a
// 16 MiB image with "BPRE" as its code, 425 maps in 43 banks at the games' sizes (rooms of
// 10 x 8 to 40 x 40, caves up to 60 x 60, towns up to 60 x 40, routes of 24 x 80 and 80 x 20,
// four maps over 100 blocks wide), two primary tilesets of 640 blocks and 48 secondary ones of
// 384, each with 13 palettes of distinct colours and an LZ77-compressed tile picture of tile
// art with runs, noise and flips. Grids are made of areas that repeat a few blocks, with
// scattered single blocks, as maps are drawn.
romkit::BuiltRom buildFireRedSizedRom();

// The same for the Ruby family: "BPEE", 518 maps in 34 banks, 512 + 512 blocks per pair.
romkit::BuiltRom buildEmeraldSizedRom();

}  // namespace quillon::bench
