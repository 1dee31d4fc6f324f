#include "core/rom/rom_history.h"

#include <algorithm>
#include <ctime>

#include "core/errors.h"
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

namespace {

namespace check = history_check;

Error unfinishedError(const HistoryEntry& e) {
    return Error("Im Verlauf steht eine unvollendete Änderung (\"" + e.name +
                 "\"); sie muss zuerst vollendet oder zurückgenommen werden.");
}

}  // namespace

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
        setAside(std::string("er kann nicht gelesen werden (") + e.what() + ")");
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
        setAside("er stammt von einer früheren Datei dieses Namens");
    }
}

void RomHistory::setAside(const std::string& why) {
    const std::string name = m_path.filename().string();
    const std::string head = "Der Verlauf \"" + name + "\" gehört nicht zu diesem Rom: " + why;
    if (m_access == Access::Read) {
        openInMemory();
        m_notices.push_back(head + ". Er wurde nicht angewendet und bleibt unverändert liegen.");
        return;
    }
    char stamp[32] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M", &local);
    std::filesystem::path aside = m_path.string() + "." + stamp;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(aside, ec); ++n) {
        aside = m_path.string() + "." + stamp + "-" + std::to_string(n);
    }
    std::filesystem::rename(m_path, aside, ec);
    const std::filesystem::path keep = m_path;
    openInMemory();
    if (ec) {
        m_notices.push_back(head + ". Er konnte nicht beiseitegelegt werden; der Verlauf wird "
                                   "nur im Speicher geführt.");
        return;
    }
    m_path = keep;
    m_file = m_maker ? m_maker(keep) : std::make_unique<DiskHistoryFile>(keep);
    m_notices.push_back(head + ". Er wurde nicht angewendet und als \"" +
                        aside.filename().string() + "\" beiseitegelegt.");
}

void RomHistory::readTail(RomFile& rom) {
    const auto headerBytes = m_file->read(0, fmt::kHeaderSize);
    m_identity = m_file->identity();
    if (headerBytes.size() < fmt::kHeaderSize) {
        return;  // cut off while it was being made: there is no history yet
    }
    const auto header = fmt::readHeader(headerBytes);
    if (!header) {
        throw Error("kein Verlauf oder eine unbekannte Version");
    }
    if (header->romSize != m_romSize) {
        setAside("das Rom hat " + std::to_string(m_romSize) + " Bytes, der Verlauf gehört zu " +
                 std::to_string(header->romSize) + " Bytes");
        return;
    }
    m_firstId = header->firstId;
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
        setAside("ein Eintrag liegt hinter dem Ende des Roms");
        return;
    }
    if (cut) {
        const auto bad = check::neitherOldNorNew(rom, *cut);
        if (!bad.empty()) {
            setAside("das Rom enthält bei " + check::rangeList(bad) +
                     " weder die alten noch die neuen Bytes der unvollendeten Änderung \"" +
                     cut->name + "\"");
            return;
        }
    }
    if (lastDone && !check::holdsNewBytes(rom, *lastDone, cut)) {
        setAside("das Rom enthält die Bytes des letzten Eintrags \"" + lastDone->name +
                 "\" nicht");
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

void RomHistory::lock() {
    if (!onDisk()) {
        return;
    }
    if (m_access == Access::Read) {
        throw RomIoError("File access denied");
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
        throw Error("Der Verlauf \"" + m_path.filename().string() +
                    "\" wurde von einem anderen Programm ersetzt und passt nicht zu diesem "
                    "Rom; es wurde nichts geschrieben.");
    }
    m_firstId = header->firstId;
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
        throw Error("\"" + e.name + "\" wird nicht geschrieben: das Rom wurde bei " +
                    check::rangeList(changed) + " von anderer Seite geändert, seit der Befehl "
                    "es gelesen hat. Es wurde nichts geschrieben.");
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

void RomHistory::writeRecord(const HistoryEntry& e) {
    m_created = m_end == 0;
    m_endBefore = m_end;
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
        } else if (m_file->size() > m_end) {
            m_file->truncate(m_end);  // the torn end of a record that never became whole
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
        m_notices.push_back(std::string("Die Änderung ist im Rom, aber ihr Abschluss im "
                                        "Verlauf ist nicht sicher auf der Platte: ") +
                            e.what());
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
        m_notices.push_back("Der Verlauf \"" + m_path.filename().string() +
                            "\" konnte nicht gekürzt werden und bleibt größer als eingestellt: " +
                            e.what());
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
    m_end = data.size();
    m_identity = m_file->identity();
}

}  // namespace quillon
