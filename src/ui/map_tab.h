#pragma once

#include <QWidget>

class QScrollArea;

namespace quillon {
class Session;
}

namespace quillon::ui {

class PictureView;

// The tab "Map": the map picture `MapBox` and, to its right, the block palette `BlockPalette`,
// each in its own scroll box. Hovering either puts the cell's description in the status bar.
class MapTab : public QWidget {
    Q_OBJECT

public:
    MapTab(Session& session, QWidget* parent = nullptr);

    PictureView* mapBox() const { return m_mapBox; }
    PictureView* blockPalette() const { return m_palette; }

    // Shows the session's map picture and block palette, drawing what is out of date; nothing
    // while no map is open. Throws what the core's drawing throws.
    void refresh();
    void setMapDoubled(bool doubled);
    void setPaletteDoubled(bool doubled);

signals:
    void statusText(const QString& text);

private:
    void MapBoxMouseMove(int x, int y);
    void BlockPaletteMouseMove(int x, int y);
    void fitPaletteBox();

    Session& m_session;
    PictureView* m_mapBox;
    PictureView* m_palette;
    QScrollArea* m_paletteScroll;
};

}  // namespace quillon::ui
