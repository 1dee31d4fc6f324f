#include "core/connections/connection_save.h"

#include <algorithm>
#include <string>

#include "core/base/numbers.h"
#include "core/connections/way_back.h"
#include "core/errors.h"
#include "core/map/map_header.h"
#include "core/map/map_list.h"
#include "core/map_state.h"
#include "core/rom/free_space.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/rom/write_space.h"

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
        throw Error("Es ist keine Map geöffnet.");
    }
    const CurrentMap& map = state.map();
    if (map.outsideRom) {
        throw Error("Die Map \"" + map.title +
                    "\" gehört zu keiner Map im Rom; ihre Anbindungen werden nicht gespeichert.");
    }
    if (!map.hasHeader()) {
        throw Error("Die Map \"" + map.identifier +
                    "\" hat keinen Map-Header; ihre Anbindungen lassen sich nicht speichern.");
    }
    if (std::uint64_t{map.headerOffset} + MapHeader::kSize > rom.size()) {
        throw DataError("Der Map-Header (" + hexOffset(map.headerOffset) +
                        ") liegt hinter dem Dateiende.");
    }
    requireWriteSpace(rom, map.headerOffset + kPointerField, 4);
    return map.headerOffset;
}

void requireSpace(TRom& rom, std::uint32_t offset, std::uint32_t count) {
    requireWriteSpace(rom, offset, count);
    requireAligned(rom, offset, count, kConnectionAlignment);
}

// The new table must not be written over a map header (this map's or the neighbour's).
void requireApartFromHeader(std::uint32_t offset, std::uint32_t count, std::uint32_t header,
                            const std::string& whose) {
    if (offset < header + MapHeader::kSize && header < offset + count) {
        throw Error("Der Platz " + hexOffset(offset) + " (" + std::to_string(count) +
                    " Bytes) überschneidet den Map-Header von " + whose + " (" + hexOffset(header) +
                    "); es wurde nichts geschrieben.");
    }
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

SavedTable saveConnections(TRom& rom, MapState& state, const ConnectionList& list,
                           std::uint32_t offset) {
    list.requireSavable();
    const std::uint32_t header = requireHeader(rom, state);
    requireSpace(rom, offset, connectionSpace(list.count()));
    requireApartFromHeader(offset, connectionSpace(list.count()), header, state.map().identifier);
    const SavedTable saved = placeOf(list.count(), offset);

    const std::string& id = state.map().identifier;
    rom.Open();
    TRom::Transaction tx(rom, "Anbindungen speichern " + id, id);
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
        throw DataError("Die Anbindungen von " + mapId(bank, map) +
                        " lassen sich nicht lesen: " + e.what());
    }
}

// Both new tables fit where the user put them: in the file, on 4, apart from each other and
// from both map headers; the neighbour's table is still the one the plan was made from.
void requireCounterpartPlaces(TRom& rom, const MapState& state, std::uint32_t own,
                              std::uint32_t offset, const CounterpartPlan& plan,
                              std::uint32_t neighbourOffset) {
    requireSpace(rom, offset, own);
    requireSpace(rom, neighbourOffset, plan.space());
    requireWriteSpace(rom, plan.headerOffset + kPointerField, 4);
    const std::string neighbour = mapId(plan.bank, plan.map);
    for (const auto& [at, count] :
         {std::pair{offset, own}, std::pair{neighbourOffset, plan.space()}}) {
        requireApartFromHeader(at, count, state.map().headerOffset, state.map().identifier);
        requireApartFromHeader(at, count, plan.headerOffset, neighbour);
    }
    if (offset < neighbourOffset + plan.space() && neighbourOffset < offset + own) {
        throw Error("Die beiden Plätze " + hexOffset(offset) + " (" + std::to_string(own) +
                    " Bytes) und " + hexOffset(neighbourOffset) + " (" +
                    std::to_string(plan.space()) + " Bytes) überschneiden sich.");
    }
    const ConnectionTable now = neighbourTable(rom, plan.bank, plan.map, plan.headerOffset);
    if (!std::equal(now.records.begin(), now.records.end(), plan.records.begin(),
                    plan.records.end() - 1)) {
        throw Error("Die Anbindungen von " + neighbour +
                    " haben sich geändert; bitte noch einmal.");
    }
}

}  // namespace

CounterpartPlan planCounterpart(TRom& rom, const BankScan& scan, const MapState& state,
                                const ConnectionList& list, std::size_t n) {
    requireHeader(rom, state);
    const Connection& c = list.at(n);
    const CurrentMap& current = state.map();
    if (!leadsSomewhere(c)) {
        throw Error("Anbindung " + std::to_string(n) + " führt nirgendwohin (Richtung " +
                    std::to_string(c.direction) + ").");
    }
    CounterpartPlan plan;
    plan.bank = c.bank;
    plan.map = c.map;
    const auto header = listedHeader(scan, c.bank, c.map);
    if (!header) {
        throw Error("Die Map " + mapId(c.bank, c.map) + " gibt es nicht.");
    }
    if (c.bank == current.bank && c.map == current.map) {
        throw Error("Anbindung " + std::to_string(n) + " führt zu dieser Map selbst.");
    }
    plan.headerOffset = *header;
    plan.records = neighbourTable(rom, c.bank, c.map, *header).records;
    if (hasWayBack(c, current.bank, current.map, plan.records)) {
        throw Error(mapId(c.bank, c.map) + " hat das Gegenstück schon.");
    }
    plan.records.push_back(counterpartOf(c, current.bank, current.map));
    return plan;
}

SavedTable saveWithCounterpart(TRom& rom, MapState& state, const ConnectionList& list,
                               std::uint32_t offset, const CounterpartPlan& plan,
                               std::uint32_t neighbourOffset) {
    list.requireSavable();
    const std::uint32_t header = requireHeader(rom, state);
    requireCounterpartPlaces(rom, state, connectionSpace(list.count()), offset, plan,
                             neighbourOffset);
    const std::string neighbour = mapId(plan.bank, plan.map);
    const SavedTable saved = placeOf(list.count(), offset);
    const SavedTable theirs = placeOf(plan.records.size(), neighbourOffset);
    const std::string& id = state.map().identifier;
    rom.Open();
    TRom::Transaction tx(rom, "Gegenstück anlegen " + id + " -> " + neighbour, id);
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
