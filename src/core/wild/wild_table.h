#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/text/message.h"

namespace quillon {

class TRom;

// The wild encounters of the maps: one table of 20-byte headers (bank, map, two unused bytes,
// the GBA addresses of four encounter records) ended by a header whose bank and map are 0xFF.
// An encounter record holds the rate in its first byte (the game reads no more of the word)
// and a pointer to its slots at +4; a slot is {minimum level, maximum level, 16-bit species}.
namespace wild {

// The kinds in the order of the "Art:" box; the header field of kind k lies at 4 + 4 k.
enum class Kind : int { Grass = 0, Water = 1, Rock = 2, Fishing = 3 };
inline constexpr std::array<Kind, 4> kKinds{Kind::Grass, Kind::Water, Kind::Rock, Kind::Fishing};

// Grass 12, water 5, rock 5, fishing 10 (old rod 2, good rod 3, super rod 5).
int slotCount(Kind kind);
// The kind as the user reads it ("wild.kind.grass": "Grass", "Wasser", "Bäume", "Angel").
Message kindName(Kind kind);

inline constexpr std::size_t kHeaderSize = 20;
inline constexpr std::size_t kRecordSize = 8;
inline constexpr std::size_t kSlotSize = 4;
// A table without its end mark is read no further than this.
inline constexpr int kMaxHeaders = 1024;

struct Slot {
    std::uint8_t minLevel = 0;
    std::uint8_t maxLevel = 0;
    std::uint16_t species = 0;
    bool operator==(const Slot&) const = default;
};

struct Header {
    std::uint32_t offset = 0;  // file offset of the header
    int bank = 0;
    int map = 0;
    std::array<std::uint32_t, 4> records{};  // GBA address of each kind's record, by Kind
};

// The map's header, if the table has one for it, and what was wrong with the table.
struct Lookup {
    std::optional<Header> header;
    std::vector<Message> warnings;
};

// Reads the table at file offset table until its end mark, the end of the file or kMaxHeaders
// headers (the last two with a warning) and finds the header of bank.map. table 0: no table.
Lookup findHeader(TRom& rom, std::uint32_t table, int bank, int map);

// One kind of a map as the ROM holds it. Unavailable kinds have no slots; message says why
// when the header names a record the file cannot hold.
struct Encounter {
    Kind kind = Kind::Grass;
    int bank = -1;  // the map whose header named it
    int map = -1;
    bool available = false;
    std::uint32_t record = 0;     // file offset of the record: the rate's place
    std::uint32_t slotArray = 0;  // file offset of the slots
    std::uint32_t rate = 0;       // the record's first word
    std::vector<Slot> entries;    // slotCount(kind) of them when available
    Message message;              // no id: nothing to say
};

Encounter readEncounter(TRom& rom, const Header& header, Kind kind);

}  // namespace wild
}  // namespace quillon
