#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/connections/connection_table.h"
#include "core/rom/rom_file.h"
#include "core/rom/trom.h"
#include "core/wild/wild_table.h"
#include "romkit/rom_files.h"

namespace quillon::romkit {

// Ruby/Sapphire/Emerald or FireRed/LeafGreen: the families lay out tilesets and map names apart.
enum class Family { Rse, Frlg };

// What differs between the families for the structures the builder writes.
struct FamilyTraits {
    int primaryBlocks;          // blocks of tileset part 1: 512 / 640
    int tilesethoehe;           // rows of 16 tiles of part 1: 32 / 40
    int firstSecondaryPalette;  // palettes 0..n-1 come from part 1: 6 / 7
    int nameRecordSize;         // map name table record: 8 (pointer at +4) / 4 (pointer)
};
FamilyTraits traitsOf(Family family);

// One tileset. Its number is the order of addTileset (the headers are consecutive).
struct TilesetSpec {
    bool compressed = false;            // store the tiles as an LZ77 stream
    std::vector<std::uint8_t> tiles{};  // 4bpp, 32 bytes per tile, 16 tiles a row
    std::vector<std::array<std::uint16_t, 16>> palettes{};  // palette i of the tileset's 16
    std::vector<std::array<std::uint16_t, 8>> blocks{};     // tile entries, lower layer first
    std::vector<std::uint8_t> behaviours{};                 // 2 bytes per block; zeros when short
    // FireRed/LeafGreen only: the 32-bit attribute word of each block as given. Empty: each
    // word is made from behaviours (byte 0 into bits 0-8, bits 4-5 of byte 1 into 29-30).
    std::vector<std::uint32_t> attributes{};
    // Bytes of other data (ROM pointers to the tiles) between the header before this one and
    // this header, a multiple of 4: the header then lies off the table's 24-byte steps.
    std::uint32_t bytesBefore = 0;
};

// One map: header, footer, border and grid. primary and secondary are addTileset indices.
struct MapSpec {
    int bank = 0;
    int map = 0;
    std::uint16_t width = 1, height = 1;
    std::vector<std::uint16_t> grid{};  // width x height entries row by row; empty = all zero
    std::array<std::uint16_t, 4> border{};
    int primary = 0;
    int secondary = 1;
    std::uint8_t nameIndex = 0, weather = 0, type = 0, showName = 0;
    std::uint16_t music = 0;
    // Event records as the ROM holds them (see the record helpers below), at most 255 of each.
    std::vector<std::array<std::uint8_t, 24>> persons{};
    std::vector<std::array<std::uint8_t, 8>> warps{};
    std::vector<std::array<std::uint8_t, 16>> scripts{};
    std::vector<std::array<std::uint8_t, 12>> signposts{};
    bool noEventHeader = false;  // the header's events pointer is 0 (no records allowed then)
    // Connection records, then their 8-byte header; nullopt leaves the header's pointer 0.
    std::optional<std::vector<Connection>> connections{};
};

// File offsets of one built map's records. The event tables lie back to back (persons, warps,
// script triggers, signposts) right before the event header; a table without records is 0
// here while the event header points at the spot where it would start.
struct BuiltMap {
    std::uint32_t header = 0, footer = 0, grid = 0, border = 0, events = 0;
    std::uint32_t persons = 0, warps = 0, scripts = 0, signposts = 0;
    std::uint32_t connectionHeader = 0, connectionRecords = 0;  // 0 without connections
};

// Event records. Script values are file offsets (0 = none), stored as ROM pointers.
std::array<std::uint8_t, 24> personRecord(std::uint8_t number, std::uint8_t picture,
                                          std::uint16_t x, std::uint16_t y,
                                          std::uint8_t movementType = 0, std::uint8_t movement = 0,
                                          std::uint8_t trainer = 0, std::uint16_t sight = 0,
                                          std::uint32_t script = 0);
std::array<std::uint8_t, 8> warpRecord(std::uint16_t x, std::uint16_t y, std::uint8_t targetWarp,
                                       std::uint8_t targetMap, std::uint8_t targetBank);
std::array<std::uint8_t, 16> scriptRecord(std::uint16_t x, std::uint16_t y, std::uint32_t script);
std::array<std::uint8_t, 12> signpostRecord(std::uint16_t x, std::uint16_t y, std::uint8_t type,
                                            std::uint32_t script);

// One overworld picture: a 36-byte sprite record and one frame of 4bpp tiles, row by row
// (width / 8 tiles a row). Empty pixels become blank tiles of the right size.
struct SpriteSpec {
    std::uint16_t width = 16, height = 32;
    std::uint8_t slot = 0;  // palette slot 0-15; 10 takes its palette through the special table
    std::uint16_t paletteTag = 0x1100;
    std::vector<std::uint8_t> pixels{};  // (width / 8) * (height / 8) * 32 bytes
};

// File offsets of one built tileset. Ruby/Sapphire/Emerald: header +16 points at the table of
// 2 attribute bytes per block (behaviours), +20 is a null code pointer. FireRed/LeafGreen:
// header +16 holds a code pointer as the games do (kFrlgCodePointer, into the code area), +20
// points at the table of 4 attribute bytes per block (attributes); behaviours is 0 there.
inline constexpr std::uint32_t kFrlgCodePointer = 0x241;
struct BuiltTileset {
    std::uint32_t header = 0, tiles = 0, palettes = 0, blocks = 0, behaviours = 0, attributes = 0;
    std::size_t storedTileBytes = 0;  // size of the picture as stored: raw or the LZ77 stream
    int blockCount = 0;
};

// One kind of a map's wild encounters: the record's rate word and its slots, written as
// given (a test may give fewer or more than the game's count; none gives a null pointer).
struct WildKindSpec {
    std::uint32_t rate = 0;
    std::vector<wild::Slot> entries{};
};

// A map's entry of the wild table; kinds by wild::Kind (grass, water, rock, fishing), an
// empty one gives a null record address.
struct WildSpec {
    int bank = 0;
    int map = 0;
    std::array<std::optional<WildKindSpec>, 4> kinds{};
};

// File offsets of a map's wild data; 0 for kinds it does not have.
struct BuiltWild {
    std::uint32_t header = 0;
    std::array<std::uint32_t, 4> records{};
    std::array<std::uint32_t, 4> slotArrays{};
};

struct BuiltRom {
    std::vector<std::uint8_t> bytes;
    std::string title;  // the editor's Title: 12 title characters and the 4-character code
    std::uint32_t bankTable = 0, tilesetHeaders = 0, nameTable = 0, pokemonNames = 0;
    int tilesethoehe = 32;
    int nameCount = 0;  // map names added; nameTable is 0 when there are none
    std::map<std::pair<int, int>, BuiltMap> maps;  // by (bank, map)
    std::vector<std::uint32_t> tilesetHeaderOffsets;

    Family family = Family::Rse;
    std::vector<BuiltTileset> tilesets;
    // Map table of each bank, then the one of the empty bank that closes the bank table.
    std::vector<std::uint32_t> mapTables;
    std::uint32_t freeSpace = 0;  // everything from here to the end is 0xFF

    // Overworld sprites and the fly table; 0 when the ROM has none of the kind.
    std::uint32_t spriteHeader = 0, spritePalettes = 0, spritePalHeader = 0, spezialPalHeader = 0,
                  flyTable = 0;
    int spritePaletteCount = 0;
    // The wild table (0 without one; the profile's WildePokemon) and each map's entry.
    std::uint32_t wildTable = 0;
    std::map<std::pair<int, int>, BuiltWild> wild;
    std::vector<std::uint32_t> spriteRecords;  // 36-byte record of each picture number
    std::vector<std::uint32_t> spritePixels;   // frame 0's pixel data of each picture number

    // Data file names the profile names (relative to the program folder / inside "Ini\").
    std::string mainFile = "Ini\\Main.ini";
    std::string mapsFile = "Ini\\Maps.ini";
    std::string tableFile = "Table.ini";

    // The game profile: "[<title>]" and every profile key, one per line.
    std::string profileIni() const;
    // The image as a memory file, for TRom::attach.
    std::unique_ptr<RomFile> memoryFile() const;
    // Binds a copy of the image to rom under the display name fileName.
    void attachTo(TRom& rom, const std::string& fileName = "test.gba") const;
};

// Lays out a whole ROM image in memory: GBA header, Pokemon names, map names, tilesets
// (pictures raw or LZ77, 16 palettes each, block and behaviour tables, consecutive headers),
// sprites, sprite palettes, the slot tag list, the special palette table, the fly table and
// the wild table (each only when something of its kind was added), maps (border, grid, footer, event tables
// and event header, header), then the map tables of the banks one after another and the bank
// table. The bank table lists one more bank than was added: an empty one whose map table is a
// single non-pointer word, followed by a non-pointer word, so the bank scan lists every added
// bank and ends there. Everything else, from the end of the bank table on, is 0xFF.
class RomBuilder {
public:
    // title12 at most 12 characters (NUL-padded), code4 exactly 4.
    RomBuilder(Family family, std::string title12 = "QUILLON TEST", std::string code4 = "QTSE",
               std::size_t romSize = 4 << 20);

    // Returns the tileset's index; its tileset number is the same.
    int addTileset(const TilesetSpec& tileset);
    // Maps may come in any order; build() needs banks 0..n-1 and maps 0..m-1 in each bank.
    void addMap(const MapSpec& map);
    // Encoded with the Western character table; returns the name index.
    int addMapName(const std::string& name);
    // Record i (from 1) of the 411 names; at most 10 characters. Unset records read "??????????".
    void addPokemonName(const std::string& name);

    // Returns the picture number (0, 1, ...). Throws std::invalid_argument for a slot over 15
    // or pixels of the wrong size.
    int addSprite(const SpriteSpec& sprite);
    // An entry of the sprite palette table: 16 colours and their tag.
    void addSpritePalette(std::uint16_t tag, std::array<std::uint16_t, 16> colours);
    // The palette tags of slots 0-9.
    void setSlotTags(std::array<std::uint16_t, 10> tags);
    // An entry of the 26 of the special palette table: sprites of slot 10 whose palette tag is
    // tag take the palette tagged paletteTag. Throws std::length_error past 26.
    void addSpecialPalette(std::uint32_t tag, std::uint16_t paletteTag);
    // A fly record; the table ends with a record whose word at 6 is not 0.
    void addFlyRecord(std::uint8_t bank, std::uint8_t map, std::uint16_t x, std::uint16_t y,
                      std::uint16_t unknown = 0);
    // Instead of the ending record: 300 records of bank and map 0xEE with the word 0.
    void setFlyTableUnterminated(bool unterminated) { m_flyUnterminated = unterminated; }
    // An entry of the wild table, in the order added (the game's table need not be sorted).
    void addWild(const WildSpec& wild) { m_wild.push_back(wild); }
    // Bytes written over the image after the layout, for data the builder has no structure
    // for (scripts). Only the code area between the GBA header (0xC0) and the first structure
    // (0x1000) takes them; std::invalid_argument otherwise.
    void putCodeBytes(std::uint32_t offset, const std::vector<std::uint8_t>& bytes);
    // The header's revision byte at 0xBC (0 unless set: release 1.0).
    void setRevision(std::uint8_t revision) { m_revision = revision; }
    // Where the structures begin (0x1000 unless set): a later start moves every table as a
    // later release of a game or a grown code area does. At least 0x1000.
    void setDataStart(std::uint32_t offset);

    // Throws std::invalid_argument for gaps in banks or maps, an unknown tileset, a grid of the
    // wrong size or text without a code; std::length_error when the image is too small.
    BuiltRom build() const;

    Family family() const { return m_family; }

private:
    Family m_family;
    std::string m_title12;
    std::string m_code4;
    std::uint8_t m_revision = 0;
    std::uint32_t m_dataStart;
    std::size_t m_romSize;
    std::vector<TilesetSpec> m_tilesets;
    std::map<std::pair<int, int>, MapSpec> m_maps;
    std::vector<std::string> m_mapNames;
    std::vector<std::string> m_pokemonNames;
    std::vector<SpriteSpec> m_sprites;
    std::vector<std::pair<std::uint16_t, std::array<std::uint16_t, 16>>> m_spritePalettes;
    std::optional<std::array<std::uint16_t, 10>> m_slotTags;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> m_specialPalettes;
    std::vector<std::array<std::uint8_t, 8>> m_flyRecords;
    bool m_flyUnterminated = false;
    std::vector<WildSpec> m_wild;
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> m_codeBytes;
};

}  // namespace quillon::romkit
