#include "core/writers/connection_save.h"

#include <algorithm>
#include <string>

#include "core/base/numbers.h"
#include "core/connections/way_back.h"
#include "core/errors.h"
#include "core/map/map_header.h"
#include "core/map/map_list.h"
#include "core/state/map_places.h"
#include "core/state/map_state.h"
#include "core/rom/free_space.h"
#include "core/rom/placement.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr std::uint32_t kPointerField = 12;  // the map header's connection pointer

// The table's bytes as written at offset: the records, then count and the records' pointer.
std::vector<std::uint8_t> tableBytes(const std::vector<Connection>& records, std::uint32_t offset) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(connectionSpace(records.size()));
    for (const Connection& c : records) {
        const auto record = c.encode();
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    std::uint8_t header[ConnectionTable::kHeaderSize];
    writeLe32(header, static_cast<std::uint32_t>(records.size()));
    writePointerField(header + 4, offset);
    bytes.insert(bytes.end(), header, header + ConnectionTable::kHeaderSize);
    return bytes;
}

// The open map's header: it must exist and lie in the file.
std::uint32_t requireHeader(TRom& rom, const MapState& state) {
    if (!state.loaded()) {
        throw Error(message("edit.no_map"));
    }
    const CurrentMap& map = state.map();
    if (map.outsideRom) {
        throw Error(message("connection.map_from_file", {map.title}));
    }
    if (!map.hasHeader()) {
        throw Error(message("connection.no_header", {map.identifier}));
    }
    if (std::uint64_t{map.headerOffset} + MapHeader::kSize > rom.size()) {
        throw DataError(message("edit.header_past_end", {hexOffset(map.headerOffset)}));
    }
    return map.headerOffset;
}

// A table of count records written at offset (records, then its header) and the map header's
// pointer to it, for the map whose places are given: the table may lie on the map's old table,
// the pointer is the map header's own field.
void planTable(Placement& placement, const MapPlaces& places, std::uint32_t header,
               std::size_t count, std::uint32_t offset, const std::string& owner) {
    const auto records = static_cast<std::uint32_t>(count * Connection::kSize);
    const std::vector<RomRange> oldTable = places.connectionTable();
    placement.writes.push_back({{offset, records, ownedName(place_name::kConnections, owner)},
                                oldTable});
    placement.writes.push_back({{offset + records, ConnectionTable::kHeaderSize,
                                 ownedName(place_name::kConnectionHeader, owner)},
                                oldTable});
    std::vector<RomRange> oldHeader;
    if (places.header) {
        oldHeader.push_back(*places.header);
    }
    placement.writes.push_back(
        {{header + kPointerField, 4, ownedName(place_name::kHeader, owner)}, oldHeader});
    const std::vector<RomRange> all = places.all();
    placement.reliedOn.insert(placement.reliedOn.end(), all.begin(), all.end());
}

void requireAlignedTable(TRom& rom, std::uint32_t offset, std::size_t count) {
    requireAligned(rom, offset, connectionSpace(count), kConnectionAlignment);
}

SavedTable placeOf(std::size_t count, std::uint32_t offset) {
    return {offset, offset + static_cast<std::uint32_t>(count * Connection::kSize)};
}

void pointHeaderCopy(MapState& state, std::uint32_t header) {
    writePointerField(&state.map().header.raw[kPointerField], header);
}

}  // namespace

std::uint32_t connectionSpace(std::size_t count) {
    return static_cast<std::uint32_t>(count * Connection::kSize + ConnectionTable::kHeaderSize);
}

ConnectionList loadConnections(TRom& rom, MapState& state) {
    if (!state.loaded() || !state.map().hasHeader()) {
        return ConnectionList();
    }
    const std::uint32_t header = requireHeader(rom, state);
    const auto field = rom.ReadBlock(static_cast<std::int32_t>(header + kPointerField), 4);
    std::copy(field.begin(), field.end(), state.map().header.raw.begin() + kPointerField);
    return ConnectionList(readConnections(rom, state.map().header));
}

void checkConnectionPlace(TRom& rom, const MapState& state, const ConnectionList& list,
                          std::uint32_t offset, std::uint8_t fill) {
    list.requireSavable();
    const std::uint32_t header = requireHeader(rom, state);
    Placement placement;
    placement.fill = fill;
    planTable(placement, readMapPlaces(rom, header, 0, state.map().identifier), header,
              list.count(), offset, "");
    requirePlacement(rom, placement);
    requireAlignedTable(rom, offset, list.count());
}

SavedTable saveConnections(TRom& rom, MapState& state, const ConnectionList& list,
                           std::uint32_t offset, std::uint8_t fill) {
    checkConnectionPlace(rom, state, list, offset, fill);
    const std::uint32_t header = state.map().headerOffset;
    const SavedTable saved = placeOf(list.count(), offset);

    const std::string& id = state.map().identifier;
    rom.Open();
    TRom::Transaction tx(rom, message("history.name.connections", {id}), id);
    rom.WriteBlock(tableBytes(list.records(), offset), static_cast<std::int32_t>(offset));
    rom.WritePointer(static_cast<std::int32_t>(header + kPointerField), saved.header);
    tx.commit();
    rom.Close();
    pointHeaderCopy(state, saved.header);
    return saved;
}

namespace {

std::string mapId(int bank, int map) { return std::to_string(bank) + "." + std::to_string(map); }

// The neighbour's connections as the ROM holds them now; refused when unreadable.
ConnectionTable neighbourTable(TRom& rom, int bank, int map, std::uint32_t header) {
    try {
        return readConnectionsAt(rom, header);
    } catch (const Error& e) {
        throw DataError(
            message("connection.neighbour_unreadable", {mapId(bank, map), e.message()}));
    }
}

// The neighbour's table is still the one the plan was made from.
void requireUnchangedNeighbour(TRom& rom, const CounterpartPlan& plan) {
    const std::string neighbour = mapId(plan.bank, plan.map);
    const ConnectionTable now = neighbourTable(rom, plan.bank, plan.map, plan.headerOffset);
    if (!std::equal(now.records.begin(), now.records.end(), plan.records.begin(),
                    plan.records.end() - 1)) {
        throw Error(message("connection.neighbour_changed", {neighbour}));
    }
}

}  // namespace

CounterpartPlan planCounterpart(TRom& rom, const BankScan& scan, const MapState& state,
                                const ConnectionList& list, std::size_t n) {
    requireHeader(rom, state);
    const Connection& c = list.at(n);
    const CurrentMap& current = state.map();
    if (!leadsSomewhere(c)) {
        throw Error(
            message("connection.leads_nowhere", {std::to_string(n), std::to_string(c.direction)}));
    }
    CounterpartPlan plan;
    plan.bank = c.bank;
    plan.map = c.map;
    const auto header = listedHeader(scan, c.bank, c.map);
    if (!header) {
        throw Error(message("connection.no_map", {mapId(c.bank, c.map)}));
    }
    if (c.bank == current.bank && c.map == current.map) {
        throw Error(message("connection.to_itself", {std::to_string(n)}));
    }
    plan.headerOffset = *header;
    plan.records = neighbourTable(rom, c.bank, c.map, *header).records;
    if (hasWayBack(c, current.bank, current.map, plan.records)) {
        throw Error(message("connection.has_counterpart", {mapId(c.bank, c.map)}));
    }
    plan.records.push_back(counterpartOf(c, current.bank, current.map));
    return plan;
}

void checkCounterpartPlaces(TRom& rom, const MapState& state, const ConnectionList& list,
                            std::uint32_t offset, const CounterpartPlan& plan,
                            std::uint32_t neighbourOffset, std::uint8_t fill) {
    list.requireSavable();
    const std::uint32_t header = requireHeader(rom, state);
    const std::string neighbour = mapId(plan.bank, plan.map);
    Placement placement;
    placement.fill = fill;
    planTable(placement, readMapPlaces(rom, header, 0, state.map().identifier), header,
              list.count(), offset, "");
    planTable(placement, readMapPlaces(rom, plan.headerOffset, 0, neighbour), plan.headerOffset,
              plan.records.size(), neighbourOffset, neighbour);
    requirePlacement(rom, placement);
    requireAlignedTable(rom, offset, list.count());
    requireAlignedTable(rom, neighbourOffset, plan.records.size());
    requireUnchangedNeighbour(rom, plan);
}

SavedTable saveWithCounterpart(TRom& rom, MapState& state, const ConnectionList& list,
                               std::uint32_t offset, const CounterpartPlan& plan,
                               std::uint32_t neighbourOffset, std::uint8_t fill) {
    checkCounterpartPlaces(rom, state, list, offset, plan, neighbourOffset, fill);
    const std::uint32_t header = state.map().headerOffset;
    const std::string neighbour = mapId(plan.bank, plan.map);
    const SavedTable saved = placeOf(list.count(), offset);
    const SavedTable theirs = placeOf(plan.records.size(), neighbourOffset);
    const std::string& id = state.map().identifier;
    rom.Open();
    TRom::Transaction tx(rom, message("history.name.way_back", {id, neighbour}), id);
    rom.WriteBlock(tableBytes(list.records(), offset), static_cast<std::int32_t>(offset));
    rom.WriteBlock(tableBytes(plan.records, neighbourOffset),
                   static_cast<std::int32_t>(neighbourOffset));
    rom.WritePointer(static_cast<std::int32_t>(plan.headerOffset + kPointerField), theirs.header);
    rom.WritePointer(static_cast<std::int32_t>(header + kPointerField), saved.header);
    tx.commit();
    rom.Close();
    pointHeaderCopy(state, saved.header);
    return saved;
}

}  // namespace quillon
