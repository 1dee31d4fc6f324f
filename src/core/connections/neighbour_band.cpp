#include "core/connections/neighbour_band.h"

#include <algorithm>
#include <string>

#include "core/errors.h"
#include "core/gfx/bitmap.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/block_grid.h"

namespace quillon {

namespace {


// Far enough outside any band that a clamped place still misses it: offsets are 32-bit in the
// ROM, the cells of a picture are not.
constexpr long long kFarAway = 1 << 24;

int clampPlace(long long value) { return static_cast<int>(std::clamp(value, -kFarAway, kFarAway)); }

bool contains(const CellRect& r, int x, int y) {
    return x >= r.x && y >= r.y && x - r.x < r.width && y - r.y < r.height;
}

// Copies a 16 x 16 block image into the band, dimmed; an empty slot shows as black does.
void drawDimmedBlock(const Bitmap* image, int px, int py, Bitmap& out) {
    for (int j = 0; j < kBlockPixels; ++j) {
        std::uint32_t* row = out.row(py + j) + px;
        const std::uint32_t* source = image ? image->row(j) : nullptr;
        for (int i = 0; i < kBlockPixels; ++i) {
            row[i] = dimmedColour(source ? source[i] : kBlack);
        }
    }
}

}  // namespace

bool isEdgeConnection(const Connection& connection) {
    return connection.direction >= static_cast<std::uint32_t>(ConnectionDirection::Down) &&
           connection.direction <= static_cast<std::uint32_t>(ConnectionDirection::Right);
}

CellRect neighbourPlace(const Connection& connection, int width, int height, int neighbourWidth,
                        int neighbourHeight) {
    const long long offset = connection.offset;
    long long x = 0;
    long long y = 0;
    switch (static_cast<ConnectionDirection>(connection.direction)) {
        case ConnectionDirection::Down:
            x = offset;
            y = height;
            break;
        case ConnectionDirection::Up:
            x = offset;
            y = -static_cast<long long>(neighbourHeight);
            break;
        case ConnectionDirection::Left:
            x = -static_cast<long long>(neighbourWidth);
            y = offset;
            break;
        case ConnectionDirection::Right:
            x = width;
            y = offset;
            break;
        default:
            return {};
    }
    return {clampPlace(x), clampPlace(y), neighbourWidth, neighbourHeight};
}

Message NeighbourWarning::text() const {
    if (identifier.empty()) {
        return message;
    }
    return quillon::message("neighbour.warning", {identifier, message});
}

void NeighbourBand::reset(int width, int height) {
    mapWidth = width;
    mapHeight = height;
    // A footer may give a map no cells (a width or a height of 0) and the other side up to
    // 65535: a band around it would show nothing and still take a gigabyte.
    margin = width > 0 && height > 0 ? kNeighbourBandCells : 0;
    neighbours.clear();
    warnings.clear();
    picture.resize((width + 2 * margin) * kBlockPixels, (height + 2 * margin) * kBlockPixels);
    picture.fill(kNeighbourBlank);
}

bool NeighbourBand::inBand(int x, int y) const {
    const bool inPicture =
        x >= -margin && y >= -margin && x < mapWidth + margin && y < mapHeight + margin;
    const bool inMap = x >= 0 && y >= 0 && x < mapWidth && y < mapHeight;
    return inPicture && !inMap;
}

void NeighbourBand::draw(const NeighbourPlace& place, const BlockGrid& grid,
                         const TilesetPair& tilesets) {
    const CellRect& at = place.cells;
    // Only the cells of the neighbour that the band holds.
    const int x0 = std::max(at.x, -margin);
    const int y0 = std::max(at.y, -margin);
    const int x1 = static_cast<int>(
        std::min<long long>(static_cast<long long>(at.x) + at.width, mapWidth + margin));
    const int y1 = static_cast<int>(
        std::min<long long>(static_cast<long long>(at.y) + at.height, mapHeight + margin));
    const bool single = grid.cellCount() <= 1;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!inBand(x, y)) {
                continue;
            }
            const int block = single ? 0 : grid.at(x - at.x, y - at.y).block();
            drawDimmedBlock(tilesets.blockImage(block), (x + margin) * kBlockPixels, (y + margin) * kBlockPixels,
                            picture);
        }
    }
    neighbours.push_back(place);
}

const NeighbourPlace* NeighbourBand::neighbourAt(int x, int y) const {
    if (!inBand(x, y)) {
        return nullptr;
    }
    for (auto it = neighbours.rbegin(); it != neighbours.rend(); ++it) {
        if (contains(it->cells, x, y)) {
            return &*it;
        }
    }
    return nullptr;
}

void composeNeighbourPicture(const NeighbourBand& band, const Bitmap& map, Bitmap& out) {
    if (map.width() != band.mapWidth * kBlockPixels || map.height() != band.mapHeight * kBlockPixels) {
        throw Error(message("neighbour.other_size",
                            {std::to_string(band.mapWidth), std::to_string(band.mapHeight)}));
    }
    out = band.picture;
    out.blit(map, band.margin * kBlockPixels, band.margin * kBlockPixels);
}

}  // namespace quillon
