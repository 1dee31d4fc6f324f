#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace quillon {

class TilesetPair;

namespace blocks {

// Where a game keeps the attributes of its blocks and how wide they are.
//
// Ruby, Sapphire, Emerald: tileset header +16 points at a table of 2 bytes per block.
//   behaviour  = byte 0 (bits 0-7 of the little-endian word), 00-FF
//   background = byte 1 (bits 8-15; the layer type lives in bits 12-15), 00-FF
// FireRed, LeafGreen: header +16 holds the tileset's code pointer, +20 points at a table of
// 4 bytes per block (a little-endian 32-bit word).
//   behaviour  = bits 0-8, 000-1FF
//   background = bits 29-30 (the layer type), 0-3
//   every other bit (terrain 9-13, 14-23, encounter type 24-26, 27-28, 31) is kept as read.
struct AttributeLayout {
    int headerField;    // the header offset of the table pointer
    int bytesPerBlock;  // 2 or 4
    int maxBehaviour;
    int maxBackground;
};
AttributeLayout attributeLayout(bool frlg);

// The two values the editor shows for a block's attributes.
struct BlockAttributes {
    int behaviour = 0;
    int background = 0;
    friend bool operator==(const BlockAttributes&, const BlockAttributes&) = default;
};

// bytes: the block's 2 or 4 attribute bytes (bytesPerBlock of the layout).
BlockAttributes decodeAttributes(bool frlg, std::span<const std::uint8_t> bytes);
// The block's attribute bytes with the two values put in and every other bit of old kept.
// Values outside the layout's ranges are the caller's fault (checked by parseAttributeField).
std::array<std::uint8_t, 4> encodeAttributes(bool frlg, std::span<const std::uint8_t> old,
                                             BlockAttributes values);

// Where block b's data lie. b < P (blocksPart1) is record b of part 1's tables, any other
// block record b - P of part 2's.
struct BlockPlace {
    int part = 1;
    int index = 0;                // the record's number within its part
    std::uint32_t record = 0;     // file offset of the 16-byte block record
    std::uint32_t attribute = 0;  // file offset of its attribute bytes
    int attributeBytes = 2;
};

// Blocks part (1 or 2) really has. The header names no count, but the games lay a tileset's
// block table right before its attribute table: the records up to that table, when it lies
// behind the block table; otherwise (or when they would be more) the part's slots, P for part
// 1, lastBlock() + 1 - P for part 2.
int partBlocks(const TilesetPair& tilesets, bool frlg, int part);
// Whether block has a record in its part's table (partBlocks); false outside 0..lastBlock().
bool blockInTables(const TilesetPair& tilesets, bool frlg, int block);
// The last block of part 2's table: what the block editor offers.
int lastBlockInTables(const TilesetPair& tilesets, bool frlg);

// A block of the loaded tilesets' tables (blockInTables). Throws Error naming the block when it
// lies outside them or no tilesets are loaded, and as attributeTable does: a save there would
// write past the part's table into other data.
BlockPlace blockPlace(const TilesetPair& tilesets, bool frlg, int block);
// The same without the attributes (attribute 0): what the block palette's hover text needs.
BlockPlace recordPlace(const TilesetPair& tilesets, int block);

// The file offset of part's attribute table, read from the header it was loaded from. Throws
// Error naming the tileset when the header holds no ROM pointer there.
std::uint32_t attributeTable(const TilesetPair& tilesets, bool frlg, int part);

// The editor's layer box shows the lower layer's quarters in its left half and the upper
// layer's in its right half: column 0-3, row 0-1 to entry 0-7 of the record, and back.
int tileBoxEntry(int column, int row);
struct TileBoxCell {
    int column;
    int row;
};
TileBoxCell tileBoxCell(int entry);

}  // namespace blocks
}  // namespace quillon
