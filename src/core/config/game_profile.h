#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/text/message.h"

namespace quillon {

class IniFile;

// The table offsets of one game: the section of Quillon.ini named by the ROM's Title, or by
// Title and revision ("POKEMON RUBYAXVE 1.1" for revision byte 1) where the releases of one
// title keep their tables at different places. A missing section or key takes its default,
// so any ROM opens (with an empty map list when nothing matches). A revision's section stands
// alone: keys it lacks take their defaults, not the values of the title's section.
struct GameProfile {
    bool found = false;    // the section exists
    std::string section;   // the section read
    std::int32_t mapBankHeader = 0;
    std::string mapBankHeaderText = "$313D04";  // the map loader converts this text itself
    std::int32_t tilesetHeader = 0;
    std::int32_t tilesetHeight = 32;
    std::int32_t mapNamesHeader = 0;
    std::int32_t mapNameCount = 86;
    std::int32_t pokemonNamesOffset = 0;
    std::int32_t nameLength = 11;
    std::int32_t wildPokemon = 0;
    std::int32_t spriteHeader = 0;
    std::int32_t spritePalettes = 0;
    std::int32_t spritePaletteCount = 27;
    std::int32_t spritePalHeader = 0;
    std::int32_t specialPalHeader = 0;
    std::int32_t flyPosHeader = 0;
    // Where the game's large area of free bytes begins ("FreierBereich"); 0 when not known.
    std::int32_t freeSpaceStart = 0;
    std::string mainFile = "Ini\\Main.ini";
    std::string mapsFile = "Ini\\Maps.ini";
    std::string table = "Table.ini";

    // The section that serves a ROM: "<title> 1.<revision>" when the file has it, else the
    // title's own section (which serves every revision without a section of its own).
    static std::string sectionFor(const IniFile& quillonIni, const std::string& title,
                                  int revision);

    // Reads the section named section (a title, or a title with its revision).
    static GameProfile read(const IniFile& quillonIni, const std::string& section);
    // read(), then every table offset checked against the ROM file, once: an offset below 0
    // or at or past the end of a file of fileSize bytes counts as missing (0), with a
    // warning naming its key. Nothing later has to guard its arithmetic against such values.
    static GameProfile read(const IniFile& quillonIni, const std::string& section,
                            std::uint64_t fileSize, std::vector<Message>& warnings);
};

}  // namespace quillon
