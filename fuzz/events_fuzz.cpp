// Event tables and overworld sprites on a damaged ROM: the fuzzer's patch records overwrite
// the built image (event headers and tables, sprite records, palettes, the slot tags, the
// special palette table, the fly table), then every listed map is opened and its events drawn.
#include <cstdint>

#include "core/session/session.h"
#include "fuzz/fuzz_rom.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::fuzz::openEveryMap(
        {data, size}, [](quillon::Session& session) { session.mapState().eventPicture(); });
    return 0;
}
