#include "cli/cli_blocks.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_block_set.h"
#include "cli/cli_messages.h"
#include "cli/cli_data_move.h"
#include "cli/cli_qt_parts.h"
#include "core/blocks/block_edit.h"
#include "core/blocks/palette_import.h"
#include "core/blocks/tileset_import.h"
#include "core/rom/rom_pointer.h"
#include "core/errors.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

// Core messages in English, naming the map.
template <class Run>
void inEnglish(const std::string& id, Run run) {
    try {
        run();
    } catch (const Error& e) {
        throw Error("map " + id + ": " + errorText(e));
    }
}

// The tile data are decompressed and copied from word-aligned addresses.
constexpr const char* kTileAlignment = "tile data start on a multiple of 4";

void printTileImport(const blocks::TileImport& plan, std::optional<std::uint32_t> at,
                     std::ostream& out) {
    std::size_t written = at ? plan.data.size() : 0;
    for (const RomRange& range : plan.inPlace) {
        written += at ? 0 : range.size;
    }
    nlohmann::ordered_json json;
    json["changed"] = plan.changed;
    json["compressed"] = plan.compressed;
    json["offset"] = at.value_or(plan.oldData);
    json["written_bytes"] = plan.changed ? written : 0;
    json["moved"] = at.has_value() && plan.changed;
    out << json.dump(2) << '\n';
}

}  // namespace

void printBlock(Session& session, const std::string& id, const std::string& block,
                std::ostream& out) {
    openMapForWrite(session, id);
    const int number = numberArgument("block", block, 0, session.romState().tilesets().lastBlock());
    blocks::BlockData data;
    inEnglish(id, [&] {
        data = blocks::readBlock(session.rom(), session.romState().tilesets(), number);
    });
    printBlockData(data, out);
}

void saveTileset(Session& session, const std::string& id, int part, int palette,
                 const std::filesystem::path& output, bool jasc, std::ostream& out) {
    openMapForWrite(session, id);
    std::vector<std::string> files;
    inEnglish(id, [&] {
        files = picture_files::exportTileset(session.romState().tilesets(), part, palette,
                                             output, jasc);
    });
    out << "Wrote " << files[0] << " and " << files[1] << '\n';
}

void importTileset(Session& session, const std::string& id, int part, const std::string& file,
                   const std::string& atText, const std::string& fillText, std::ostream& out) {
    std::optional<std::uint32_t> at;
    if (!atText.empty()) {
        at = static_cast<std::uint32_t>(numberArgument("--at", atText, 0, kRomPointerReach - 1));
    }
    const std::uint8_t fill = fillArgument(fillText);
    openMapForWrite(session, id);
    blocks::TileImport plan;
    inEnglish(id, [&] {
        const auto picture = picture_files::readIndexedPicture(file);
        plan = blocks::planTileImport(session.rom(), session.romState().profile(),
                                      session.romState().tilesets(), session.mapState().map(), part,
                                      picture);
    });
    if (plan.notInPlace && !at) {
        throw Error("map " + id + ": " + messageText(*plan.notInPlace) +
                    "; give --at with a free place for " + std::to_string(plan.data.size()) +
                    " bytes (find-free)");
    }
    if (at) {
        checkPlace(session, *at, static_cast<std::uint32_t>(plan.data.size()), 4, kTileAlignment);
    }
    inEnglish(id, [&] {
        blocks::importTiles(session.rom(), plan, at, fill, session.mapState().map().identifier);
    });
    printTileImport(plan, at, out);
}

void importPaletteFile(Session& session, const std::string& id, int part, int palette,
                       const std::string& file, bool fit, std::ostream& out) {
    openMapForWrite(session, id);
    std::size_t count = 0;
    inEnglish(id, [&] {
        const auto colours = picture_files::readPaletteColours(file);
        count = colours.size();
        try {
            blocks::importPalette(session.rom(), session.romState().tilesets(),
                                  session.mapState().map(), part, palette, colours,
                                  fit ? blocks::ColourCount::Fit : blocks::ColourCount::Refuse,
                                  session.mapState().map().identifier);
        } catch (const Error& e) {
            // Another count than 16 colours: the tool has an option that takes it.
            if (e.message().id == "import.colour_count") {
                throw Error(errorText(e) + " (--fit takes it anyway)");
            }
            throw;
        }
    });
    out << "Wrote " << std::min<std::size_t>(count, 16) << " colours into palette " << palette
        << " of tileset part " << part << '\n';
}

}  // namespace quillon::cli
