#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "core/tables/pointer_index.h"
#include "core/tables/table_finder.h"

// The pieces of the table search, shared by its source files.
namespace quillon::tables::detail {

// A referenced place that has a table's shape, and how well.
struct Scored {
    std::uint32_t start = 0;
    int records = 0;
    int references = 0;
    std::uint32_t offset = 0;  // the profile value it gives
};

// The best of scored (most records, then most references, then the lowest start) as the
// table's result; NotFound when scored is empty.
FoundTable choose(Table table, const std::vector<Scored>& scored);

// What the maps the bank table leads to name: their name indices and tileset headers.
struct MapSurvey {
    int maps = 0;
    int lowestName = -1;
    int highestName = -1;
    std::set<std::uint32_t> tilesetHeaders;
};
MapSurvey surveyMaps(const RomBytes& rom, std::uint32_t bankTable, int banks);

FoundTable findTilesets(const RomBytes& rom, const PointerIndex& index, const MapSurvey& maps,
                        bool frlg);
FoundTable findMapNames(const RomBytes& rom, const PointerIndex& index, const MapSurvey& maps,
                        bool frlg);

// The records a table kind's search may look at: a candidate costs one plus the records it
// has (a stray one fails at its first record). Room for every aligned place of a 32 MiB file
// and the real tables besides; a bound for any other file.
class WorkBudget {
public:
    // False (and nothing left) once units are more than what is left.
    bool spend(std::size_t units) {
        m_left = units > m_left ? 0 : m_left - units;
        return m_left > 0;
    }

private:
    std::size_t m_left = std::size_t{1} << 24;
};

}  // namespace quillon::tables::detail
