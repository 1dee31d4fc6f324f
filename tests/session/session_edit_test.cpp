#include <gtest/gtest.h>

#include <fstream>

#include "core/errors.h"
#include "core/session/map_saving.h"
#include "core/session/session.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

using romkit::BuiltRom;
using testing::buildSampleRom;

// A ROM image whose writes fail, as a read-only file or a full disk does.
class FailingWrites final : public RomFile {
public:
    explicit FailingWrites(std::vector<std::uint8_t> bytes) : m_image(std::move(bytes)) {}
    void read(std::uint32_t offset, std::span<std::uint8_t> out) override {
        m_image.read(offset, out);
    }
    void write(std::uint32_t, std::span<const std::uint8_t>) override {
        throw RomIoError("File access denied");
    }
    std::uint64_t size() const override { return m_image.size(); }

private:
    MemoryRomFile m_image;
};

class SessionEditing : public ::testing::Test {
protected:
    void SetUp() override {
        m_built = buildSampleRom();
        romkit::writeProgramFolder(m_dir.path(), m_built);
        romkit::writeRomFile(m_dir.file("sample.gba"), m_built);
    }
    std::vector<std::uint8_t> romBytes(const std::string& name, std::uint32_t offset,
                                       std::size_t n) {
        std::ifstream in(m_dir.file(name), std::ios::binary);
        in.seekg(offset);
        std::vector<std::uint8_t> out(n);
        in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(n));
        return out;
    }
    testing::TempDir m_dir;
    BuiltRom m_built;
};

TEST_F(SessionEditing, PaintSaveAndReopenWritesExactlyTheGrid) {
    Session s(m_dir.path());
    s.openRom(m_dir.file("sample.gba"));
    s.openMap("0.1", "t");  // 5 x 3, movement value 1 everywhere
    const std::uint32_t grid = m_built.maps.at({0, 1}).grid;
    const auto before = romBytes("sample.gba", 0, m_built.bytes.size());

    s.mapState().editor().selectBlock(0x2A);
    s.mapState().editor().beginStroke();
    s.mapState().editor().paint(0, 0);
    s.mapState().editor().paint(1, 0);
    s.mapState().editor().endStroke();
    s.mapState().editor().selectMovement(0x0C);
    s.mapState().editor().fillMovement(4, 2);
    EXPECT_TRUE(s.mapState().modified());
    saveOpenMap(s.rom(), s.mapState());
    EXPECT_FALSE(s.mapState().modified());

    auto after = romBytes("sample.gba", 0, m_built.bytes.size());
    EXPECT_EQ(after[grid], 0x2A);
    EXPECT_EQ(after[grid + 1], 0x0C << 2) << "filled movement value in the high byte";
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < grid || i >= grid + 5 * 3 * 2) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i << " outside the grid changed";
        }
    }

    Session again(m_dir.path());
    again.openRom(m_dir.file("sample.gba"));
    again.openMap("0.1", "t");
    EXPECT_EQ(again.mapState().grid().at(1, 0).raw, (0x0C << 10) | 0x2A);
    EXPECT_FALSE(again.mapState().modified());
}

TEST_F(SessionEditing, UndoingBackToTheOpenedMapClearsTheModifiedState) {
    Session s(m_dir.path());
    s.openRom(m_dir.file("sample.gba"));
    s.openMap("0.0", "t");
    const auto first = s.mapState().grid().at(3, 2);
    s.mapState().editor().selectBlock(9);
    EXPECT_FALSE(s.mapState().editor().fillBlocks(3, 2).empty());
    EXPECT_TRUE(s.mapState().modified());
    s.mapState().editor().undo();
    EXPECT_FALSE(s.mapState().modified());
    EXPECT_EQ(s.mapState().grid().at(3, 2), first);

    s.mapState().editor().paint(0, 0);
    s.openMap("0.2", "t");  // the history belongs to the map
    EXPECT_FALSE(s.mapState().modified());
    EXPECT_FALSE(s.mapState().editor().canUndo());
}

TEST_F(SessionEditing, TheStampOutlivesTheMapButNotAPaletteChoiceOrAnotherRom) {
    Session s(m_dir.path());
    s.openRom(m_dir.file("sample.gba"));
    s.openMap("0.0", "t");  // 4 x 3, cell i holds block i % 16, movement 0
    s.mapState().editor().startSelection(1, 0);
    s.mapState().editor().dragSelection(2, 1);
    s.mapState().editor().endSelection();
    ASSERT_TRUE(s.mapState().editor().hasStamp());

    s.openMap("0.1", "t");  // 5 x 3, movement 1 everywhere
    ASSERT_TRUE(s.mapState().editor().hasStamp()) << "copied in one map, stamped into another";
    EXPECT_EQ(s.mapState().editor().paint(3, 1), (CellRect{3, 1, 2, 2}));
    EXPECT_EQ(s.mapState().grid().at(3, 1).raw, 1);
    EXPECT_EQ(s.mapState().grid().at(4, 1).raw, 2);
    EXPECT_EQ(s.mapState().grid().at(3, 2).raw, 5);
    EXPECT_EQ(s.mapState().grid().at(4, 2).raw, 6);
    EXPECT_EQ(s.mapState().grid().at(2, 1).raw, (1 << 10) | 7) << "left of the stamp untouched";

    s.mapState().editor().pickBlock(0, 0);
    EXPECT_FALSE(s.mapState().editor().hasStamp()) << "a pick-up drops it";
    s.mapState().editor().startSelection(0, 0);
    s.mapState().editor().endSelection();
    s.mapState().editor().selectBlock(3);
    EXPECT_FALSE(s.mapState().editor().hasStamp()) << "a palette choice drops it";

    s.mapState().editor().startSelection(0, 0);
    s.mapState().editor().endSelection();
    s.openRom(m_dir.file("sample.gba"));
    EXPECT_FALSE(s.mapState().editor().hasStamp()) << "a new ROM starts with a fresh brush";
    EXPECT_EQ(s.mapState().editor().selectedBlock(), 0);
}

TEST_F(SessionEditing, PicturesFollowTheEdits) {
    Session s(m_dir.path());
    s.openRom(m_dir.file("sample.gba"));
    s.openMap("0.0", "t");
    const Bitmap before = s.mapState().pictures().map();
    s.mapState().pictures().movementView();
    s.mapState().editor().selectBlock(1);  // differs from block 0 in the top-left cell
    s.mapState().editor().paint(0, 0);
    EXPECT_NE(s.mapState().pictures().map(), before);
    s.mapState().invalidatePictures();
    const Bitmap full = s.mapState().pictures().map();
    s.mapState().editor().undo();
    EXPECT_EQ(s.mapState().pictures().map(), before);
    s.mapState().editor().redo();
    EXPECT_EQ(s.mapState().pictures().map(), full);
}

TEST_F(SessionEditing, AFailedSaveKeepsTheMapModified) {
    Session s(m_dir.path());
    s.openRom(std::make_unique<FailingWrites>(m_built.bytes), "readonly.gba");
    s.openMap("0.0", "t");
    s.mapState().editor().selectBlock(3);
    s.mapState().editor().paint(1, 1);
    EXPECT_THROW(saveOpenMap(s.rom(), s.mapState()), RomIoError);
    EXPECT_TRUE(s.mapState().modified());
}

TEST_F(SessionEditing, APlaceholderMapIsNeverSavedOverAnotherGrid) {
    std::ofstream(m_dir.path() / "Ini" / "Maps.ini") << "[Leer]\nName=Leer\n";
    Session s(m_dir.path());
    s.openRom(m_dir.file("sample.gba"));
    s.openMap("0.0", "t");
    ASSERT_TRUE(s.openMap("Leer", "Leer").has_value());
    EXPECT_EQ(s.mapState().grid().cellCount(), 1);
    s.mapState().editor().selectBlock(7);
    s.mapState().editor().paint(0, 0);
    const auto before = romBytes("sample.gba", 0, m_built.bytes.size());
    EXPECT_THROW(saveOpenMap(s.rom(), s.mapState()), Error);
    EXPECT_EQ(romBytes("sample.gba", 0, m_built.bytes.size()), before);
}

TEST_F(SessionEditing, SaveAsCopiesThenSavesOnTheCopy) {
    Session s(m_dir.path());
    s.openRom(m_dir.file("sample.gba"));
    s.openMap("0.0", "t");
    s.mapState().editor().selectBlock(0x33);
    s.mapState().editor().paint(0, 0);
    std::ofstream(m_dir.file("taken.gba")) << "x";
    EXPECT_FALSE(s.saveMapAs(m_dir.file("taken.gba")));
    EXPECT_TRUE(s.mapState().modified());
    EXPECT_EQ(s.rom().FileName(), m_dir.file("sample.gba"));

    EXPECT_TRUE(s.saveMapAs(m_dir.file("copy")));
    EXPECT_FALSE(s.mapState().modified());
    const std::uint32_t grid = m_built.maps.at({0, 0}).grid;
    EXPECT_EQ(romBytes("copy.gba", grid, 1)[0], 0x33);
    EXPECT_EQ(romBytes("sample.gba", grid, 1)[0], m_built.bytes[grid]) << "original untouched";
}

}  // namespace
}  // namespace quillon
