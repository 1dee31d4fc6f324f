#include <gtest/gtest.h>

#include "core/base/numbers.h"
#include "core/session/map_saving.h"
#include "core/session/open_map_history.h"
#include "core/writers/event_counts.h"
#include "core/writers/map_attributes.h"
#include "core/writers/map_name_writer.h"
#include "core/writers/map_resize.h"
#include "tests/session/history_fixture.h"

namespace quillon {
namespace {

using namespace testing;
using romkit::BuiltRom;
using romkit::Family;

std::uint32_t freePlace(const BuiltRom& b, std::uint32_t extra) {
    return ((b.freeSpace + 0xFF) & ~0xFFu) + extra;
}

struct WritingCommand {
    const char* name;
    void (*run)(Session&, const BuiltRom&);
    bool rseOnly = false;
    // Run and committed before the command (a write the command then overlaps).
    void (*prepare)(Session&, const BuiltRom&) = nullptr;
};

void setWeather(Session& s, int weather) {
    map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, weather);
}

void paintAndSave(Session& s, int block) {
    s.mapState().grid().cells[0] = s.mapState().grid().cells[0].withBlock(block);
    s.mapState().grid().cells[4] = s.mapState().grid().cells[4].withMovement(block % 4);
    saveOpenMap(s.rom(), s.mapState());
}

const WritingCommand kCommands[] = {
    {"Wetter ändern 0.1", [](Session& s, const BuiltRom&) { setWeather(s, 7); }},
    {"Grösse ändern 0.1",
     [](Session& s, const BuiltRom& b) {
         resizeMap(s.rom(), s.romState().profile(), s.mapState(), 7, 5, freePlace(b, 0));
     }},
    {"Event menge 0.1",
     [](Session& s, const BuiltRom& b) {
         applyEventCounts(s.rom(), s.mapState(), {2, 1, 0, 1}, freePlace(b, 0x400));
     }},
    {"Map speichern 0.1", [](Session& s, const BuiltRom&) { paintAndSave(s, 9); }},
    {"Namen ändern",
     [](Session& s, const BuiltRom& b) {
         const auto codes = map_name_writer::encode(s.romState().chars(), "ROAD").bytes;
         map_name_writer::write(s.rom(), s.romState(), 0, codes, freePlace(b, 0x800));
     },
     true},
};

// The command writes over the bytes the one before it wrote: the same field twice, the same
// map saved twice, the event tables moved twice.
const WritingCommand kOverlapping[] = {
    {"Wetter ändern 0.1", [](Session& s, const BuiltRom&) { setWeather(s, 4); }, false,
     [](Session& s, const BuiltRom&) { setWeather(s, 3); }},
    {"Map speichern 0.1", [](Session& s, const BuiltRom&) { paintAndSave(s, 10); }, false,
     [](Session& s, const BuiltRom&) { paintAndSave(s, 9); }},
    {"Event menge 0.1",
     [](Session& s, const BuiltRom& b) {
         applyEventCounts(s.rom(), s.mapState(), {1, 2, 1, 0}, freePlace(b, 0x400));
     },
     false,
     [](Session& s, const BuiltRom& b) {
         applyEventCounts(s.rom(), s.mapState(), {2, 1, 0, 1}, freePlace(b, 0x400));
     }},
};

// Data above 16 MiB and a pointer in the file's last four bytes.
const WritingCommand kHighData = {"Daten schreiben", [](Session& s, const BuiltRom&) {
    TRom::Transaction tx(s.rom(), "Daten schreiben", "");
    std::vector<std::uint8_t> data(64);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    s.rom().WriteBlock(data, 0x1800010);
    s.rom().WriteBlock(std::vector<std::uint8_t>{0x10, 0x00, 0x80, 0x09}, 0x1FFFFFC);
    tx.commit();
}};

// A commit cut off after any of its writes (history record, each ROM range, commit mark), or
// with just that write failing, reopens as exactly the old ROM, or asks; then "Zurücknehmen"
// gives exactly the old ROM and "Vollenden" exactly the new one, which an undo turns back into
// the old one.
void checkEveryStopPoint(HistoryRom& h, const WritingCommand& c) {
    const auto prepared = [&] {
        h.reset();
        if (c.prepare) {
            c.prepare(*h.open(), h.built());
        }
    };
    prepared();
    const auto before = testing::fileBytes(h.rom());
    Crash counting;
    c.run(*h.openCrashing(counting), h.built());
    const auto after = testing::fileBytes(h.rom());
    ASSERT_NE(after, before) << c.name;
    for (int stop = 0; stop < counting.count; ++stop) {
        SCOPED_TRACE(std::string(c.name) + ", stop after write " + std::to_string(stop));
        for (const auto& [once, complete] :
             {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
            prepared();
            Crash crash{stop, once};
            EXPECT_THROW(c.run(*h.openCrashing(crash), h.built()), RomIoError);
            auto s = h.open("");
            EXPECT_TRUE(s->rom().history().notices().empty()) << germanText(s->rom().history().notices().front());
            if (!unfinishedTransaction(s->rom())) {
                EXPECT_EQ(testing::fileBytes(h.rom()), before);
                continue;
            }
            EXPECT_EQ(unfinishedTransaction(s->rom())->entry.name, c.name);
            resolveUnfinished(*s, complete);
            EXPECT_FALSE(unfinishedTransaction(s->rom()));
            EXPECT_EQ(testing::fileBytes(h.rom()), complete ? after : before);
            s = h.open("");
            EXPECT_FALSE(unfinishedTransaction(s->rom())) << "resolved for good";
            if (complete) {
                undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(),
                                s->rom().history().entries().back().id);
                EXPECT_EQ(testing::fileBytes(h.rom()), before);
            }
        }
    }
}

TEST(RomHistoryCrash, EveryStopPointReopensAsTheOldOrTheNewRom) {
    for (Family family : {Family::Rse, Family::Frlg}) {
        HistoryRom h(family);
        for (const WritingCommand& c : kCommands) {
            if (!c.rseOnly || family == Family::Rse) {
                checkEveryStopPoint(h, c);
            }
        }
    }
}

TEST(RomHistoryCrash, ACommandOverAnEarlierOneCanBeRepairedAtEveryStopPoint) {
    HistoryRom h;
    for (const WritingCommand& c : kOverlapping) {
        checkEveryStopPoint(h, c);
    }
}

TEST(RomHistoryCrash, DataAbove16MiBCanBeRepairedAtEveryStopPoint) {
    HistoryRom h(Family::Rse, 32u << 20);
    checkEveryStopPoint(h, kHighData);
}

// Commands, then undo and redo across restarts: every state is byte-identical to the one it
// returns to.
TEST(RomHistoryUndo, UndoAndRedoAcrossRestartsGiveTheSameFiles) {
    HistoryRom h;
    std::vector<std::vector<std::uint8_t>> images{testing::fileBytes(h.rom())};
    for (const WritingCommand& c : kCommands) {
        c.run(*h.open(), h.built());
        images.push_back(testing::fileBytes(h.rom()));
    }
    const std::size_t n = std::size(kCommands);
    auto s = h.open();
    ASSERT_EQ(s->rom().history().entries().size(), n);
    EXPECT_EQ(s->rom().history().entries()[1].name, "Grösse ändern 0.1");
    const UndoOutcome undone =
        undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(),
                        s->rom().history().entries()[1].id);
    EXPECT_TRUE(undone.openMapTouched);
    EXPECT_EQ(undone.touchedMaps, std::vector<std::string>{"0.1"});
    EXPECT_EQ(testing::fileBytes(h.rom()), images[1]);
    EXPECT_EQ(s->rom().history().entries().back().name,
              "Rückgängig: Grösse ändern 0.1 (und " + std::to_string(n - 2) + " weitere)");

    s = h.open();
    const auto& list = s->rom().history().entries();
    ASSERT_EQ(list.size(), n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        EXPECT_EQ(list[i].undone, i >= 1) << list[i].name;
    }
    redoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets());
    EXPECT_EQ(testing::fileBytes(h.rom()), images[2]);
    s = h.open();
    for (std::size_t i = 2; i < n; ++i) {
        redoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets());
    }
    EXPECT_EQ(testing::fileBytes(h.rom()), images[n]);
    EXPECT_THROW(redoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets()),
                 Error);
    undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(),
                    s->rom().history().entries().front().id);
    EXPECT_EQ(testing::fileBytes(h.rom()), images[0]);
}

// A new command after an undo drops what was undone: nothing is left to redo.
TEST(RomHistoryUndo, ANewWriteAfterAnUndoLeavesNothingToRedo) {
    HistoryRom h;
    kCommands[0].run(*h.open(), h.built());
    auto s = h.open();
    undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(),
                    s->rom().history().entries().back().id);
    kCommands[1].run(*s, h.built());
    const auto reopened = h.open();
    for (Session* session : {s.get(), reopened.get()}) {
        for (const HistoryEntry& e : session->rom().history().entries()) {
            EXPECT_FALSE(e.undone) << e.name;
        }
        EXPECT_THROW(redoWithOpenMap(session->rom(), session->romState(), session->mapState(),
                                     session->data().tilesets()),
                     Error);
    }
}

// Another program changed bytes of the transaction since: undo and redo refuse, naming the
// range, and write nothing.
TEST(RomHistoryUndo, AnOutsideChangeIsNeverOverwritten) {
    HistoryRom h;
    auto s = h.open();
    kCommands[0].run(*s, h.built());
    const std::uint32_t weather = s->mapState().map().headerOffset + 22;
    {
        std::fstream f(h.rom(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(weather);
        f.put(0x33);
    }
    const auto rom = testing::fileBytes(h.rom());
    const auto history = testing::fileBytes(historyOf(h.rom()));
    try {
        undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(),
                        s->rom().history().entries().back().id);
        ADD_FAILURE() << "undo not refused";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("$" + IntToHex(weather, 6) + " (1 Bytes)"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(testing::fileBytes(h.rom()), rom);
    EXPECT_EQ(testing::fileBytes(historyOf(h.rom())), history);
    EXPECT_FALSE(s->rom().history().entries().back().undone);
}

// "Verlauf speichern" off and a read-only ROM: no file; commands stay atomic and undoable
// while the ROM is open.
TEST(RomHistorySetting, WithoutAFileTheHistoryLivesInMemory) {
    HistoryRom h;
    const auto before = testing::fileBytes(h.rom());
    auto s = std::make_unique<Session>(h.folder());
    s->settings().setPersistent(false);
    s->settings().setFlag(Settings::Flag::KeepHistory, false);
    s->openRom(h.rom());
    s->openMap("0.1", "0.1");
    kCommands[0].run(*s, h.built());
    EXPECT_FALSE(std::filesystem::exists(historyOf(h.rom())));
    ASSERT_EQ(s->rom().history().entries().size(), 1u);
    undoWithOpenMap(s->rom(), s->romState(), s->mapState(), s->data().tilesets(),
                    s->rom().history().entries().front().id);
    EXPECT_EQ(testing::fileBytes(h.rom()), before);

    // A ROM that may only be read (as a read-only file opens, also for the superuser).
    class ReadOnly final : public RomFile {
    public:
        explicit ReadOnly(const std::filesystem::path& path) : m_disk(path) {}
        void read(std::uint32_t offset, std::span<std::uint8_t> out) override {
            m_disk.read(offset, out);
        }
        void write(std::uint32_t, std::span<const std::uint8_t>) override {
            throw RomIoError("File access denied");
        }
        std::uint64_t size() const override { return m_disk.size(); }
        bool writable() const override { return false; }

    private:
        DiskRomFile m_disk;
    };
    auto ro = std::make_unique<Session>(h.folder());
    ro->openRom(std::make_unique<ReadOnly>(h.rom()), h.rom().string(), historyOf(h.rom()));
    ro->openMap("0.1", "0.1");
    EXPECT_THROW(kCommands[0].run(*ro, h.built()), RomIoError);
    EXPECT_TRUE(ro->rom().history().entries().empty());
    EXPECT_FALSE(std::filesystem::exists(historyOf(h.rom())));
    EXPECT_EQ(testing::fileBytes(h.rom()), before);
}

// A history beside a ROM it does not belong to is set aside, never applied, and told.
TEST(RomHistoryForeign, AHistoryOfAnotherRomIsSetAside) {
    struct Case {
        const char* what;
        void (*change)(const std::filesystem::path& rom);
    };
    const Case cases[] = {
        {"other size", [](const std::filesystem::path& rom) {
             std::filesystem::resize_file(rom, std::filesystem::file_size(rom) + 16);
         }},
        {"other bytes", [](const std::filesystem::path& rom) {
             romkit::writeRomFile(rom, buildSampleRom());  // the weather as it was
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HistoryRom h;
        kCommands[0].run(*h.open(), h.built());
        c.change(h.rom());
        const auto rom = testing::fileBytes(h.rom());
        auto s = h.open();
        ASSERT_EQ(s->rom().history().notices().size(), 1u);
        EXPECT_EQ(s->rom().history().notices()[0].id, "history.foreign.set_aside");
        EXPECT_TRUE(s->rom().history().entries().empty());
        EXPECT_FALSE(unfinishedTransaction(s->rom()));
        EXPECT_EQ(testing::fileBytes(h.rom()), rom);
        int aside = 0;
        for (const auto& f : std::filesystem::directory_iterator(h.rom().parent_path())) {
            aside += f.path().filename().string().starts_with("rom.gba.quillon-history.");
        }
        EXPECT_EQ(aside, 1);
    }
}

}  // namespace
}  // namespace quillon
