// The tool without Qt: no picture output; see cli_qt_parts.h.
#include "cli/cli_find_tables.h"
#include "cli/cli_qt_parts.h"
#include "core/errors.h"
#include "core/files/native_file.h"

namespace quillon::cli {

// Where Qt puts an application's data for organisation "Brenvik", program "Quillon".
std::filesystem::path userDataFolder() {
    const std::filesystem::path data = native::userFolders().data;
    return data.empty() ? data : data / "Brenvik" / "Quillon";
}

namespace picture_files {

namespace {

[[noreturn]] void refuse(const char* command) {
    throw Error(std::string(command) + ": this build has no picture output (built without Qt)");
}

}  // namespace

bool available() { return false; }

void saveBitmap(const Bitmap&, const std::filesystem::path&) { refuse("picture"); }

std::vector<std::string> exportTileset(const TilesetPair&, int, int,
                                       const std::filesystem::path&, bool) {
    refuse("tileset");
}

blocks::IndexedPicture readIndexedPicture(const std::string&) { refuse("tileset --import"); }

std::vector<blocks::PaletteColour> readPaletteColours(const std::string&) {
    refuse("palette --import");
}

}  // namespace picture_files

}  // namespace quillon::cli
