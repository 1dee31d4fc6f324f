#include "core/session/map_listing.h"

#include "core/base/ini_file.h"
#include "core/config/data_files.h"
#include "core/config/language_table.h"
#include "core/config/settings.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon {

MapListTree openRomMapList(const RomState& romState, const DataFiles& data,
                           const Settings& settings, const LanguageTable& lang) {
    MapListTexts texts{lang.text(1270, "Nur aus Header"), lang.text(1271, "Aus Ini")};
    BankScan scan = romState.bankScan();
    scan.warnings.clear();
    return buildMapListTree(scan, data.mainFile(), data.mapsFile(), settings.mapListParts(), texts);
}

std::vector<std::string> mapGroupLines(const DataFiles& data, const std::string& group) {
    std::vector<std::string> lines;
    const IniFile& main = data.mainFile();
    for (int i = 0; main.hasKey(group, std::to_string(i)); ++i) {
        std::string id = main.readString(group, std::to_string(i), "");
        lines.push_back(mapLineText(data.mapsFile().readString(id, "Name", "Kein Name"), id));
    }
    return lines;
}

void setListLastBank(Settings& settings, TRom& rom, RomState& romState, bool on) {
    settings.setFlag(Settings::Flag::ListLastBank, on);
    if (romState.loaded()) {
        romState.rescanBanks(rom, on);
        rom.Close();
    }
}

}  // namespace quillon
