#include "romkit/rom_builder_parts.h"

namespace quillon::romkit::detail {

namespace {

constexpr std::size_t kWildHeaderSize = 20;
constexpr std::size_t kWildRecordSize = 8;

std::vector<std::uint8_t> slotBytes(const std::vector<wild::Slot>& slots) {
    std::vector<std::uint8_t> bytes;
    for (const wild::Slot& s : slots) {
        bytes.insert(bytes.end(), {s.minLevel, s.maxLevel, static_cast<std::uint8_t>(s.species),
                                   static_cast<std::uint8_t>(s.species >> 8)});
    }
    return bytes;
}

}  // namespace

void layWildTable(RomImage& image, const std::vector<WildSpec>& maps, BuiltRom& rom) {
    if (maps.empty()) {
        return;
    }
    std::vector<BuiltWild> built(maps.size());
    for (std::size_t m = 0; m < maps.size(); ++m) {
        for (std::size_t k = 0; k < maps[m].kinds.size(); ++k) {
            const std::optional<WildKindSpec>& kind = maps[m].kinds[k];
            if (!kind) {
                continue;
            }
            built[m].slotArrays[k] =
                kind->entries.empty() ? 0 : image.place(slotBytes(kind->entries));
            built[m].records[k] = image.reserve(kWildRecordSize);
            image.put32(built[m].records[k], kind->rate);
            image.putPointer(built[m].records[k] + 4, built[m].slotArrays[k]);
        }
    }
    rom.wildTable = image.reserve((maps.size() + 1) * kWildHeaderSize);
    for (std::size_t m = 0; m <= maps.size(); ++m) {
        const auto header = static_cast<std::uint32_t>(rom.wildTable + m * kWildHeaderSize);
        if (m == maps.size()) {  // the end mark: bank and map 0xFF, the rest zero
            image.putBytes(header, std::vector<std::uint8_t>(kWildHeaderSize, 0));
            image.put16(header, 0xFFFF);
            break;
        }
        built[m].header = header;
        image.put8(header, static_cast<std::uint8_t>(maps[m].bank));
        image.put8(header + 1, static_cast<std::uint8_t>(maps[m].map));
        image.put16(header + 2, 0);
        for (std::size_t k = 0; k < 4; ++k) {
            image.putPointer(static_cast<std::uint32_t>(header + 4 + 4 * k), built[m].records[k]);
        }
        rom.wild[{maps[m].bank, maps[m].map}] = built[m];
    }
}

}  // namespace quillon::romkit::detail
