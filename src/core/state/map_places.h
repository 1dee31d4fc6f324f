#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/rom/byte_range.h"
#include "core/rom/placement.h"
#include "core/rom/rom_history.h"

namespace quillon {

class TRom;
struct CurrentMap;

// The ranges of the ROM one map occupies, as the ROM holds them now: what a command that moves
// the map's data relies on, and where each kind of its data lies (its old place).
struct MapPlaces {
    std::optional<RomRange> header;            // 28 bytes
    std::optional<RomRange> footer;            // 24 bytes
    std::optional<RomRange> border;            // 8 bytes
    std::optional<RomRange> grid;              // width x height x 2 bytes
    std::optional<RomRange> eventHeader;       // 20 bytes
    std::vector<RomRange> eventTables;         // the tables with records, in the header's order
    std::optional<RomRange> connectionHeader;  // 8 bytes
    std::optional<RomRange> connections;       // count x 12 bytes

    // Every range above.
    std::vector<RomRange> all() const;
    // The event header and its tables.
    std::vector<RomRange> events() const;
    // The connection header and its records.
    std::vector<RomRange> connectionTable() const;
};

// Reads the places of the map whose header lies at headerOffset (0: a map known by its footer
// alone, at footerOffset; footerOffset 0 with a header: the header's footer pointer). A range
// a pointer names outside the file or in the cartridge header is left out: no data of the map
// lies there. owner names the map in the ranges' names ("Map-Header von 3.1"). Never throws
// for the ROM's content; RomIoError when the file cannot be read.
MapPlaces readMapPlaces(TRom& rom, std::uint32_t headerOffset, std::uint32_t footerOffset,
                        const std::string& owner);

// The places the open map occupies (readMapPlaces from its header, or its footer alone), as
// byte ranges; a map outside the ROM occupies nothing. Undo and redo compare their steps
// against them.
std::vector<ByteRange> mapRanges(TRom& rom, const CurrentMap& map);

// Whether any range a transaction changed overlaps any of ranges by at least one byte (a
// range reaches as far as the longer of its old and new bytes).
bool touches(const std::vector<HistoryRange>& changed, const std::vector<ByteRange>& ranges);

}  // namespace quillon
