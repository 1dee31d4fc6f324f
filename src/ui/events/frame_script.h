#pragma once

#include <array>

#include "ui/events/event_frame.h"

namespace quillon::ui {

// The script-trigger panel: the selected trigger's cell, its eight unknown bytes (two a row)
// and its script pointer.
class TFrame_Script final : public EventFrame {
    Q_OBJECT

public:
    TFrame_Script(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                  QWidget* parent = nullptr);

private:
    void fill() override;

    void Txt_PosXChange();
    void Txt_PosYChange();
    // Txt_Unbekannt1Change to Txt_Unbekannt8Change: unknown byte i (0-7) from its field.
    void Txt_UnbekanntChange(int i);
    void Txt_ScriptChange();

    QLineEdit* Txt_PosX;
    QLineEdit* Txt_PosY;
    std::array<QLineEdit*, 8> Txt_Unbekannt{};  // Txt_Unbekannt1 to Txt_Unbekannt8
    QLineEdit* Txt_Script;
};

}  // namespace quillon::ui
