#include "core/config/program_places.h"

#include <sstream>
#include <system_error>

#include "core/files/native_file.h"

namespace quillon {

namespace {

bool holdsIni(const std::filesystem::path& folder) {
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(folder / "Ini", ec);
}

std::filesystem::path configHome(const PlacesInput& input) {
    // Relative values are invalid and ignored, as every desktop program does.
    if (!input.xdgConfigHome.empty() && input.xdgConfigHome.is_absolute()) {
        return input.xdgConfigHome;
    }
    if (!input.home.empty()) {
        return std::filesystem::path(input.home) / ".config";
    }
    return {};
}

// "[name]" with blanks around it, or "".
std::string sectionName(const std::string& line) {
    const std::size_t open = line.find_first_not_of(" \t");
    const std::size_t close = line.find_last_not_of(" \t\r");
    if (open == std::string::npos || line[open] != '[' || line[close] != ']') {
        return {};
    }
    return line.substr(open + 1, close - open - 1);
}

bool isSettingsSection(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return name == "einstellungen" || name == "fenster";
}

}  // namespace

ProgramPlaces choosePlaces(const PlacesInput& input) {
    if (input.programFolderWritable && holdsIni(input.programFolder)) {
        return placesBeside(input.programFolder);
    }
    ProgramPlaces places;
    const std::filesystem::path shared =
        (input.programFolder.parent_path() / "share" / "quillon").lexically_normal();
    places.dataFolder = holdsIni(shared) ? shared : input.programFolder;
    const std::filesystem::path config = configHome(input);
    if (!config.empty()) {
        places.settingsFile = config / "quillon" / "Quillon.ini";
    }
    return places;
}

ProgramPlaces placesBeside(const std::filesystem::path& folder) {
    ProgramPlaces places;
    places.besideProgram = true;
    places.dataFolder = folder;
    places.settingsFile = folder / "Ini" / "Quillon.ini";
    places.mapsFolder = folder;
    return places;
}

PlacesInput placesInputFor(const std::filesystem::path& programFolder) {
    PlacesInput input;
    input.programFolder = programFolder;
    input.programFolderWritable = native::folderWritable(programFolder);
    const native::UserFolders user = native::userFolders();
    input.home = user.home;
    input.xdgConfigHome = user.config;
    return input;
}

std::string settingsSectionsOf(const std::string& shippedText) {
    std::istringstream in(shippedText);
    std::string out;
    std::string line;
    bool keep = false;
    while (std::getline(in, line)) {
        const std::string name = sectionName(line);
        if (!name.empty()) {
            keep = isSettingsSection(name);
        }
        if (keep) {
            out += line + "\n";
        }
    }
    return out;
}

}  // namespace quillon
