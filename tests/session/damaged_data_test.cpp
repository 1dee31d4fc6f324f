#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <regex>

#include "core/errors.h"
#include "core/base/numbers.h"
#include "core/session/session.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

using testing::buildSampleRom;
using romkit::BuiltRom;

bool anyMentions(const std::vector<Message>& lines, const std::string& word) {
    return std::any_of(lines.begin(), lines.end(), [&](const Message& line) {
        return germanText(line).find(word) != std::string::npos;
    });
}

// The program folder of built with one profile key set to value.
void writeProfileWith(const testing::TempDir& dir, const BuiltRom& built, const std::string& key,
                      const std::string& value) {
    romkit::writeProgramFolder(dir.path(), built);
    const std::string profile = std::regex_replace(
        built.profileIni(), std::regex("\n" + key + "=[^\n]*\n"), "\n" + key + "=" + value + "\n");
    std::ofstream(dir.path() / "Ini" / "Quillon.ini", std::ios::binary | std::ios::trunc)
        << profile;
}

// Offsets no file can hold must not reach the arithmetic of the loaders: the ROM opens with a
// warning that names the key, and every map opens or fails with the editor's own error.
TEST(DamagedDataFiles, AbsurdProfileOffsetsAreNamedAndLeftUnused) {
    const BuiltRom built = buildSampleRom();
    const std::string size = std::to_string(built.bytes.size());
    const std::string past = std::to_string(built.bytes.size() + 1);
    const std::string absurd[] = {std::to_string(INT_MAX), std::to_string(INT_MIN), "-1", size,
                                  past};
    for (const char* key :
         {"MapBankHeader", "TilesetHeader", "NamenHeader", "PokemonNamen", "WildePokemon",
          "SpriteHeader", "SpritePaletten", "SpritePalHeader", "SpezialPalHeader",
          "FlugPosHeader", "FreierBereich"}) {
        for (const std::string& value : absurd) {
            testing::TempDir dir;
            writeProfileWith(dir, built, key, value);
            romkit::writeRomFile(dir.file("a.gba"), built);
            Session s(dir.path());
            s.openRom(dir.file("a.gba"));
            EXPECT_TRUE(anyMentions(s.romState().warnings(), key)) << key << "=" << value;
            try {
                s.openMap("0.1", "t");
                s.mapState().eventPicture();
            } catch (const Error&) {
            }
        }
    }
}

// A ROM cut short before its tables lists no maps and says why.
TEST(DamagedDataFiles, ARomCutShortBeforeItsTablesWarns) {
    const BuiltRom built = buildSampleRom();
    const std::uint32_t cuts[] = {built.bankTable,     built.bankTable + 2,
                                  built.bankTable + 4, built.bankTable + 8,
                                  built.mapTables[0],  built.maps.at({0, 0}).header + 4,
                                  0x200};
    for (std::uint32_t cut : cuts) {
        BuiltRom shortened = built;
        shortened.bytes.resize(cut);
        testing::TempDir dir;
        romkit::writeProgramFolder(dir.path(), built);
        romkit::writeRomFile(dir.file("a.gba"), shortened);
        Session s(dir.path());
        s.openRom(dir.file("a.gba"));
        EXPECT_FALSE(s.romState().warnings().empty())
            << "cut at $" << IntToHex(cut, 6) << ", " << s.romState().bankScan().mapCount()
            << " maps";
    }
}

TEST(DamagedDataFiles, ABankTableTextThatIsNoNumberIsNamedWithItsFileAndKey) {
    const BuiltRom built = buildSampleRom();
    testing::TempDir dir;
    writeProfileWith(dir, built, "MapBankHeader", "abc");
    romkit::writeRomFile(dir.file("a.gba"), built);
    Session s(dir.path());
    s.openRom(dir.file("a.gba"));
    try {
        s.openMap("0.0", "t");
        FAIL();
    } catch (const ConversionError& e) {
        const std::string message = e.what();
        for (const char* part : {"'abc' is not a valid integer value", "Quillon.ini",
                                 "MapBankHeader", "QUILLON TESTQTSE"}) {
            EXPECT_NE(message.find(part), std::string::npos) << message;
        }
    }
}

// A broken piece of a tileset is reported with the tileset number, the piece and its offset.
TEST(DamagedDataFiles, TilesetErrorsNameTheTilesetAndTheOffset) {
    const BuiltRom built = buildSampleRom();
    const std::uint32_t end = static_cast<std::uint32_t>(built.bytes.size());
    const std::uint32_t header0 = built.tilesetHeaderOffsets[0];
    const std::uint32_t header1 = built.tilesetHeaderOffsets[1];
    const std::uint32_t stream1 = built.tilesets[1].tiles;
    // How the loader names each tileset: its number and where its header lies.
    const std::string tileset0 = "Tileset 0 (Header bei $" + IntToHex(header0, 6) + ")";
    const std::string tileset1 = "Tileset 1 (Header bei $" + IntToHex(header1, 6) + ")";
    const std::string pastEnd = ": hinter dem Ende der Datei.";
    struct Case {
        std::uint32_t at;    // the word to overwrite
        std::uint32_t word;  // its new value
        std::string message;
    } cases[] = {
        {header0 + 4, 0x08EA1D68, tileset0 + ": Tile-Daten bei $EA1D68" + pastEnd},
        {header1 + 8, 0x08000000 | (end - 16),
         tileset1 + ": Palettendaten bei $" + IntToHex(end - 16, 6) + pastEnd},
        {header0 + 12, 0x08000000 | (end - 32),
         tileset0 + ": Block-Tabelle bei $" + IntToHex(end - 32, 6) + pastEnd},
        // The compressed picture's first item: a reference 4,096 bytes before the output.
        {stream1 + 4, 0xFF0F80,
         tileset1 + ": Tile-Daten bei $" + IntToHex(stream1, 6) + ": LZ77: Ein Verweis"},
    };
    for (const Case& c : cases) {
        BuiltRom damaged = built;
        testing::put32(damaged, c.at, c.word);
        testing::TempDir dir;
        romkit::writeProgramFolder(dir.path(), built);
        romkit::writeRomFile(dir.file("a.gba"), damaged);
        Session s(dir.path());
        s.openRom(dir.file("a.gba"));
        try {
            s.openMap("0.0", "t");
            ADD_FAILURE() << c.message;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace quillon
