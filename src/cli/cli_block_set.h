#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/gfx/tile_entry.h"

namespace quillon {

class Session;

namespace blocks {
struct BlockData;
}

namespace cli {

// The help texts of "block --set".
inline constexpr const char* kBlockSetHelp =
    "FIELD=VALUE to write, several in one argument separated by commas: tiles=ENTRIES, "
    "behaviour=N, background=N ($ or 0x for hex); the fields not given stay";
inline constexpr const char* kBlockSetFooter =
    "N counts the blocks of both tilesets as \"blocks\" draws them: the primary tileset's first, "
    "then the secondary's. ENTRIES are the block's 8 tile entries, lower layer first, exactly "
    "as \"block\" prints them in \"tiles\": TILE:PALETTE, with :x, :y or :xy for the flips "
    "(tile 0 to 1023, palette 0 to 15), separated by commas; \"-\" keeps an entry. The "
    "\"entries\" list it prints is taken too (tiles='[{\"tile\":1,...},...]'). behaviour and "
    "background: 0 to 255 each (FireRed/LeafGreen: 0 to 511 and 0 to 3). Example: --set "
    "'tiles=1:2,1:2,1:2:x,1:2:x,-,-,-,-,behaviour=$10'. The block is written as one step of the "
    "history (undo takes it back) and printed again.";

// The eight tile entries of a block as "block" prints them in "tiles" and "--set tiles="
// takes them: lower layer first, separated by commas, each TILE:PALETTE with ":x", ":y" or
// ":xy" for its flips ("26:2,27:2:x,..."); tile 0 to 1023, palette 0 to 15, decimal or $hex.
std::string tilesText(const blocks::BlockData& block);

// The block as JSON: record_offset, entries (8 x tile, palette, xflip, yflip), tiles (the same
// as tilesText), attribute_offset, behaviour and background.
void printBlockData(const blocks::BlockData& data, std::ostream& out);

// What one "--set" gives: the entries to write (none: keep that entry) and the two attribute
// values as typed (numbers; their range depends on the game).
struct BlockSettings {
    std::optional<std::array<std::optional<TileEntry>, 8>> tiles;
    std::optional<std::string> behaviour;
    std::optional<std::string> background;
};

// Reads the --set arguments: FIELD=VALUE, several in one argument separated by commas
// ("tiles=...,behaviour=$10"). tiles takes the text tilesText prints (an entry "-" keeps the
// block's own) or the "entries" list of "block" as JSON. Throws Error naming what is wrong:
// an unknown or repeated field, a value that is no number, a tile or palette out of range.
BlockSettings parseBlockSettings(const std::vector<std::string>& settings);

// Opens map id and writes the given fields of block `block` ("$" hex or decimal, numbered as
// "blocks" and "block" number them) as the block editor's "Speichern" does: one transaction,
// the other fields as the ROM holds them. Everything is checked before the first byte: the
// block must have a record in its tileset's table, behaviour and background lie in the game's
// ranges. Prints the block as "block" does afterwards.
void setBlock(Session& session, const std::string& id, const std::string& block,
              const std::vector<std::string>& settings, std::ostream& out);

}  // namespace cli
}  // namespace quillon
