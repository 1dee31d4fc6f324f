#pragma once

// The test ROM's bytes as the window left them on disk, and the check that a command changed
// exactly the bytes it should.

#include <QByteArray>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdint>
#include <map>

#include "tests/ui/window_fixture.h"

namespace quillon::testing {

using Changes = std::map<std::uint32_t, std::uint8_t>;

inline QByteArray readAll(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray romFile(const Opened& o) { return readAll(o.program.romPath()); }

// after is before with exactly these bytes changed; the first other difference is named.
inline bool onlyChanged(QByteArray before, const QByteArray& after, const Changes& changes) {
    for (const auto& [offset, value] : changes) {
        before[static_cast<qsizetype>(offset)] = static_cast<char>(value);
    }
    for (qsizetype i = 0; i < std::min(before.size(), after.size()); ++i) {
        if (before.at(i) != after.at(i)) {
            qWarning("byte %llx differs: %02x -> %02x", static_cast<long long>(i),
                     static_cast<unsigned char>(before.at(i)),
                     static_cast<unsigned char>(after.at(i)));
            return false;
        }
    }
    return before.size() == after.size();
}

// value's low `bytes` bytes, little-endian, as changes at `at`.
inline void put(Changes& changes, std::uint32_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        changes[at + static_cast<std::uint32_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Replaces the field's text by typing, as a user does.
inline void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

}  // namespace quillon::testing
