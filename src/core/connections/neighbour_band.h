#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/connections/connection_table.h"
#include "core/edit/cell_rect.h"
#include "core/gfx/bitmap.h"
#include "core/text/message.h"

namespace quillon {

class TilesetPair;
struct BlockGrid;

// How deep the band around the map is, in cells on every side. The game's screen shows seven
// cells beside the player and five above and below; eight cells hold everything a player
// standing at the map's edge sees of the map next door, and a little more.
constexpr int kNeighbourBandCells = 8;

// The band's colour where no neighbour lies; neighbours are blended halfway toward it.
constexpr std::uint32_t kNeighbourBlank = 0xFF202020u;

// A neighbour's colour as the band shows it: each channel halfway between its own value and
// kNeighbourBlank's (rounded down).
constexpr std::uint32_t dimmedColour(std::uint32_t colour) {
    return 0xFF000000u | (((colour & 0xFEFEFEu) >> 1) + ((kNeighbourBlank & 0xFEFEFEu) >> 1));
}

// The four edges a connection can name (directions 1-4); dive and emerge lead elsewhere.
bool isEdgeConnection(const Connection& connection);

// Where a neighbour lies, in cells of the open map (width x height) whose top-left cell is
// (0, 0): below (y = height) and above (y = -its height) it is shifted along x by the
// connection's offset, left (x = -its width) and right (x = width) along y.
CellRect neighbourPlace(const Connection& connection, int width, int height, int neighbourWidth,
                        int neighbourHeight);

// A neighbour drawn into the band.
struct NeighbourPlace {
    Connection connection;
    std::string identifier;  // "bank.map", as the map list names it
    CellRect cells;          // the whole neighbour, in cells of the open map
};

// Why a connected map is missing from the band.
struct NeighbourWarning {
    std::string identifier;  // "bank.map"; empty when the connection table itself is unreadable
    Message message;         // why the neighbour is not drawn
    // "Nachbar 0.3: <message>", or the message alone.
    Message text() const;
};

// The picture around the open map: margin cells on every side, the neighbours at their places,
// dimmed, the rest kNeighbourBlank. The map's own part is left blank; the map picture is drawn
// over it (composeNeighbourPicture, or the view that shows both). Drawn once per map open.
struct NeighbourBand {
    int margin = kNeighbourBandCells;
    int mapWidth = 0;  // the size in cells of the map it was drawn around
    int mapHeight = 0;
    // What it was drawn from: the map header's place and its connection pointer.
    std::uint32_t headerOffset = 0;
    std::uint32_t connectionsOffset = 0;
    Bitmap picture;
    std::vector<NeighbourPlace> neighbours;  // in the order drawn (later ones on top)
    std::vector<NeighbourWarning> warnings;

    // A blank band of kNeighbourBandCells cells around a width x height map; a map without
    // cells (width or height 0) gets none: margin 0, nothing around it.
    void reset(int width, int height);
    // Draws the neighbour's cells that fall into the band (outside the map's own cells),
    // dimmed, from its grid and tilesets as the map picture draws them (a map of one cell
    // shows block 0), and adds it to neighbours.
    void draw(const NeighbourPlace& place, const BlockGrid& grid, const TilesetPair& tilesets);
    // The neighbour shown at cell (x, y) of the open map, or nullptr (the map itself, a blank
    // spot, outside the band).
    const NeighbourPlace* neighbourAt(int x, int y) const;
    bool inBand(int x, int y) const;
};

// The map picture inside its band, as one picture: out = band.picture with map at
// (margin * 16, margin * 16). Throws Error when map is not the size the band was drawn for.
void composeNeighbourPicture(const NeighbourBand& band, const Bitmap& map, Bitmap& out);

}  // namespace quillon
