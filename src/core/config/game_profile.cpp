#include "core/config/game_profile.h"

#include <algorithm>

#include "core/base/ini_file.h"
#include "core/base/numbers.h"

namespace quillon {

namespace {

// A profile offset outside the file: the warning that names it.
Message offsetWarning(const std::string& key, std::int64_t value, std::uint64_t fileSize) {
    const std::string shown = value < 0 ? std::to_string(value) : "$" + IntToHex(value, 6);
    return message("profile.offset_outside",
                   {key, shown, "$" + IntToHex(static_cast<std::int64_t>(fileSize) - 1, 6)});
}

bool insideFile(std::int64_t offset, std::uint64_t fileSize) {
    return offset >= 0 && static_cast<std::uint64_t>(offset) < fileSize;
}

}  // namespace

std::string GameProfile::sectionFor(const IniFile& ini, const std::string& title,
                                    int revision) {
    const std::string own = title + " 1." + std::to_string(revision);
    return ini.sectionExists(own) ? own : title;
}

GameProfile GameProfile::read(const IniFile& ini, const std::string& title) {
    GameProfile p;
    p.found = ini.sectionExists(title);
    p.section = title;
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
    p.freeSpaceStart = ini.readInteger(title, "FreierBereich", 0);
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

GameProfile GameProfile::read(const IniFile& ini, const std::string& title,
                              std::uint64_t fileSize, std::vector<Message>& warnings) {
    GameProfile p = read(ini, title);
    const std::pair<const char*, std::int32_t GameProfile::*> offsets[] = {
        {"TilesetHeader", &GameProfile::tilesetHeader},
        {"NamenHeader", &GameProfile::mapNamesHeader},
        {"PokemonNamen", &GameProfile::pokemonNamesOffset},
        {"WildePokemon", &GameProfile::wildPokemon},
        {"SpriteHeader", &GameProfile::spriteHeader},
        {"SpritePaletten", &GameProfile::spritePalettes},
        {"SpritePalHeader", &GameProfile::spritePalHeader},
        {"SpezialPalHeader", &GameProfile::specialPalHeader},
        {"FlugPosHeader", &GameProfile::flyPosHeader},
        {"FreierBereich", &GameProfile::freeSpaceStart},
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
