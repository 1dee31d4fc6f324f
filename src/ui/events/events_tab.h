#pragma once

#include <QWidget>
#include <array>

#include "core/events/event_kind.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;

namespace quillon {
class Session;
}

namespace quillon::ui {

class Dialogs;
class EventFrame;
class LoadingFlag;
class PictureView;

// The tab "Events": the event picture `EventBox` (the map with its events drawn over it) in a
// scroll box, or a notice for a map without events; on the right the event kind box
// `Cbo_EventTypen`, the record number `Spin_Nr`, the switch `Chk_ShowSprite` (red square round
// the selected event) and the panel of the chosen kind, with a notice behind it seen while the
// kind has no records. A click on an event selects it and shows its panel; dragging moves it
// cell by cell (one undo step); the right button does nothing. Hovering names the event under
// the pointer in the status bar.
class EventsTab : public QWidget {
    Q_OBJECT

public:
    EventsTab(Session& session, Dialogs& dialogs, LoadingFlag& loading, QWidget* parent = nullptr);

    PictureView* eventBox() const { return m_eventBox; }

    // The kind names in the current language: once, at start.
    void fillKinds();
    void setNotice(const QString& text);
    // The panels' tagged labels and buttons take the language's texts.
    void applyLanguage();
    // A map was opened: the view or the notice, the kind box on "Person", its first record.
    void mapOpened();
    // Draws the event picture when it is out of date and shows it with its status message;
    // nothing while no map is open. Throws what the core's drawing throws.
    void refresh();
    // Kind box, number and panel follow the event editor's selection (after undo or redo);
    // with nothing selected they keep what they show.
    void showSelection();
    // Selects record index of kind, or the last one when there are fewer (nothing when the kind
    // has none), and shows it. Throws what the core's drawing throws.
    void choose(EventKind kind, int index);
    // Ends a drag in progress (before undo, or when another map opens).
    void finishGestures();
    // Hands over script text typed into the shown panel but not yet confirmed. False when the
    // text was refused (its error has been shown).
    bool applyPendingEdits();
    void setDoubled(bool doubled);

signals:
    // First status panel: the pointer's cell and event.
    void statusText(const QString& text);
    // Second status panel: the state message of the picture.
    void messageText(const QString& text);
    // A record changed: the main window updates its caption and the undo items.
    void mapEdited();
    // The warp panel's "Go": open that map and select its warp.
    void goRequested(const QString& identifier, const QString& title, int warp);

private:
    void buildColumn(QWidget* column);
    QWidget* buildPanels(QWidget* column);
    EventFrame* frameOf(EventKind kind) const;
    // Kind box, number range and panel for kind (with its record index), muting the handlers.
    void showKind(EventKind kind, int index);
    void redraw();
    void Cbo_EventTypenChange();
    void Spin_NrChange();
    void Chk_ShowSpriteClick();
    void EventBoxMouseDown(int x, int y, Qt::MouseButton button);
    void EventBoxMouseMove(int x, int y);
    void EventBoxMouseUp();
    void recordEdited(bool redraw);

    Session& m_session;
    Dialogs& m_dialogs;
    LoadingFlag& m_loading;
    PictureView* m_eventBox;
    QScrollArea* m_scroll;
    QLabel* m_notice;
    QComboBox* Cbo_EventTypen = nullptr;
    QSpinBox* Spin_Nr = nullptr;
    QCheckBox* Chk_ShowSprite = nullptr;
    QLabel* m_noneOfKind = nullptr;
    std::array<EventFrame*, 5> m_frames{};  // by kind box entry
};

}  // namespace quillon::ui
