#pragma once

#include <QObject>

namespace quillon::ui {

// Told after every user command has run, finished or failed, so a view of what the commands
// write (the ROM's write history) can follow without each command naming it.
class CommandNotifier final : public QObject {
    Q_OBJECT

public:
    static CommandNotifier& instance();

signals:
    void commandRan();
};

}  // namespace quillon::ui
