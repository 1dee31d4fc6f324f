#include "core/blocks/palette_import.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/gfx/palette.h"
#include "core/session/map_opening.h"
#include "core/session/open_map_history.h"
#include "tests/blocks/import_test_rom.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using blocks::PaletteColour;
using romkit::Family;
using testing::OpenedRom;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

void import(OpenedRom& o, int part, int palette, const std::vector<PaletteColour>& colours,
            blocks::ColourCount count = blocks::ColourCount::Refuse) {
    Session& s = o.session();
    blocks::importPalette(s.rom(), s.romState().tilesets(), s.mapState().map(), part, palette,
                          colours, count, s.mapState().map().identifier);
    readTilesetsAgain(s.rom(), s.romState(), s.mapState(), s.data().tilesets());
}

// Colour i: red 8 * i + 7 (the low 3 bits dropped), green 200, blue 255 - 16 * i.
std::vector<PaletteColour> newColours(std::size_t count) {
    std::vector<PaletteColour> colours;
    for (std::size_t i = 0; i < count; ++i) {
        colours.push_back(
            {static_cast<std::uint8_t>(8 * i + 7), 200, static_cast<std::uint8_t>(255 - 16 * i)});
    }
    return colours;
}

// The ROM's palette bytes with colours 0..n-1 replaced by newColours(n).
std::map<std::uint32_t, std::uint8_t> newBytes(std::uint32_t at, std::size_t n) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint16_t word = static_cast<std::uint16_t>(i | 25 << 5 | (31 - 2 * i) << 10);
        bytes[at + 2 * static_cast<std::uint32_t>(i)] = static_cast<std::uint8_t>(word);
        bytes[at + 2 * static_cast<std::uint32_t>(i) + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    return bytes;
}

// Both export forms of every palette read back and stored as 15-bit colours give the ROM's
// words again.
TEST(PaletteImport, ExportedPalettesReadBackToTheRomsColours) {
    OpenedRom o(testing::buildImportRom(Family::Frlg, false), "0.0");
    const auto image = o.image();
    const TPalette& palette = o.session().romState().tilesets().palette();
    for (int p = 0; p < 16; ++p) {
        const std::string text = blocks::jascPaletteText(palette, p);
        const auto binary = blocks::paletteFileBytes(palette, p);
        for (const auto& colours :
             {blocks::readPaletteFile(bytesOf(text)), blocks::readPaletteFile(binary)}) {
            ASSERT_EQ(colours.size(), 16u);
            const std::uint32_t at = o.built().tilesets[p < 7 ? 0 : 1].palettes + 32u * p;
            for (std::size_t c = 0; c < 16; ++c) {
                const auto word = blocks::gbaColourWord(colours[c]);
                EXPECT_EQ(word & 0xFF, image[at + 2 * c]) << p << "/" << c;
                EXPECT_EQ(word >> 8, image[at + 2 * c + 1]) << p << "/" << c;
            }
        }
    }
}

TEST(PaletteImport, BrokenFilesAreRefusedNamingTheLine) {
    const struct {
        std::string file;
        const char* message;
    } cases[] = {
        {std::string(63, '\0'),
         "Die Palettendatei ist 63 Bytes lang; erwartet sind 64 Bytes "
         "(16 Farben) oder JASC-PAL-Text."},
        {"JASC-PAL\n0101\n1\n1 2 3\n",
         "Die JASC-PAL-Datei ist fehlerhaft: in Zeile 2 steht nicht \"0100\"."},
        {"JASC-PAL\n0100\n2x\n",
         "Die JASC-PAL-Datei ist fehlerhaft: in Zeile 3 steht nicht "
         "die Anzahl der Farben (0 bis 256)."},
        {"JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n1 256 3\r\n",
         "Die JASC-PAL-Datei ist fehlerhaft: in Zeile 5 steht nicht eine Farbe \"R G B\" (je 0 "
         "bis 255)."},
        {"JASC-PAL\n0100\n3\n1 2 3\n4 5 6\n",
         "Die JASC-PAL-Datei ist fehlerhaft: in Zeile 6 steht nicht eine Farbe \"R G B\" (je 0 "
         "bis 255)."},
    };
    for (const auto& c : cases) {
        try {
            blocks::readPaletteFile(bytesOf(c.file));
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    const auto two = blocks::readPaletteFile(bytesOf("JASC-PAL\n0100\n2\n1 2 3\n 4 5 6 \n"));
    EXPECT_EQ(two, (std::vector<PaletteColour>{{1, 2, 3}, {4, 5, 6}}));
}

// A palette of each part of each family: exactly its 32 bytes change, the map draws the new
// colour, undo brings the old file back.
TEST(PaletteImport, WritesThePaletteOfItsPartAndUndoes) {
    const struct {
        Family family;
        int part;
        int palette;
    } cases[] = {
        {Family::Rse, 1, 2}, {Family::Rse, 2, 8}, {Family::Frlg, 1, 2}, {Family::Frlg, 2, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.part) + "/" + std::to_string(c.palette));
        OpenedRom o(testing::buildImportRom(c.family, false), "0.0");
        Session& s = o.session();
        const auto before = o.image();
        const int x = c.part == 1 ? 0 : 16;  // tile 1's pixel (0, 0) is colour 1
        const std::uint32_t at = o.built().tilesets[c.part - 1].palettes + 32u * c.palette;
        const std::uint32_t oldColour = s.mapState().pictures().map().pixel(x, 0);

        import(o, c.part, c.palette, newColours(16));

        testing::expectOnly(before, o.image(), newBytes(at, 16));
        ASSERT_EQ(s.rom().history().entries().size(), 1u);
        EXPECT_EQ(s.rom().history().entries()[0].name,
                  "Palette laden " + std::to_string(c.palette));
        EXPECT_EQ(s.mapState().pictures().map().pixel(x, 0),
                  GbaColourToRgb(1 | 25 << 5 | 29 << 10));
        undoWithOpenMap(s.rom(), s.romState(), s.mapState(), s.data().tilesets(),
                        s.rom().history().entries()[0].id);
        EXPECT_EQ(o.image(), before);
        EXPECT_EQ(s.mapState().pictures().map().pixel(x, 0), oldColour);
    }
}

// The palette ranges decide the part (palette 6 is part 1's on FireRed/LeafGreen, part 2's
// on the others); a count other than 16 is refused or fitted as asked; refusals write
// nothing, and colours the palette holds already write no transaction.
TEST(PaletteImport, CountsAndRangesAreCheckedBeforeAnyWrite) {
    const struct {
        Family family;
        int part;
        int palette;
        std::size_t colours;
        blocks::ColourCount count;
        std::size_t written;  // colours written; 0: refused with message
        const char* message;
    } cases[] = {
        {Family::Rse, 1, 6, 16, blocks::ColourCount::Refuse, 0,
         "Palette 6 gehört zu Tileset-Teil 2 (Paletten 6 bis 15), nicht zu Teil 1."},
        {Family::Frlg, 2, 6, 16, blocks::ColourCount::Refuse, 0,
         "Palette 6 gehört zu Tileset-Teil 1 (Paletten 0 bis 6), nicht zu Teil 2."},
        {Family::Frlg, 2, 16, 16, blocks::ColourCount::Refuse, 0,
         "Palette 16 gibt es nicht (0 bis 15)."},
        {Family::Rse, 2, 6, 15, blocks::ColourCount::Refuse, 0,
         "Die Datei hat 15 Farben; eine Palette hat 16."},
        {Family::Rse, 2, 6, 256, blocks::ColourCount::Refuse, 0,
         "Die Datei hat 256 Farben; eine Palette hat 16."},
        {Family::Rse, 2, 6, 3, blocks::ColourCount::Fit, 3, ""},
        {Family::Frlg, 1, 6, 256, blocks::ColourCount::Fit, 16, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colours);
        OpenedRom o(testing::buildImportRom(c.family, true), "0.0");
        Session& s = o.session();
        const auto before = o.image();
        if (c.written == 0) {
            try {
                import(o, c.part, c.palette, newColours(c.colours), c.count);
                ADD_FAILURE() << "accepted: " << c.message;
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), c.message);
            }
            EXPECT_EQ(o.image(), before);
            EXPECT_TRUE(s.rom().history().entries().empty());
            continue;
        }
        import(o, c.part, c.palette, newColours(c.colours), c.count);
        const std::uint32_t at = o.built().tilesets[c.part - 1].palettes + 32u * c.palette;
        testing::expectOnly(before, o.image(), newBytes(at, c.written));
        import(o, c.part, c.palette, newColours(c.colours), c.count);
        EXPECT_EQ(s.rom().history().entries().size(), 1u) << "the same colours again write nothing";
    }
}

}  // namespace
}  // namespace quillon
