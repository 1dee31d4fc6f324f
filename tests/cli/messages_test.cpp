#include <gtest/gtest.h>

#include <fstream>

#include "cli/cli_messages.h"
#include "cli/cli_pictures.h"
#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/edit/map_attributes.h"
#include "core/edit/tileset_choice.h"
#include "core/errors.h"
#include "core/mapfile/map_file.h"
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

romkit::BuiltRom twoBanks() {
    romkit::RomBuilder b = testing::twoPairBuilder();
    b.addMap(testing::chequerMap(0, 0, 0));
    b.addMap(testing::chequerMap(0, 1, 0));
    b.addMap(testing::chequerMap(1, 0, 2));
    return b.build();
}

TEST(CliMessages, MapIdsOutsideTheRomSayWhatTheRomHas) {
    OpenRom open(twoBanks());
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

TEST(CliMessages, FilesThatAreNoRomImagesAreNamed) {
    testing::TempDir dir;
    std::ofstream(dir.file("short.gba")) << "not a rom";
    std::ofstream(dir.file("blank.gba")) << std::string(0x200, '\0');
    const romkit::BuiltRom rom = twoBanks();
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
        romkit::BuiltRom rom = twoBanks();
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
        const std::string message =
            cli::englishMessage(messageOf([&] { map_file::read(dir.file(c.file)); }));
        EXPECT_TRUE(message.ends_with(c.tail)) << message;
    }
}

// Values the game cannot use, refused by the core before writing: the reasons in English.
TEST(CliMessages, RefusedTilesetsAndNameIndexesAreReportedInEnglish) {
    OpenRom open(twoBanks());
    TRom& rom = open.session.rom();
    const GameProfile& profile = open.session.profile();
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
        const std::string message = cli::englishMessage(messageOf(c.run));
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
    }
}

}  // namespace
}  // namespace quillon
