#include "ui/events/event_frame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "core/session/session.h"
#include "ui/command.h"
#include "ui/language_texts.h"
#include "ui/loading_guard.h"
#include "ui/qt_text.h"

namespace quillon::ui {

EventFrame::EventFrame(const char* name, EventKind kind, Session& session, Dialogs& dialogs,
                       LoadingFlag& loading, QWidget* parent)
    : QWidget(parent),
      m_kind(kind),
      m_session(session),
      m_dialogs(dialogs),
      m_loading(loading),
      m_grid(new QGridLayout(this)),
      m_hex(new HexValidator(this)) {
    setObjectName(QString::fromLatin1(name));
    // The panels stand on top of the notice behind them.
    setAutoFillBackground(true);
    m_grid->setContentsMargins(0, 4, 0, 4);
    m_grid->setColumnStretch(1, 1);
}

EventEditor& EventFrame::editor() { return m_session.mapState().eventEditor(); }

void EventFrame::FrameActivate() {
    if (editor().selected().kind != m_kind) {
        return;
    }
    LoadingGuard loading(m_loading);
    fill();
}

void EventFrame::applyLanguage() { SpracheAendern(this, m_session.lang()); }

bool EventFrame::applyPendingEdits() {
    bool applied = true;
    for (const ScriptField& field : m_scriptFields) {
        if (field.edit->isModified()) {
            field.handler();
            applied = applied && !field.edit->isModified();
        }
    }
    return applied;
}

void EventFrame::addRow(int tag, const char* german, std::initializer_list<QWidget*> controls) {
    const int row = m_grid->rowCount();
    auto* label = new QLabel(QString::fromUtf8(german), this);
    label->setObjectName(QStringLiteral("Lbl_%1").arg(tag));
    setTag(label, tag);
    m_grid->addWidget(label, row, 0);
    // The controls of a row stand side by side at their own widths.
    auto* fields = new QHBoxLayout;
    for (QWidget* control : controls) {
        fields->addWidget(control);
    }
    fields->addStretch(1);
    m_grid->addLayout(fields, row, 1);
}

QLabel* EventFrame::addNotice(int tag, const char* german) {
    auto* label = new QLabel(QString::fromUtf8(german), this);
    label->setObjectName(QStringLiteral("Lbl_%1").arg(tag));
    setTag(label, tag);
    label->setWordWrap(true);
    m_grid->addWidget(label, m_grid->rowCount(), 0, 1, 2);
    return label;
}

QLineEdit* EventFrame::makeHexEdit(const char* name, int digits) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setValidator(m_hex);
    edit->setFixedWidth(
        edit->fontMetrics().horizontalAdvance(QString(digits + 2, QLatin1Char('D'))));
    return edit;
}

QLineEdit* EventFrame::makeScriptEdit(const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("$DDDDDDDDD")));
    return edit;
}

QSpinBox* EventFrame::makeByteSpin(const char* name) {
    auto* spin = new QSpinBox(this);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, 255);
    return spin;
}

QCheckBox* EventFrame::makeCheckBox(const char* name) {
    auto* box = new QCheckBox(this);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

void EventFrame::showHex(QLineEdit* edit, EventField f) { edit->setText(toQ(editor().hexText(f))); }

void EventFrame::showScript(QLineEdit* edit, EventField f) {
    edit->setText(toQ(editor().scriptText(f)));
}

void EventFrame::showSpin(QSpinBox* spin, EventField f) {
    spin->setValue(static_cast<int>(editor().field(f)));
}

bool EventFrame::edit(const std::function<bool()>& change, bool redraw) {
    if (m_loading.active()) {
        return false;
    }
    bool changed = false;
    const bool done = runCommand(this, m_dialogs, [&] { changed = change(); });
    if (changed) {
        emit recordEdited(redraw);
    }
    return done;
}

void EventFrame::editHex(const QLineEdit* edit, EventField f, bool redraw) {
    this->edit([&] { return editor().setHexText(f, toStd(edit->text())); }, redraw);
}

void EventFrame::editScript(QLineEdit* edit, EventField f) {
    // Only typed text counts: leaving a field as it was filled must not rewrite the pointer
    // (a hidden signpost's data keeps its fourth byte until the user edits the field).
    if (!edit->isModified()) {
        return;
    }
    if (this->edit([&] { return editor().setScriptText(f, toStd(edit->text().trimmed())); })) {
        edit->setModified(false);
    }
}

void EventFrame::editSpin(const QSpinBox* spin, EventField f, bool redraw) {
    this->edit([&] { return editor().setField(f, static_cast<std::uint32_t>(spin->value())); },
               redraw);
}

}  // namespace quillon::ui
