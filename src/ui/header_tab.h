#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace quillon {
class Session;
}

namespace quillon::ui {

class LoadingFlag;

// The tab "Header": the attribute box `ScrollBox8` (name, show-name flag, music, weather,
// type, tilesets, size) filled from the open map's header and footer. Maps opened without a
// header hide the box and show a notice instead. The controls that write to the ROM stay
// disabled until their commands exist; the name controls stay disabled on FireRed/LeafGreen.
class HeaderTab : public QWidget {
    Q_OBJECT

public:
    HeaderTab(Session& session, LoadingFlag& loading, QWidget* parent = nullptr);

    // The container whose tagged labels, buttons and check boxes take the language's texts.
    QWidget* attributeBox() const { return m_box; }

    // Weather and map type names, filled once at start.
    void fillLists();
    // The ROM's map names, after every ROM open.
    void fillNames();
    // The open map's values; hides the box for a map without a header.
    void showMap();
    void setNotice(const QString& text);

private:
    void buildControls();
    void layOutControls();
    void Cbo_NameChange();

    Session& m_session;
    LoadingFlag& m_loading;
    QScrollArea* m_area;
    QWidget* m_box;
    QLabel* m_notice;

    QComboBox* Cbo_Name;
    QCheckBox* Chk_ZeigeName;
    QLineEdit* Txt_NeuerName;
    QLabel* Lbl_NeuerName;
    QPushButton* Cmd_NameAendern;
    QLineEdit* Txt_Musik;
    QComboBox* Cbo_Musik;
    QComboBox* Cbo_Wetter;
    QComboBox* Cbo_Typ;
    QLineEdit* Txt_HeaderTile1;
    QLineEdit* Txt_HeaderTile2;
    QPushButton* Cmd_Aendern;
    QLineEdit* Txt_MapBreite;
    QLineEdit* Txt_MapHoehe;
    QPushButton* Cmd_Resize;
};

}  // namespace quillon::ui
