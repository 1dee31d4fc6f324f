#include "core/session/map_opening.h"

#include "core/base/numbers.h"
#include "core/blocks/tileset_ranges.h"
#include "core/config/data_files.h"
#include "core/errors.h"
#include "core/gfx/tileset_pair.h"
#include "core/rom/trom.h"
#include "core/state/map_state.h"
#include "core/state/rom_state.h"

namespace quillon {

OpenedMap readMapState(TRom& rom, RomState& romState, const DataFiles& data,
                       const Settings& settings, PictureBuffers& buffers, const MapState& shown,
                       const std::string& identifier, const std::string& title) {
    const GameProfile& profile = romState.profile();
    requireKnownMap(rom, romState, data, identifier);
    rom.Open();
    LoadedMap loaded = readMap(rom, profile, data.mapsFile(), identifier, title, shown.map());
    EventTables events;
    events.load(rom, loaded.map.eventsOffset, profile.flyPosHeader, loaded.map.bank,
                loaded.map.map);
    if (loaded.map.hasFooter()) {
        try {
            loadMapTilesets(rom, romState, data.tilesets(), loaded.map);
        } catch (...) {
            // The pair now holds nothing: the map still shown gets its own tilesets back, or,
            // when that fails too, the next map loads both afresh.
            if (shown.loaded() && (shown.map().hasFooter() || shown.map().outsideRom)) {
                try {
                    loadMapTilesets(rom, romState, data.tilesets(), shown.map());
                } catch (const Error&) {
                }
            }
            throw;
        }
    }
    std::optional<Message> notice = std::move(loaded.notice);
    return {std::make_unique<MapState>(romState, settings, buffers, std::move(loaded),
                                       std::move(events)),
            std::move(notice)};
}

void requireKnownMap(const TRom& rom, const RomState& romState, const DataFiles& data,
                     const std::string& identifier) {
    const auto dot = identifier.find('.');
    if (dot == std::string::npos || data.mapsFile().readInteger(identifier, rom.Title(), 0) != 0) {
        return;
    }
    romState.requireTable(tables::Table::Banks);
    if (romState.bankScan().banks.empty()) {
        return;  // the loader reads it by its place, or says why there is no table
    }
    const auto bank = TryStrToInt(identifier.substr(0, dot));
    const auto map = TryStrToInt(identifier.substr(dot + 1));
    if (bank && map) {
        requireListedMap(romState.bankScan(), *bank, *map);
    }
}

void loadMapTilesets(TRom& rom, RomState& romState, const IniFile& tilesetsIni,
                     const CurrentMap& map) {
    romState.tilesets().LoadTilesets(
        rom, {map.tileset1, map.tilesetHeader1, map.footer.tileset1Offset()},
        {map.tileset2, map.tilesetHeader2, map.footer.tileset2Offset()}, tilesetsIni,
        romState.profile().tilesetHeight);
}

void readTilesetsAgain(TRom& rom, RomState& romState, MapState& map, const IniFile& tilesetsIni) {
    // An undone or redone step may have put other block records or attributes into the ROM
    // (the block editor's saves): the tilesets are read again rather than kept.
    romState.tilesets().reset();
    if (map.loaded() && map.map().hasFooter()) {
        try {
            // A tile import moves the data and points the header there: the copies follow.
            CurrentMap& current = map.map();
            current.tilesetHeader1 =
                blocks::readTilesetHeader(rom, current.footer.tileset1Offset());
            current.tilesetHeader2 =
                blocks::readTilesetHeader(rom, current.footer.tileset2Offset());
            loadMapTilesets(rom, romState, tilesetsIni, current);
        } catch (const Error&) {
            // The pair holds nothing now; the next map opened reads both parts.
        }
        map.invalidatePictures();
    }
    rom.Close();
}

}  // namespace quillon
