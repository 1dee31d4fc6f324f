#pragma once

#include "ui/events/event_frame.h"

namespace quillon::ui {

// The signpost panel: the selected signpost's cell, its unknown bytes, whether it is hidden
// (the type byte) and its script pointer or hidden item data.
class TFrame_Signpost final : public EventFrame {
    Q_OBJECT

public:
    TFrame_Signpost(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                    QWidget* parent = nullptr);

private:
    void fill() override;

    void Txt_PosXChange();
    void Txt_PosYChange();
    void Txt_Unbekannt1Change();
    void Chk_HiddenClick();
    void Txt_Unbekannt2Change();
    void Txt_Unbekannt3Change();
    void Txt_ScriptChange();

    QLineEdit* Txt_PosX;
    QLineEdit* Txt_PosY;
    QLineEdit* Txt_Unbekannt1;
    QCheckBox* Chk_Hidden;
    QLineEdit* Txt_Unbekannt2;
    QLineEdit* Txt_Unbekannt3;
    QLineEdit* Txt_Script;
};

}  // namespace quillon::ui
