#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <vector>

#include "core/events/event_fields.h"
#include "core/events/event_kind.h"
#include "ui/command.h"
#include "ui/hex_filter.h"

class QGridLayout;
class QLabel;

namespace quillon {
class EventEditor;
class Session;
}  // namespace quillon

namespace quillon::ui {

class Dialogs;
class LoadingFlag;

// One editor panel of the Events tab: the controls of one kind's record. FrameActivate fills
// them from the selected record while it is of the panel's kind; otherwise the panel keeps
// what it showed. Every change handler makes one call to the event editor (which leaves the
// records alone while nothing is selected) and reports a changed record.
class EventFrame : public QWidget {
    Q_OBJECT

public:
    EventKind kind() const { return m_kind; }

    // Fills the controls with the loading flag set, so filling never changes the record.
    void FrameActivate();
    // The tagged labels, buttons and check boxes take the language's texts.
    void applyLanguage();
    // Hands over the text typed into a script field that has not been confirmed yet (no
    // Return, the field still has the focus), so a command that saves, undoes or moves on
    // sees it. A field left as it was filled changes nothing. False when a text was refused
    // (its error has been shown; the text stays in the field).
    bool applyPendingEdits();

signals:
    // A handler changed the record; redraw: the event picture shows the change.
    void recordEdited(bool redraw);

protected:
    EventFrame(const char* name, EventKind kind, Session& session, Dialogs& dialogs,
               LoadingFlag& loading, QWidget* parent);

    // Sets every control from the selected record (the loading flag is set meanwhile).
    virtual void fill() = 0;

    EventEditor& editor();
    Session& session() { return m_session; }

    // A row of the panel: a tagged label (named Lbl_<tag>) and its controls side by side.
    void addRow(int tag, const char* german, std::initializer_list<QWidget*> controls);
    // A line across the panel (a notice).
    QLabel* addNotice(int tag, const char* german);

    // Controls, each connected to its change handler. Hex edits are digits-wide fields with
    // the hex input filter, handing over every change; script edits take "$hex" or decimal
    // text and hand it over when editing finishes (Return or leaving the field), so a
    // half-typed "$" is never converted.
    template <class Frame>
    QLineEdit* hexEdit(const char* name, int digits, void (Frame::*handler)()) {
        QLineEdit* edit = makeHexEdit(name, digits);
        connect(edit, &QLineEdit::textChanged, this, slot(handler));
        return edit;
    }
    QLineEdit* hexEdit(const char* name, int digits, const std::function<void()>& handler) {
        QLineEdit* edit = makeHexEdit(name, digits);
        connect(edit, &QLineEdit::textChanged, this, commandSlot(this, m_dialogs, handler));
        return edit;
    }
    template <class Frame>
    QLineEdit* scriptEdit(const char* name, void (Frame::*handler)()) {
        QLineEdit* edit = makeScriptEdit(name);
        connect(edit, &QLineEdit::editingFinished, this, slot(handler));
        m_scriptFields.push_back(
            {edit, [this, handler] { (static_cast<Frame*>(this)->*handler)(); }});
        return edit;
    }
    template <class Frame>
    QSpinBox* byteSpin(const char* name, void (Frame::*handler)()) {
        QSpinBox* spin = makeByteSpin(name);
        connect(spin, &QSpinBox::valueChanged, this, slot(handler));
        return spin;
    }
    template <class Frame>
    QCheckBox* checkBox(const char* name, void (Frame::*handler)()) {
        QCheckBox* box = makeCheckBox(name);
        connect(box, &QCheckBox::toggled, this, slot(handler));
        return box;
    }

    // Filling: the selected record's field in the control's format.
    void showHex(QLineEdit* edit, EventField f);
    void showScript(QLineEdit* edit, EventField f);
    void showSpin(QSpinBox* spin, EventField f);

    // Change handlers: nothing while loading; otherwise one core call through the command
    // helper (bad text shows the conversion error, the record keeps its value). edit is false
    // when the call failed or did not run.
    bool edit(const std::function<bool()>& change, bool redraw = false);
    void editHex(const QLineEdit* edit, EventField f, bool redraw = false);
    void editScript(QLineEdit* edit, EventField f);
    void editSpin(const QSpinBox* spin, EventField f, bool redraw = false);

    // A handler of the panel as a slot that runs as one command.
    template <class Frame>
    auto slot(void (Frame::*handler)()) {
        return commandSlot(this, m_dialogs, static_cast<Frame*>(this), handler);
    }

private:
    QLineEdit* makeHexEdit(const char* name, int digits);
    QLineEdit* makeScriptEdit(const char* name);
    QSpinBox* makeByteSpin(const char* name);
    QCheckBox* makeCheckBox(const char* name);

    EventKind m_kind;
    Session& m_session;
    Dialogs& m_dialogs;
    LoadingFlag& m_loading;
    QGridLayout* m_grid;
    HexValidator* m_hex;
    struct ScriptField {
        QLineEdit* edit;
        std::function<void()> handler;  // hands the text over; clears the field's modified mark
    };
    std::vector<ScriptField> m_scriptFields;
};

}  // namespace quillon::ui
