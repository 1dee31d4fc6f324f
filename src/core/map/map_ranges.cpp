#include "core/map/map_ranges.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/base/numbers.h"
#include "core/rom/trom.h"
#include "core/rom/rom_pointer.h"

namespace quillon {

namespace {

constexpr std::uint32_t kBorderBytes = 8;
constexpr std::uint32_t kEventHeaderBytes = 20;
constexpr std::uint32_t kConnectionHeaderBytes = 8;
constexpr std::uint32_t kConnectionBytes = 12;

struct EventTable {
    std::uint32_t recordBytes;
    const char* what;
};
// The event header's order: persons, warps, script triggers, signposts.
constexpr std::array<EventTable, 4> kEventTables{{{24, "die Personen"},
                                                  {8, "die Warps"},
                                                  {16, "die Script-Trigger"},
                                                  {12, "die Schilder"}}};

class Collector {
public:
    explicit Collector(TRom& rom) : m_rom(rom), m_size(rom.size()) {}

    // Adds [offset, offset + bytes), cut at the end of the file; nothing for offset 0 or an
    // offset past the end.
    void add(std::uint32_t offset, std::uint64_t bytes, const char* what) {
        if (offset == 0 || offset >= m_size || bytes == 0) {
            return;
        }
        m_ranges.push_back({offset, std::min<std::uint64_t>(offset + bytes, m_size), what});
    }
    // The bytes at offset when they lie in the file.
    std::optional<std::vector<std::uint8_t>> read(std::uint32_t offset, std::size_t bytes) {
        if (offset == 0 || std::uint64_t{offset} + bytes > m_size) {
            return std::nullopt;
        }
        return m_rom.ReadBlock(static_cast<std::int32_t>(offset), bytes);
    }
    std::vector<ByteRange> take() { return std::move(m_ranges); }

private:
    TRom& m_rom;
    std::uint64_t m_size;
    std::vector<ByteRange> m_ranges;
};

void addEvents(Collector& c, std::uint32_t eventsOffset) {
    c.add(eventsOffset, kEventHeaderBytes, "der Event-Header");
    const auto header = c.read(eventsOffset, kEventHeaderBytes);
    if (!header) {
        return;
    }
    for (std::size_t s = 0; s < kEventTables.size(); ++s) {
        const std::uint64_t bytes = std::uint64_t{(*header)[s]} * kEventTables[s].recordBytes;
        c.add(readPointerField(header->data() + 4 + 4 * s), bytes, kEventTables[s].what);
    }
}

void addConnections(Collector& c, std::uint32_t connections) {
    c.add(connections, kConnectionHeaderBytes, "der Anbindungs-Header");
    const auto header = c.read(connections, kConnectionHeaderBytes);
    if (header) {
        const std::uint64_t bytes = std::uint64_t{readLe32(header->data())} * kConnectionBytes;
        c.add(readPointerField(header->data() + 4), bytes, "die Anbindungen");
    }
}

}  // namespace

std::vector<ByteRange> mapRanges(TRom& rom, const CurrentMap& map) {
    Collector c(rom);
    if (map.outsideRom) {
        return c.take();
    }
    if (map.hasHeader()) {
        c.add(map.headerOffset, MapHeader::kSize, "der Map-Header");
        addEvents(c, map.eventsOffset);
        addConnections(c, map.header.connectionsOffset());
    }
    if (map.hasFooter()) {
        c.add(map.footerOffset, MapFooter::kSize, "der Map-Footer");
        c.add(map.footer.borderOffset(), kBorderBytes, "der Rand");
        const std::uint64_t cells = std::uint64_t{map.footer.width()} * map.footer.height();
        c.add(map.gridOffset, cells * 2, "der Block-Grid");
    }
    return c.take();
}

bool touches(const std::vector<HistoryRange>& changed, const std::vector<ByteRange>& ranges) {
    return std::any_of(changed.begin(), changed.end(), [&](const HistoryRange& r) {
        const std::uint64_t begin = r.offset;
        const std::uint64_t end = begin + std::max(r.before.size(), r.after.size());
        return std::any_of(ranges.begin(), ranges.end(), [&](const ByteRange& m) {
            return begin < m.end && m.begin < end;
        });
    });
}

}  // namespace quillon
