#include "cli/cli_paint.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <ostream>
#include <regex>
#include <set>
#include <utility>

#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/session/map_saving.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

int cellNumber(const std::string& cell, const std::string& text) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw Error(message("paint.not_number", {cell, text}));
    }
    return *value;
}

void checkCell(const PaintCell& cell, const BlockGrid& grid, int lastBlock) {
    if (!grid.contains(cell.x, cell.y)) {
        throw Error(message("paint.outside",
                            {cell.text, std::to_string(grid.width), std::to_string(grid.height)}));
    }
    if (cell.block < 0 || cell.block > lastBlock) {
        throw Error(message("paint.block_range", {cell.text, "$" + IntToHex(lastBlock, 3)}));
    }
    if (cell.movement && (*cell.movement < 0 || *cell.movement > GridEntry::kMaxMovement)) {
        throw Error(message("paint.movement_range", {cell.text}));
    }
}

}  // namespace

std::vector<PaintCell> parsePaintCells(const std::vector<std::string>& cells) {
    // Each number as the tool reads numbers elsewhere: decimal, $hex or 0x hex, with a sign.
    static const std::regex kCell(R"(^([^,=:]+),([^,=:]+)=([^,=:]+)(?::([^,=:]+))?$)");
    std::vector<PaintCell> parsed;
    std::set<std::pair<int, int>> seen;
    for (const std::string& text : cells) {
        std::smatch m;
        if (!std::regex_match(text, m, kCell)) {
            throw Error(message("paint.cell_syntax", {text}));
        }
        PaintCell cell{text, cellNumber(text, m[1]), cellNumber(text, m[2]), cellNumber(text, m[3]),
                       std::nullopt};
        if (m[4].matched) {
            cell.movement = cellNumber(text, m[4]);
        }
        if (!seen.insert({cell.x, cell.y}).second) {
            throw Error(message("paint.twice", {text}));
        }
        parsed.push_back(std::move(cell));
    }
    return parsed;
}

void paintMap(Session& session, const std::string& id, const std::vector<std::string>& cells,
              std::ostream& out) {
    const std::vector<PaintCell> parsed = parsePaintCells(cells);
    openMapForWrite(session, id);
    MapState& map = session.mapState();
    // The palette may show one block more than a grid entry holds (1024 blocks): the brush
    // would keep its old block for it, so it is refused here.
    const int lastBlock =
        std::min(session.romState().tilesets().lastBlock(), int{GridEntry::kMaxBlock});
    for (const PaintCell& cell : parsed) {
        checkCell(cell, map.grid(), lastBlock);
    }
    // The cells go in through the map's editor, one stroke as a drag paints them.
    MapEditor& editor = map.editor();
    int changed = 0;
    editor.beginStroke();
    for (const PaintCell& cell : parsed) {
        const GridEntry before = map.grid().at(cell.x, cell.y);
        editor.selectBlock(cell.block);
        editor.paint(cell.x, cell.y);
        if (cell.movement) {
            editor.selectMovement(*cell.movement);
            editor.paintMovement(cell.x, cell.y);
        }
        changed += map.grid().at(cell.x, cell.y) == before ? 0 : 1;
    }
    editor.endStroke();
    const std::string count = std::to_string(parsed.size());
    saveOpenMap(session.rom(), map, message("history.name.paint", {count, id}));
    nlohmann::ordered_json json;
    json["cells"] = parsed.size();
    json["changed"] = changed;
    json["grid_offset"] = map.map().gridOffset;
    out << json.dump(2) << '\n';
}

}  // namespace quillon::cli
