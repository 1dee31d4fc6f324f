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

}  // namespace quillon
