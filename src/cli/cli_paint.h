#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class Session;

namespace cli {

// The help texts of "paint".
inline constexpr const char* kPaintHelp =
    "Paint blocks and movement values into map cells and save the map";
inline constexpr const char* kPaintCellsHelp =
    "X,Y=BLOCK or X,Y=BLOCK:MOVEMENT, one or more: X and Y in blocks from the top left, BLOCK "
    "one of the map's tilesets (0 to the block palette's last), MOVEMENT 0 to 63; decimal, $ or "
    "0x for hex.";
inline constexpr const char* kPaintFooter =
    "The cells are painted as the Map tab paints them and the map is saved as Save does: its "
    "grid and events where they are, all cells of the call one step of the history (undo "
    "takes them back). Every cell is checked before the first byte; a map without a footer of "
    "its own, or one changed in the ROM since it was read, is refused. Prints cells, changed "
    "(cells that hold something new) and grid_offset as JSON. Example: paint demo.gba 0.0 "
    "3,4=5 '0,0=$1A:1'";

// One cell of "paint": X,Y=BLOCK or X,Y=BLOCK:MOVEMENT, numbers decimal or $hex; X and Y count
// the map's blocks from the top left. text keeps the cell as typed for the messages.
struct PaintCell {
    std::string text;
    int x = 0;
    int y = 0;
    int block = 0;
    std::optional<int> movement;
};

// Reads the cells as typed. Throws Error for a cell that is malformed or holds no numbers.
std::vector<PaintCell> parsePaintCells(const std::vector<std::string>& cells);

// Opens map id, paints the cells as the Map tab paints with the block palette (and the
// Movement tab with a movement value) and saves the map as "Speichern" does: grid and events
// in one transaction. Everything is checked before the first byte: every cell inside the
// map, each block among those of the map's two tilesets (the palette's 0 to its last block),
// each movement value 0 to 63, no cell twice, and what saving the map requires (a footer of
// its own, the map unchanged in the ROM since it was read). Prints the count of cells
// painted and changed and the grid's offset as JSON.
void paintMap(Session& session, const std::string& id, const std::vector<std::string>& cells,
              std::ostream& out);

}  // namespace cli
}  // namespace quillon
