#include "ui/mapfiles/new_map_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/base/numbers.h"
#include "core/writers/map_resize.h"
#include "core/mapfile/map_from_file.h"
#include "ui/command.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

std::uint32_t headerOf(const QComboBox* box, int index) {
    return static_cast<std::uint32_t>(box->itemData(index).toULongLong());
}

void fillHeaders(QComboBox* box, const std::vector<TilesetItem>& items) {
    for (const TilesetItem& item : items) {
        box->addItem(item.text, QVariant::fromValue(static_cast<qulonglong>(item.header)));
    }
}

// Selects the item's header, adding it in ROM order when the box does not list it.
void selectHeader(QComboBox* box, const TilesetItem& item) {
    int at = 0;
    while (at < box->count() && headerOf(box, at) < item.header) {
        ++at;
    }
    if (at == box->count() || headerOf(box, at) != item.header) {
        box->insertItem(at, item.text, QVariant::fromValue(static_cast<qulonglong>(item.header)));
    }
    box->setCurrentIndex(at);
}

std::uint32_t selectedHeader(const QComboBox* box) {
    return box->currentIndex() < 0 ? 0 : headerOf(box, box->currentIndex());
}

QLabel* taggedLabel(const char* caption, int tag, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    setTag(label, tag);
    return label;
}

}  // namespace

TMapForm::TMapForm(Dialogs& dialogs, const LanguageTable& lang,
                   const std::vector<TilesetItem>& part1, const std::vector<TilesetItem>& part2,
                   QWidget* parent)
    : QDialog(parent),
      m_dialogs(dialogs),
      m_lang(lang),
      Txt_Breite(named(new QLineEdit(QStringLiteral("20"), this), "Txt_Breite")),
      Txt_Hohe(named(new QLineEdit(QStringLiteral("20"), this), "Txt_Hohe")),
      Cbo_Tileset1(named(new QComboBox(this), "Cbo_Tileset1")),
      Cbo_Tileset2(named(new QComboBox(this), "Cbo_Tileset2")),
      Txt_Name(named(new QLineEdit(this), "Txt_Name")),
      Btn_Erstellen(named(new QPushButton(QStringLiteral("Erstellen"), this), "Btn_Erstellen")),
      Btn_Abbrechen(named(new QPushButton(QStringLiteral("Abbrechen"), this), "Btn_Abbrechen")) {
    setObjectName(QStringLiteral("TMapForm"));
    setWindowTitle(langText(lang, 1140, "Neue Map"));
    fillHeaders(Cbo_Tileset1, part1);
    fillHeaders(Cbo_Tileset2, part2);
    auto* grid = new QGridLayout(this);
    struct Row {
        const char* caption;
        int tag;
        QWidget* field;
    };
    const Row rows[] = {{"Breite:", 11401, Txt_Breite},
                        {"Höhe:", 11402, Txt_Hohe},
                        {"Tileset1:", 11403, Cbo_Tileset1},
                        {"Tileset2:", 11404, Cbo_Tileset2},
                        {"Map Name:", 11405, Txt_Name}};
    int row = 0;
    for (const Row& r : rows) {
        grid->addWidget(taggedLabel(r.caption, r.tag, this), row, 0);
        grid->addWidget(r.field, row++, 1);
    }
    setTag(Btn_Erstellen, 11406);
    setTag(Btn_Abbrechen, 11407);
    grid->addWidget(Btn_Erstellen, row, 0);
    grid->addWidget(Btn_Abbrechen, row, 1);
    Btn_Erstellen->setDefault(true);
    connect(Btn_Erstellen, &QPushButton::clicked, this,
            commandSlot(this, m_dialogs, this, &TMapForm::Btn_ErstellenClick));
    connect(Btn_Abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    SpracheAendern(this, lang);
}

void TMapForm::fill(int width, int height, const TilesetItem& tileset1,
                    const TilesetItem& tileset2, const QString& name) {
    Txt_Breite->setText(QString::number(width));
    Txt_Hohe->setText(QString::number(height));
    selectHeader(Cbo_Tileset1, tileset1);
    selectHeader(Cbo_Tileset2, tileset2);
    Txt_Name->setText(name);
}

std::uint32_t TMapForm::tileset1() const { return selectedHeader(Cbo_Tileset1); }

std::uint32_t TMapForm::tileset2() const { return selectedHeader(Cbo_Tileset2); }

std::string TMapForm::name() const { return toStd(Txt_Name->text()); }

bool TMapForm::allFilled() const {
    return !Txt_Name->text().isEmpty() && !Txt_Breite->text().trimmed().isEmpty() &&
           !Txt_Hohe->text().trimmed().isEmpty() && Cbo_Tileset1->currentIndex() >= 0 &&
           Cbo_Tileset2->currentIndex() >= 0;
}

// Every field filled, width and height whole numbers the grid can hold, a name a file can
// have; the dialog stays open otherwise.
void TMapForm::Btn_ErstellenClick() {
    if (!allFilled()) {
        m_dialogs.inform(this, langText(m_lang, "03", "Achtung"),
                         langText(m_lang, 11400, "Bitte füllen sie alle Felder aus."));
        return;
    }
    const int width = StrToInt(toStd(Txt_Breite->text().trimmed()));
    const int height = StrToInt(toStd(Txt_Hohe->text().trimmed()));
    checkMapSize(width, height);
    checkMapFileName(name());
    m_width = width;
    m_height = height;
    accept();
}

}  // namespace quillon::ui
