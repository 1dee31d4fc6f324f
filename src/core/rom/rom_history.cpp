#include "core/rom/rom_history.h"

#include <algorithm>
#include <ctime>

#include "core/errors.h"
#include "core/files/native_file.h"
#include "core/rom/history_check.h"
#include "core/rom/history_file.h"
#include "core/rom/history_format.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace fmt = history_format;

std::size_t HistoryEntry::byteCount() const {
    std::size_t n = 0;
    for (const HistoryRange& r : ranges) {
        n += r.after.size();
    }
    return n;
}

std::vector<std::uint8_t> finalBytes(const HistoryEntry& e, std::size_t k) {
    const HistoryRange& range = e.ranges[k];
    std::vector<std::uint8_t> out = range.after;
    const std::uint64_t begin = range.offset;
    const std::uint64_t end = begin + out.size();
    for (std::size_t j = k + 1; j < e.ranges.size(); ++j) {
        const HistoryRange& later = e.ranges[j];
        const std::uint64_t from = std::max<std::uint64_t>(begin, later.offset);
        const std::uint64_t to = std::min<std::uint64_t>(end, later.offset + later.after.size());
        for (std::uint64_t at = from; at < to; ++at) {
            out[at - begin] = later.after[at - later.offset];
        }
    }
    return out;
}

namespace check = history_check;

RomHistory::RomHistory() = default;
RomHistory::~RomHistory() = default;

void RomHistory::openInMemory() {
    m_path.clear();
    m_file.reset();
    m_access = Access::Write;
    m_notices.clear();
    m_entries.clear();
    m_loaded = true;
    m_unfinished.reset();
    m_nextId = 1;
    m_firstId = 1;
    m_end = 0;
    m_identity = 0;
    m_version = fmt::kVersion;
}

void RomHistory::openFile(const std::filesystem::path& file, RomFile& rom, Access access) {
    openInMemory();
    m_path = file;
    m_file = m_maker ? m_maker(file) : std::make_unique<DiskHistoryFile>(file);
    m_access = access;
    m_romSize = rom.size();
    if (!m_file->exists()) {
        return;
    }
    try {
        readTail(rom);
    } catch (const Error& e) {
        setAside(message("history.why.unreadable", {e.message()}));
    }
}

void RomHistory::startFresh(const std::filesystem::path& file, std::uint64_t romSize,
                            const RomHistory& other) {
    openInMemory();
    m_bounds = other.m_bounds;
    m_hook = other.m_hook;
    m_maker = other.m_maker;
    m_path = file;
    m_file = m_maker ? m_maker(file) : std::make_unique<DiskHistoryFile>(file);
    m_romSize = romSize;
    if (m_file->exists()) {
        setAside(message("history.why.earlier_file"));
    }
}

void RomHistory::setAside(const Message& why) {
    const std::string name = m_path.filename().string();
    if (m_access == Access::Read) {
        openInMemory();
        m_notices.push_back(message("history.foreign.left", {name, why}));
        return;
    }
    char stamp[32] = {};
    const std::time_t now = std::time(nullptr);
    const std::tm local = native::localTime(now);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M", &local);
    std::filesystem::path aside = std::filesystem::path(m_path) += std::string(".") + stamp;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(aside, ec); ++n) {
        aside = m_path;
        aside += "." + std::string(stamp) + "-" + std::to_string(n);
    }
    std::filesystem::rename(m_path, aside, ec);
    const std::filesystem::path keep = m_path;
    openInMemory();
    if (ec) {
        m_notices.push_back(message("history.foreign.in_memory", {name, why}));
        return;
    }
    m_path = keep;
    m_file = m_maker ? m_maker(keep) : std::make_unique<DiskHistoryFile>(keep);
    m_notices.push_back(
        message("history.foreign.set_aside", {name, why, aside.filename().string()}));
}

void RomHistory::readTail(RomFile& rom) {
    const auto headerBytes = m_file->read(0, fmt::kHeaderSize);
    m_identity = m_file->identity();
    if (headerBytes.size() < fmt::kHeaderSize) {
        return;  // cut off while it was being made: there is no history yet
    }
    const auto header = fmt::readHeader(headerBytes);
    if (!header) {
        throw Error(message("history.why.unknown_format"));
    }
    if (header->romSize != m_romSize) {
        setAside(message("history.why.rom_size",
                         {std::to_string(m_romSize), std::to_string(header->romSize)}));
        return;
    }
    m_firstId = header->firstId;
    m_version = header->version;
    TailInfo tail = history_file::tail(*m_file, header->firstId);
    if (!tail.whole) {
        loadAll();  // a torn end: only a full pass finds the last whole record
        tail.lastDone = m_entries.empty() ? std::nullopt : std::optional(m_entries.back());
    } else {
        m_loaded = false;
        m_end = tail.end;
        m_nextId = tail.nextId;
        m_unfinished = tail.unfinished;
    }
    judge(rom, tail.lastDone);
}

// The file belongs to the ROM when the ROM holds what the history says: the newest finished
// transaction's new bytes, and in each range of one cut off after it its old or new bytes.
void RomHistory::judge(RomFile& rom, const std::optional<HistoryEntry>& lastDone) {
    const HistoryEntry* cut = m_unfinished ? &*m_unfinished : nullptr;
    if (cut && check::outsideRom(*cut, m_romSize)) {
        setAside(message("history.why.past_end"));
        return;
    }
    if (cut) {
        const auto bad = check::neitherOldNorNew(rom, *cut);
        if (!bad.empty()) {
            setAside(message("history.why.neither", {check::rangeList(bad), cut->title}));
            return;
        }
    }
    if (lastDone && !check::holdsNewBytes(rom, *lastDone, cut)) {
        setAside(message("history.why.last_entry", {lastDone->title}));
    }
}

const std::vector<HistoryEntry>& RomHistory::entries() {
    if (!m_loaded) {
        loadAll();
    }
    return m_entries;
}

void RomHistory::loadAll() {
    const std::vector<std::uint8_t> data = m_file->read(0, m_file->size());
    m_entries.clear();
    m_unfinished.reset();
    std::optional<HistoryEntry> pending;
    std::size_t pos = fmt::kHeaderSize;
    while (auto payload = fmt::frameAt(data, pos)) {
        auto rec = fmt::parse(*payload);
        if (!rec) {
            break;
        }
        pos += payload->size() + fmt::kFrameExtra;
        if (!rec->isMark) {
            m_nextId = std::max(m_nextId, rec->entry.id + 1);
            pending = std::move(rec->entry);
        } else if (pending && pending->id == rec->id) {
            if (rec->done) {
                apply(*pending);
            }
            pending.reset();
        }
    }
    m_unfinished = std::move(pending);
    m_end = data.size() < fmt::kHeaderSize ? 0 : pos;
    m_loaded = true;
}

void RomHistory::apply(const HistoryEntry& e) {
    const auto targeted = [&](const HistoryEntry& x) {
        return std::find(e.targets.begin(), e.targets.end(), x.id) != e.targets.end();
    };
    if (e.kind == EntryKind::Ordinary) {
        std::erase_if(m_entries, [](const HistoryEntry& x) { return x.undone; });
    }
    for (HistoryEntry& x : m_entries) {
        if (targeted(x)) {
            x.undone = e.kind == EntryKind::Undo;
        }
    }
    m_entries.push_back(e);
}

}  // namespace quillon
