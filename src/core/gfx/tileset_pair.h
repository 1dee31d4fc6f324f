#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/gfx/bitmap.h"
#include "core/gfx/palette.h"
#include "core/gfx/tgfx.h"
#include "core/gfx/tile_entry.h"
#include "core/text/message.h"

namespace quillon {

class IniFile;
class TRom;

// One part a map asks for: its tileset number (what the footer's pointer says) and the 24
// tileset header bytes read there.
struct TilesetRequest {
    int number = 0;
    std::span<const std::uint8_t, 24> header;
    // Where the header was read (0: not known); only error messages name it.
    std::uint32_t headerOffset = 0;
};

// The two tileset parts of the current map (part 1 primary, part 2 secondary) with their
// shared palettes and the block images, plus the tileset state the map loader keeps between
// maps. A part is read and decoded only when its number changes; the blocks of a kept part are
// composed again from their kept records then, since they may draw the other part's tiles and
// palettes.
//
// Tileset header (24 bytes): byte 0 compressed flag (exactly 1 = LZ77), then ROM pointers
// (low three bytes = file offset) to the tile picture (4), palettes (8) and block table (12);
// where the block attributes lie differs by game (core/blocks/block_place.h). Block record: 16
// bytes, eight tile entries (TileEntry), entries 0-3 lower layer, 4-7 upper, each in the order
// top-left, top-right, bottom-left, bottom-right.
class TilesetPair {
public:
    static constexpr int kSlots = 1025;
    static constexpr int kMaxBlock = 1024;
    static constexpr int kHeaderSize = 24;
    static constexpr int kRecordSize = 16;

    TilesetPair();

    // Forgets both parts' numbers, so the next load reads both. Block images are kept for
    // reuse.
    void reset();

    // Loads the parts whose number or header offset differs from the part loaded now (or every
    // part after reset() or a failed load): palettes (0-6 and
    // 7-15 on FireRed/LeafGreen, else 0-5 and 6-15), tile picture (decoded, drawn in palette
    // 2) and block images. Then, when any part changed: start palette ("Start Pal" of the
    // section "<number 1>" in Tilesets.ini, default 0, limited to 0-15), P = blocksPart1()
    // (640 FireRed/LeafGreen, else 512) and N = lastBlock() (1024 on FireRed, LeafGreen and
    // Emerald, else P + "Blocks" of the section "<number 2>", default 512; the sum is limited
    // to P..1024). Returns whether the block images were rebuilt (the caller then redraws the
    // block palette). tilesetHeight is the profile's tile rows of part 1, limited to 0-64.
    // The tile picture read stops at the end of the file; the rest of Data is zeroed.
    // Throws RomIoError (an offset past the end of the file, a palette or block table that runs
    // past it) and DataError (a broken LZ77 stream), each naming the tileset number, the piece
    // and its offset; after a throw no part counts as loaded.
    bool LoadTilesets(TRom& rom, TilesetRequest part1, TilesetRequest part2,
                      const IniFile& tilesetsIni, int tilesetHeight);

    // Renders block records into slots first..last (limited to 0..1024) from the block table
    // at tableOffset (record of slot s at + 16 * (s - first)), read in one piece. Creates
    // missing slots. Throws RomIoError when the table runs past the end of the file.
    void LoadTilesetTeil(TRom& rom, int first, int last, std::int32_t tableOffset);

    // Composes a block record into a 16 x 16 image: lower layer opaque, upper layer leaving out
    // every pixel whose colour equals colour 0 of that entry's palette; flips per entry.
    void composeBlock(std::span<const std::uint8_t, kRecordSize> record, Bitmap& out) const;
    // Draws the tile of one entry (its palette, mirrored as its flips say) with its top-left
    // pixel at (x, y) of out; keyed leaves out the pixels of colour 0's value. Unchecked: the
    // 8 x 8 square must lie inside out.
    void drawEntry(TileEntry entry, bool keyed, Bitmap& out, int x, int y) const;
    // A block record written into the ROM: its slot (0-1024) is composed again from record.
    // Throws IndexError for a slot outside the table.
    void replaceBlock(int slot, std::span<const std::uint8_t, kRecordSize> record);

    // Draws tile n (0-1023) of the combined tile space into its part's TileImage and returns
    // it: rows below tilesetHeight() belong to part 1, the rest to part 2.
    // Throws IndexError for n outside 0-1023.
    const Bitmap& DrawTileNumber(int n, int palette);

    // The image of block slot 0-1024, or nullptr while the slot has never been created.
    const Bitmap* blockImage(int slot) const;
    // Changes whenever any block image may have changed; unique among all pairs of the
    // process, so a copy drawn from the images knows whether it is still theirs.
    std::uint64_t imagesVersion() const { return m_imagesVersion; }

    int lastBlock() const { return m_lastBlock; }
    int blocksPart1() const { return m_blocksPart1; }
    int startPalette() const { return m_startPalette; }
    int tilesetHeight() const { return m_tilesetHeight; }

    // The number of the part loaded now; nothing before the first load. part is 1 or 2;
    // anything else throws IndexError.
    std::optional<int> tilesetNumber(int part) const;
    std::int32_t blockTableOffset(int part) const;
    // The 24 tileset header bytes the part was loaded from.
    const std::array<std::uint8_t, kHeaderSize>& header(int part) const;
    // ROM offset of block n's 16-byte record as the palette's status text shows it: counted
    // from part 1's block table for the blocks of both parts.
    std::int64_t blockRecordOffset(int block) const {
        return static_cast<std::int64_t>(block) * kRecordSize + blockTableOffset(1);
    }
    // Whether the last LoadTilesets kept this part as it was.
    bool partUnchanged(int part) const;
    const TGFX& gfx(int part) const;
    TGFX& gfx(int part);

    const TPalette& palette() const { return m_palette; }
    TPalette& palette() { return m_palette; }

private:
    struct PartState {
        std::optional<int> number;
        std::uint32_t headerOffset = 0;
        // What error messages name while the part loads: tileset 12 (header at $2D4C54).
        Message loading;
        std::int32_t blockTable = 0;
        std::array<std::uint8_t, kHeaderSize> header{};
        bool unchanged = false;
    };

    void loadPart(TRom& rom, int part, std::span<const std::uint8_t, kHeaderSize> header,
                  bool frlg);
    void readTilePicture(TRom& rom, TGFX& gfx, std::int32_t offset);
    void LoadTileset(TRom& rom);
    // Whether the record draws a tile or a palette of part index (0 or 1); palettes below
    // split come from part index 0.
    bool drawsFromPart(std::span<const std::uint8_t, kRecordSize> record, int index,
                       int split) const;
    const std::uint8_t* tileData(int n) const;
    static int partIndex(int part);
    void imagesChanged();

    TPalette m_palette;
    TGFX m_gfx[2];
    PartState m_parts[2];
    std::vector<Bitmap> m_blocks;
    // The record each slot was composed from, so a kept part's blocks can be composed again
    // when the other part changes.
    std::vector<std::array<std::uint8_t, kRecordSize>> m_records;
    int m_blocksPart1 = 512;
    int m_lastBlock = 0;
    int m_startPalette = 0;
    int m_tilesetHeight = 32;
    std::uint64_t m_imagesVersion = 0;
};

}  // namespace quillon
