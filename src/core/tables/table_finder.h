#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/tables/table_shapes.h"

namespace quillon {
class TRom;
}

namespace quillon::tables {

// The ROM a search is for: its Title (game title and game code, as the editor names it), the
// revision byte at 0xBC and the family (FireRed/LeafGreen lay tilesets and map names apart).
struct GameIdentity {
    std::string title;
    int revision = 0;
    bool frlg = false;

    // From the cartridge header of image (an image too short for it gives an empty title).
    static GameIdentity of(std::span<const std::uint8_t> image);
    // The profile section the ROM reads: the title, with " 1.N" for revision N above 0.
    std::string section() const;
};

enum class Confidence { Sure, Likely, NotFound };

// Why a table was judged as it was.
enum class Basis {
    Unique,          // the only referenced place with this many records of the table's shape
    MostReferenced,  // other places have as many records; this one is referenced most
    PartlyCovered,   // tileset headers: the chain covers most, not all, headers the maps name
    NoCandidate,     // no referenced place has the table's shape
    NeedsMaps,       // the table is judged by the maps, and no bank table was found
};

// One table of the search. offset is the profile's value (for the species names the start
// + the name length, for FireRed/LeafGreen map names possibly the start - 88 * 4); start is
// where the table's first record lies.
struct FoundTable {
    Table table = Table::Banks;
    Confidence confidence = Confidence::NotFound;
    Basis basis = Basis::NoCandidate;
    std::uint32_t offset = 0;
    std::uint32_t start = 0;
    int records = 0;     // records of the shape in a row (tilesets: headers of the chain)
    int references = 0;  // aligned words pointing to the start
    int rivals = 0;      // other referenced places with as many records
    bool found() const { return confidence != Confidence::NotFound; }
};

// The search's result: a table for each of kTables (in that order) and the values the
// profile takes from the family and the maps.
struct FoundProfile {
    GameIdentity identity;
    std::vector<FoundTable> tables;
    int tilesetHeight = 32;      // Tilesethoehe: FireRed/LeafGreen 40, else 32
    int nameLength = 11;         // Namenlänge
    int mapNameCount = 0;        // AnzMapNamen: the highest name index the maps use
    int spritePaletteCount = 0;  // SpritePalettenAnz: the palettes found, at most 27
    int maps = 0;                // map headers reached through the bank table

    const FoundTable& table(Table which) const;
    bool banksFound() const { return table(Table::Banks).found(); }
    // The profile section: "[section]" and a line per found table and value ("Key=0x..."),
    // nothing for a table not found.
    std::string iniText() const;
    // The keys and values of iniText, in its order.
    std::vector<std::pair<std::string, std::string>> keys() const;
};

// Searches image for the tables of a game profile: every aligned word that is a ROM pointer
// into the file names a candidate, each candidate is checked for each table's shape in full,
// and the best one taken (most records in a row, then most references, then the lowest).
// Bounded work on any input; never throws for the bytes' sake.
FoundProfile findTables(std::span<const std::uint8_t> image, const GameIdentity& identity);

// The search on the open ROM's whole image (read once; a ROM above 32 MiB is refused with a
// DataError).
FoundProfile findTables(TRom& rom);

// Throws Error unless the bank table was found: without it no profile is stored.
void checkStorable(const FoundProfile& found);
// checkStorable, then the section stored in the user's profile file (see
// storeProfileSection). Throws Error when there is no such file (no user folder).
void storeFoundProfile(const FoundProfile& found, const std::filesystem::path& file);

// A sentence on one table for the user: "die Bank-Tabelle: $3526A8, sicher (43 Einträge, ...)".
Message describe(const FoundTable& found);

}  // namespace quillon::tables
