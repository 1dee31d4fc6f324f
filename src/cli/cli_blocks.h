#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace quillon {

class Session;

namespace cli {

// Opens map id and prints block `block` ("$" hex or decimal) of its tilesets as JSON:
// record_offset, entries (8 x tile, palette, xflip, yflip; lower layer first), tiles (the same
// entries as "block --set tiles=" takes them, cli_block_set.h), attribute_offset,
// behaviour and background (FireRed/LeafGreen: bits 0-8 and 29-30 of the attribute word).
void printBlock(Session& session, const std::string& id, const std::string& block,
                std::ostream& out);

// Opens map id and writes the tile picture of tileset part 1 or 2 in palette K with its
// palette file beside it, as the block editor's "TilesetN Speichern" does: a BMP, or an indexed
// PNG for a name ending in ".png"; the palette as 64 bytes, or JASC-PAL text when jasc is set
// or its name ends in ".jasc.pal". Prints the two file names.
void saveTileset(Session& session, const std::string& id, int part, int palette,
                 const std::filesystem::path& output, bool jasc, std::ostream& out);

// Opens map id and writes the picture file (an indexed PNG or BMP as saveTileset writes it)
// into the tiles of part 1 or 2: in place when the data fit, else at atText ("$" hex or
// decimal, a multiple of 4) with the tileset header pointing there; fill is the byte free
// space holds. Refused, writing nothing, when the picture does not fit the part or the data do
// not fit in place and no --at is given. Prints what was written as JSON: changed, compressed,
// offset (of the tile data), written_bytes and moved (whether the header points elsewhere).
void importTileset(Session& session, const std::string& id, int part, const std::string& file,
                   const std::string& atText, const std::string& fillText, std::ostream& out);

// Opens map id and writes the colours of a palette file (JASC-PAL, 64 bytes, or an indexed
// PNG's colour table) into palette `palette` of part 1 or 2. A count other than 16 is refused
// unless fit is set (then the first 16 are taken, or the palette's other colours kept).
void importPaletteFile(Session& session, const std::string& id, int part, int palette,
                       const std::string& file, bool fit, std::ostream& out);

}  // namespace cli
}  // namespace quillon
