#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_render_all.h"
#include "core/errors.h"
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
QImage pictureOnItsOwn(const romkit::BuiltRom& rom, const std::string& id) {
    OpenRom alone(rom);
    alone.session.openMap(id, id);
    return imageio::wrapBitmap(alone.session.mapState().pictures().map()).copy();
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
