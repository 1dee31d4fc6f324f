#pragma once

#include <memory>

#include "ui/paint_tab.h"

namespace quillon {
struct NeighbourBand;
}

namespace quillon::ui {

class Dialogs;
class PictureView;
class TGrosserBlockFrom;
class ZoomControl;

// The tab "Map": the map picture `MapBox` and, to its right, the block palette `BlockPalette`,
// each in its own scroll box. Hovering either puts the cell's description in the status bar.
// The mouse paints the map: a palette click chooses the block; on the map the left button
// paints (dragging too) or pastes the stamp, the middle button fills (Ctrl: replaces
// everywhere), the right button picks a block up (Ctrl: drags a rectangle that becomes the
// stamp, shown in the window "Grosser Block"). With "Nachbarn anzeigen" the maps connected at
// the four edges are shown around the map, dimmed (drawn once per map); only the map itself is
// edited, and a double click on a neighbour asks to open it.
class MapTab : public PaintTab {
    Q_OBJECT

public:
    MapTab(Session& session, Dialogs& dialogs, TGrosserBlockFrom& bigBlock,
           QWidget* parent = nullptr);
    ~MapTab() override;

    PictureView* mapBox() const { return m_view; }
    PictureView* blockPalette() const { return m_palette; }

    // Shows the session's map picture and block palette, drawing what is out of date; nothing
    // while no map is open. Throws what the core's drawing throws.
    void refresh();
    // Repaints the changed cells of the map picture (after undo or redo too).
    void showChanged(CellRect changed) override;
    // Ends a drag in progress (before undo, or when another map opens).
    void finishGestures();
    void setMapDoubled(bool doubled);
    // "Nachbarn anzeigen": the band around the map on or off. Call refresh() after it.
    void setNeighboursShown(bool shown);
    // Another map (or ROM) is open: its neighbours are drawn afresh when shown.
    void mapOpened();
    // The connections or a neighbour changed in the ROM: the band is drawn afresh and shown at
    // once when this tab is the current one (refresh() otherwise draws it).
    void neighboursChanged();
    // The band shown now; nullptr while the setting is off or no map is open.
    const NeighbourBand* neighbours() const;
    // The zoom of the map and of the block palette (1 to 4, on top of their size settings):
    // Ctrl+wheel over either; zoomBy (Ctrl+plus/minus) zooms the one the pointer was over
    // last, the map at first.
    void zoomBy(int steps);
    int mapZoom() const;
    int paletteZoom() const;
    void setZooms(int map, int palette);

signals:
    // A double click on a neighbour: open map identifier with this caption title.
    void neighbourChosen(const QString& identifier, const QString& title);
    // What kept neighbours out of the band, "" when nothing did; once per drawing.
    void neighbourNotice(const QString& text);
    void zoomChanged();

private:
    void showNeighbours();
    void MapBoxDblClick(int x, int y);
    // "Unterhalb von 3.1 (3.2)": where the neighbour under cell (x, y) lies; "" for none.
    QString neighbourTitle(int x, int y) const;
    void MapBoxMouseMove(int x, int y);
    void MapBoxMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void MapBoxMouseUP();
    void BlockPaletteMouseMove(int x, int y);
    void BlockPaletteMouseDown(int x, int y);
    void pickUp(int x, int y);
    // Frames the chosen block in the block palette (none while a stamp is the brush).
    void showSelectedBlock();
    void startSelection(int x, int y);

    TGrosserBlockFrom& m_bigBlock;
    ZoomControl* m_mapZoom;
    ZoomControl* m_paletteZoom;
    ZoomControl* m_lastZoom;
    bool m_showNeighbours = false;
    std::unique_ptr<NeighbourBand> m_band;
};

}  // namespace quillon::ui
