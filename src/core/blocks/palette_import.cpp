#include "core/blocks/palette_import.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/base/numbers.h"
#include "core/blocks/tileset_ranges.h"
#include "core/errors.h"
#include "core/gfx/palette.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_loader.h"
#include "core/rom/placement.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon::blocks {

namespace {


void requireOwnPalette(bool frlg, int part, int palette) {
    if (palette < 0 || palette >= TPalette::kPalettes) {
        throw Error(message("block.no_palette", {std::to_string(palette)}));
    }
    const int split = paletteSplit(frlg);
    const int owner = palette < split ? 1 : 2;
    if (owner != part) {
        const int first = owner == 1 ? 0 : split;
        const int last = owner == 1 ? split - 1 : TPalette::kPalettes - 1;
        throw Error(message("import.palette_part",
                            {std::to_string(palette), std::to_string(owner), std::to_string(first),
                             std::to_string(last), std::to_string(part)}));
    }
}

}  // namespace

std::uint16_t gbaColourWord(PaletteColour colour) {
    return static_cast<std::uint16_t>((colour.red >> 3) | (colour.green >> 3) << 5 |
                                      (colour.blue >> 3) << 10);
}

void importPalette(TRom& rom, const TilesetPair& tilesets, const CurrentMap& map, int part,
                   int palette, std::span<const PaletteColour> colours, ColourCount count,
                   const std::string& mapId) {
    if (!tilesets.tilesetNumber(1) || !tilesets.tilesetNumber(2)) {
        throw Error(message("block.no_tilesets"));
    }
    requireOwnPalette(rom.isFrlg(), part, palette);
    if (colours.size() != TPalette::kColours && count == ColourCount::Refuse) {
        throw Error(message("import.colour_count", {std::to_string(colours.size())}));
    }
    const auto header = readTilesetHeader(rom, tilesetHeaderOffset(map, part));
    const std::uint64_t at = std::uint64_t{pointerTarget(readLe32(header.data() + 8))} +
                             kPaletteBytes * static_cast<std::uint32_t>(palette);
    // "Palette 8 von Tileset 3"
    const Message name = tilesetOwnedName(paletteName(palette), *tilesets.tilesetNumber(part));
    const RomRange range{static_cast<std::uint32_t>(std::min<std::uint64_t>(at, kNoRomOffset)),
                         kPaletteBytes, name};
    requirePlacement(rom, {{{range, {range}}}, {}, kFreeFill});
    std::vector<std::uint8_t> bytes =
        rom.ReadBlock(static_cast<std::int32_t>(range.offset), kPaletteBytes);
    const std::vector<std::uint8_t> old = bytes;
    const std::size_t n = std::min<std::size_t>(colours.size(), TPalette::kColours);
    for (std::size_t i = 0; i < n; ++i) {
        writeLe16(bytes.data() + 2 * i, gbaColourWord(colours[i]));
    }
    if (bytes == old) {
        return;
    }
    TRom::Transaction tx(rom, message("history.name.palette", {std::to_string(palette)}), mapId);
    rom.WriteBlock(bytes, static_cast<std::int32_t>(range.offset));
    tx.commit();
    rom.Close();
}

}  // namespace quillon::blocks
