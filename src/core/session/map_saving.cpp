#include "core/session/map_saving.h"

#include <cstdint>
#include <vector>

#include "core/errors.h"
#include "core/rom/trom.h"
#include "core/state/map_state.h"
#include "core/state/map_state_check.h"

namespace quillon {
namespace {

void requireOpenMap(const MapState& map) {
    if (!map.loaded()) {
        throw Error(message("edit.no_map"));
    }
}

std::string openMapId(const MapState& map) { return map.loaded() ? map.map().identifier : ""; }

void writeMap(TRom& rom, MapState& map, const Message& name) {
    requireOpenMap(map);
    const CurrentMap& current = map.map();
    if (current.outsideRom) {
        throw Error(message("save.outside_rom", {current.title}));
    }
    if (!current.hasFooter()) {
        throw Error(message("mapfile.no_own_grid", {current.identifier}));
    }
    const std::vector<std::uint8_t> bytes = map.grid().encode();
    rom.Open();
    requireUnchangedInRom(rom, map);
    TRom::Transaction tx(rom, name, current.identifier);
    rom.WriteBlock(bytes, static_cast<std::int32_t>(current.gridOffset));
    map.events().save(rom);
    tx.commit();
    rom.Close();
}

}  // namespace

void saveOpenMap(TRom& rom, MapState& map) {
    saveOpenMap(rom, map, message("history.name.save_map", {openMapId(map)}));
}

void saveOpenMap(TRom& rom, MapState& map, const Message& name) {
    writeMap(rom, map, name);
    map.history().markSaved();
}

bool saveOpenMapAs(TRom& rom, MapState& map, const std::filesystem::path& newName) {
    requireOpenMap(map);
    const bool saved =
        rom.SaveAs(newName, [&] { writeMap(rom, map, message("history.name.save_map_as", {openMapId(map)})); });
    if (saved) {
        // Saved only now: a copy that could not take its name leaves the map modified.
        map.history().markSaved();
    }
    return saved;
}

}  // namespace quillon
