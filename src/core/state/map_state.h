#pragma once

#include "core/edit/edit_history.h"
#include "core/state/event_editor.h"
#include "core/events/event_tables.h"
#include "core/map/block_grid.h"
#include "core/map/map_loader.h"
#include "core/state/map_editor.h"
#include "core/state/map_pictures.h"

namespace quillon {

class RomState;
class Settings;
struct PictureBuffers;

// What lives as long as the open map: what its header and footer say, its border and grid,
// its event tables, the one edit history of grid and events, its pictures, and the two
// editors working on them. Opening another map builds a new one; the tileset pair, the
// sprites and the brush it uses belong to the ROM.
class MapState {
public:
    // "No map open": a 1 x 1 grid, no events, nothing drawn. Pictures are drawn into buffers.
    MapState(RomState& rom, const Settings& settings, PictureBuffers& buffers);
    // The map just read (loaded) with its events.
    MapState(RomState& rom, const Settings& settings, PictureBuffers& buffers, LoadedMap loaded,
             EventTables events);
    MapState(const MapState&) = delete;
    MapState& operator=(const MapState&) = delete;

    bool loaded() const { return m_loaded; }
    // The open ROM's state the map was read with (its profile and what failed its check).
    const RomState& romState() const { return m_romState; }
    const CurrentMap& map() const { return m_map; }
    // For commands that write header or footer fields into the ROM and keep this copy in step.
    CurrentMap& map() { return m_map; }
    const BlockGrid& grid() const { return m_grid; }
    BlockGrid& grid() { return m_grid; }
    const EventTables& events() const { return m_events; }
    EventTables& events() { return m_events; }
    EditHistory& history() { return m_history; }
    MapPictures& pictures() { return m_pictures; }
    MapEditor& editor() { return m_editor; }
    EventEditor& eventEditor() { return m_eventEditor; }

    // Painted or events edited since the map was opened or last saved.
    bool modified() const { return m_loaded && m_history.modified(); }
    // The map picture with the events over it.
    const Bitmap& eventPicture();
    // Forces the next picture request to redraw (grid toggle, palette width change).
    void invalidatePictures();

private:
    const RomState& m_romState;
    bool m_loaded = false;
    CurrentMap m_map;
    BlockGrid m_grid;
    EventTables m_events;
    EditHistory m_history;
    MapPictures m_pictures;
    MapEditor m_editor;
    EventEditor m_eventEditor;
};

}  // namespace quillon
