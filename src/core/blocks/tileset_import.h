#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/blocks/tileset_pictures.h"
#include "core/rom/placement.h"

namespace quillon {

struct CurrentMap;
struct GameProfile;
class TilesetPair;
class TRom;

namespace blocks {

// A tileset part's picture brought back into the ROM. The picture is what the export writes:
// 128 pixels (16 tiles) wide, one row of tiles per 8 pixels, every pixel a colour index 0-15
// that becomes the tile's 4-bit pixel. Tiles the picture does not reach keep what the part
// holds. The tile data are stored as the part's tileset header says (byte 0 = 1: LZ77).

// What an import would write, worked out before the first byte.
struct TileImport {
    int part = 1;
    int number = 0;             // the part's tileset number, for the transaction's name
    std::uint32_t header = 0;   // file offset of the part's 24-byte tileset header
    std::uint32_t oldData = 0;  // file offset of the tile data now
    bool compressed = false;
    bool changed = false;  // whether any tile differs from what the part holds
    // The whole tile data as they would lie at a new place: the raw tiles of the part, or the
    // LZ77 stream padded to 4 bytes.
    std::vector<std::uint8_t> data;
    // The writes of an import in place: the runs of changed raw tiles, or the new stream
    // (unpadded) over the old one. Each range's bytes start at inPlaceBytes[i].
    std::vector<RomRange> inPlace;
    std::vector<std::vector<std::uint8_t>> inPlaceBytes;
    // Why the data cannot stay where they are; nullopt when they fit.
    std::optional<Message> notInPlace;
    // What the write must not touch: both parts' headers, palettes, block and attribute tables.
    std::vector<RomRange> reliedOn;
    std::uint32_t oldPlaceSize = 0;  // raw: the part's bytes; compressed: the old stream
};

// Checks the picture against part 1 or 2 of the loaded tilesets (map names the tileset
// headers through its footer) and works out the data; raw tile data end before the data of
// any other tileset of the profile's table. Throws Error, naming the reason, for a
// picture of another width than 128, a height that is no multiple of 8 or holds more tile
// rows than the part, a colour index of 16 or more (naming the first tile and pixel), and
// for tile data that cannot be read (DataError for a broken LZ77 stream). Writes nothing.
TileImport planTileImport(TRom& rom, const GameProfile& profile, const TilesetPair& tilesets,
                          const CurrentMap& map, int part, const IndexedPicture& picture);

// The placement check of a new place for the whole data (data.size() bytes at offset, a
// multiple of 4 as the games' decompression needs): throws Error naming the reason.
void checkTilePlace(TRom& rom, const TileImport& plan, std::uint32_t offset, std::uint8_t fill);

// Writes the import as one transaction ("Tileset laden 3"): in place when at is nullopt
// (refused with notInPlace when the data do not fit), else the whole data at *at and then
// the header's tile pointer. Everything is checked before the first byte; nothing is written
// when nothing changed. The caller reads the tilesets again afterwards.
void importTiles(TRom& rom, const TileImport& plan, std::optional<std::uint32_t> at,
                 std::uint8_t fill, const std::string& mapId);

}  // namespace blocks
}  // namespace quillon
