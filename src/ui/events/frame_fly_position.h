#pragma once

#include "ui/events/event_frame.h"

namespace quillon::ui {

// The fly position panel: the map's record of the fly table (landing cell, the word that
// ends the table, bank and map). A bank or map other than the record's gives the record to
// that map: this map then has no fly position, though the record stays editable here.
class TFrame_FlugPos final : public EventFrame {
    Q_OBJECT

public:
    TFrame_FlugPos(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                   QWidget* parent = nullptr);

private:
    void fill() override;

    void Txt_PosXChange();
    void Txt_PosYChange();
    void Txt_UnbekanntChange();
    void Spin_MapBankChange();
    void Spin_MapChange();

    QLineEdit* Txt_PosX;
    QLineEdit* Txt_PosY;
    QLineEdit* Txt_Unbekannt;
    QSpinBox* Spin_MapBank;
    QSpinBox* Spin_Map;
};

}  // namespace quillon::ui
