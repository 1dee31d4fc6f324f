#include "core/mapfile/map_from_file.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/writers/map_resize.h"
#include "core/writers/tileset_choice.h"
#include "core/errors.h"
#include "core/events/event_tables.h"
#include "core/files/native_file.h"
#include "core/gfx/tileset_pair.h"
#include "core/state/map_state.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon {

namespace {

// Block 1 with movement value 0C: what a new map is filled with.
constexpr std::uint16_t kNewMapEntry = 0x3001;

// The tilesets of the map shown before come back after a failed load, so it still draws.
void restoreTilesets(TRom& rom, RomState& romState, const IniFile& ini,
                     const CurrentMap& previous) {
    if (!previous.hasFooter() && !previous.outsideRom) {
        return;
    }
    try {
        romState.tilesets().LoadTilesets(
            rom, {previous.tileset1, previous.tilesetHeader1, previous.footer.tileset1Offset()},
            {previous.tileset2, previous.tilesetHeader2, previous.footer.tileset2Offset()}, ini,
            romState.profile().tilesetHeight);
    } catch (const Error&) {
        // The pair holds nothing now: the next map loads both parts afresh.
    }
}

// What the editor knows of a map without a place in the ROM. Its footer copy holds the size
// and the tileset pointers (the pointers of border and grid stay 0).
CurrentMap detachedCurrentMap(const DetachedMap& parts, const tileset_choice::Choice& one,
                              const tileset_choice::Choice& two) {
    CurrentMap m;
    m.title = parts.title;
    m.border = parts.contents.border;
    m.tileset1 = one.number;
    m.tileset2 = two.number;
    m.tilesetHeader1 = one.header;
    m.tilesetHeader2 = two.header;
    writeLe32(&m.footer.raw[0], parts.contents.grid.width);
    writeLe32(&m.footer.raw[4], parts.contents.grid.height);
    writePointerField(&m.footer.raw[16], one.offset);
    writePointerField(&m.footer.raw[20], two.offset);
    m.mapFile = parts.mapFile.string();
    m.outsideRom = true;
    return m;
}

}  // namespace

DetachedMap detachedFromFiles(const std::filesystem::path& mapFile) {
    map_file::MapFiles files = map_file::read(mapFile);
    DetachedMap parts;
    parts.title = mapFile.stem().string();
    parts.mapFile = mapFile;
    parts.contents = std::move(files.map);
    parts.events = std::move(files.events);
    return parts;
}

DetachedMap newDetachedMap(int width, int height, int tileset1, int tileset2,
                           const std::string& name, const std::array<std::uint8_t, 8>& border) {
    checkMapSize(width, height);
    DetachedMap parts;
    parts.title = name;
    parts.contents.border = border;
    BlockGrid& grid = parts.contents.grid;
    grid.width = static_cast<std::uint16_t>(width);
    grid.height = static_cast<std::uint16_t>(height);
    std::fill_n(grid.cells.begin(), grid.cellCount(), GridEntry{kNewMapEntry});
    std::fill_n(grid.movement.begin(), grid.cellCount(), GridEntry{kNewMapEntry}.movement());
    parts.contents.tileset1 = tileset1;
    parts.contents.tileset2 = tileset2;
    return parts;
}

std::unique_ptr<MapState> buildDetachedMapState(TRom& rom, RomState& romState,
                                                const Settings& settings, PictureBuffers& buffers,
                                                const IniFile& tilesetsIni, DetachedMap parts,
                                                const CurrentMap& previous) {
    const GameProfile& profile = romState.profile();
    // A map file's tileset numbers count in the table: one that failed its check says why.
    for (const int value : {parts.contents.tileset1, parts.contents.tileset2}) {
        if (!decodeRomPointer(static_cast<std::uint32_t>(value))) {
            romState.requireTable(tables::Table::Tilesets);
        }
    }
    const auto one = tileset_choice::choose(
        rom, profile, map_file::tilesetHeader(rom, profile, parts.contents.tileset1, 1), 1);
    const auto two = tileset_choice::choose(
        rom, profile, map_file::tilesetHeader(rom, profile, parts.contents.tileset2, 2), 2);
    EventTables events;
    events.holdInMemory(std::move(parts.events));
    try {
        tileset_choice::load(rom, romState, tilesetsIni, one, two);
    } catch (...) {
        restoreTilesets(rom, romState, tilesetsIni, previous);
        throw;
    }
    LoadedMap loaded;
    loaded.map = detachedCurrentMap(parts, one, two);
    loaded.grid = std::move(parts.contents.grid);
    return std::make_unique<MapState>(romState, settings, buffers, std::move(loaded),
                                      std::move(events));
}

void saveMapFiles(MapState& state, const GameProfile& profile,
                  const std::filesystem::path& mapFile) {
    if (!state.loaded()) {
        throw Error(message("mapfile.no_map_open"));
    }
    if (!state.map().outsideRom && !state.map().hasFooter()) {
        throw Error(message("mapfile.no_own_grid", {state.map().identifier}));
    }
    map_file::write(mapFile, state.map(), state.grid(), state.events(), profile);
    state.map().mapFile = mapFile.string();
    // A map from the ROM is saved where it lies, in the ROM: a copy in a map file leaves its
    // changes still to be saved there.
    if (state.map().outsideRom) {
        state.history().markSaved();
    }
}

void checkMapFileName(const std::string& name) {
    const bool reserved = name == "." || name == "..";
    const bool bad = std::any_of(name.begin(), name.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x20 || c == 0x7F ||
               std::string_view("/\\<>:\"|?*").find(ch) != std::string_view::npos;
    });
    if (name.empty() || reserved || bad) {
        throw Error(message("mapfile.bad_name", {name}));
    }
}

namespace {

// The folder, made when missing; false when it cannot be made or written.
bool usableFolder(const std::filesystem::path& folder, bool& made) {
    std::error_code ec;
    made = std::filesystem::create_directories(folder, ec);
    return !ec && std::filesystem::is_directory(folder, ec) && native::folderWritable(folder);
}

}  // namespace

NewMapPlace newMapPlace(const std::filesystem::path& programFolder,
                        const std::filesystem::path& userFolder, const std::string& name) {
    checkMapFileName(name);
    NewMapPlace place;
    const std::string file = name + ".map";
    if (!programFolder.empty() && usableFolder(programFolder / "Maps", place.folderMade)) {
        place.file = programFolder / "Maps" / file;
        return place;
    }
    if (!userFolder.empty() && usableFolder(userFolder / "Maps", place.folderMade)) {
        place.file = userFolder / "Maps" / file;
        place.inUserFolder = true;
        return place;
    }
    if (programFolder.empty()) {
        throw Error(message("mapfile.no_folder", {(userFolder / "Maps").string()}));
    }
    if (userFolder.empty()) {
        throw Error(message("mapfile.no_folder", {(programFolder / "Maps").string()}));
    }
    throw Error(message("mapfile.no_folders", {(programFolder / "Maps").string(),
                                               (userFolder / "Maps").string()}));
}

}  // namespace quillon
