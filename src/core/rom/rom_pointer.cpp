#include "core/rom/rom_pointer.h"

#include "core/base/numbers.h"
#include "core/errors.h"

namespace quillon {

std::uint32_t encodeRomPointer(std::uint32_t fileOffset) {
    if (fileOffset >= kRomPointerReach) {
        throw DataError(message("rom.pointer_reach", {hexOffset(fileOffset)}));
    }
    return kRomPointerBase + fileOffset;
}

std::uint32_t readPointerField(const std::uint8_t* p) { return pointerTarget(readLe32(p)); }

void writePointerField(std::uint8_t* p, std::uint32_t fileOffset) {
    writeLe32(p, encodeRomPointer(fileOffset));
}

}  // namespace quillon
