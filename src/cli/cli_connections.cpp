#include "cli/cli_connections.h"

#include <cctype>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <regex>

#include "cli/cli_messages.h"
#include "core/connections/way_back.h"
#include "core/errors.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

constexpr const char* kDirections[] = {"none", "down", "up", "left", "right", "dive", "emerge"};

std::string directionName(std::uint32_t d) {
    return d < std::size(kDirections) ? kDirections[d] : "direction " + std::to_string(d);
}

std::string mapId(int bank, int map) { return std::to_string(bank) + "." + std::to_string(map); }

std::string signedOffset(std::int32_t offset) {
    return (offset >= 0 ? "+" : "") + std::to_string(offset);
}

// The header of a "bank.map" id; nullopt for a section of the map name file, which opens a
// map by its footer alone.
std::optional<std::uint32_t> headerOf(Session& session, const std::string& id) {
    static const std::regex kBankMap(R"(^(\d{1,3})\.(\d{1,3})$)");
    std::smatch m;
    if (!std::regex_match(id, m, kBankMap)) {
        return std::nullopt;
    }
    return listedHeader(session.romState().bankScan(), std::stoi(m[1].str()),
                        std::stoi(m[2].str()));
}

std::string line(const MissingWayBack& m) {
    const std::string from = mapId(m.bank, m.map);
    if (!m.connection) {
        return from + ": connections unreadable: " + messageText(m.detail);
    }
    const Connection& c = *m.connection;
    const std::string to = mapId(c.bank, c.map);
    const std::string what = m.why == WayBack::NoNeighbour  ? "no such map"
                             : m.why == WayBack::Unreadable ? "connections of " + to + " unreadable"
                                                            : "no way back";
    return from + " " + directionName(c.direction) + " " + signedOffset(c.offset) + " -> " + to +
           ": " + what;
}

}  // namespace

std::optional<std::uint32_t> directionOf(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (std::uint32_t d = 0; d < std::size(kDirections); ++d) {
        if (lower == kDirections[d] || lower == std::to_string(d)) {
            return d;
        }
    }
    return std::nullopt;
}

void printConnections(Session& session, const std::string& id, std::ostream& out) {
    checkMapId(session, id);
    const auto header = headerOf(session, id);
    ConnectionTable table;
    try {
        if (header) {
            table = readConnectionsAt(session.rom(), *header);
        }
    } catch (const Error& e) {
        throw Error("map " + id + ": " + errorText(e));
    }
    if (!table.exists()) {
        out << "null\n";
        return;
    }
    const auto at = id.find('.');
    const int bank = std::stoi(id.substr(0, at)), map = std::stoi(id.substr(at + 1));
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Connection& c : table.records) {
        const WayBack w = wayBackOf(session.rom(), session.romState().bankScan(), bank, map, c);
        list.push_back({{"direction", c.direction},
                        {"offset", c.offset},
                        {"bank", c.bank},
                        {"map", c.map},
                        {"filler", c.filler},
                        {"reverse", w == WayBack::Present || w == WayBack::NotNeeded}});
    }
    out << list.dump(2) << '\n';
}

std::size_t checkConnections(Session& session, std::ostream& out) {
    const auto missing = checkAllConnections(session.rom(), session.romState().bankScan());
    for (const MissingWayBack& m : missing) {
        out << line(m) << '\n';
    }
    return missing.size();
}

}  // namespace quillon::cli
