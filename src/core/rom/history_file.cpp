#include "core/rom/history_file.h"

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/history_format.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace fmt = history_format;

namespace {

// what: the id of the step that failed ("history.file.write").
RomIoError fileError(const std::filesystem::path& path, const char* what, int err) {
    return RomIoError(message(what, {path.filename().string(), ioErrorFromErrno(err).message()}));
}

std::uint64_t identityValue(const native::FileIdentity& id) {
    return (id.device << 40) ^ id.index;
}

void writeAll(native::NativeFile& file, const std::filesystem::path& path, std::uint64_t at,
              std::span<const std::uint8_t> data) {
    if (const int err = file.writeAt(at, data.data(), data.size()); err != 0) {
        throw fileError(path, "history.file.write", err);
    }
}

void syncFile(native::NativeFile& file, const std::filesystem::path& path) {
    if (const int err = file.sync(); err != 0) {
        throw fileError(path, "history.file.write", err);
    }
}

// The record of the frame that ends at end (its start into start); nullopt when there is no
// whole, well-formed frame.
std::optional<fmt::Record> recordBefore(const HistoryFile& file, std::uint64_t end,
                                        std::uint64_t& start) {
    const auto last = file.read(end - 4, 4);
    if (last.size() != 4) {
        return std::nullopt;
    }
    const std::uint32_t length = readLe32(last.data());
    if (end - fmt::kHeaderSize - fmt::kFrameExtra < length) {
        return std::nullopt;
    }
    start = end - fmt::kFrameExtra - length;
    const auto bytes = file.read(start, length + fmt::kFrameExtra);
    const auto payload = fmt::frameAt(bytes, 0);
    return payload ? fmt::parse(*payload) : std::nullopt;
}

}  // namespace

DiskHistoryFile::~DiskHistoryFile() { unlock(); }

bool DiskHistoryFile::exists() const {
    std::error_code ec;
    return std::filesystem::exists(m_path, ec);
}

std::uint64_t DiskHistoryFile::size() const {
    native::NativeFile own;
    const native::NativeFile* file = &m_file;
    if (!m_file.isOpen()) {
        if (const int err = own.open(m_path, native::NativeFile::Mode::Read); err != 0) {
            if (err == ENOENT) {
                return 0;
            }
            throw fileError(m_path, "history.file.read", err);
        }
        file = &own;
    }
    std::uint64_t bytes = 0;
    if (const int err = file->size(bytes); err != 0) {
        throw fileError(m_path, "history.file.read", err);
    }
    return bytes;
}

std::uint64_t DiskHistoryFile::identity() const {
    native::FileIdentity id;
    return native::identityOf(m_path, id) == 0 ? identityValue(id) : 0;
}

std::vector<std::uint8_t> DiskHistoryFile::read(std::uint64_t offset, std::size_t count) const {
    native::NativeFile own;
    const native::NativeFile* file = &m_file;
    if (!m_file.isOpen()) {
        if (const int err = own.open(m_path, native::NativeFile::Mode::Read); err != 0) {
            if (err == ENOENT) {
                return {};
            }
            throw fileError(m_path, "history.file.read", err);
        }
        file = &own;
    }
    std::vector<std::uint8_t> out(count);
    std::size_t done = 0;
    while (done < count) {
        std::size_t n = 0;
        if (const int err = file->readAt(offset + done, out.data() + done, count - done, n);
            err != 0) {
            throw fileError(m_path, "history.file.read", err);
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    out.resize(done);
    return out;
}

bool DiskHistoryFile::lock() {
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(m_lockWaitMs);
    for (;;) {
        const bool existed = exists();
        unlock();
        if (const int err = m_file.open(m_path, native::NativeFile::Mode::ReadWriteCreate);
            err != 0) {
            throw fileError(m_path, "history.file.create", err);
        }
        if (const int err = m_file.tryLock(); err != 0) {
            if (err != EWOULDBLOCK) {
                unlock();
                throw fileError(m_path, "history.file.lock", err);
            }
            if (Clock::now() >= giveUp) {
                unlock();
                throw Error(message("history.locked", {m_path.filename().string()}));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        native::FileIdentity held;
        if (m_file.identity(held) == 0 && identityValue(held) == identity()) {
            return !existed;
        }
        // The name stands for another file now (the history was shortened meanwhile).
    }
}

void DiskHistoryFile::unlock() {
    m_file.close();  // ends the lock too
}

void DiskHistoryFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    writeAll(m_file, m_path, offset, data);
}

void DiskHistoryFile::truncate(std::uint64_t size) {
    if (const int err = m_file.truncate(size); err != 0) {
        throw fileError(m_path, "history.file.write", err);
    }
}

void DiskHistoryFile::sync() { syncFile(m_file, m_path); }

void DiskHistoryFile::syncFolder() {
    const int err = native::syncFolder(m_path.parent_path());
    // EINVAL: the file system keeps no folder entries that could be synced.
    if (err != 0 && err != EINVAL) {
        throw fileError(m_path, "history.file.register", err);
    }
}

void DiskHistoryFile::replace(const std::vector<std::uint8_t>& data) {
    std::filesystem::path temporary = m_path;
    temporary += ".neu";
    native::NativeFile file;
    if (const int err = file.open(temporary, native::NativeFile::Mode::WriteTruncate); err != 0) {
        throw fileError(m_path, "history.file.write", err);
    }
    try {
        writeAll(file, temporary, 0, data);
        syncFile(file, temporary);
    } catch (...) {
        file.close();
        native::removeFile(temporary);
        throw;
    }
    file.close();
    int err = native::renameOver(temporary, m_path);
    if (err == EACCES && m_file.isOpen()) {
        // Windows renames nothing over a file held open: the lock ends first there. A writer
        // that takes it meanwhile and finds the name renamed over opens the new file.
        unlock();
        err = native::renameOver(temporary, m_path);
    }
    if (err != 0) {
        native::removeFile(temporary);
        throw fileError(m_path, "history.file.write", err);
    }
    unlock();
    syncFolder();
}

namespace history_file {

TailInfo tail(const HistoryFile& file, std::uint64_t firstId) {
    TailInfo info;
    info.end = file.size();
    info.nextId = firstId;
    std::uint64_t pos = info.end;
    std::optional<fmt::Record> mark;
    // Back to the newest transaction marked done, however many rolled-back ones lie after it.
    while (pos > fmt::kHeaderSize && !info.lastDone) {
        if (pos < fmt::kHeaderSize + fmt::kFrameExtra) {
            return info;
        }
        std::uint64_t start = 0;
        auto rec = recordBefore(file, pos, start);
        if (!rec || (rec->isMark && mark)) {
            return info;
        }
        if (rec->isMark) {
            mark = std::move(rec);
        } else {
            info.nextId = std::max(info.nextId, rec->entry.id + 1);
            if (mark && mark->id != rec->entry.id) {
                return info;
            }
            if (!mark && pos == info.end) {
                info.unfinished = rec->entry;
            } else if (mark && mark->done) {
                info.lastDone = std::move(rec->entry);
            } else if (!mark) {
                return info;  // a transaction without mark that is not the last record
            }
            mark.reset();
        }
        pos = start;
    }
    info.whole = pos == fmt::kHeaderSize || info.lastDone.has_value();
    return info;
}

}  // namespace history_file

}  // namespace quillon
