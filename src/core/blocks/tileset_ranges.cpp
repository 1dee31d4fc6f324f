#include "core/blocks/tileset_ranges.h"

#include <string>

#include "core/base/numbers.h"
#include "core/blocks/block_place.h"
#include "core/writers/tileset_choice.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_loader.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon::blocks {

namespace {


void addRange(std::vector<RomRange>& ranges, const std::uint8_t* field, std::uint32_t offsetIn,
              std::uint32_t size, const Message& what, int tileset) {
    if (const auto at = decodeRomPointer(readLe32(field))) {
        ranges.push_back({*at + offsetIn, size, tilesetOwnedName(what, tileset)});
    }
}

}  // namespace

int paletteSplit(bool frlg) { return frlg ? 7 : 6; }

std::uint32_t tilesetHeaderOffset(const CurrentMap& map, int part) {
    return part == 1 ? map.footer.tileset1Offset() : map.footer.tileset2Offset();
}

std::array<std::uint8_t, 24> readTilesetHeader(TRom& rom, std::uint32_t offset) {
    std::array<std::uint8_t, 24> header{};
    if (std::uint64_t{offset} + header.size() > rom.size()) {
        throw Error(message("import.tileset_header_past_end", {hexOffset(offset)}));
    }
    rom.ReadBlock(static_cast<std::int32_t>(offset), header);
    return header;
}

std::vector<RomRange> tilesetTables(TRom& rom, const TilesetPair& tilesets, const CurrentMap& map) {
    const bool frlg = rom.isFrlg();
    const AttributeLayout layout = attributeLayout(frlg);
    const auto split = static_cast<std::uint32_t>(paletteSplit(frlg));
    std::vector<RomRange> ranges;
    for (int part = 1; part <= 2; ++part) {
        const std::uint32_t at = tilesetHeaderOffset(map, part);
        const int owner = tilesets.tilesetNumber(part).value_or(0);
        ranges.push_back(
            {at, TilesetPair::kHeaderSize, tilesetOwnedName(place_name::kTilesetHeader, owner)});
        const auto header = readTilesetHeader(rom, at);
        const std::uint32_t first = part == 1 ? 0 : split;
        const std::uint32_t count = part == 1 ? split : 16 - split;
        addRange(ranges, header.data() + 8, first * kPaletteBytes, count * kPaletteBytes,
                 place_name::kPalettes, owner);
        const auto blocks = static_cast<std::uint32_t>(partBlocks(tilesets, frlg, part));
        addRange(ranges, header.data() + 12, 0, blocks * TilesetPair::kRecordSize,
                 place_name::kBlockTable, owner);
        addRange(ranges, header.data() + layout.headerField, 0,
                 blocks * static_cast<std::uint32_t>(layout.bytesPerBlock),
                 place_name::kBlockAttributes, owner);
    }
    return ranges;
}

std::vector<std::uint32_t> tableDataStarts(TRom& rom, const GameProfile& profile) {
    std::vector<std::uint32_t> starts;
    for (const tileset_choice::TableHeader& table : tileset_choice::tableHeaders(rom, profile)) {
        starts.push_back(table.offset);
        const auto header = readTilesetHeader(rom, table.offset);
        for (std::size_t field = 4; field < header.size(); field += 4) {
            if (const auto at = decodeRomPointer(readLe32(header.data() + field))) {
                starts.push_back(*at);
            }
        }
    }
    return starts;
}

}  // namespace quillon::blocks
