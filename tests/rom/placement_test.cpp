#include "core/rom/placement.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/rom/trom.h"

namespace quillon {
namespace {

// 0x400 bytes: data (0x11) up to 0x200, free 0xFF up to 0x3F0, free 0x00 to the end.
TRom imageRom() {
    std::vector<std::uint8_t> bytes(0x400, 0x11);
    std::fill(bytes.begin() + 0x200, bytes.begin() + 0x3F0, 0xFF);
    std::fill(bytes.begin() + 0x3F0, bytes.end(), 0x00);
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(std::move(bytes)), "place.gba");
    return rom;
}

RomRange range(std::uint32_t at, std::uint32_t size, const char* what = "Block-Grid") {
    return {at, size, what};
}

// What refuses (a part of the message), or "" for a placement that is accepted.
struct Case {
    const char* name;
    Placement placement;
    std::string says;
};

TEST(Placement, RefusesWithTheOffsetAndWhatLiesThere) {
    const RomRange header = range(0x300, 28, "Map-Header von 3.0");
    const Case cases[] = {
        {"free space", {{{range(0x220, 16), {}}}, {}, 0xFF}, ""},
        {"ends at the last byte", {{{range(0x3F0, 16), {}}}, {}, 0x00}, ""},
        {"one byte past the end",
         {{{range(0x3F1, 16), {}}}, {}, 0x00},
         "Block-Grid ($0003F1, 16 Bytes) reicht über das Dateiende hinaus (die Datei endet bei "
         "$000400)"},
        {"cartridge header, even as the own place",
         {{{range(0xB8, 16), {range(0xB8, 16)}}}, {}, 0xFF},
         "Block-Grid ($0000B8, 16 Bytes) ragt in den Rom-Header (bis $0000BF)"},
        {"data before the free run",
         {{{range(0x1F8, 16), {}}}, {}, 0xFF},
         "ist bei $0001F8 nicht frei: dort steht das Byte $11, kein Füllbyte $FF"},
        {"data that is the write's own old place",
         {{{range(0x1F8, 16), {range(0x1F0, 16)}}}, {}, 0xFF},
         ""},
        {"the wrong fill", {{{range(0x220, 16), {}}}, {}, 0x00}, "kein Füllbyte $00"},
        {"a fill of its own", {{{range(0x220, 16), {}, 0xFF}}, {}, 0x00}, ""},
        {"a relied-on range of free-looking bytes",
         {{{range(0x2F0, 0x20), {}}}, {header}, 0xFF},
         "ist bei $000300 nicht frei: dort liegt Map-Header von 3.0 ($000300, 28 Bytes)"},
        {"a relied-on range that is the own old place",
         {{{range(0x300, 28, "Map-Header"), {header}}}, {header}, 0xFF},
         ""},
        {"an old place covering part of a relied-on range",
         {{{range(0x2FC, 8), {range(0x2FC, 6)}}}, {header}, 0xFF},
         "ist bei $000302 nicht frei: dort liegt Map-Header"},
        {"two writes overlapping",
         {{{range(0x220, 16), {}}, {range(0x22F, 4, "Event-Header"), {}}}, {}, 0xFF},
         "Block-Grid ($000220, 16 Bytes) und Event-Header ($00022F, 4 Bytes) überschneiden sich "
         "bei $00022F; es wurde nichts geschrieben."},
        {"two writes side by side",
         {{{range(0x220, 16), {}}, {range(0x230, 4, "Event-Header"), {}}}, {}, 0xFF},
         ""},
        {"an empty write anywhere", {{{range(0x10, 0), {}}}, {}, 0xFF}, ""},
    };
    TRom rom = imageRom();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.says.empty()) {
            EXPECT_NO_THROW(requirePlacement(rom, c.placement));
            continue;
        }
        try {
            requirePlacement(rom, c.placement);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace quillon
