#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillon {
class LanguageTable;
}

namespace quillon::ui {

class Dialogs;

// "Neue Map" (modal): width, height, the two tileset numbers and the name of a new map.
// "Erstellen" checks the fields and closes the dialog accepted; the caller makes the map.
class TMapForm : public QDialog {
    Q_OBJECT

public:
    // The tileset boxes list tilesets (the numbers of the ROM's tileset table).
    TMapForm(Dialogs& dialogs, const LanguageTable& lang, const std::vector<int>& tilesets,
             QWidget* parent = nullptr);

    // The values shown when the dialog opens: those of the open map (a tileset number the
    // boxes do not list is added to them).
    void fill(int width, int height, int tileset1, int tileset2, const QString& name);

    // Valid after the dialog was accepted.
    int width() const { return m_width; }
    int height() const { return m_height; }
    int tileset1() const;
    int tileset2() const;
    std::string name() const;

private:
    void Btn_ErstellenClick();
    bool allFilled() const;

    Dialogs& m_dialogs;
    const LanguageTable& m_lang;
    int m_width = 0;
    int m_height = 0;
    QLineEdit* Txt_Breite;
    QLineEdit* Txt_Hohe;
    QComboBox* Cbo_Tileset1;
    QComboBox* Cbo_Tileset2;
    QLineEdit* Txt_Name;
    QPushButton* Btn_Erstellen;
    QPushButton* Btn_Abbrechen;
};

}  // namespace quillon::ui
