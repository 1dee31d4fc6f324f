#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quillon {

class DataFiles;
class RomFile;
class RomState;
class Settings;
class TRom;

// Binds the ROM file at file to rom after checking it is a ROM image. Throws Error for a
// missing file or one that is no ROM image; the ROM bound before stays bound then. readOnly:
// the file is opened for reading only.
void attachRomFile(TRom& rom, const std::filesystem::path& file, bool readOnly);
// Binds an image held in memory (tests) under name, with the same check.
void attachRomImage(TRom& rom, std::unique_ptr<RomFile> image, const std::string& name);

// Opens the bound ROM's history under the settings' bounds: in file when "Verlauf speichern"
// is on and a file is given, in memory otherwise. readOnly: the history is only read (nothing
// renamed or written; what it found is reported).
void openRomHistory(TRom& rom, const Settings& settings,
                    const std::optional<std::filesystem::path>& file, bool readOnly);

// The state of the bound ROM: game profile, character table, map and species names, bank
// scan, sprites. Throws Error when the ROM cannot be read.
std::unique_ptr<RomState> readRomState(TRom& rom, DataFiles& data, const Settings& settings);

}  // namespace quillon
