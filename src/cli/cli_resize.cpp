#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_data_move.h"
#include "cli/cli_messages.h"
#include "core/writers/map_resize.h"
#include "core/errors.h"
#include "core/map/block_grid.h"
#include "core/rom/rom_pointer.h"
#include "core/session/session.h"

namespace quillon::cli {

void resizeMap(Session& session, const std::string& id, const std::string& widthText,
               const std::string& heightText, const std::string& offsetText, std::ostream& out,
               const std::string& fillText) {
    const int width = numberArgument("WIDTH", widthText, 1, BlockGrid::kMaxCells);
    const int height = numberArgument("HEIGHT", heightText, 1, BlockGrid::kMaxCells);
    if (width * height > BlockGrid::kMaxCells) {
        throw Error(std::to_string(width) + " x " + std::to_string(height) + " is " +
                    std::to_string(width * height) + " blocks; at most " +
                    std::to_string(BlockGrid::kMaxCells) + " are supported");
    }
    const auto offset =
        static_cast<std::uint32_t>(numberArgument("--at", offsetText, 0, kRomPointerReach - 1));
    const std::uint8_t fill = fillArgument(fillText);
    openMapForWrite(session, id);
    if (!session.mapState().map().hasFooter()) {
        throw Error("map " + id + " has no footer of its own; its size cannot change");
    }
    checkPlace(session, offset, resizeSpace(width, height), 2,
               "the grid starts 8 bytes behind it and needs an even address");
    const std::uint32_t grid = quillon::resizeMap(session.rom(), session.romState().profile(),
                                                  session.mapState(), width, height, offset, fill);
    nlohmann::ordered_json j;
    j["width"] = width;
    j["height"] = height;
    j["offset"] = offset;
    j["bytes"] = resizeSpace(width, height);
    j["grid_offset"] = grid;
    j["footer_offset"] = session.mapState().map().footerOffset;
    out << j.dump(2) << '\n';
}

}  // namespace quillon::cli
