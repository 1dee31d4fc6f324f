#include "core/tables/pointer_index.h"

#include <algorithm>
#include <array>

#include "core/base/numbers.h"
#include "core/rom/rom_pointer.h"

namespace quillon::tables {

namespace {

constexpr int kSaturated = 255;

// The lowest reference count whose slots, with all slots counted more often, still fit into
// limit; slots at exactly that count may fill the rest.
int keptCount(const std::vector<std::uint8_t>& counts, std::size_t limit) {
    std::array<std::size_t, kSaturated + 1> histogram{};
    for (std::uint8_t c : counts) {
        ++histogram[c];
    }
    std::size_t kept = 0;
    for (int c = kSaturated; c >= 1; --c) {
        kept += histogram[static_cast<std::size_t>(c)];
        if (kept >= limit) {
            return c;
        }
    }
    return 1;
}

}  // namespace

PointerIndex::PointerIndex(std::span<const std::uint8_t> image) : m_counts(image.size() / 4, 0) {
    const std::size_t words = image.size() / 4;
    const std::uint8_t* bytes = image.data();
    std::size_t distinct = 0;
    for (std::size_t i = 0; i < words; ++i) {
        const auto target = decodeRomPointer(readLe32(bytes + 4 * i));
        if (!target || *target % 4 != 0 || *target / 4 >= words) {
            continue;
        }
        std::uint8_t& count = m_counts[*target / 4];
        distinct += count == 0 ? 1 : 0;
        if (count < kSaturated) {
            ++count;
        }
    }
    const int least = distinct > kMaxTargets ? keptCount(m_counts, kMaxTargets) : 1;
    std::size_t above = 0;
    for (std::uint8_t c : m_counts) {
        above += c > least ? 1 : 0;
    }
    // Slots referenced exactly least times fill the room the more referenced ones leave.
    std::size_t equalRoom = kMaxTargets - std::min(above, kMaxTargets);
    m_targets.reserve(std::min(distinct, kMaxTargets));
    for (std::size_t slot = 0; slot < words; ++slot) {
        const int c = m_counts[slot];
        if (c > least || (c == least && equalRoom > 0)) {
            equalRoom -= c == least ? 1 : 0;
            m_targets.push_back(static_cast<std::uint32_t>(slot * 4));
        }
    }
}

int PointerIndex::references(std::uint32_t offset) const {
    if (offset % 4 != 0 || offset / 4 >= m_counts.size()) {
        return 0;
    }
    return m_counts[offset / 4];
}

}  // namespace quillon::tables
