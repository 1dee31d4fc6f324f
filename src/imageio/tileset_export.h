#pragma once

#include <QString>

namespace quillon {
class TilesetPair;
}

namespace quillon::imageio {

// What one tileset export wrote.
struct TilesetFiles {
    QString picture;
    QString palette;
};

// Saves the tile picture of part 1 or 2 in palette `palette` (0-15) under picturePath and that
// palette beside it (the picture's name with ".pal" for its extension):
// - picture: a 24-bit BMP; a name ending in ".png" gives an indexed PNG instead, whose 16-colour
//   table is exactly the palette and whose pixel values are the tiles' colour indices;
// - palette: 64 bytes (16 x red, green, blue, 0); JASC-PAL text when jasc is set or the palette
//   name ends in ".jasc.pal".
// Each file is written to a temporary file and renamed over its name only when complete, so a
// failed write leaves an existing file as it was. Throws quillon::Error naming the file that
// could not be written (when that is the palette, the picture has been saved).
TilesetFiles exportTileset(const TilesetPair& tilesets, int part, int palette,
                           const QString& picturePath, bool jasc);

}  // namespace quillon::imageio
