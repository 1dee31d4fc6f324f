#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_find_free.h"
#include "cli/cli_messages.h"
#include "core/errors.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

// A file of used bytes (0x11) with an FF run of 9 bytes at 0x1010 and a 00 run of 30 at 0x2001.
struct RunsFile {
    testing::TempDir dir;
    std::filesystem::path path = dir.file("runs.gba");
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(0x3000, 0x11);

    RunsFile() {
        std::fill_n(bytes.begin() + 0x1010, 9, 0xFF);
        std::fill_n(bytes.begin() + 0x2001, 30, 0x00);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    std::vector<std::uint8_t> onDisk() const { return testing::fileBytes(path); }
};

std::string run(const RunsFile& file, const cli::FindFreeOptions& options) {
    std::ostringstream out;
    try {
        cli::findFree(file.path, options, out);
    } catch (const Error& e) {
        return std::string("error: ") + e.what();
    }
    return out.str();
}

TEST(CliFindFree, PrintsTheHitsOfTheSearch) {
    const RunsFile file;
    const struct {
        cli::FindFreeOptions options;
        std::string printed;
    } cases[] = {
        {{"4", "FF", "0", std::nullopt}, "$001010\n$001015\n"},
        {{"4", "ff", "$1011", std::string("$1015")}, "$001011\n"},
        {{"10", "00", "8192", std::nullopt}, "$002001\n$00200C\n"},
        {{"1", "00", "0", std::nullopt},
         "$002001\n$002003\n$002005\n$002007\n$002009\n$00200B\n$00200D\n$00200F\n$002011\n"
         "$002013\n"},
        {{"3", "00", "$2000", std::string("$2005")}, "$002001\n$002005\n"},
        {{"40", "FF", "0", std::nullopt}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.printed, run(file, c.options)) << c.options.count << " " << c.options.from;
    }
    EXPECT_EQ(file.bytes, file.onDisk());
}

TEST(CliFindFree, BadOptionsNameTheOptionAndReadNothing) {
    const RunsFile file;
    const struct {
        cli::FindFreeOptions options;
        std::string message;
    } cases[] = {
        {{"vier", "FF", "0", std::nullopt}, "--count: 'vier' is not a number"},
        {{"0", "FF", "0", std::nullopt}, "--count: 0 is too small"},
        {{"-2", "FF", "0", std::nullopt}, "--count: -2 is negative"},
        {{"4", "7F", "0", std::nullopt}, "--byte: '7F' is not a filler byte"},
        {{"4", "FF", "$10G0", std::nullopt}, "--from: '$10G0' is not a number"},
        {{"4", "FF", "-1", std::nullopt}, "--from: -1 is negative"},
        {{"4", "FF", "0", std::string("")}, "--to: '' is not a number"},
        {{"4", "FF", "0", std::string("$-4")}, "--to: '$-4' is not a number"},
    };
    for (const auto& c : cases) {
        const std::string printed = run(file, c.options);
        EXPECT_EQ(0u, printed.find("error: " + c.message)) << printed;
    }
}

TEST(CliMessages, AlignmentRefusalsInEnglish) {
    std::vector<std::uint8_t> bytes(0x200, 0x11);
    std::fill_n(bytes.begin() + 0x101, 15, 0xFF);
    TRom rom;
    rom.attach(std::make_unique<MemoryRomFile>(bytes), "align.gba");
    const struct {
        std::uint32_t offset, count;
        const char* english;
    } cases[] = {
        {0x101, 8, "the offset $000101 is not a multiple of 4; the next fitting offset in the "
                   "same free run is $000104"},
        {0x10D, 8, "the offset $00010D is not a multiple of 4, and the free run there holds no "
                   "fitting offset for 8 bytes"},
    };
    for (const auto& c : cases) {
        try {
            requireAligned(rom, c.offset, c.count, 4);
            ADD_FAILURE() << "accepted " << c.offset;
        } catch (const Error& e) {
            EXPECT_EQ(c.english, cli::englishMessage(e.what()));
        }
    }
}

}  // namespace
}  // namespace quillon
