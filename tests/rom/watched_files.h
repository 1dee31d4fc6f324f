#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/rom/history_file.h"
#include "core/rom/rom_file.h"

namespace quillon::testing {

// The steps of a commit as the ROM file and the history file see them, in order; one named
// step can be made to fail (the n-th time it comes).
struct Steps {
    std::vector<std::string> log;
    std::string failing;
    int failAt = 0;
    int seen = 0;
    void step(const std::string& name) {
        log.push_back(name);
        if (name == failing && seen++ == failAt) {
            throw RomIoError("I/O error 5");
        }
    }
};

class WatchedHistoryFile final : public HistoryFile {
public:
    WatchedHistoryFile(const std::filesystem::path& path, Steps& steps, int lockWaitMs = 2000)
        : m_disk(path, lockWaitMs), m_steps(steps) {}
    const std::filesystem::path& path() const override { return m_disk.path(); }
    bool exists() const override { return m_disk.exists(); }
    std::uint64_t size() const override { return m_disk.size(); }
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) const override {
        return m_disk.read(offset, count);
    }
    std::uint64_t identity() const override { return m_disk.identity(); }
    bool lock() override { return m_disk.lock(); }
    void unlock() override { m_disk.unlock(); }
    void write(std::uint64_t offset, std::span<const std::uint8_t> data) override {
        m_steps.step("history write");
        m_disk.write(offset, data);
    }
    void truncate(std::uint64_t size) override {
        m_steps.step("history truncate");
        m_disk.truncate(size);
    }
    void sync() override {
        m_steps.step("history sync");
        m_disk.sync();
    }
    void syncFolder() override {
        m_steps.step("folder sync");
        m_disk.syncFolder();
    }
    void replace(const std::vector<std::uint8_t>& data) override {
        m_steps.step("history replace");
        m_disk.replace(data);
    }

private:
    DiskHistoryFile m_disk;
    Steps& m_steps;
};

inline HistoryFileMaker watchedHistory(Steps& steps, int lockWaitMs = 2000) {
    return [&steps, lockWaitMs](const std::filesystem::path& path) {
        return std::make_unique<WatchedHistoryFile>(path, steps, lockWaitMs);
    };
}

// A ROM in memory whose writes and flushes are steps too.
class WatchedRomFile final : public RomFile {
public:
    WatchedRomFile(std::vector<std::uint8_t> bytes, Steps& steps)
        : m_memory(std::move(bytes)), m_steps(steps) {}
    void read(std::uint32_t offset, std::span<std::uint8_t> out) override {
        m_memory.read(offset, out);
    }
    void write(std::uint32_t offset, std::span<const std::uint8_t> data) override {
        m_steps.step("rom write");
        m_memory.write(offset, data);
    }
    std::uint64_t size() const override { return m_memory.size(); }
    void flush() override { m_steps.step("rom flush"); }

private:
    MemoryRomFile m_memory;
    Steps& m_steps;
};

}  // namespace quillon::testing
