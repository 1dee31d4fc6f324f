#pragma once

#include <cstdint>

#include "core/edit/selection.h"
#include "core/map/block_grid.h"

namespace quillon {

// What a click paints with: the selected block, the selected movement value and the stamp.
// It belongs to the open ROM, so a rectangle copied in one map can be stamped into another;
// a block chosen in the palette or picked up from the map drops the stamp.
class Brush {
public:
    int block() const { return m_block; }
    // Choosing a block drops the stamp. Blocks outside 0..1023 are ignored.
    void selectBlock(int block) {
        if (block < 0 || block > GridEntry::kMaxBlock) {
            return;
        }
        m_block = block;
        m_stamp = {};
    }
    std::uint8_t movement() const { return m_movement; }
    void selectMovement(int value) {
        if (value >= 0 && value <= GridEntry::kMaxMovement) {
            m_movement = static_cast<std::uint8_t>(value);
        }
    }

    bool hasStamp() const { return !m_stamp.empty(); }
    const Stamp& stamp() const { return m_stamp; }
    void setStamp(Stamp stamp) { m_stamp = std::move(stamp); }
    void clearStamp() { m_stamp = {}; }

private:
    int m_block = 0;
    std::uint8_t m_movement = 0;
    Stamp m_stamp;
};

}  // namespace quillon
