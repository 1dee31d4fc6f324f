#include "core/mapfile/map_insertion.h"

#include <string>
#include <vector>

#include "core/base/numbers.h"
#include "core/edit/map_resize.h"
#include "core/edit/tileset_choice.h"
#include "core/errors.h"
#include "core/events/event_counts.h"
#include "core/events/event_tables.h"
#include "core/map/map_header.h"
#include "core/map/map_list.h"
#include "core/map/map_loader.h"
#include "core/map_places.h"
#include "core/rom/cartridge.h"
#include "core/rom/free_space.h"
#include "core/rom/placement.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon::map_insertion {

namespace {

constexpr std::uint32_t kBytesBeforeGrid = 8;
constexpr std::uint32_t kBytesAroundGrid = 32;
constexpr std::uint32_t kGridAlignment = 2;
// The game reads event tables and headers as 32-bit words.
constexpr std::uint32_t kEventAlignment = 4;
constexpr std::uint32_t kEventsPointerAt = 4;

std::string slotText(int bank, int map) { return std::to_string(bank) + "." + std::to_string(map); }

std::string hexOffset(std::uint64_t offset) {
    return "$" + IntToHex(static_cast<std::int64_t>(offset), 6);
}

void requireAlignedFor(TRom& rom, std::uint32_t offset, std::uint32_t count,
                       std::uint32_t alignment, const char* why) {
    try {
        requireAligned(rom, offset, count, alignment);
    } catch (const Error& e) {
        throw Error(std::string(e.what()) + " " + why);
    }
}

EventCounts countsOf(const EventTables& events) { return eventCounts(events); }

// Records of the four tables back to back, then the event header naming them.
std::vector<std::uint8_t> eventBlock(const EventTables& events, std::uint32_t at) {
    const EventLayout layout = eventLayout(countsOf(events), at);
    std::vector<std::uint8_t> block;
    for (EventKind kind : kTableKinds) {
        const auto& table = events.table(kind);
        block.insert(block.end(), table.begin(), table.end());
    }
    std::vector<std::uint8_t> header(EventTables::kHeaderSize);
    for (std::size_t s = 0; s < 4; ++s) {
        header[s] = static_cast<std::uint8_t>(events.count(kTableKinds[s]));
        writePointerField(&header[4 + 4 * s], layout.tables[s]);
    }
    block.insert(block.end(), header.begin(), header.end());
    return block;
}

}  // namespace

std::uint32_t gridSpace(const BlockGrid& grid) { return resizeSpace(grid.width, grid.height); }

std::uint32_t eventSpace(const EventTables& events) {
    return quillon::eventSpace(countsOf(events));
}

std::optional<std::pair<int, int>> parseSlot(const std::string& answer) {
    const auto dot = answer.find('.');
    if (dot == std::string::npos) {
        return std::nullopt;
    }
    return std::pair{StrToInt(answer.substr(0, dot)), StrToInt(answer.substr(dot + 1))};
}

Slot locateSlot(TRom& rom, const BankScan& scan, int bank, int map) {
    const std::string slot = "Bank/Nr " + slotText(bank, map);
    if (bank < 0 || static_cast<std::size_t>(bank) >= scan.banks.size() ||
        scan.banks[static_cast<std::size_t>(bank)].empty()) {
        throw Error(slot + ": die Bank " + std::to_string(bank) +
                    " gibt es in den Tabellen des Roms nicht.");
    }
    const auto& maps = scan.banks[static_cast<std::size_t>(bank)];
    if (map < 0 || static_cast<std::size_t>(map) >= maps.size()) {
        throw Error(slot + ": die Bank " + std::to_string(bank) + " hat nur " +
                    std::to_string(maps.size()) + " Maps (0 bis " +
                    std::to_string(maps.size() - 1) + ").");
    }
    Slot s{bank, map, maps[static_cast<std::size_t>(map)].headerOffset, 0};
    if (std::uint64_t{s.header} + MapHeader::kSize > rom.size()) {
        throw Error(slot + ": der Map-Header (" + hexOffset(s.header) +
                    ") liegt hinter dem Ende der Datei.");
    }
    std::array<std::uint8_t, 4> pointer{};
    rom.ReadBlock(static_cast<std::int32_t>(s.header), pointer);
    s.footer = readPointerField(pointer.data());
    const bool inFile = std::uint64_t{s.footer} + MapFooter::kSize <= rom.size();
    if (!isRomPointer(readLe32(pointer.data())) || !inFile || s.footer < kCartridgeHeaderSize) {
        throw Error(slot + ": der Map-Header (" + hexOffset(s.header) +
                    ") zeigt auf keinen Map-Footer in der Datei.");
    }
    return s;
}

namespace {

// The tileset header the map in memory was drawn with. A ROM map's footer names it even where
// its number does not: Emerald's later tileset headers do not lie on the table's 24-byte steps.
// A map outside the ROM has numbers only; they are checked against the table.
std::uint32_t tilesetHeader(TRom& rom, const GameProfile& profile, const CurrentMap& map,
                            int part) {
    const std::uint32_t used =
        part == 1 ? map.footer.tileset1Offset() : map.footer.tileset2Offset();
    if (!map.outsideRom && map.hasFooter() && used != 0) {
        return used;
    }
    return tileset_choice::headerOffset(rom, profile, part == 1 ? map.tileset1 : map.tileset2,
                                        part);
}

// Everything insert() checks before its first write; returns the slot and both header places.
struct Checked {
    Slot slot;
    std::uint32_t tileset1 = 0;
    std::uint32_t tileset2 = 0;
};

// The grid's and the events' writes as planned. Each may lie on the slot's own data of the
// same kind (grid on its old grid, events on its old tables and header), everything else is
// free space.
std::vector<PlannedWrite> plannedWrites(const MapPlaces& slot, const Slot& s,
                                        const BlockGrid& grid, const EventTables& events,
                                        const Plan& plan) {
    const std::uint32_t gridAt = plan.gridSpace + kBytesBeforeGrid;
    const std::uint32_t eventBytes = eventSpace(events);
    const std::uint32_t header = plan.events + eventBytes - EventTables::kHeaderSize;
    const auto oldOf = [](const std::optional<RomRange>& r) {
        return r ? std::vector<RomRange>{*r} : std::vector<RomRange>{};
    };
    return {{{gridAt, gridSpace(grid) - kBytesAroundGrid, place_name::kGrid},
             oldOf(slot.grid),
             plan.gridFill},
            {{plan.events, header - plan.events, place_name::kEventTables}, slot.events()},
            {{header, EventTables::kHeaderSize, place_name::kEventHeader}, slot.events()},
            {{s.footer, MapFooter::kSize, place_name::kFooter}, oldOf(slot.footer)},
            {{s.header + kEventsPointerAt, 4, place_name::kHeader}, oldOf(slot.header)}};
}

}  // namespace

void checkGridPlace(TRom& rom, const BlockGrid& grid, std::uint32_t at, std::uint8_t fill) {
    checkMapSize(grid.width, grid.height);
    const std::uint32_t space = gridSpace(grid);
    Placement placement;
    placement.fill = fill;
    placement.writes = {{{at + kBytesBeforeGrid, space - kBytesAroundGrid, place_name::kGrid}, {}}};
    requirePlacement(rom, placement);
    requireAlignedFor(rom, at, space, kGridAlignment,
                      "Der Block-Grid beginnt 8 Bytes dahinter und braucht eine gerade Adresse.");
}

namespace {

Checked check(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
              const BlockGrid& grid, const EventTables& events, const Plan& plan) {
    checkGridPlace(rom, grid, plan.gridSpace, plan.gridFill);
    Checked c;
    c.slot = locateSlot(rom, scan, plan.bank, plan.map);
    c.tileset1 = tilesetHeader(rom, profile, map, 1);
    c.tileset2 = tilesetHeader(rom, profile, map, 2);
    const MapPlaces slot =
        readMapPlaces(rom, c.slot.header, c.slot.footer, slotText(plan.bank, plan.map));
    Placement placement;
    placement.fill = plan.eventFill;
    placement.reliedOn = slot.all();
    placement.writes = plannedWrites(slot, c.slot, grid, events, plan);
    requirePlacement(rom, placement);
    const std::uint32_t eventBytes = eventSpace(events);
    requireAlignedFor(rom, plan.events, eventBytes, kEventAlignment,
                      "Events werden als 32-Bit-Worte gelesen.");
    return c;
}

}  // namespace

void checkPlan(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
               const BlockGrid& grid, const EventTables& events, const Plan& plan) {
    check(rom, profile, scan, map, grid, events, plan);
}

Result insert(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
              const BlockGrid& grid, const EventTables& events, const Plan& plan) {
    rom.Open();
    const Checked c = check(rom, profile, scan, map, grid, events, plan);
    const std::uint32_t gridAt = plan.gridSpace + kBytesBeforeGrid;
    const std::uint32_t eventBytes = eventSpace(events);
    const std::vector<std::uint8_t> block = eventBlock(events, plan.events);
    std::array<std::uint8_t, 8> size{};
    writeLe32(&size[0], grid.width);
    writeLe32(&size[4], grid.height);
    std::array<std::uint8_t, 12> pointers{};
    writePointerField(&pointers[0], gridAt);
    writePointerField(&pointers[4], c.tileset1);
    writePointerField(&pointers[8], c.tileset2);

    // Data first (grid, events), then the footer naming the grid, last the header's pointer.
    const std::string target = slotText(plan.bank, plan.map);
    TRom::Transaction tx(rom, "Map einfügen " + target, target);
    rom.WriteBlock(grid.encode(), static_cast<std::int32_t>(gridAt));
    rom.WriteBlock(block, static_cast<std::int32_t>(plan.events));
    rom.WriteBlock(size, static_cast<std::int32_t>(c.slot.footer));
    rom.WriteBlock(pointers, static_cast<std::int32_t>(c.slot.footer + 12));
    const std::uint32_t header = plan.events + eventBytes - EventTables::kHeaderSize;
    rom.WritePointer(static_cast<std::int32_t>(c.slot.header + kEventsPointerAt), header);
    tx.commit();
    rom.Close();
    return {c.slot, gridAt, header, eventBytes};
}

bool followFooter(CurrentMap& open, const Result& result) {
    const bool ownSlot = open.hasHeader() && open.headerOffset == result.slot.header;
    if (open.outsideRom || !open.hasFooter() || ownSlot ||
        open.footerOffset != result.slot.footer) {
        return false;
    }
    writePointerField(&open.footer.raw[12], result.grid);
    open.gridOffset = result.grid;
    return true;
}

}  // namespace quillon::map_insertion
