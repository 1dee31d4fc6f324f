#include "ui/events/events_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "core/session/session.h"
#include "ui/command.h"
#include "ui/events/frame_fly_position.h"
#include "ui/events/frame_people.h"
#include "ui/events/frame_script.h"
#include "ui/events/frame_signpost.h"
#include "ui/events/frame_warp.h"
#include "ui/language_texts.h"
#include "ui/loading_guard.h"
#include "ui/picture_view.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

struct KindText {
    int number;
    const char* german;
};
// The kind box entries in their order (kindOfEntry gives their kinds).
constexpr KindText kKindTexts[] = {
    {41, "Person"}, {43, "Signpost"}, {40, "Warp"}, {42, "Script"}, {46, "FlugPos"}};

constexpr int kColumnWidth = 250;

QLabel* noticeLabel(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

}  // namespace

EventsTab::EventsTab(Session& session, Dialogs& dialogs, LoadingFlag& loading, QWidget* parent)
    : QWidget(parent),
      m_session(session),
      m_dialogs(dialogs),
      m_loading(loading),
      m_eventBox(new PictureView(QStringLiteral("EventBox"))),
      m_notice(noticeLabel("Lbl_KeineEvents", "Sorry keine Events für diese Map gefunden.", this)) {
    // A click on the picture takes the focus: a script field being edited hands its text over
    // before another event is selected, and Ctrl+Z reaches the page's sprite switch.
    m_eventBox->setFocusPolicy(Qt::ClickFocus);
    m_scroll = makeScrollBox(QStringLiteral("ScrollBox6"), m_eventBox, this);
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->hide();

    auto* column = new QWidget;
    buildColumn(column);
    auto* columnBox = new QScrollArea(this);
    columnBox->setObjectName(QStringLiteral("ScrollBox7"));
    columnBox->setWidget(column);
    columnBox->setWidgetResizable(true);
    columnBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    columnBox->setFixedWidth(kColumnWidth + kScrollBarRoom);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_notice, 1);
    layout->addWidget(columnBox);

    connect(m_eventBox, &PictureView::cellMoved, this,
            commandSlot(this, m_dialogs, this, &EventsTab::EventBoxMouseMove));
    connect(m_eventBox, &PictureView::cellPressed, this,
            commandSlot(this, m_dialogs, this, &EventsTab::EventBoxMouseDown));
    connect(m_eventBox, &PictureView::cellReleased, this,
            commandSlot(this, m_dialogs, this, &EventsTab::EventBoxMouseUp));
}

void EventsTab::buildColumn(QWidget* column) {
    Cbo_EventTypen = new QComboBox(column);
    Cbo_EventTypen->setObjectName(QStringLiteral("Cbo_EventTypen"));
    auto* number = new QLabel(QStringLiteral("Nr.:"), column);
    number->setObjectName(QStringLiteral("Lbl_Nr"));
    setTag(number, 470);
    Spin_Nr = new QSpinBox(column);
    Spin_Nr->setObjectName(QStringLiteral("Spin_Nr"));
    Spin_Nr->setRange(0, 0);
    Spin_Nr->setEnabled(false);
    Chk_ShowSprite = new QCheckBox(QStringLiteral("Aktives Sprite Markieren"), column);
    Chk_ShowSprite->setObjectName(QStringLiteral("Chk_ShowSprite"));
    setTag(Chk_ShowSprite, 471);
    Chk_ShowSprite->setChecked(m_session.settings().flag(Settings::Flag::ShowSprite));

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(number);
    numberRow->addWidget(Spin_Nr);
    numberRow->addStretch(1);
    auto* layout = new QVBoxLayout(column);
    layout->addWidget(Cbo_EventTypen);
    layout->addLayout(numberRow);
    layout->addWidget(Chk_ShowSprite);
    layout->addWidget(buildPanels(column));
    layout->addStretch(1);

    connect(Cbo_EventTypen, &QComboBox::currentIndexChanged, this,
            commandSlot(this, m_dialogs, this, &EventsTab::Cbo_EventTypenChange));
    connect(Spin_Nr, &QSpinBox::valueChanged, this,
            commandSlot(this, m_dialogs, this, &EventsTab::Spin_NrChange));
    connect(Chk_ShowSprite, &QCheckBox::clicked, this,
            commandSlot(this, m_dialogs, this, &EventsTab::Chk_ShowSpriteClick));
}

// The five panels and the notice behind them, all in one place.
QWidget* EventsTab::buildPanels(QWidget* column) {
    auto* stack = new QWidget(column);
    auto* stacked = new QGridLayout(stack);
    stacked->setContentsMargins(0, 0, 0, 0);
    m_noneOfKind =
        noticeLabel("Lbl_KeinEventTyp", "Sorry für diesen EventTyp hat es keine Events.", stack);
    setTag(m_noneOfKind, 472);
    stacked->addWidget(m_noneOfKind, 0, 0, Qt::AlignTop);
    m_frames = {new TFrame_People(m_session, m_dialogs, m_loading, stack),
                new TFrame_Signpost(m_session, m_dialogs, m_loading, stack),
                new TFrame_Warp(m_session, m_dialogs, m_loading, stack),
                new TFrame_Script(m_session, m_dialogs, m_loading, stack),
                new TFrame_FlugPos(m_session, m_dialogs, m_loading, stack)};
    for (EventFrame* frame : m_frames) {
        stacked->addWidget(frame, 0, 0, Qt::AlignTop);
        frame->hide();
        connect(frame, &EventFrame::recordEdited, this,
                commandSlot(this, m_dialogs, this, &EventsTab::recordEdited));
    }
    connect(static_cast<TFrame_Warp*>(frameOf(EventKind::Warp)), &TFrame_Warp::goRequested, this,
            &EventsTab::goRequested);
    return stack;
}

EventFrame* EventsTab::frameOf(EventKind kind) const {
    const int entry = entryOfKind(kind);
    return entry < 0 ? nullptr : m_frames[static_cast<std::size_t>(entry)];
}

void EventsTab::fillKinds() {
    LoadingGuard loading(m_loading);
    Cbo_EventTypen->clear();
    for (const KindText& kind : kKindTexts) {
        Cbo_EventTypen->addItem(langText(m_session.lang(), kind.number, kind.german));
    }
    showKind(EventKind::Person, 0);
}

void EventsTab::setNotice(const QString& text) { m_notice->setText(text); }

void EventsTab::applyLanguage() {
    // "Nr.:", "Aktives Sprite Markieren" and the notice behind the panels.
    SpracheAendern(Chk_ShowSprite->parentWidget(), m_session.lang());
    SpracheAendern(m_noneOfKind->parentWidget(), m_session.lang());
    int entry = 0;
    for (const KindText& kind : kKindTexts) {
        Cbo_EventTypen->setItemText(entry++, langText(m_session.lang(), kind.number, kind.german));
    }
    for (EventFrame* frame : m_frames) {
        frame->applyLanguage();
    }
}

void EventsTab::mapOpened() {
    const bool hasEvents = m_session.mapState().events().hasEvents();
    m_scroll->setVisible(hasEvents);
    m_notice->setVisible(!hasEvents);
    if (!hasEvents) {
        const EventMessage none = EventMessage::NoEvents;
        emit messageText(
            langText(m_session.lang(), static_cast<int>(none), eventMessageText(none)));
    } else {
        // The message of the map before (or of its tables before new counts) is gone; the
        // next drawing of the events says what it finds.
        emit messageText(QString());
    }
    // The editor has selected the first person, or nothing for a map without persons.
    showKind(EventKind::Person, 0);
    frameOf(EventKind::Person)->FrameActivate();
}

void EventsTab::refresh() {
    if (!m_session.mapState().loaded()) {
        m_eventBox->setBitmap(nullptr);
        return;
    }
    const LanguageTable& lang = m_session.lang();
    if (!m_session.mapState().events().hasEvents()) {
        const EventMessage none = EventMessage::NoEvents;
        emit messageText(langText(lang, static_cast<int>(none), eventMessageText(none)));
        return;
    }
    m_eventBox->setBitmap(&m_session.mapState().eventPicture());
    if (const auto message = m_session.mapState().eventEditor().pictureMessage()) {
        emit messageText(langText(lang, static_cast<int>(*message), eventMessageText(*message)));
    }
}

void EventsTab::redraw() {
    runCommand(this, m_dialogs, [this] { refresh(); });
}

void EventsTab::showKind(EventKind kind, int index) {
    LoadingGuard loading(m_loading);
    const int count = m_session.mapState().events().count(kind);
    Cbo_EventTypen->setCurrentIndex(entryOfKind(kind));
    Spin_Nr->setMaximum(count >= 2 ? count - 1 : 0);
    Spin_Nr->setEnabled(count >= 2);
    Spin_Nr->setValue(index);
    for (EventFrame* frame : m_frames) {
        frame->setVisible(frame->kind() == kind && count > 0);
    }
    m_noneOfKind->setVisible(count == 0);
}

void EventsTab::showSelection() {
    const EventRef selected = m_session.mapState().eventEditor().selected();
    if (selected.none()) {
        return;
    }
    showKind(selected.kind, selected.index);
    frameOf(selected.kind)->FrameActivate();
}

void EventsTab::choose(EventKind kind, int index) {
    const int count = m_session.mapState().events().count(kind);
    index = std::clamp(index, 0, std::max(count - 1, 0));
    m_session.mapState().eventEditor().select(kind, index);
    showKind(kind, index);
    frameOf(kind)->FrameActivate();
    refresh();
}

void EventsTab::finishGestures() { m_session.mapState().eventEditor().release(); }

bool EventsTab::applyPendingEdits() {
    const EventRef selected = m_session.mapState().eventEditor().selected();
    if (!m_session.mapState().loaded() || selected.none()) {
        return true;
    }
    EventFrame* frame = frameOf(selected.kind);
    return frame == nullptr || frame->applyPendingEdits();
}

void EventsTab::setDoubled(bool doubled) { m_eventBox->setDoubled(doubled); }

// Picking a kind selects its first record.
void EventsTab::Cbo_EventTypenChange() {
    if (m_loading.active()) {
        return;
    }
    const EventKind kind = kindOfEntry(Cbo_EventTypen->currentIndex());
    runCommand(this, m_dialogs,
               [&] { choose(kind == EventKind::None ? EventKind::Person : kind, 0); });
}

void EventsTab::Spin_NrChange() {
    if (m_loading.active()) {
        return;
    }
    const EventKind kind = kindOfEntry(Cbo_EventTypen->currentIndex());
    m_session.mapState().eventEditor().select(kind, Spin_Nr->value());
    frameOf(kind)->FrameActivate();
    redraw();
}

void EventsTab::Chk_ShowSpriteClick() {
    m_session.settings().setFlag(Settings::Flag::ShowSprite, Chk_ShowSprite->isChecked());
    redraw();
}

// Any button but the right one selects the event on the cell and starts dragging it; an empty
// cell selects nothing and the panel keeps what it shows.
void EventsTab::EventBoxMouseDown(int x, int y, Qt::MouseButton button) {
    if (!m_session.mapState().loaded() || button == Qt::RightButton) {
        return;
    }
    if (!m_session.mapState().eventEditor().pressAt(x, y).none()) {
        showSelection();
    }
    redraw();
}

void EventsTab::EventBoxMouseMove(int x, int y) {
    // Drag positions come from the picture, so a dragged event stays on the map.
    if (!m_session.mapState().loaded() || !m_session.mapState().grid().contains(x, y)) {
        return;
    }
    EventEditor& editor = m_session.mapState().eventEditor();
    emit statusText(toQ(editor.statusText(x, y, m_session.lang())));
    bool moved = false;
    runCommand(this, m_dialogs, [&] { moved = editor.dragging() && editor.dragTo(x, y); });
    if (moved) {
        frameOf(editor.selected().kind)->FrameActivate();
        redraw();
        emit mapEdited();
    }
}

void EventsTab::EventBoxMouseUp() {
    m_session.mapState().eventEditor().release();
    emit mapEdited();
}

void EventsTab::recordEdited(bool redrawPicture) {
    if (redrawPicture) {
        redraw();
    }
    emit mapEdited();
}

}  // namespace quillon::ui
