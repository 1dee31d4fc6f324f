#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/blocks/palette_file.h"
#include "core/blocks/tileset_pictures.h"
#include "core/gfx/bitmap.h"

namespace quillon {

class TilesetPair;

namespace cli {

// What the tool takes from Qt (cli_qt_parts.cpp); a build without Qt (QUILLON_BUILD_UI=OFF,
// e.g. the Windows check) gets cli_qt_parts_none.cpp instead. userDataFolder()
// (cli_find_tables.h) is defined there as well: Qt's application data folder, which the editor
// uses; without Qt the same place worked out from the environment.

// The picture files the tool reads and writes, through Qt's image formats. Without Qt there is
// no picture output: each of these throws Error("<command>: this build has no picture output"),
// and every other command works.
namespace picture_files {

// Whether this build reads and writes pictures.
bool available();
// PNG for a name ending in .png, else BMP.
void saveBitmap(const Bitmap& picture, const std::filesystem::path& file);
// A tileset part's picture and its palette file; returns the two names written.
std::vector<std::string> exportTileset(const TilesetPair& tilesets, int part, int palette,
                                       const std::filesystem::path& output, bool jasc);
blocks::IndexedPicture readIndexedPicture(const std::string& file);
std::vector<blocks::PaletteColour> readPaletteColours(const std::string& file);

}  // namespace picture_files

}  // namespace cli

}  // namespace quillon
