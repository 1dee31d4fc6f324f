#include "cli/cli_blocks.h"

#include <QString>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_messages.h"
#include "core/blocks/block_edit.h"
#include "core/errors.h"
#include "core/session.h"
#include "imageio/tileset_export.h"

namespace quillon::cli {

namespace {

// Core messages in English, naming the map.
template <class Run>
void inEnglish(const std::string& id, Run run) {
    try {
        run();
    } catch (const Error& e) {
        throw Error("map " + id + ": " + englishMessage(e.what()));
    }
}

}  // namespace

void printBlock(Session& session, const std::string& id, const std::string& block,
                std::ostream& out) {
    openMapForWrite(session, id);
    const int number = numberArgument("block", block, 0, session.tilesets().lastBlock());
    blocks::BlockData data;
    inEnglish(id, [&] { data = blocks::readBlock(session.rom(), session.tilesets(), number); });
    nlohmann::ordered_json json;
    json["record_offset"] = data.place.record;
    json["entries"] = nlohmann::json::array();
    for (int e = 0; e < 8; ++e) {
        const TileEntry entry = data.entry(e);
        json["entries"].push_back({{"tile", entry.tile()},
                                   {"palette", entry.palette()},
                                   {"xflip", entry.flipX()},
                                   {"yflip", entry.flipY()}});
    }
    json["attribute_offset"] = data.place.attribute;
    json["behaviour"] = data.values().behaviour;
    json["background"] = data.values().background;
    out << json.dump(2) << '\n';
}

void saveTileset(Session& session, const std::string& id, int part, int palette,
                 const std::filesystem::path& output, bool jasc, std::ostream& out) {
    openMapForWrite(session, id);
    imageio::TilesetFiles files;
    inEnglish(id, [&] {
        files = imageio::exportTileset(session.tilesets(), part, palette,
                                       QString::fromStdString(output.string()), jasc);
    });
    out << "Wrote " << files.picture.toStdString() << " and " << files.palette.toStdString()
        << '\n';
}

}  // namespace quillon::cli
