#include "core/writers/tileset_choice.h"

#include <array>

#include "core/base/numbers.h"
#include "core/blocks/block_place.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/state/map_state.h"
#include "core/state/map_state_check.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon::tileset_choice {

namespace {

constexpr std::size_t kHeaderSize = TilesetPair::kHeaderSize;
using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;
// Header byte 1: 0 for a primary tileset (part 1), else secondary (part 2).
constexpr std::size_t kSecondaryFlag = 1;
// The most bytes of other data a table may hold between two headers.
constexpr std::uint32_t kMaxGap = 20;

Message partName(int part) { return message("tilesets.part", {std::to_string(part)}); }

// "Tileset1 3: <why>": the part, what the user gave for it and why it is refused.
Error refused(int part, const std::string& given, Message why) {
    return Error(message("tilesets.refused", {partName(part), given, std::move(why)}));
}

Choice current(const CurrentMap& map, int part) {
    Choice c;
    c.number = part == 1 ? map.tileset1 : map.tileset2;
    c.offset = part == 1 ? map.footer.tileset1Offset() : map.footer.tileset2Offset();
    c.header = part == 1 ? map.tilesetHeader1 : map.tilesetHeader2;
    return c;
}

void remember(CurrentMap& map, const Choice& c, int part) {
    const std::size_t at = part == 1 ? 16 : 20;
    writePointerField(&map.footer.raw[at], c.offset);
    (part == 1 ? map.tileset1 : map.tileset2) = c.number;
    (part == 1 ? map.tilesetHeader1 : map.tilesetHeader2) = c.header;
}

bool insideFile(TRom& rom, std::uint64_t offset) {
    return offset + kHeaderSize <= rom.size() && offset < kRomPointerReach;
}

// The first of the header's four data pointers that is no ROM pointer into the file; nullopt
// when all are. The attribute table lies at +16 (Ruby/Sapphire/Emerald) or +20
// (FireRed/LeafGreen, whose +16 is a code pointer that may be null).
std::optional<std::size_t> badPointer(TRom& rom, const HeaderBytes& header) {
    const auto attributes =
        static_cast<std::size_t>(blocks::attributeLayout(rom.isFrlg()).headerField);
    for (std::size_t at : {std::size_t{4}, std::size_t{8}, std::size_t{12}, attributes}) {
        if (!isRomPointer(readLe32(&header[at])) || readPointerField(&header[at]) >= rom.size()) {
            return at;
        }
    }
    return std::nullopt;
}

// A header of the table at offset: data pointers into the file, both flags 0 or 1, and (found
// behind a gap, where other data could pass for one) its two padding bytes 0.
std::optional<TableHeader> tableHeaderAt(TRom& rom, std::uint64_t offset, bool behindGap) {
    if (!insideFile(rom, offset)) {
        return std::nullopt;
    }
    HeaderBytes header{};
    rom.ReadBlock(static_cast<std::int32_t>(offset), header);
    const bool flags = header[0] <= 1 && header[1] <= 1;
    const bool padding = !behindGap || (header[2] == 0 && header[3] == 0);
    if (!flags || !padding || badPointer(rom, header)) {
        return std::nullopt;
    }
    return TableHeader{static_cast<std::uint32_t>(offset), header[kSecondaryFlag] != 0};
}

}  // namespace

static_assert(std::tuple_size_v<decltype(Choice::header)> == kHeaderSize);

Choice choose(TRom& rom, const GameProfile& profile, std::uint32_t offset, int part) {
    Choice c;
    c.offset = checkedHeader(rom, offset, part, headerText(profile, offset));
    c.number = keyNumber(profile, offset);
    rom.ReadBlock(static_cast<std::int32_t>(c.offset), c.header);
    return c;
}

void load(TRom& rom, RomState& romState, const IniFile& tilesetsIni, const Choice& one,
          const Choice& two) {
    romState.tilesets().LoadTilesets(rom, {one.number, one.header, one.offset},
                                     {two.number, two.header, two.offset}, tilesetsIni,
                                     romState.profile().tilesetHeight);
}

int numberFromText(const std::string& text, int part) {
    if (auto n = TryStrToInt(text)) {
        return *n;
    }
    throw Error(message("tilesets.not_number", {partName(part), text}));
}

std::uint32_t headerFromText(TRom& rom, const GameProfile& profile, const std::string& text,
                             int part, const RomState* state) {
    const int value = numberFromText(text, part);
    const auto start = text.find_first_not_of(" \t");
    const bool hex = start != std::string::npos &&
                     (text[start] == '$' || text.compare(start, 2, "0x") == 0 ||
                      text.compare(start, 2, "0X") == 0);
    if (value > 0) {
        if (auto offset = decodeRomPointer(static_cast<std::uint32_t>(value))) {
            return checkedHeader(rom, *offset, part, hexOffset(*offset));
        }
        // Without a table (none named, or it failed its check) "$" names an offset only.
        if (hex && (profile.tilesetHeader <= 0 || value >= profile.tilesetHeader)) {
            const auto offset = static_cast<std::uint32_t>(value);
            return checkedHeader(rom, offset, part, hexOffset(offset));
        }
    }
    if (state) {
        state->requireTable(tables::Table::Tilesets);  // a number needs the table
    }
    return headerOffset(rom, profile, value, part);
}

std::uint32_t headerOffset(TRom& rom, const GameProfile& profile, int number, int part) {
    const std::string what = std::to_string(number);
    if (profile.tilesetHeader <= 0) {
        throw refused(part, what, message("tilesets.no_table"));
    }
    if (number < 0) {
        throw refused(part, what, message("tilesets.negative"));
    }
    const std::uint64_t offset = static_cast<std::uint64_t>(profile.tilesetHeader) +
                                 static_cast<std::uint64_t>(number) * kHeaderSize;
    if (!insideFile(rom, offset)) {
        throw refused(part, what, message("tilesets.header_past_end", {hexOffset(offset)}));
    }
    return checkedHeader(rom, static_cast<std::uint32_t>(offset), part, std::to_string(number));
}

std::uint32_t checkedHeader(TRom& rom, std::uint32_t offset, int part, const std::string& what) {
    if (!insideFile(rom, offset)) {
        throw refused(part, what, message("tilesets.header_past_end", {hexOffset(offset)}));
    }
    HeaderBytes header{};
    rom.ReadBlock(static_cast<std::int32_t>(offset), header);
    if (auto at = badPointer(rom, header)) {
        throw refused(part, what,
                      message("tilesets.not_header", {hexOffset(offset), std::to_string(*at)}));
    }
    const bool secondary = header[kSecondaryFlag] != 0;
    if (secondary != (part == 2)) {
        throw refused(part, what,
                      message(secondary ? "tilesets.secondary" : "tilesets.primary",
                              {hexOffset(offset), std::to_string(header[kSecondaryFlag])}));
    }
    return offset;
}

std::optional<int> exactNumber(const GameProfile& profile, std::uint32_t header) {
    if (profile.tilesetHeader <= 0 || header < static_cast<std::uint32_t>(profile.tilesetHeader)) {
        return std::nullopt;
    }
    const std::uint32_t steps = header - static_cast<std::uint32_t>(profile.tilesetHeader);
    if (steps % kHeaderSize != 0) {
        return std::nullopt;
    }
    return static_cast<int>(steps / kHeaderSize);
}

int keyNumber(const GameProfile& profile, std::uint32_t header) {
    return (static_cast<std::int32_t>(header) - profile.tilesetHeader) /
           static_cast<std::int32_t>(kHeaderSize);
}

std::string headerText(const GameProfile& profile, std::uint32_t header) {
    if (auto n = exactNumber(profile, header)) {
        return std::to_string(*n);
    }
    return hexOffset(header);
}

void requireTable(const RomState& state) {
    state.requireTable(tables::Table::Tilesets);
    if (state.profile().tilesetHeader <= 0) {
        throw Error(message("tilesets.none_to_choose"));
    }
}

std::vector<TableHeader> tableHeaders(TRom& rom, const GameProfile& profile) {
    std::vector<TableHeader> headers;
    if (profile.tilesetHeader <= 0) {
        return headers;
    }
    std::uint64_t at = static_cast<std::uint64_t>(profile.tilesetHeader);
    while (headers.size() < static_cast<std::size_t>(kMaxTableHeaders)) {
        // The table's first header lies at its offset; later ones may follow a gap.
        const std::uint32_t maxGap = headers.empty() ? 0 : kMaxGap;
        std::optional<TableHeader> found;
        for (std::uint32_t gap = 0; gap <= maxGap && !found; gap += 4) {
            found = tableHeaderAt(rom, at + gap, gap != 0);
        }
        if (!found) {
            break;
        }
        headers.push_back(*found);
        at = std::uint64_t{found->offset} + kHeaderSize;
    }
    return headers;
}

void write(TRom& rom, RomState& romState, MapState& map, const IniFile& tilesetsIni,
           std::uint32_t header1, std::uint32_t header2) {
    CurrentMap& m = map.map();
    if (!map.loaded() || !m.hasFooter()) {
        throw Error(message("tilesets.no_footer"));
    }
    if (m.footerOffset + MapFooter::kSize > rom.size()) {
        throw RomIoError(message("tilesets.footer_past_end", {"$" + IntToHex(m.footerOffset, 6)}));
    }
    requireUnchangedInRom(rom, map);
    const Choice one = choose(rom, romState.profile(), header1, 1);
    const Choice two = choose(rom, romState.profile(), header2, 2);
    TRom::Transaction tx(rom, message("history.name.tilesets", {m.identifier}), m.identifier);
    try {
        load(rom, romState, tilesetsIni, one, two);
        rom.WritePointer(static_cast<std::int32_t>(m.footerOffset + 16), one.offset);
        rom.WritePointer(static_cast<std::int32_t>(m.footerOffset + 20), two.offset);
        tx.commit();
    } catch (...) {
        // The map keeps the tilesets it had; when even they cannot be read again, the next map
        // loads both afresh.
        try {
            load(rom, romState, tilesetsIni, current(m, 1), current(m, 2));
        } catch (const Error&) {
        }
        throw;
    }
    remember(m, one, 1);
    remember(m, two, 2);
    map.invalidatePictures();
    rom.Close();
}

}  // namespace quillon::tileset_choice
