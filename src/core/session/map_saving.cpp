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
        throw Error("Es ist keine Map geöffnet.");
    }
}

std::string openMapId(const MapState& map) { return map.loaded() ? map.map().identifier : ""; }

void writeMap(TRom& rom, MapState& map, const std::string& name) {
    requireOpenMap(map);
    const CurrentMap& current = map.map();
    if (current.outsideRom) {
        throw Error("Die Map \"" + current.title +
                    "\" gehört zu keiner Map im Rom: \"Map Speichern\" schreibt sie in ihre "
                    "Map-Datei, \"Map Einfügen\" in einen Platz im Rom.");
    }
    if (!current.hasFooter()) {
        throw Error("Die Map \"" + current.identifier +
                    "\" hat keinen eigenen Block-Grid und wird nicht gespeichert.");
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
    writeMap(rom, map, "Map speichern " + openMapId(map));
    map.history().markSaved();
}

bool saveOpenMapAs(TRom& rom, MapState& map, const std::filesystem::path& newName) {
    requireOpenMap(map);
    const bool saved =
        rom.SaveAs(newName, [&] { writeMap(rom, map, "Map speichern unter " + openMapId(map)); });
    if (saved) {
        // Saved only now: a copy that could not take its name leaves the map modified.
        map.history().markSaved();
    }
    return saved;
}

}  // namespace quillon
