// The LZ77 decoder on any bytes: it either decodes or throws the editor's DataError. What it
// decodes, compressed again by the core and decoded once more, must come back unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/errors.h"
#include "core/gfx/lz77.h"
#include "core/gfx/lz77_compress.h"

using namespace quillon;

// Small enough that the compressed copy of any output fits the decoder's input window.
constexpr std::size_t kLimit = 1 << 14;
constexpr std::size_t kRoundTripLimit = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> stream(data, size);
    std::vector<std::uint8_t> decoded;
    try {
        std::uint8_t small[64];
        lz77Decompress(stream, std::span<std::uint8_t>(small, size % sizeof small));
        decoded = lz77Decompress(stream, kLimit);
    } catch (const DataError&) {
        return 0;
    }
    if (decoded.size() > kRoundTripLimit) {
        return 0;  // the greedy compressor is slow; long outputs add little over short ones
    }
    for (bool vramSafe : {false, true}) {
        const auto again = lz77Decompress(lz77Compress(decoded, vramSafe), kLimit);
        if (again != decoded) {
            std::abort();
        }
    }
    return 0;
}
