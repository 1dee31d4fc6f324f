#include "ui/mapfiles/new_map_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/base/numbers.h"
#include "core/edit/map_resize.h"
#include "core/map_from_file.h"
#include "ui/command.h"
#include "ui/dialogs.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void fillNumbers(QComboBox* box, int last) {
    for (int n = 0; n <= last; ++n) {
        box->addItem(QString::number(n));
    }
}

void selectNumber(QComboBox* box, int number) {
    while (number >= box->count()) {
        box->addItem(QString::number(box->count()));
    }
    box->setCurrentIndex(number);
}

}  // namespace

TMapForm::TMapForm(Dialogs& dialogs, const LanguageTable& lang, int lastTileset, QWidget* parent)
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
    setWindowTitle(QStringLiteral("Neue Map"));
    fillNumbers(Cbo_Tileset1, lastTileset);
    fillNumbers(Cbo_Tileset2, lastTileset);
    auto* grid = new QGridLayout(this);
    const std::pair<const char*, QWidget*> rows[] = {{"Breite:", Txt_Breite},
                                                     {"Höhe:", Txt_Hohe},
                                                     {"Tileset1:", Cbo_Tileset1},
                                                     {"Tileset2:", Cbo_Tileset2},
                                                     {"Map Name:", Txt_Name}};
    int row = 0;
    for (const auto& [caption, field] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->addWidget(Btn_Erstellen, row, 0);
    grid->addWidget(Btn_Abbrechen, row, 1);
    Btn_Erstellen->setDefault(true);
    connect(Btn_Erstellen, &QPushButton::clicked, this,
            commandSlot(this, m_dialogs, this, &TMapForm::Btn_ErstellenClick));
    connect(Btn_Abbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

void TMapForm::fill(int width, int height, int tileset1, int tileset2, const QString& name) {
    Txt_Breite->setText(QString::number(width));
    Txt_Hohe->setText(QString::number(height));
    selectNumber(Cbo_Tileset1, tileset1);
    selectNumber(Cbo_Tileset2, tileset2);
    Txt_Name->setText(name);
}

int TMapForm::tileset1() const { return Cbo_Tileset1->currentIndex(); }

int TMapForm::tileset2() const { return Cbo_Tileset2->currentIndex(); }

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
