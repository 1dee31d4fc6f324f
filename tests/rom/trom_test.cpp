#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/errors.h"
#include "core/rom/trom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

std::vector<std::uint8_t> imageWithTitle(const std::string& title16, std::size_t size = 0x200) {
    std::vector<std::uint8_t> bytes(size, 0);
    for (std::size_t i = 0; i < title16.size() && i < 16; ++i) {
        bytes[0xA0 + i] = static_cast<std::uint8_t>(title16[i]);
    }
    return bytes;
}

TRom memoryRom(std::vector<std::uint8_t> bytes) {
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(std::move(bytes)), "test.gba");
    return rom;
}

TEST(TRom, TitleRules) {
    struct Case {
        std::string header;
        std::string title;
        bool frlg;
    } cases[] = {
        {"POKEMON FIREBPRE", "POKEMON FIREBPRE", true},
        {"pokemon leafBPGE", "POKEMON LEAFBPGE", true},
        {"POKEMON RUBYAXVE", "POKEMON RUBYAXVE", false},
        {std::string("SHORT\0\0\0\0\0\0\0BPRE", 16), "SHORT", false},
        {std::string("POKEMON FIREBPR\x80", 16), "POKEMON FIREBPR", true},
        {std::string("POKEMON FIREBPR\xC0", 16), "POKEMON FIREBPR", true},
    };
    for (const auto& c : cases) {
        TRom rom = memoryRom(imageWithTitle(c.header));
        EXPECT_EQ(rom.Title(), c.title);
        EXPECT_EQ(rom.isFrlg(), c.frlg) << c.title;
    }
}

// A ROM image is at least a cartridge header and at most the 32 MiB a cartridge maps.
TEST(TRom, RomImagesAreRefusedOutsideTheirSizes) {
    struct Case {
        std::size_t size;
        const char* says;  // nullptr: accepted
    };
    for (const Case c : {Case{0xBF, "kürzer als ein GBA-Header"}, Case{0xC0, nullptr},
                         Case{32u << 20, nullptr}, Case{(32u << 20) + 1, "größer als 32 MiB"}}) {
        SCOPED_TRACE(c.size);
        std::vector<std::uint8_t> bytes(c.size, 0xFF);
        if (c.size > 0xB2) {
            bytes[0xB2] = 0x96;
        }
        MemoryRomFile file(std::move(bytes));
        if (c.says == nullptr) {
            EXPECT_NO_THROW(checkRomImage(file, "r.gba"));
            continue;
        }
        try {
            checkRomImage(file, "r.gba");
            ADD_FAILURE() << "not refused";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

TEST(TRom, HexTransfersAreLittleEndianWhenReversed) {
    TRom rom = memoryRom(imageWithTitle("X"));
    rom.WriteBlock(std::vector<std::uint8_t>{0x04, 0x3D, 0x31, 0x08}, 0x100);
    EXPECT_EQ(rom.ReadHex(0x100, 3, true), "313D04");
    EXPECT_EQ(rom.ReadHex(0x100, 3, false), "043D31");
    EXPECT_EQ(rom.ReadPointer(0x100), 0x313D04u);
    EXPECT_EQ(rom.ReadHex(0x100, 31, false).size(), 62u);
    EXPECT_EQ(rom.ReadHex(0x100, 32, false), "");

    rom.WriteHex(0x110, "313D045", true);  // the odd last digit is ignored
    EXPECT_EQ(rom.ReadBlock(0x110, 3), (std::vector<std::uint8_t>{0x04, 0x3D, 0x31}));
    rom.WriteHex(0x120, "313D04", false);
    EXPECT_EQ(rom.ReadBlock(0x120, 3), (std::vector<std::uint8_t>{0x31, 0x3D, 0x04}));

    rom.WriteHex(0x130, std::string(64, 'A'), false);  // 32 bytes: too long, nothing written
    EXPECT_EQ(rom.ReadByte(0x130), 0);
    EXPECT_THROW(rom.WriteHex(0x140, "12G4", false), ConversionError);
    EXPECT_EQ(rom.ReadByte(0x140), 0) << "nothing is written before the text is checked";

    rom.WritePointer(0x150, 0x313D04);
    EXPECT_EQ(rom.ReadBlock(0x150, 4), (std::vector<std::uint8_t>{0x04, 0x3D, 0x31, 0x08}));
}

TEST(TRom, ReadsPastTheEndAbortWithTheRuntimeMessage) {
    TRom rom = memoryRom(imageWithTitle("X", 0x200));
    try {
        rom.ReadBlock(0x1FE, 4);
        FAIL();
    } catch (const RomIoError& e) {
        EXPECT_STREQ(e.what(), "Read beyond end of file");
    }
    EXPECT_THROW(rom.ReadByte(0x200), RomIoError);
    EXPECT_THROW(rom.ReadByte(-1), RomIoError);
    EXPECT_NO_THROW(rom.ReadByte(0x1FF));
}

class DiskRom : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("quillon_trom_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
        auto bytes = imageWithTitle("POKEMON RUBYAXVE");
        std::ofstream(m_dir / "a.gba", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override {
        // Windows removes no read-only file.
        std::error_code ignored;
        std::filesystem::permissions(m_dir / "a.gba", std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_dir);
    }
    std::filesystem::path m_dir;
};

TEST_F(DiskRom, WritesReachTheFileAndSaveAsSwitchesToTheCopy) {
    TRom rom;
    rom.Open(m_dir / "a.gba");
    ASSERT_TRUE(rom.Opened());
    EXPECT_EQ(rom.Title(), "POKEMON RUBYAXVE");
    rom.WriteByte(0x10, 0xAB);

    EXPECT_TRUE(rom.SaveAs(m_dir / "a.gba")) << "same name: nothing to copy";
    EXPECT_TRUE(rom.SaveAs(m_dir / "b"));  // ".gba" is appended
    EXPECT_EQ(rom.FileName(), m_dir / "b.gba");
    rom.WriteByte(0x11, 0xCD);

    TRom original;
    original.Open(m_dir / "a.gba");
    EXPECT_EQ(original.ReadByte(0x10), 0xAB);
    EXPECT_EQ(original.ReadByte(0x11), 0x00) << "writes after SaveAs go to the copy only";
    EXPECT_EQ(rom.ReadByte(0x10), 0xAB);

    EXPECT_TRUE(rom.SaveAs(m_dir / "c.GBA"));  // any case of ".gba" counts
    EXPECT_EQ(rom.FileName(), m_dir / "c.GBA");
}

TEST_F(DiskRom, SaveAsOntoAnotherExistingFileRefusesAndStays) {
    TRom rom;
    rom.Open(m_dir / "a.gba");
    std::filesystem::copy_file(m_dir / "a.gba", m_dir / "other.gba");
    EXPECT_FALSE(rom.SaveAs(m_dir / "other.gba"));
    EXPECT_EQ(rom.FileName(), m_dir / "a.gba");
}

TEST_F(DiskRom, MissingFileIsSilentAndReadOnlyFileCanBeReadButNotWritten) {
    TRom rom;
    rom.Open(m_dir / "missing.gba");
    EXPECT_FALSE(rom.Opened());

    std::filesystem::permissions(m_dir / "a.gba", std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::group_read);
    if (std::ofstream(m_dir / "a.gba", std::ios::binary | std::ios::app)) {
        GTEST_SKIP() << "this user may write any file (root)";
    }
    TRom ro;
    ro.Open(m_dir / "a.gba");
    EXPECT_EQ(ro.Title(), "POKEMON RUBYAXVE");
    try {
        ro.WriteByte(0, 1);
        FAIL();
    } catch (const RomIoError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
}

std::vector<std::string> entries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Whatever goes wrong between the copy and its name, no new file is left and the ROM stays
// bound to the original, whose bytes are as they were.
TEST_F(DiskRom, ASaveAsThatFailsBeforeItsNameIsGivenLeavesNothingBehind) {
    const auto original = testing::fileBytes(m_dir / "a.gba");
    struct Case {
        const char* what;
        std::function<void()> write;
        bool throws;
    } cases[] = {
        {"the write into the copy fails", [] { throw RomIoError("Disk full"); }, true},
        // Another program takes the name meanwhile: its file is never replaced.
        {"the name is taken meanwhile",
         [this] { std::ofstream(m_dir / "b.gba", std::ios::binary) << "other"; }, false},
    };
    for (const Case& c : cases) {
        TRom rom;
        rom.Open(m_dir / "a.gba");
        if (c.throws) {
            EXPECT_THROW(rom.SaveAs(m_dir / "b", c.write), RomIoError) << c.what;
            EXPECT_EQ(entries(m_dir), (std::vector<std::string>{"a.gba"})) << c.what;
        } else {
            EXPECT_FALSE(rom.SaveAs(m_dir / "b", c.write)) << c.what;
            EXPECT_EQ(testing::fileBytes(m_dir / "b.gba"), (std::vector<std::uint8_t>{'o', 't', 'h', 'e', 'r'}));
            EXPECT_EQ(entries(m_dir), (std::vector<std::string>{"a.gba", "b.gba"})) << c.what;
            std::filesystem::remove(m_dir / "b.gba");
        }
        EXPECT_EQ(rom.FileName(), m_dir / "a.gba") << c.what;
        rom.WriteByte(0x10, 0xEE);
        EXPECT_EQ(testing::fileBytes(m_dir / "a.gba")[0x10], 0xEE) << c.what << ": writes reach the original";
        rom.WriteByte(0x10, original[0x10]);
        EXPECT_EQ(testing::fileBytes(m_dir / "a.gba"), original) << c.what;
    }
}

// A held file replaced on disk since it was opened is not the ROM's own file any more.
TEST_F(DiskRom, RebindOpensTheFileNowUnderTheName) {
    if (!testing::kRenameOverOpenFile) {
        GTEST_SKIP() << "this system renames no file over one held open";
    }
    TRom rom;
    rom.Open(m_dir / "a.gba");
    auto replaced = imageWithTitle("POKEMON SAPPAXPE");
    replaced[0xB2] = 0x96;  // a cartridge header
    std::ofstream(m_dir / "new.tmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(replaced.data()),
               static_cast<std::streamsize>(replaced.size()));
    std::filesystem::rename(m_dir / "new.tmp", m_dir / "a.gba");
    EXPECT_EQ(rom.Title(), "POKEMON RUBYAXVE");
    EXPECT_FALSE(rom.SaveAs(m_dir / "a.gba")) << "the name now belongs to another file";

    rom.Rebind();
    EXPECT_EQ(rom.Title(), "POKEMON SAPPAXPE");
    EXPECT_TRUE(rom.SaveAs(m_dir / "a.gba"));
}

}  // namespace
}  // namespace quillon
