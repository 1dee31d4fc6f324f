#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace quillon::romkit {

struct BuiltRom;

// Writes a program folder for rom: Ini/Quillon.ini (its profile section), Ini/Table.ini (the
// character table the builder encoded with) and Ini/Tilesets.ini ("Start Pal" 0 and "Blocks" =
// the tileset's block count, per tileset number). extraFiles maps a path relative to dir
// ("Ini/Main.ini") to its contents; "Ini/Quillon.ini" given there is appended after the profile
// section. Throws std::runtime_error when a file cannot be written.
void writeProgramFolder(const std::filesystem::path& dir, const BuiltRom& rom,
                        const std::map<std::string, std::string>& extraFiles = {});

// Writes the image to a file (replacing it).
void writeRomFile(const std::filesystem::path& file, const BuiltRom& rom);

}  // namespace quillon::romkit
