// The ini layer: the fuzzer's bytes are the profile file Quillon.ini. Every section and key is
// read in each way the editor reads values, each section as a game profile, and then the ROM
// is opened with the file and its first map drawn.
#include <cstdint>
#include <fstream>
#include <memory>

#include "core/config/game_profile.h"
#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/session/session.h"
#include "fuzz/fuzz_rom.h"

using namespace quillon;

namespace {

void readEverything(const IniFile& ini) {
    for (const std::string& section : ini.sections()) {
        for (const std::string& key : ini.keys(section)) {
            ini.readString(section, key, "");
            ini.readInteger(section, key, -1);
            ini.readBool(section, key, false);
        }
        GameProfile::read(ini, section);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz::fuzzProgramFolder() / "Ini" / "Quillon.ini";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    readEverything(IniFile(file));
    Session session(fuzz::fuzzProgramFolder());
    try {
        session.openRom(std::make_unique<MemoryRomFile>(fuzz::fuzzRom().bytes), "fuzz.gba");
        session.openMap("0.0", "t");
        session.mapState().pictures().map();
    } catch (const Error&) {
    }
    return 0;
}
