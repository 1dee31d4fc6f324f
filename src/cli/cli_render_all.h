#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_pictures.h"

namespace quillon {

class Session;

namespace cli {

struct RenderAllResult {
    int written = 0;
    std::vector<std::string> failures;  // "map 3.1: <what went wrong>", one per map skipped
};

// Writes the picture of every map of the bank table to outDir as "<bank>.<map>.png" and an
// "index.json" of the maps written ({"id", "name", "file"} each) and of those that failed
// ({"id", "name", "error"}). outDir is created when missing. A map that cannot be read is
// reported on `errors` and skipped. When progress is given, a progress line is kept on it.
// Maps are drawn in the order of their tileset pairs, so each pair is decoded once, and
// written on other threads while the next is drawn.
// Throws quillon::Error when outDir or the index cannot be written.
RenderAllResult renderAll(Session& session, const std::filesystem::path& outDir,
                          const PictureOptions& options, std::ostream& errors,
                          std::ostream* progress);

}  // namespace cli
}  // namespace quillon
