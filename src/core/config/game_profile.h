#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class IniFile;

// The table offsets of one game: the section of Quillon.ini named by the ROM's Title. A
// missing section or key takes its default, so any ROM opens (with an empty map list when
// nothing matches).
struct GameProfile {
    bool found = false;  // the section exists
    std::int32_t mapBankHeader = 0;
    std::string mapBankHeaderText = "$313D04";  // the map loader converts this text itself
    std::int32_t tilesetHeader = 0;
    std::int32_t tilesethoehe = 32;
    std::int32_t namenHeader = 0;
    std::int32_t anzMapNamen = 86;
    std::int32_t pokemonNamen = 0;
    std::int32_t namenLaenge = 11;
    std::int32_t wildePokemon = 0;
    std::int32_t spriteHeader = 0;
    std::int32_t spritePaletten = 0;
    std::int32_t spritePalettenAnz = 27;
    std::int32_t spritePalHeader = 0;
    std::int32_t spezialPalHeader = 0;
    std::int32_t flugPosHeader = 0;
    std::string mainfile = "Ini\\Main.ini";
    std::string mapsfile = "Ini\\Maps.ini";
    std::string table = "Table.ini";

    static GameProfile read(const IniFile& quillonIni, const std::string& title);
    // read(), then every table offset checked against the ROM file, once: an offset below 0
    // or at or past the end of a file of fileSize bytes counts as missing (0), with a
    // warning naming its key. Nothing later has to guard its arithmetic against such values.
    static GameProfile read(const IniFile& quillonIni, const std::string& title,
                            std::uint64_t fileSize, std::vector<std::string>& warnings);
};

}  // namespace quillon
