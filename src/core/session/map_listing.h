#pragma once

#include <string>
#include <vector>

#include "core/map/map_list.h"

namespace quillon {

class DataFiles;
class LanguageTable;
class RomState;
class Settings;
class TRom;

// The open ROM's map list as the "Map Auflistung" setting asks for, in the current language.
MapListTree openRomMapList(const RomState& romState, const DataFiles& data,
                           const Settings& settings, const LanguageTable& lang);

// The lines of one group of the map group file (combo box mode).
std::vector<std::string> mapGroupLines(const DataFiles& data, const std::string& group);

// Sets whether the bank scan lists the last bank (a setting) and scans the open ROM's bank
// table again; the caller rebuilds the map list.
void setListLastBank(Settings& settings, TRom& rom, RomState& romState, bool on);

}  // namespace quillon
