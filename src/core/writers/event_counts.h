#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/rom/placement.h"

namespace quillon {

class EventTables;
class MapState;
class TRom;

// How many persons, warps, script triggers and signposts a map has (0 to 255 each).
struct EventCounts {
    int persons = 0;
    int warps = 0;
    int scripts = 0;
    int signposts = 0;

    friend bool operator==(const EventCounts&, const EventCounts&) = default;
};

// Where new tables go from an offset F: persons, warps, script triggers and signposts back to
// back, then the 20-byte event header. A table without records takes no bytes; its pointer
// names the spot where the next one starts (the header itself for signposts).
struct EventLayout {
    std::array<std::uint32_t, 4> tables{};  // persons, warps, script triggers, signposts
    std::uint32_t header = 0;
    std::uint32_t size = 0;  // F to the end of the header
};

// The counts the open map has now.
EventCounts eventCounts(const EventTables& events);
// Bytes the new tables and header need: 24P + 8W + 16S + 12G + 20 (1, 1, 0, 0: 52).
std::uint32_t eventSpace(const EventCounts& counts);
EventLayout eventLayout(const EventCounts& counts, std::uint32_t offset);
// Refuses a count outside 0 to 255 with an Error naming the table.
void checkEventCounts(const EventCounts& counts);

// The records at the new counts, in the header's order of the tables: the records kept (as
// edited in memory), new ones all zero but a new person's number (byte 0), which is its index
// + 1; records beyond a smaller count are dropped.
std::array<std::vector<std::uint8_t>, 4> resizedTables(const EventTables& events,
                                                       const EventCounts& counts);

// Everything applyEventCounts checks before its first byte: the counts, the map (it needs a
// header), the alignment (a multiple of 4) and the place through the placement check: the
// tables and the event header from offset lie on free bytes of fill or on the map's old event
// tables and header, and meet nothing else of the map (header, footer, border, grid,
// connections). Throws Error.
void checkEventPlace(TRom& rom, const MapState& state, const EventCounts& counts,
                     std::uint32_t offset, std::uint8_t fill = kFreeFill);

// Gives the open map of state new event counts after checkEventPlace; then writes the four
// tables, the new event header behind them and last the map header's events pointer, and
// brings it onto the disk. The open map's header copy and event tables follow and the event
// editor starts on them as on a map just opened; the history forgets the changes of records
// that no longer exist, while undoing the others acts on the new tables. The map-modified
// state does not change. Throws Error for a refusal (the ROM is as it was) and RomIoError when
// writing fails. Returns where everything went.
EventLayout applyEventCounts(TRom& rom, MapState& state, const EventCounts& counts,
                             std::uint32_t offset, std::uint8_t fill = kFreeFill);

// The same for a map that lives outside the ROM (a map file, a new map): the records are
// resized in memory as above and nothing is written to the ROM. The map counts as modified
// afterwards ("Map Speichern" writes the event file), unless the counts did not change.
// Throws Error for a count outside 0 to 255 or a map that lives in the ROM.
void applyEventCountsInMemory(MapState& state, const EventCounts& counts);

}  // namespace quillon
