#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/events/event_fields.h"
#include "core/events/event_kind.h"

namespace quillon {

class TRom;

// The events of the open map, held as the ROM's raw record bytes.
//
// Event header (20 bytes at the map's events offset): counts of persons, warps, script
// triggers and signposts (one byte each), then ROM pointers to the four tables in that order.
// The fly record (8 bytes) is the map's entry in the fly table shared by all maps; the map
// has a fly position while the fly index is below 255.
class EventTables {
public:
    static constexpr int kHeaderSize = 20;
    static constexpr int kNoFly = 255;

    // Reads the event header (none when eventsOffset is 0), the four tables with one block
    // read each, and searches flyTable for the record of (bank, map). Throws DataError when the
    // header or a table (offset + count x size) lies past the end of the file, or a table with
    // records lies in the cartridge header (offset below 0xC0, 0 included); the tables keep
    // what they held before then. A fly table at 0 (the profile names none), one that runs
    // past the end of the file, or one without an end within its first 255 records gives no
    // fly position; so does one in the cartridge header.
    void load(TRom& rom, std::uint32_t eventsOffset, std::int32_t flyTable, int bank, int map);
    // No map: no events, no fly position.
    void clear();
    // Writes count x size bytes of each table back where it was read (warps, signposts,
    // persons, script triggers), then the fly record when its offset is not 0. The event
    // header is never written. Throws Error for tables held in memory only (they have no place
    // in the ROM).
    void save(TRom& rom) const;

    // The four tables now lie elsewhere with other counts: tables[s] holds the records of
    // kTableKinds[s] (count x record size bytes, at most 255 records), offsets[s] its file
    // offset; eventsOffset is the new event header's. The fly record stays as it is.
    void relocate(std::uint32_t eventsOffset, const std::array<std::uint32_t, 4>& offsets,
                  std::array<std::vector<std::uint8_t>, 4> tables);
    // Tables of a map that lives outside the ROM (a map file, a new map): tables[s] holds the
    // records of kTableKinds[s]; no header, no table offsets, no fly record. save() refuses
    // them. Throws IndexError for a table that is no whole number of records or above 255.
    void holdInMemory(std::array<std::vector<std::uint8_t>, 4> tables);
    bool inMemory() const { return m_inMemory; }
    // The record bytes of a table kind (count x record size), in the header's order of records.
    const std::vector<std::uint8_t>& table(EventKind kind) const;

    // False for a map without records, and for a ROM map without an event header or table
    // offsets.
    bool hasEvents() const;
    std::uint32_t eventsOffset() const { return m_eventsOffset; }
    // Records of a table kind; for Fly 1 while the map has a fly position.
    int count(EventKind kind) const;
    // File offset of a table (for Fly: of the fly record, 0 when none was found).
    std::uint32_t tableOffset(EventKind kind) const;
    // File offset of one record: table offset + index x record size.
    std::uint32_t recordOffset(EventKind kind, int index) const;

    // Whether the record exists: index below the count; for Fly, index 0 of a fly record found
    // at loading (it stays editable after its bank or map changed).
    bool contains(EventRef ref) const;
    // The bytes of one record. Throws IndexError when the record does not exist.
    std::span<const std::uint8_t> record(EventKind kind, int index) const;
    std::span<std::uint8_t> record(EventKind kind, int index);

    // A field of record index of the field's kind (offset, width), little-endian; writing cuts
    // the value to the field's width. Throws IndexError for a record that does not exist or a
    // field outside it.
    std::uint32_t field(int index, EventField f) const;
    void setField(int index, EventField f, std::uint32_t value);

    // The cell of an event (X, Y: persons at 4 and 6, the fly record at 2 and 4, others 0, 2).
    struct Cell {
        int x = 0;
        int y = 0;
    };
    Cell position(EventRef ref) const;
    void setPosition(EventRef ref, int x, int y);
    // Writes a cell into the bytes of a record of kind (each coordinate cut to 16 bits).
    static void writePosition(EventKind kind, std::span<std::uint8_t> record, int x, int y);

    // The event on cell (x, y): signposts, then script triggers, then warps, then persons,
    // then the fly position; the lowest index within a table. personsOnly (sprites shown and
    // the other events hidden) looks at persons alone. Kind None when nothing is there.
    EventRef hitTest(int x, int y, bool personsOnly) const;

    // Fly position: index in the fly table, 255 for none.
    int flyIndex() const { return m_flyIndex; }
    void setFlyIndex(int index) { m_flyIndex = static_cast<std::uint8_t>(index); }
    bool hasFlyPosition() const { return m_flyIndex != kNoFly; }

private:
    static int slotOf(EventKind kind);
    void readHeader(TRom& rom, std::uint32_t eventsOffset, std::uint64_t fileSize);
    void readTables(TRom& rom, std::uint64_t fileSize);
    void findFly(TRom& rom, std::int32_t flyTable, int bank, int map, std::uint64_t fileSize);

    std::uint32_t m_eventsOffset = 0;
    // Persons, warps, script triggers, signposts: the event header's order.
    std::array<int, 4> m_counts{};
    std::array<std::uint32_t, 4> m_offsets{};
    std::array<std::vector<std::uint8_t>, 4> m_tables;
    std::uint8_t m_flyIndex = kNoFly;
    bool m_flyFound = false;
    std::uint32_t m_flyOffset = 0;
    std::array<std::uint8_t, 8> m_fly{};
    bool m_inMemory = false;
};

}  // namespace quillon
