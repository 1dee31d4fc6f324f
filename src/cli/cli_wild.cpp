#include "cli/cli_wild.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_messages.h"
#include "core/errors.h"
#include "core/session/session.h"
#include "core/wild/wild_table.h"

namespace quillon::cli {

namespace {

constexpr const char* kJsonNames[] = {"grass", "water", "rock", "fishing"};

nlohmann::ordered_json kindJson(const wild::Encounter& e, const std::vector<std::string>& names) {
    if (!e.available) {
        return nullptr;
    }
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const wild::Slot& s : e.entries) {
        // Entry 0 of the list is the box's "please choose", not a species name.
        const bool named = s.species > 0 && s.species < names.size();
        list.push_back({{"min", s.minLevel},
                        {"max", s.maxLevel},
                        {"species", s.species},
                        {"name", named ? names[s.species] : ""}});
    }
    return {{"rate", e.rate}, {"slots", list}};
}

}  // namespace

std::optional<wild::Header> openWildHeader(Session& session, const std::string& id,
                                           std::ostream& err) {
    session.romState().requireTable(tables::Table::Wild);
    const auto table = static_cast<std::uint32_t>(session.romState().profile().wildPokemon);
    if (table == 0) {
        throw Error("the game profile names no wild encounter table (WildePokemon)");
    }
    openMapForWrite(session, id);
    const CurrentMap& map = session.mapState().map();
    wild::Lookup found = wild::findHeader(session.rom(), table, map.bank, map.map);
    for (const Message& warning : found.warnings) {
        err << "quillon-cli: warning: " << messageText(warning) << '\n';
    }
    return found.header;
}

void printWild(Session& session, const std::string& id, std::ostream& out, std::ostream& err) {
    printEncounters(session, openWildHeader(session, id, err), out, err);
}

void printEncounters(Session& session, const std::optional<wild::Header>& header,
                     std::ostream& out, std::ostream& err) {
    if (!header) {
        out << "null\n";
        return;
    }
    nlohmann::ordered_json j;
    for (wild::Kind kind : wild::kKinds) {
        const wild::Encounter e = wild::readEncounter(session.rom(), *header, kind);
        if (e.message.hasId()) {
            err << "quillon-cli: warning: " << messageText(e.message) << '\n';
        }
        j[kJsonNames[static_cast<int>(kind)]] = kindJson(e, session.romState().pokemonNames());
    }
    out << j.dump(2) << '\n';
}

}  // namespace quillon::cli
