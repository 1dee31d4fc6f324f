#include "core/gfx/palette.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/rom/trom.h"

namespace quillon {

void TPalette::LoadFromRom(TRom& rom, std::int32_t offset, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, kPalettes - 1);
    if (first > last) {
        return;
    }
    constexpr int kPaletteBytes = kColours * 2;
    std::uint8_t bytes[kPalettes * kPaletteBytes];
    const auto count = static_cast<std::size_t>(last - first + 1);
    // 64-bit sum: an offset near the top of the range must fail the read, not wrap around.
    const long long start = static_cast<long long>(offset) + kPaletteBytes * first;
    rom.ReadBlock(start > INT32_MAX ? -1 : static_cast<std::int32_t>(start),
                  {bytes, count * kPaletteBytes});
    for (std::size_t p = 0; p < count; ++p) {
        for (std::size_t i = 0; i < kColours; ++i) {
            Colours[first + p][i] = GbaColourToRgb(readLe16(bytes + p * kPaletteBytes + 2 * i));
        }
    }
}

}  // namespace quillon
