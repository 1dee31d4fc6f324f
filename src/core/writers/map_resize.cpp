#include "core/writers/map_resize.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/state/map_places.h"
#include "core/state/map_state.h"
#include "core/state/map_state_check.h"
#include "core/rom/free_space.h"
#include "core/rom/placement.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr std::uint32_t kBytesBeforeGrid = 8;
constexpr std::uint32_t kBytesAroundGrid = 32;
constexpr std::uint32_t kGridAlignment = 2;

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

void requireResizableMap(const MapState& state) {
    if (!state.loaded()) {
        throw Error(message("edit.no_map"));
    }
    if (!state.map().hasFooter()) {
        throw Error(message("resize.no_footer", {state.map().identifier}));
    }
}

// The grid lies 8 bytes behind the chosen offset: an even offset gives it an even address.
void requireEvenGrid(TRom& rom, std::uint32_t offset, std::uint32_t count) {
    try {
        requireAligned(rom, offset, count, kGridAlignment);
    } catch (const Error& e) {
        throw Error(message("resize.grid_even", {e.message()}));
    }
}

// The footer as the ROM holds it now, with the new width, height and grid pointer. The border
// and tileset pointers stay as they are: a tileset number is only a view of its pointer, and
// some games keep tileset headers off the table's 24-byte steps, where a number cannot name
// them.
MapFooter newFooter(TRom& rom, const CurrentMap& map, const BlockGrid& grid,
                    std::uint32_t gridOffset) {
    MapFooter footer;
    rom.ReadBlock(static_cast<std::int32_t>(map.footerOffset), footer.raw);
    writeLe32(&footer.raw[0], grid.width);
    writeLe32(&footer.raw[4], grid.height);
    writePointerField(&footer.raw[12], gridOffset);
    return footer;
}

}  // namespace

std::uint32_t resizeSpace(int width, int height) {
    return static_cast<std::uint32_t>(std::int64_t{width} * height * BlockGrid::kEntryBytes +
                                      kBytesAroundGrid);
}

void checkMapSize(int width, int height) {
    if (width < 1 || height < 1) {
        throw Error(message("resize.too_small", {sizeText(width, height)}));
    }
    const std::int64_t cells = std::int64_t{width} * height;
    if (cells > BlockGrid::kMaxCells) {
        throw Error(message("resize.too_large", {sizeText(width, height), std::to_string(cells),
                                                 std::to_string(BlockGrid::kMaxCells)}));
    }
}

BlockGrid relaidGrid(const BlockGrid& grid, int width, int height) {
    BlockGrid next;
    next.width = static_cast<std::uint16_t>(width);
    next.height = static_cast<std::uint16_t>(height);
    const int keepWidth = std::min<int>(width, grid.width);
    const int keepHeight = std::min<int>(height, grid.height);
    for (int y = 0; y < keepHeight; ++y) {
        for (int x = 0; x < keepWidth; ++x) {
            const auto to = static_cast<std::size_t>(next.index(x, y));
            const auto from = static_cast<std::size_t>(grid.index(x, y));
            next.cells[to] = grid.cells[from];
            next.movement[to] = grid.movement[from];
        }
    }
    return next;
}

void checkResizePlace(TRom& rom, const MapState& state, int width, int height,
                      std::uint32_t offset, std::uint8_t fill) {
    checkMapSize(width, height);
    requireResizableMap(state);
    const CurrentMap& map = state.map();
    const MapPlaces places = readMapPlaces(rom, map.headerOffset, map.footerOffset,
                                           map.identifier);
    Placement placement;
    placement.fill = fill;
    placement.reliedOn = places.all();
    const std::uint32_t gridBytes = resizeSpace(width, height) - kBytesAroundGrid;
    PlannedWrite grid{{offset + kBytesBeforeGrid, gridBytes, place_name::kGrid}, {}};
    if (places.grid) {
        grid.oldPlaces.push_back(*places.grid);
    }
    PlannedWrite footer{{map.footerOffset, MapFooter::kSize, place_name::kFooter}, {}};
    if (places.footer) {
        footer.oldPlaces.push_back(*places.footer);
    }
    placement.writes = {grid, footer};
    requirePlacement(rom, placement);
    requireEvenGrid(rom, offset, resizeSpace(width, height));
}

std::uint32_t resizeMap(TRom& rom, [[maybe_unused]] const GameProfile& profile, MapState& state,
                        int width, int height, std::uint32_t offset, std::uint8_t fill) {
    checkResizePlace(rom, state, width, height, offset, fill);

    BlockGrid grid = relaidGrid(state.grid(), width, height);
    const std::uint32_t gridOffset = offset + kBytesBeforeGrid;
    CurrentMap& map = state.map();
    rom.Open();
    requireUnchangedInRom(rom, state);
    const MapFooter footer = newFooter(rom, map, grid, gridOffset);
    TRom::Transaction tx(rom, message("history.name.resize", {map.identifier}), map.identifier);
    rom.WriteBlock(grid.encode(), static_cast<std::int32_t>(gridOffset));
    rom.WriteBlock(footer.raw, static_cast<std::int32_t>(map.footerOffset));
    tx.commit();
    rom.Close();

    state.grid() = std::move(grid);
    map.footer = footer;
    map.gridOffset = gridOffset;
    state.history().forgetCells();
    state.invalidatePictures();
    return gridOffset;
}

}  // namespace quillon
