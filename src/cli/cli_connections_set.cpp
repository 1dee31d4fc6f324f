// `connections ROM ID --add | --remove | --way-back | --json`: the connections window's save
// for scripts.
#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <regex>

#include "cli/cli_connections.h"
#include "cli/cli_json_file.h"
#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/connections/way_back.h"
#include "core/errors.h"
#include "core/rom/rom_pointer.h"
#include "core/session/session.h"
#include "core/writers/connection_save.h"

namespace quillon::cli {

namespace {

std::string mapId(int bank, int map) { return std::to_string(bank) + "." + std::to_string(map); }

// A map a new connection leads to: "BANK.MAP", listed in the bank table.
std::pair<int, int> targetMap(Session& session, const std::string& text) {
    static const std::regex kBankMap(R"(^(\d{1,3})\.(\d{1,3})$)");
    std::smatch m;
    if (!std::regex_match(text, m, kBankMap) || std::stoi(m[1].str()) > 255 ||
        std::stoi(m[2].str()) > 255) {
        throw Error(message("connection.cli.target", {text}));
    }
    const int bank = std::stoi(m[1].str());
    const int map = std::stoi(m[2].str());
    if (!listedHeader(session.romState().bankScan(), bank, map)) {
        throw Error(message("connection.no_map", {mapId(bank, map)}));
    }
    return {bank, map};
}

// A direction a new connection takes: one that leads somewhere.
std::uint32_t newDirection(const std::string& text) {
    const auto d = directionOf(text);
    if (!d || *d == 0) {
        throw Error(message("connection.cli.direction", {text}));
    }
    return *d;
}

std::int32_t offsetValue(const std::string& text) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw Error(message("connection.cli.offset", {text}));
    }
    return *value;
}

// Connection text (counted from 0) of list, as a 1-based number of the list.
std::size_t connectionNumber(const ConnectionList& list, const std::string& text) {
    const auto value = TryStrToInt(text);
    if (!value || *value < 0 || static_cast<std::size_t>(*value) >= list.count()) {
        throw Error(message("connection.cli.no_such", {text, std::to_string(list.count())}));
    }
    return static_cast<std::size_t>(*value) + 1;
}

// Connection n of list takes c, through the window's fields.
void setRecord(ConnectionList& list, std::size_t n, const Connection& c) {
    list.setDirection(n, c.direction);
    list.setOffsetText(n, std::to_string(c.offset));
    list.setBankText(n, std::to_string(c.bank));
    list.setMapText(n, std::to_string(c.map));
    list.setFillerText(n, std::to_string(c.filler));
}

void add(Session& session, ConnectionList& list, const std::string& text) {
    const auto first = text.find(',');
    const auto second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos || text.find(',', second + 1) != std::string::npos) {
        throw Error(message("connection.cli.expected_add", {text}));
    }
    Connection c;
    c.direction = newDirection(text.substr(0, first));
    c.offset = offsetValue(text.substr(first + 1, second - first - 1));
    const auto [bank, map] = targetMap(session, text.substr(second + 1));
    c.bank = static_cast<std::uint8_t>(bank);
    c.map = static_cast<std::uint8_t>(map);
    list.add();
    setRecord(list, list.count(), c);
}

int jsonInt(const std::string& file, const std::string& where, const nlohmann::json& j,
            const char* key, int min, int max) {
    if (!j.contains(key)) {
        return 0;
    }
    const nlohmann::json& v = j[key];
    if (!v.is_number_integer() || v.get<std::int64_t>() < min || v.get<std::int64_t>() > max) {
        throw Error(
            message("connection.cli.json_value",
                    {file, where, key, v.dump(), std::to_string(min), std::to_string(max)}));
    }
    return static_cast<int>(v.get<std::int64_t>());
}

// A record of the file. One the map holds already is taken as it is; a new one must lead
// somewhere, to a listed map.
Connection jsonRecord(Session& session, const std::string& file, std::size_t i,
                      const nlohmann::json& j, const std::vector<Connection>& old) {
    const std::string where = std::to_string(i);
    if (!j.is_object() || !j.contains("direction") || !j.contains("offset") ||
        !j.contains("bank") || !j.contains("map")) {
        throw Error(message("connection.cli.json_record", {file, where}));
    }
    for (const auto& [key, value] : j.items()) {
        static const char* const kKeys[] = {"direction", "offset", "bank",
                                            "map",       "filler", "reverse"};
        if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
            throw Error(message("connection.cli.json_key", {file, where, key}));
        }
    }
    const nlohmann::json& d = j["direction"];
    const std::string directionText = d.is_string() ? d.get<std::string>() : d.dump();
    const auto known = directionOf(directionText);
    if (!known && (!d.is_number_unsigned() || d.get<std::uint64_t>() > UINT32_MAX)) {
        throw Error(message("connection.cli.direction", {directionText}));
    }
    Connection c;
    c.direction = known ? *known : d.get<std::uint32_t>();
    c.offset = jsonInt(file, where, j, "offset", INT32_MIN, INT32_MAX);
    c.bank = static_cast<std::uint8_t>(jsonInt(file, where, j, "bank", 0, 255));
    c.map = static_cast<std::uint8_t>(jsonInt(file, where, j, "map", 0, 255));
    c.filler = static_cast<std::uint16_t>(jsonInt(file, where, j, "filler", 0, 0xFFFF));
    if (std::find(old.begin(), old.end(), c) != old.end()) {
        return c;  // as the map holds it, also a direction the window does not name
    }
    newDirection(directionText);
    targetMap(session, mapId(c.bank, c.map));
    return c;
}

// The list of the file in place of the map's; false for null on a map without a table, which
// leaves nothing to write.
bool applyJson(Session& session, ConnectionList& list, const std::string& file) {
    const nlohmann::json j = readJsonFile(file);
    if (j.is_null()) {
        if (list.hasTable()) {
            throw Error(message("connection.cli.json_null", {file}));
        }
        return false;
    }
    if (!j.is_array()) {
        throw Error(message("connection.cli.json_not_list", {file}));
    }
    const std::vector<Connection> old = list.records();
    std::vector<Connection> records;
    for (std::size_t i = 0; i < j.size(); ++i) {
        records.push_back(jsonRecord(session, file, i, j[i], old));
    }
    list.requireSavable();  // a table longer than the list would lose its other records
    while (list.count() > 0) {
        list.remove(list.count());
    }
    for (const Connection& c : records) {
        list.add();
        setRecord(list, list.count(), c);
    }
    return true;
}

nlohmann::ordered_json placesJson(const ConnectionList& list, const SavedTable& saved) {
    return {{"count", list.count()}, {"records", saved.records}, {"header", saved.header}};
}

// The way back of connection text: this map's table stays where it is, the neighbour's goes
// to at.
void wayBack(Session& session, ConnectionList& list, const ConnectionTable& old,
             const std::string& text, std::optional<std::uint32_t> at, std::uint8_t fill,
             std::ostream& out) {
    const std::size_t n = connectionNumber(list, text);
    const Connection& c = list.at(n);
    const CurrentMap& current = session.mapState().map();
    if (!leadsSomewhere(c)) {
        throw Error(message("connection.leads_nowhere", {text, std::to_string(c.direction)}));
    }
    if (c.bank == current.bank && c.map == current.map) {
        throw Error(message("connection.to_itself", {text}));
    }
    const CounterpartPlan plan =
        planCounterpart(session.rom(), session.romState().bankScan(), session.mapState(), list, n);
    if (!at) {
        throw Error(message("connection.cli.way_back_at",
                            {mapId(plan.bank, plan.map), std::to_string(plan.space())}));
    }
    const SavedTable saved = saveWithCounterpart(session.rom(), session.mapState(), list,
                                                 old.recordsOffset, plan, *at, fill);
    nlohmann::ordered_json j = placesJson(list, saved);
    j["neighbour"] = mapId(plan.bank, plan.map);
    j["neighbour_count"] = plan.records.size();
    j["neighbour_records"] = *at;
    j["neighbour_header"] = *at + plan.records.size() * Connection::kSize;
    out << j.dump(2) << '\n';
}

// Where the table goes: at, else where it is; without --at a place that does not fit says so.
std::uint32_t tablePlace(Session& session, const ConnectionList& list, const ConnectionTable& old,
                         std::optional<std::uint32_t> at, std::uint8_t fill) {
    if (at) {
        return *at;
    }
    const std::string bytes = std::to_string(connectionSpace(list.count()));
    if (!old.exists()) {
        throw Error(
            message("connection.cli.at_needed", {session.mapState().map().identifier, bytes}));
    }
    // A table without records is its header alone.
    const std::uint32_t here = old.records.empty() ? old.headerOffset : old.recordsOffset;
    try {
        checkConnectionPlace(session.rom(), session.mapState(), list, here, fill);
    } catch (const Error& e) {
        throw Error(message("connection.cli.no_room", {e.message(), bytes}));
    }
    return here;
}

std::size_t editCount(const ConnectionEdit& e) {
    return std::size_t{!e.add.empty()} + std::size_t{!e.remove.empty()} +
           std::size_t{!e.wayBack.empty()} + std::size_t{!e.jsonFile.empty()};
}

}  // namespace

void editConnections(Session& session, const std::string& id, const ConnectionEdit& edit,
                     std::ostream& out) {
    if (editCount(edit) != 1) {
        throw Error(message("connection.cli.one_edit"));
    }
    const std::uint8_t fill = fillArgument(edit.fill);
    std::optional<std::uint32_t> at;
    if (!edit.at.empty()) {
        at = static_cast<std::uint32_t>(numberArgument("--at", edit.at, 0, kRomPointerReach - 1));
    }
    openMapForWrite(session, id);
    MapState& state = session.mapState();
    if (!state.map().hasHeader()) {
        throw Error(message("connection.no_header", {id}));
    }
    ConnectionList list = loadConnections(session.rom(), state);
    const ConnectionTable old = readConnectionsAt(session.rom(), state.map().headerOffset);
    if (!edit.wayBack.empty()) {
        wayBack(session, list, old, edit.wayBack, at, fill, out);
        return;
    }
    if (!edit.add.empty()) {
        add(session, list, edit.add);
    } else if (!edit.remove.empty()) {
        list.remove(connectionNumber(list, edit.remove));
    } else if (!applyJson(session, list, edit.jsonFile)) {
        out << "null\n";
        return;
    }
    const std::uint32_t offset = tablePlace(session, list, old, at, fill);
    const SavedTable saved = saveConnections(session.rom(), state, list, offset, fill);
    out << placesJson(list, saved).dump(2) << '\n';
}

}  // namespace quillon::cli
