#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/blocks/block_place.h"
#include "core/gfx/tile_entry.h"

namespace quillon {

class MapState;
class TilesetPair;
class TRom;

namespace blocks {

// One block as the ROM holds it: where it lies, its 16-byte record (eight tile entries, lower
// layer first) and its attribute bytes (place.attributeBytes of them).
struct BlockData {
    int block = 0;
    bool frlg = false;
    BlockPlace place;
    std::array<std::uint8_t, 16> record{};
    std::array<std::uint8_t, 4> attributes{};

    TileEntry entry(int index) const;
    void setEntry(int index, TileEntry entry);
    BlockAttributes values() const;
};

// Reads block `block` of the loaded tilesets. Throws Error for a block outside them and
// RomIoError when its record or attributes lie past the end of the file.
BlockData readBlock(TRom& rom, const TilesetPair& tilesets, int block);

// The text of one of the editor's hex fields: "" counts as 0. Throws Error naming the field
// (the id of its name, "block.field.behaviour") when the text is not a hex number or lies
// above max.
int parseAttributeField(const std::string& text, int max, const char* field);

// What the editor saves: the block, its edited record and the two fields as typed.
struct BlockChange {
    int block = 0;
    std::array<std::uint8_t, 16> record{};
    std::string behaviour;
    std::string background;
};

// Writes the block's record and attribute bytes as one transaction ("Block speichern $205"),
// record first. Everything is checked before the first byte: the block, both fields against
// the game's ranges (00-FF / 00-FF; FireRed/LeafGreen 000-1FF / 0-3), the record and the
// attributes inside the file and behind the cartridge header. The attribute bits the fields
// do not show are written as the ROM holds them. Then the block's image in the tileset pair
// is composed anew and the open map's pictures are redrawn on their next request. Throws
// Error for a refusal (nothing written), RomIoError when writing fails.
void saveBlock(TRom& rom, TilesetPair& tilesets, MapState& map, const BlockChange& change);

}  // namespace blocks
}  // namespace quillon
