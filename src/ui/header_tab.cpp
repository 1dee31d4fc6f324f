#include "ui/header_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/base/numbers.h"
#include "core/writers/map_attributes.h"
#include "core/writers/tileset_choice.h"
#include "core/session/session.h"
#include "ui/hex_filter.h"
#include "ui/language_texts.h"
#include "ui/loading_guard.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

constexpr int kFieldWidth = 280;

QLabel* tagLabel(QWidget* box, const char* name, int tag, const char* caption) {
    return named(new QLabel(QString::fromUtf8(caption), box), name, tag);
}

void selectIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index < box->count() ? index : -1);
}

// The items replaced; the same line stays chosen (the list in another language).
void fillCombo(QComboBox* box, const std::vector<std::string>& items) {
    const int chosen = box->currentIndex();
    box->clear();
    for (const std::string& item : items) {
        box->addItem(toQ(item));
    }
    if (chosen >= 0 && chosen < box->count()) {
        box->setCurrentIndex(chosen);
    }
}

}  // namespace

HeaderTab::HeaderTab(Session& session, Dialogs& dialogs, LoadingFlag& loading, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_dialogs(dialogs),
      m_loading(loading),
      m_area(new QScrollArea(this)),
      m_box(new QWidget),
      m_notice(new QLabel(this)) {
    m_box->setObjectName(QStringLiteral("ScrollBox8"));
    buildControls();
    connectControls();
    m_area->setWidget(m_box);
    m_area->setWidgetResizable(true);
    m_notice->setObjectName(QStringLiteral("Lbl_KeinHeader"));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    m_notice->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_area, 1);
    layout->addWidget(m_notice, 1);
}

void HeaderTab::buildControls() {
    QWidget* b = m_box;
    Cbo_Name = named(new QComboBox(b), "Cbo_Name");
    Chk_ZeigeName = named(new QCheckBox(QStringLiteral("Namen beim Betreten anzeigen"), b),
                          "Chk_ZeigeName", 901);
    Txt_NeuerName = named(new QLineEdit(b), "Txt_NeuerName");
    Lbl_NeuerName = named(new QLabel(b), "Lbl_NeuerName");
    Cmd_NameAendern =
        named(new QPushButton(QStringLiteral("Namen ändern"), b), "Cmd_NameAendern", 902);
    Txt_Musik = named(new QLineEdit(b), "Txt_Musik");
    Cbo_Musik = named(new QComboBox(b), "Cbo_Musik");
    Cbo_Wetter = named(new QComboBox(b), "Cbo_Wetter");
    Cbo_Typ = named(new QComboBox(b), "Cbo_Typ");
    Txt_HeaderTile1 = named(new QLineEdit(QStringLiteral("0"), b), "Txt_HeaderTile1");
    Txt_HeaderTile2 = named(new QLineEdit(QStringLiteral("1"), b), "Txt_HeaderTile2");
    Cmd_Aendern = named(new QPushButton(QStringLiteral("ändern"), b), "Cmd_Aendern", 922);
    Txt_MapBreite = named(new QLineEdit(b), "Txt_MapBreite");
    Txt_MapHoehe = named(new QLineEdit(b), "Txt_MapHoehe");
    Cmd_Resize = named(new QPushButton(QStringLiteral("Grösse ändern"), b), "Cmd_Resize", 932);
    layOutControls();
    useHexFilter(Txt_Musik, 4);
    // Music is edited through its hex field only; resizing is a command of its own.
    for (QWidget* w :
         std::initializer_list<QWidget*>{Cbo_Musik, Txt_MapBreite, Txt_MapHoehe, Cmd_Resize}) {
        w->setEnabled(false);
    }
    enableControls();
}

// What the open map and the game allow: header fields with a header, tilesets with a footer
// of the map's own. FireRed/LeafGreen maps keep their name controls, the show-name box among
// them, disabled; the box still shows their show-name bits (byte 25, bits 2-7).
void HeaderTab::enableControls() {
    const CurrentMap& map = m_session.mapState().map();
    const bool header = m_session.mapState().loaded() && map.hasHeader();
    const bool footer = m_session.mapState().loaded() && map.hasFooter();
    const bool names = header && !m_session.rom().isFrlg();
    for (QWidget* w :
         std::initializer_list<QWidget*>{Txt_Musik, Cbo_Wetter, Cbo_Typ}) {
        w->setEnabled(header);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Cbo_Name, Txt_NeuerName, Chk_ZeigeName, Cmd_NameAendern}) {
        w->setEnabled(names);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{Txt_HeaderTile1, Txt_HeaderTile2, Cmd_Aendern}) {
        w->setEnabled(footer);
    }
    // A new size needs a footer of the map's own as well.
    for (QWidget* w : std::initializer_list<QWidget*>{Txt_MapBreite, Txt_MapHoehe, Cmd_Resize}) {
        w->setEnabled(footer);
    }
}

// Labels left, fields in the middle, buttons and the show-name check right.
void HeaderTab::layOutControls() {
    QWidget* b = m_box;
    auto* grid = new QGridLayout(b);
    grid->addWidget(tagLabel(b, "Lbl_Name", 900, "Name:"), 0, 0);
    grid->addWidget(Cbo_Name, 0, 1);
    grid->addWidget(Chk_ZeigeName, 0, 2);
    grid->addWidget(tagLabel(b, "Lbl_SelberEingeben", 911, "Selber eingeben:"), 1, 0);
    grid->addWidget(Txt_NeuerName, 1, 1);
    grid->addWidget(Cmd_NameAendern, 1, 2);
    grid->addWidget(Lbl_NeuerName, 2, 1);
    grid->addWidget(tagLabel(b, "Lbl_Musik", 910, "Musik:"), 3, 0);
    grid->addWidget(Txt_Musik, 3, 1);
    grid->addWidget(Cbo_Musik, 3, 2);
    grid->addWidget(tagLabel(b, "Lbl_Wetter", 912, "Wetter:"), 4, 0);
    grid->addWidget(Cbo_Wetter, 4, 1);
    grid->addWidget(tagLabel(b, "Lbl_Typ", 913, "Typ:"), 5, 0);
    grid->addWidget(Cbo_Typ, 5, 1);
    grid->addWidget(tagLabel(b, "Lbl_Tileset1", 920, "Tileset1:"), 6, 0);
    grid->addWidget(Txt_HeaderTile1, 6, 1);
    grid->addWidget(tagLabel(b, "Lbl_Tileset2", 921, "Tileset2:"), 7, 0);
    grid->addWidget(Txt_HeaderTile2, 7, 1);
    grid->addWidget(Cmd_Aendern, 7, 2);
    grid->addWidget(tagLabel(b, "Lbl_MapBreite", 930, "Map Breite:"), 8, 0);
    grid->addWidget(Txt_MapBreite, 8, 1);
    grid->addWidget(tagLabel(b, "Lbl_MapHoehe", 931, "Map Höhe:"), 9, 0);
    grid->addWidget(Txt_MapHoehe, 9, 1);
    grid->addWidget(Cmd_Resize, 9, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(10, 1);
    for (QWidget* field : std::initializer_list<QWidget*>{
             Cbo_Name, Txt_NeuerName, Txt_Musik, Cbo_Wetter, Cbo_Typ, Txt_HeaderTile1,
             Txt_HeaderTile2, Txt_MapBreite, Txt_MapHoehe}) {
        field->setMaximumWidth(kFieldWidth);
    }
}

void HeaderTab::fillLists() {
    LoadingGuard loading(m_loading);
    fillCombo(Cbo_Wetter, m_session.weatherNames());
    fillCombo(Cbo_Typ, m_session.typeNames());
}

void HeaderTab::fillNames() {
    LoadingGuard loading(m_loading);
    fillCombo(Cbo_Name, m_session.romState().mapNames());
}

void HeaderTab::showMap() {
    LoadingGuard loading(m_loading);
    const CurrentMap& map = m_session.mapState().map();
    m_area->setVisible(map.hasHeader());
    m_notice->setVisible(!map.hasHeader());
    if (map.hasHeader()) {
        selectIndex(Cbo_Name, map.header.nameIndex());
        Cbo_NameChange();
        // Bytes 17 and 16: the 16-bit music number, high byte first.
        Txt_Musik->setText(toQ(IntToHex(map.header.music(), 4)));
        selectIndex(Cbo_Wetter, map.header.weather());
        selectIndex(Cbo_Typ, map.header.type());
        Chk_ZeigeName->setChecked(
            map.header.showName(map_attributes::showNameBits(m_session.rom())));
    }
    // A map without a footer keeps the fields of the map before it.
    if (map.hasFooter()) {
        Txt_MapBreite->setText(QString::number(m_session.mapState().grid().width));
        Txt_MapHoehe->setText(QString::number(m_session.mapState().grid().height));
        // A header off the table's steps has no number: its offset is shown instead.
        const GameProfile& profile = m_session.romState().profile();
        Txt_HeaderTile1->setText(
            toQ(tileset_choice::headerText(profile, map.footer.tileset1Offset())));
        Txt_HeaderTile2->setText(
            toQ(tileset_choice::headerText(profile, map.footer.tileset2Offset())));
    }
    enableControls();
}

void HeaderTab::setNotice(const QString& text) { m_notice->setText(text); }

}  // namespace quillon::ui
