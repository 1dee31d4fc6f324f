#include "core/rom/history_format.h"

#include <array>
#include <cstring>
#include <string>

#include "core/base/numbers.h"
#include "core/text/message_catalogue.h"

namespace quillon::history_format {

namespace {

constexpr std::uint8_t kMagic[4] = {'Q', 'L', 'H', 'S'};
constexpr std::uint8_t kNamedEntryType = 1;  // version 1: the title as German text
constexpr std::uint8_t kMarkType = 2;
constexpr std::uint8_t kEntryType = 3;       // version 2: the title as a message
// Bounds of a stored message: the catalogue's texts take at most nine arguments, and no message
// nests deeper than a few levels (an undo's name holds the command's name).
constexpr std::uint32_t kMaxArgs = 9;
constexpr int kMaxDepth = 8;

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    return table;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t b[4];
    writeLe32(b, v);
    out.insert(out.end(), b, b + 4);
}

void put64(std::vector<std::uint8_t>& out, std::uint64_t v) {
    put32(out, static_cast<std::uint32_t>(v));
    put32(out, static_cast<std::uint32_t>(v >> 32));
}

void putBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    put32(out, static_cast<std::uint32_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Reads a payload front to back; any read past its end makes the record malformed.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : m_data(data) {}
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_pos == m_data.size(); }
    std::span<const std::uint8_t> take(std::size_t n) {
        if (!m_ok || m_data.size() - m_pos < n) {
            m_ok = false;
            return {};
        }
        auto s = m_data.subspan(m_pos, n);
        m_pos += n;
        return s;
    }
    std::uint8_t u8() {
        auto s = take(1);
        return s.empty() ? 0 : s[0];
    }
    std::uint32_t u32() {
        auto s = take(4);
        return s.empty() ? 0 : readLe32(s.data());
    }
    std::uint64_t u64() {
        const std::uint64_t lo = u32();
        return lo | (static_cast<std::uint64_t>(u32()) << 32);
    }
    std::vector<std::uint8_t> bytes() {
        auto s = take(u32());
        return {s.begin(), s.end()};
    }
    void fail() { m_ok = false; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

std::string text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

void putText(std::vector<std::uint8_t>& out, const std::string& s) {
    putBytes(out, {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
}

// [id][text][argument count][each argument, the same way]
void putMessage(std::vector<std::uint8_t>& out, const Message& m) {
    putText(out, m.id);
    putText(out, m.text);
    put32(out, static_cast<std::uint32_t>(m.args.size()));
    for (const Message& arg : m.args) {
        putMessage(out, arg);
    }
}

Message readMessage(Reader& r, int depth) {
    Message m;
    m.id = text(r.bytes());
    m.text = text(r.bytes());
    const std::uint32_t count = r.u32();
    if (count > kMaxArgs || depth > kMaxDepth) {
        r.fail();
        return m;
    }
    for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
        m.args.push_back(readMessage(r, depth + 1));
    }
    return m;
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> data) {
    const auto& table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : data) {
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> header(const Header& h) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    put32(out, h.version);
    put64(out, h.romSize);
    put64(out, h.firstId);
    put32(out, crc32(out));
    return out;
}

std::optional<Header> readHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 4) != 0 ||
        readLe32(bytes.data() + 24) != crc32(bytes.first(24))) {
        return std::nullopt;
    }
    Header h;
    h.version = readLe32(bytes.data() + 4);
    if (h.version != kOldVersion && h.version != kVersion) {
        return std::nullopt;
    }
    Reader r(bytes.subspan(8, 16));
    h.romSize = r.u64();
    h.firstId = r.u64();
    return h;
}

std::vector<std::uint8_t> frame(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out;
    out.reserve(payload.size() + kFrameExtra);
    put32(out, static_cast<std::uint32_t>(payload.size()));
    put32(out, crc32(payload));
    out.insert(out.end(), payload.begin(), payload.end());
    put32(out, static_cast<std::uint32_t>(payload.size()));
    return out;
}

std::optional<std::span<const std::uint8_t>> frameAt(std::span<const std::uint8_t> data,
                                                     std::size_t pos) {
    if (pos > data.size() || data.size() - pos < kFrameExtra) {
        return std::nullopt;
    }
    const std::uint32_t length = readLe32(data.data() + pos);
    if (data.size() - pos - kFrameExtra < length ||
        readLe32(data.data() + pos + 8 + length) != length) {
        return std::nullopt;
    }
    auto payload = data.subspan(pos + 8, length);
    if (crc32(payload) != readLe32(data.data() + pos + 4)) {
        return std::nullopt;
    }
    return payload;
}

std::vector<std::uint8_t> entryPayload(const HistoryEntry& e) {
    std::vector<std::uint8_t> out{kEntryType};
    put64(out, e.id);
    out.push_back(static_cast<std::uint8_t>(e.kind));
    put64(out, static_cast<std::uint64_t>(e.time));
    putMessage(out, e.title);
    putText(out, e.map);
    put32(out, static_cast<std::uint32_t>(e.targets.size()));
    for (std::uint64_t t : e.targets) {
        put64(out, t);
    }
    put32(out, static_cast<std::uint32_t>(e.ranges.size()));
    for (const HistoryRange& r : e.ranges) {
        put32(out, r.offset);
        putBytes(out, r.before);
        putBytes(out, r.after);
    }
    return out;
}

std::vector<std::uint8_t> markPayload(std::uint64_t id, bool done) {
    std::vector<std::uint8_t> out{kMarkType};
    put64(out, id);
    out.push_back(done ? 1 : 0);
    return out;
}

std::optional<Record> parse(std::span<const std::uint8_t> payload) {
    Reader r(payload);
    Record rec;
    const std::uint8_t type = r.u8();
    if (type == kMarkType) {
        rec.isMark = true;
        rec.id = r.u64();
        const std::uint8_t done = r.u8();
        rec.done = done == 1;
        return r.ok() && r.atEnd() && done <= 1 ? std::optional(rec) : std::nullopt;
    }
    HistoryEntry& e = rec.entry;
    e.id = r.u64();
    const std::uint8_t kind = r.u8();
    e.kind = static_cast<EntryKind>(kind);
    e.time = static_cast<std::int64_t>(r.u64());
    if (type == kEntryType) {
        e.title = readMessage(r, 0);
        e.name = germanText(e.title);
    } else {
        e.name = text(r.bytes());
        e.title = Message(e.name);
    }
    e.map = text(r.bytes());
    const std::uint32_t targets = r.u32();
    for (std::uint32_t i = 0; i < targets && r.ok(); ++i) {
        e.targets.push_back(r.u64());
    }
    const std::uint32_t ranges = r.u32();
    for (std::uint32_t i = 0; i < ranges && r.ok(); ++i) {
        HistoryRange range;
        range.offset = r.u32();
        range.before = r.bytes();
        range.after = r.bytes();
        if (range.before.size() != range.after.size()) {
            return std::nullopt;
        }
        e.ranges.push_back(std::move(range));
    }
    if ((type != kEntryType && type != kNamedEntryType) || kind > 2 || !r.ok() || !r.atEnd()) {
        return std::nullopt;
    }
    return rec;
}

}  // namespace quillon::history_format
