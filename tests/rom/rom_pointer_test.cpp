#include "core/rom/rom_pointer.h"

#include <gtest/gtest.h>

#include <array>

#include "core/errors.h"

namespace quillon {
namespace {

TEST(RomPointer, CoversTheWholeThirtyTwoMebibytes) {
    struct Case {
        std::uint32_t offset, pointer;
    };
    for (Case c : {Case{0xC0, 0x080000C0}, Case{0xFFFFFF, 0x08FFFFFF},
                   Case{0x1000000, 0x09000000}, Case{0x1800000, 0x09800000},
                   Case{0x1FFFFFF, 0x09FFFFFF}}) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(encodeRomPointer(c.offset), c.pointer);
        EXPECT_EQ(decodeRomPointer(c.pointer), c.offset);
        std::array<std::uint8_t, 4> field{};
        writePointerField(field.data(), c.offset);
        EXPECT_EQ(readPointerField(field.data()), c.offset);
    }
    EXPECT_THROW(encodeRomPointer(0x2000000), DataError);
}

TEST(RomPointer, WordsThatAreNoRomPointerNameNoPlaceInTheFile) {
    // RAM, I/O and the bytes past 32 MiB must not read as offsets inside a ROM.
    for (std::uint32_t word : {0x02000100u, 0x03007F00u, 0x0A000000u, 0x00123456u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(word);
        EXPECT_FALSE(decodeRomPointer(word));
        EXPECT_EQ(pointerTarget(word), kNoRomOffset);
    }
    EXPECT_EQ(pointerTarget(0), 0u) << "a null word stays null";
}

}  // namespace
}  // namespace quillon
