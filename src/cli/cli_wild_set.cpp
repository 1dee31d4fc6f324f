// `wild ROM ID --set ... | --json FILE`: the wild tab's save for scripts.
#include <array>
#include <nlohmann/json.hpp>
#include <ostream>
#include <set>

#include "cli/cli_json_file.h"
#include "cli/cli_messages.h"
#include "cli/cli_species.h"
#include "cli/cli_wild.h"
#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/trom.h"
#include "core/session/session.h"
#include "core/writers/wild_save.h"

namespace quillon::cli {

namespace {

constexpr std::array<const char*, 4> kKindKeys{"grass", "water", "rock", "fishing"};
constexpr int kMaxByte = 255;

std::string kindKey(wild::Kind kind) { return kKindKeys[static_cast<std::size_t>(kind)]; }

std::optional<wild::Kind> kindOf(const std::string& key) {
    for (wild::Kind kind : wild::kKinds) {
        if (key == kindKey(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

// The open map's encounters as this call will write them, starting from the ROM's.
struct Plan {
    std::string id;
    const std::vector<std::string>* names = nullptr;  // the species list of the window's boxes
    std::array<wild::Encounter, 4> shown;
    std::array<wild::Values, 4> values;
    std::set<std::string> given;  // "grass.3": each value once
};

// The values of kind, which must have slots: no kind is created, as in the window.
wild::Values& valuesOf(Plan& plan, wild::Kind kind) {
    const auto k = static_cast<std::size_t>(kind);
    if (!plan.shown[k].available) {
        throw Error(message("wild.cli.no_kind", {plan.id, kindKey(kind)}));
    }
    return plan.values[k];
}

int byteValue(const std::string& where, const Message& what, const std::string& text) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw Error(message("wild.cli.not_a_number", {where, what, text}));
    }
    if (*value < 0 || *value > kMaxByte) {
        throw Error(
            message("wild.cli.out_of_range", {where, what, text, std::to_string(kMaxByte)}));
    }
    return *value;
}

// "MIN,MAX,SPECIES" into slot; the species keeps its number when it is given unchanged.
wild::Slot slotValue(const Plan& plan, const std::string& where, const std::string& text,
                     const wild::Slot& old) {
    const auto first = text.find(',');
    const auto second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos) {
        throw Error(message("wild.cli.expected_slot", {where, text}));
    }
    wild::Slot slot;
    slot.minLevel = static_cast<std::uint8_t>(
        byteValue(where, message("wild.cli.field.min"), text.substr(0, first)));
    slot.maxLevel = static_cast<std::uint8_t>(byteValue(
        where, message("wild.cli.field.max"), text.substr(first + 1, second - first - 1)));
    slot.species = speciesArgument(*plan.names, where, text.substr(second + 1), old.species);
    return slot;
}

std::size_t slotIndex(wild::Kind kind, const std::string& where, const std::string& text) {
    const auto count = static_cast<std::size_t>(wild::slotCount(kind));
    const auto value = TryStrToInt(text);
    if (!value || *value < 0 || static_cast<std::size_t>(*value) >= count) {
        throw Error(
            message("wild.cli.no_slot", {where, text, kindKey(kind), std::to_string(count - 1)}));
    }
    return static_cast<std::size_t>(*value);
}

// One "KIND.rate=N" or "KIND.SLOT=MIN,MAX,SPECIES".
void applySet(Plan& plan, const std::string& argument) {
    const auto eq = argument.find('=');
    const auto dot = argument.find('.');
    if (eq == std::string::npos || dot == std::string::npos || dot > eq) {
        throw Error(message("wild.cli.expected_set", {argument}));
    }
    const std::string kindText = argument.substr(0, dot);
    const std::string key = argument.substr(dot + 1, eq - dot - 1);
    const std::string value = argument.substr(eq + 1);
    const auto kind = kindOf(kindText);
    if (!kind) {
        throw Error(message("wild.cli.unknown_kind", {argument, kindText}));
    }
    const std::string where = kindText + "." + key;
    if (!plan.given.insert(where).second) {
        throw Error(message("wild.cli.twice", {where}));
    }
    wild::Values& values = valuesOf(plan, *kind);
    if (key == "rate") {
        values.rate =
            static_cast<std::uint32_t>(byteValue(where, message("wild.field.rate"), value));
        return;
    }
    const std::size_t slot = slotIndex(*kind, where, key);
    values.entries[slot] = slotValue(plan, where, value, values.entries[slot]);
}

// A value of the file as the command line would give it: a whole number or a text.
std::string jsonText(const std::string& file, const std::string& where,
                     const nlohmann::json& value) {
    if (value.is_number_integer()) {
        return std::to_string(value.get<std::int64_t>());
    }
    if (value.is_string()) {
        return value.get<std::string>();
    }
    throw Error(message("wild.cli.json_value", {file, where}));
}

void applyJsonSlot(Plan& plan, const std::string& file, const std::string& where,
                   const nlohmann::json& j, wild::Slot& slot) {
    if (!j.is_object() || !j.contains("min") || !j.contains("max") ||
        (!j.contains("species") && !j.contains("name"))) {
        throw Error(message("wild.cli.json_slot", {file, where}));
    }
    const std::string min = jsonText(file, where + ".min", j["min"]);
    const std::string max = jsonText(file, where + ".max", j["max"]);
    const std::string name = j.contains("name") ? jsonText(file, where + ".name", j["name"]) : "";
    const std::string species =
        j.contains("species") ? jsonText(file, where + ".species", j["species"]) : name;
    slot = slotValue(plan, where, min + "," + max + "," + species, slot);
    requireSpeciesName(*plan.names, where, slot.species, name);
}

void applyJsonKind(Plan& plan, const std::string& file, wild::Kind kind, const nlohmann::json& j) {
    const std::string key = kindKey(kind);
    if (!j.is_object() || !j.contains("rate") || !j.contains("slots") || !j["slots"].is_array()) {
        throw Error(message("wild.cli.json_kind", {file, key}));
    }
    wild::Values& values = valuesOf(plan, kind);
    values.rate = static_cast<std::uint32_t>(byteValue(key + ".rate", message("wild.field.rate"),
                                                       jsonText(file, key + ".rate", j["rate"])));
    const nlohmann::json& slots = j["slots"];
    if (slots.size() != values.entries.size()) {
        throw Error(message(
            "wild.cli.json_slot_count",
            {file, key, std::to_string(values.entries.size()), std::to_string(slots.size())}));
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        applyJsonSlot(plan, file, key + "." + std::to_string(i), slots[i], values.entries[i]);
    }
}

// The file in the printed shape; null (for the whole or a kind) leaves the encounters as they
// are, since nothing removes them.
void applyJson(Plan& plan, const std::string& file) {
    const nlohmann::json j = readJsonFile(file);
    if (j.is_null()) {
        return;
    }
    if (!j.is_object()) {
        throw Error(message("wild.cli.json_not_object", {file}));
    }
    for (const auto& [key, value] : j.items()) {
        const auto kind = kindOf(key);
        if (!kind) {
            throw Error(message("wild.cli.json_key", {file, key}));
        }
        if (!value.is_null()) {
            applyJsonKind(plan, file, *kind, value);
        }
    }
}

bool changed(const Plan& plan, std::size_t k) {
    return plan.shown[k].available && (plan.values[k].rate != plan.shown[k].rate ||
                                       plan.values[k].entries != plan.shown[k].entries);
}

// The window asks before it writes unusual levels; without --force the command refuses them.
void refuseUnusual(const Plan& plan) {
    std::vector<Message> lines;
    for (std::size_t k = 0; k < plan.values.size(); ++k) {
        const std::vector<wild::Slot>& entries = plan.values[k].entries;
        for (std::size_t i = 0; changed(plan, k) && i < entries.size(); ++i) {
            const auto odd = wild::unusualLevels({entries[i]});
            if (!odd.empty()) {
                lines.push_back(message("wild.cli.unusual_slot",
                                        {std::string(kKindKeys[k]) + "." + std::to_string(i),
                                         std::to_string(entries[i].minLevel),
                                         std::to_string(entries[i].maxLevel), odd[0].args.at(3)}));
            }
        }
    }
    if (lines.empty()) {
        return;
    }
    Message list = lines.back();
    for (auto line = lines.rbegin() + 1; line != lines.rend(); ++line) {
        list = message("wild.list", {*line, list});
    }
    throw Error(message("wild.cli.unusual", {list}));
}

// The values of each kind that changes as the wild tab's fields hold them, through its checks.
std::array<std::optional<wild::Values>, 4> parsed(const Plan& plan) {
    std::array<std::optional<wild::Values>, 4> result;
    for (std::size_t k = 0; k < plan.values.size(); ++k) {
        if (!changed(plan, k)) {
            continue;
        }
        wild::Input input{std::to_string(plan.values[k].rate), {}, {}};
        for (const wild::Slot& s : plan.values[k].entries) {
            input.levels.push_back({std::to_string(s.minLevel), std::to_string(s.maxLevel)});
            input.species.push_back(s.species);
        }
        result[k] = wild::parseInput(input, wild::kKinds[k]);
    }
    return result;
}

}  // namespace

void setWild(Session& session, const std::string& id, const WildEdit& edit, std::ostream& out,
             std::ostream& err) {
    const std::optional<wild::Header> header = openWildHeader(session, id, err);
    if (!header) {
        throw Error(message("wild.cli.no_entry", {id}));
    }
    Plan plan{id, &session.romState().pokemonNames(), {}, {}, {}};
    for (wild::Kind kind : wild::kKinds) {
        const auto k = static_cast<std::size_t>(kind);
        plan.shown[k] = wild::readEncounter(session.rom(), *header, kind);
        plan.values[k] = {plan.shown[k].rate, plan.shown[k].entries};
    }
    if (!edit.jsonFile.empty()) {
        applyJson(plan, edit.jsonFile);
    }
    for (const std::string& argument : edit.sets) {
        applySet(plan, argument);
    }
    if (!edit.force) {
        refuseUnusual(plan);
    }
    const auto values = parsed(plan);
    // Every kind of one call is one step of the ROM's history.
    MapState& map = session.mapState();
    const std::string& title = map.map().identifier;
    TRom::Transaction tx(session.rom(), message("history.name.wild", {title}), title);
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (values[k]) {
            wild::save(session.rom(), map, plan.shown[k], *values[k], wild::UnusualLevels::Accept);
        }
    }
    tx.commit();
    printEncounters(session, header, out, err);
}

}  // namespace quillon::cli
