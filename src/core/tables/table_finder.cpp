#include "core/tables/table_finder.h"

#include <algorithm>
#include <array>

#include "core/base/numbers.h"
#include "core/rom/cartridge.h"
#include "core/rom/trom.h"
#include "core/tables/table_finder_parts.h"

namespace quillon::tables {

namespace detail {

FoundTable choose(Table table, const std::vector<Scored>& scored) {
    FoundTable found;
    found.table = table;
    if (scored.empty()) {
        return found;
    }
    const auto better = [](const Scored& a, const Scored& b) {
        if (a.records != b.records) {
            return a.records > b.records;
        }
        if (a.references != b.references) {
            return a.references > b.references;
        }
        return a.start < b.start;
    };
    const Scored best = *std::min_element(scored.begin(), scored.end(), better);
    found.start = best.start;
    found.offset = best.offset;
    found.records = best.records;
    found.references = best.references;
    found.rivals =
        static_cast<int>(std::count_if(scored.begin(), scored.end(),
                                       [&](auto& s) { return s.records == best.records; })) -
        1;
    found.confidence = found.rivals == 0 ? Confidence::Sure : Confidence::Likely;
    found.basis = found.rivals == 0 ? Basis::Unique : Basis::MostReferenced;
    return found;
}

}  // namespace detail

namespace {

using detail::Scored;

// Records of a table kind deep enough for any game (banks are numbered by a byte).
constexpr int kMaxBanks = 255;
constexpr int kMaxSprites = 1024;
constexpr int kMaxWildRecords = 2048;
constexpr int kMaxSpecies = 2048;
constexpr int kMaxSpritePalettes = 27;
// Fewer names in a row are no species table (the games have 411).
constexpr int kMinSpecies = 16;
constexpr std::uint32_t kLongestName = 16;
constexpr int kFrlgTilesetHeight = 40;
constexpr int kRseTilesetHeight = 32;

// Looks at every indexed target that passes quick (a cheap look at its first bytes) and
// scores it by records (0: not of the shape).
template <class Quick, class Records>
std::vector<Scored> scan(const PointerIndex& index, Quick quick, Records records) {
    std::vector<Scored> scored;
    detail::WorkBudget budget;
    for (const std::uint32_t target : index.targets()) {
        if (!quick(target)) {
            continue;
        }
        const int n = records(target);
        if (n > 0) {
            scored.push_back({target, n, index.references(target), target});
        }
        if (!budget.spend(1 + static_cast<std::size_t>(n))) {
            break;
        }
    }
    return scored;
}

struct Search {
    const RomBytes& rom;
    const PointerIndex& index;
    ShapeContext context;

    bool pointerAt(std::uint32_t at, std::size_t count = 1) const {
        return rom.pointerAt(at, count).has_value();
    }
    int records(Table table, std::uint32_t at, int depth) const {
        return checkShape(rom, table, at, context, depth).records;
    }

    // The quick looks below take the first record as the full check would, without its
    // sentence for the user: most referenced places are no table of the kind.
    FoundTable banks() const {
        const auto quick = [&](std::uint32_t t) {
            const auto maps = rom.pointerAt(t, 4);
            return maps && mapTableEntries(rom, *maps, 1) > 0;
        };
        return detail::choose(Table::Banks, scan(index, quick, [&](std::uint32_t t) {
                                  return records(Table::Banks, t, kMaxBanks);
                              }));
    }
    FoundTable sprites() const {
        const auto quick = [&](std::uint32_t t) {
            const auto record = rom.pointerAt(t, 36);
            return record && rom.half(*record) == 0xFFFF;
        };
        return detail::choose(Table::Sprites, scan(index, quick, [&](std::uint32_t t) {
                                  return records(Table::Sprites, t, kMaxSprites);
                              }));
    }
    // A name record of length bytes at at: a character, then the end mark within the record.
    bool nameAt(std::uint32_t at, std::uint32_t length) const {
        std::uint8_t bytes[kLongestName] = {};
        return length <= kLongestName && rom.read(at, length, bytes) && bytes[0] != 0xFF &&
               std::find(bytes, bytes + length, 0xFF) != bytes + length;
    }
    // The palettes run up to a null record (or to the most the editor reads): one record of
    // the shape with other data behind it is a sprite's frame, no table.
    FoundTable spritePalettes() const {
        const auto quick = [&](std::uint32_t t) {
            return pointerAt(t, 32) && rom.half(t + 6) == 0;
        };
        return detail::choose(
            Table::SpritePalettes, scan(index, quick, [&](std::uint32_t t) {
                const int n = records(Table::SpritePalettes, t, kMaxSpritePalettes);
                const bool closed = n >= kMaxSpritePalettes || rom.word(t + 8u * n) == 0u;
                return closed ? n : 0;
            }));
    }
    FoundTable wild() const {
        const auto quick = [&](std::uint32_t t) { return rom.half(t + 2) == 0; };
        return detail::choose(Table::Wild, scan(index, quick, [&](std::uint32_t t) {
                                  const Shape s =
                                      checkShape(rom, Table::Wild, t, context, kMaxWildRecords);
                                  return s.ok ? s.records : 0;
                              }));
    }
    FoundTable species() const {
        const auto length = static_cast<std::uint32_t>(context.nameLength);
        // Record 0 is a placeholder name; the profile counts species from record 1.
        const auto quick = [&](std::uint32_t t) {
            return nameAt(t, length) && nameAt(t + length, length);
        };
        auto scored = scan(index, quick, [&](std::uint32_t t) {
            const int n = records(Table::SpeciesNames, t + length, kMaxSpecies);
            return n >= kMinSpecies ? n : 0;
        });
        for (Scored& s : scored) {
            s.offset = s.start + length;
        }
        return detail::choose(Table::SpeciesNames, scored);
    }
};

}  // namespace

GameIdentity GameIdentity::of(std::span<const std::uint8_t> image) {
    GameIdentity id;
    constexpr std::size_t kTitleAt = 0xA0, kRevisionAt = 0xBC;
    if (image.size() < kCartridgeHeaderSize) {
        return id;
    }
    id.title = titleFromHeader(std::span<const std::uint8_t, 16>(image.data() + kTitleAt, 16));
    id.revision = image[kRevisionAt];
    const std::string code = id.title.size() >= 15 ? id.title.substr(12, 3) : "";
    id.frlg = code == "BPR" || code == "BPG";
    return id;
}

std::string GameIdentity::section() const {
    return revision > 0 ? title + " 1." + std::to_string(revision) : title;
}

const FoundTable& FoundProfile::table(Table which) const {
    return tables[static_cast<std::size_t>(which)];
}

FoundProfile findTables(std::span<const std::uint8_t> image, const GameIdentity& identity) {
    FoundProfile p;
    p.identity = identity;
    p.tilesetHeight = identity.frlg ? kFrlgTilesetHeight : kRseTilesetHeight;
    const SpanBytes rom(image);
    const PointerIndex index(image);
    Search search{rom, index, ShapeContext{identity.frlg, p.nameLength, 0, kMaxSpritePalettes}};

    p.tables.resize(kTables.size());
    const auto put = [&](FoundTable t) { p.tables[static_cast<std::size_t>(t.table)] = t; };
    const FoundTable banks = search.banks();
    put(banks);
    detail::MapSurvey survey;
    if (banks.found()) {
        survey = detail::surveyMaps(rom, banks.start, banks.records);
    }
    p.maps = survey.maps;
    p.mapNameCount = std::max(survey.highestName, 0);
    put(detail::findTilesets(rom, index, survey, identity.frlg));
    put(detail::findMapNames(rom, index, survey, identity.frlg));
    put(search.species());
    put(search.wild());
    put(search.sprites());
    const FoundTable palettes = search.spritePalettes();
    put(palettes);
    p.spritePaletteCount = palettes.found() ? palettes.records : 0;
    return p;
}

}  // namespace quillon::tables
