#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/text/message.h"

namespace quillon {

class DataFiles;
class IniFile;
class MapState;
class RomState;
class Settings;
class TRom;
struct CurrentMap;
struct PictureBuffers;

// A map read from the ROM with everything it shows, and the notice to show first (footer
// offset missing for this game).
struct OpenedMap {
    std::unique_ptr<MapState> state;
    std::optional<Message> notice;
};

// Reads the map identifier names ("3.1", or a section of the map name file): header, footer,
// border, grid, events, and both tilesets into the ROM state's pair. A "bank.map" the bank
// scan does not list is refused (requireKnownMap). When the tilesets cannot be read, the map
// still shown (shown) gets its own back and the error is thrown; nothing else changes.
OpenedMap readMapState(TRom& rom, RomState& romState, const DataFiles& data,
                       const Settings& settings, PictureBuffers& buffers, const MapState& shown,
                       const std::string& identifier, const std::string& title);

// A "bank.map" the map name file gives no place for is read through the bank table: only the
// maps its scan lists exist. Any other pointer found there leads into unrelated data, and a
// map read from it could be saved over that data. Throws Error for such a map.
void requireKnownMap(const TRom& rom, const RomState& romState, const DataFiles& data,
                     const std::string& identifier);

// Loads the two tilesets map names into the ROM state's pair (a part already loaded is kept).
void loadMapTilesets(TRom& rom, RomState& romState, const IniFile& tilesetsIni,
                     const CurrentMap& map);

// Reads the open map's tileset headers and both tileset parts from the ROM again (after a
// write into their tiles or palettes, an undo or a redo) and redraws its pictures on the next
// request. A part that cannot be read leaves the pair empty until the next map.
void readTilesetsAgain(TRom& rom, RomState& romState, MapState& map, const IniFile& tilesetsIni);

}  // namespace quillon
