#include "core/config/game_profile.h"

#include <algorithm>

#include "core/config/ini_file.h"
#include "core/rom/numbers.h"

namespace quillon {

namespace {

// A profile offset outside the file: the warning that names it.
std::string offsetWarning(const std::string& key, std::int64_t value, std::uint64_t fileSize) {
    const std::string shown = value < 0 ? std::to_string(value) : "$" + IntToHex(value, 6);
    return "Das Profil nennt für " + key + " den Offset " + shown +
           "; er liegt außerhalb der Datei (0 bis $" +
           IntToHex(static_cast<std::int64_t>(fileSize) - 1, 6) + ") und wird nicht verwendet.";
}

bool insideFile(std::int64_t offset, std::uint64_t fileSize) {
    return offset >= 0 && static_cast<std::uint64_t>(offset) < fileSize;
}

}  // namespace

GameProfile GameProfile::read(const IniFile& ini, const std::string& title) {
    GameProfile p;
    p.found = ini.sectionExists(title);
    p.mapBankHeader = ini.readInteger(title, "MapBankHeader", 0);
    p.mapBankHeaderText = ini.readString(title, "MapBankHeader", "$313D04");
    p.tilesetHeader = ini.readInteger(title, "TilesetHeader", 0);
    p.tilesethoehe = ini.readInteger(title, "Tilesethoehe", 32);
    p.namenHeader = ini.readInteger(title, "NamenHeader", 0);
    p.anzMapNamen = ini.readInteger(title, "AnzMapNamen", 86);
    p.pokemonNamen = ini.readInteger(title, "PokemonNamen", 0);
    p.namenLaenge = ini.readInteger(title, "Namenlänge", 11);
    p.wildePokemon = ini.readInteger(title, "WildePokemon", 0);
    p.spriteHeader = ini.readInteger(title, "SpriteHeader", 0);
    p.spritePaletten = ini.readInteger(title, "SpritePaletten", 0);
    p.spritePalettenAnz = ini.readInteger(title, "SpritePalettenAnz", 27);
    p.spritePalHeader = ini.readInteger(title, "SpritePalHeader", 0);
    p.spezialPalHeader = ini.readInteger(title, "SpezialPalHeader", 0);
    p.flugPosHeader = ini.readInteger(title, "FlugPosHeader", 0);
    p.mainfile = ini.readString(title, "mainfile", p.mainfile);
    p.mapsfile = ini.readString(title, "mapsfile", p.mapsfile);
    p.table = ini.readString(title, "Table", p.table);

    // Values the buffers of the editor cannot hold are brought into range here, once: a name
    // record holds 11 bytes, the tile space 64 rows, the sprite palette table 27 entries, and
    // a stray huge name count must not make the editor read names for minutes.
    p.namenLaenge = std::clamp(p.namenLaenge, 1, 11);
    p.tilesethoehe = std::clamp(p.tilesethoehe, 0, 64);
    p.spritePalettenAnz = std::clamp(p.spritePalettenAnz, 0, 27);
    p.anzMapNamen = std::clamp(p.anzMapNamen, -1, 4095);
    return p;
}

GameProfile GameProfile::read(const IniFile& ini, const std::string& title,
                              std::uint64_t fileSize, std::vector<std::string>& warnings) {
    GameProfile p = read(ini, title);
    const std::pair<const char*, std::int32_t GameProfile::*> offsets[] = {
        {"TilesetHeader", &GameProfile::tilesetHeader},
        {"NamenHeader", &GameProfile::namenHeader},
        {"PokemonNamen", &GameProfile::pokemonNamen},
        {"WildePokemon", &GameProfile::wildePokemon},
        {"SpriteHeader", &GameProfile::spriteHeader},
        {"SpritePaletten", &GameProfile::spritePaletten},
        {"SpritePalHeader", &GameProfile::spritePalHeader},
        {"SpezialPalHeader", &GameProfile::spezialPalHeader},
        {"FlugPosHeader", &GameProfile::flugPosHeader},
    };
    for (const auto& [key, member] : offsets) {
        if (p.*member != 0 && !insideFile(p.*member, fileSize)) {
            warnings.push_back(offsetWarning(key, p.*member, fileSize));
            p.*member = 0;
        }
    }
    // The bank table is read from its text when a map opens; text that is no number is
    // reported there, with the key.
    const auto bankTable = TryStrToInt(p.mapBankHeaderText);
    if (ini.hasKey(title, "MapBankHeader") && bankTable && *bankTable != 0 &&
        !insideFile(*bankTable, fileSize)) {
        warnings.push_back(offsetWarning("MapBankHeader", *bankTable, fileSize));
        p.mapBankHeaderText = "0";
        p.mapBankHeader = 0;
    }
    return p;
}

}  // namespace quillon
