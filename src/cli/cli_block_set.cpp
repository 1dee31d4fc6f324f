#include "cli/cli_block_set.h"

#include <limits>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/blocks/block_edit.h"
#include "core/errors.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

constexpr int kEntries = 8;
constexpr int kMaxPalette = 15;

int number(const std::string& what, const std::string& text, int min, int max) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw Error(message("block.not_number", {what, text}));
    }
    if (*value < min || *value > max) {
        throw Error(
            message("block.value_range", {what, text, std::to_string(min), std::to_string(max)}));
    }
    return *value;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(separator, start)) != std::string::npos;) {
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// "26:2", "26:2:x", "$1A:2:xy"; "-" keeps the block's own entry.
std::optional<TileEntry> tileEntry(const std::string& text) {
    if (text == "-") {
        return std::nullopt;
    }
    const std::vector<std::string> parts = split(text, ':');
    const std::string flips = parts.size() == 3 ? parts[2] : "";
    if (parts.size() < 2 || parts.size() > 3 ||
        (parts.size() == 3 && flips != "x" && flips != "y" && flips != "xy")) {
        throw Error(message("block.tile_syntax", {text}));
    }
    const int tile = number("tile", parts[0], 0, TileEntry::kTileMask);
    const int palette = number("palette", parts[1], 0, kMaxPalette);
    return TileEntry::make(tile, flips.find('x') != std::string::npos,
                           flips.find('y') != std::string::npos, palette);
}

// One object of the "entries" list "block" prints.
TileEntry jsonEntry(const nlohmann::json& entry, int index) {
    const auto has = [&](const char* key, bool flag) {
        return entry.contains(key) && (flag ? entry[key].is_boolean() : entry[key].is_number());
    };
    if (!entry.is_object() || !has("tile", false) || !has("palette", false) ||
        !has("xflip", true) || !has("yflip", true)) {
        throw Error(message("block.tile_json_entry", {std::to_string(index)}));
    }
    const int tile = number("tile", entry["tile"].dump(), 0, TileEntry::kTileMask);
    const int palette = number("palette", entry["palette"].dump(), 0, kMaxPalette);
    return TileEntry::make(tile, entry["xflip"].get<bool>(), entry["yflip"].get<bool>(), palette);
}

std::array<std::optional<TileEntry>, kEntries> tileEntries(const std::string& text) {
    std::array<std::optional<TileEntry>, kEntries> entries;
    if (text.find_first_not_of(" \t\n") != std::string::npos &&
        text[text.find_first_not_of(" \t\n")] == '[') {
        const nlohmann::json list = nlohmann::json::parse(text, nullptr, false);
        if (!list.is_array()) {
            throw Error(message("block.tiles_json"));
        }
        if (list.size() != kEntries) {
            throw Error(message("block.tile_count", {std::to_string(list.size())}));
        }
        for (int e = 0; e < kEntries; ++e) {
            entries[static_cast<std::size_t>(e)] = jsonEntry(list[static_cast<std::size_t>(e)], e);
        }
        return entries;
    }
    const std::vector<std::string> parts = split(text, ',');
    if (parts.size() != kEntries) {
        throw Error(message("block.tile_count", {std::to_string(parts.size())}));
    }
    for (int e = 0; e < kEntries; ++e) {
        entries[static_cast<std::size_t>(e)] = tileEntry(parts[static_cast<std::size_t>(e)]);
    }
    return entries;
}

void setField(BlockSettings& s, const std::string& field, const std::string& value) {
    const auto once = [&](bool given) {
        if (given) {
            throw Error(message("block.set_twice", {field}));
        }
    };
    if (field == "tiles") {
        once(s.tiles.has_value());
        s.tiles = tileEntries(value);
    } else if (field == "behaviour" || field == "background") {
        std::optional<std::string>& target = field == "behaviour" ? s.behaviour : s.background;
        once(target.has_value());
        // The game's range is checked once the ROM is open; here only that it is a number.
        number(field, value, 0, std::numeric_limits<std::int32_t>::max());
        target = value;
    } else {
        throw Error(message("block.set_field", {field}));
    }
}

// The typed value within the game's range (0 to max), as a hex field of the block editor;
// the block's own value when none was typed.
std::string attributeField(const char* field, const std::optional<std::string>& typed, int max,
                           int own) {
    return IntToHex(typed ? number(field, *typed, 0, max) : own, 1);
}

}  // namespace

std::string tilesText(const blocks::BlockData& block) {
    std::string text;
    for (int e = 0; e < kEntries; ++e) {
        const TileEntry entry = block.entry(e);
        text += (e == 0 ? "" : ",") + std::to_string(entry.tile()) + ":" +
                std::to_string(entry.palette());
        if (entry.flipX() || entry.flipY()) {
            text += std::string(":") + (entry.flipX() ? "x" : "") + (entry.flipY() ? "y" : "");
        }
    }
    return text;
}

void printBlockData(const blocks::BlockData& data, std::ostream& out) {
    nlohmann::ordered_json json;
    json["record_offset"] = data.place.record;
    json["entries"] = nlohmann::json::array();
    for (int e = 0; e < kEntries; ++e) {
        const TileEntry entry = data.entry(e);
        json["entries"].push_back({{"tile", entry.tile()},
                                   {"palette", entry.palette()},
                                   {"xflip", entry.flipX()},
                                   {"yflip", entry.flipY()}});
    }
    json["tiles"] = tilesText(data);
    json["attribute_offset"] = data.place.attribute;
    json["behaviour"] = data.values().behaviour;
    json["background"] = data.values().background;
    out << json.dump(2) << '\n';
}

BlockSettings parseBlockSettings(const std::vector<std::string>& settings) {
    // A piece without "=" continues the value before it: the entries of tiles hold commas.
    std::vector<std::pair<std::string, std::string>> fields;
    for (const std::string& setting : settings) {
        for (const std::string& piece : split(setting, ',')) {
            const auto eq = piece.find('=');
            if (eq != std::string::npos) {
                fields.emplace_back(piece.substr(0, eq), piece.substr(eq + 1));
            } else if (!fields.empty() && fields.back().first == "tiles") {
                fields.back().second += "," + piece;
            } else {
                throw Error(message("block.set_syntax", {setting}));
            }
        }
    }
    BlockSettings s;
    for (const auto& [field, value] : fields) {
        setField(s, field, value);
    }
    return s;
}

void setBlock(Session& session, const std::string& id, const std::string& block,
              const std::vector<std::string>& settings, std::ostream& out) {
    const BlockSettings s = parseBlockSettings(settings);
    openMapForWrite(session, id);
    TilesetPair& tilesets = session.romState().tilesets();
    const int blockNumber = number("block", block, 0, tilesets.lastBlock());
    blocks::BlockData data = blocks::readBlock(session.rom(), tilesets, blockNumber);
    const blocks::AttributeLayout layout = blocks::attributeLayout(data.frlg);
    const blocks::BlockAttributes own = data.values();
    const std::string behaviour =
        attributeField("behaviour", s.behaviour, layout.maxBehaviour, own.behaviour);
    const std::string background =
        attributeField("background", s.background, layout.maxBackground, own.background);
    for (int e = 0; s.tiles && e < kEntries; ++e) {
        if (const auto& entry = (*s.tiles)[static_cast<std::size_t>(e)]) {
            data.setEntry(e, *entry);
        }
    }
    blocks::saveBlock(session.rom(), tilesets, session.mapState(),
                      {blockNumber, data.record, behaviour, background});
    printBlockData(blocks::readBlock(session.rom(), tilesets, blockNumber), out);
}

}  // namespace quillon::cli
