#pragma once

#include <QApplication>

namespace quillon::ui {

// The wait cursor while a long piece of work runs (a search over the ROM), put back however the
// work ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace quillon::ui
