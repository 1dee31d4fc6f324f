#include "core/rom/rom_history.h"

#include <algorithm>
#include <ctime>

#include "core/errors.h"
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

bool outsideRom(const HistoryEntry& e, std::uint64_t romSize) {
    return std::any_of(e.ranges.begin(), e.ranges.end(), [&](const HistoryRange& r) {
        return r.offset + static_cast<std::uint64_t>(r.after.size()) > romSize;
    });
}

// Whether the ROM holds what e left in each of its ranges.
bool romHolds(RomFile& rom, const HistoryEntry& e) {
    if (outsideRom(e, rom.size())) {
        return false;
    }
    for (std::size_t k = 0; k < e.ranges.size(); ++k) {
        std::vector<std::uint8_t> now(e.ranges[k].after.size());
        rom.read(e.ranges[k].offset, now);
        if (now != finalBytes(e, k)) {
            return false;
        }
    }
    return true;
}

}  // namespace

RomHistory::RomHistory() = default;
RomHistory::~RomHistory() = default;

void RomHistory::openInMemory() {
    m_path.clear();
    m_notices.clear();
    m_entries.clear();
    m_loaded = true;
    m_unfinished.reset();
    m_nextId = 1;
    m_firstId = 1;
    m_end = 0;
}

void RomHistory::openFile(const std::filesystem::path& file, RomFile& rom) {
    openInMemory();
    m_path = file;
    m_romSize = rom.size();
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
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
    m_path = file;
    m_romSize = romSize;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        setAside("er stammt von einer früheren Datei dieses Namens");
    }
}

void RomHistory::setAside(const std::string& why) {
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
    const std::string name = m_path.filename().string();
    std::filesystem::path keep = m_path;
    openInMemory();
    if (ec) {
        m_notices.push_back("Der Verlauf \"" + name + "\" gehört nicht zu diesem Rom: " + why +
                            ". Er konnte nicht beiseitegelegt werden; der Verlauf wird nur "
                            "im Speicher geführt.");
        return;
    }
    m_path = keep;
    m_notices.push_back("Der Verlauf \"" + name + "\" gehört nicht zu diesem Rom: " + why +
                        ". Er wurde nicht angewendet und als \"" + aside.filename().string() +
                        "\" beiseitegelegt.");
}

void RomHistory::readTail(RomFile& rom) {
    HistoryFile file(m_path);
    const auto header = fmt::readHeader(file.read(0, fmt::kHeaderSize));
    if (!header) {
        throw Error("kein Verlauf oder eine unbekannte Version");
    }
    if (header->romSize != m_romSize) {
        setAside("das Rom hat " + std::to_string(m_romSize) + " Bytes, der Verlauf gehört zu " +
                 std::to_string(header->romSize) + " Bytes");
        return;
    }
    m_firstId = header->firstId;
    TailInfo tail = file.tail(header->firstId);
    if (!tail.whole) {
        loadAll();  // a torn end: only a full pass finds the last whole record
        tail.lastDone = m_entries.empty() ? std::nullopt : std::optional(m_entries.back());
    } else {
        m_loaded = false;
        m_end = tail.end;
        m_nextId = tail.nextId;
        m_unfinished = tail.unfinished;
    }
    if (m_unfinished && outsideRom(*m_unfinished, m_romSize)) {
        setAside("ein Eintrag liegt hinter dem Ende des Roms");
    } else if (tail.lastDone && !romHolds(rom, *tail.lastDone)) {
        setAside("das Rom enthält die Bytes des letzten Eintrags \"" + tail.lastDone->name +
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
    HistoryFile file(m_path);
    const std::vector<std::uint8_t> data = file.readAll();
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
    m_end = pos;
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

void RomHistory::begin(const HistoryEntry& e) {
    if (onDisk()) {
        appendFrame(fmt::entryPayload(e));
    }
    m_unfinished = e;
    m_nextId = std::max(m_nextId, e.id + 1);
}

void RomHistory::finish(bool done) {
    if (!m_unfinished) {
        return;
    }
    if (onDisk()) {
        appendFrame(fmt::markPayload(m_unfinished->id, done));
    }
    if (done && m_loaded) {
        apply(*m_unfinished);
    }
    m_unfinished.reset();
    keepWithinBounds();
}

void RomHistory::appendFrame(const std::vector<std::uint8_t>& payload) {
    if (m_hook) {
        m_hook();
    }
    HistoryFile file(m_path);
    if (m_end == 0) {
        m_end = file.start(fmt::header({m_romSize, m_nextId}));
        m_firstId = m_nextId;
    }
    m_end = file.append(m_end, fmt::frame(payload));
}

void RomHistory::keepWithinBounds() {
    const bool tooMany = m_nextId - m_firstId > m_bounds.maxEntries;
    if (!onDisk()) {
        if (m_entries.size() > m_bounds.maxEntries) {
            m_entries.erase(m_entries.begin(),
                            m_entries.end() - static_cast<long>(m_bounds.maxEntries));
        }
        return;
    }
    if (!tooMany && m_end <= m_bounds.maxBytes) {
        return;
    }
    entries();
    // The file is rewritten down to three quarters of the bounds, so that the commands after a
    // rewrite append again instead of rewriting the whole file each time.
    const std::size_t keepEntries = std::max<std::size_t>(1, m_bounds.maxEntries / 4 * 3);
    const std::uint64_t keepBytes = m_bounds.maxBytes / 4 * 3;
    std::uint64_t bytes = fmt::kHeaderSize;
    std::size_t keep = 0;
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it, ++keep) {
        const std::uint64_t size = fmt::entryPayload(*it).size() + 2 * fmt::kFrameExtra + 10;
        if (keep == keepEntries || bytes + size > keepBytes) {
            break;
        }
        bytes += size;
    }
    m_entries.erase(m_entries.begin(), m_entries.end() - static_cast<long>(keep));
    m_firstId = m_entries.empty() ? m_nextId : m_entries.front().id;
    std::vector<std::uint8_t> data = fmt::header({m_romSize, m_firstId});
    for (const HistoryEntry& e : m_entries) {
        for (const auto& payload : {fmt::entryPayload(e), fmt::markPayload(e.id, true)}) {
            auto f = fmt::frame(payload);
            data.insert(data.end(), f.begin(), f.end());
        }
    }
    HistoryFile(m_path).replace(data);
    m_end = data.size();
}

}  // namespace quillon
