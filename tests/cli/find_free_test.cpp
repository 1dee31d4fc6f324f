#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_find_free.h"
#include "cli/cli_messages.h"
#include "core/config/data_files.h"
#include "core/errors.h"
#include "core/rom/free_space.h"
#include "core/rom/trom.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

// A file of used bytes (0x11) titled "QUILLON FREEQFRE", with an FF run of 41 bytes at 0x1010,
// a 00 run of 62 at 0x2001 and an FF run of 100 at 0x2800 (the longest).
struct RunsFile {
    testing::TempDir dir;
    std::filesystem::path path = dir.file("runs.gba");
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(0x3000, 0x11);

    RunsFile() {
        const std::string title = "QUILLON FREEQFRE";
        std::copy(title.begin(), title.end(), bytes.begin() + 0xA0);
        std::fill_n(bytes.begin() + 0x1010, 41, 0xFF);
        std::fill_n(bytes.begin() + 0x2001, 62, 0x00);
        std::fill_n(bytes.begin() + 0x2800, 100, 0xFF);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    std::vector<std::uint8_t> onDisk() const { return testing::fileBytes(path); }
};

std::string run(const RunsFile& file, const cli::FindFreeOptions& options,
                const std::string& profile = "") {
    std::filesystem::create_directories(file.dir.file("Ini"));
    std::ofstream(file.dir.file("Ini/Quillon.ini")) << profile;
    DataFiles data(file.dir.path());
    std::ostringstream out;
    try {
        cli::findFree(file.path, options, data, out);
    } catch (const Error& e) {
        return std::string("error: ") + e.what();
    }
    return out.str();
}

TEST(CliFindFree, PrintsTheHitsOfTheSearch) {
    const RunsFile file;
    const std::optional<std::string> none;
    const struct {
        cli::FindFreeOptions options;
        std::string profile;
        std::string printed;
    } cases[] = {
        {{"4", "FF", "0", none}, "",
         "$001030\n$001035\n$002820\n$002825\n$00282A\n$00282F\n$002834\n$002839\n"
         "$00283E\n$002843\n"},
        {{"4", "ff", "$1031", std::string("$1035")}, "", "$001031\n"},
        {{"10", "00", "8192", none}, "", "$002021\n$00202C\n"},
        {{"3", "00", "$2000", std::string("$2025")}, "", "$002021\n$002025\n"},
        {{"40", "FF", "0", none}, "", "$002820\n"},
        {{"69", "FF", "0", none}, "", ""},
        // Without --from: the longest run of the byte, or the profile's free area.
        {{"4", "FF", none, std::string("$2830")}, "", "$002820\n$002825\n$00282A\n$00282F\n"},
        {{"20", "00", none, none}, "", "$002021\n"},
        {{"4", "FF", none, std::string("$1100")}, "[QUILLON FREEQFRE]\nFreierBereich=$1000\n",
         "$001030\n$001035\n"},
        // A table of the profile inside the longest run leaves 16 bytes of it: no hit there.
        {{"4", "FF", none, none},
         "[QUILLON FREEQFRE]\nFreierBereich=$1000\nSpezialPalHeader=$2810\n",
         "$001030\n$001035\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.printed, run(file, c.options, c.profile))
            << c.options.count << " " << c.options.from.value_or("-") << " " << c.profile;
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
        {{"4", "FF", "$6B0000", std::nullopt},
         "--from: $6B0000 lies past the end of the file (12288 bytes); nothing was searched"},
        {{"4", "FF", "12288", std::nullopt}, "--from: 12288 lies past the end of the file"},
    };
    for (const auto& c : cases) {
        const std::string printed = run(file, c.options);
        EXPECT_EQ(0u, printed.find("error: " + c.message)) << printed;
    }
}

TEST(CliMessages, AlignmentRefusalsInEnglish) {
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English");
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
            EXPECT_EQ(c.english, cli::errorText(e));
        }
    }
}

}  // namespace
}  // namespace quillon
