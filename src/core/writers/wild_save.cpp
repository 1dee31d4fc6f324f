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

// A number 0-255 typed into field.
std::uint8_t byteField(const std::string& field, const std::string& text, const char* why) {
    const std::string t = trimmed(text);
    const auto value = TryStrToInt(t);
    if (!value) {
        throw Error(field + ": \"" + t + "\" ist keine Zahl (dezimal, oder hexadezimal nach $).");
    }
    if (*value < 0 || *value > kMaxByte) {
        throw Error(field + ": " + t + " liegt nicht zwischen 0 und 255" + why + ".");
    }
    return static_cast<std::uint8_t>(*value);
}

std::string rowName(std::size_t row) { return "Pokemon" + std::to_string(row + 1); }

// The open map has a place in the ROM, and a kind that can be saved was read for it.
void requireOpenMap(const MapState& map, const Encounter& shown) {
    if (!map.loaded()) {
        throw Error("Es ist keine Map geöffnet.");
    }
    const CurrentMap& current = map.map();
    if (current.outsideRom) {
        throw Error(
            "Die Map \"" + current.title +
            "\" gehört zu keiner Map im Rom; ihre wilden Pokemon werden nicht gespeichert.");
    }
    if (shown.available && (shown.bank != current.bank || shown.map != current.map)) {
        throw Error("Die gezeigten wilden Pokemon gehören zur Map " + std::to_string(shown.bank) +
                    "." + std::to_string(shown.map) + ", nicht zur offenen Map " +
                    current.identifier + "; es wurde nichts gespeichert.");
    }
}

void requireSameSlots(TRom& rom, const Encounter& shown) {
    if (!shown.available) {
        throw Error(std::string("Für ") + kindName(shown.kind) +
                    " hat diese Map keine Pokemon-Liste, die gespeichert werden kann.");
    }
    if (shown.record + kRecordSize > rom.size() ||
        rom.ReadU32(static_cast<std::int32_t>(shown.record + 4)) !=
            encodeRomPointer(shown.slotArray)) {
        throw Error("Die Pokemon-Liste (" + std::string(kindName(shown.kind)) +
                    ") steht nicht mehr dort, wo sie gelesen wurde; die Map bitte neu öffnen.");
    }
}

}  // namespace

Values parseInput(const Input& input, Kind kind) {
    const auto count = static_cast<std::size_t>(slotCount(kind));
    if (input.levels.size() != count || input.species.size() != count) {
        throw Error(std::string(kindName(kind)) + " hat " + std::to_string(count) +
                    " Pokemon, nicht " + std::to_string(input.levels.size()) + ".");
    }
    Values values;
    values.rate =
        byteField("Häufigkeits Index", input.rate, " (das Spiel liest nur ein Byte davon)");
    for (std::size_t row = 0; row < count; ++row) {
        const std::string name = rowName(row);
        values.entries.push_back({byteField(name + " Min Level", input.levels[row][0], ""),
                                  byteField(name + " Max Level", input.levels[row][1], ""),
                                  input.species[row]});
    }
    return values;
}

std::vector<std::string> unusualLevels(const std::vector<Slot>& entries) {
    std::vector<std::string> lines;
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const Slot& s = entries[row];
        const auto outside = [](int level) {
            return level < kLowestLevel || level > kHighestLevel;
        };
        std::string why;
        if (outside(s.minLevel) || outside(s.maxLevel)) {
            why = "Level ausserhalb von 1 bis 100";
        }
        if (s.minLevel > s.maxLevel) {
            why += std::string(why.empty() ? "" : ", ") + "Min Level über Max Level";
        }
        if (!why.empty()) {
            lines.push_back(rowName(row) + ": " + std::to_string(s.minLevel) + " - " +
                            std::to_string(s.maxLevel) + " (" + why + ")");
        }
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
        throw Error("Die Werte passen nicht zu " + std::string(kindName(shown.kind)) + ".");
    }
    const std::vector<std::string> odd = unusualLevels(values.entries);
    if (!odd.empty() && unusual == UnusualLevels::Refuse) {
        std::string text = "Ungewöhnliche Level, nichts gespeichert:";
        for (const std::string& line : odd) {
            text += "\n" + line;
        }
        throw Error(text);
    }
    std::array<std::uint8_t, 4> rate{};
    writeLe32(rate.data(), values.rate);
    std::vector<std::uint8_t> slots;
    for (const Slot& s : values.entries) {
        slots.insert(slots.end(), {s.minLevel, s.maxLevel, static_cast<std::uint8_t>(s.species),
                                   static_cast<std::uint8_t>(s.species >> 8)});
    }
    const std::string& id = map.map().identifier;
    TRom::Transaction tx(rom, "WildePokemon speichern " + id, id);
    rom.WriteBlock(rate, static_cast<std::int32_t>(shown.record));
    rom.WriteBlock(slots, static_cast<std::int32_t>(shown.slotArray));
    tx.commit();
    rom.Close();
}

}  // namespace quillon::wild
