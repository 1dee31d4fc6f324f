#pragma once

#include <QDialog>
#include <cstdint>
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

// One tileset header the boxes offer: its text (number or offset) and where it lies.
struct TilesetItem {
    QString text;
    std::uint32_t header = 0;
};

// "Neue Map" (modal): width, height, the two tilesets and the name of a new map.
// "Erstellen" checks the fields and closes the dialog accepted; the caller makes the map.
class TMapForm : public QDialog {
    Q_OBJECT

public:
    // The tileset boxes list the headers of each part (primary, secondary), in ROM order.
    TMapForm(Dialogs& dialogs, const LanguageTable& lang, const std::vector<TilesetItem>& part1,
             const std::vector<TilesetItem>& part2, QWidget* parent = nullptr);

    // The values shown when the dialog opens: those of the open map (a tileset header the
    // boxes do not list is added to them).
    void fill(int width, int height, const TilesetItem& tileset1, const TilesetItem& tileset2,
              const QString& name);

    // Valid after the dialog was accepted: size and the chosen tileset headers.
    int width() const { return m_width; }
    int height() const { return m_height; }
    std::uint32_t tileset1() const;
    std::uint32_t tileset2() const;
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
