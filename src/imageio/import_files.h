#pragma once

#include <QString>
#include <vector>

#include "core/blocks/palette_file.h"
#include "core/blocks/tileset_pictures.h"

namespace quillon::imageio {

// The files the block editor's "Tileset Laden" and "Palette Laden" read, as the export writes
// them (the checks against the tileset are the core's).

// The colour indices of an indexed picture (PNG or BMP with a colour table of up to 256
// colours; 1, 4 or 8 bits a pixel). Throws Error for a file that cannot be read as a picture
// and for a truecolour picture, whose pixels name no palette index.
blocks::IndexedPicture readIndexedPicture(const QString& path);

// The colours of a palette file: the colour table of a PNG (told by its first bytes), else a
// JASC-PAL text or a 64-byte palette (blocks::readPaletteFile). Throws Error for a file that
// cannot be read, a truecolour PNG and a palette file of another form or size.
std::vector<blocks::PaletteColour> readPaletteColours(const QString& path);

}  // namespace quillon::imageio
