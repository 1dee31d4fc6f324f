#include "core/writers/wild_save.h"

#include <algorithm>
#include <cctype>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/state/map_state.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon::wild {

namespace {

constexpr std::int32_t kMaxByte = 255;
constexpr int kLowestLevel = 1;
constexpr int kHighestLevel = 100;

std::string trimmed(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isspace(c) != 0; });
    const auto last = std::find_if_not(text.rbegin(), text.rend(), [](unsigned char c) {
                          return std::isspace(c) != 0;
                      }).base();
    return first < last ? std::string(first, last) : std::string();
}

// A number 0-255 typed into field; outside it, outOfRange ("wild.not_a_byte") says why.
std::uint8_t byteField(const Message& field, const std::string& text, const char* outOfRange) {
    const std::string t = trimmed(text);
    const auto value = TryStrToInt(t);
    if (!value) {
        throw Error(message("wild.not_a_number", {field, t}));
    }
    if (*value < 0 || *value > kMaxByte) {
        throw Error(message(outOfRange, {field, t}));
    }
    return static_cast<std::uint8_t>(*value);
}

// Rows count from 1 as the window labels them.
std::string rowNumber(std::size_t row) { return std::to_string(row + 1); }

// The open map has a place in the ROM, and a kind that can be saved was read for it.
void requireOpenMap(const MapState& map, const Encounter& shown) {
    if (!map.loaded()) {
        throw Error(message("edit.no_map"));
    }
    const CurrentMap& current = map.map();
    if (current.outsideRom) {
        throw Error(message("wild.map_from_file", {current.title}));
    }
    if (shown.available && (shown.bank != current.bank || shown.map != current.map)) {
        throw Error(message(
            "wild.other_map",
            {std::to_string(shown.bank) + "." + std::to_string(shown.map), current.identifier}));
    }
}

void requireSameSlots(TRom& rom, const Encounter& shown) {
    if (!shown.available) {
        throw Error(message("wild.no_slots", {kindName(shown.kind)}));
    }
    if (shown.record + kRecordSize > rom.size() ||
        rom.ReadU32(static_cast<std::int32_t>(shown.record + 4)) !=
            encodeRomPointer(shown.slotArray)) {
        throw Error(message("wild.slots_moved", {kindName(shown.kind)}));
    }
}

}  // namespace

Values parseInput(const Input& input, Kind kind) {
    const auto count = static_cast<std::size_t>(slotCount(kind));
    if (input.levels.size() != count || input.species.size() != count) {
        throw Error(message("wild.row_count", {kindName(kind), std::to_string(count),
                                               std::to_string(input.levels.size())}));
    }
    Values values;
    values.rate = byteField(message("wild.field.rate"), input.rate, "wild.rate_not_a_byte");
    for (std::size_t row = 0; row < count; ++row) {
        const std::string n = rowNumber(row);
        values.entries.push_back({byteField(message("wild.field.min_level", {n}),
                                            input.levels[row][0], "wild.not_a_byte"),
                                  byteField(message("wild.field.max_level", {n}),
                                            input.levels[row][1], "wild.not_a_byte"),
                                  input.species[row]});
    }
    return values;
}

std::vector<Message> unusualLevels(const std::vector<Slot>& entries) {
    std::vector<Message> lines;
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const Slot& s = entries[row];
        const auto outside = [](int level) {
            return level < kLowestLevel || level > kHighestLevel;
        };
        const bool range = outside(s.minLevel) || outside(s.maxLevel);
        const bool order = s.minLevel > s.maxLevel;
        if (!range && !order) {
            continue;
        }
        const char* why = range && order ? "wild.why.both"
                                         : (range ? "wild.why.outside" : "wild.why.min_above_max");
        lines.push_back(message("wild.unusual_row", {rowNumber(row), std::to_string(s.minLevel),
                                                     std::to_string(s.maxLevel), message(why)}));
    }
    return lines;
}

void save(TRom& rom, const MapState& map, const Encounter& shown, const Values& values,
          UnusualLevels unusual) {
    map.romState().requireTable(tables::Table::Wild);
    requireOpenMap(map, shown);
    requireSameSlots(rom, shown);
    if (values.entries.size() != static_cast<std::size_t>(slotCount(shown.kind)) ||
        values.rate > static_cast<std::uint32_t>(kMaxByte)) {
        throw Error(message("wild.values_mismatch", {kindName(shown.kind)}));
    }
    const std::vector<Message> odd = unusualLevels(values.entries);
    if (!odd.empty() && unusual == UnusualLevels::Refuse) {
        // The rows in one sentence: "a; b; c", the last row innermost.
        Message list = odd.back();
        for (auto line = odd.rbegin() + 1; line != odd.rend(); ++line) {
            list = message("wild.list", {*line, list});
        }
        throw Error(message("wild.unusual_refused", {list}));
    }
    std::array<std::uint8_t, 4> rate{};
    writeLe32(rate.data(), values.rate);
    std::vector<std::uint8_t> slots;
    for (const Slot& s : values.entries) {
        slots.insert(slots.end(), {s.minLevel, s.maxLevel, static_cast<std::uint8_t>(s.species),
                                   static_cast<std::uint8_t>(s.species >> 8)});
    }
    const std::string& id = map.map().identifier;
    TRom::Transaction tx(rom, message("history.name.wild", {id}), id);
    rom.WriteBlock(rate, static_cast<std::int32_t>(shown.record));
    rom.WriteBlock(slots, static_cast<std::int32_t>(shown.slotArray));
    tx.commit();
    rom.Close();
}

}  // namespace quillon::wild
