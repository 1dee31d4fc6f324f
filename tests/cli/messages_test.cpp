#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QImage>
#include <fstream>

#include "cli/cli_messages.h"
#include "cli/cli_pictures.h"
#include "core/base/numbers.h"
#include "core/blocks/palette_import.h"
#include "core/blocks/tileset_import.h"
#include "core/config/game_profile.h"
#include "core/writers/map_attributes.h"
#include "core/writers/tileset_choice.h"
#include "core/errors.h"
#include "core/rom/history_file.h"
#include "core/rom/trom.h"
#include "core/mapfile/map_file.h"
#include "core/rom/placement.h"
#include "core/session/map_saving.h"
#include "core/rom/trom.h"
#include "imageio/import_files.h"
#include "tests/cli/cli_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

std::string messageOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(CliMessages, MapIdsOutsideTheRomSayWhatTheRomHas) {
    OpenRom open(testing::twoBankRom());
    const struct {
        const char* id;
        const char* message;
    } cases[] = {
        {"9.9", "map 9.9: there is no bank 9 (the ROM has 2 banks)"},
        {"2.0", "map 2.0: there is no bank 2 (the ROM has 2 banks)"},
        {"0.2", "map 0.2: there is no map 2 in bank 0 (it has 2 maps)"},
        {"1.1", "map 1.1: there is no map 1 in bank 1 (it has 1 map)"},
        {"town", "map town: not a map; give bank.map (e.g. 0.0) or a section of the map name file"},
        {"1.", "map 1.: not a map; give bank.map (e.g. 0.0) or a section of the map name file"},
        {"1.0", "(no error)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(messageOf([&] { cli::checkMapId(open.session, c.id); }), c.message) << c.id;
    }
}

// The last bank's maps are not listed, but the bank counts: a table of three banks whose last
// one holds maps has three banks, not two.
TEST(CliMessages, TheUnlistedLastBankCountsAsABank) {
    romkit::BuiltRom rom = testing::twoBankRom();
    const std::uint32_t header = rom.maps.at({0, 0}).header | 0x08000000u;
    for (std::uint32_t i = 0; i < 4; ++i) {
        rom.bytes[rom.mapTables.back() + i] = static_cast<std::uint8_t>(header >> (8 * i));
    }
    OpenRom open(std::move(rom));
    EXPECT_EQ(messageOf([&] { cli::checkMapId(open.session, "2.0"); }),
              "map 2.0: the maps of bank 2 are not listed: it is the last of the ROM's 3 banks, "
              "and where its map table ends is not known");
    EXPECT_EQ(messageOf([&] { cli::checkMapId(open.session, "3.0"); }),
              "map 3.0: there is no bank 3 (the ROM has 3 banks)");
    EXPECT_EQ(messageOf([&] { cli::openMapForWrite(open.session, "2.0"); }),
              "map 2.0: the maps of bank 2 are not listed: it is the last of the ROM's 3 banks, "
              "and where its map table ends is not known");
}

// A map whose size another program changed in the file after it was opened is not saved
// over; the refusal reads in English and the file keeps the other program's bytes.
TEST(CliMessages, RefusedWritesOfTheMapReadInEnglish) {
    const romkit::BuiltRom built = testing::twoBankRom();
    OpenRom open(built);
    open.session.openMap("0.0", "0.0");
    {
        std::fstream file(open.file(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(built.maps.at({0, 0}).footer);  // the width
        file.put('\x55');
    }
    std::ifstream in(open.file(), std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(testing::cliErrorOf([&] { saveOpenMap(open.session.rom(), open.session.mapState()); }),
              "the map changed in the ROM since it was opened; reopen it");
    std::ifstream again(open.file(), std::ios::binary);
    EXPECT_TRUE(std::string((std::istreambuf_iterator<char>(again)), {}) == before);
}

TEST(CliMessages, FilesThatAreNoRomImagesAreNamed) {
    testing::TempDir dir;
    std::ofstream(dir.file("short.gba")) << "not a rom";
    std::ofstream(dir.file("blank.gba")) << std::string(0x200, '\0');
    const romkit::BuiltRom rom = testing::twoBankRom();
    romkit::writeRomFile(dir.file("good.gba"), rom);
    const struct {
        std::filesystem::path file;
        const char* tail;
    } cases[] = {
        {dir.file("missing.gba"), "missing.gba\": no such file"},
        {dir.path(), "\" is not a ROM image file (it is a folder or device)"},
        {dir.file("short.gba"),
         "short.gba\" is not a GBA ROM image: it has only 9 bytes, "
         "less than a cartridge header"},
        {dir.file("blank.gba"), "blank.gba\" is not a GBA ROM image: it has no cartridge header"},
    };
    for (const auto& c : cases) {
        const std::string message = messageOf([&] { cli::checkRomFile(c.file); });
        EXPECT_TRUE(message.ends_with(c.tail)) << message;
    }
    EXPECT_NO_THROW(cli::checkRomFile(dir.file("good.gba")));
}

// Damaged maps: the core's messages reach the user in English, with the map named.
TEST(CliMessages, DamagedMapsAreReportedInEnglish) {
    const struct {
        const char* what;
        std::function<void(romkit::BuiltRom&)> damage;
        const char* message;
    } cases[] = {
        {"event header past the end",
         [](romkit::BuiltRom& r) {
             testing::patch32(r, r.maps.at({0, 1}).header + 4, 0x080FFFFC);
         },
         "map 0.1: the map's event header at $0FFFFC lies past the end of the file"},
        {"map too large",
         [](romkit::BuiltRom& r) {
             testing::patch32(r, r.maps.at({0, 1}).footer, 0x4000);
             testing::patch32(r, r.maps.at({0, 1}).footer + 4, 0x4000);
         },
         "map 0.1: the map is 16384 x 16384 blocks; at most"},
    };
    for (const auto& c : cases) {
        romkit::BuiltRom rom = testing::twoBankRom();
        c.damage(rom);
        OpenRom open(rom);
        cli::PictureMaker maker(open.session);
        const std::string message = messageOf([&] { maker.render("0.1", {}); });
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << c.what << ": " << message;
    }
}

// Map and event files that are no such files: the readers' refusals in English.
TEST(CliMessages, MapFilesThatAreNoFilesAreReportedInEnglish) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.file("Folder.map"));
    std::ofstream(dir.file("Big.map")) << "x";
    std::filesystem::resize_file(dir.file("Big.map"), 20000);
    const struct {
        const char* file;
        const char* tail;
    } cases[] = {
        {"Folder.map", "Folder.map\" is not a regular file; not read"},
        {"Big.map", "Big.map\" has 20000 bytes; at most 16026 expected"},
    };
    for (const auto& c : cases) {
        cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English");
        const std::string message = testing::cliErrorOf([&] { map_file::read(dir.file(c.file)); });
        EXPECT_TRUE(message.ends_with(c.tail)) << message;
    }
}

bool german(const std::string& text) {
    for (const char* word : {"ä", "ö", "ü", "ß", "Verlauf", " wird ", " nicht "}) {
        if (text.find(word) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The history's refusals, raised by the real calls: in English, naming what they name.
TEST(CliMessages, HistoryRefusalsAreEnglish) {
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English");
    testing::TempDir dir;
    const auto rom = dir.file("t.gba");
    const auto history = dir.file("t.gba.quillon-history");
    std::vector<std::uint8_t> bytes(0x1000, 0xFF);
    bytes[0xB2] = 0x96;
    const auto put = [&] {
        std::ofstream(rom, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    };
    put();
    const auto write = [](TRom& t, std::uint8_t value) {
        TRom::Transaction tx(t, message("history.name.weather", {"0.1"}), "0.1");
        t.WriteByte(0x300, value);
        tx.commit();
    };
    const auto open = [&](int lockWaitMs) {
        auto t = std::make_unique<TRom>();
        t->history().setFileMaker([lockWaitMs](const std::filesystem::path& p) {
            return std::make_unique<DiskHistoryFile>(p, lockWaitMs);
        });
        t->Open(rom);
        t->openHistory(history);
        return t;
    };
    std::vector<std::pair<std::string, std::string>> seen;  // English, expected start
    auto t = open(0);
    const int held = ::open(history.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ::flock(held, LOCK_EX);
    seen.emplace_back(testing::cliErrorOf([&] { write(*t, 1); }), "the history file \"t.gba.quillon-");
    ::close(held);
    int writes = 0;
    t->history().setWriteHook([&writes] {
        if (++writes == 3) {
            throw RomIoError("crash");
        }
    });
    EXPECT_THROW(write(*t, 2), RomIoError);  // cut off before its mark
    seen.emplace_back(testing::cliErrorOf([&] { write(*t, 3); }),
                      "the history holds an unfinished transaction (\"Change weather 0.1\")");
    bytes[0x300] = 0x42;  // neither the old nor the new byte
    put();
    seen.emplace_back(testing::cliErrorOf([&] { t->finishUnfinished(true); }),
                      "\"Change weather 0.1\" is not completed: the ROM holds neither");
    std::filesystem::copy_file(rom, dir.file("new.gba"));
    std::filesystem::rename(dir.file("new.gba"), rom);
    seen.emplace_back(testing::cliErrorOf([&] { t->finishUnfinished(true); }), "the ROM file \"t.gba\"");
    t = open(0);
    seen.emplace_back(cli::messageText(t->history().notices().at(0)),
                      "the history file \"t.gba.quillon-history\"");
    for (auto& [message, start] : seen) {
        EXPECT_EQ(message.rfind(start, 0), 0u) << message;
        EXPECT_FALSE(german(message)) << message;
    }
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// Each refusal of the placement check, raised by the core itself, reads in English with the
// names of the ranges translated.
TEST(CliMessages, PlacementRefusalsAreEnglish) {
    std::vector<std::uint8_t> bytes(0x400, 0xFF);
    std::fill_n(bytes.begin() + 0x200, 4, 0x12);
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(std::move(bytes)), "p.gba");
    const RomRange header{0x300, 28, ownedName(place_name::kHeader, "3.0")};
    const struct {
        Placement placement;
        const char* english;
    } cases[] = {
        {{{{{0x80, 8, place_name::kGrid}, {}}}, {}, 0xFF},
         "the grid at $000080 (8 bytes) reaches into the cartridge header (up to $0000BF); "
         "nothing was written"},
        {{{{{0x3FC, 8, place_name::kEventTables}, {}}}, {}, 0xFF},
         "the event tables at $0003FC (8 bytes) run past the end of the file (it ends at "
         "$000400); nothing was written"},
        {{{{{0x2F8, 20, ownedName(place_name::kConnections, "0.3")}, {}}}, {header}, 0xFF},
         "the connection records of map 0.3 at $0002F8 (20 bytes) are not free at $000300: the "
         "map header of map 3.0 at $000300 (28 bytes) lies there; nothing was written"},
        {{{{{0x1FE, 4, place_name::kName}, {}}}, {}, 0xFF},
         "the map name at $0001FE (4 bytes) is not free at $000200: the byte there is $12, not "
         "the fill byte $FF; nothing was written"},
        {{{{{0x100, 8, place_name::kGrid}, {}}, {{0x104, 20, place_name::kEventHeader}, {}}},
          {},
          0xFF},
         "the grid at $000100 (8 bytes) and the event header at $000104 (20 bytes) overlap at "
         "$000104; nothing was written"},
    };
    for (const auto& c : cases) {
        const auto run = [&] { requirePlacement(rom, c.placement); };
        EXPECT_EQ(testing::cliErrorOf(run), c.english) << messageOf(run);
    }
}

// Values the game cannot use, refused by the core before writing: the reasons in English.
TEST(CliMessages, RefusedTilesetsAndNameIndexesAreReportedInEnglish) {
    OpenRom open(testing::twoBankRom());
    TRom& rom = open.session.rom();
    const GameProfile& profile = open.session.romState().profile();
    const std::string table = hexOffset(static_cast<std::uint32_t>(profile.tilesetHeader));
    const std::string second = hexOffset(static_cast<std::uint32_t>(profile.tilesetHeader) + 24);
    const std::string between = hexOffset(static_cast<std::uint32_t>(profile.tilesetHeader) + 8);
    const struct {
        std::function<void()> run;
        std::string message;
    } cases[] = {
        {[&] { tileset_choice::headerFromText(rom, profile, "1", 1); },
         "tileset1 1: the tileset header at " + second +
             " is a secondary one (byte 1 = 1); the first tileset must be primary"},
        {[&] { tileset_choice::headerFromText(rom, profile, "0", 2); },
         "tileset2 0: the tileset header at " + table +
             " is a primary one (byte 1 = 0); the second tileset must be secondary"},
        {[&] { tileset_choice::headerFromText(rom, profile, between, 2); },
         "tileset2 " + between + ": there is no tileset header at " + between},
        {[&] { tileset_choice::headerFromText(rom, profile, "one", 1); },
         "tileset1: \"one\" is neither a tileset number nor a header's $ offset"},
        {[&] { map_attributes::checkNameIndex(profile, 250); },
         "name_index 250: the ROM's map name table holds the names 0 to " +
             std::to_string(profile.mapNameCount) + " (AnzMapNamen)"},
    };
    for (const auto& c : cases) {
        const std::string message = testing::cliErrorOf(c.run);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
    }
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The refusals of tile and palette imports, raised by the core, read in English; so do the
// names of the ranges and transactions they write.
TEST(CliMessages, ImportRefusalsAreEnglish) {
    testing::OpenRom open(testing::twoBankRom());
    Session& s = open.session;
    s.openMap("0.0", "0.0");
    const auto picture = [](int width, int height, std::uint8_t index) {
        return blocks::IndexedPicture{
            width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height),
                                                     index)};
    };
    const auto tiles = [&](const blocks::IndexedPicture& p) {
        return [&s, p] {
            blocks::planTileImport(s.rom(), s.romState().profile(), s.romState().tilesets(),
                                   s.mapState().map(), 1, p);
        };
    };
    const auto palette = [&](int part, int number, std::size_t count) {
        return [&s, part, number, count] {
            const std::vector<blocks::PaletteColour> colours(count);
            blocks::importPalette(s.rom(), s.romState().tilesets(), s.mapState().map(), part,
                                  number, colours, blocks::ColourCount::Refuse, "0.0");
        };
    };
    const auto file = [](std::string text) {
        return [text] {
            blocks::readPaletteFile(std::vector<std::uint8_t>(text.begin(), text.end()));
        };
    };
    const auto place = [&s](std::vector<PlannedWrite> writes) {
        return [&s, writes] { requirePlacement(s.rom(), {writes, {}, kFreeFill}); };
    };
    const struct {
        std::function<void()> run;
        std::string english;
    } cases[] = {
        {tiles(picture(120, 8, 0)),
         "the picture is 120 pixels wide; a tileset picture is 128 pixels (16 tiles) wide"},
        {tiles(picture(128, 9, 0)),
         "the picture is 9 pixels high; a tileset picture has 8 pixels a row of tiles"},
        {tiles(picture(128, 8 * 33, 0)), "the picture has 528 tiles; tileset part 1 holds 512"},
        {tiles(picture(128, 8, 17)),
         "tile 0, pixel (0, 0) has the colour index 17; a tile knows only 0 to 15"},
        {palette(2, 3, 16),
         "palette 3 belongs to tileset part 1 (palettes 0 to 5), not to part 2"},
        {palette(1, 3, 2), "the file has 2 colours; a palette has 16"},
        {file("x"),
         "the palette file has 1 bytes; expected are 64 bytes (16 colours) or JASC-PAL text"},
        {file("JASC-PAL\n0100\n300\n"),
         "the JASC-PAL file is broken: line 3 is not the number of colours (0 to 256)"},
        {file("JASC-PAL\n0100\n1\n1 2\n"),
         "the JASC-PAL file is broken: line 4 is not a colour \"R G B\" (each 0 to 255)"},
        {place({{{0x80, 8, tilesetOwnedName(place_name::kTiles, 0)}, {}}}),
         "the tile data of tileset 0 at $000080 (8 bytes) reaches into the cartridge header (up "
         "to $0000BF); nothing was written"},
        {place({{{0x100, 8, tilesetOwnedName(place_name::kTilesetHeader, 1)}, {}},
                {{0x104, 32, tilesetOwnedName(paletteName(8), 1)}, {}}}),
         "the tileset header of tileset 1 at $000100 (8 bytes) and palette 8 of tileset 1 at "
         "$000104 (32 bytes) overlap at $000104; nothing was written"},
        {[] { throw Error(message("import.tiles_longer", {"700", "$0021B4", "643"})); },
         "the new tile data (700 bytes LZ77) are longer than the old ones at $0021B4 (643 bytes) "
         "and need a new place"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testing::cliErrorOf(c.run), c.english) << messageOf(c.run);
    }
    // The files as the import reads them.
    const std::string missing = (open.dir.path() / "fehlt.png").string();
    const QString truecolour = QString::fromStdString((open.dir.path() / "rgb.bmp").string());
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB888).save(truecolour));
    const struct {
        std::function<void()> run;
        std::string english;
    } files[] = {
        {[&] { imageio::readIndexedPicture(QString::fromStdString(missing)); },
         "cannot read the picture \"" + missing + "\": "},
        {[&] { imageio::readPaletteColours(QString::fromStdString(missing)); },
         "cannot read \"" + missing + "\": "},
        {[&] { imageio::readIndexedPicture(truecolour); },
         "the picture \"" + truecolour.toStdString() +
             "\" is truecolour (no colour table); an indexed PNG or BMP of at most 256 colours "
             "is needed"},
    };
    for (const auto& f : files) {
        const std::string english = testing::cliErrorOf(f.run);
        EXPECT_EQ(english.substr(0, f.english.size()), f.english) << english;
    }
}

}  // namespace
}  // namespace quillon
