#include "core/writers/free_space_rules.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/writers/tileset_choice.h"
#include "core/errors.h"
#include "core/map/map_list.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/wild/wild_table.h"

namespace quillon {

namespace {

constexpr int kSpeciesRecords = 412;  // record 0 and the 411 species the editor lists
constexpr int kSpecialPaletteEntries = 26;
constexpr int kSlotTagPointers = 4;
constexpr int kMaxPointerEntries = 256;  // sprite pictures and sprite palettes
constexpr int kFlyRecordsCounted = 256;

// Collects ranges cut to the file; empty and unnamed tables (offset 0) are dropped.
class RangeList {
public:
    explicit RangeList(std::uint64_t fileSize) : m_size(fileSize) {}

    void add(std::int64_t begin, std::int64_t length, const char* name) {
        if (begin <= 0 || length <= 0 || static_cast<std::uint64_t>(begin) >= m_size) {
            return;
        }
        const std::uint64_t end =
            std::min<std::uint64_t>(m_size, static_cast<std::uint64_t>(begin + length));
        m_ranges.push_back(
            {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end), name});
    }
    void addCartridgeHeader() {
        const std::uint64_t end = std::min<std::uint64_t>(m_size, kCartridgeHeaderSize);
        m_ranges.push_back({0, static_cast<std::uint32_t>(end), "Cartridge-Header"});
    }
    std::vector<ByteRange> take() { return std::move(m_ranges); }

private:
    std::uint64_t m_size;
    std::vector<ByteRange> m_ranges;
};

// Up to count records of size bytes from offset, as far as the file holds them.
std::vector<std::uint8_t> readRecords(TRom& rom, std::int64_t offset, int count, int size) {
    const std::uint64_t fileSize = rom.size();
    if (offset <= 0 || static_cast<std::uint64_t>(offset) >= fileSize) {
        return {};
    }
    const std::uint64_t wanted = std::uint64_t(count) * static_cast<std::uint64_t>(size);
    const std::uint64_t have = std::min(wanted, fileSize - static_cast<std::uint64_t>(offset));
    return rom.ReadBlock(static_cast<std::int32_t>(offset), have / size * size);
}

// Records from offset while keep(record) holds, at most max of them.
template <class Keep>
int countRecords(TRom& rom, std::int64_t offset, int max, int size, Keep keep) {
    const std::vector<std::uint8_t> bytes = readRecords(rom, offset, max, size);
    int n = 0;
    while (static_cast<std::size_t>(n + 1) * size <= bytes.size() && keep(&bytes[n * size])) {
        ++n;
    }
    return n;
}

bool holdsPointer(const std::uint8_t* word) { return isRomPointer(readLe32(word)); }

void addBankTables(TRom& rom, const GameProfile& profile, RangeList& ranges) {
    const auto bankTable = static_cast<std::uint32_t>(profile.mapBankHeader);
    if (bankTable == 0 || bankTable >= rom.size()) {
        return;
    }
    const BankScan scan = scanBanks(rom, bankTable, {});
    ranges.add(bankTable, 4 * (std::int64_t(scan.banks.size()) + 1), "MapBankHeader");
    for (std::size_t b = 0; b < scan.banks.size(); ++b) {
        if (!scan.banks[b].empty()) {
            const std::uint32_t table =
                rom.ReadPointer(static_cast<std::int32_t>(bankTable + 4 * b));
            ranges.add(table, 4 * std::int64_t(scan.banks[b].size()), "MapBankHeader");
        }
    }
}

void addTilesetHeaders(TRom& rom, const GameProfile& profile, RangeList& ranges) {
    // The table's headers, also those past gaps of other data (Emerald's later ones).
    const auto headers = tileset_choice::tableHeaders(rom, profile);
    if (headers.empty()) {
        return;
    }
    ranges.add(profile.tilesetHeader,
               std::int64_t(headers.back().offset) + 24 - profile.tilesetHeader, "TilesetHeader");
}

void addSpriteTables(TRom& rom, const GameProfile& profile, RangeList& ranges) {
    const int pictures = countRecords(rom, profile.spriteHeader, kMaxPointerEntries, 4,
                                      [](const std::uint8_t* w) { return holdsPointer(w); });
    ranges.add(profile.spriteHeader, 4 * std::int64_t(pictures), "SpriteHeader");
    const int palettes = countRecords(rom, profile.spritePalettes, kMaxPointerEntries, 8,
                                      [](const std::uint8_t* w) { return holdsPointer(w); });
    ranges.add(profile.spritePalettes, 8 * (std::int64_t(palettes) + 1), "SpritePaletten");
    ranges.add(profile.spritePalHeader, 4 * kSlotTagPointers, "SpritePalHeader");
    ranges.add(profile.specialPalHeader, 8 * kSpecialPaletteEntries, "SpezialPalHeader");
}

void addNameTables(TRom& rom, const GameProfile& profile, RangeList& ranges) {
    const int record = rom.isFrlg() ? 4 : 8;
    ranges.add(profile.mapNamesHeader, std::int64_t(record) * (profile.mapNameCount + 1),
               "NamenHeader");
    const std::int64_t first = std::max<std::int64_t>(
        profile.pokemonNamesOffset - profile.nameLength, profile.pokemonNamesOffset > 0 ? 1 : 0);
    ranges.add(
        first,
        profile.pokemonNamesOffset + std::int64_t(kSpeciesRecords - 1) * profile.nameLength - first,
        "PokemonNamen");
}

void addWildAndFlyTables(TRom& rom, const GameProfile& profile, RangeList& ranges) {
    const int headers =
        countRecords(rom, profile.wildPokemon, wild::kMaxHeaders, wild::kHeaderSize,
                     [](const std::uint8_t* h) { return h[0] != 0xFF || h[1] != 0xFF; });
    ranges.add(profile.wildPokemon, wild::kHeaderSize * (std::int64_t(headers) + 1),
               "WildePokemon");
    const int fly = countRecords(rom, profile.flyPosHeader, kFlyRecordsCounted, 8,
                                 [](const std::uint8_t* r) { return r[6] == 0 && r[7] == 0; });
    ranges.add(profile.flyPosHeader, 8 * std::int64_t(fly), "FlugPosHeader");
}

}  // namespace

std::vector<ByteRange> profileTableRanges(TRom& rom, const GameProfile& profile) {
    RangeList ranges(rom.size());
    ranges.addCartridgeHeader();
    addBankTables(rom, profile, ranges);
    addTilesetHeaders(rom, profile, ranges);
    addNameTables(rom, profile, ranges);
    addSpriteTables(rom, profile, ranges);
    addWildAndFlyTables(rom, profile, ranges);
    return ranges.take();
}

std::uint32_t defaultFreeSpaceStart(TRom& rom, const GameProfile& profile, std::uint8_t fill) {
    if (profile.freeSpaceStart > 0 &&
        static_cast<std::uint64_t>(profile.freeSpaceStart) < rom.size()) {
        return static_cast<std::uint32_t>(profile.freeSpaceStart);
    }
    const auto header = static_cast<std::uint32_t>(kCartridgeHeaderSize);
    const std::optional<FreeRun> run = largestFreeRun(rom, fill, header);
    return run ? run->start : header;
}

FreeSpaceQuery withFreeSpaceRules(TRom& rom, const GameProfile& profile, FreeSpaceQuery query) {
    query.guard = kFreeSpaceGuard;
    query.excluded = profileTableRanges(rom, profile);
    return query;
}

FreeSpaceQuery defaultFreeSpaceQuery(TRom& rom, const GameProfile& profile, std::uint32_t count,
                                     std::uint8_t fill) {
    FreeSpaceQuery query;
    query.value = fill;
    query.count = count;
    query.start = defaultFreeSpaceStart(rom, profile, fill);
    return withFreeSpaceRules(rom, profile, std::move(query));
}

}  // namespace quillon
