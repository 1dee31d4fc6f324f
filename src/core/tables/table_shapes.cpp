#include "core/tables/table_shapes.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/gfx/palette.h"
#include "core/map/block_grid.h"
#include "core/map/map_header.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/wild/wild_table.h"

namespace quillon::tables {

namespace {

struct TableInfo {
    const char* key;
    const char* name;  // message id
    std::int32_t GameProfile::*member;
};

const TableInfo& info(Table table) {
    static const std::array<TableInfo, kTables.size()> infos = {{
        {"MapBankHeader", "table.name.banks", &GameProfile::mapBankHeader},
        {"TilesetHeader", "table.name.tilesets", &GameProfile::tilesetHeader},
        {"NamenHeader", "table.name.map_names", &GameProfile::mapNamesHeader},
        {"PokemonNamen", "table.name.species_names", &GameProfile::pokemonNamesOffset},
        {"WildePokemon", "table.name.wild", &GameProfile::wildPokemon},
        {"SpriteHeader", "table.name.sprites", &GameProfile::spriteHeader},
        {"SpritePaletten", "table.name.sprite_palettes", &GameProfile::spritePalettes},
    }};
    return infos[static_cast<std::size_t>(table)];
}

constexpr std::size_t kTilesetHeaderSize = 24;
constexpr std::size_t kSpriteRecordSize = 36;
constexpr std::size_t kLongestMapName = 32;

Shape pass(int records) { return Shape{true, {}, records}; }
Shape fail(Message why, int records = 0) { return Shape{false, std::move(why), records}; }

// A word that is no pointer and reads as a sane width or height.
bool plausibleSide(std::optional<std::uint32_t> side) {
    return side && *side > 0 && *side <= static_cast<std::uint32_t>(BlockGrid::kMaxCells);
}

bool isFooter(const RomBytes& rom, std::uint32_t offset) {
    const auto w = rom.word(offset);
    const auto h = rom.word(offset + 4);
    if (!plausibleSide(w) || !plausibleSide(h) ||
        std::uint64_t{*w} * *h > static_cast<std::uint64_t>(BlockGrid::kMaxCells)) {
        return false;
    }
    return rom.pointerAt(offset + 8, 8) && rom.pointerAt(offset + 12, std::size_t{*w} * *h * 2);
}

// How many of the first depth records, one after another, have the shape keep(i) wants.
template <class Keep>
int recordsInRow(int depth, Keep keep) {
    int n = 0;
    while (n < depth && keep(n)) {
        ++n;
    }
    return n;
}

// How many entries of a bank's map table the tolerant check looks at for a map header.
constexpr int kTolerantEntries = 4;

// Whether the map table at table leads to maps: its first entry points to a map header, or
// (tolerant) any of its first few entries, up to the first word that is no ROM pointer.
bool holdsMaps(const RomBytes& rom, std::uint32_t table, bool tolerant) {
    if (!tolerant) {
        return mapTableEntries(rom, table, 1) == 1;
    }
    for (std::uint32_t m = 0; m < kTolerantEntries; ++m) {
        const auto entry = rom.word(table + 4 * m);
        if (!entry || !isRomPointer(*entry)) {
            return false;
        }
        const auto header = rom.pointerAt(table + 4 * m, MapHeader::kSize);
        if (header && isMapHeader(rom, *header)) {
            return true;
        }
    }
    return false;
}

Shape checkBanks(const RomBytes& rom, std::uint32_t offset, int depth, bool tolerant) {
    // The table ends at its first entry that is no map table (the games keep other data
    // right behind it), so only the first entry must be one.
    const int banks = recordsInRow(depth, [&](int b) {
        const auto table = rom.pointerAt(offset + 4u * static_cast<std::uint32_t>(b), 4);
        return table && holdsMaps(rom, *table, tolerant);
    });
    if (banks == 0) {
        return fail(message("table.why.no_map_tables"));
    }
    return pass(banks);
}

// A tileset header of the family at offset; secondary its byte 1. Its four pointers lead into
// the file, or (tolerant) are ROM pointers.
std::optional<bool> headerAt(const RomBytes& rom, std::uint32_t offset, bool frlg, bool tolerant) {
    std::array<std::uint8_t, kTilesetHeaderSize> h{};
    if (offset < kCartridgeHeaderSize || !rom.read(offset, h.size(), h.data())) {
        return std::nullopt;
    }
    if (h[0] > 1 || h[1] > 1 || h[2] != 0 || h[3] != 0) {
        return std::nullopt;
    }
    const std::uint32_t attributes = frlg ? 20 : 16;
    const std::uint32_t code = frlg ? 16 : 20;
    for (std::uint32_t at : {4u, 8u, 12u, attributes}) {
        const bool pointer = tolerant ? isRomPointer(*rom.word(offset + at))
                                      : rom.pointerAt(offset + at).has_value();
        if (!pointer) {
            return std::nullopt;
        }
    }
    const auto callback = rom.word(offset + code);
    if (*callback != 0 && !isRomPointer(*callback)) {
        return std::nullopt;
    }
    return h[1] != 0;
}

Shape checkTilesets(const RomBytes& rom, std::uint32_t offset, const ShapeContext& c, int depth) {
    const auto first = headerAt(rom, offset, c.frlg, c.tolerant);
    if (!first) {
        return fail(message("table.why.no_tileset_header"));
    }
    if (*first) {
        return fail(message("table.why.secondary_first"));
    }
    const int headers = recordsInRow(depth, [&](int i) {
        return headerAt(rom, offset + static_cast<std::uint32_t>(i * kTilesetHeaderSize), c.frlg,
                        c.tolerant)
            .has_value();
    });
    return pass(headers);
}

// A species name: characters, 0xFF, then the record filled with 0x00 or 0xFF.
bool isNameRecord(std::span<const std::uint8_t> record) {
    const auto end = std::find(record.begin(), record.end(), 0xFF);
    if (end == record.begin() || end == record.end()) {
        return false;
    }
    const std::uint8_t fill = end + 1 == record.end() ? 0 : *(end + 1);
    return (fill == 0x00 || fill == 0xFF) &&
           std::all_of(end + 1, record.end(), [fill](std::uint8_t b) { return b == fill; });
}

bool nameTextAt(const RomBytes& rom, std::uint32_t text) {
    std::array<std::uint8_t, kLongestMapName> bytes{};
    std::size_t n = std::min<std::uint64_t>(bytes.size(), rom.size() - text);
    if (!rom.read(text, n, bytes.data())) {
        return false;
    }
    return std::find(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n), 0xFF) !=
           bytes.begin() + static_cast<std::ptrdiff_t>(n);
}

Shape checkMapNames(const RomBytes& rom, std::uint32_t offset, const ShapeContext& c, int depth) {
    if (c.mapNameCount < 0) {
        return fail(message("table.why.no_entries"));
    }
    const std::uint32_t stride = c.frlg ? 4 : 8;
    const std::uint32_t field = c.frlg ? 0 : 4;
    const int count = std::min(depth, c.mapNameCount + 1);
    const int names = recordsInRow(count, [&](int i) {
        const auto index = static_cast<std::uint32_t>(c.mapNameCount - i);
        const auto text = rom.pointerAt(offset + index * stride + field);
        return text && nameTextAt(rom, *text);
    });
    if (names < count) {
        return fail(message("table.why.name_not_text", {std::to_string(c.mapNameCount - names)}),
                    names);
    }
    return pass(names);
}

Shape checkSpeciesNames(const RomBytes& rom, std::uint32_t offset, const ShapeContext& c,
                        int depth) {
    const auto length = static_cast<std::size_t>(std::max(c.nameLength, 1));
    const int names = recordsInRow(depth, [&](int i) {
        std::array<std::uint8_t, 64> record{};
        const std::size_t n = std::min(length, record.size());
        if (!rom.read(offset + static_cast<std::uint64_t>(i) * length, n, record.data())) {
            return false;
        }
        return isNameRecord(std::span<const std::uint8_t>(record.data(), n));
    });
    if (names < depth) {
        return fail(message("table.why.name_missing", {std::to_string(names + 1)}), names);
    }
    return pass(names);
}

// A wild record's field: null, or a pointer to an 8-byte record whose slot pointer leads into
// the file (tolerant: any ROM pointer).
bool wildKindAt(const RomBytes& rom, std::uint32_t field, bool tolerant) {
    const auto w = rom.word(field);
    if (!w) {
        return false;
    }
    if (*w == 0 || (tolerant && isRomPointer(*w))) {
        return true;
    }
    const auto record = rom.pointerAt(field, 8);
    return record && rom.pointerAt(*record + 4, wild::kSlotSize);
}

Shape checkWild(const RomBytes& rom, std::uint32_t offset, int depth, bool tolerant) {
    bool ended = false;
    bool anySet = false;
    const int records = recordsInRow(depth, [&](int i) {
        const std::uint64_t at = offset + static_cast<std::uint64_t>(i) * wild::kHeaderSize;
        const auto bank = rom.byte(at);
        const auto map = rom.byte(at + 1);
        if (bank == 0xFF && map == 0xFF) {
            ended = true;
            return false;
        }
        if (!bank || rom.half(at + 2) != 0) {
            return false;
        }
        bool any = false;
        for (std::uint64_t k = 0; k < 4; ++k) {
            const auto field = static_cast<std::uint32_t>(at + 4 + 4 * k);
            if (!wildKindAt(rom, field, tolerant)) {
                return false;
            }
            any = any || rom.word(field) != 0u;
        }
        anySet = anySet || any;
        return any || tolerant;
    });
    if (records == 0 || !anySet) {
        return fail(message("table.why.no_wild_records"));
    }
    if (records < depth && !ended) {
        return fail(message("table.why.record_missing", {std::to_string(records)}), records);
    }
    return pass(records);
}

Shape checkSprites(const RomBytes& rom, std::uint32_t offset, int depth) {
    const int sprites = recordsInRow(depth, [&](int i) {
        const auto record =
            rom.pointerAt(offset + 4u * static_cast<std::uint32_t>(i), kSpriteRecordSize);
        return record && rom.half(*record) == 0xFFFF && rom.pointerAt(*record + 28, 8);
    });
    if (sprites == 0) {
        return fail(message("table.why.no_sprite_records"));
    }
    return pass(sprites);
}

Shape checkSpritePalettes(const RomBytes& rom, std::uint32_t offset, const ShapeContext& c,
                          int depth) {
    const int count = std::min(depth, std::max(c.spritePaletteCount, 1));
    const int palettes = recordsInRow(count, [&](int i) {
        const std::uint32_t at = offset + 8u * static_cast<std::uint32_t>(i);
        return rom.pointerAt(at, kPaletteBytes) && rom.half(at + 6) == 0;
    });
    if (palettes < count) {
        return fail(message("table.why.palette_missing", {std::to_string(palettes)}), palettes);
    }
    return pass(palettes);
}

}  // namespace

const char* profileKey(Table table) { return info(table).key; }
Message tableName(Table table) { return message(info(table).name); }

std::int32_t profileOffset(const GameProfile& profile, Table table) {
    return profile.*info(table).member;
}

void clearTable(GameProfile& profile, Table table) { setTable(profile, table, 0); }

void setTable(GameProfile& profile, Table table, std::int32_t offset) {
    profile.*info(table).member = offset;
    // A map is opened through the bank table's text, not its number: both must name it.
    if (table == Table::Banks) {
        profile.mapBankHeaderText =
            offset == 0 ? "0" : hexOffset(static_cast<std::uint32_t>(offset));
    }
}

bool isMapHeader(const RomBytes& rom, std::uint32_t offset) {
    if (offset < kCartridgeHeaderSize || offset + std::uint64_t{MapHeader::kSize} > rom.size()) {
        return false;
    }
    const auto footer = rom.pointerAt(offset, MapFooter::kSize);
    return footer && isFooter(rom, *footer);
}

int mapTableEntries(const RomBytes& rom, std::uint32_t offset, int depth) {
    return recordsInRow(depth, [&](int m) {
        const auto header =
            rom.pointerAt(offset + 4u * static_cast<std::uint32_t>(m), MapHeader::kSize);
        return header && isMapHeader(rom, *header);
    });
}

std::optional<bool> tilesetHeaderAt(const RomBytes& rom, std::uint32_t offset, bool frlg) {
    return headerAt(rom, offset, frlg, false);
}

Shape checkShape(const RomBytes& rom, Table table, std::uint32_t offset,
                 const ShapeContext& context, int depth) {
    if (offset < kCartridgeHeaderSize || offset >= rom.size()) {
        return fail(message("table.why.outside_file"));
    }
    depth = std::max(depth, 1);
    switch (table) {
        case Table::Banks:
            return checkBanks(rom, offset, depth, context.tolerant);
        case Table::Tilesets:
            return checkTilesets(rom, offset, context, depth);
        case Table::MapNames:
            return checkMapNames(rom, offset, context, depth);
        case Table::SpeciesNames:
            return checkSpeciesNames(rom, offset, context, depth);
        case Table::Wild:
            return checkWild(rom, offset, depth, context.tolerant);
        case Table::Sprites:
            return checkSprites(rom, offset, depth);
        case Table::SpritePalettes:
            return checkSpritePalettes(rom, offset, context, depth);
    }
    return fail(message("table.why.unknown"));
}

}  // namespace quillon::tables
