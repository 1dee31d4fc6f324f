#include "core/wild/wild_table.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon::wild {

namespace {

std::string hex(std::uint64_t offset) {
    return "$" + IntToHex(static_cast<std::int64_t>(offset), 6);
}

// count bytes from offset lie behind the cartridge header and inside the file.
bool insideFile(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
    return offset >= kCartridgeHeaderSize && offset + count <= size;
}

Encounter unavailable(Encounter e, Message why) {
    e.available = false;
    e.entries.clear();
    e.message = std::move(why);
    return e;
}

}  // namespace

int slotCount(Kind kind) {
    switch (kind) {
        case Kind::Grass:
            return 12;
        case Kind::Water:
        case Kind::Rock:
            return 5;
        case Kind::Fishing:
            return 10;
    }
    return 0;
}

Message kindName(Kind kind) {
    switch (kind) {
        case Kind::Grass:
            return message("wild.kind.grass");
        case Kind::Water:
            return message("wild.kind.water");
        case Kind::Rock:
            return message("wild.kind.rock");
        case Kind::Fishing:
            return message("wild.kind.fishing");
    }
    return "?";
}

Lookup findHeader(TRom& rom, std::uint32_t table, int bank, int map) {
    Lookup result;
    const std::uint64_t size = rom.size();
    if (table == 0 || table >= size) {
        return result;
    }
    const std::uint64_t room = std::min<std::uint64_t>(size - table, kHeaderSize * kMaxHeaders);
    const std::vector<std::uint8_t> bytes =
        rom.ReadBlock(static_cast<std::int32_t>(table), static_cast<std::size_t>(room));
    const std::size_t headers = bytes.size() / kHeaderSize;
    for (std::size_t i = 0; i < headers; ++i) {
        const std::uint8_t* h = bytes.data() + i * kHeaderSize;
        if (h[0] == 0xFF && h[1] == 0xFF) {
            return result;
        }
        if (!result.header && h[0] == bank && h[1] == map) {
            Header found;
            found.offset = static_cast<std::uint32_t>(table + i * kHeaderSize);
            found.bank = h[0];
            found.map = h[1];
            for (std::size_t k = 0; k < found.records.size(); ++k) {
                found.records[k] = readLe32(h + 4 + 4 * k);
            }
            result.header = found;
        }
    }
    result.warnings.push_back(
        headers == static_cast<std::size_t>(kMaxHeaders)
            ? message("wild.no_end_read_limit", {hex(table), std::to_string(kMaxHeaders)})
            : message("wild.no_end_at_file_end", {hex(table)}));
    return result;
}

Encounter readEncounter(TRom& rom, const Header& header, Kind kind) {
    Encounter e;
    e.kind = kind;
    e.bank = header.bank;
    e.map = header.map;
    const std::uint32_t address = header.records[static_cast<std::size_t>(kind)];
    if (address < kRomPointerBase) {
        return e;
    }
    const std::string mapId = std::to_string(header.bank) + "." + std::to_string(header.map);
    const std::uint64_t size = rom.size();
    e.record = pointerTarget(address);
    if (!insideFile(e.record, kRecordSize, size)) {
        return unavailable(e,
                           message("wild.record_outside", {kindName(kind), mapId, hex(e.record)}));
    }
    const std::vector<std::uint8_t> record =
        rom.ReadBlock(static_cast<std::int32_t>(e.record), kRecordSize);
    e.rate = readLe32(record.data());
    const std::uint32_t pointer = readLe32(record.data() + 4);
    const std::uint64_t count = std::uint64_t{kSlotSize} * slotCount(kind);
    e.slotArray = pointerTarget(pointer);
    if (!isRomPointer(pointer) || !insideFile(e.slotArray, count, size)) {
        return unavailable(
            e, message("wild.slots_outside",
                       {kindName(kind), mapId, "$" + IntToHex(pointer, 8), hex(e.record + 4)}));
    }
    const std::vector<std::uint8_t> slots =
        rom.ReadBlock(static_cast<std::int32_t>(e.slotArray), static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < slots.size(); i += kSlotSize) {
        e.entries.push_back({slots[i], slots[i + 1], readLe16(&slots[i + 2])});
    }
    e.available = true;
    return e;
}

}  // namespace quillon::wild
