// The map loader on a damaged ROM: the fuzzer's patch records overwrite the built image
// (headers, footers, grids, borders, tileset headers and pictures, the bank table), then
// every listed map is opened and drawn. Anything but the editor's own errors is a finding.
#include <cstdint>
#include <memory>
#include <string>

#include "core/errors.h"
#include "core/session.h"
#include "fuzz/fuzz_rom.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> image = fuzz::fuzzRom().bytes;
    fuzz::applyPatches(image, {data, size});
    // One session per process: opening a ROM replaces everything the previous input left.
    static Session session(fuzz::fuzzProgramFolder());
    try {
        session.openRom(std::make_unique<MemoryRomFile>(std::move(image)), "fuzz.gba");
    } catch (const Error&) {
        return 0;
    }
    for (const auto& bank : session.bankScan().banks) {
        for (const auto& map : bank) {
            try {
                session.openMap(std::to_string(map.bank) + "." + std::to_string(map.map), "t");
                session.mapPicture();  // the tileset pictures, blocks and grid together
            } catch (const Error&) {
            }
        }
    }
    return 0;
}
