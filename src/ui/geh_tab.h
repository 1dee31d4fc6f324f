#pragma once

#include <QWidget>

class QScrollArea;

namespace quillon {
class Session;
}

namespace quillon::ui {

class PictureView;

// The tab "Geh Daten": the movement view `GehBox` (the map picture overlaid with each cell's
// movement value) and the palette of the 64 values `GehPalette`. Hovering puts the value's
// name in the status bar.
class GehTab : public QWidget {
    Q_OBJECT

public:
    GehTab(Session& session, QWidget* parent = nullptr);

    PictureView* gehBox() const { return m_gehBox; }
    PictureView* gehPalette() const { return m_palette; }

    // Shows the movement palette (drawn once). Throws what the core's drawing throws.
    void showPalette();
    // Shows the movement view, drawing it when out of date; nothing while no map is open.
    // Throws what the core's drawing throws.
    void refresh();
    void setViewDoubled(bool doubled);
    void setPaletteDoubled(bool doubled);

signals:
    void statusText(const QString& text);

private:
    void GehBoxMouseMove(int x, int y);
    void GehPaletteMouseMove(int x, int y);
    void fitPaletteBox();

    Session& m_session;
    PictureView* m_gehBox;
    PictureView* m_palette;
    QScrollArea* m_paletteScroll;
};

}  // namespace quillon::ui
