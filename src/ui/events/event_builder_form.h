#pragma once

#include <QWidget>

class QPushButton;
class QSpinBox;

namespace quillon {
class LanguageTable;
class Session;
}  // namespace quillon

namespace quillon::ui {

class Dialogs;

// The window "Event menge" beside the main window (not modal): new counts of warps,
// signposts, persons and script triggers for the open map. "Events ändern" asks for a place
// in the ROM, writes all four tables and a new event header there and points the map at it;
// a map outside the ROM (a map file, a new map) gets its new tables in memory.
class TEventBuilderForm : public QWidget {
    Q_OBJECT

public:
    TEventBuilderForm(Session& session, Dialogs& dialogs, QWidget* parent);

    // The counts of the open map go into the spins whenever the window is shown.
    void FormShow();
    void Button1Click();
    // Caption, labels and button in the current language.
    void applyLanguage(const LanguageTable& lang);

signals:
    // The map's event tables were replaced: the event view starts on them anew.
    void eventsChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QSpinBox* addCount(const char* label, const char* name, int tag, int row);

    Session& m_session;
    Dialogs& m_dialogs;
    QSpinBox* WarpNum;
    QSpinBox* SignNum;
    QSpinBox* PeopNum;
    QSpinBox* ScriptNum;
    QPushButton* Button1;
};

}  // namespace quillon::ui
