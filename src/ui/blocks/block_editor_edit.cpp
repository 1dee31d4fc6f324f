// The block editor's editing: choosing block, tile and palette, the pen, painting into the
// layer box, picking an entry up, the attribute fields and the save.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/base/numbers.h"
#include "core/blocks/tileset_pictures.h"
#include "core/session/session.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/blocks/zoom_box.h"
#include "ui/picture_view.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

QString hex(int value, int digits) { return toQ(IntToHex(value, digits)); }

// Digits the two fields show: Ruby/Sapphire/Emerald 2 and 2, FireRed/LeafGreen 3 and 1.
int behaviourDigits(bool frlg) { return frlg ? 3 : 2; }
int backgroundDigits(bool frlg) { return frlg ? 1 : 2; }

}  // namespace

void TBlockEditorForm::connectControls() {
    connect(BlockBox, &PictureView::cellPressed, this,
            [this](int x, int y, Qt::MouseButton button) {
                runSlot([&] { BlockBoxPressed(x, y, button); });
            });
    connect(BlockBox, &PictureView::cellMoved, this,
            [this](int x, int y) { runSlot([&] { BlockBoxMoved(x, y); }); });
    connect(Image1, &ZoomBox::pressed, this,
            [this](QPoint p, Qt::MouseButton b) { runSlot([&] { Image1Pressed(p, b); }); });
    connect(Image1, &ZoomBox::moved, this, [this](QPoint p) { runSlot([&] { Image1Moved(p); }); });
    connect(TileBox, &ZoomBox::pressed, this,
            [this](QPoint p, Qt::MouseButton b) { runSlot([&] { TileBoxPressed(p, b); }); });
    connect(TileBox, &ZoomBox::moved, this,
            [this](QPoint p, Qt::MouseButtons b) { runSlot([&] { TileBoxMoved(p, b); }); });
    connect(TileBox, &ZoomBox::released, this, [this] { m_painting = false; });
    // A click on the pen's tile addresses entry 0.
    connect(Tile, &ZoomBox::pressed, this, [this](QPoint, Qt::MouseButton b) {
        runSlot([&] { TileBoxPressed({0, 0}, b); });
        m_painting = false;
    });
    connectFields();
}

// The palette list, the flips, the attribute fields and lists, the save and the menu.
void TBlockEditorForm::connectFields() {
    connect(Paletten, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_guard.active()) {
            runSlot([this] {
                PalettenClick();
                TileUpdate();
            });
        }
    });
    for (QCheckBox* flip : {XFlip, YFlip}) {
        connect(flip, &QCheckBox::toggled, this, [this] {
            if (!m_guard.active()) {
                runSlot([this] { TileUpdate(); });
            }
        });
    }
    connect(Txt_Aufgaben, &QLineEdit::textEdited, this,
            [this] { runSlot([this] { fieldTyped(Txt_Aufgaben, Cbo_Aufgaben); }); });
    connect(Txt_Hinterdrund, &QLineEdit::textEdited, this,
            [this] { runSlot([this] { fieldTyped(Txt_Hinterdrund, Cbo_Hintergrund); }); });
    connect(Cbo_Aufgaben, &QComboBox::activated, this, [this] {
        runSlot([&] { listChosen(Cbo_Aufgaben, Txt_Aufgaben, behaviourDigits(m_data.frlg)); });
    });
    connect(Cbo_Hintergrund, &QComboBox::activated, this, [this] {
        runSlot(
            [&] { listChosen(Cbo_Hintergrund, Txt_Hinterdrund, backgroundDigits(m_data.frlg)); });
    });
    connect(Cmd_Speichern, &QPushButton::clicked, this,
            [this] { runSlot([this] { Cmd_SpeichernClick(); }); });
    connect(Tileset1Speichern1, &QAction::triggered, this,
            [this] { runSlot([this] { Tileset1SpeichernClick(); }); });
    connect(Tileset2Speichern1, &QAction::triggered, this,
            [this] { runSlot([this] { Tileset2SpeichernClick(); }); });
    connect(Tileset1Laden1, &QAction::triggered, this,
            [this] { runSlot([this] { Tileset1LadenClick(); }); });
    connect(Tileset2Laden1, &QAction::triggered, this,
            [this] { runSlot([this] { Tileset2LadenClick(); }); });
    connect(PaletteLaden1, &QAction::triggered, this,
            [this] { runSlot([this] { PaletteLadenClick(); }); });
}

std::uint16_t TBlockEditorForm::pen() const {
    return TileEntry::make(m_tile, XFlip->isChecked(), YFlip->isChecked(), Paletten->currentIndex())
        .raw;
}

void TBlockEditorForm::selectBlock(int block) {
    m_data = blocks::readBlock(m_session.rom(), m_session.romState().tilesets(), block);
    m_session.rom().Close();
    Lbl_Block->setText(hex(block, 2));
    Lbl_Offset->setText(hex(m_data.place.record, 6));
    const int width = m_session.settings().blockPaletteWidth();
    BlockBox->setMarkedCell(width > 0 ? QPoint(block % width, block / width) : QPoint(-1, -1));
    showAttributes();
    UpdateTile();
}

void TBlockEditorForm::showAttributes() {
    LoadingGuard guard(m_guard);
    const blocks::BlockAttributes values = m_data.values();
    Txt_Aufgaben->setText(hex(values.behaviour, behaviourDigits(m_data.frlg)));
    Txt_Hinterdrund->setText(hex(values.background, backgroundDigits(m_data.frlg)));
    Cbo_Aufgaben->setCurrentIndex(values.behaviour);
    Cbo_Hintergrund->setCurrentIndex(values.background);
}

void TBlockEditorForm::UpdateTile() {
    m_layers = blocks::layerPicture(m_session.romState().tilesets(), m_data.record);
    m_composed = blocks::composedBlock(m_session.romState().tilesets(), m_data.record);
    TileBox->setBitmap(&m_layers);
    BlockImage->setBitmap(&m_composed);
}

void TBlockEditorForm::TileUpdate() {
    m_penTile = blocks::entryTile(m_session.romState().tilesets(), TileEntry{pen()});
    Lbl_Tile->setText(hex(m_tile, 2));
    Tile->setBitmap(&m_penTile);
    Image1->setMarked(QRect((m_tile % 16) * 8, (m_tile / 16) * 8, 8, 8));
}

void TBlockEditorForm::PalettenClick() {
    m_stacked = blocks::stackedTiles(m_session.romState().tilesets(), Paletten->currentIndex());
    Image1->setBitmap(&m_stacked);
}

void TBlockEditorForm::BlockBoxPressed(int x, int y, Qt::MouseButton button) {
    const int width = m_session.settings().blockPaletteWidth();
    const int block = width * y + x;
    // Only blocks whose record lies in its tileset's table: a save elsewhere would write over
    // the data behind the table.
    if (button != Qt::LeftButton || x < 0 || y < 0 || x >= width ||
        !blocks::blockInTables(m_session.romState().tilesets(), m_session.rom().isFrlg(), block)) {
        return;
    }
    selectBlock(block);
}

void TBlockEditorForm::BlockBoxMoved(int x, int y) {
    const int width = m_session.settings().blockPaletteWidth();
    const int block = width * y + x;
    if (x < 0 || y < 0 || x >= width || block > m_session.romState().tilesets().lastBlock()) {
        return;
    }
    const blocks::BlockPlace place = blocks::recordPlace(m_session.romState().tilesets(), block);
    Lbl_Block->setText(hex(block, 2));
    Lbl_Offset->setText(hex(place.record, 6));
}

void TBlockEditorForm::Image1Pressed(QPoint pixel, Qt::MouseButton button) {
    if (button != Qt::LeftButton || pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= 128 ||
        pixel.y() >= 512) {
        return;
    }
    m_tile = (pixel.y() / 8) * 16 + pixel.x() / 8;
    TileUpdate();
}

void TBlockEditorForm::Image1Moved(QPoint pixel) {
    if (pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < 128 && pixel.y() < 512) {
        Lbl_Tile->setText(hex((pixel.y() / 8) * 16 + pixel.x() / 8, 2));
    }
}

void TBlockEditorForm::TileBoxPressed(QPoint pixel, Qt::MouseButton button) {
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= 32 || pixel.y() >= 16) {
        return;
    }
    const int entry = blocks::tileBoxEntry(pixel.x() / 8, pixel.y() / 8);
    if (button == Qt::LeftButton) {
        m_data.setEntry(entry, TileEntry{pen()});
        UpdateTile();
        m_painting = true;
    } else if (button == Qt::RightButton) {
        pickUp(entry);
    }
}

void TBlockEditorForm::TileBoxMoved(QPoint pixel, Qt::MouseButtons buttons) {
    if (!m_painting || !(buttons & Qt::LeftButton) || pixel.x() < 0 || pixel.y() < 0 ||
        pixel.x() >= 32 || pixel.y() >= 16) {
        return;
    }
    const int entry = blocks::tileBoxEntry(pixel.x() / 8, pixel.y() / 8);
    if (m_data.entry(entry).raw != pen()) {
        m_data.setEntry(entry, TileEntry{pen()});
        UpdateTile();
    }
}

// The pen takes the entry: its tile, flips and palette; the tile picture follows the palette.
void TBlockEditorForm::pickUp(int entry) {
    const TileEntry picked = m_data.entry(entry);
    {
        LoadingGuard guard(m_guard);
        XFlip->setChecked(picked.flipX());
        YFlip->setChecked(picked.flipY());
        Paletten->setCurrentIndex(picked.palette());
    }
    m_tile = picked.tile();
    PalettenClick();
    TileUpdate();
}

// Typing a hex number selects its name; other text leaves the list as it is.
void TBlockEditorForm::fieldTyped(QLineEdit* field, QComboBox* list) {
    if (m_guard.active() || field->text().isEmpty()) {
        return;
    }
    bool ok = false;
    const int value = field->text().toInt(&ok, 16);
    if (ok && value >= 0 && value < list->count()) {
        LoadingGuard guard(m_guard);
        list->setCurrentIndex(value);
    }
}

void TBlockEditorForm::listChosen(QComboBox* list, QLineEdit* field, int digits) {
    if (m_guard.active() || list->currentIndex() < 0) {
        return;
    }
    LoadingGuard guard(m_guard);
    field->setText(hex(list->currentIndex(), digits));
}

void TBlockEditorForm::Cmd_SpeichernClick() {
    TilesetPair& pair = m_session.romState().tilesets();
    blocks::saveBlock(
        m_session.rom(), pair, m_session.mapState(),
        {m_data.block, m_data.record, toStd(Txt_Aufgaben->text()), toStd(Txt_Hinterdrund->text())});
    showBlockPalette();
    selectBlock(m_data.block);
    emit blockSaved();
}

}  // namespace quillon::ui
