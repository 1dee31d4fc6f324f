// The block editor's menu "Bild", the way back: a tileset part's picture into its tiles and a
// palette file into a palette, each one command of the history.
#include <QAction>
#include <QComboBox>

#include "core/blocks/palette_import.h"
#include "core/blocks/tileset_import.h"
#include "core/blocks/tileset_ranges.h"
#include "core/errors.h"
#include "core/session/map_opening.h"
#include "core/session/session.h"
#include "imageio/import_files.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"

namespace quillon::ui {

namespace {

QString importPictureFilter(const LanguageTable& lang) {
    return langText(lang, 1722, "Indiziertes PNG oder BMP") +
           QStringLiteral(" (*.png *.bmp *.dib);;") + allFilesFilter(lang);
}
QString paletteFilter(const LanguageTable& lang) {
    return QStringLiteral("Palette (*.pal);;") + langText(lang, 1720, "Indiziertes PNG") +
           QStringLiteral(" (*.png);;") + allFilesFilter(lang);
}

}  // namespace

// Tiles that fit where the data lie are written there; else the user chooses a new place
// through the repoint dialog, and the header points there once the data are written.
void TBlockEditorForm::loadTileset(int part) {
    QAction* action = part == 1 ? Tileset1Laden1 : Tileset2Laden1;
    const QString name =
        m_dialogs.openFileName(this, action->text(), importPictureFilter(m_session.lang()), QString());
    if (name.isEmpty()) {
        return;
    }
    const blocks::IndexedPicture picture = imageio::readIndexedPicture(name);
    TRom& rom = m_session.rom();
    const blocks::TileImport plan =
        blocks::planTileImport(rom, m_session.romState().profile(), m_session.romState().tilesets(),
                               m_session.mapState().map(), part, picture);
    std::optional<std::uint32_t> at;
    std::uint8_t fill = kFreeFill;
    if (plan.notInPlace) {
        RepointRequest request{action->text(), static_cast<std::uint32_t>(plan.data.size()),
                               QString(), 4,
                               [&rom, &plan](std::uint32_t offset, std::uint8_t searched) {
                                   blocks::checkTilePlace(rom, plan, offset, searched);
                               }};
        const auto choice = m_dialogs.repoint(this, request);
        if (!choice) {
            return;
        }
        at = choice->offset;
        fill = choice->fill;
    }
    blocks::importTiles(rom, plan, at, fill, m_session.mapState().map().identifier);
    tilesetsWritten();
}

// A file of more or fewer than 16 colours is taken only when the user says so.
void TBlockEditorForm::PaletteLadenClick() {
    const QString name = m_dialogs.openFileName(this, PaletteLaden1->text(),
                                                paletteFilter(m_session.lang()), QString());
    if (name.isEmpty()) {
        return;
    }
    const auto colours = imageio::readPaletteColours(name);
    blocks::ColourCount count = blocks::ColourCount::Refuse;
    if (colours.size() != 16) {
        const int answer = m_dialogs.choose(
            this, PaletteLaden1->text(),
            langText(m_session.lang(), 1737,
                     "Die Datei hat %1 Farben; eine Palette hat 16. Die ersten bis zu 16 Farben "
                     "übernehmen und die übrigen der Palette behalten?")
                .arg(colours.size()),
            {langText(m_session.lang(), 1738, "Übernehmen"),
             langText(m_session.lang(), 1732, "Abbrechen")});
        if (answer != 0) {
            return;
        }
        count = blocks::ColourCount::Fit;
    }
    const int palette = Paletten->currentIndex();
    const int part = palette < blocks::paletteSplit(m_session.rom().isFrlg()) ? 1 : 2;
    blocks::importPalette(m_session.rom(), m_session.romState().tilesets(),
                          m_session.mapState().map(), part, palette, colours, count,
                          m_session.mapState().map().identifier);
    tilesetsWritten();
}

// The tilesets as the ROM holds them now: the editor's pictures and the map views.
// The palette chosen stays chosen.
void TBlockEditorForm::tilesetsWritten() {
    const int palette = Paletten->currentIndex();
    readTilesetsAgain(m_session.rom(), m_session.romState(), m_session.mapState(),
                      m_session.data().tilesets());
    mapChanged();
    {
        LoadingGuard guard(m_guard);
        Paletten->setCurrentIndex(palette);
    }
    PalettenClick();
    emit blockSaved();
}

}  // namespace quillon::ui
