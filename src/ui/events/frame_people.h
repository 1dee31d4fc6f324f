#pragma once

#include "ui/events/event_frame.h"

namespace quillon::ui {

// The person panel: every field of the selected person record. The picture number redraws
// the event picture at once while persons are shown as their pictures; a position change
// always does.
class TFrame_People final : public EventFrame {
    Q_OBJECT

public:
    TFrame_People(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                  QWidget* parent = nullptr);

private:
    void fill() override;

    void Spin_NrChange();
    void Spin_BildChange();
    void Txt_Unbekannt1Change();
    void Txt_Unbekannt2Change();
    void Txt_PosXChange();
    void Txt_PosYChange();
    void Txt_Unbekannt3Change();
    void Spin_BewTypChange();
    void Txt_BewegungChange();
    void Txt_Unbekannt4Change();
    void Chk_TrainerClick();
    void Txt_Unbekannt5Change();
    void Txt_SichtweiteChange();
    void Txt_ScriptChange();
    void Txt_NrStatusChange();
    void Txt_Unbekannt6Change();
    void Txt_Unbekannt7Change();

    QSpinBox* Spin_Nr;
    QSpinBox* Spin_Bild;
    QLineEdit* Txt_Unbekannt1;
    QLineEdit* Txt_Unbekannt2;
    QLineEdit* Txt_PosX;
    QLineEdit* Txt_PosY;
    QLineEdit* Txt_Unbekannt3;
    QSpinBox* Spin_BewTyp;
    QLineEdit* Txt_Bewegung;
    QLineEdit* Txt_Unbekannt4;
    QCheckBox* Chk_Trainer;
    QLineEdit* Txt_Unbekannt5;
    QLineEdit* Txt_Sichtweite;
    QLineEdit* Txt_Script;
    QLineEdit* Txt_NrStatus;
    QLineEdit* Txt_Unbekannt6;
    QLineEdit* Txt_Unbekannt7;
};

}  // namespace quillon::ui
