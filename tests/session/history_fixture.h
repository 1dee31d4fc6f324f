#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/session/open_map_history.h"
#include "core/session/session.h"
#include "romkit/rom_files.h"
#include "tests/map/sample_rom.h"
#include "tests/support/program_folder.h"

namespace quillon::testing {

inline std::string historyOf(const std::filesystem::path& rom) {
    return rom.string() + ".quillon-history";
}

// Counts the writes of a commit (ROM and history file alike). From write number stopAt on,
// every write fails, as if the program had died right there; or (once) only that write fails,
// as on a full disk, and the program goes on.
struct Crash {
    int stopAt = -1;
    bool once = false;
    int count = 0;
    void step() {
        const int now = count;
        if (stopAt < 0 || now < stopAt || (once && now > stopAt)) {
            ++count;
            return;
        }
        count += once ? 1 : 0;
        throw RomIoError("crash");
    }
};

// The ROM file on disk with its writes going through a Crash.
class CrashingFile final : public RomFile {
public:
    CrashingFile(const std::filesystem::path& path, Crash& crash) : m_disk(path), m_crash(crash) {}
    void read(std::uint32_t offset, std::span<std::uint8_t> out) override {
        m_disk.read(offset, out);
    }
    void write(std::uint32_t offset, std::span<const std::uint8_t> data) override {
        m_crash.step();
        m_disk.write(offset, data);
    }
    std::uint64_t size() const override { return m_disk.size(); }
    void flush() override { m_disk.flush(); }

private:
    DiskRomFile m_disk;
    Crash& m_crash;
};

// A program folder for the sample ROM of a family, and the ROM written to disk.
class HistoryRom {
public:
    // size: the ROM file grown to that many bytes (0: as built).
    explicit HistoryRom(romkit::Family family = romkit::Family::Rse, std::uint64_t size = 0)
        : m_built(buildSampleRom(family)), m_size(size) {
        romkit::writeProgramFolder(m_dir.path(), m_built);
        reset();
    }
    // The ROM as built, no history beside it.
    void reset() {
        romkit::writeRomFile(rom(), m_built);
        if (m_size > 0) {
            std::filesystem::resize_file(rom(), m_size);
        }
        std::filesystem::remove(historyOf(rom()));
    }
    std::filesystem::path rom() const { return m_dir.file("rom.gba"); }
    const std::filesystem::path& folder() const { return m_dir.path(); }
    const romkit::BuiltRom& built() const { return m_built; }
    std::unique_ptr<Session> open(const std::string& map = "0.1", bool readOnly = false) const {
        auto s = std::make_unique<Session>(m_dir.path());
        s->openRom(rom(), readOnly);
        if (!map.empty() && !unfinishedTransaction(s->rom())) {
            s->openMap(map, map);
        }
        return s;
    }
    // The session on the ROM with every write going through crash.
    std::unique_ptr<Session> openCrashing(Crash& crash) const {
        auto s = std::make_unique<Session>(m_dir.path());
        s->openRom(std::make_unique<CrashingFile>(rom(), crash), rom().string(), historyOf(rom()));
        s->rom().history().setWriteHook([&crash] { crash.step(); });
        s->openMap("0.1", "0.1");
        return s;
    }

private:
    TempDir m_dir;
    romkit::BuiltRom m_built;
    std::uint64_t m_size = 0;
};

}  // namespace quillon::testing
