// The writing half of RomHistory: a commit's steps under the history file's lock.
#include <algorithm>

#include "core/errors.h"
#include "core/rom/history_check.h"
#include "core/rom/history_file.h"
#include "core/rom/history_format.h"
#include "core/rom/rom_history.h"

namespace quillon {

namespace fmt = history_format;

namespace {

namespace check = history_check;

Error unfinishedError(const HistoryEntry& e) {
    return Error(message("history.unfinished", {e.title}));
}

}  // namespace

void RomHistory::lock() {
    if (!onDisk()) {
        return;
    }
    if (m_access == Access::Read) {
        throw RomIoError(message("io.access_denied"));
    }
    m_file->lock();
    try {
        refresh();
    } catch (...) {
        m_file->unlock();
        throw;
    }
}

// Under the lock: when the file is not the one read last (another program appended to it or
// shortened it), its end is read again, so the next record goes behind the other's entries.
void RomHistory::refresh() {
    if (m_file->identity() == m_identity && m_file->size() == m_end) {
        return;
    }
    m_identity = m_file->identity();
    const auto headerBytes = m_file->read(0, fmt::kHeaderSize);
    if (headerBytes.size() < fmt::kHeaderSize) {
        m_end = 0;
        return;
    }
    const auto header = fmt::readHeader(headerBytes);
    if (!header || header->romSize != m_romSize) {
        throw Error(message("history.replaced", {m_path.filename().string()}));
    }
    m_firstId = header->firstId;
    m_version = header->version;
    const TailInfo tail = history_file::tail(*m_file, header->firstId);
    if (!tail.whole) {
        loadAll();
        return;
    }
    m_entries.clear();
    m_loaded = false;
    m_end = tail.end;
    m_nextId = std::max(m_nextId, tail.nextId);
    m_unfinished = tail.unfinished;
}

void RomHistory::begin(HistoryEntry& e, RomFile& rom) {
    if (m_unfinished) {
        throw unfinishedError(*m_unfinished);
    }
    const auto changed = check::oldBytesChanged(rom, e);
    if (!changed.empty()) {
        throw Error(message("history.changed_since_read", {e.title, check::rangeList(changed)}));
    }
    e.id = m_nextId;
    if (onDisk()) {
        writeRecord(e);
    }
    m_unfinished = e;
    m_nextId = e.id + 1;
}

void RomHistory::writeAt(std::uint64_t at, const std::vector<std::uint8_t>& bytes) {
    if (m_hook) {
        m_hook();
    }
    m_file->write(at, bytes);
}

// A file of an earlier version gets the current version's header before the first record of
// the current kind goes behind its records (all of which the current version reads).
void RomHistory::raiseVersion() {
    writeAt(0, fmt::header({m_romSize, m_firstId, fmt::kVersion}));
    m_file->sync();
    m_version = fmt::kVersion;
    m_raised = true;
}

// The commit failed before the ROM changed: the file gets its old header back, so that it is
// byte for byte as before. Best effort: the raised header reads as well.
void RomHistory::lowerVersionAgain() {
    if (!m_raised) {
        return;
    }
    m_raised = false;
    try {
        writeAt(0, fmt::header({m_romSize, m_firstId, fmt::kOldVersion}));
        m_file->sync();
        m_version = fmt::kOldVersion;
    } catch (const Error&) {
    }
}

void RomHistory::writeRecord(const HistoryEntry& e) {
    m_created = m_end == 0;
    m_endBefore = m_end;
    m_raised = false;
    try {
        if (m_created) {
            // A new file, or one cut off during its first write: it starts anew.
            if (m_file->size() > 0) {
                m_file->truncate(0);
            }
            writeAt(0, fmt::header({m_romSize, e.id}));
            m_file->sync();
            m_file->syncFolder();
            m_end = fmt::kHeaderSize;
            m_version = fmt::kVersion;
        } else if (m_file->size() > m_end) {
            m_file->truncate(m_end);  // the torn end of a record that never became whole
        }
        if (m_version != fmt::kVersion) {
            raiseVersion();
        }
        const auto frame = fmt::frame(fmt::entryPayload(e));
        writeAt(m_end, frame);
        m_file->sync();
        m_end += frame.size();
    } catch (...) {
        // The ROM is untouched: the file goes back to what it was, where that still works.
        m_end = m_endBefore;
        try {
            m_file->truncate(m_end);
        } catch (const Error&) {
        }
        lowerVersionAgain();
        throw;
    }
    if (m_created) {
        m_firstId = e.id;
    }
}

void RomHistory::writeMark(std::uint64_t id, bool done) {
    const auto frame = fmt::frame(fmt::markPayload(id, done));
    writeAt(m_end, frame);
    m_end += frame.size();
    try {
        m_file->sync();
    } catch (const RomIoError& e) {
        if (!done) {
            throw;
        }
        // The ROM holds the new bytes and the mark was written: the command did its work. A
        // power cut before the mark reaches the disk leaves a transaction to complete.
        m_notices.push_back(message("history.mark_not_synced", {e.message()}));
    }
}

void RomHistory::finish() {
    if (!m_unfinished) {
        release();
        return;
    }
    if (onDisk()) {
        writeMark(m_unfinished->id, true);
    }
    if (m_loaded) {
        apply(*m_unfinished);
    }
    m_unfinished.reset();
    keepWithinBounds();
    release();
}

void RomHistory::rollBack() {
    if (m_unfinished && onDisk()) {
        if (m_hook) {
            m_hook();
        }
        m_file->truncate(m_created ? 0 : m_endBefore);
        m_file->sync();
        lowerVersionAgain();
        m_end = m_created ? 0 : m_endBefore;
        m_identity = m_file->identity();
    }
    if (m_unfinished) {
        m_nextId = m_unfinished->id;
    }
    m_unfinished.reset();
    release();
}

void RomHistory::resolve(bool done) {
    if (m_unfinished) {
        const HistoryEntry e = *m_unfinished;
        if (onDisk()) {
            writeMark(e.id, done);
        }
        m_unfinished.reset();
        if (done && m_loaded) {
            apply(e);
        }
    }
    release();
}

void RomHistory::release() {
    if (m_file) {
        m_file->unlock();
    }
}

void RomHistory::keepWithinBounds() {
    if (!onDisk()) {
        if (m_entries.size() > m_bounds.maxEntries) {
            m_entries.erase(m_entries.begin(),
                            m_entries.end() - static_cast<long>(m_bounds.maxEntries));
        }
        return;
    }
    if (m_nextId - m_firstId <= m_bounds.maxEntries && m_end <= m_bounds.maxBytes) {
        return;
    }
    // Best effort: the transaction is in the ROM and the history whatever happens here.
    try {
        trim();
    } catch (const Error& e) {
        m_notices.push_back(
            message("history.trim_failed", {m_path.filename().string(), e.message()}));
    }
}

// The file is rewritten down to three quarters of the bounds, so that the commands after a
// rewrite append again instead of rewriting the whole file each time.
void RomHistory::trim() {
    std::vector<HistoryEntry> kept = entries();
    const std::size_t keepEntries = std::max<std::size_t>(1, m_bounds.maxEntries / 4 * 3);
    const std::uint64_t keepBytes = m_bounds.maxBytes / 4 * 3;
    std::uint64_t bytes = fmt::kHeaderSize;
    std::size_t keep = 0;
    for (auto it = kept.rbegin(); it != kept.rend(); ++it, ++keep) {
        const std::uint64_t size = fmt::entryPayload(*it).size() + 2 * fmt::kFrameExtra + 10;
        if (keep == keepEntries || bytes + size > keepBytes) {
            break;
        }
        bytes += size;
    }
    kept.erase(kept.begin(), kept.end() - static_cast<long>(keep));
    const std::uint64_t firstId = kept.empty() ? m_nextId : kept.front().id;
    std::vector<std::uint8_t> data = fmt::header({m_romSize, firstId});
    for (const HistoryEntry& e : kept) {
        for (const auto& payload : {fmt::entryPayload(e), fmt::markPayload(e.id, true)}) {
            auto f = fmt::frame(payload);
            data.insert(data.end(), f.begin(), f.end());
        }
    }
    if (m_hook) {
        m_hook();
    }
    m_file->replace(data);
    m_entries = std::move(kept);
    m_firstId = firstId;
    m_version = fmt::kVersion;
    m_end = data.size();
    m_identity = m_file->identity();
}

}  // namespace quillon
