#include "cli/cli_header.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/writers/map_attributes.h"
#include "core/writers/map_name_writer.h"
#include "core/writers/tileset_choice.h"
#include "core/errors.h"
#include "core/rom/rom_pointer.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

void openMapWithHeader(Session& session, const std::string& id) {
    openMapForWrite(session, id);
    if (!session.mapState().map().hasHeader()) {
        throw Error("map " + id + " has no map header (it was found through the map name file)");
    }
}

struct HeaderSettings {
    std::optional<int> music, weather, type, nameIndex, showName;
    // As typed: a number of the tileset table or a header's offset ("$3DFC7C").
    std::optional<std::string> tileset1, tileset2;
};

void parseSetting(HeaderSettings& s, const std::string& setting) {
    const auto eq = setting.find('=');
    if (eq == std::string::npos) {
        throw Error("--set " + setting + ": expected KEY=VALUE");
    }
    const std::string key = setting.substr(0, eq);
    const std::string value = setting.substr(eq + 1);
    if (key == "music") {
        s.music = numberArgument(key, value, 0, 0xFFFF);
    } else if (key == "weather") {
        s.weather = numberArgument(key, value, 0, 255);
    } else if (key == "type") {
        s.type = numberArgument(key, value, 0, 255);
    } else if (key == "name_index") {
        s.nameIndex = numberArgument(key, value, 0, 255);
    } else if (key == "show_name") {
        s.showName = numberArgument(key, value, 0, 1);
    } else if (key == "tilesets") {
        const auto comma = value.find(',');
        if (comma == std::string::npos) {
            throw Error("tilesets: expected N1,N2, not \"" + value + "\"");
        }
        s.tileset1 = value.substr(0, comma);
        s.tileset2 = value.substr(comma + 1);
    } else if (key == "tileset1") {
        s.tileset1 = value;
    } else if (key == "tileset2") {
        s.tileset2 = value;
    } else {
        throw Error("--set: unknown key \"" + key +
                    "\" (music, weather, type, name_index, show_name, tilesets, tileset1, "
                    "tileset2)");
    }
}

}  // namespace

void printHeader(Session& session, const std::string& id, std::ostream& out) {
    openMapWithHeader(session, id);
    const CurrentMap& m = session.mapState().map();
    const auto& names = session.romState().mapNames();
    nlohmann::ordered_json j;
    j["music"] = m.header.music();
    j["name_index"] = m.header.nameIndex();
    j["name"] = m.header.nameIndex() < names.size() ? names[m.header.nameIndex()] : "";
    j["weather"] = m.header.weather();
    j["type"] = m.header.type();
    j["show_name"] = m.header.showName(map_attributes::showNameBits(session.rom()));
    j["tileset1"] = m.tileset1;
    j["tileset2"] = m.tileset2;
    // The headers the footer points at: the exact name of a tileset, also of one whose
    // offset is no whole number of the table's steps.
    j["tileset1_header"] = hexOffset(m.footer.tileset1Offset());
    j["tileset2_header"] = hexOffset(m.footer.tileset2Offset());
    j["width"] = session.mapState().grid().width;
    j["height"] = session.mapState().grid().height;
    j["header_offset"] = m.headerOffset;
    j["footer_offset"] = m.footerOffset;
    j["grid_offset"] = m.gridOffset;
    j["events_offset"] = m.eventsOffset;
    j["connections_offset"] = m.header.connectionsOffset();
    out << j.dump(2) << '\n';
}

void setHeader(Session& session, const std::string& id, const std::vector<std::string>& settings) {
    HeaderSettings s;
    for (const std::string& setting : settings) {
        parseSetting(s, setting);
    }
    openMapWithHeader(session, id);
    TRom& rom = session.rom();
    const bool tilesets = s.tileset1 || s.tileset2;
    // A part not given keeps the header the footer points at.
    std::uint32_t header1 = session.mapState().map().footer.tileset1Offset();
    std::uint32_t header2 = session.mapState().map().footer.tileset2Offset();
    if (s.tileset1) {
        header1 = tileset_choice::headerFromText(rom, session.romState().profile(), *s.tileset1, 1,
                                                 &session.romState());
    }
    if (s.tileset2) {
        header2 = tileset_choice::headerFromText(rom, session.romState().profile(), *s.tileset2, 2,
                                                 &session.romState());
    }
    if (s.nameIndex) {
        map_attributes::checkNameIndex(session.romState().profile(), *s.nameIndex);
    }
    // All fields of one call are one step of the ROM's history.
    TRom::Transaction transaction(rom, message("history.name.header", {id}), id);
    MapState& map = session.mapState();
    if (s.music) {
        map_attributes::writeMusic(rom, map, static_cast<std::uint16_t>(*s.music));
    }
    if (s.nameIndex) {
        map_attributes::writeNameIndex(rom, map, session.romState().profile(), *s.nameIndex);
    }
    const std::pair<const std::optional<int>*, HeaderByte> bytes[] = {
        {&s.weather, HeaderByte::Weather},
        {&s.type, HeaderByte::Type}};
    for (const auto& [value, field] : bytes) {
        if (*value) {
            map_attributes::writeByte(rom, map, field, **value);
        }
    }
    if (s.showName) {
        map_attributes::writeShowName(rom, map, *s.showName == 1);
    }
    if (tilesets) {
        tileset_choice::write(rom, session.romState(), map, session.data().tilesets(), header1,
                              header2);
    }
    transaction.commit();
}

void renameMap(Session& session, const std::string& id, const std::string& text,
               const std::string& offset, std::ostream& out, const std::string& fillText) {
    if (session.rom().isFrlg()) {
        throw Error("rename: map names of FireRed and LeafGreen are not edited");
    }
    const auto at =
        static_cast<std::uint32_t>(numberArgument("--at", offset, 0, kRomPointerReach - 1));
    const std::uint8_t fill = fillArgument(fillText);
    const auto encoded = session.romState().chars().encode(text);
    if (!encoded.pending.empty()) {
        throw Error("rename: \"" + encoded.pending + "\" has no code in the character table");
    }
    if (encoded.bytes.size() > map_name_writer::kMaxCodes) {
        throw Error("rename: a map name has at most 18 characters, \"" + text + "\" has " +
                    std::to_string(encoded.bytes.size()));
    }
    openMapWithHeader(session, id);
    const int index = session.mapState().map().header.nameIndex();
    const std::string name =
        map_name_writer::write(session.rom(), session.romState(), index, encoded.bytes, at, fill);
    nlohmann::ordered_json j;
    j["name_index"] = index;
    j["name"] = name;
    j["offset"] = at;
    out << j.dump(2) << '\n';
}

}  // namespace quillon::cli
