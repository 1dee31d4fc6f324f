#include "core/gfx/lz77_compress.h"

#include <algorithm>

#include "core/errors.h"

namespace quillon {

namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
constexpr std::size_t kWindow = 4096;
constexpr std::size_t kHashSize = 1 << 16;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

struct Match {
    std::size_t length = 0;
    std::size_t distance = 0;
};

// Positions chained by the hash of the three bytes that start there, newest first, so a walk
// down a chain meets nearer candidates before farther ones.
class MatchFinder {
public:
    MatchFinder(std::span<const std::uint8_t> data, bool vramSafe)
        : m_data(data),
          m_head(kHashSize, kNone),
          m_prev(data.size(), kNone),
          m_minDistance(vramSafe ? 2 : 1) {}

    Match longestAt(std::size_t pos) const {
        Match best;
        if (pos + kMinMatch > m_data.size()) {
            return best;
        }
        const std::size_t limit = std::min(kMaxMatch, m_data.size() - pos);
        for (std::uint32_t cand = m_head[hashAt(pos)]; cand != kNone; cand = m_prev[cand]) {
            const std::size_t distance = pos - cand;
            if (distance > kWindow) {
                break;
            }
            if (distance < m_minDistance) {
                continue;
            }
            // Comparing input with input is exact even when the run overlaps the bytes it
            // produces: the decoder's output at cand + k equals the input there.
            std::size_t length = 0;
            while (length < limit && m_data[cand + length] == m_data[pos + length]) {
                ++length;
            }
            if (length > best.length) {
                best = {length, distance};
                if (length == limit) {
                    break;
                }
            }
        }
        return best.length >= kMinMatch ? best : Match{};
    }

    void insert(std::size_t pos) {
        if (pos + kMinMatch > m_data.size()) {
            return;
        }
        const std::size_t h = hashAt(pos);
        m_prev[pos] = m_head[h];
        m_head[h] = static_cast<std::uint32_t>(pos);
    }

private:
    std::size_t hashAt(std::size_t pos) const {
        const std::uint32_t key = m_data[pos] | (m_data[pos + 1] << 8) | (m_data[pos + 2] << 16);
        return ((key * 2654435761u) >> 16) & (kHashSize - 1);
    }

    std::span<const std::uint8_t> m_data;
    std::vector<std::uint32_t> m_head;
    std::vector<std::uint32_t> m_prev;
    std::size_t m_minDistance;
};

}  // namespace

std::vector<std::uint8_t> lz77Compress(std::span<const std::uint8_t> data, bool vramSafe) {
    if (data.size() > 0xFFFFFF) {
        throw DataError(message("compression.too_large"));
    }
    std::vector<std::uint8_t> out{0x10, static_cast<std::uint8_t>(data.size()),
                                  static_cast<std::uint8_t>(data.size() >> 8),
                                  static_cast<std::uint8_t>(data.size() >> 16)};
    MatchFinder finder(data, vramSafe);
    std::size_t pos = 0;
    while (pos < data.size()) {
        const std::size_t flagAt = out.size();
        out.push_back(0);
        for (int item = 0; item < 8 && pos < data.size(); ++item) {
            const Match match = finder.longestAt(pos);
            if (match.length == 0) {
                out.push_back(data[pos]);
                finder.insert(pos++);
                continue;
            }
            out[flagAt] |= static_cast<std::uint8_t>(0x80 >> item);
            const std::size_t d = match.distance - 1;
            out.push_back(static_cast<std::uint8_t>(((match.length - kMinMatch) << 4) | (d >> 8)));
            out.push_back(static_cast<std::uint8_t>(d));
            for (std::size_t k = 0; k < match.length; ++k) {
                finder.insert(pos++);
            }
        }
    }
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
    return out;
}

}  // namespace quillon
