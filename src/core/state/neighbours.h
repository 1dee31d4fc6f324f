#pragma once

#include "core/connections/neighbour_band.h"

namespace quillon {

class DataFiles;
class MapState;
class RomState;
class TRom;

// The connections of a map that the band shows at most (the connection window's limit); a
// longer table draws these and says so.
constexpr std::size_t kMaxNeighbours = 10;

// Draws the band around the open map (map): reads its connections and, for each of the first
// kMaxNeighbours at one of the four edges, the connected map as opening it would (header,
// footer, grid) and its two tilesets, each distinct pair of tileset numbers loaded once; the
// open map's own pair (romState) is used where the numbers match. Nothing of the open map's
// state changes. A map without cells gets no band (NeighbourBand::reset). A neighbour that is
// not in the bank table, or cannot be read, is left out with a warning; an unreadable
// connection table leaves the band blank with a warning. Throws only what drawing throws (out
// of memory): the ROM's data never make it fail.
NeighbourBand drawNeighbourBand(TRom& rom, const RomState& romState, const DataFiles& data,
                                const MapState& map);

}  // namespace quillon
