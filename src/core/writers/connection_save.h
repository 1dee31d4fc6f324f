#pragma once

#include <cstddef>
#include <cstdint>

#include "core/connections/connection_list.h"
#include "core/rom/placement.h"

namespace quillon {

class MapState;
class TRom;
struct BankScan;

// The game reads connection headers and records as 32-bit words.
inline constexpr std::uint32_t kConnectionAlignment = 4;

// Bytes a table of count records takes: the records, then the 8-byte header.
std::uint32_t connectionSpace(std::size_t count);

// Where a saved table went: records at `records`, the header right behind them.
struct SavedTable {
    std::uint32_t records = 0;
    std::uint32_t header = 0;
};

// The open map's connections read anew from the ROM: the header's pointer at +12 is read from
// the file (the map's header copy takes it), then the table it names. Throws Error (naming the
// offsets) when the header or the table lie outside the file.
ConnectionList loadConnections(TRom& rom, MapState& state);

// Everything saveConnections checks before its first byte: a list that cannot be saved, no map
// with a header, a header outside the file, an offset not on a multiple of 4, and the places
// through the placement check: the records and their header on free bytes of fill or on the
// map's old connection table, nothing else of the map met. Throws Error.
void checkConnectionPlace(TRom& rom, const MapState& state, const ConnectionList& list,
                          std::uint32_t offset, std::uint8_t fill = kFreeFill);

// Writes list as the open map's connections at offset in one transaction, after
// checkConnectionPlace: the records, the header behind them (count, pointer to the records),
// last the map header's pointer at +12 (a complete ROM pointer, also for a map that had no
// connection header). The map's header copy follows. The old table stays where it was.
SavedTable saveConnections(TRom& rom, MapState& state, const ConnectionList& list,
                           std::uint32_t offset, std::uint8_t fill = kFreeFill);

// The connection the neighbour gets so that connection n of the open map has its way back.
struct CounterpartPlan {
    int bank = 0;  // the neighbour
    int map = 0;
    std::uint32_t headerOffset = 0;   // the neighbour's map header
    std::vector<Connection> records;  // the neighbour's records with the new one at the end
    std::uint32_t space() const { return connectionSpace(records.size()); }
};

// Plans the way back of connection n of list (1-based): refused with an Error when the
// connection leads nowhere, its neighbour is not listed, is the open map itself, cannot be
// read, or already leads back.
CounterpartPlan planCounterpart(TRom& rom, const BankScan& scan, const MapState& state,
                                const ConnectionList& list, std::size_t n);

// Both places of a way back, as checkConnectionPlace checks one, in one placement check: the
// two tables apart from each other, each on free bytes or its own map's old table, neither
// meeting anything else of either map; then the neighbour's table read again (it must still
// be the one the plan was made from). Throws Error.
void checkCounterpartPlaces(TRom& rom, const MapState& state, const ConnectionList& list,
                            std::uint32_t offset, const CounterpartPlan& plan,
                            std::uint32_t neighbourOffset, std::uint8_t fill = kFreeFill);

// Saves list as saveConnections does and, in the same transaction, the neighbour's records of
// plan at neighbourOffset with its header pointer, after checkCounterpartPlaces. Order: this
// map's records and header, the neighbour's records and header, the neighbour's pointer, this
// map's pointer.
SavedTable saveWithCounterpart(TRom& rom, MapState& state, const ConnectionList& list,
                               std::uint32_t offset, const CounterpartPlan& plan,
                               std::uint32_t neighbourOffset, std::uint8_t fill = kFreeFill);

}  // namespace quillon
