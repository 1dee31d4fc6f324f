#include "core/mapfile/map_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>

#include "core/config/game_profile.h"
#include "core/errors.h"
#include "core/events/event_tables.h"
#include "core/map/map_loader.h"
#include "core/mapfile/map_from_file.h"
#include "core/files/file_replace.h"
#include "core/rom/rom_pointer.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/program_folder.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::fileBytes;
using testing::FileSizeLimit;
using testing::TempDir;

MapFileContents sampleMap(int width, int height) {
    MapFileContents map;
    map.border = {1, 2, 3, 4, 5, 6, 7, 8};
    map.grid.width = static_cast<std::uint16_t>(width);
    map.grid.height = static_cast<std::uint16_t>(height);
    for (int i = 0; i < width * height; ++i) {
        map.grid.cells[static_cast<std::size_t>(i)].raw = static_cast<std::uint16_t>(i * 37 + 5);
    }
    map.tileset1 = 3;
    map.tileset2 = 57;
    return map;
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

TEST(MapFile, RoundTripsAndLaysOutBorderGridAndTrailer) {
    const MapFileContents map = sampleMap(20, 20);
    const Bytes bytes = map_file::encodeMap(map);
    ASSERT_EQ(bytes.size(), 824u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    // Cell 1 holds 42 = 0x2A; the trailer: 20, 20, 3, 57.
    EXPECT_EQ(bytes[10], 0x2A);
    EXPECT_EQ(Bytes(bytes.end() - 16, bytes.end()),
              Bytes({20, 0, 0, 0, 20, 0, 0, 0, 3, 0, 0, 0, 57, 0, 0, 0}));

    const MapFileContents back = map_file::decodeMap(bytes, "Town.map");
    EXPECT_EQ(map_file::encodeMap(back), bytes);
    EXPECT_EQ(back.grid.movement[1], map.grid.cells[1].movement());
}

TEST(MapFile, EventFilesRoundTripWithTheCountsAtTheEnd) {
    EventRecords records;
    records[0].assign(2 * 24, 0xA1);
    records[1].assign(8, 0xB2);
    records[3].assign(3 * 12, 0xD4);
    const Bytes bytes = map_file::encodeEvents(records);
    ASSERT_EQ(bytes.size(), 48u + 8 + 36 + 4);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), Bytes({2, 1, 0, 3}));
    EXPECT_EQ(bytes[48], 0xB2);  // warps right after the persons
    EXPECT_EQ(map_file::decodeEvents(bytes, "Town.Evt"), records);
    EXPECT_EQ(map_file::encodeEvents({}), Bytes(4, 0));
}

TEST(MapFile, MalformedFilesAreRefusedNamingTheFile) {
    const Bytes good = map_file::encodeMap(sampleMap(4, 3));
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases{{"empty", {}}, {"23 bytes", Bytes(23, 0)}};
    const std::size_t trailer = good.size() - 16;
    auto patched = [&](std::size_t at, std::uint32_t value) {
        Bytes b = good;
        put32(b, at, value);
        return b;
    };
    cases.push_back({"width 0", patched(trailer, 0)});
    cases.push_back({"height 0", patched(trailer + 4, 0)});
    cases.push_back({"size not matching the length", patched(trailer, 5)});
    cases.push_back({"huge size", patched(trailer, 0x10000)});
    cases.push_back({"tileset beyond 2^31", patched(trailer + 8, 0x80000000u)});
    Bytes longer = good;
    longer.insert(longer.begin() + 8, {0, 0});
    cases.push_back({"two bytes too many", longer});
    // 8002 x 1 cells, the length matching them.
    Bytes tooMany(24 + 2 * 8002, 0);
    put32(tooMany, tooMany.size() - 16, 8002);
    put32(tooMany, tooMany.size() - 12, 1);
    cases.push_back({"8002 cells", tooMany});
    // Both sizes at their largest: the product must not wrap around.
    Bytes huge = good;
    put32(huge, trailer, 0xFFFFFFFFu);
    put32(huge, trailer + 4, 0xFFFFFFFFu);
    cases.push_back({"4294967295 x 4294967295", huge});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            map_file::decodeMap(c.bytes, "Bad.map");
            ADD_FAILURE() << "accepted";
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find("\"Bad.map\""), std::string::npos) << e.what();
        }
    }
    // Event files: too short, counts without their records, a record cut short, 255 persons
    // with one record missing, a byte too many.
    Bytes cut(24 * 255 + 4 - 24, 0);
    std::copy_n(Bytes({255, 0, 0, 0}).begin(), 4, cut.end() - 4);
    Bytes truncated(20 + 4, 0);
    truncated[20] = 1;
    for (const Bytes& events : {Bytes(3, 0), Bytes({1, 0, 0, 0}), Bytes({0, 0, 0, 0, 0}),
                                Bytes(8 + 4, 0), truncated, cut}) {
        SCOPED_TRACE(events.size());
        EXPECT_THROW(map_file::decodeEvents(events, "Bad.Evt"), DataError);
    }
}

// 255 records of every kind: the longest event file there is reads back whole.
TEST(MapFile, FullEventTablesAreRead) {
    EventRecords records;
    const std::size_t sizes[] = {24, 8, 16, 12};
    for (std::size_t s = 0; s < 4; ++s) {
        records[s].resize(255 * sizes[s]);
        for (std::size_t i = 0; i < records[s].size(); ++i) {
            records[s][i] = static_cast<std::uint8_t>(i * 7 + s);
        }
    }
    const Bytes bytes = map_file::encodeEvents(records);
    ASSERT_EQ(bytes.size(), map_file::kMaxEventFileBytes);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), Bytes({255, 255, 255, 255}));
    EXPECT_EQ(map_file::decodeEvents(bytes, "Full.Evt"), records);
}

// Files that are no map or event files at all: a folder, an overlong file, a link to nothing,
// a pipe (the last two where the system has them without special rights: not on Windows).
// Each is refused with a message naming it, without reading all of it.
TEST(MapFile, FoldersAndOverlongFilesAreRefusedNamingThem) {
    TempDir dir;
    const Bytes good = map_file::encodeMap(sampleMap(4, 3));
    auto write = [&](const char* name, const Bytes& bytes) {
        std::ofstream(dir.file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    };
    std::filesystem::create_directory(dir.file("Folder.map"));
    write("Big.map", good);
    std::filesystem::resize_file(dir.file("Big.map"), std::uintmax_t{1} << 32);  // sparse
    write("FolderEvt.map", good);
    std::filesystem::create_directory(dir.file("FolderEvt.Evt"));
    write("BigEvt.map", good);
    write("BigEvt.Evt", Bytes(map_file::kMaxEventFileBytes + 1, 0));
    struct Case {
        const char* file;
        const char* named;
        const char* says;
    };
    std::vector<Case> cases = {
        {"Folder.map", "Folder.map", "keine gewöhnliche Datei"},
        {"Big.map", "Big.map", "4294967296 Bytes lang"},
        {"FolderEvt.map", "FolderEvt.Evt", "keine gewöhnliche Datei"},
        {"BigEvt.map", "BigEvt.Evt", "15305 Bytes lang"},
    };
#ifndef _WIN32
    write("Dangling.map", good);
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file("Dangling.Evt"));
    // A pipe would block the reader until someone writes into it.
    write("Pipe.map", good);
    ASSERT_EQ(::mkfifo(dir.file("Pipe.Evt").c_str(), 0600), 0);
    cases.push_back({"Dangling.map", "Dangling.Evt", "keine gewöhnliche Datei"});
    cases.push_back({"Pipe.map", "Pipe.Evt", "keine gewöhnliche Datei"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        try {
            map_file::read(dir.file(c.file));
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.named), std::string::npos) << message;
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
        }
    }
}

TEST(MapFile, EventFileAndSaveNames) {
    struct Case {
        const char* given;
        const char* events;
        const char* saved;
    };
    for (const Case& c : {Case{"/m/Town.map", "/m/Town.Evt", "/m/Town.map"},
                          Case{"/m/Town.MAP", "/m/Town.Evt", "/m/Town.MAP"},
                          Case{"/m/Town", "/m/Town.Evt", "/m/Town.Map"},
                          Case{"/m/Town.txt", "/m/Town.Evt", "/m/Town.txt.Map"}}) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(map_file::eventFileName(c.given).string(), c.events);
        EXPECT_EQ(map_file::withMapExtension(c.given).string(), c.saved);
    }
}

// A tileset header a number names is written as that number (as every file before); one off
// the table's 24-byte steps as its ROM pointer, which no number can be.
TEST(MapFile, WrittenFilesReadBackAsTheyWere) {
    TempDir dir;
    GameProfile profile;
    profile.tilesetHeader = 0x1000;
    CurrentMap current;
    current.border = {9, 8, 7, 6, 5, 4, 3, 2};
    current.tileset1 = 1;
    current.tileset2 = 2;
    writePointerField(&current.footer.raw[16], 0x1000 + 24);
    writePointerField(&current.footer.raw[20], 0x1000 + 2 * 24 + 8);
    const MapFileContents sample = sampleMap(6, 5);
    EventTables events;
    EventRecords records;
    records[2].assign(16, 0x33);
    events.holdInMemory(records);
    map_file::write(dir.file("Town.map"), current, sample.grid, events, profile);
    EXPECT_EQ(fileBytes(dir.file("Town.map")).size(), 24u + 60);
    EXPECT_EQ(fileBytes(dir.file("Town.Evt")).size(), 20u);

    const map_file::MapFiles back = map_file::read(dir.file("Town.map"));
    EXPECT_EQ(back.map.border, current.border);
    EXPECT_EQ(back.map.grid.encode(), sample.grid.encode());
    EXPECT_EQ(back.map.tileset1, 1);
    EXPECT_EQ(back.map.tileset2, 0x08001038);
    EXPECT_EQ(back.events, records);
    // Without its event file the map has no events; a missing map file is an error.
    std::filesystem::remove(dir.file("Town.Evt"));
    EXPECT_EQ(map_file::read(dir.file("Town.map")).events, EventRecords{});
    EXPECT_THROW(map_file::read(dir.file("Other.map")), Error);
    // The folder holds nothing but the two files: no temporary file stayed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(MapFile, AFailedWriteKeepsThePreviousFile) {
    TempDir dir;
    const std::filesystem::path file = dir.file("Town.map");
    const Bytes old(100, 0x11);
    replaceFile(file, old);
    if (FileSizeLimit::supported()) {
        FileSizeLimit limit(64);
        EXPECT_THROW(replaceFile(file, Bytes(4000, 0x22)), RomIoError);
    }
    EXPECT_EQ(fileBytes(file), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // A folder that does not exist: refused, nothing made.
    EXPECT_THROW(replaceFile(dir.file("no/Town.map"), old), RomIoError);
}

// The map file and its event file are one pair: when the event file cannot be written (the
// disk full after the map file), both keep what they held and no temporary file stays.
TEST(MapFile, AFailedEventFileKeepsTheWholePreviousPair) {
    if (!FileSizeLimit::supported()) {
        GTEST_SKIP() << "no file size limit to fill the disk with on this system";
    }
    TempDir dir;
    CurrentMap current;
    const MapFileContents sample = sampleMap(4, 3);
    EventTables none;
    none.holdInMemory({});
    map_file::write(dir.file("Town.map"), current, sample.grid, none, GameProfile{});
    const Bytes oldMap = fileBytes(dir.file("Town.map"));
    const Bytes oldEvents = fileBytes(dir.file("Town.Evt"));

    EventRecords many;
    many[0].assign(255 * 24, 0x41);  // 6,124 bytes of events, the map file 48
    EventTables full;
    full.holdInMemory(many);
    BlockGrid other = sample.grid;
    other.cells[0].raw = 0x0BAD;
    {
        FileSizeLimit limit(1000);
        EXPECT_THROW(map_file::write(dir.file("Town.map"), current, other, full, GameProfile{}),
                     RomIoError);
    }
    EXPECT_EQ(fileBytes(dir.file("Town.map")), oldMap);
    EXPECT_EQ(fileBytes(dir.file("Town.Evt")), oldEvents);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(NewMapPlace, NamesThatNoFileCanHaveAreRefused) {
    TempDir dir;
    for (const char* name : {"", ".", "..", "a/b", "a\\b", "a:b", "a*", "a?", "a|b", "a<b", "a>b",
                             "a\"b", "tab\there"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(newMapPlace(dir.path(), {}, name), Error);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("Maps")));
}

TEST(NewMapPlace, MakesTheFolderOrFallsBackToTheUserFolder) {
    TempDir program;
    TempDir user;
    NewMapPlace place = newMapPlace(program.path(), user.path(), "Town");
    EXPECT_EQ(place.file, program.path() / "Maps" / "Town.map");
    EXPECT_TRUE(place.folderMade);
    EXPECT_FALSE(place.inUserFolder);
    EXPECT_TRUE(std::filesystem::is_directory(program.file("Maps")));
    EXPECT_FALSE(newMapPlace(program.path(), user.path(), "Town").folderMade);

    // "Maps" beside the program is a file: the user's folder takes the map.
    TempDir blocked;
    std::ofstream(blocked.file("Maps")) << "x";
    place = newMapPlace(blocked.path(), user.path(), "Town");
    EXPECT_EQ(place.file, user.path() / "Maps" / "Town.map");
    EXPECT_TRUE(place.inUserFolder);
    EXPECT_THROW(newMapPlace(blocked.path(), {}, "Town"), Error);

    // An installed program keeps no files beside itself: no "Maps" in the working folder.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(blocked.path() / "..");
    place = newMapPlace({}, user.path(), "Town");
    std::filesystem::current_path(before);
    EXPECT_EQ(place.file, user.path() / "Maps" / "Town.map");
    EXPECT_THROW(newMapPlace({}, blocked.file("Maps"), "Town"), Error);
}

}  // namespace
}  // namespace quillon
