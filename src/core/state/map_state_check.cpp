#include "core/state/map_state_check.h"

#include <array>
#include <cstdint>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/events/event_kind.h"
#include "core/state/map_state.h"
#include "core/rom/trom.h"
#include "core/rom/rom_pointer.h"

namespace quillon {

namespace {

bool inFile(TRom& rom, std::uint32_t offset, std::size_t count) {
    return std::uint64_t{offset} + count <= rom.size();
}

bool headerMatches(TRom& rom, const CurrentMap& map) {
    if (!inFile(rom, map.headerOffset, MapHeader::kSize)) {
        return false;
    }
    const MapHeader header = MapHeader::decode(
        rom.ReadBlock(static_cast<std::int32_t>(map.headerOffset), MapHeader::kSize));
    return header.footerOffset() == map.footerOffset && header.eventsOffset() == map.eventsOffset;
}

bool footerMatches(TRom& rom, const CurrentMap& map, const BlockGrid& grid) {
    if (!inFile(rom, map.footerOffset, MapFooter::kSize)) {
        return false;
    }
    const auto bytes = rom.ReadBlock(static_cast<std::int32_t>(map.footerOffset), MapFooter::kSize);
    const MapFooter footer = MapFooter::decode(bytes);
    // Width and height are 32-bit fields: a high half the game would read counts too.
    return readLe32(&bytes[0]) == grid.width && readLe32(&bytes[4]) == grid.height &&
           footer.borderOffset() == map.footer.borderOffset() &&
           footer.gridOffset() == map.gridOffset;
}

// Event header: four counts, then the four table pointers (persons, warps, script
// triggers, signposts). A table without records may point anywhere.
bool eventsMatch(TRom& rom, const EventTables& events) {
    const std::uint32_t at = events.eventsOffset();
    if (!inFile(rom, at, EventTables::kHeaderSize)) {
        return false;
    }
    const auto bytes = rom.ReadBlock(static_cast<std::int32_t>(at), EventTables::kHeaderSize);
    for (std::size_t s = 0; s < std::size(kTableKinds); ++s) {
        const int count = events.count(kTableKinds[s]);
        if (bytes[s] != count ||
            (count > 0 && readPointerField(&bytes[4 + 4 * s]) != events.tableOffset(kTableKinds[s]))) {
            return false;
        }
    }
    return true;
}

bool matchesRom(TRom& rom, const MapState& state) {
    const CurrentMap& map = state.map();
    if (map.hasHeader() && !headerMatches(rom, map)) {
        return false;
    }
    if (map.hasFooter() && !footerMatches(rom, map, state.grid())) {
        return false;
    }
    const EventTables& events = state.events();
    return events.inMemory() || events.eventsOffset() == 0 || eventsMatch(rom, events);
}

}  // namespace

void requireUnchangedInRom(TRom& rom, const MapState& state) {
    if (!state.loaded() || state.map().outsideRom) {
        return;
    }
    if (!matchesRom(rom, state)) {
        throw Error(message("map.changed_in_rom"));
    }
}

}  // namespace quillon
