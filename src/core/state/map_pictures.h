#pragma once

#include <memory>

#include "core/edit/cell_rect.h"
#include "core/gfx/bitmap.h"

namespace quillon {

class TilesetPair;
class TextPainter;
class MovementTileCache;
class Settings;
struct BlockGrid;
struct PictureBuffers;

// The pictures of the open map: map picture, block palette, movement view and movement
// palette. Each is drawn on demand into its buffer and kept until something it shows changes.
class MapPictures {
public:
    MapPictures(const TilesetPair& tilesets, BlockGrid& grid, const Settings& settings,
                PictureBuffers& buffers);
    ~MapPictures();

    // Nothing is drawn while no map is open.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    void setTextPainter(TextPainter* painter);

    const Bitmap& map();
    const Bitmap& blockPalette();
    const Bitmap& movementView();
    const Bitmap& movementPalette();

    // Everything drawn from the grid or the tilesets is drawn afresh on the next request.
    void invalidate();
    // The cells of rect changed (blocks or movement values): redraws just those in the
    // pictures that are current. Large areas fall back to a full redraw.
    void cellsChanged(CellRect rect);

private:
    const MovementTileCache& movementTiles();

    const TilesetPair& m_tilesets;
    BlockGrid& m_grid;
    const Settings& m_settings;
    bool m_enabled = false;
    TextPainter* m_textPainter = nullptr;
    std::unique_ptr<MovementTileCache> m_movementTiles;
    Bitmap& m_map;
    Bitmap& m_blockPalette;
    Bitmap& m_movementView;
    Bitmap& m_movementPalette;
    bool m_mapCurrent = false;
    bool m_blockPaletteCurrent = false;
    bool m_movementViewCurrent = false;
    bool m_movementPaletteCurrent = false;
};

}  // namespace quillon
