// The block editor's named attribute lists (AufgabenDaten.ini) and the tileset export of its
// menu "Bild".
#include <QAction>
#include <QComboBox>

#include "core/base/numbers.h"
#include "core/base/ini_file.h"
#include "core/session/session.h"
#include "imageio/tileset_export.h"
#include "ui/blocks/block_editor_form.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

QString pictureFilter(const LanguageTable& lang) {
    return langText(lang, 1720, "Indiziertes PNG") +
           QStringLiteral(" (*.png);;Device Independent Bitmap (*.DIB);;") + allFilesFilter(lang);
}

// count names from section, keys "00".."FF" (for values above FF the three-digit value is the
// key); a missing key shows the key itself.
void fillNames(QComboBox* list, const IniFile& ini, const std::string& section, int count) {
    list->clear();
    for (int value = 0; value < count; ++value) {
        const std::string key = IntToHex(value, 2);
        list->addItem(toQ(ini.readString(section, key, key)));
    }
}

}  // namespace

// The language's section names the sections of the names: "Aufgaben" and "Hintergrund".
// FireRed/LeafGreen show 512 behaviour values and the four layer types, whose names come from
// the section that "HintergrundFRLG" names.
void TBlockEditorForm::fillAttributeLists() {
    const IniFile& ini = m_session.data().taskData();
    const std::string language =
        m_session.lang().current().empty() ? std::string("Deutsch") : m_session.lang().current();
    const bool frlg = m_session.rom().isFrlg();
    const blocks::AttributeLayout layout = blocks::attributeLayout(frlg);
    const std::string behaviours = ini.readString(language, "Aufgaben", "Aufgaben");
    const std::string backgrounds =
        frlg ? ini.readString(language, "HintergrundFRLG", "HintergrundFRLG")
             : ini.readString(language, "Hintergrund", "Hintergrund");
    LoadingGuard guard(m_guard);
    fillNames(Cbo_Aufgaben, ini, behaviours, layout.maxBehaviour + 1);
    fillNames(Cbo_Hintergrund, ini, backgrounds, layout.maxBackground + 1);
}

void TBlockEditorForm::languageChanged() {
    fillAttributeLists();
    fieldTyped(Txt_Aufgaben, Cbo_Aufgaben);
    fieldTyped(Txt_Hinterdrund, Cbo_Hintergrund);
    applyLanguage();
}

// The part's tile picture in the chosen palette and the palette beside it.
void TBlockEditorForm::saveTileset(int part) {
    const QString name =
        m_dialogs.saveFileName(this, (part == 1 ? Tileset1Speichern1 : Tileset2Speichern1)->text(),
                               pictureFilter(m_session.lang()), QStringLiteral("png"), QString());
    if (name.isEmpty()) {
        return;
    }
    imageio::exportTileset(m_session.romState().tilesets(), part, Paletten->currentIndex(), name,
                           PaletteJasc1->isChecked());
}

}  // namespace quillon::ui
