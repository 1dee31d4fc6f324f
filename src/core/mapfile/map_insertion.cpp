#include "core/mapfile/map_insertion.h"

#include <string>
#include <vector>

#include "core/base/numbers.h"
#include "core/writers/map_resize.h"
#include "core/writers/tileset_choice.h"
#include "core/errors.h"
#include "core/writers/event_counts.h"
#include "core/events/event_tables.h"
#include "core/map/map_header.h"
#include "core/map/map_list.h"
#include "core/map/map_loader.h"
#include "core/state/map_places.h"
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
constexpr std::uint32_t kBorderPointerAt = 8;
constexpr std::uint32_t kBorderBytes = 8;
// FireRed/LeafGreen footers go on with the border's width and height (bytes 24 and 25) and
// two bytes of padding.
constexpr std::uint32_t kFrlgFooterBytes = 28;
// Maps a refusal names at most; the rest are counted.
constexpr std::size_t kNamedMaps = 8;

std::string slotText(int bank, int map) { return std::to_string(bank) + "." + std::to_string(map); }

std::string hexOffset(std::uint64_t offset) {
    return "$" + IntToHex(static_cast<std::int64_t>(offset), 6);
}

void requireAlignedFor(TRom& rom, std::uint32_t offset, std::uint32_t count,
                       std::uint32_t alignment, const char* why) {
    try {
        requireAligned(rom, offset, count, alignment);
    } catch (const Error& e) {
        throw Error(message("insert.aligned", {e.message(), message(why)}));
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
    const std::string slot = slotText(bank, map);
    if (scan.unusable) {
        throw Error(message("insert.slot", {slot, *scan.unusable}));
    }
    if (bank < 0 || static_cast<std::size_t>(bank) >= scan.banks.size() ||
        scan.banks[static_cast<std::size_t>(bank)].empty()) {
        throw Error(message("insert.slot", {slot, message("insert.no_bank",
                                                          {std::to_string(bank)})}));
    }
    const auto& maps = scan.banks[static_cast<std::size_t>(bank)];
    if (map < 0 || static_cast<std::size_t>(map) >= maps.size()) {
        throw Error(message("insert.slot",
                            {slot, message("insert.few_maps", {std::to_string(bank),
                                                               std::to_string(maps.size()),
                                                               std::to_string(maps.size() - 1)})}));
    }
    Slot s{bank, map, maps[static_cast<std::size_t>(map)].headerOffset, 0};
    if (std::uint64_t{s.header} + MapHeader::kSize > rom.size()) {
        throw Error(message("insert.slot",
                            {slot, message("insert.header_past_end", {hexOffset(s.header)})}));
    }
    std::array<std::uint8_t, 4> pointer{};
    rom.ReadBlock(static_cast<std::int32_t>(s.header), pointer);
    s.footer = readPointerField(pointer.data());
    const bool inFile = std::uint64_t{s.footer} + MapFooter::kSize <= rom.size();
    if (!isRomPointer(readLe32(pointer.data())) || !inFile || s.footer < kCartridgeHeaderSize) {
        throw Error(message("insert.slot",
                            {slot, message("insert.no_footer", {hexOffset(s.header)})}));
    }
    return s;
}

namespace {

// The tileset header the map in memory was drawn with: the one its footer copy names, even
// where no number does (Emerald's later tileset headers do not lie on the table's 24-byte
// steps). A ROM map keeps what its footer had; the headers of a map outside the ROM were
// chosen from a map file or "Neue Map" and are checked again against the ROM.
std::uint32_t tilesetHeader(TRom& rom, const GameProfile& profile, const CurrentMap& map,
                            int part) {
    const std::uint32_t used =
        part == 1 ? map.footer.tileset1Offset() : map.footer.tileset2Offset();
    if (map.outsideRom) {
        return tileset_choice::checkedHeader(rom, used, part,
                                             tileset_choice::headerText(profile, used));
    }
    return used;
}

std::uint32_t footerBytes(const TRom& rom) {
    return rom.isFrlg() ? kFrlgFooterBytes : static_cast<std::uint32_t>(MapFooter::kSize);
}

Message sharedFooterMessage(const Slot& slot, const std::vector<std::pair<int, int>>& sharing) {
    std::string names;
    for (std::size_t i = 0; i < sharing.size() && i < kNamedMaps; ++i) {
        names += (i == 0 ? "" : ", ") + slotText(sharing[i].first, sharing[i].second);
    }
    if (sharing.size() > kNamedMaps) {
        names += ", ...";
    }
    return message("insert.slot",
                   {slotText(slot.bank, slot.map),
                    message("insert.shared_footer",
                            {hexOffset(slot.footer), std::to_string(sharing.size()), names})});
}

// Where the slot's border lies: the footer's border pointer, inside the file.
std::uint32_t borderPlace(TRom& rom, const Slot& slot) {
    std::array<std::uint8_t, 4> pointer{};
    rom.ReadBlock(static_cast<std::int32_t>(slot.footer + kBorderPointerAt), pointer);
    const std::uint32_t border = readPointerField(pointer.data());
    if (!isRomPointer(readLe32(pointer.data())) ||
        std::uint64_t{border} + kBorderBytes > rom.size() || border < kCartridgeHeaderSize) {
        const Message why = message("insert.no_border", {hexOffset(slot.footer)});
        throw Error(message("insert.slot", {slotText(slot.bank, slot.map), why}));
    }
    return border;
}

// Everything insert() checks before its first write; returns the slot, both header places,
// the footer to write and the border's place.
struct Checked {
    Slot slot;
    std::uint32_t tileset1 = 0;
    std::uint32_t tileset2 = 0;
    std::uint32_t footer = 0;
    std::uint32_t border = 0;
};

// The footer: refused when shared and not allowed; a footer of the slot's own goes to the
// plan's place with the border behind it.
void chooseFooter(TRom& rom, const BankScan& scan, const Plan& plan, Checked& c) {
    const auto sharing = mapsSharingFooter(rom, scan, c.slot.footer);
    if (sharing.size() > 1 && !plan.sharedOk && !plan.ownFooter) {
        throw Error(sharedFooterMessage(c.slot, sharing));
    }
    if (!plan.ownFooter) {
        c.footer = c.slot.footer;
        c.border = borderPlace(rom, c.slot);
        return;
    }
    c.footer = *plan.ownFooter;
    c.border = c.footer + footerBytes(rom);
    requireAlignedFor(rom, c.footer, ownFooterSpace(rom), kEventAlignment,
                      "insert.why.footer_words");
}

std::vector<RomRange> oldOf(const std::optional<RomRange>& r) {
    return r ? std::vector<RomRange>{*r} : std::vector<RomRange>{};
}

// Every write as planned. Each may lie on the slot's own data of the same kind (grid on its
// old grid, events on its old tables and header, footer and border where they are); a footer
// of the slot's own and everything else goes on free space.
std::vector<PlannedWrite> plannedWrites(TRom& rom, const MapPlaces& slot, const Checked& c,
                                        const BlockGrid& grid, const EventTables& events,
                                        const Plan& plan) {
    const std::uint32_t gridAt = plan.gridSpace + kBytesBeforeGrid;
    const std::uint32_t eventBytes = eventSpace(events);
    const std::uint32_t header = plan.events + eventBytes - EventTables::kHeaderSize;
    const bool own = plan.ownFooter.has_value();
    std::vector<PlannedWrite> writes{
        {{gridAt, gridSpace(grid) - kBytesAroundGrid, place_name::kGrid},
         oldOf(slot.grid),
         plan.gridFill},
        {{plan.events, header - plan.events, place_name::kEventTables}, slot.events()},
        {{header, EventTables::kHeaderSize, place_name::kEventHeader}, slot.events()},
        {{c.border, kBorderBytes, place_name::kBorder},
         own ? std::vector<RomRange>{} : oldOf(slot.border)},
        {{c.footer, own ? footerBytes(rom) : static_cast<std::uint32_t>(MapFooter::kSize),
          place_name::kFooter},
         own ? std::vector<RomRange>{} : oldOf(slot.footer)}};
    const std::uint32_t pointersAt = own ? c.slot.header : c.slot.header + kEventsPointerAt;
    writes.push_back({{pointersAt, own ? 8u : 4u, place_name::kHeader}, oldOf(slot.header)});
    return writes;
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
                      "insert.why.grid_even");
}

namespace {

Checked check(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
              const BlockGrid& grid, const EventTables& events, const Plan& plan) {
    checkGridPlace(rom, grid, plan.gridSpace, plan.gridFill);
    Checked c;
    c.slot = locateSlot(rom, scan, plan.bank, plan.map);
    c.tileset1 = tilesetHeader(rom, profile, map, 1);
    c.tileset2 = tilesetHeader(rom, profile, map, 2);
    chooseFooter(rom, scan, plan, c);
    const MapPlaces slot =
        readMapPlaces(rom, c.slot.header, c.slot.footer, slotText(plan.bank, plan.map));
    Placement placement;
    placement.fill = plan.eventFill;
    placement.reliedOn = slot.all();
    placement.writes = plannedWrites(rom, slot, c, grid, events, plan);
    requirePlacement(rom, placement);
    const std::uint32_t eventBytes = eventSpace(events);
    requireAlignedFor(rom, plan.events, eventBytes, kEventAlignment,
                      "insert.why.event_words");
    return c;
}

// The footer as written: a ROM map's other bytes kept, size, grid and tileset pointers new; a
// footer of the slot's own also points at its border behind it (FireRed/LeafGreen: 2 x 2).
std::vector<std::uint8_t> footerBlock(TRom& rom, const Checked& c, const BlockGrid& grid,
                                      std::uint32_t gridAt, bool own) {
    // A footer in place keeps its bytes past the first 24 (FireRed/LeafGreen's border size).
    std::vector<std::uint8_t> footer = rom.ReadBlock(static_cast<std::int32_t>(c.slot.footer),
                                                     own ? footerBytes(rom) : MapFooter::kSize);
    writeLe32(&footer[0], grid.width);
    writeLe32(&footer[4], grid.height);
    writePointerField(&footer[12], gridAt);
    writePointerField(&footer[16], c.tileset1);
    writePointerField(&footer[20], c.tileset2);
    if (own) {
        writePointerField(&footer[kBorderPointerAt], c.border);
        if (rom.isFrlg()) {
            footer[24] = 2;
            footer[25] = 2;
        }
    }
    return footer;
}

}  // namespace

void checkPlan(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
               const BlockGrid& grid, const EventTables& events, const Plan& plan) {
    check(rom, profile, scan, map, grid, events, plan);
}

std::vector<std::pair<int, int>> mapsSharingFooter(TRom& rom, const BankScan& scan,
                                                   std::uint32_t footer) {
    std::vector<std::pair<int, int>> maps;
    for (const auto& bank : scan.banks) {
        for (const BankMap& m : bank) {
            if (std::uint64_t{m.headerOffset} + MapHeader::kSize > rom.size()) {
                continue;
            }
            std::array<std::uint8_t, 4> pointer{};
            rom.ReadBlock(static_cast<std::int32_t>(m.headerOffset), pointer);
            if (isRomPointer(readLe32(pointer.data())) &&
                readPointerField(pointer.data()) == footer) {
                maps.emplace_back(m.bank, m.map);
            }
        }
    }
    return maps;
}

std::uint32_t ownFooterSpace(const TRom& rom) { return footerBytes(rom) + kBorderBytes; }

Result insert(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
              const BlockGrid& grid, const EventTables& events, const Plan& plan) {
    rom.Open();
    const Checked c = check(rom, profile, scan, map, grid, events, plan);
    const bool own = plan.ownFooter.has_value();
    const std::uint32_t gridAt = plan.gridSpace + kBytesBeforeGrid;
    const std::uint32_t eventBytes = eventSpace(events);
    const std::vector<std::uint8_t> block = eventBlock(events, plan.events);
    const std::vector<std::uint8_t> footer = footerBlock(rom, c, grid, gridAt, own);
    const std::uint32_t header = plan.events + eventBytes - EventTables::kHeaderSize;
    std::array<std::uint8_t, 8> pointers{};  // the header's footer (+0) and events (+4)
    writePointerField(&pointers[0], c.footer);
    writePointerField(&pointers[kEventsPointerAt], header);

    // Data first (grid, events, border), then the footer naming them, last the header's
    // pointers.
    const std::string target = slotText(plan.bank, plan.map);
    TRom::Transaction tx(rom, message("history.name.insert_map", {target}), target);
    rom.WriteBlock(grid.encode(), static_cast<std::int32_t>(gridAt));
    rom.WriteBlock(block, static_cast<std::int32_t>(plan.events));
    rom.WriteBlock(map.border, static_cast<std::int32_t>(c.border));
    rom.WriteBlock(footer, static_cast<std::int32_t>(c.footer));
    if (own) {
        rom.WriteBlock(pointers, static_cast<std::int32_t>(c.slot.header));
    } else {
        rom.WriteBlock(std::span(pointers).subspan(kEventsPointerAt),
                       static_cast<std::int32_t>(c.slot.header + kEventsPointerAt));
    }
    tx.commit();
    rom.Close();
    return {c.slot, gridAt, header, eventBytes, c.footer, c.border, map.border};
}

bool followFooter(CurrentMap& open, const Result& result) {
    const bool ownSlot = open.hasHeader() && open.headerOffset == result.slot.header;
    if (open.outsideRom || !open.hasFooter() || ownSlot || result.footer != result.slot.footer ||
        open.footerOffset != result.slot.footer) {
        return false;
    }
    writePointerField(&open.footer.raw[12], result.grid);
    open.gridOffset = result.grid;
    open.border = result.borderBytes;
    return true;
}

}  // namespace quillon::map_insertion
