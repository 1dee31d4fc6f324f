#include <gtest/gtest.h>

#include <fstream>

#include "core/errors.h"
#include "core/session/map_saving.h"
#include "core/session/session.h"
#include "tests/map/sample_rom.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using testing::buildSampleRom;
using testing::FileSizeLimit;
using romkit::BuiltRom;

// Goes into a folder for the life of the object and back out after.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

// An image whose writes cannot be brought onto the disk (a failing device, a network drive).
class FailingFlush final : public RomFile {
public:
    explicit FailingFlush(std::vector<std::uint8_t> bytes) : m_image(std::move(bytes)) {}
    void read(std::uint32_t offset, std::span<std::uint8_t> out) override {
        m_image.read(offset, out);
    }
    void write(std::uint32_t offset, std::span<const std::uint8_t> data) override {
        m_image.write(offset, data);
    }
    std::uint64_t size() const override { return m_image.size(); }
    void flush() override { throw RomIoError("I/O error 5"); }

private:
    MemoryRomFile m_image;
};

class SessionRomFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_built = buildSampleRom();
        romkit::writeProgramFolder(m_dir.path(), m_built);
        romkit::writeRomFile(romPath(), m_built);
        m_grid = m_built.maps.at({0, 0}).grid;
    }
    std::filesystem::path romPath() const { return m_dir.file("sample.gba"); }
    // Opens map 0.0 and paints block 0x33 into its first cell.
    void paintFirstCell(Session& s) {
        s.openMap("0.0", "t");
        s.mapState().editor().selectBlock(0x33);
        s.mapState().editor().paint(0, 0);
    }
    // The pristine image with the first cell of map 0.0 painted as paintFirstCell() does.
    std::vector<std::uint8_t> paintedImage(std::vector<std::uint8_t> bytes) const {
        bytes[m_grid] = 0x33;  // cell 0 holds block 0 and movement 0
        return bytes;
    }
    // The files in the folder, without the write histories kept beside the ROMs.
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name.find(".quillon-history") == std::string::npos) {
                names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    testing::TempDir m_dir;
    BuiltRom m_built;
    std::uint32_t m_grid = 0;
};

TEST_F(SessionRomFile, ReloadReadsAFileRenamedOverTheRomAndSavesGoThere) {
    if (!testing::kRenameOverOpenFile) {
        GTEST_SKIP() << "this system renames no file over one held open";
    }
    Session s(m_dir.path());
    s.openRom(romPath());
    // A second name keeps the old file reachable once the new one takes its name.
    std::filesystem::create_hard_link(romPath(), m_dir.file("old.gba"));
    // A build script writes the new ROM to a temporary and renames it over the old one.
    BuiltRom rebuilt = m_built;
    rebuilt.bytes[m_grid + 4] = 0x05;
    romkit::writeRomFile(m_dir.file("new.tmp"), rebuilt);
    std::filesystem::rename(m_dir.file("new.tmp"), romPath());

    s.reloadRom();
    s.openMap("0.0", "t");
    EXPECT_EQ(s.mapState().grid().at(2, 0).block(), 5) << "the new file's bytes";
    s.mapState().editor().selectBlock(0x33);
    s.mapState().editor().paint(0, 0);
    saveOpenMap(s.rom(), s.mapState());
    EXPECT_EQ(testing::fileBytes(romPath()), paintedImage(rebuilt.bytes))
        << "the save reached the file under the name";
    EXPECT_EQ(testing::fileBytes(m_dir.file("old.gba")), m_built.bytes) << "the replaced file is untouched";
}

TEST_F(SessionRomFile, ReloadOfAFileThatIsGoneOrNoRomKeepsTheRom) {
    Session s(m_dir.path());
    s.openRom(romPath());
    std::filesystem::rename(romPath(), m_dir.file("away.gba"));
    EXPECT_THROW(s.reloadRom(), Error);
    std::ofstream(romPath(), std::ios::binary) << std::string(4096, 'x');
    try {
        s.reloadRom();
        FAIL() << "a text file is no ROM";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("sample.gba"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(s.romState().loaded());
    EXPECT_EQ(s.rom().Title(), "QUILLON TESTQTSE");
}

TEST_F(SessionRomFile, SaveAsOntoTheRomsOwnFileUnderAnotherSpellingSavesThere) {
    WorkingFolder here(m_dir.path());
    std::filesystem::create_directory("sub");
    for (const char* spelling : {"./sample.gba", "sub/../sample", "SAMPLE_ABS"}) {
        Session s(".");
        s.openRom("sample.gba");
        paintFirstCell(s);
        const std::filesystem::path target =
            std::string(spelling) == "SAMPLE_ABS" ? romPath() : std::filesystem::path(spelling);
        EXPECT_TRUE(s.saveMapAs(target)) << spelling;
        EXPECT_FALSE(s.mapState().modified()) << spelling;
        EXPECT_EQ(testing::fileBytes(romPath()), paintedImage(m_built.bytes)) << spelling;
        romkit::writeRomFile(romPath(), m_built);
    }
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"Ini", "sample.gba", "sub"}));
}

TEST_F(SessionRomFile, SaveAsFromAReadOnlyRomGivesAWritableCopyWithTheMap) {
    std::filesystem::permissions(romPath(), std::filesystem::perms::owner_read |
                                                std::filesystem::perms::group_read |
                                                std::filesystem::perms::others_read);
    Session s(m_dir.path());
    s.openRom(romPath());
    paintFirstCell(s);
    ASSERT_TRUE(s.saveMapAs(m_dir.file("copy")));
    EXPECT_FALSE(s.mapState().modified());
    const auto perms = std::filesystem::status(m_dir.file("copy.gba")).permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
    EXPECT_EQ(testing::fileBytes(m_dir.file("copy.gba")), paintedImage(m_built.bytes));
    EXPECT_EQ(testing::fileBytes(romPath()), m_built.bytes) << "the read-only original is untouched";

    s.mapState().editor().selectBlock(0x11);
    s.mapState().editor().paint(0, 0);
    EXPECT_NO_THROW(saveOpenMap(s.rom(), s.mapState())) << "the session now saves into the copy";
    EXPECT_EQ(testing::fileBytes(m_dir.file("copy.gba"))[m_grid], 0x11);
}

TEST_F(SessionRomFile, SaveAsOnAFullDiskLeavesNoFileAndTheSessionOnTheOriginal) {
    if (!FileSizeLimit::supported()) {
        GTEST_SKIP() << "no file size limit to fill the disk with on this system";
    }
    Session s(m_dir.path());
    s.openRom(romPath());
    paintFirstCell(s);
    {
        FileSizeLimit full(m_built.bytes.size() / 2);
        try {
            s.saveMapAs(m_dir.file("copy.gba"));
            FAIL() << "the copy cannot be written";
        } catch (const RomIoError& e) {
            EXPECT_NE(std::string(e.what()).find("copy.gba"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("Disk full"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"Ini", "sample.gba"}));
    EXPECT_EQ(s.rom().FileName(), romPath());
    EXPECT_TRUE(s.mapState().modified());
    EXPECT_EQ(testing::fileBytes(romPath()), m_built.bytes);

    saveOpenMap(s.rom(), s.mapState());
    EXPECT_EQ(testing::fileBytes(romPath()), paintedImage(m_built.bytes)) << "saves still reach it";
    ASSERT_TRUE(s.saveMapAs(m_dir.file("copy.gba"))) << "the name is free for the next try";
}

TEST_F(SessionRomFile, ASaveIsReportedOnlyOnceItsBytesAreOnTheDisk) {
    Session s(m_dir.path());
    s.openRom(std::make_unique<FailingFlush>(m_built.bytes), "flaky.gba");
    paintFirstCell(s);
    EXPECT_THROW(saveOpenMap(s.rom(), s.mapState()), RomIoError);
    EXPECT_TRUE(s.mapState().modified()) << "the map still counts as unsaved";
}

}  // namespace
}  // namespace quillon
