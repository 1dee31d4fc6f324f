#include "core/writers/event_counts.h"

#include <string>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/events/event_kind.h"
#include "core/events/event_tables.h"
#include "core/state/map_places.h"
#include "core/state/map_state.h"
#include "core/state/map_state_check.h"
#include "core/rom/free_space.h"
#include "core/rom/placement.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr int kMaxCount = 255;
// The game reads event tables and headers as 32-bit words.
constexpr std::uint32_t kEventAlignment = 4;
// The map header's pointer to the event header.
constexpr std::uint32_t kEventsPointerAt = 4;

std::array<int, 4> asArray(const EventCounts& c) {
    return {c.persons, c.warps, c.scripts, c.signposts};
}

// The ids of the counts' names as the window labels them, in the header's order.
constexpr const char* kCountNames[] = {"events.count.people", "events.count.warps",
                                       "events.count.scripts", "events.count.signposts"};

void requireMapWithHeader(const MapState& state) {
    if (!state.loaded()) {
        throw Error(message("edit.no_map"));
    }
    if (!state.map().hasHeader()) {
        throw Error(message("events.no_header", {state.map().identifier}));
    }
}

std::vector<std::uint8_t> eventHeader(const EventCounts& counts, const EventLayout& layout) {
    std::vector<std::uint8_t> header(EventTables::kHeaderSize);
    const std::array<int, 4> c = asArray(counts);
    for (std::size_t s = 0; s < 4; ++s) {
        header[s] = static_cast<std::uint8_t>(c[s]);
        writePointerField(&header[4 + 4 * s], layout.tables[s]);
    }
    return header;
}

// The map's header copy names the new event header as the ROM now does.
void pointHeaderCopy(CurrentMap& map, std::uint32_t eventsOffset) {
    writePointerField(&map.header.raw[4], eventsOffset);
    map.eventsOffset = eventsOffset;
}

// History, event editor and pictures follow tables that got new counts: changes of records
// that no longer exist are forgotten, the others act on the new tables.
void followNewTables(MapState& state, const EventCounts& counts) {
    const std::array<int, 4> c = asArray(counts);
    state.history().forgetRecords([&](int table, int index) {
        for (std::size_t s = 0; s < 4; ++s) {
            if (table == static_cast<int>(kTableKinds[s])) {
                return index >= c[s];
            }
        }
        return false;  // the fly record stays
    });
    // The editor starts on the new tables as on a map just opened.
    state.eventEditor().mapOpened();
    state.invalidatePictures();
}

}  // namespace

EventCounts eventCounts(const EventTables& events) {
    return {events.count(EventKind::Person), events.count(EventKind::Warp),
            events.count(EventKind::ScriptTrigger), events.count(EventKind::Signpost)};
}

EventLayout eventLayout(const EventCounts& counts, std::uint32_t offset) {
    EventLayout layout;
    const std::array<int, 4> c = asArray(counts);
    std::uint32_t at = offset;
    for (std::size_t s = 0; s < 4; ++s) {
        layout.tables[s] = at;
        at += static_cast<std::uint32_t>(c[s] * recordSize(kTableKinds[s]));
    }
    layout.header = at;
    layout.size = at + EventTables::kHeaderSize - offset;
    return layout;
}

std::uint32_t eventSpace(const EventCounts& counts) { return eventLayout(counts, 0).size; }

void checkEventCounts(const EventCounts& counts) {
    const std::array<int, 4> c = asArray(counts);
    for (std::size_t s = 0; s < 4; ++s) {
        if (c[s] < 0 || c[s] > kMaxCount) {
            throw Error(
                message("events.count_range", {message(kCountNames[s]), std::to_string(c[s])}));
        }
    }
}

std::array<std::vector<std::uint8_t>, 4> resizedTables(const EventTables& events,
                                                       const EventCounts& counts) {
    std::array<std::vector<std::uint8_t>, 4> tables;
    const std::array<int, 4> c = asArray(counts);
    for (std::size_t s = 0; s < 4; ++s) {
        const EventKind kind = kTableKinds[s];
        const auto size = static_cast<std::size_t>(recordSize(kind));
        tables[s].assign(static_cast<std::size_t>(c[s]) * size, 0);
        for (int i = 0; i < c[s]; ++i) {
            std::uint8_t* record = tables[s].data() + static_cast<std::size_t>(i) * size;
            if (i < events.count(kind)) {
                const auto kept = events.record(kind, i);
                std::copy(kept.begin(), kept.end(), record);
            } else if (kind == EventKind::Person) {
                record[0] = static_cast<std::uint8_t>(i + 1);
            }
        }
    }
    return tables;
}

void checkEventPlace(TRom& rom, const MapState& state, const EventCounts& counts,
                     std::uint32_t offset, std::uint8_t fill) {
    checkEventCounts(counts);
    requireMapWithHeader(state);
    const CurrentMap& map = state.map();
    const MapPlaces places = readMapPlaces(rom, map.headerOffset, 0, map.identifier);
    const EventLayout layout = eventLayout(counts, offset);
    Placement placement;
    placement.fill = fill;
    placement.reliedOn = places.all();
    const std::vector<RomRange> oldEvents = places.events();
    std::vector<RomRange> header;
    if (places.header) {
        header.push_back(*places.header);
    }
    placement.writes = {
        {{offset, layout.header - offset, place_name::kEventTables}, oldEvents},
        {{layout.header, EventTables::kHeaderSize, place_name::kEventHeader}, oldEvents},
        {{map.headerOffset + kEventsPointerAt, 4, place_name::kHeader}, header}};
    requirePlacement(rom, placement);
    requireAligned(rom, offset, layout.size, kEventAlignment);
}

EventLayout applyEventCounts(TRom& rom, MapState& state, const EventCounts& counts,
                             std::uint32_t offset, std::uint8_t fill) {
    checkEventPlace(rom, state, counts, offset, fill);
    const EventLayout layout = eventLayout(counts, offset);

    auto tables = resizedTables(state.events(), counts);
    std::vector<std::uint8_t> data;
    for (const auto& table : tables) {
        data.insert(data.end(), table.begin(), table.end());
    }
    rom.Open();
    requireUnchangedInRom(rom, state);
    const std::string& id = state.map().identifier;
    TRom::Transaction tx(rom, message("history.name.event_counts", {id}), id);
    if (!data.empty()) {
        rom.WriteBlock(data, static_cast<std::int32_t>(offset));
    }
    rom.WriteBlock(eventHeader(counts, layout), static_cast<std::int32_t>(layout.header));
    rom.WritePointer(static_cast<std::int32_t>(state.map().headerOffset + kEventsPointerAt),
                     layout.header);
    tx.commit();
    rom.Close();

    pointHeaderCopy(state.map(), layout.header);
    state.events().relocate(layout.header, layout.tables, std::move(tables));
    followNewTables(state, counts);
    return layout;
}

void applyEventCountsInMemory(MapState& state, const EventCounts& counts) {
    checkEventCounts(counts);
    if (!state.loaded()) {
        throw Error(message("edit.no_map"));
    }
    if (!state.map().outsideRom) {
        throw Error(message("events.in_rom", {state.map().identifier}));
    }
    if (eventCounts(state.events()) == counts) {
        return;
    }
    state.events().holdInMemory(resizedTables(state.events(), counts));
    followNewTables(state, counts);
    // No step of the history leads back to the old counts: the map differs from its files.
    state.history().markModified();
}

}  // namespace quillon
