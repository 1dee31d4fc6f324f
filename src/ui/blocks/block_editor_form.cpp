// The block editor's window: its controls, menu, title and language; the editing is in
// block_editor_edit.cpp, the tileset export and the attribute lists in block_editor_files.cpp.
#include "ui/blocks/block_editor_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>

#include "core/session/session.h"
#include "ui/blocks/zoom_box.h"
#include "ui/command.h"
#include "ui/language_texts.h"
#include "ui/picture_view.h"

namespace quillon::ui {

namespace {

QLabel* fixedLabel(const char* text, int tag = 0) {
    auto* label = new QLabel(QString::fromUtf8(text));
    setTag(label, tag);
    return label;
}

QLabel* valueLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(60);
    return label;
}

QLineEdit* hexField(const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(3);
    field->setFixedWidth(48);
    return field;
}

QComboBox* namedList(const char* name) {
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    list->setMinimumWidth(220);
    return list;
}

}  // namespace

TBlockEditorForm::TBlockEditorForm(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("BlockEditorForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildUi();
    connectControls();
    mapChanged();
}

void TBlockEditorForm::buildUi() {
    auto* bar = new QMenuBar(this);
    buildMenu(bar);
    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(buildPalettePart());
    auto* right = new QVBoxLayout;
    right->addLayout(buildTilePart());
    right->addLayout(buildFieldPart());
    right->addStretch(1);
    layout->addLayout(right);
}

// The block palette and the stacked tile picture, each in its scroll box.
QWidget* TBlockEditorForm::buildPalettePart() {
    auto* part = new QWidget;
    auto* row = new QHBoxLayout(part);
    row->setContentsMargins(0, 0, 0, 0);
    BlockBox = new PictureView(QStringLiteral("BlockBox"));
    BlockBox->setDoubled(true);
    m_blockScroll = makeScrollBox(QStringLiteral("ScrollBox1"), BlockBox, part);
    row->addWidget(m_blockScroll);
    auto* tiles = new QVBoxLayout;
    Paletten = new QComboBox;
    Paletten->setObjectName(QStringLiteral("Paletten"));
    for (int k = 0; k < 16; ++k) {
        Paletten->addItem(QStringLiteral("Palette%1").arg(k));
    }
    tiles->addWidget(Paletten);
    Image1 = new ZoomBox(QStringLiteral("Image1"), 2);
    Image1->setBitmap(&m_stacked);
    auto* scroll = makeScrollBox(QStringLiteral("ScrollBox2"), Image1, part);
    scroll->setFixedWidth(256 + 2 * scroll->frameWidth() + kScrollBarRoom);
    tiles->addWidget(scroll, 1);
    row->addLayout(tiles);
    part->setMinimumHeight(480);
    return part;
}

QLayout* TBlockEditorForm::buildTilePart() {
    auto* grid = new QGridLayout;
    // Large enough to see each tile: four screen pixels to a picture pixel.
    TileBox = new ZoomBox(QStringLiteral("TileBox"), 4);
    BlockImage = new ZoomBox(QStringLiteral("BlockImage"), 4);
    Tile = new ZoomBox(QStringLiteral("Tile"), 4);
    TileBox->setBitmap(&m_layers);
    BlockImage->setBitmap(&m_composed);
    Tile->setBitmap(&m_penTile);
    XFlip = new QCheckBox(QStringLiteral("X Flip"));
    XFlip->setObjectName(QStringLiteral("XFlip"));
    setTag(XFlip, 1306);
    YFlip = new QCheckBox(QStringLiteral("Y Flip"));
    YFlip->setObjectName(QStringLiteral("YFlip"));
    setTag(YFlip, 1307);
    Lbl_Tile = valueLabel("Lbl_Tile");
    Lbl_Block = valueLabel("Lbl_Block");
    Lbl_Offset = valueLabel("Lbl_Offset");
    grid->addWidget(fixedLabel("Unten/Oben", 1305), 0, 0);
    grid->addWidget(TileBox, 1, 0);
    grid->addWidget(BlockImage, 1, 1);
    grid->addWidget(Tile, 2, 0);
    grid->addWidget(XFlip, 2, 1);
    grid->addWidget(YFlip, 2, 2);
    grid->addWidget(fixedLabel("Tile:", 1304), 3, 0);
    grid->addWidget(Lbl_Tile, 3, 1);
    grid->addWidget(fixedLabel("Block:", 33), 4, 0);
    grid->addWidget(Lbl_Block, 4, 1);
    grid->addWidget(fixedLabel("Offset:", 34), 5, 0);
    grid->addWidget(Lbl_Offset, 5, 1);
    return grid;
}

QLayout* TBlockEditorForm::buildFieldPart() {
    auto* grid = new QGridLayout;
    Txt_Aufgaben = hexField("Txt_Aufgaben");
    Cbo_Aufgaben = namedList("Cbo_Aufgaben");
    Txt_Hinterdrund = hexField("Txt_Hinterdrund");
    Cbo_Hintergrund = namedList("Cbo_Hintergrund");
    Cmd_Speichern = new QPushButton(QStringLiteral("Speichern"));
    Cmd_Speichern->setObjectName(QStringLiteral("Cmd_Speichern"));
    setTag(Cmd_Speichern, 1308);
    grid->addWidget(fixedLabel("Alle Angaben in Hex!", 1300), 0, 0, 1, 2);
    grid->addWidget(fixedLabel("Aufgaben Daten:", 1301), 1, 0, 1, 2);
    grid->addWidget(fixedLabel("Aufgaben-Byte:", 1302), 2, 0);
    grid->addWidget(Txt_Aufgaben, 2, 1);
    grid->addWidget(Cbo_Aufgaben, 3, 0, 1, 2);
    grid->addWidget(fixedLabel("Hintergrund-Byte:", 1303), 4, 0);
    grid->addWidget(Txt_Hinterdrund, 4, 1);
    grid->addWidget(Cbo_Hintergrund, 5, 0, 1, 2);
    grid->addWidget(Cmd_Speichern, 6, 0, 1, 2);
    return grid;
}

void TBlockEditorForm::buildMenu(QMenuBar* bar) {
    m_menuBar = bar;
    QMenu* bild = bar->addMenu(QStringLiteral("Bild"));
    bild->setObjectName(QStringLiteral("Bild1"));
    setTag(bild->menuAction(), 1309);
    const auto add = [bild](const char* caption, const char* name, int tag, bool enabled) {
        QAction* action = bild->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        setTag(action, tag);
        return action;
    };
    Tileset1Speichern1 = add("Tileset1 Speichern", "Tileset1Speichern1", 1310, true);
    Tileset1Laden1 = add("Tileset1 Laden", "Tileset1Laden1", 1311, true);
    Tileset2Speichern1 = add("Tileset2 Speichern", "Tileset2Speichern1", 1312, true);
    Tileset2Laden1 = add("Tileset2 Laden", "Tileset2Laden1", 1313, true);
    // Into the palette chosen in "Paletten", which belongs to the part that loads it.
    PaletteLaden1 = add("Palette Laden", "PaletteLaden1", 1318, true);
    add("Blocks neu laden", "BlocksNeuLaden1", 1314, false);
    bild->addSeparator();
    // The palette file as text, as most tile editors read it; a name ending in ".jasc.pal"
    // asks for it too.
    PaletteJasc1 = add("Palette als JASC-PAL", "PaletteJasc1", 1315, true);
    PaletteJasc1->setCheckable(true);
}

void TBlockEditorForm::runSlot(const std::function<void()>& slot) {
    runCommand(this, m_dialogs, slot);
}

void TBlockEditorForm::mapChanged() {
    const TilesetPair& pair = m_session.romState().tilesets();
    {
        LoadingGuard guard(m_guard);
        Paletten->setCurrentIndex(pair.startPalette());
    }
    showBlockPalette();
    PalettenClick();
    fillAttributeLists();
    applyLanguage();
    const bool kept = blocks::blockInTables(pair, m_session.rom().isFrlg(), m_data.block);
    const int block = kept ? m_data.block : 0;
    selectBlock(block);
    TileUpdate();
}

// The main window's block palette at double size; its scroll box leaves room for the bar.
void TBlockEditorForm::showBlockPalette() {
    BlockBox->setBitmap(&m_session.mapState().pictures().blockPalette());
    BlockBox->refresh();
    m_blockScroll->setFixedWidth(BlockBox->width() + 2 * m_blockScroll->frameWidth() +
                                 kScrollBarRoom);
}

void TBlockEditorForm::applyLanguage() {
    const LanguageTable& lang = m_session.lang();
    const TilesetPair& pair = m_session.romState().tilesets();
    setWindowTitle(QStringLiteral("%1     %2 %3  %4 %5")
                       .arg(langText(lang, 130, "Block Editor"), langText(lang, 1316, "1.Teil:"))
                       .arg(pair.tilesetNumber(1).value_or(0))
                       .arg(langText(lang, 1317, "2.Teil:"))
                       .arg(pair.tilesetNumber(2).value_or(0)));
    SpracheAendern(this, lang);
    if (lang.available()) {
        applyMenuTexts(m_menuBar, lang);
    }
}

}  // namespace quillon::ui
