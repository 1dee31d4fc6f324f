#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace quillon {
class Session;
struct MapListTree;
}  // namespace quillon

namespace quillon::ui {

class Dialogs;

// The two ways of choosing a map from the list: the tree `MapList` (roots, banks or groups,
// maps) and the combo box bar `Scroll_Header` (`Cbo_Main` groups, `Cbo_Map` their maps).
// The main window places both widgets; this object fills them and reports a chosen map line.
class MapChooser : public QObject {
    Q_OBJECT

public:
    MapChooser(const Session& session, Dialogs& dialogs, QWidget* parent);

    QTreeWidget* tree() const { return m_tree; }
    QWidget* comboBar() const { return m_bar; }

    // Rebuilds the tree and the group list (MapsLoad); expands the header part and selects the
    // first line.
    void load(const MapListTree& list);
    // The list's top entries take the texts of list (the same list in another language);
    // what is open, expanded and chosen stays.
    void retitleRoots(const MapListTree& list);
    void setComboMode(bool on);
    // Without a ROM the list and the combo boxes are disabled.
    void setEnabled(bool on);
    bool isEnabled() const;
    void focusList();
    // Makes a line of the map identifier the list's current line and answers its text
    // "<name> (<identifier>)": the line reading chosen (the line the user chose in the list
    // or the combo boxes), else the current line when it is that map's, else the first of that
    // map; "" when the list has no line of that map.
    QString selectMap(const QString& identifier, const QString& chosen);

signals:
    // A map line (level 3, or a `Cbo_Map` entry) was chosen: "<name> (<identifier>)".
    void mapChosen(const QString& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MapListDblClick(QTreeWidgetItem* item);
    void MapListKeyDown();
    void Cbo_MainChange(int index);
    void Cbo_MapChange(int index);
    void chooseItem(const QTreeWidgetItem* item);

    const Session& m_session;
    Dialogs& m_dialogs;
    QTreeWidget* m_tree;
    QWidget* m_bar;
    QComboBox* m_cboMain;
    QComboBox* m_cboMap;
};

}  // namespace quillon::ui
