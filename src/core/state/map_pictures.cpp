#include "core/state/map_pictures.h"

#include "core/config/settings.h"
#include "core/gfx/map_renderer.h"
#include "core/gfx/movement_view.h"
#include "core/gfx/text_painter.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/block_grid.h"
#include "core/state/picture_buffers.h"

namespace quillon {

namespace {

// Movement labels without a font: the coloured squares alone.
class NoTextPainter final : public TextPainter {
public:
    void drawText(Bitmap&, int, int, std::string_view) override {}
};

NoTextPainter g_noText;

// Beyond this many cells one full redraw is cheaper than cell by cell.
constexpr int kCellRedrawLimit = 256;

}  // namespace

MapPictures::MapPictures(const TilesetPair& tilesets, BlockGrid& grid, const Settings& settings,
                         PictureBuffers& buffers)
    : m_tilesets(tilesets),
      m_grid(grid),
      m_settings(settings),
      m_map(buffers.map),
      m_blockPalette(buffers.blockPalette),
      m_movementView(buffers.movementView),
      m_movementPalette(buffers.movementPalette) {}

MapPictures::~MapPictures() = default;

void MapPictures::setTextPainter(TextPainter* painter) {
    m_textPainter = painter;
    m_movementTiles.reset();
    m_movementPaletteCurrent = false;
    m_movementViewCurrent = false;
}

const MovementTileCache& MapPictures::movementTiles() {
    if (!m_movementTiles) {
        m_movementTiles =
            std::make_unique<MovementTileCache>(m_textPainter ? *m_textPainter : g_noText);
    }
    return *m_movementTiles;
}

void MapPictures::invalidate() {
    m_mapCurrent = false;
    m_blockPaletteCurrent = false;
    m_movementViewCurrent = false;
}

const Bitmap& MapPictures::map() {
    if (!m_mapCurrent && m_enabled) {
        UpdateMap(m_tilesets, m_grid, m_settings.flag(Settings::Flag::Grid), m_map);
        m_mapCurrent = true;
        m_movementViewCurrent = false;
    }
    return m_map;
}

const Bitmap& MapPictures::blockPalette() {
    if (!m_blockPaletteCurrent && m_enabled) {
        UpdateBlockPalette(m_tilesets, m_settings.blockPaletteWidth(),
                           m_settings.flag(Settings::Flag::Grid), m_blockPalette);
        m_blockPaletteCurrent = true;
    }
    return m_blockPalette;
}

const Bitmap& MapPictures::movementView() {
    const Bitmap& picture = map();
    if (!m_movementViewCurrent && m_enabled) {
        buildMovementView(picture, m_grid, movementTiles(), m_movementView);
        m_movementViewCurrent = true;
    }
    return m_movementView;
}

const Bitmap& MapPictures::movementPalette() {
    if (!m_movementPaletteCurrent) {
        buildMovementPalette(movementTiles(), m_movementPalette);
        m_movementPaletteCurrent = true;
    }
    return m_movementPalette;
}

void MapPictures::cellsChanged(CellRect rect) {
    if (rect.empty() || !m_mapCurrent) {
        return;
    }
    if (rect.width * rect.height > kCellRedrawLimit || m_grid.cellCount() <= 1) {
        m_mapCurrent = false;
        m_movementViewCurrent = false;
        return;
    }
    const bool gridLines = m_settings.flag(Settings::Flag::Grid);
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            drawCell(m_tilesets, m_grid, x, y, gridLines, m_map);
            if (m_movementViewCurrent) {
                UpdateGehBlock(x, y, m_grid, m_map, movementTiles(), m_movementView);
            }
        }
    }
}

}  // namespace quillon
