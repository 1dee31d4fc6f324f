#include "tests/support/program_folder.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#include "tests/support/rom_builder.h"
#include "tests/support/western_charset.h"

namespace quillon::testing {

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
        ini += "[" + std::to_string(i) +
               "]\nStart Pal=0\nBlocks=" + std::to_string(rom.tilesets[i].blockCount) + "\n";
    }
    return ini;
}

}  // namespace

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("quillon-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

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

}  // namespace quillon::testing
