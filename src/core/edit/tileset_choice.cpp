#include "core/edit/tileset_choice.h"

#include <array>

#include "core/base/numbers.h"
#include "core/blocks/block_place.h"
#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/map_state.h"
#include "core/map_state_check.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/rom_state.h"

namespace quillon::tileset_choice {

namespace {

std::string partName(int part) { return "Tileset" + std::to_string(part); }

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

}  // namespace

static_assert(std::tuple_size_v<decltype(Choice::header)> == TilesetPair::kHeaderSize);

Choice choose(TRom& rom, const GameProfile& profile, int number, int part) {
    Choice c;
    c.number = number;
    c.offset = headerOffset(rom, profile, number, part);
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
    throw Error(partName(part) + ": \"" + text + "\" ist keine Zahl.");
}

std::uint32_t headerOffset(TRom& rom, const GameProfile& profile, int number, int part) {
    const std::string what = partName(part) + " " + std::to_string(number);
    if (profile.tilesetHeader <= 0) {
        throw Error(what + ": das Profil nennt keine Tileset-Tabelle (TilesetHeader).");
    }
    if (number < 0) {
        throw Error(what + ": Tileset-Nummern sind nicht negativ.");
    }
    const std::uint64_t size = rom.size();
    const std::uint64_t offset = static_cast<std::uint64_t>(profile.tilesetHeader) +
                                 static_cast<std::uint64_t>(number) * TilesetPair::kHeaderSize;
    if (offset + TilesetPair::kHeaderSize > size || offset >= kRomPointerReach) {
        throw Error(what + ": der Tileset-Header ($" +
                    IntToHex(static_cast<std::int64_t>(offset), 6) +
                    ") liegt hinter dem Ende der Datei.");
    }
    std::array<std::uint8_t, TilesetPair::kHeaderSize> header{};
    rom.ReadBlock(static_cast<std::int32_t>(offset), header);
    // The attribute table lies at +16 (Ruby/Sapphire/Emerald) or +20 (FireRed/LeafGreen, whose
    // +16 is a code pointer that may be null).
    const auto attributes =
        static_cast<std::size_t>(blocks::attributeLayout(rom.isFrlg()).headerField);
    for (std::size_t at : {std::size_t{4}, std::size_t{8}, std::size_t{12}, attributes}) {
        const bool romPointer =
            isRomPointer(readLe32(&header[at])) && readPointerField(&header[at]) < size;
        if (!romPointer) {
            throw Error(what + ": der Tileset-Header ($" +
                        IntToHex(static_cast<std::int64_t>(offset), 6) +
                        ") ist keiner; sein Zeiger bei +" + std::to_string(at) +
                        " zeigt nicht in die Datei.");
        }
    }
    return static_cast<std::uint32_t>(offset);
}

std::vector<int> tableNumbers(TRom& rom, const GameProfile& profile) {
    std::vector<int> numbers;
    for (int n = 0; n < kMaxTableNumbers; ++n) {
        try {
            headerOffset(rom, profile, n, 1);
        } catch (const Error&) {
            break;  // the first record that is no tileset header ends the table
        }
        numbers.push_back(n);
    }
    return numbers;
}

void write(TRom& rom, RomState& romState, MapState& map, const IniFile& tilesetsIni, int n1,
           int n2) {
    CurrentMap& m = map.map();
    if (!map.loaded() || !m.hasFooter()) {
        throw Error(
            "Die offene Map hat keinen eigenen Map-Footer, in den geschrieben werden kann.");
    }
    if (m.footerOffset + MapFooter::kSize > rom.size()) {
        throw RomIoError("Der Map-Footer ($" + IntToHex(m.footerOffset, 6) +
                         ") liegt hinter dem Ende der Datei.");
    }
    requireUnchangedInRom(rom, map);
    const Choice one = choose(rom, romState.profile(), n1, 1);
    const Choice two = choose(rom, romState.profile(), n2, 2);
    TRom::Transaction tx(rom, "Tilesets ändern " + m.identifier, m.identifier);
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
