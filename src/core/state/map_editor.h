#pragma once

#include <cstdint>

#include "core/edit/cell_rect.h"
#include "core/edit/edit_history.h"
#include "core/edit/map_painter.h"
#include "core/edit/selection.h"
#include "core/gfx/bitmap.h"

namespace quillon {

class Brush;
class MapPictures;
struct BlockGrid;

// Painting the open map in memory with the ROM's brush (selected block, selected movement
// value, the stamp), and undo and redo through the map's edit history (grid and event records,
// which the map owns). Every edit returns the cells it changed and has already redrawn them in
// the pictures. Nothing here touches the ROM; the grid reaches it when the map is saved.
class MapEditor {
public:
    MapEditor(BlockGrid& grid, MapPictures& pictures, EditHistory& history, Brush& brush);

    int selectedBlock() const;
    // Choosing a block drops the stamp. Blocks outside 0..1023 are ignored.
    void selectBlock(int block);
    std::uint8_t selectedMovement() const;
    void selectMovement(int value);
    // The cell's block (or movement value) becomes the brush; -1 outside the map.
    int pickBlock(int x, int y);
    int pickMovement(int x, int y);

    // A stroke groups the edits of one mouse press (a drag) into one undo step.
    void beginStroke();
    void endStroke();
    // Left click or drag: the stamp when there is one, else the selected block.
    CellRect paint(int x, int y);
    CellRect fillBlocks(int x, int y);
    CellRect replaceBlocks(int x, int y);
    CellRect paintMovement(int x, int y);
    CellRect fillMovement(int x, int y);
    CellRect replaceMovement(int x, int y);

    // Rectangle selection (Ctrl + right button); its end copies the stamp.
    void startSelection(int x, int y);
    void dragSelection(int x, int y);
    void endSelection();
    bool selecting() const { return m_selecting; }
    bool hasStamp() const;
    const Stamp& stamp() const;
    void clearStamp();
    // The part of the map picture under the selection, at its own size.
    Bitmap selectionPicture();

    // Undo and redo cover the grid and the event records; they return the cells that changed
    // (empty for a step of event edits, which go back through the record sink).
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    CellRect undo();
    CellRect redo();
    // The grid or the events differ from the ROM (as of the last open or save).
    bool modified() const { return m_history.modified(); }
    void markSaved() { m_history.markSaved(); }

    // Undone and redone event records come back through sink.
    void setRecordSink(RecordSink* sink) { m_records = sink; }
    // Counts the edits, undos and redos that changed cells: a picture drawn from the map
    // picture is stale when this moved on.
    std::uint64_t gridRevision() const { return m_gridRevision; }

private:
    // Runs one edit as an undo step of its own unless a stroke is open.
    template <typename Edit>
    CellRect step(Edit edit);
    void cellsChanged(CellRect rect);

    BlockGrid& m_grid;
    MapPictures& m_pictures;
    EditHistory& m_history;
    Brush& m_brush;
    RecordSink* m_records = nullptr;
    std::uint64_t m_gridRevision = 0;
    MapPainter m_painter;
    Selection m_selection;
    bool m_selecting = false;
};

}  // namespace quillon
