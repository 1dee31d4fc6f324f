#include "core/state/map_places.h"

#include <algorithm>

#include "core/connections/connection_table.h"
#include "core/events/event_kind.h"
#include "core/events/event_tables.h"
#include "core/map/map_header.h"
#include "core/map/map_loader.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr std::uint32_t kBorderBytes = 8;
constexpr std::uint32_t kEventHeaderBytes = EventTables::kHeaderSize;
constexpr std::size_t kFooterPointer = 0;
constexpr std::size_t kEventsPointer = 4;
constexpr std::size_t kConnectionsPointer = 12;
const char* const kTableNames[] = {"place.name.person_table", "place.name.warp_table",
                                   "place.name.script_table", "place.name.signpost_table"};

// What a pointer names as a range of the file: nothing behind the end of the file or in the
// cartridge header; a range that runs past the end is cut there.
std::optional<RomRange> placed(TRom& rom, std::uint32_t offset, std::uint64_t size,
                               const Message& what, const std::string& owner) {
    const std::uint64_t fileSize = rom.size();
    if (size == 0 || offset < kCartridgeHeaderSize || offset >= fileSize) {
        return std::nullopt;
    }
    const auto kept = static_cast<std::uint32_t>(std::min(size, fileSize - offset));
    return RomRange{offset, kept, ownedName(what, owner)};
}

std::vector<std::uint8_t> bytesOf(TRom& rom, const RomRange& range) {
    return rom.ReadBlock(static_cast<std::int32_t>(range.offset), range.size);
}

void readFooterPlaces(TRom& rom, MapPlaces& p, const std::string& owner) {
    const auto raw = bytesOf(rom, *p.footer);
    if (raw.size() < MapFooter::kSize) {
        return;
    }
    const MapFooter footer = MapFooter::decode(raw);
    p.border = placed(rom, footer.borderOffset(), kBorderBytes, place_name::kBorder, owner);
    const std::uint64_t gridBytes = std::uint64_t{footer.width()} * footer.height() * 2;
    p.grid = placed(rom, footer.gridOffset(), gridBytes, place_name::kGrid, owner);
}

void readEventPlaces(TRom& rom, MapPlaces& p, std::uint32_t offset, const std::string& owner) {
    p.eventHeader = placed(rom, offset, kEventHeaderBytes, place_name::kEventHeader, owner);
    if (!p.eventHeader || p.eventHeader->size < kEventHeaderBytes) {
        return;
    }
    const auto raw = bytesOf(rom, *p.eventHeader);
    for (std::size_t s = 0; s < 4; ++s) {
        const std::uint64_t bytes = std::uint64_t{raw[s]} * recordSize(kTableKinds[s]);
        const std::uint32_t at = readPointerField(&raw[4 + 4 * s]);
        if (auto table = placed(rom, at, bytes, message(kTableNames[s]), owner)) {
            p.eventTables.push_back(*table);
        }
    }
}

void readConnectionPlaces(TRom& rom, MapPlaces& p, std::uint32_t offset, const std::string& owner) {
    p.connectionHeader =
        placed(rom, offset, ConnectionTable::kHeaderSize, place_name::kConnectionHeader, owner);
    if (!p.connectionHeader || p.connectionHeader->size < ConnectionTable::kHeaderSize) {
        return;
    }
    const auto raw = bytesOf(rom, *p.connectionHeader);
    const std::uint64_t bytes = std::uint64_t{readLe32(raw.data())} * Connection::kSize;
    p.connections =
        placed(rom, readPointerField(raw.data() + 4), bytes, place_name::kConnections, owner);
}

}  // namespace

std::vector<RomRange> MapPlaces::all() const {
    std::vector<RomRange> ranges;
    for (const auto* r : {&header, &footer, &border, &grid}) {
        if (*r) {
            ranges.push_back(**r);
        }
    }
    for (const auto& group : {events(), connectionTable()}) {
        ranges.insert(ranges.end(), group.begin(), group.end());
    }
    return ranges;
}

std::vector<RomRange> MapPlaces::events() const {
    std::vector<RomRange> ranges = eventTables;
    if (eventHeader) {
        ranges.push_back(*eventHeader);
    }
    return ranges;
}

std::vector<RomRange> MapPlaces::connectionTable() const {
    std::vector<RomRange> ranges;
    for (const auto* r : {&connectionHeader, &connections}) {
        if (*r) {
            ranges.push_back(**r);
        }
    }
    return ranges;
}

MapPlaces readMapPlaces(TRom& rom, std::uint32_t headerOffset, std::uint32_t footerOffset,
                        const std::string& owner) {
    MapPlaces p;
    std::uint32_t footerAt = footerOffset;
    if (headerOffset != 0) {
        p.header = placed(rom, headerOffset, MapHeader::kSize, place_name::kHeader, owner);
    }
    if (p.header && p.header->size == MapHeader::kSize) {
        const auto raw = bytesOf(rom, *p.header);
        if (footerAt == 0) {
            footerAt = readPointerField(&raw[kFooterPointer]);
        }
        readEventPlaces(rom, p, readPointerField(&raw[kEventsPointer]), owner);
        readConnectionPlaces(rom, p, readPointerField(&raw[kConnectionsPointer]), owner);
    }
    p.footer = placed(rom, footerAt, MapFooter::kSize, place_name::kFooter, owner);
    if (p.footer) {
        readFooterPlaces(rom, p, owner);
    }
    return p;
}

std::vector<ByteRange> mapRanges(TRom& rom, const CurrentMap& map) {
    if (map.outsideRom || (!map.hasHeader() && !map.hasFooter())) {
        return {};
    }
    const MapPlaces places = readMapPlaces(rom, map.hasHeader() ? map.headerOffset : 0,
                                           map.hasFooter() ? map.footerOffset : 0, "");
    std::vector<ByteRange> ranges;
    for (const RomRange& r : places.all()) {
        ranges.push_back({r.offset, r.end(), germanText(r.what)});
    }
    return ranges;
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
