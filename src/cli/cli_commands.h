#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "core/gfx/bitmap.h"

namespace quillon {

class Session;

namespace cli {

// "warning: <text>" for each problem found while opening the ROM (tables past the end of the
// file, names not loaded).
void printWarnings(Session& session, std::ostream& out);
// Title, family, whether a profile serves the ROM, the number of maps, and one line
// "Table not used: ..." for each profile table that failed its check.
void printInfo(Session& session, std::ostream& out);
// Throws the bank table's failure (German; the caller shows it in English) when it failed.
void checkBankTable(Session& session);
// One line per map of the header part: "<bank>.<map>\t<name>".
void printMaps(Session& session, std::ostream& out);

// Opens map id and prints its events as JSON: "persons", "warps", "scripts", "signposts" (one
// object of named fields per record, with its file offset), "fly" (null when the map has no
// fly position) and "tables" (the file offset of each table).
void printEvents(Session& session, const std::string& id, std::ostream& out);

// Opens map id and draws the block palette of its tilesets, width blocks a row.
const Bitmap& blockPalette(Session& session, const std::string& id, int width, bool grid);

// Writes a picture file by its name's ending (see imageio::saveBitmap). Throws quillon::Error
// with an English message.
void savePicture(const Bitmap& picture, const std::filesystem::path& file);

}  // namespace cli
}  // namespace quillon
