#pragma once

#include <filesystem>
#include <string>

#include "core/text/message.h"

namespace quillon {

class MapState;
class TRom;

// Writes the grid of the open map into the ROM at its grid offset, then its event tables and
// fly record where they were read ("Speichern"), and marks the map saved. A map opened without
// a footer of its own is refused (its grid offset would name another map's grid), so is one
// outside the ROM. Throws RomIoError when the file cannot be written; the map then stays
// modified.
void saveOpenMap(TRom& rom, MapState& map);
// The same with the history entry named for what changed the map ("Paint 3 cells of 0.0").
void saveOpenMap(TRom& rom, MapState& map, const Message& name);

// Copies the ROM file to newName (".gba" added when missing), continues on the copy and saves
// the map there; the copy appears only complete, and the map counts as saved only then. False
// when the target is another existing file; RomIoError when the copy or the save fails. Either
// way nothing is left behind and the editor stays on the old file.
bool saveOpenMapAs(TRom& rom, MapState& map, const std::filesystem::path& newName);

}  // namespace quillon
