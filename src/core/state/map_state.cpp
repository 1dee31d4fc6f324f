#include "core/state/map_state.h"

#include "core/state/picture_buffers.h"
#include "core/state/rom_state.h"

namespace quillon {

MapState::MapState(RomState& rom, const Settings& settings, PictureBuffers& buffers)
    : m_romState(rom),
      m_pictures(rom.tilesets(), m_grid, settings, buffers),
      m_editor(m_grid, m_pictures, m_history, rom.brush()),
      m_eventEditor(m_events, m_history, settings, rom.sprites(), buffers.events) {
    m_editor.setRecordSink(&m_eventEditor);
}

MapState::MapState(RomState& rom, const Settings& settings, PictureBuffers& buffers,
                   LoadedMap loaded, EventTables events)
    : MapState(rom, settings, buffers) {
    m_map = std::move(loaded.map);
    m_grid = std::move(loaded.grid);
    m_events = std::move(events);
    m_loaded = true;
    m_eventEditor.mapOpened();
    m_pictures.setEnabled(true);
}

const Bitmap& MapState::eventPicture() {
    const Bitmap& map = m_pictures.map();
    return m_eventEditor.picture(map, m_editor.gridRevision());
}

void MapState::invalidatePictures() {
    m_pictures.invalidate();
    m_eventEditor.invalidatePicture();
}

}  // namespace quillon
