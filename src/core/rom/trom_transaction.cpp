#include <ctime>

#include "core/errors.h"
#include "core/rom/history_check.h"
#include "core/rom/rom_copy.h"
#include "core/rom/trom.h"

namespace quillon {

TRom::Transaction::Transaction(TRom& rom, Message name, std::string map)
    : m_rom(rom), m_outer(rom.m_depth == 0) {
    if (m_outer) {
        rom.m_pending.clear();
        rom.m_broken = false;
        m_entry.name = germanText(name);
        m_entry.title = std::move(name);
        m_entry.map = std::move(map);
    }
    ++rom.m_depth;
}

TRom::Transaction::~Transaction() {
    --m_rom.m_depth;
    if (m_done) {
        return;
    }
    if (m_outer) {
        m_rom.m_pending.clear();
    } else {
        m_rom.m_broken = true;
    }
}

void TRom::Transaction::setKind(EntryKind kind, std::vector<std::uint64_t> targets) {
    m_entry.kind = kind;
    m_entry.targets = std::move(targets);
}

void TRom::Transaction::commit() {
    if (m_done) {
        return;
    }
    m_done = true;
    if (!m_outer) {
        return;
    }
    std::vector<HistoryRange> pending = std::move(m_rom.m_pending);
    m_rom.m_pending.clear();
    if (m_rom.m_broken) {
        throw Error(message("history.cut_short", {m_entry.title}));
    }
    m_entry.ranges = std::move(pending);
    m_rom.commitPending(std::move(m_entry));
}

namespace {

// Ends the history's lock on every way out of a commit.
class HistoryLock {
public:
    explicit HistoryLock(RomHistory& history) : m_history(history) { history.lock(); }
    ~HistoryLock() { m_history.release(); }
    HistoryLock(const HistoryLock&) = delete;
    HistoryLock& operator=(const HistoryLock&) = delete;

private:
    RomHistory& m_history;
};

}  // namespace

void TRom::requireSameFile() {
    // A file renamed over the ROM's name since it was opened would never see these writes.
    if (!file().isAt(m_filePath.empty() ? m_fileName : m_filePath)) {
        throw Error(message("history.rom_replaced", {m_fileName.filename().string()}));
    }
}

void TRom::commitPending(HistoryEntry entry) {
    if (entry.ranges.empty()) {
        return;
    }
    requireSameFile();
    entry.time = static_cast<std::int64_t>(std::time(nullptr));
    HistoryLock lock(*m_history);
    m_history->begin(entry, file());
    try {
        // The ranges go in the order the command wrote them, which is data first and the
        // pointer that publishes them last.
        writeRanges(entry.ranges, true);
    } catch (...) {
        try {
            writeRanges(entry.ranges, false);
            m_history->rollBack();
        } catch (...) {
            // The history keeps the transaction without a mark; the next open asks.
        }
        throw;
    }
    m_history->finish();
}

void TRom::writeRanges(const std::vector<HistoryRange>& ranges, bool forward) {
    RomFile& f = file();
    if (forward) {
        for (const HistoryRange& r : ranges) {
            f.write(r.offset, r.after);
        }
    } else {
        for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) {
            f.write(it->offset, it->before);
        }
    }
    f.flush();
}

void TRom::finishUnfinished(bool complete) {
    if (!m_history->unfinished()) {
        return;
    }
    requireSameFile();
    HistoryLock lock(*m_history);
    if (!m_history->unfinished()) {
        return;  // another program ended it meanwhile
    }
    // Both byte sets are in the history, so either way is exact whatever part reached the ROM;
    // but only when every byte holds one of them: otherwise this is not the ROM it was meant
    // for, or it was changed since.
    const HistoryEntry entry = *m_history->unfinished();
    const auto bad = history_check::neitherOldNorNew(file(), entry);
    if (!bad.empty()) {
        throw Error(message(complete ? "history.not_completed" : "history.not_rolled_back",
                            {entry.title, history_check::rangeList(bad)}));
    }
    writeRanges(entry.ranges, complete);
    m_history->resolve(complete);
}

void TRom::openHistory(const std::optional<std::filesystem::path>& historyFile, bool readOnly) {
    if (historyFile) {
        const bool write = !readOnly && file().writable();
        m_history->openFile(*historyFile, file(),
                            write ? RomHistory::Access::Write : RomHistory::Access::Read);
    } else {
        m_history->openInMemory();
    }
}

bool TRom::writable() { return bound() && file().writable(); }

bool TRom::saveAsCopy(const std::filesystem::path& name,
                      const std::function<void()>& writeOnCopy) {
    RomFile& source = file();
    const auto* disk = dynamic_cast<const DiskRomFile*>(&source);
    RomCopy copy(source, disk ? disk->mode() : 0644, name);
    std::unique_ptr<RomFile> previous = std::move(m_file);
    std::unique_ptr<RomHistory> previousHistory = std::move(m_history);
    // The copy's history starts fresh beside it; the save into the copy is its first entry.
    m_history = std::make_unique<RomHistory>();
    std::filesystem::path historyFile = name;
    historyFile += ".quillon-history";
    const auto restore = [&] {
        m_filePath.clear();
        m_file = std::move(previous);
        if (m_history->onDisk()) {
            std::error_code ec;
            std::filesystem::remove(historyFile, ec);
        }
        m_history = std::move(previousHistory);
    };
    try {
        m_file = std::make_unique<DiskRomFile>(copy.temporary());
        m_filePath = copy.temporary();
        if (previousHistory->onDisk()) {
            m_history->startFresh(historyFile, m_file->size(), *previousHistory);
        }
        if (writeOnCopy) {
            writeOnCopy();
        }
        m_file->flush();
        if (!copy.publish()) {
            restore();
            return false;
        }
    } catch (...) {
        restore();
        throw;
    }
    m_filePath.clear();
    m_fileName = name;
    m_opened = true;
    return true;
}

}  // namespace quillon
