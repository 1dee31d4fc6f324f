#include "romkit/rom_files.h"

#include <fstream>
#include <stdexcept>

#include "romkit/rom_builder.h"
#include "romkit/western_charset.h"

namespace quillon::romkit {

namespace {

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string tilesetsIni(const BuiltRom& rom) {
    std::string ini;
    for (std::size_t i = 0; i < rom.tilesets.size(); ++i) {
        ini += "[";
        ini += std::to_string(i);
        ini += "]\nStart Pal=0\nBlocks=";
        ini += std::to_string(rom.tilesets[i].blockCount);
        ini += "\n";
    }
    return ini;
}

}  // namespace

void writeProgramFolder(const std::filesystem::path& dir, const BuiltRom& rom,
                        const std::map<std::string, std::string>& extraFiles) {
    std::string profile = rom.profileIni();
    if (auto it = extraFiles.find("Ini/Quillon.ini"); it != extraFiles.end()) {
        profile += "\n" + it->second;
    }
    writeText(dir / "Ini" / "Quillon.ini", profile);
    writeText(dir / "Ini" / "Table.ini", westernTableIni());
    writeText(dir / "Ini" / "Tilesets.ini", tilesetsIni(rom));
    for (const auto& [name, text] : extraFiles) {
        if (name != "Ini/Quillon.ini") {
            writeText(dir / name, text);
        }
    }
}

void writeRomFile(const std::filesystem::path& file, const BuiltRom& rom) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(rom.bytes.data()),
              static_cast<std::streamsize>(rom.bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

}  // namespace quillon::romkit
