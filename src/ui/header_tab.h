#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

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

class Dialogs;
class LoadingFlag;

// The tab "Header": the attribute box `ScrollBox8` (name, show-name flag, music, weather,
// type, tilesets, size) filled from the open map's header and footer. Maps opened without a
// header hide the box and show a notice instead. Every change is written into the ROM at once;
// the name controls stay disabled on FireRed/LeafGreen.
class HeaderTab : public QWidget {
    Q_OBJECT

public:
    HeaderTab(Session& session, Dialogs& dialogs, LoadingFlag& loading, QWidget* parent = nullptr);

    // The container whose tagged labels, buttons and check boxes take the language's texts.
    QWidget* attributeBox() const { return m_box; }

    // Weather and map type names, filled once at start.
    void fillLists();
    // The ROM's map names, after every ROM open.
    void fillNames();
    // The open map's values; hides the box for a map without a header.
    void showMap();
    void setNotice(const QString& text);

signals:
    // Other tilesets were chosen: the map's pictures are drawn anew.
    void tilesetsChanged();
    // The map got another size and lies elsewhere: it is opened again.
    void mapResized();

private:
    void buildControls();
    void layOutControls();
    void connectControls();
    void enableControls();
    // Runs a handler through the command boundary when the signal comes.
    template <class Signal, class Sender>
    void on(Sender* sender, Signal signal, void (HeaderTab::*handler)());

    // Handlers (header_tab_commands.cpp); all but the name copy do nothing while loading.
    void Txt_MusikChange();
    void Cbo_WetterChange();
    void Cbo_TypChange();
    void Chk_ZeigeNameClick();
    void Cbo_NameChange();
    void Txt_NeuerNameChange();
    void encodeNewName();
    void Cmd_NameAendernClick();
    // False when other maps show the name too and the user does not want it changed.
    bool confirmSharedName(int index);
    void Cmd_AendernClick();
    void Cmd_ResizeClick();  // header_tab_resize.cpp

    Session& m_session;
    Dialogs& m_dialogs;
    LoadingFlag& m_loading;
    std::vector<std::uint8_t> m_newName;  // the codes of Txt_NeuerName, at most 18
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
