#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "cli/cli_messages.h"
#include "core/base/numbers.h"
#include "core/base/ini_file.h"
#include "core/writers/tileset_choice.h"
#include "core/connections/connection_table.h"
#include "core/errors.h"
#include "core/gfx/lz77.h"
#include "core/map/map_list.h"
#include "core/map/map_loader.h"
#include "core/mapfile/map_file.h"
#include "core/rom/trom.h"
#include "tests/cli/cli_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

void writeBytes(const std::filesystem::path& file, std::size_t count) {
    std::ofstream out(file, std::ios::binary);
    out << std::string(count, '\x11');
}

// A map header whose connection pointer is pointer.
MapHeader headerWithConnections(std::uint32_t pointer) {
    std::vector<std::uint8_t> raw(28, 0);
    for (int i = 0; i < 4; ++i) {
        raw[12 + i] = static_cast<std::uint8_t>(pointer >> 8 * i);
    }
    return MapHeader::decode(raw);
}

// The message of what run throws.
Message thrown(const std::function<void()>& run) {
    try {
        run();
    } catch (const Error& e) {
        return e.message();
    }
    return Message("(no error)");
}

// The text the tool prints for message in the section's language.
std::string printed(const Message& message, const std::string& section) {
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, section);
    std::string text = cli::messageText(message);
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English");
    return text;
}

struct Case {
    const char* family;
    std::function<Message()> make;
    std::string english;
    std::string german;
};

// One real failure of each family, raised by the core: the tool prints it in English by
// default and in German with --lang Deutsch, every argument at its place.
TEST(CliReadMessages, EachFamilyReadsInBothLanguages) {
    OpenRom open(testing::twoBankRom());
    Session& s = open.session;
    const std::string tilesetOne = "$" + IntToHex(s.romState().profile().tilesetHeader + 24, 6);
    const std::filesystem::path shortRom = open.dir.file("short.gba");
    writeBytes(shortRom, 100);
    const std::filesystem::path shortMap = open.dir.file("short.map");
    writeBytes(shortMap, 10);
    const std::string folder = open.dir.path().string();
    const std::string past = "$" + IntToHex(static_cast<std::int64_t>(s.rom().size()) + 16, 6);
    const std::filesystem::path missing = open.dir.file("missing.gba");
    const MapHeader inHeader = headerWithConnections(0x08000010);
    const MapHeader pastEnd = headerWithConnections(0x08000000 | (s.rom().size() + 16));
    // Two literals, then a reference three bytes back.
    const std::vector<std::uint8_t> kBackwards{0x10, 8, 0, 0, 0x20, 1, 2, 0x00, 0x02};
    romkit::BuiltRom tilesBeyondEnd = testing::twoBankRom();
    const std::uint32_t headerZero = tilesBeyondEnd.tilesetHeaderOffsets.at(0);
    for (int i = 0; i < 4; ++i) {
        tilesBeyondEnd.bytes[headerZero + 4 + i] = static_cast<std::uint8_t>(0x08EA1D68 >> 8 * i);
    }
    const std::string tilesetZero = "$" + IntToHex(headerZero, 6);
    const std::vector<Case> cases{
        {"rom", [&] { return thrown([&] { Session(open.folder).openRom(shortRom); }); },
         "\"short.gba\" is not a GBA ROM image: it has only 100 bytes, less than a cartridge "
         "header",
         "\"short.gba\" ist kein GBA-Rom: die Datei ist kürzer als ein GBA-Header (100 Bytes)."},
        {"scan", [&] { return thrown([&] { requireListedMap(s.romState().bankScan(), 0, 7); }); },
         "there is no map 7 in bank 0 (it has 2 maps)",
         "Map 0.7 gibt es nicht (Bank 0 hat 2 Maps)."},
        {"scan", [&] { return thrown([&] { requireListedMap(s.romState().bankScan(), 5, 0); }); },
         "there is no bank 5 (the ROM has 2 banks)",
         "Bank 5 gibt es nicht (das Rom hat 2 Banken)."},
        {"scan warning",
         [&] {
             const std::uint32_t end = static_cast<std::uint32_t>(s.rom().size()) + 16;
             return scanBanks(s.rom(), end, {}).warnings.at(0);
         },
         "the bank table at " + past + " lies past the end of the file: the ROM has no maps",
         "Die Bank-Tabelle (" + past + ") liegt hinter dem Dateiende."},
        {"map",
         [&] {
             return thrown([&] {
                 readMap(s.rom(), s.romState().profile(), s.data().mapsFile(), "300.2", "300.2", {});
             });
         },
         "there is no map 300.2 (banks and maps are numbered 0 to 255)",
         "Bank 300, Map 2 gibt es nicht."},
        {"tileset",
         [&] { return thrown([&] { tileset_choice::headerOffset(s.rom(), s.romState().profile(), -1, 1); }); },
         "tileset1 -1: tileset numbers are not negative",
         "Tileset1 -1: Tileset-Nummern sind nicht negativ."},
        {"tileset",
         [&] { return thrown([&] { tileset_choice::headerOffset(s.rom(), s.romState().profile(), 1, 1); }); },
         "tileset1 1: the tileset header at " + tilesetOne +
             " is a secondary one (byte 1 = 1); the first tileset must be primary",
         "Tileset1 1: der Tileset-Header (" + tilesetOne +
             ") ist sekundär (Byte 1 = 1); Tileset1 muss primär sein."},
        {"map file", [&] { return thrown([&] { map_file::read(shortMap); }); },
         "map file \"" + shortMap.string() + "\" has 10 bytes; a map file has at least 24",
         "Die Map-Datei \"" + shortMap.string() +
             "\" ist 10 Bytes lang; eine Map-Datei hat mindestens 24 Bytes."},
        {"file", [&] { return thrown([&] { map_file::read(open.dir.path()); }); },
         "\"" + folder + "\" is not a regular file; not read",
         "Die Datei \"" + folder + "\" ist keine gewöhnliche Datei und wurde nicht gelesen."},
        {"rom copy",
         [&] {
             return thrown([&] { s.rom().SaveAs(open.dir.file("no/copy.gba")); });
         },
         "cannot make the copy \"" + open.dir.file("no/copy.gba").string() +
             "\": file not found",
         "Die Kopie \"" + open.dir.file("no/copy.gba").string() +
             "\" konnte nicht angelegt werden: File not found"},
        {"number", [&] { return thrown([&] { StrToInt("12x"); }); },
         "'12x' is not a valid integer value", "'12x' is not a valid integer value"},
        {"settings", [&] { return thrown([&] { s.settings().setBlockPaletteWidth(0); }); },
         "the width must be between 1 and 1025", "Die Breite muss zwischen 1 und 1025 liegen."},
        {"session", [&] { return thrown([&] { Session(open.folder).openMap("0.0", "t"); }); },
         "no ROM is open", "Es ist kein Rom geladen."},
        {"rom file", [&] { return thrown([&] { Session(open.folder).openRom(missing); }); },
         "\"" + missing.string() + "\": no such file",
         "Die Datei \"" + missing.string() + "\" wurde nicht gefunden."},
        {"connection", [&] { return thrown([&] { readConnections(s.rom(), inHeader); }); },
         "the map's connection header at $000010 lies in the cartridge header",
         "Der Anbindungskopf ($000010) liegt im Rom-Header."},
        {"connection", [&] { return thrown([&] { readConnections(s.rom(), pastEnd); }); },
         "the map's connection header at " + past + " (8 bytes) runs past the end of the file",
         "Der Anbindungskopf (" + past + ", 8 Bytes) liegt hinter dem Dateiende."},
        {"compression", [&] { return thrown([&] { lz77Decompress(kBackwards, 64); }); },
         "LZ77: a reference at output byte 2 points 3 bytes back, before the start of the data",
         "LZ77: Ein Verweis bei Ausgabe-Byte 2 zeigt 3 Bytes zurück, vor den Anfang der Daten."},
        {"tilesets",
         [&] { return thrown([&] { OpenRom(tilesBeyondEnd).session.openMap("0.0", "t"); }); },
         "tileset 0 (header at " + tilesetZero + "): tile data at $EA1D68 runs past the end of "
         "the file",
         "Tileset 0 (Header bei " + tilesetZero + "): Tile-Daten bei $EA1D68: hinter dem Ende der "
         "Datei."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        const Message m = c.make();
        EXPECT_TRUE(m.hasId()) << m.text;
        EXPECT_EQ(printed(m, "English"), c.english);
        EXPECT_EQ(printed(m, "Deutsch"), c.german);
        EXPECT_EQ(germanText(m), c.german);  // what the window shows and what() says
    }
}

// A map whose block grid runs past the end of the file: the transfer's failure becomes the
// map's, in the tool's language.
TEST(CliReadMessages, AGridPastTheEndNamesTheMap) {
    romkit::BuiltRom built = testing::twoBankRom();
    const std::uint32_t gridPointer = built.maps.at({0, 1}).footer + 12;
    const auto pastEnd = static_cast<std::uint32_t>(built.bytes.size()) - 8;
    for (int i = 0; i < 4; ++i) {
        built.bytes[gridPointer + i] = static_cast<std::uint8_t>((0x08000000u | pastEnd) >> 8 * i);
    }
    OpenRom open(built);
    Session& s = open.session;
    const Message m = thrown(
        [&] { readMap(s.rom(), s.romState().profile(), s.data().mapsFile(), "0.1", "0.1", {}); });
    EXPECT_EQ(printed(m, "English"), "a table of map 0.1 lies past the end of the file");
    EXPECT_EQ(printed(m, "Deutsch"), "Read beyond end of file (Map 0.1)");
}

// A wrapper names the map it read and keeps the reason as a message of its own, so the reason
// reads in the same language as the whole.
TEST(CliReadMessages, WrappedReasonsKeepTheirIds) {
    const ConversionError inner("abc");
    const ConversionError outer(inner, "Map 3.1");
    ASSERT_EQ(outer.message().args.size(), 2u);
    EXPECT_EQ(outer.message().args[0].id, "number.invalid");
    EXPECT_STREQ(outer.what(), "'abc' is not a valid integer value (Map 3.1)");
    EXPECT_EQ(cli::errorText(outer), "'abc' is not a valid integer value (Map 3.1)");
}

}  // namespace
}  // namespace quillon
