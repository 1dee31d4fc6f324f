#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_render_all.h"
#include "core/config/settings.h"
#include "core/errors.h"
#include "core/gfx/tile_entry.h"
#include "imageio/bitmap_io.h"
#include "tests/cli/cli_test_rom.h"

namespace quillon {
namespace {

using testing::OpenRom;

// Five maps whose tileset pairs alternate from map to map, a sixth whose footer lies past the
// end of the file.
romkit::BuiltRom mixedRom(bool withBrokenMap) {
    romkit::RomBuilder b = testing::twoPairBuilder();
    b.addMap(testing::chequerMap(0, 0, 0));
    b.addMap(testing::chequerMap(0, 1, 2));
    b.addMap(testing::chequerMap(0, 2, 0));
    b.addMap(testing::chequerMap(1, 0, 2));
    b.addMap(testing::chequerMap(1, 1, 0));
    if (withBrokenMap) {
        b.addMap(testing::chequerMap(1, 2, 2));
    }
    for (const char* name : {"FIRST", "SECOND"}) {
        b.addMapName(name);
    }
    romkit::BuiltRom rom = b.build();
    if (withBrokenMap) {
        testing::patch32(rom, rom.maps.at({1, 2}).header, 0x080FFFF8);
    }
    return rom;
}

nlohmann::json readJson(const std::filesystem::path& file) {
    std::ifstream in(file);
    return nlohmann::json::parse(in);
}

// The picture the editor shows for the map when it opens it first in a fresh session.
QImage pictureOnItsOwn(Session& session, const std::string& id, bool grid = false) {
    session.settings().setFlag(Settings::Flag::Grid, grid);
    session.openMap(id, id);
    return imageio::wrapBitmap(session.mapState().pictures().map()).copy();
}

QImage pictureOnItsOwn(const romkit::BuiltRom& rom, const std::string& id, bool grid = false) {
    OpenRom alone(rom);
    return pictureOnItsOwn(alone.session, id, grid);
}

// The colour type of a PNG file's header: 2 for red, green and blue, 3 for a palette.
int pngColourType(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(26, '\0');
    in.read(head.data(), 26);
    return in ? static_cast<unsigned char>(head[25]) : -1;
}

// Drawing order follows the tileset pairs, not the list: every file must still show its own
// map with its own tilesets, and the index must list the maps in bank order.
TEST(RenderAll, EveryMapMatchesItsOwnPictureAndTheIndexListsThemInOrder) {
    const romkit::BuiltRom rom = mixedRom(false);
    // The two pairs look different, so a map drawn with the other pair shows it.
    ASSERT_NE(pictureOnItsOwn(rom, "0.0"), pictureOnItsOwn(rom, "0.1"));
    OpenRom open(rom);
    testing::TempDir out;
    std::ostringstream errors;
    const auto result = cli::renderAll(open.session, out.path() / "pictures", {}, errors, nullptr);
    EXPECT_EQ(result.written, 5);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(errors.str(), "");

    const nlohmann::json index = readJson(out.path() / "pictures" / "index.json");
    const std::vector<std::string> ids{"0.0", "0.1", "0.2", "1.0", "1.1"};
    ASSERT_EQ(index["maps"].size(), ids.size());
    EXPECT_TRUE(index["failed"].empty());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto& entry = index["maps"][i];
        SCOPED_TRACE(ids[i]);
        EXPECT_EQ(entry["id"], ids[i]);
        EXPECT_EQ(entry["file"], ids[i] + ".png");
        EXPECT_EQ(entry["name"], open.session.romState().bankScan().banks[i / 3][i % 3].name);
        const QImage written(
            QString::fromStdString((out.path() / "pictures" / (ids[i] + ".png")).string()));
        ASSERT_FALSE(written.isNull());
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), pictureOnItsOwn(rom, ids[i]));
    }
}

// Maps of two primaries that share a secondary tileset whose blocks draw the primary's tiles
// (so the kept secondary's blocks must follow the primary's palettes), one of them of a single
// cell. Tile i is colour i throughout; with manyColours the blocks show every colour of 16
// palettes of 256 different colours, the same in every tileset.
romkit::BuiltRom sharedSecondaryRom(bool manyColours) {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON TEST", "QTSE", 1 << 20);
    for (int t = 0; t < 3; ++t) {
        romkit::TilesetSpec tileset;
        for (int tile = 0; tile < 16; ++tile) {
            tileset.tiles.insert(tileset.tiles.end(), 32, static_cast<std::uint8_t>(tile * 0x11));
        }
        for (int p = 0; p < 16; ++p) {
            std::array<std::uint16_t, 16> colours{};
            for (int c = 0; c < 16; ++c) {
                const int shade = manyColours ? p * 16 + c : c * 3 + t;
                colours[static_cast<std::size_t>(c)] = static_cast<std::uint16_t>(shade << 5 | 1);
            }
            tileset.palettes.push_back(colours);
        }
        for (int k = 0; k < 512; ++k) {
            std::array<std::uint16_t, 8> entries{};
            for (int e = 0; e < 8; ++e) {
                const int palette = manyColours ? (k / 16 + e) % 16 : (k + e) % 3;
                // Blocks 0-255 have an empty upper layer (tile 0 shows colour 0 of its
                // palette, so nothing of it is drawn): their lower tiles show every colour.
                const int tile = e >= 4 && k < 256 ? 0 : (k + e) % 16;
                entries[static_cast<std::size_t>(e)] =
                    TileEntry::make(tile, e == 1, e == 2, palette).raw;
            }
            tileset.blocks.push_back(entries);
        }
        b.addTileset(tileset);
    }
    const int primaries[] = {0, 2, 0, 2};
    for (int m = 0; m < 4; ++m) {
        romkit::MapSpec map = testing::eventMap(0, m);
        map.primary = primaries[m];
        map.secondary = 1;
        if (m == 3) {
            map.width = map.height = 1;
        }
        map.grid.clear();
        for (int i = 0; i < map.width * map.height; ++i) {
            map.grid.push_back(static_cast<std::uint16_t>(i * 7 % 16 + (i % 3 == 0 ? 512 : 0)));
        }
        b.addMap(map);
    }
    return b.build();
}

// The map view is written as a palette PNG (or, when the palettes hold 256 colours and lines
// need black as well, as red, green and blue) whose pixels are the editor's own picture.
TEST(RenderAll, MapPicturesAreWrittenWithTheEditorsPixels) {
    struct Case {
        bool manyColours;
        bool grid;
        int colourType;
    } cases[] = {{false, false, 3}, {false, true, 3}, {true, false, 3}, {true, true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.manyColours ? "256 colours" : "few colours") +
                     (c.grid ? ", grid" : ""));
        const romkit::BuiltRom rom = sharedSecondaryRom(c.manyColours);
        OpenRom open(rom);
        testing::TempDir out;
        std::ostringstream errors;
        cli::PictureOptions options;
        options.grid = c.grid;
        EXPECT_EQ(cli::renderAll(open.session, out.path(), options, errors, nullptr).written, 4);
        for (const std::string id : {"0.0", "0.1", "0.2", "0.3"}) {
            SCOPED_TRACE(id);
            const std::filesystem::path file = out.path() / (id + ".png");
            EXPECT_EQ(pngColourType(file), id == "0.3" && c.grid ? 3 : c.colourType);
            const QImage written(QString::fromStdString(file.string()));
            EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
                      pictureOnItsOwn(rom, id, c.grid));
        }
    }
}

// The demo ROM, every map: the files show what the editor shows.
TEST(RenderAll, DemoMapsShowTheEditorsPictures) {
    testing::TempDir dir;
    const std::filesystem::path demo = dir.file("demo.gba");
    const std::string make = std::string("\"") + QUILLON_MKDEMO + "\" \"" + demo.string() + "\"";
    ASSERT_EQ(std::system(make.c_str()), 0);
    Session session(QUILLON_PROGRAM_FOLDER);
    session.settings().setPersistent(false);
    session.openRom(demo);
    std::ostringstream errors;
    const auto result = cli::renderAll(session, dir.path() / "pictures", {}, errors, nullptr);
    ASSERT_GT(result.written, 0);
    EXPECT_EQ(errors.str(), "");
    for (const auto& bank : session.romState().bankScan().banks) {
        for (const BankMap& m : bank) {
            const std::string id = std::to_string(m.bank) + "." + std::to_string(m.map);
            SCOPED_TRACE(id);
            const std::filesystem::path file = dir.path() / "pictures" / (id + ".png");
            EXPECT_EQ(pngColourType(file), 3);
            Session alone(QUILLON_PROGRAM_FOLDER);
            alone.settings().setPersistent(false);
            alone.openRom(demo);
            EXPECT_EQ(QImage(QString::fromStdString(file.string()))
                          .convertToFormat(QImage::Format_RGB32),
                      pictureOnItsOwn(alone, id));
        }
    }
}

TEST(RenderAll, AMapThatCannotBeReadIsReportedAndSkipped) {
    OpenRom open(mixedRom(true));
    testing::TempDir out;
    std::ostringstream errors;
    const auto result = cli::renderAll(open.session, out.path(), {}, errors, nullptr);
    EXPECT_EQ(result.written, 5);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].rfind("map 1.2: ", 0), 0u) << result.failures[0];
    EXPECT_NE(errors.str().find("map 1.2: "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out.path() / "1.2.png"));
    EXPECT_TRUE(std::filesystem::exists(out.path() / "1.1.png"));

    const nlohmann::json index = readJson(out.path() / "index.json");
    EXPECT_EQ(index["maps"].size(), 5u);
    ASSERT_EQ(index["failed"].size(), 1u);
    EXPECT_EQ(index["failed"][0]["id"], "1.2");
    EXPECT_EQ(index["failed"][0]["error"], result.failures[0]);
}

TEST(RenderAll, AnOutputPathThatIsAFileIsRefusedBeforeAnyMapIsDrawn) {
    OpenRom open(mixedRom(false));
    testing::TempDir out;
    std::ofstream(out.file("taken")) << "x";
    std::ostringstream errors;
    EXPECT_THROW(cli::renderAll(open.session, out.file("taken"), {}, errors, nullptr), Error);
    EXPECT_THROW(cli::renderAll(open.session, out.file("taken") / "below", {}, errors, nullptr),
                 Error);
}

}  // namespace
}  // namespace quillon
