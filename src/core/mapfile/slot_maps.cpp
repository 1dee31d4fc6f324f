#include "core/mapfile/slot_maps.h"

#include <array>
#include <optional>

#include "core/base/numbers.h"
#include "core/map/map_header.h"
#include "core/rom/trom.h"
#include "core/rom/rom_pointer.h"

namespace quillon::map_insertion {

namespace {

// The footer a header at offset points at (its first word); nullopt when the header lies
// past the end of the file or the word is no ROM pointer.
std::optional<std::uint32_t> footerOf(TRom& rom, std::uint32_t header) {
    if (std::uint64_t{header} + MapHeader::kSize > rom.size()) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 4> pointer{};
    rom.ReadBlock(static_cast<std::int32_t>(header), pointer);
    return decodeRomPointer(readLe32(pointer.data()));
}

}  // namespace

std::vector<BankMap> mapsInSlot(TRom& rom, const BankScan& scan, const Slot& slot) {
    std::vector<BankMap> maps;
    std::vector<BankMap> sharing;
    for (const auto& bank : scan.banks) {
        for (const BankMap& m : bank) {
            if (m.bank == slot.bank && m.map == slot.map) {
                maps.push_back(m);
            } else if (m.headerOffset == slot.header ||
                       footerOf(rom, m.headerOffset) == slot.footer) {
                sharing.push_back(m);
            }
        }
    }
    maps.insert(maps.end(), sharing.begin(), sharing.end());
    return maps;
}

}  // namespace quillon::map_insertion
