#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/gfx/bitmap.h"

namespace quillon {

class TextPainter;
struct BlockGrid;

constexpr int kMovementValues = 64;

// The fixed colour of each movement value (0xFFRRGGBB).
extern const std::array<std::uint32_t, kMovementValues> kMovementColours;

// The label of a movement value: upper-case hex, at least one digit ("0" .. "F", "10" .. "3F").
std::string movementLabel(int value);
// Where the label starts in its tile: x = 4 for 0-15, 2 for 16, 3 for 17, 1 for 18-31, 0 above.
int movementLabelX(int value);

// The 16 x 16 tile of a movement value (0-63): its colour with its label at (labelX, 0).
// Throws IndexError for other values.
Bitmap MovementTile(int value, TextPainter& painter);

// The 64 movement tiles, drawn once (they never change); build one and keep it.
class MovementTileCache {
public:
    explicit MovementTileCache(TextPainter& painter);
    // Unchecked: 0 <= value < 64.
    const Bitmap& tile(int value) const { return m_tiles[static_cast<std::size_t>(value)]; }

private:
    std::array<Bitmap, kMovementValues> m_tiles;
};

// The movement palette: 16 x 1024, tile v at (0, 16 v), unblended.
void buildMovementPalette(const MovementTileCache& tiles, Bitmap& out);

// The movement view: the map picture's size, each cell (x, y) the movement tile of the
// movement array's value blended with the map picture, (2 * tile + map) / 3 per channel
// (integer division). Cells outside the map picture are clipped; a cell whose value is above
// 63 shows the map picture unblended. Throws DataError when the grid exceeds its arrays.
void buildMovementView(const Bitmap& mapPicture, const BlockGrid& grid,
                       const MovementTileCache& tiles, Bitmap& out);

// Redraws cell (x, y) of the movement view after its movement value changed and returns the
// changed pixel rectangle (empty when the cell lies outside the map or its value is above 63).
// view must have the map picture's size (as buildMovementView made it).
PixelRect UpdateGehBlock(int x, int y, const BlockGrid& grid, const Bitmap& mapPicture,
                         const MovementTileCache& tiles, Bitmap& view);

// One channel-wise blend of a tile pixel over a map pixel: (2 * tile + map) / 3 per channel.
std::uint32_t blendMovementPixel(std::uint32_t tile, std::uint32_t map);

}  // namespace quillon
