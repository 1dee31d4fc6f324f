#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon::tables {

// Which offsets of a ROM image the image's own words point to. The game's code keeps the
// address of every table it reads as a 32-bit ROM pointer in a literal pool aligned to 4, so
// a table (also one another tool moved, once its reference was updated) is among the targets.
// Only targets on a multiple of 4 are indexed: tables of pointers and records start there.
class PointerIndex {
public:
    // At most this many targets are kept (those referenced most often): every aligned place
    // of a 32 MiB ROM; of a larger file made of nothing but pointers the rest is left out, so
    // the search stays bounded.
    static constexpr std::size_t kMaxTargets = std::size_t{1} << 23;

    // One pass over every aligned word of image.
    explicit PointerIndex(std::span<const std::uint8_t> image);

    // How many aligned words point to offset (saturated at 255); 0 off the index.
    int references(std::uint32_t offset) const;
    // The indexed targets in ascending order.
    const std::vector<std::uint32_t>& targets() const { return m_targets; }

private:
    std::vector<std::uint8_t> m_counts;  // per 4-byte slot of the file
    std::vector<std::uint32_t> m_targets;
};

}  // namespace quillon::tables
