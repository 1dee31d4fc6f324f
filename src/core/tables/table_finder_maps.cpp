#include <algorithm>

#include "core/map/map_header.h"
#include "core/tables/table_finder_parts.h"

namespace quillon::tables::detail {

namespace {

constexpr int kMaxMapsPerBank = 256;
constexpr std::uint32_t kTilesetHeaderSize = 24;
constexpr std::uint32_t kMaxHeaderGap = 20;  // other data between two headers of the table
constexpr int kMaxChainHeaders = 256;
constexpr std::uint32_t kNameIndexAt = 20;
// FireRed and LeafGreen keep names for the indices from 88 on only; the code subtracts 88.
constexpr int kFrlgFirstName = 88;
constexpr int kMaxNameRecords = 256;
constexpr std::size_t kLongestName = 32;

// The headers of the table from start on: 24 bytes on after each, passing gaps of up to 20
// bytes of other data, up to the first place without one.
std::vector<std::uint32_t> headerChain(const RomBytes& rom, std::uint32_t start, bool frlg) {
    std::vector<std::uint32_t> chain{start};
    std::uint64_t at = std::uint64_t{start} + kTilesetHeaderSize;
    while (chain.size() < static_cast<std::size_t>(kMaxChainHeaders)) {
        std::optional<std::uint32_t> next;
        for (std::uint32_t gap = 0; gap <= kMaxHeaderGap && !next; gap += 4) {
            const std::uint64_t candidate = at + gap;
            if (candidate < rom.size() &&
                tilesetHeaderAt(rom, static_cast<std::uint32_t>(candidate), frlg)) {
                next = static_cast<std::uint32_t>(candidate);
            }
        }
        if (!next) {
            break;
        }
        chain.push_back(*next);
        at = std::uint64_t{*next} + kTilesetHeaderSize;
    }
    return chain;
}

// Map name records (pointer to a non-empty text ended by 0xFF within 32 bytes) in a row
// from start.
int nameRecordsFrom(const RomBytes& rom, std::uint32_t start, bool frlg) {
    const std::uint32_t stride = frlg ? 4 : 8;
    const std::uint32_t field = frlg ? 0 : 4;
    int n = 0;
    while (n < kMaxNameRecords) {
        const auto text = rom.pointerAt(std::uint64_t{start} + n * stride + field);
        if (!text) {
            break;
        }
        std::uint8_t bytes[kLongestName] = {};
        const std::size_t count = std::min<std::uint64_t>(kLongestName, rom.size() - *text);
        // A name has at least one character before its end mark.
        if (!rom.read(*text, count, bytes) || bytes[0] == 0xFF ||
            std::find(bytes, bytes + count, 0xFF) == bytes + count) {
            break;
        }
        ++n;
    }
    return n;
}

}  // namespace

MapSurvey surveyMaps(const RomBytes& rom, std::uint32_t bankTable, int banks) {
    MapSurvey survey;
    std::set<std::uint32_t> headers;
    for (int b = 0; b < banks; ++b) {
        const auto table = rom.pointerAt(std::uint64_t{bankTable} + 4u * b, 4);
        for (int m = 0; table && m < kMaxMapsPerBank; ++m) {
            const auto header = rom.pointerAt(std::uint64_t{*table} + 4u * m, MapHeader::kSize);
            if (!header || !isMapHeader(rom, *header)) {
                break;
            }
            if (!headers.insert(*header).second) {
                continue;  // a map table that runs on into the next bank's
            }
            const int name = *rom.byte(*header + kNameIndexAt);
            survey.lowestName = survey.lowestName < 0 ? name : std::min(survey.lowestName, name);
            survey.highestName = std::max(survey.highestName, name);
            const std::uint32_t footer = *rom.pointerAt(*header, MapFooter::kSize);
            for (std::uint32_t field : {16u, 20u}) {
                if (const auto tileset = rom.pointerAt(footer + field, kTilesetHeaderSize)) {
                    survey.tilesetHeaders.insert(*tileset);
                }
            }
        }
    }
    survey.maps = static_cast<int>(headers.size());
    return survey;
}

FoundTable findTilesets(const RomBytes& rom, const PointerIndex& index, const MapSurvey& maps,
                        bool frlg) {
    FoundTable found;
    found.table = Table::Tilesets;
    if (maps.tilesetHeaders.empty()) {
        found.basis = Basis::NeedsMaps;
        return found;
    }
    // Each referenced primary header starts a chain; a header inside an earlier chain starts
    // only a part of it.
    std::set<std::uint32_t> chained;
    std::vector<Scored> best;
    int bestCovered = 0;
    WorkBudget budget;
    for (const std::uint32_t target : index.targets()) {
        if (chained.count(target) != 0 || tilesetHeaderAt(rom, target, frlg) != false) {
            continue;
        }
        const auto chain = headerChain(rom, target, frlg);
        if (!budget.spend(chain.size())) {
            break;
        }
        chained.insert(chain.begin(), chain.end());
        const int covered = static_cast<int>(std::count_if(
            chain.begin(), chain.end(), [&](auto h) { return maps.tilesetHeaders.count(h) != 0; }));
        if (covered > bestCovered) {
            best.clear();
            bestCovered = covered;
        }
        if (covered == bestCovered) {
            best.push_back(
                {target, static_cast<int>(chain.size()), index.references(target), target});
        }
    }
    const int named = static_cast<int>(maps.tilesetHeaders.size());
    if (best.empty() || bestCovered * 2 <= named) {
        return found;
    }
    // Of chains that cover as many, the lowest start is the table's beginning.
    found = choose(Table::Tilesets, {best.front()});
    found.rivals = static_cast<int>(best.size()) - 1;
    if (bestCovered < named || found.rivals > 0) {
        found.confidence = Confidence::Likely;
        found.basis = bestCovered < named ? Basis::PartlyCovered : Basis::MostReferenced;
    }
    return found;
}

FoundTable findMapNames(const RomBytes& rom, const PointerIndex& index, const MapSurvey& maps,
                        bool frlg) {
    FoundTable found;
    found.table = Table::MapNames;
    if (maps.highestName < 0) {
        found.basis = Basis::NeedsMaps;
        return found;
    }
    const std::uint32_t field = frlg ? 0 : 4;
    const std::uint32_t shift = kFrlgFirstName * 4;
    std::vector<Scored> scored;
    WorkBudget budget;
    for (const std::uint32_t target : index.targets()) {
        if (!rom.pointerAt(std::uint64_t{target} + field)) {
            continue;
        }
        const int records = nameRecordsFrom(rom, target, frlg);
        if (!budget.spend(1 + static_cast<std::size_t>(records))) {
            break;
        }
        // The table holds every index the maps use from 0 on, or (FireRed/LeafGreen) from 88.
        if (records >= maps.highestName + 1) {
            scored.push_back({target, records, index.references(target), target});
        } else if (frlg && maps.lowestName >= kFrlgFirstName && target >= shift &&
                   records >= maps.highestName + 1 - kFrlgFirstName) {
            scored.push_back({target, records, index.references(target), target - shift});
        }
    }
    return choose(Table::MapNames, scored);
}

}  // namespace quillon::tables::detail
