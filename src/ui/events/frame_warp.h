#pragma once

#include "ui/events/event_frame.h"

class QPushButton;

namespace quillon::ui {

// The warp panel: the selected warp's cell, its unknown byte and its target (warp number,
// bank, map). "Go" asks for the target map to be opened with its warp selected.
class TFrame_Warp final : public EventFrame {
    Q_OBJECT

public:
    TFrame_Warp(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                QWidget* parent = nullptr);

signals:
    // Open map identifier ("bank.map") under title, then select its warp number warp.
    void goRequested(const QString& identifier, const QString& title, int warp);

private:
    void fill() override;

    void Txt_PosXChange();
    void Txt_PosYChange();
    void Txt_UnbekanntChange();
    void Spin_WarpToChange();
    void Spin_MapBankChange();
    void Spin_MapChange();
    void Cmd_GoClick();

    QLineEdit* Txt_PosX;
    QLineEdit* Txt_PosY;
    QLineEdit* Txt_Unbekannt;
    QSpinBox* Spin_WarpTo;
    QSpinBox* Spin_MapBank;
    QSpinBox* Spin_Map;
    QPushButton* Cmd_Go;
};

}  // namespace quillon::ui
