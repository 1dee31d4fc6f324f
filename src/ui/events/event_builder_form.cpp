#include "ui/events/event_builder_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <system_error>

#include "core/errors.h"
#include "core/writers/event_counts.h"
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

// Event tables and headers are read as 32-bit words.
constexpr int kEventAlignment = 4;
constexpr int kMaxCount = 255;

}  // namespace

TEventBuilderForm::TEventBuilderForm(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("TEventBuilderForm"));
    setWindowTitle(QStringLiteral("Event menge"));
    auto* grid = new QGridLayout(this);
    WarpNum = addCount("Anzahl Warp:", "WarpNum", 1705, 0);
    SignNum = addCount("Anzahl Singpost:", "SignNum", 1706, 1);
    PeopNum = addCount("Anzahl People:", "PeopNum", 1707, 2);
    ScriptNum = addCount("Anzahl Script:", "ScriptNum", 1708, 3);
    Button1 = new QPushButton(QStringLiteral("Events ändern"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    setTag(Button1, 1709);
    grid->addWidget(Button1, 4, 0, 1, 2);
    connect(Button1, &QPushButton::clicked, this,
            commandSlot(this, m_dialogs, this, &TEventBuilderForm::Button1Click));
}

QSpinBox* TEventBuilderForm::addCount(const char* label, const char* name, int tag, int row) {
    auto* grid = static_cast<QGridLayout*>(layout());  // made by the constructor
    auto* spin = new QSpinBox(this);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, kMaxCount);
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    setTag(caption, tag);
    grid->addWidget(caption, row, 0);
    grid->addWidget(spin, row, 1);
    return spin;
}

void TEventBuilderForm::applyLanguage(const LanguageTable& lang) {
    setWindowTitle(langText(lang, 134, "Event menge"));
    SpracheAendern(this, lang);
}

void TEventBuilderForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    runCommand(this, m_dialogs, [this] { FormShow(); });
}

void TEventBuilderForm::FormShow() {
    const EventCounts counts = eventCounts(m_session.mapState().events());
    WarpNum->setValue(counts.warps);
    SignNum->setValue(counts.signposts);
    PeopNum->setValue(counts.persons);
    ScriptNum->setValue(counts.scripts);
}

void TEventBuilderForm::Button1Click() {
    const EventCounts counts{PeopNum->value(), WarpNum->value(), ScriptNum->value(),
                             SignNum->value()};
    checkEventCounts(counts);
    if (m_session.mapState().map().outsideRom) {
        // A map from a map file or made new: its tables change in memory, "Map Speichern"
        // writes them into its event file; the ROM is not touched.
        applyEventCountsInMemory(m_session.mapState(), counts);
    } else {
        RepointRequest request;
        request.caption = windowTitle();
        request.count = eventSpace(counts);
        request.alignment = kEventAlignment;
        request.check = [this, counts](std::uint32_t at, std::uint8_t fill) {
            checkEventPlace(m_session.rom(), m_session.mapState(), counts, at, fill);
        };
        const auto choice = m_dialogs.repoint(this, request);
        if (!choice) {
            return;  // nothing changes; the window stays for another try
        }
        applyEventCounts(m_session.rom(), m_session.mapState(), counts, choice->offset,
                         choice->fill);
    }
    emit eventsChanged();
    QWidget* owner = parentWidget();
    close();
    m_dialogs.inform(owner, langText(m_session.lang(), "01", "Info"),
                     toQ(std::system_category().message(0)));
}

}  // namespace quillon::ui
