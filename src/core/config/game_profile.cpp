#include "core/config/game_profile.h"

#include <algorithm>

#include "core/config/ini_file.h"

namespace quillon {

GameProfile GameProfile::read(const IniFile& ini, const std::string& title) {
    GameProfile p;
    p.found = ini.sectionExists(title);
    p.mapBankHeader = ini.readInteger(title, "MapBankHeader", 0);
    p.mapBankHeaderText = ini.readString(title, "MapBankHeader", "$313D04");
    p.tilesetHeader = ini.readInteger(title, "TilesetHeader", 0);
    p.tilesetHeight = ini.readInteger(title, "Tilesethoehe", 32);
    p.mapNamesHeader = ini.readInteger(title, "NamenHeader", 0);
    p.mapNameCount = ini.readInteger(title, "AnzMapNamen", 86);
    p.pokemonNamesOffset = ini.readInteger(title, "PokemonNamen", 0);
    p.nameLength = ini.readInteger(title, "Namenlänge", 11);
    p.wildPokemon = ini.readInteger(title, "WildePokemon", 0);
    p.spriteHeader = ini.readInteger(title, "SpriteHeader", 0);
    p.spritePalettes = ini.readInteger(title, "SpritePaletten", 0);
    p.spritePaletteCount = ini.readInteger(title, "SpritePalettenAnz", 27);
    p.spritePalHeader = ini.readInteger(title, "SpritePalHeader", 0);
    p.specialPalHeader = ini.readInteger(title, "SpezialPalHeader", 0);
    p.flyPosHeader = ini.readInteger(title, "FlugPosHeader", 0);
    p.mainFile = ini.readString(title, "mainfile", p.mainFile);
    p.mapsFile = ini.readString(title, "mapsfile", p.mapsFile);
    p.table = ini.readString(title, "Table", p.table);

    // Values the buffers of the editor cannot hold are brought into range here, once: a name
    // record holds 11 bytes, the tile space 64 rows, the sprite palette table 27 entries, and
    // a stray huge name count must not make the editor read names for minutes.
    p.nameLength = std::clamp(p.nameLength, 1, 11);
    p.tilesetHeight = std::clamp(p.tilesetHeight, 0, 64);
    p.spritePaletteCount = std::clamp(p.spritePaletteCount, 0, 27);
    p.mapNameCount = std::clamp(p.mapNameCount, -1, 4095);
    return p;
}

}  // namespace quillon
