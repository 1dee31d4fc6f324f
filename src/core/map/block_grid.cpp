#include "core/map/block_grid.h"

#include "core/base/numbers.h"
#include "core/errors.h"

namespace quillon {

BlockGrid BlockGrid::decode(std::uint16_t width, std::uint16_t height,
                            std::span<const std::uint8_t> bytes) {
    BlockGrid grid;
    grid.width = width;
    grid.height = height;
    const int count = grid.cellCount();
    if (count > kMaxCells || bytes.size() < grid.byteSize()) {
        throw DataError(
            message("map.grid_too_large", {std::to_string(width), std::to_string(height)}));
    }
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        grid.cells[at].raw = readLe16(&bytes[at * kEntryBytes]);
        grid.movement[at] = grid.cells[at].movement();
    }
    return grid;
}

std::vector<std::uint8_t> BlockGrid::encode() const {
    std::vector<std::uint8_t> bytes(byteSize());
    for (int i = 0; i < cellCount(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        writeLe16(&bytes[at * kEntryBytes], cells[at].raw);
    }
    return bytes;
}

}  // namespace quillon
