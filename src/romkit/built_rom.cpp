#include <cstdio>
#include <string>

#include "romkit/rom_builder.h"

namespace quillon::romkit {

namespace {

std::string hexValue(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

}  // namespace

std::string BuiltRom::profileIni() const {
    const auto line = [](const std::string& key, const std::string& value) {
        return key + "=" + value + "\n";
    };
    std::string ini = "[" + title + "]\n";
    ini += line("MapBankHeader", hexValue(bankTable));
    ini += line("TilesetHeader", hexValue(tilesetHeaders));
    ini += line("Tilesethoehe", std::to_string(tilesethoehe));
    ini += line("NamenHeader", hexValue(nameTable));
    ini += line("AnzMapNamen", std::to_string(nameCount > 0 ? nameCount - 1 : 0));
    ini += line("PokemonNamen", hexValue(pokemonNames));
    ini += line("Namenlänge", "11");
    ini += line("WildePokemon", wildTable == 0 ? "0" : hexValue(wildTable));
    ini += line("SpriteHeader", hexValue(spriteHeader));
    ini += line("SpritePaletten", hexValue(spritePalettes));
    ini += line("SpritePalettenAnz", std::to_string(spritePaletteCount));
    ini += line("SpritePalHeader", hexValue(spritePalHeader));
    ini += line("SpezialPalHeader", hexValue(spezialPalHeader));
    ini += line("FlugPosHeader", hexValue(flyTable));
    ini += line("FreierBereich", hexValue(freeSpace));
    ini += line("mainfile", mainFile);
    ini += line("mapsfile", mapsFile);
    ini += line("Table", tableFile);
    return ini;
}

std::unique_ptr<RomFile> BuiltRom::memoryFile() const {
    return std::make_unique<MemoryRomFile>(bytes);
}

void BuiltRom::attachTo(TRom& rom, const std::string& fileName) const {
    rom.attach(memoryFile(), fileName);
}

}  // namespace quillon::romkit
