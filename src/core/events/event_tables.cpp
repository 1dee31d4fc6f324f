#include "core/events/event_tables.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr int kFlyRecordSize = 8;
// The fly index is one byte and 255 means none: the search covers records 0 to 254.
constexpr int kMaxFlyRecords = 255;

const char* tableName(EventKind kind) {
    switch (kind) {
        case EventKind::Person:
            return "Person";
        case EventKind::Warp:
            return "Warp";
        case EventKind::ScriptTrigger:
            return "Script";
        default:
            return "Signpost";
    }
}

}  // namespace

int EventTables::slotOf(EventKind kind) {
    switch (kind) {
        case EventKind::Person:
            return 0;
        case EventKind::Warp:
            return 1;
        case EventKind::ScriptTrigger:
            return 2;
        case EventKind::Signpost:
            return 3;
        default:
            return -1;
    }
}

void EventTables::load(TRom& rom, std::uint32_t eventsOffset, std::int32_t flyTable, int bank,
                       int map) {
    // Built aside and taken whole: a table past the end leaves the open map's events alone.
    EventTables next;
    const std::uint64_t fileSize = rom.size();
    next.readHeader(rom, eventsOffset, fileSize);
    next.readTables(rom, fileSize);
    next.findFly(rom, flyTable, bank, map, fileSize);
    *this = std::move(next);
}

void EventTables::readHeader(TRom& rom, std::uint32_t eventsOffset, std::uint64_t fileSize) {
    m_eventsOffset = eventsOffset;
    if (eventsOffset == 0) {
        return;
    }
    if (std::uint64_t{eventsOffset} + kHeaderSize > fileSize) {
        throw DataError(message("events.header_past_end", {hexOffset(eventsOffset)}));
    }
    std::uint8_t header[kHeaderSize];
    rom.ReadBlock(static_cast<std::int32_t>(eventsOffset), header);
    for (int s = 0; s < 4; ++s) {
        m_counts[static_cast<std::size_t>(s)] = header[s];
        m_offsets[static_cast<std::size_t>(s)] = readPointerField(header + 4 + 4 * s);
    }
}

void EventTables::readTables(TRom& rom, std::uint64_t fileSize) {
    for (EventKind kind : kTableKinds) {
        const auto s = static_cast<std::size_t>(slotOf(kind));
        const std::uint64_t bytes = std::uint64_t(m_counts[s]) * recordSize(kind);
        if (m_offsets[s] + bytes > fileSize) {
            const int n = m_counts[s];
            throw DataError(message("events.table_past_end", {std::string(tableName(kind)),
                                                              hexOffset(m_offsets[s]),
                                                              std::to_string(n)}));
        }
        // A table in the cartridge header would be written over it on the next save.
        if (bytes > 0 && m_offsets[s] < kCartridgeHeaderSize) {
            throw DataError(message("events.table_in_header",
                                    {std::string(tableName(kind)), hexOffset(m_offsets[s])}));
        }
    }
    for (EventKind kind : kTableKinds) {
        const auto s = static_cast<std::size_t>(slotOf(kind));
        m_tables[s].assign(static_cast<std::size_t>(m_counts[s] * recordSize(kind)), 0);
        if (!m_tables[s].empty()) {
            rom.ReadBlock(static_cast<std::int32_t>(m_offsets[s]), m_tables[s]);
        }
    }
}

void EventTables::findFly(TRom& rom, std::int32_t flyTable, int bank, int map,
                          std::uint64_t fileSize) {
    // The cartridge header is never a fly table: offset 0 means the profile names none.
    if (flyTable < 0 || static_cast<std::uint64_t>(flyTable) < kCartridgeHeaderSize ||
        static_cast<std::uint64_t>(flyTable) >= fileSize) {
        return;
    }
    // One read for every record the search can reach; a table cut off by the end of the file
    // ends the search like a missing end does.
    const auto available = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize - static_cast<std::uint64_t>(flyTable),
                                std::uint64_t{kMaxFlyRecords} * kFlyRecordSize));
    const auto table = rom.ReadBlock(flyTable, available);
    const int records = static_cast<int>(available / kFlyRecordSize);
    for (int i = 0; i < records; ++i) {
        const std::uint8_t* r = table.data() + static_cast<std::size_t>(i) * kFlyRecordSize;
        if (readLe16(r + 6) != 0) {
            return;  // the table ends here
        }
        if (r[1] == map && r[0] == bank) {
            std::copy(r, r + kFlyRecordSize, m_fly.begin());
            m_flyIndex = static_cast<std::uint8_t>(i);
            m_flyOffset = static_cast<std::uint32_t>(flyTable + i * kFlyRecordSize);
            m_flyFound = true;
            return;
        }
    }
}

void EventTables::clear() { *this = EventTables{}; }

void EventTables::save(TRom& rom) const {
    if (m_inMemory) {
        throw Error(message("events.not_in_rom"));
    }
    for (EventKind kind :
         {EventKind::Warp, EventKind::Signpost, EventKind::Person, EventKind::ScriptTrigger}) {
        const auto s = static_cast<std::size_t>(slotOf(kind));
        if (!m_tables[s].empty()) {
            rom.WriteBlock(m_tables[s], static_cast<std::int32_t>(m_offsets[s]));
        }
    }
    if (m_flyOffset != 0) {
        rom.WriteBlock(m_fly, static_cast<std::int32_t>(m_flyOffset));
    }
}

void EventTables::relocate(std::uint32_t eventsOffset, const std::array<std::uint32_t, 4>& offsets,
                           std::array<std::vector<std::uint8_t>, 4> tables) {
    std::array<int, 4> counts{};
    for (EventKind kind : kTableKinds) {
        const auto s = static_cast<std::size_t>(slotOf(kind));
        const auto size = static_cast<std::size_t>(recordSize(kind));
        const std::size_t records = tables[s].size() / size;
        if (tables[s].size() % size != 0 || records > 255) {
            throw IndexError(static_cast<long long>(records));
        }
        counts[s] = static_cast<int>(records);
    }
    m_counts = counts;
    m_eventsOffset = eventsOffset;
    m_offsets = offsets;
    m_tables = std::move(tables);
}

void EventTables::holdInMemory(std::array<std::vector<std::uint8_t>, 4> tables) {
    EventTables next;
    next.relocate(0, {}, std::move(tables));
    next.m_inMemory = true;
    *this = std::move(next);
}

const std::vector<std::uint8_t>& EventTables::table(EventKind kind) const {
    const int s = slotOf(kind);
    if (s < 0) {
        throw IndexError(static_cast<int>(kind));
    }
    return m_tables[static_cast<std::size_t>(s)];
}

bool EventTables::hasEvents() const {
    const bool noOffsets =
        std::all_of(m_offsets.begin(), m_offsets.end(), [](std::uint32_t o) { return o == 0; });
    const bool noRecords =
        std::all_of(m_counts.begin(), m_counts.end(), [](int c) { return c == 0; });
    return !noRecords && (m_inMemory || (m_eventsOffset != 0 && !noOffsets));
}

int EventTables::count(EventKind kind) const {
    if (kind == EventKind::Fly) {
        return hasFlyPosition() ? 1 : 0;
    }
    const int s = slotOf(kind);
    return s < 0 ? 0 : m_counts[static_cast<std::size_t>(s)];
}

std::uint32_t EventTables::tableOffset(EventKind kind) const {
    if (kind == EventKind::Fly) {
        return m_flyOffset;
    }
    const int s = slotOf(kind);
    return s < 0 ? 0 : m_offsets[static_cast<std::size_t>(s)];
}

std::uint32_t EventTables::recordOffset(EventKind kind, int index) const {
    if (kind == EventKind::Fly) {
        return m_flyOffset;
    }
    return tableOffset(kind) + static_cast<std::uint32_t>(index * recordSize(kind));
}

bool EventTables::contains(EventRef ref) const {
    if (ref.kind == EventKind::Fly) {
        return ref.index == 0 && m_flyFound;
    }
    return ref.kind != EventKind::None && ref.index >= 0 && ref.index < count(ref.kind);
}

std::span<const std::uint8_t> EventTables::record(EventKind kind, int index) const {
    if (!contains({kind, index})) {
        throw IndexError(index);
    }
    if (kind == EventKind::Fly) {
        return m_fly;
    }
    const auto size = static_cast<std::size_t>(recordSize(kind));
    return std::span<const std::uint8_t>(m_tables[static_cast<std::size_t>(slotOf(kind))])
        .subspan(static_cast<std::size_t>(index) * size, size);
}

std::span<std::uint8_t> EventTables::record(EventKind kind, int index) {
    const auto bytes = std::as_const(*this).record(kind, index);
    return {const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
}

std::uint32_t EventTables::field(int index, EventField f) const {
    const auto bytes = record(f.kind, index);
    if (f.offset < 0 || f.width < 1 || f.width > 4 ||
        static_cast<std::size_t>(f.offset + f.width) > bytes.size()) {
        throw IndexError(f.offset);
    }
    std::uint32_t value = 0;
    for (int i = f.width - 1; i >= 0; --i) {
        value = (value << 8) | bytes[static_cast<std::size_t>(f.offset + i)];
    }
    return value;
}

void EventTables::setField(int index, EventField f, std::uint32_t value) {
    field(index, f);  // the same checks
    auto bytes = record(f.kind, index);
    for (int i = 0; i < f.width; ++i) {
        bytes[static_cast<std::size_t>(f.offset + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

EventTables::Cell EventTables::position(EventRef ref) const {
    const auto bytes = record(ref.kind, ref.index);
    return {readLe16(&bytes[static_cast<std::size_t>(xOffsetOf(ref.kind))]),
            readLe16(&bytes[static_cast<std::size_t>(yOffsetOf(ref.kind))])};
}

void EventTables::setPosition(EventRef ref, int x, int y) {
    writePosition(ref.kind, record(ref.kind, ref.index), x, y);
}

void EventTables::writePosition(EventKind kind, std::span<std::uint8_t> record, int x, int y) {
    writeLe16(&record[static_cast<std::size_t>(xOffsetOf(kind))], static_cast<std::uint16_t>(x));
    writeLe16(&record[static_cast<std::size_t>(yOffsetOf(kind))], static_cast<std::uint16_t>(y));
}

EventRef EventTables::hitTest(int x, int y, bool personsOnly) const {
    const auto at = [&](EventKind kind) -> EventRef {
        for (int i = 0; i < count(kind); ++i) {
            const Cell c = position({kind, i});
            if (c.x == x && c.y == y) {
                return {kind, i};
            }
        }
        return {};
    };
    constexpr EventKind kOrder[] = {EventKind::Signpost, EventKind::ScriptTrigger, EventKind::Warp,
                                    EventKind::Person};
    for (std::size_t k = personsOnly ? 3 : 0; k < std::size(kOrder); ++k) {
        if (EventRef hit = at(kOrder[k]); !hit.none()) {
            return hit;
        }
    }
    if (!personsOnly && hasFlyPosition()) {
        const Cell c = position({EventKind::Fly, 0});
        if (c.x == x && c.y == y) {
            return {EventKind::Fly, 0};
        }
    }
    return {};
}

}  // namespace quillon
