#include "ui/hex_filter.h"

#include <QLineEdit>

namespace quillon::ui {

namespace {

bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

}  // namespace

QValidator::State HexValidator::validate(QString& input, int&) const {
    input = input.toUpper();
    for (QChar c : input) {
        if (!isHexDigit(c)) {
            return Invalid;
        }
    }
    return Acceptable;
}

void useHexFilter(QLineEdit* field, int digits) {
    field->setValidator(new HexValidator(field));
    field->setMaxLength(digits);
}

}  // namespace quillon::ui
