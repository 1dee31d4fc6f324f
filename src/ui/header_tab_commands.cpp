#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/base/numbers.h"
#include "core/writers/map_attributes.h"
#include "core/writers/map_name_writer.h"
#include "core/writers/tileset_choice.h"
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/dialogs.h"
#include "ui/header_tab.h"
#include "ui/language_texts.h"
#include "ui/loading_guard.h"
#include "ui/qt_text.h"

namespace quillon::ui {

template <class Signal, class Sender>
void HeaderTab::on(Sender* sender, Signal signal, void (HeaderTab::*handler)()) {
    connect(sender, signal, this, commandSlot(this, m_dialogs, this, handler));
}

void HeaderTab::connectControls() {
    // The music number is written once the user confirms it (Enter or leaving the field),
    // not per keystroke: "0150" typed is one command, not four.
    on(Txt_Musik, &QLineEdit::editingFinished, &HeaderTab::Txt_MusikChange);
    on(Cbo_Wetter, &QComboBox::currentIndexChanged, &HeaderTab::Cbo_WetterChange);
    on(Cbo_Typ, &QComboBox::currentIndexChanged, &HeaderTab::Cbo_TypChange);
    on(Chk_ZeigeName, &QCheckBox::clicked, &HeaderTab::Chk_ZeigeNameClick);
    on(Cbo_Name, &QComboBox::currentIndexChanged, &HeaderTab::Cbo_NameChange);
    on(Txt_NeuerName, &QLineEdit::textChanged, &HeaderTab::Txt_NeuerNameChange);
    on(Cmd_NameAendern, &QPushButton::clicked, &HeaderTab::Cmd_NameAendernClick);
    on(Cmd_Aendern, &QPushButton::clicked, &HeaderTab::Cmd_AendernClick);
    on(Cmd_Resize, &QPushButton::clicked, &HeaderTab::Cmd_ResizeClick);
}

void HeaderTab::Txt_MusikChange() {
    if (m_loading.active() || !m_session.mapState().loaded() ||
        !m_session.mapState().map().hasHeader()) {
        return;
    }
    const std::uint16_t current = m_session.mapState().map().header.music();
    const QString text = Txt_Musik->text();
    if (text.isEmpty()) {
        // Nothing typed: the field shows the number the ROM holds again.
        const LoadingGuard loading(m_loading);
        Txt_Musik->setText(toQ(IntToHex(current, 4)));
        return;
    }
    const auto music = static_cast<std::uint16_t>(HexToInt(toStd(text)));
    if (music != current) {
        map_attributes::writeMusic(m_session.rom(), m_session.mapState(), music);
    }
}

void HeaderTab::Cbo_WetterChange() {
    if (!m_loading.active() && Cbo_Wetter->currentIndex() >= 0) {
        map_attributes::writeByte(m_session.rom(), m_session.mapState(), HeaderByte::Weather,
                                  Cbo_Wetter->currentIndex());
    }
}

void HeaderTab::Cbo_TypChange() {
    if (!m_loading.active() && Cbo_Typ->currentIndex() >= 0) {
        map_attributes::writeByte(m_session.rom(), m_session.mapState(), HeaderByte::Type,
                                  Cbo_Typ->currentIndex());
    }
}

void HeaderTab::Chk_ZeigeNameClick() {
    if (!m_loading.active()) {
        map_attributes::writeShowName(m_session.rom(), m_session.mapState(),
                                      Chk_ZeigeName->isChecked());
    }
}

// The map loader calls this with the loading flag set: the name is still copied and encoded.
void HeaderTab::Cbo_NameChange() {
    {
        const QSignalBlocker quiet(Txt_NeuerName);
        Txt_NeuerName->setText(Cbo_Name->currentText());
    }
    encodeNewName();
    if (!m_loading.active() && Cbo_Name->currentIndex() >= 0) {
        map_attributes::writeNameIndex(m_session.rom(), m_session.mapState(),
                                       m_session.romState().profile(), Cbo_Name->currentIndex());
    }
}

void HeaderTab::Txt_NeuerNameChange() {
    if (!m_loading.active()) {
        encodeNewName();
    }
}

// The field keeps the recognised characters followed by what is still pending; the label
// shows the recognised ones.
void HeaderTab::encodeNewName() {
    LoadingGuard loading(m_loading);
    const int caret = Txt_NeuerName->cursorPosition();
    const auto encoded =
        map_name_writer::encode(m_session.romState().chars(), toStd(Txt_NeuerName->text()));
    m_newName = encoded.bytes;
    Lbl_NeuerName->setText(toQ(encoded.accepted));
    const QString shown = toQ(encoded.accepted + encoded.pending);
    Txt_NeuerName->setText(shown);
    Txt_NeuerName->setCursorPosition(std::min(caret, static_cast<int>(shown.size())));
}

void HeaderTab::Cmd_NameAendernClick() {
    const int index = Cbo_Name->currentIndex();
    if (index < 0) {
        throw Error(toStd(langText(m_session.lang(), 1744, "Es ist kein Map-Name gewählt.")));
    }
    const LanguageTable& lang = m_session.lang();
    const auto slot = map_name_writer::slot(m_session.rom(), m_session.romState(), index);
    if (!confirmSharedName(index)) {
        m_dialogs.inform(this, langText(lang, "01", "Info"),
                         langText(lang, 9220, "Name ändern abgebrochen!"));
        return;
    }
    RepointRequest request;
    request.caption = langText(lang, 881, "Neuer Offset für Name");
    request.count = map_name_writer::bytesNeeded(m_newName.size());
    if (auto here = map_name_writer::proposedOffset(slot, m_newName.size())) {
        request.proposed = toQ("$" + IntToHex(*here, 6));
    }
    request.check = [this, index](std::uint32_t at, std::uint8_t fill) {
        map_name_writer::checkPlace(m_session.rom(), m_session.romState(), index, m_newName, at,
                                    fill);
    };
    const auto choice = m_dialogs.repoint(this, request);
    if (!choice) {
        m_dialogs.inform(this, langText(lang, "01", "Info"),
                         langText(lang, 9220, "Name ändern abgebrochen!"));
        return;
    }
    const std::string name = map_name_writer::write(m_session.rom(), m_session.romState(), index,
                                                    m_newName, choice->offset, choice->fill);
    LoadingGuard loading(m_loading);
    Cbo_Name->setItemText(index, toQ(name));
    Cbo_Name->setCurrentIndex(index);
}

// A name other maps show too changes for all of them: the user hears which before writing.
bool HeaderTab::confirmSharedName(int index) {
    const auto maps = map_name_writer::mapsWithName(m_session.rom(), m_session.romState(), index);
    if (maps.size() < 2) {
        return true;
    }
    QStringList names;
    for (const std::string& map : maps) {
        names << toQ(map);
    }
    const LanguageTable& lang = m_session.lang();
    return m_dialogs.confirm(
        this, langText(lang, "00", "Frage"),
        langText(lang, 9221, "Diesen Namen zeigen alle diese Maps, er ändert sich für alle:") +
            QLatin1Char(' ') + names.join(QStringLiteral(", ")) + QStringLiteral(". ") +
            langText(lang, 9222, "Trotzdem ändern?"));
}

void HeaderTab::Cmd_AendernClick() {
    TRom& rom = m_session.rom();
    const GameProfile& profile = m_session.romState().profile();
    const RomState* state = &m_session.romState();
    const std::uint32_t h1 =
        tileset_choice::headerFromText(rom, profile, toStd(Txt_HeaderTile1->text()), 1, state);
    const std::uint32_t h2 =
        tileset_choice::headerFromText(rom, profile, toStd(Txt_HeaderTile2->text()), 2, state);
    tileset_choice::write(rom, m_session.romState(), m_session.mapState(),
                          m_session.data().tilesets(), h1, h2);
    emit tilesetsChanged();
}

}  // namespace quillon::ui
