#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

struct BlockGrid;
class EventTables;
class TRom;
struct BankScan;
struct CurrentMap;
struct GameProfile;

// Putting the map in memory (from the ROM, a map file or made new) into an existing slot of
// the bank table. The grid goes to offset G + 8 of a space of W x H x 2 + 32 bytes (the 8 bytes
// before and 24 after stay untouched; G even), the event records and a new 20-byte event
// header to a space at E (a multiple of 4): persons, warps, script triggers, signposts back to
// back, then the header with the four counts and the four table pointers (a table without
// records points where the next one starts, so a map without events has 20 bytes, every
// pointer E). The slot's footer gets width, height (32 bits each), the grid pointer and the
// pointers of the two tileset headers (those a ROM map was drawn with; a map outside the ROM:
// the table's records of its numbers); its border pointer and every other header field stay.
// Last the slot's header points at the new event header (+4).
namespace map_insertion {

struct Slot {
    int bank = 0;
    int map = 0;
    std::uint32_t header = 0;  // file offset of the slot's 28-byte map header
    std::uint32_t footer = 0;  // file offset of the footer it points at
};

struct Plan {
    int bank = 0;
    int map = 0;
    std::uint32_t gridSpace = 0;  // G
    std::uint32_t events = 0;     // E
    // What free space holds at G and at E: 0xFF, or 0x00 where the user searched for it.
    std::uint8_t gridFill = 0xFF;
    std::uint8_t eventFill = 0xFF;
    bool sharedOk = false;        // write a footer other maps share
    std::optional<std::uint32_t> ownFooter;  // F: a new footer of the slot's own
};

struct Result {
    Slot slot;
    std::uint32_t grid = 0;         // G + 8
    std::uint32_t eventHeader = 0;  // where the event header went
    std::uint32_t eventBytes = 0;
    std::uint32_t footer = 0;  // the footer written: the slot's, or F
    std::uint32_t border = 0;  // where the border went
    std::array<std::uint8_t, 8> borderBytes{};
};

// Bytes asked for the grid's space: W x H x 2 + 32 (10 x 10: 232).
std::uint32_t gridSpace(const BlockGrid& grid);
// Bytes of the event space: 24 n1 + 8 n2 + 16 n3 + 12 n4 + 20.
std::uint32_t eventSpace(const EventTables& events);

// The slot typed as "<bank>.<map>" (decimal, or hexadecimal after "$"): nullopt for an answer
// without "."; throws ConversionError when either part is no number.
std::optional<std::pair<int, int>> parseSlot(const std::string& answer);

// The slot (bank, map) as the bank scan found the ROM's tables, with the footer its header
// points at. Throws Error naming the slot for a bank or map beyond the tables, or a header or
// footer the ROM does not hold (pointer not into the file, in the cartridge header).
Slot locateSlot(TRom& rom, const BankScan& scan, int bank, int map);

// The maps (bank, map) of the bank scan whose header points at footer, in bank table order;
// maps whose header lies past the end of the file are left out.
std::vector<std::pair<int, int>> mapsSharingFooter(TRom& rom, const BankScan& scan,
                                                   std::uint32_t footer);
// Bytes of a footer of the slot's own with the border behind it: 24 + 8, FireRed/LeafGreen
// 28 + 8.
std::uint32_t ownFooterSpace(const TRom& rom);


// The grid's space alone, before the slot is known: the map's size, the grid (G + 8) on free
// bytes of fill, in the file behind the cartridge header, G even. Throws Error.
void checkGridPlace(TRom& rom, const BlockGrid& grid, std::uint32_t at, std::uint8_t fill);

// Everything insert() checks before its first byte: the slot, the map's size and tileset
// headers (each of its part), a footer shared with other maps (refused without sharedOk or
// ownFooter, naming how many), and through the placement check every range written (grid,
// events, border, footer, header pointers): apart from each other, on free bytes of the plan's
// fill values or on the slot's own data of the same kind (its old grid, event tables and
// header, footer and border in place), never on the rest of the slot's map; spaces aligned.
// Throws Error.
void checkPlan(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
               const BlockGrid& grid, const EventTables& events, const Plan& plan);

// Writes map, grid, events and border into the slot as planned, as one transaction ("Map
// einfügen B.M"), after checkPlan. Throws Error for a refusal (the ROM is as it was) and
// RomIoError when writing fails.
Result insert(TRom& rom, const GameProfile& profile, const BankScan& scan, const CurrentMap& map,
              const BlockGrid& grid, const EventTables& events, const Plan& plan);

// The open map from the ROM whose footer an insertion rewrote without being the slot's own map
// (maps may share one footer): its grid now lies where the insertion put it, and its copies of
// footer and border say so, so a later save writes there. Returns whether open was such a map
// (never when the slot got a footer of its own: the shared one stayed).
bool followFooter(CurrentMap& open, const Result& result);

}  // namespace map_insertion
}  // namespace quillon
