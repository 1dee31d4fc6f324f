#include "core/writers/map_name_writer.h"

#include <algorithm>
#include <vector>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/rom/placement.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon::map_name_writer {

namespace {

constexpr std::uint32_t kRecordSize = 8;
constexpr std::uint32_t kPointerField = 4;

// The character bytes from offset up to the first 0xFF (or the end of the file), at most
// limit of them: a name without its 0xFF is not read across the whole file.
std::vector<std::uint8_t> readName(TRom& rom, std::uint32_t offset, std::size_t limit = 256) {
    const std::uint64_t size = std::min<std::uint64_t>(rom.size(), std::uint64_t{offset} + limit);
    std::vector<std::uint8_t> bytes;
    for (std::uint64_t at = offset; at < size; ++at) {
        const std::uint8_t b = rom.ReadByte(static_cast<std::int32_t>(at));
        if (b == 0xFF) {
            break;
        }
        bytes.push_back(b);
    }
    return bytes;
}

void checkCodes(std::span<const std::uint8_t> codes) {
    if (codes.size() > kMaxCodes) {
        throw Error(
            message("rename.too_long", {std::to_string(kMaxCodes), std::to_string(codes.size())}));
    }
    if (std::find(codes.begin(), codes.end(), 0xFF) != codes.end()) {
        throw Error(message("rename.end_byte"));
    }
}

}  // namespace

CharTable::Encoded encode(const CharTable& chars, std::string_view typed) {
    return chars.encode(typed, kMaxCodes);
}

Slot slot(TRom& rom, const RomState& state, int index) {
    if (rom.isFrlg()) {
        throw Error(message("rename.frlg"));
    }
    const GameProfile& profile = state.profile();
    state.requireTable(tables::Table::MapNames);
    if (profile.mapNamesHeader <= 0) {
        throw Error(message("rename.no_table"));
    }
    if (index < 0 || static_cast<std::size_t>(index) >= state.mapNames().size()) {
        throw Error(message("rename.no_such", {std::to_string(index)}));
    }
    Slot s;
    s.pointer = static_cast<std::uint32_t>(profile.mapNamesHeader) +
                static_cast<std::uint32_t>(index) * kRecordSize + kPointerField;
    if (s.pointer + 4 > rom.size()) {
        throw Error(
            message("rename.pointer_past_end", {std::to_string(index), hexOffset(s.pointer)}));
    }
    s.offset = rom.ReadPointer(static_cast<std::int32_t>(s.pointer));
    if (s.offset >= rom.size()) {
        throw Error(message("rename.past_end", {std::to_string(index), hexOffset(s.offset)}));
    }
    s.length = readName(rom, s.offset).size();
    return s;
}

std::optional<std::uint32_t> proposedOffset(const Slot& slot, std::size_t codes) {
    if (slot.length >= codes) {
        return slot.offset;
    }
    return std::nullopt;
}

namespace {

// The characters, 0xFF, and 0x00 away from the name's current place.
std::vector<std::uint8_t> nameBytes(const Slot& s, std::span<const std::uint8_t> codes,
                                    std::uint32_t offset) {
    std::vector<std::uint8_t> bytes(codes.begin(), codes.end());
    bytes.push_back(0xFF);
    if (offset != s.offset) {
        bytes.push_back(0x00);
    }
    return bytes;
}

}  // namespace

Slot checkPlace(TRom& rom, const RomState& state, int index, std::span<const std::uint8_t> codes,
                std::uint32_t offset, std::uint8_t fill) {
    checkCodes(codes);
    const Slot s = slot(rom, state, index);
    if (offset >= kRomPointerReach) {
        throw Error(message("rename.offset_too_large", {hexOffset(offset)}));
    }
    const auto size = static_cast<std::uint32_t>(nameBytes(s, codes, offset).size());
    // The name's current characters and their 0xFF may be written over.
    const RomRange old{s.offset, static_cast<std::uint32_t>(s.length + 1), place_name::kName};
    const RomRange pointer{s.pointer, 4, place_name::kNamePointer};
    Placement placement;
    placement.fill = fill;
    placement.reliedOn = {pointer};
    placement.writes = {{{offset, size, place_name::kName}, {old}}, {pointer, {pointer}}};
    requirePlacement(rom, placement);
    return s;
}

std::string write(TRom& rom, RomState& state, int index, std::span<const std::uint8_t> codes,
                  std::uint32_t offset, std::uint8_t fill) {
    const Slot s = checkPlace(rom, state, index, codes, offset, fill);
    const std::vector<std::uint8_t> bytes = nameBytes(s, codes, offset);
    TRom::Transaction tx(rom, message("history.name.rename_map"), "");
    rom.WriteBlock(bytes, static_cast<std::int32_t>(offset));
    rom.WritePointer(static_cast<std::int32_t>(s.pointer), offset);
    tx.commit();
    std::string name = state.chars().decode(readName(rom, offset));
    rom.Close();
    state.setMapName(static_cast<std::size_t>(index), name);
    return name;
}

std::vector<std::string> mapsWithName(TRom& rom, const RomState& state, int index) {
    std::vector<std::string> named;
    for (const auto& bank : state.bankScan().banks) {
        for (const BankMap& map : bank) {
            try {
                if (rom.ReadByte(static_cast<std::int32_t>(map.headerOffset + 20)) == index) {
                    named.push_back(std::to_string(map.bank) + "." + std::to_string(map.map));
                }
            } catch (const Error&) {
                // A header outside the file names nothing.
            }
        }
    }
    return named;
}

}  // namespace quillon::map_name_writer
