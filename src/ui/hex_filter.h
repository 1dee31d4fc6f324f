#pragma once

#include <QValidator>

class QLineEdit;

namespace quillon::ui {

// The hex input filter of the main window's hex fields: hex digits only (typed or pasted);
// a-f become A-F. Keys that type nothing (arrows, Home, End, Backspace, Delete) work as usual.
class HexValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Puts a hex filter owned by field on it, limited to digits characters.
void useHexFilter(QLineEdit* field, int digits);

}  // namespace quillon::ui
