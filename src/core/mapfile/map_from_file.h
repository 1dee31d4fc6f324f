#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/mapfile/map_file.h"

namespace quillon {

class IniFile;
class MapState;
class RomState;
class Settings;
class TRom;
struct GameProfile;
struct CurrentMap;
struct PictureBuffers;

// Maps that live outside the ROM: read from a map file or made new. They are shown and
// edited like ROM maps, with the tilesets of the open ROM, but are tied to no map of it: no
// header, no footer, no grid or event place (CurrentMap::outsideRom). Commands that write a
// map's place in the ROM refuse them; "Map einfügen" puts them into a slot.

// What such a map is made of.
struct DetachedMap {
    std::string title;
    std::filesystem::path mapFile;  // where "Map Speichern" writes; may be empty
    MapFileContents contents;
    EventRecords events;
};

// The map of a map file and its event file (see map_file::read), titled with the file's name
// without its extension.
DetachedMap detachedFromFiles(const std::filesystem::path& mapFile);

// A new map of width x height: every cell entry 0x3001 (block 1, movement value 0C), no
// events, the border taken from border; tileset1 and tileset2 are map file values
// (map_file::tilesetValue). Throws Error for a width or height below 1 or more
// cells than the editor holds.
DetachedMap newDetachedMap(int width, int height, int tileset1, int tileset2,
                           const std::string& name, const std::array<std::uint8_t, 8>& border);

// Builds the map state of parts: checks both tileset values (a number of the profile's tileset
// table or a header's ROM pointer; each a header of its part) and loads the parts that differ
// from those loaded now. On an error the tileset pair gets previous's tilesets back (when it
// has any) and the error goes on; nothing else changed.
std::unique_ptr<MapState> buildDetachedMapState(TRom& rom, RomState& romState,
                                                const Settings& settings, PictureBuffers& buffers,
                                                const IniFile& tilesetsIni, DetachedMap parts,
                                                const CurrentMap& previous);

// Writes the open map (from the ROM or not) into mapFile and the event file beside it, its
// tilesets as the values of profile's table (map_file::tilesetValue); the file becomes the
// map's map file. A map outside the ROM counts as saved then; a map from the ROM keeps its
// unsaved changes for the ROM.
void saveMapFiles(MapState& state, const GameProfile& profile,
                  const std::filesystem::path& mapFile);

// Where "Neue Map" keeps the map name: "<name>.map" in the folder "Maps" of programFolder,
// made when missing; when that folder cannot be made or written (or programFolder is empty: an
// installed program keeps no files beside itself), the folder "Maps" in userFolder instead.
// Refuses with an Error an empty name, "." and "..", and names with a path separator or a
// character file names cannot hold (< > : " | ? * and control characters).
void checkMapFileName(const std::string& name);
struct NewMapPlace {
    std::filesystem::path file;
    bool folderMade = false;    // the folder did not exist before
    bool inUserFolder = false;  // the program's folder could not be used
};
// Throws Error for a name checkMapFileName refuses, and when neither folder can be used.
NewMapPlace newMapPlace(const std::filesystem::path& programFolder,
                        const std::filesystem::path& userFolder, const std::string& name);

}  // namespace quillon
