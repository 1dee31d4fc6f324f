#include "core/edit/map_painter.h"

#include <vector>

namespace quillon {

namespace {

CellRect cellOf(const BlockGrid& grid, int index) {
    return CellRect::cell(index % grid.width, index / grid.width);
}

}  // namespace

void MapPainter::writeBlock(int index, std::uint16_t block) {
    const auto i = static_cast<std::size_t>(index);
    // The cell keeps its own movement bits, whether or not a picture was ever drawn.
    const GridEntry entry = m_grid.cells[i].withBlock(block);
    m_history.record(m_grid, index, entry, entry.movement());
}

void MapPainter::writeMovement(int index, std::uint8_t value) {
    const auto i = static_cast<std::size_t>(index);
    const GridEntry entry = m_grid.cells[i].withMovement(value);
    m_history.record(m_grid, index, entry, entry.movement());
}

CellRect MapPainter::paintBlock(int x, int y, std::uint16_t block) {
    if (!m_grid.contains(x, y) || m_grid.at(x, y).block() == (block & GridEntry::kMaxBlock)) {
        return {};
    }
    writeBlock(y * m_grid.width + x, block);
    return CellRect::cell(x, y);
}

template <typename Key, typename Write>
CellRect MapPainter::floodFill(int x, int y, Key key, Write write) {
    const int w = m_grid.width;
    const auto old = key(y * w + x);
    CellRect changed = CellRect::cell(x, y);
    std::vector<int> pending{y * w + x};
    write(y * w + x);
    while (!pending.empty()) {
        const int index = pending.back();
        pending.pop_back();
        const int cx = index % w;
        const int cy = index / w;
        const int neighbours[4][2] = {{cx, cy - 1}, {cx, cy + 1}, {cx - 1, cy}, {cx + 1, cy}};
        for (const auto& n : neighbours) {
            if (!m_grid.contains(n[0], n[1])) {
                continue;
            }
            const int ni = n[1] * w + n[0];
            if (key(ni) == old) {
                write(ni);
                changed = changed.united(cellOf(m_grid, ni));
                pending.push_back(ni);
            }
        }
    }
    return changed;
}

CellRect MapPainter::fillBlocks(int x, int y, std::uint16_t block) {
    block &= GridEntry::kMaxBlock;
    if (!m_grid.contains(x, y) || m_grid.at(x, y).block() == block) {
        return {};
    }
    auto key = [this](int i) { return m_grid.cells[static_cast<std::size_t>(i)].block(); };
    return floodFill(x, y, key, [&](int i) { writeBlock(i, block); });
}

CellRect MapPainter::replaceBlocks(int x, int y, std::uint16_t block) {
    block &= GridEntry::kMaxBlock;
    if (!m_grid.contains(x, y) || m_grid.at(x, y).block() == block) {
        return {};
    }
    const std::uint16_t old = m_grid.at(x, y).block();
    CellRect changed;
    for (int i = 0; i < m_grid.cellCount(); ++i) {
        if (m_grid.cells[static_cast<std::size_t>(i)].block() == old) {
            writeBlock(i, block);
            changed = changed.united(cellOf(m_grid, i));
        }
    }
    return changed;
}

CellRect MapPainter::pasteStamp(const Stamp& stamp, int x, int y) {
    if (stamp.empty() || !m_grid.contains(x, y)) {
        return {};
    }
    const int rows = std::min(stamp.height, m_grid.height - y);
    const int cols = std::min(stamp.width, m_grid.width - x);
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < cols; ++i) {
            GridEntry e = stamp.cells[static_cast<std::size_t>(j * stamp.width + i)];
            m_history.record(m_grid, (y + j) * m_grid.width + x + i, e, e.movement());
        }
    }
    return {x, y, cols, rows};
}

CellRect MapPainter::paintMovement(int x, int y, std::uint8_t value) {
    if (!m_grid.contains(x, y) || m_grid.at(x, y).movement() == value) {
        return {};
    }
    writeMovement(y * m_grid.width + x, value);
    return CellRect::cell(x, y);
}

CellRect MapPainter::fillMovement(int x, int y, std::uint8_t value) {
    if (!m_grid.contains(x, y) || m_grid.at(x, y).movement() == value) {
        return {};
    }
    auto key = [this](int i) { return m_grid.cells[static_cast<std::size_t>(i)].movement(); };
    return floodFill(x, y, key, [&](int i) { writeMovement(i, value); });
}

CellRect MapPainter::replaceMovement(int x, int y, std::uint8_t value) {
    if (!m_grid.contains(x, y)) {
        return {};
    }
    const std::uint8_t old = m_grid.at(x, y).movement();
    if (old == value) {
        return {};
    }
    CellRect changed;
    for (int i = 0; i < m_grid.cellCount(); ++i) {
        if (m_grid.cells[static_cast<std::size_t>(i)].movement() == old) {
            writeMovement(i, value);
            changed = changed.united(cellOf(m_grid, i));
        }
    }
    return changed;
}

}  // namespace quillon
