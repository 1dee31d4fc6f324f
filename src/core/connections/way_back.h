#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/connections/connection_table.h"
#include "core/text/message.h"

namespace quillon {

class TRom;
struct BankScan;

// Whether the neighbour a connection names leads back to the map.
enum class WayBack {
    Present,      // the neighbour has the opposite direction, the negated offset, this map
    Absent,       // it has not
    NoNeighbour,  // the bank or map is not in the bank table
    Unreadable,   // the neighbour's header or connections lie outside the file
    NotNeeded,    // direction 0 or unknown: the connection leads nowhere
};

// Directions 1 to 6 lead somewhere and need a way back.
bool leadsSomewhere(const Connection& c);
// The record the neighbour needs to lead back to map (bank, map) through c.
Connection counterpartOf(const Connection& c, int bank, int map);
// Whether neighbourRecords hold the way back of c, which belongs to map (bank, map).
bool hasWayBack(const Connection& c, int bank, int map,
                const std::vector<Connection>& neighbourRecords);

// The map header's file offset of (bank, map) from the bank scan; nullopt when not listed.
std::optional<std::uint32_t> listedHeader(const BankScan& scan, int bank, int map);
// The connections of the map whose 28-byte header lies at headerOffset. Throws Error (naming
// the offsets) when the header or its connections lie outside the file.
ConnectionTable readConnectionsAt(TRom& rom, std::uint32_t headerOffset);

// The neighbour's side of connection c of map (bank, map), read from the ROM.
WayBack wayBackOf(TRom& rom, const BankScan& scan, int bank, int map, const Connection& c);

// A connection of a listed map without its way back, or a map whose connections cannot be
// read (connection empty, detail the reason).
struct MissingWayBack {
    int bank = 0;
    int map = 0;
    std::optional<Connection> connection;
    WayBack why = WayBack::Absent;
    Message detail;  // why the table cannot be read
};

// Every connection of every map of the bank scan that has no way back, in bank and map order,
// each map's table read once.
std::vector<MissingWayBack> checkAllConnections(TRom& rom, const BankScan& scan);

}  // namespace quillon
