#include "core/gfx/map_renderer.h"

#include <string>

#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/block_grid.h"

namespace quillon {

namespace {


// Draws the image of block slot `slot` at (x, y); an empty slot leaves black.
void drawBlock(const TilesetPair& tilesets, int slot, int x, int y, Bitmap& out) {
    if (const Bitmap* image = tilesets.blockImage(slot)) {
        out.blit(*image, x, y);
    } else {
        out.fillRect(x, y, kBlockPixels, kBlockPixels, kBlack);
    }
}

void checkGrid(const BlockGrid& grid) {
    const auto cells = static_cast<std::size_t>(grid.cellCount());
    if (cells > grid.cells.size() || cells > grid.movement.size()) {
        throw DataError(message("picture.grid_larger",
                                {std::to_string(grid.width), std::to_string(grid.height)}));
    }
}

}  // namespace

void UpdateMap(const TilesetPair& tilesets, BlockGrid& grid, bool gridLines, Bitmap& out) {
    checkGrid(grid);
    const int w = grid.width;
    const int h = grid.height;
    out.resize(w * kBlockPixels, h * kBlockPixels);
    if (w * h <= 1) {
        out.fill(kBlack);
        drawBlock(tilesets, 0, 0, 0, out);
        return;
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const auto i = static_cast<std::size_t>(y * w + x);
            grid.movement[i] = grid.cells[i].movement();
            drawBlock(tilesets, grid.cells[i].block(), x * kBlockPixels, y * kBlockPixels, out);
        }
    }
    if (gridLines) {
        for (int r = 0; r < h; ++r) {
            out.drawHorizontalLine(r * kBlockPixels, 0, out.width());
        }
        for (int q = 0; q < w; ++q) {
            out.drawVerticalLine(q * kBlockPixels, 0, out.height());
        }
    }
}

PixelRect drawCell(const TilesetPair& tilesets, const BlockGrid& grid, int x, int y, bool gridLines,
                   Bitmap& out) {
    checkGrid(grid);
    if (!grid.contains(x, y)) {
        return {};
    }
    const PixelRect cell{x * kBlockPixels, y * kBlockPixels, kBlockPixels, kBlockPixels};
    if (grid.cellCount() <= 1) {
        drawBlock(tilesets, 0, 0, 0, out);
        return clipRect(cell, out.width(), out.height());
    }
    drawBlock(tilesets, grid.at(x, y).block(), cell.x, cell.y, out);
    if (gridLines) {
        // The map grid's lines run along each cell's top and left edges.
        out.drawHorizontalLine(cell.y, cell.x, cell.x + kBlockPixels);
        out.drawVerticalLine(cell.x, cell.y, cell.y + kBlockPixels);
    }
    return clipRect(cell, out.width(), out.height());
}

void UpdateBlockPalette(const TilesetPair& tilesets, int width, bool gridLines, Bitmap& out) {
    if (width <= 0 || width > kMaxBlockPaletteWidth) {
        throw Error(message("picture.palette_width",
                            {std::to_string(kMaxBlockPaletteWidth), std::to_string(width)}));
    }
    const int last = tilesets.lastBlock();
    const int rows = last / width + 1;
    out.resize(width * kBlockPixels, rows * kBlockPixels);
    out.fill(kBlack);
    for (int s = 0; s <= last; ++s) {
        if (const Bitmap* image = tilesets.blockImage(s)) {
            out.blit(*image, (s % width) * kBlockPixels, (s / width) * kBlockPixels);
        }
    }
    if (gridLines) {
        for (int r = 1; r <= last / width; ++r) {
            out.drawHorizontalLine(r * kBlockPixels, 0, out.width());
        }
        for (int q = 1; q < width; ++q) {
            out.drawVerticalLine(q * kBlockPixels, 0, out.height());
        }
    }
}

}  // namespace quillon
