// The file layer's promises that the systems keep differently (POSIX descriptors and flock,
// Windows handles, LockFileEx and MoveFileExW): run on Linux and, built for Windows, under
// Wine (scripts/windows-check.sh).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/errors.h"
#include "core/files/file_replace.h"
#include "core/files/native_file.h"
#include "core/rom/history_file.h"
#include "core/rom/rom_copy.h"
#include "core/rom/rom_file.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::fileBytes;
using testing::TempDir;

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Names outside ASCII reach the system as they are (Windows: as UTF-16), for every kind of
// write: a whole file replaced, positioned writes, a copy published, the history's lock.
TEST(FileLayer, NamesOutsideAsciiWorkForEveryKindOfWrite) {
    for (const std::filesystem::path& name :
         {std::filesystem::path(u8"plain"), std::filesystem::path(u8"Kärte Übung"),
          std::filesystem::path(u8"地図 ☃")}) {
        SCOPED_TRACE(reinterpret_cast<const char*>(name.u8string().c_str()));
        TempDir dir;
        std::filesystem::path rom = dir.path() / name;
        rom += u8".gba";
        const Bytes original(64, 0x5A);
        replaceFile(rom, original);
        EXPECT_EQ(fileBytes(rom), original);
        {
            DiskRomFile file(rom);
            const Bytes two = {0x01, 0x02};
            file.write(10, two);
            file.flush();
            Bytes back(2);
            file.read(10, back);
            EXPECT_EQ(back, two);
            EXPECT_TRUE(file.isAt(rom));
        }
        Bytes expected = original;
        expected[10] = 0x01;
        expected[11] = 0x02;
        EXPECT_EQ(fileBytes(rom), expected) << "exactly the two bytes written change";

        std::filesystem::path copyName = dir.path() / name;
        copyName += u8" Kopie.gba";
        DiskRomFile source(rom, true);
        RomCopy copy(source, 0644, copyName);
        EXPECT_TRUE(copy.publish());
        EXPECT_EQ(fileBytes(copyName), expected);

        std::filesystem::path history = rom;
        history += u8".quillon-history";
        DiskHistoryFile journal(history, 0);
        EXPECT_TRUE(journal.lock());
        journal.write(0, original);
        journal.sync();
        journal.unlock();
        EXPECT_EQ(fileBytes(history), original);
        EXPECT_EQ(entriesIn(dir.path()), 3u) << "no temporary file stays behind";
    }
}

// The history's lock is exclusive between two open files of the same process as between two
// programs: the second writer is refused until the first lets go.
TEST(FileLayer, TheHistoryLockIsHeldAgainstASecondWriter) {
    TempDir dir;
    const auto path = dir.file("a.gba.quillon-history");
    DiskHistoryFile first(path, 0);
    DiskHistoryFile second(path, 0);
    EXPECT_TRUE(first.lock()) << "made by the first lock";
    try {
        second.lock();
        FAIL() << "locked twice";
    } catch (const Error& e) {
        EXPECT_EQ(e.message().id, "history.locked");
    }
    first.unlock();
    EXPECT_FALSE(second.lock()) << "the file was there already";
}

// A file replaced while the program holds it open (where the system allows that): the new
// content is under the name, the open file still reads the old one and knows that the name
// leads elsewhere now. A copy is never published over a file that appeared under its name.
TEST(FileLayer, ReplacingAnOpenFileAndPublishingOverAnExistingOne) {
    TempDir dir;
    const auto rom = dir.file("a.gba");
    const Bytes old(32, 0x11);
    const Bytes fresh(32, 0x22);
    replaceFile(rom, old);
    DiskRomFile held(rom, true);
    if (testing::kRenameOverOpenFile) {
        replaceFile(rom, fresh);
        EXPECT_EQ(fileBytes(rom), fresh);
        Bytes seen(32);
        held.read(0, seen);
        EXPECT_EQ(seen, old);
        EXPECT_FALSE(held.isAt(rom));
    }

    const auto taken = dir.file("b.gba");
    {
        RomCopy copy(held, 0644, taken);
        replaceFile(taken, fresh);
        EXPECT_FALSE(copy.publish());
    }
    EXPECT_EQ(fileBytes(taken), fresh);
    EXPECT_EQ(entriesIn(dir.path()), 2u) << "the copy's temporary file is gone";
}

}  // namespace
}  // namespace quillon
