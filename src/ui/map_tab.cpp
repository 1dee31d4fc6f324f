#include "ui/map_tab.h"

#include <QScrollArea>
#include <QStringList>

#include "core/base/numbers.h"
#include "core/connections/neighbour_band.h"
#include "core/gfx/map_renderer.h"
#include "core/gfx/tileset_pair.h"
#include "core/state/neighbours.h"
#include "core/session/session.h"
#include "ui/big_block_view.h"
#include "ui/command.h"
#include "ui/language_texts.h"
#include "ui/picture_view.h"
#include "ui/qt_text.h"
#include "ui/zoom_control.h"

namespace quillon::ui {

MapTab::MapTab(Session& session, Dialogs& dialogs, TGrosserBlockFrom& bigBlock, QWidget* parent)
    : PaintTab(session, dialogs, QStringLiteral("MapBox"), QStringLiteral("ScrollBox2"),
               QStringLiteral("BlockPalette"), QStringLiteral("ScrollBox3"), parent),
      m_bigBlock(bigBlock),
      m_mapZoom(new ZoomControl(findChild<QScrollArea*>(QStringLiteral("ScrollBox2")), m_view)),
      m_paletteZoom(new ZoomControl(m_paletteScroll, m_palette)),
      m_lastZoom(m_mapZoom) {
    for (ZoomControl* zoom : {m_mapZoom, m_paletteZoom}) {
        connect(zoom, &ZoomControl::entered, this, [this, zoom] { m_lastZoom = zoom; });
        connect(zoom, &ZoomControl::zoomed, this, &MapTab::zoomChanged);
    }
    connect(m_paletteZoom, &ZoomControl::zoomed, this, [this] { fitPaletteBox(); });
    connect(m_view, &PictureView::cellMoved, this,
            commandSlot(this, m_dialogs, this, &MapTab::MapBoxMouseMove));
    connect(m_view, &PictureView::cellPressed, this,
            commandSlot(this, m_dialogs, this, &MapTab::MapBoxMouseDown));
    connect(m_view, &PictureView::cellReleased, this,
            commandSlot(this, m_dialogs, this, &MapTab::MapBoxMouseUP));
    connect(m_view, &PictureView::cellDoubleClicked, this,
            commandSlot(this, m_dialogs, this, &MapTab::MapBoxDblClick));
    connect(m_palette, &PictureView::cellMoved, this,
            commandSlot(this, m_dialogs, this, &MapTab::BlockPaletteMouseMove));
    connect(m_palette, &PictureView::cellPressed, this,
            commandSlot(this, m_dialogs, this, &MapTab::BlockPaletteMouseDown));
}

MapTab::~MapTab() = default;

void MapTab::zoomBy(int steps) { m_lastZoom->zoomBy(steps); }

int MapTab::mapZoom() const { return m_mapZoom->zoom(); }

int MapTab::paletteZoom() const { return m_paletteZoom->zoom(); }

void MapTab::setZooms(int map, int palette) {
    m_mapZoom->setZoom(map);
    m_paletteZoom->setZoom(palette);
    fitPaletteBox();
}

void MapTab::refresh() {
    if (!m_session.mapState().loaded()) {
        m_view->setSurround(nullptr, 0);
        m_view->setBitmap(nullptr);
        m_palette->setBitmap(nullptr);
    } else {
        const Bitmap& map = m_session.mapState().pictures().map();
        showNeighbours();
        m_view->setBitmap(&map);
        m_palette->setBitmap(&m_session.mapState().pictures().blockPalette());
    }
    showSelectedBlock();
    fitPaletteBox();
}

void MapTab::setNeighboursShown(bool shown) { m_showNeighbours = shown; }

void MapTab::mapOpened() { m_band.reset(); }

void MapTab::neighboursChanged() {
    m_band.reset();
    if (isVisible()) {
        refresh();
    }
}

const NeighbourBand* MapTab::neighbours() const {
    return m_showNeighbours && m_session.mapState().loaded() ? m_band.get() : nullptr;
}

// Draws the band when the map it was drawn for has changed: another map, size or connection
// table.
void MapTab::showNeighbours() {
    if (!m_showNeighbours) {
        m_view->setSurround(nullptr, 0);
        return;
    }
    const CurrentMap& map = m_session.mapState().map();
    const BlockGrid& grid = m_session.mapState().grid();
    const bool current = m_band && m_band->mapWidth == grid.width &&
                         m_band->mapHeight == grid.height &&
                         m_band->headerOffset == map.headerOffset &&
                         m_band->connectionsOffset == map.header.connectionsOffset();
    if (!current) {
        m_band.reset();
        m_band = std::make_unique<NeighbourBand>(drawNeighbourBand(
            m_session.rom(), m_session.romState(), m_session.data(), m_session.mapState()));
        QStringList warnings;
        for (const NeighbourWarning& warning : m_band->warnings) {
            warnings << toQ(m_session.lang().text(warning.text()));
        }
        emit neighbourNotice(warnings.join(QStringLiteral("; ")));
    }
    m_view->setSurround(&m_band->picture, m_band->margin);
}

QString MapTab::neighbourTitle(int x, int y) const {
    const NeighbourBand* band = neighbours();
    const NeighbourPlace* place = band ? band->neighbourAt(x, y) : nullptr;
    if (place == nullptr) {
        return {};
    }
    struct Prefix {
        int number;
        const char* german;
    };
    // By direction 1-4 (down, up, left, right).
    static constexpr Prefix kPrefixes[] = {{13600, "Unterhalb von"},
                                           {13601, "Oberhalb von"},
                                           {13602, "Links von"},
                                           {13603, "Rechts von"}};
    const Prefix& prefix = kPrefixes[place->connection.direction - 1];
    return langText(m_session.lang(), prefix.number, prefix.german) + QLatin1Char(' ') +
           toQ(m_session.mapState().map().identifier) + QStringLiteral(" (") +
           toQ(place->identifier) + QLatin1Char(')');
}

void MapTab::MapBoxDblClick(int x, int y) {
    const QString title = neighbourTitle(x, y);
    if (!title.isEmpty()) {
        finishGestures();
        emit neighbourChosen(toQ(neighbours()->neighbourAt(x, y)->identifier), title);
    }
}

void MapTab::showChanged(CellRect changed) {
    if (!changed.empty() && m_session.mapState().loaded()) {
        m_view->showCells(&m_session.mapState().pictures().map(), changed);
    }
}

void MapTab::finishGestures() {
    if (m_painting || m_session.mapState().editor().selecting()) {
        MapBoxMouseUP();
    }
}

void MapTab::setMapDoubled(bool doubled) { m_view->setDoubled(doubled); }

void MapTab::MapBoxMouseMove(int x, int y) {
    if (!m_session.mapState().loaded()) {
        return;
    }
    MapEditor& editor = m_session.mapState().editor();
    // The rectangle follows the pointer beyond the map's edge too; the stamp keeps what is in.
    if (editor.selecting()) {
        runCommand(this, m_dialogs, [&] {
            editor.dragSelection(x, y);
            m_bigBlock.showSelection();
        });
    }
    const BlockGrid& grid = m_session.mapState().grid();
    if (!grid.contains(x, y)) {
        if (const QString title = neighbourTitle(x, y); !title.isEmpty()) {
            emit statusText(title);
        }
        return;
    }
    const LanguageTable& lang = m_session.lang();
    emit statusText(QStringLiteral("X: %1 Y: %2 %3 %4")
                        .arg(x)
                        .arg(y)
                        .arg(langText(lang, 33, "Block:"), toQ(IntToHex(grid.at(x, y).raw, 4))));
    if (m_painting && !editor.selecting()) {
        edit([&] { return editor.paint(x, y); });
    }
}

void MapTab::MapBoxMouseDown(int x, int y, Qt::MouseButton button,
                             Qt::KeyboardModifiers modifiers) {
    if (!m_session.mapState().loaded()) {
        return;
    }
    // Only the map itself is edited: a press in the band around it does nothing.
    if (!m_session.mapState().grid().contains(x, y)) {
        return;
    }
    MapEditor& editor = m_session.mapState().editor();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (button == Qt::LeftButton) {
        // A stamp is pasted once per click; a single block keeps painting while dragged.
        m_painting = !editor.hasStamp();
        editor.beginStroke();
        edit([&] { return editor.paint(x, y); });
    } else if (button == Qt::MiddleButton) {
        edit([&] { return ctrl ? editor.replaceBlocks(x, y) : editor.fillBlocks(x, y); });
    } else if (button == Qt::RightButton && ctrl) {
        startSelection(x, y);
    } else if (button == Qt::RightButton) {
        pickUp(x, y);
    }
}

void MapTab::MapBoxMouseUP() {
    m_painting = false;
    MapEditor& editor = m_session.mapState().editor();
    editor.endStroke();
    editor.endSelection();
    emit mapEdited();  // the finished stroke is a step: undo follows it
}

void MapTab::startSelection(int x, int y) {
    MapEditor& editor = m_session.mapState().editor();
    if (!m_session.mapState().grid().contains(x, y)) {
        return;
    }
    editor.startSelection(x, y);
    runCommand(this, m_dialogs, [this] { m_bigBlock.showSelection(); });
    showSelectedBlock();
}

// The cell's block becomes the brush; the palette scrolls its row to the top.
void MapTab::pickUp(int x, int y) {
    const int block = m_session.mapState().editor().pickBlock(x, y);
    if (block < 0) {
        return;
    }
    const int width = m_session.settings().blockPaletteWidth();
    scrollPaletteToRow(block / width);
    emit statusText(langText(m_session.lang(), 33, "Block:") + QLatin1Char(' ') +
                    toQ(IntToHex(block, 4)));
    m_bigBlock.hide();
    showSelectedBlock();
}

void MapTab::BlockPaletteMouseMove(int x, int y) {
    const int width = m_session.settings().blockPaletteWidth();
    if (!m_session.mapState().loaded() || x < 0 || y < 0 || x >= width) {
        return;
    }
    const int block = blockPaletteBlockAt(width, x * PictureView::kCell, y * PictureView::kCell);
    const LanguageTable& lang = m_session.lang();
    emit statusText(
        QStringLiteral("%1 %2 %3 %4")
            .arg(langText(lang, 33, "Block:"), toQ(IntToHex(block, 2)),
                 langText(lang, 34, "Offset:"),
                 toQ(IntToHex(m_session.romState().tilesets().blockRecordOffset(block), 1))));
}

// Any button chooses the block; the unfilled end of the last row chooses nothing.
void MapTab::BlockPaletteMouseDown(int x, int y) {
    const int width = m_session.settings().blockPaletteWidth();
    if (!m_session.mapState().loaded() || x < 0 || y < 0 || x >= width) {
        return;
    }
    const int block = blockPaletteBlockAt(width, x * PictureView::kCell, y * PictureView::kCell);
    if (block > m_session.romState().tilesets().lastBlock()) {
        return;
    }
    m_session.mapState().editor().selectBlock(block);
    m_bigBlock.hide();
    showSelectedBlock();
}

void MapTab::showSelectedBlock() {
    const int width = m_session.settings().blockPaletteWidth();
    if (!m_session.mapState().loaded() || m_session.mapState().editor().hasStamp() || width < 1) {
        m_palette->setMarkedCell({-1, -1});
        return;
    }
    const int block = m_session.mapState().editor().selectedBlock();
    m_palette->setMarkedCell(block < 0 ? QPoint(-1, -1) : QPoint(block % width, block / width));
}

}  // namespace quillon::ui
