#include "core/edit/map_name_writer.h"

#include <algorithm>
#include <vector>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/rom_state.h"

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
        throw Error("Ein Map-Name hat höchstens " + std::to_string(kMaxCodes) + " Zeichen, nicht " +
                    std::to_string(codes.size()) + ".");
    }
    if (std::find(codes.begin(), codes.end(), 0xFF) != codes.end()) {
        throw Error("Das Byte FF beendet einen Namen und kann nicht darin stehen.");
    }
}

}  // namespace

CharTable::Encoded encode(const CharTable& chars, std::string_view typed) {
    return chars.encode(typed, kMaxCodes);
}

Slot slot(TRom& rom, const RomState& state, int index) {
    if (rom.isFrlg()) {
        throw Error("Map-Namen von FireRed und LeafGreen werden nicht geändert.");
    }
    const GameProfile& profile = state.profile();
    if (profile.mapNamesHeader <= 0) {
        throw Error("Das Profil nennt keine Namens-Tabelle (NamenHeader).");
    }
    if (index < 0 || static_cast<std::size_t>(index) >= state.mapNames().size()) {
        throw Error("Den Map-Namen " + std::to_string(index) + " gibt es nicht.");
    }
    Slot s;
    s.pointer = static_cast<std::uint32_t>(profile.mapNamesHeader) +
                static_cast<std::uint32_t>(index) * kRecordSize + kPointerField;
    if (s.pointer + 4 > rom.size()) {
        throw Error("Der Zeiger des Map-Namens " + std::to_string(index) + " (" + hexOffset(s.pointer) +
                    ") liegt hinter dem Ende der Datei.");
    }
    s.offset = rom.ReadPointer(static_cast<std::int32_t>(s.pointer));
    if (s.offset >= rom.size()) {
        throw Error("Der Map-Name " + std::to_string(index) + " (" + hexOffset(s.offset) +
                    ") liegt hinter dem Ende der Datei.");
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

std::string write(TRom& rom, RomState& state, int index, std::span<const std::uint8_t> codes,
                  std::uint32_t offset) {
    checkCodes(codes);
    const Slot s = slot(rom, state, index);
    std::vector<std::uint8_t> bytes(codes.begin(), codes.end());
    bytes.push_back(0xFF);
    if (offset != s.offset) {
        bytes.push_back(0x00);
    }
    if (offset < kCartridgeHeaderSize || offset >= kRomPointerReach) {
        throw Error("Der Offset " + hexOffset(offset) +
                    " liegt im Rom-Header oder ist für einen Rom-Zeiger zu groß.");
    }
    if (static_cast<std::uint64_t>(offset) + bytes.size() > rom.size()) {
        throw Error("Der Name (" + std::to_string(bytes.size()) + " Bytes) passt bei " +
                    hexOffset(offset) + " nicht mehr in die Datei.");
    }
    TRom::Transaction tx(rom, "Namen ändern", "");
    rom.WriteBlock(bytes, static_cast<std::int32_t>(offset));
    rom.WritePointer(static_cast<std::int32_t>(s.pointer), offset);
    tx.commit();
    std::string name = state.chars().decode(readName(rom, offset));
    rom.Close();
    state.setMapName(static_cast<std::size_t>(index), name);
    return name;
}

}  // namespace quillon::map_name_writer
