#include "core/rom/write_space.h"

#include <string>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/cartridge.h"
#include "core/rom/trom.h"

namespace quillon {

void requireWriteSpace(TRom& rom, std::uint32_t offset, std::uint32_t count) {
    if (offset < kCartridgeHeaderSize) {
        throw Error("Der Offset " + hexOffset(offset) + " liegt im Rom-Header (bis " +
                    hexOffset(kCartridgeHeaderSize - 1) + ").");
    }
    const std::uint64_t size = rom.size();
    if (std::uint64_t{offset} + count > size) {
        throw Error("Ab dem Offset " + hexOffset(offset) + " ist kein Platz für " +
                    std::to_string(count) + " Bytes: die Datei endet bei " + hexOffset(size) + ".");
    }
}

}  // namespace quillon
