// The map loader on a damaged ROM: the fuzzer's patch records overwrite the built image
// (headers, footers, grids, borders, tileset headers and pictures, the bank table), then
// every listed map is opened and drawn. Anything but the editor's own errors is a finding.
#include <cstdint>

#include "core/session/session.h"
#include "fuzz/fuzz_rom.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::fuzz::openEveryMap({data, size}, [](quillon::Session& session) {
        session.mapState().pictures().map();  // the tileset pictures, blocks and grid together
    });
    return 0;
}
