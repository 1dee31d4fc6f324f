#include "core/state/neighbours.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/config/data_files.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_loader.h"
#include "core/state/map_state.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon {

namespace {

// The tileset pairs the neighbours need, each pair of numbers decoded once.
class PairCache {
public:
    PairCache(TRom& rom, const RomState& romState, const DataFiles& data)
        : m_rom(rom), m_romState(romState), m_data(data) {}

    // Throws what loading the tilesets throws; a pair that failed is not kept.
    const TilesetPair& pairFor(const CurrentMap& map) {
        const TilesetPair& open = m_romState.tilesets();
        if (open.tilesetNumber(1) == map.tileset1 && open.tilesetNumber(2) == map.tileset2) {
            return open;
        }
        for (const Entry& entry : m_pairs) {
            if (entry.numbers == std::pair(map.tileset1, map.tileset2)) {
                return *entry.pair;
            }
        }
        auto pair = std::make_unique<TilesetPair>();
        pair->LoadTilesets(m_rom, {map.tileset1, map.tilesetHeader1, map.footer.tileset1Offset()},
                           {map.tileset2, map.tilesetHeader2, map.footer.tileset2Offset()},
                           m_data.tilesets(), m_romState.profile().tilesetHeight);
        m_pairs.push_back({{map.tileset1, map.tileset2}, std::move(pair)});
        return *m_pairs.back().pair;
    }

private:
    struct Entry {
        std::pair<int, int> numbers;
        std::unique_ptr<TilesetPair> pair;
    };
    TRom& m_rom;
    const RomState& m_romState;
    const DataFiles& m_data;
    std::vector<Entry> m_pairs;
};

bool listed(const BankScan& scan, int bank, int map) {
    return static_cast<std::size_t>(bank) < scan.banks.size() &&
           static_cast<std::size_t>(map) < scan.banks[static_cast<std::size_t>(bank)].size();
}

// Reads and draws one neighbour; a neighbour that cannot be drawn becomes a warning.
void drawNeighbour(const Connection& connection, TRom& rom, const RomState& romState,
                   const DataFiles& data, PairCache& pairs, NeighbourBand& band) {
    const std::string id = std::to_string(connection.bank) + "." + std::to_string(connection.map);
    if (!listed(romState.bankScan(), connection.bank, connection.map)) {
        band.warnings.push_back({id, message("neighbour.not_listed", {id})});
        return;
    }
    try {
        const LoadedMap loaded =
            readMap(rom, romState.profile(), data.mapsFile(), id, id, CurrentMap{});
        if (!loaded.map.hasFooter()) {
            band.warnings.push_back({id, message("neighbour.no_footer", {id})});
            return;
        }
        const TilesetPair& tilesets = pairs.pairFor(loaded.map);
        const CellRect place = neighbourPlace(connection, band.mapWidth, band.mapHeight,
                                              loaded.grid.width, loaded.grid.height);
        band.draw({connection, id, place}, loaded.grid, tilesets);
    } catch (const Error& e) {
        band.warnings.push_back({id, e.message()});
    }
}

}  // namespace

NeighbourBand drawNeighbourBand(TRom& rom, const RomState& romState, const DataFiles& data,
                                const MapState& map) {
    NeighbourBand band;
    const CurrentMap& current = map.map();
    band.reset(map.grid().width, map.grid().height);
    band.headerOffset = current.headerOffset;
    band.connectionsOffset = current.header.connectionsOffset();
    if (!map.loaded() || !current.hasHeader() || band.margin == 0) {
        return band;
    }
    ConnectionTable table;
    try {
        table = readConnections(rom, current.header);
    } catch (const Error& e) {
        band.warnings.push_back({"", e.message()});
        return band;
    }
    if (table.records.size() > kMaxNeighbours) {
        band.warnings.push_back({"", message("neighbour.too_many",
                                             {std::to_string(table.records.size()),
                                              std::to_string(kMaxNeighbours)})});
        table.records.resize(kMaxNeighbours);
    }
    PairCache pairs(rom, romState, data);
    for (const Connection& connection : table.records) {
        if (isEdgeConnection(connection)) {
            drawNeighbour(connection, rom, romState, data, pairs, band);
        }
    }
    rom.Close();
    return band;
}

}  // namespace quillon
