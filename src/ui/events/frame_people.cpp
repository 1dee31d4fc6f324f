#include "ui/events/frame_people.h"

#include "core/session/session.h"

namespace quillon::ui {

namespace {
using F = PersonFields;
using Self = TFrame_People;
}  // namespace

TFrame_People::TFrame_People(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                             QWidget* parent)
    : EventFrame("TFrame_People", EventKind::Person, session, dialogs, loading, parent) {
    Spin_Nr = byteSpin("Spin_Nr", &Self::Spin_NrChange);
    Spin_Bild = byteSpin("Spin_Bild", &Self::Spin_BildChange);
    Txt_Unbekannt1 = hexEdit("Txt_Unbekannt1", 2, &Self::Txt_Unbekannt1Change);
    Txt_Unbekannt2 = hexEdit("Txt_Unbekannt2", 2, &Self::Txt_Unbekannt2Change);
    Txt_PosX = hexEdit("Txt_PosX", 4, &Self::Txt_PosXChange);
    Txt_PosY = hexEdit("Txt_PosY", 4, &Self::Txt_PosYChange);
    Txt_Unbekannt3 = hexEdit("Txt_Unbekannt3", 2, &Self::Txt_Unbekannt3Change);
    Spin_BewTyp = byteSpin("Spin_BewTyp", &Self::Spin_BewTypChange);
    Txt_Bewegung = hexEdit("Txt_Bewegung", 2, &Self::Txt_BewegungChange);
    Txt_Unbekannt4 = hexEdit("Txt_Unbekannt4", 2, &Self::Txt_Unbekannt4Change);
    Chk_Trainer = checkBox("Chk_Trainer", &Self::Chk_TrainerClick);
    Txt_Unbekannt5 = hexEdit("Txt_Unbekannt5", 2, &Self::Txt_Unbekannt5Change);
    Txt_Sichtweite = hexEdit("Txt_Sichtweite", 4, &Self::Txt_SichtweiteChange);
    Txt_Script = scriptEdit("Txt_Script", &Self::Txt_ScriptChange);
    Txt_NrStatus = hexEdit("Txt_NrStatus", 4, &Self::Txt_NrStatusChange);
    Txt_Unbekannt6 = hexEdit("Txt_Unbekannt6", 2, &Self::Txt_Unbekannt6Change);
    Txt_Unbekannt7 = hexEdit("Txt_Unbekannt7", 2, &Self::Txt_Unbekannt7Change);

    addRow(410, "Personen Nr.:", {Spin_Nr});
    addRow(411, "Bildnummer:", {Spin_Bild});
    addRow(412, "Unbekannt:", {Txt_Unbekannt1, Txt_Unbekannt2});
    addRow(413, "Pos(X/Y):", {Txt_PosX, Txt_PosY});
    addRow(414, "Unbekannt:", {Txt_Unbekannt3});
    addRow(415, "Bew. Typ:", {Spin_BewTyp});
    addRow(416, "Bewegung:", {Txt_Bewegung});
    addRow(417, "Unbekannt:", {Txt_Unbekannt4});
    addRow(418, "Trainer:", {Chk_Trainer});
    addRow(419, "Unbekannt:", {Txt_Unbekannt5});
    addRow(4110, "Sichtweite:", {Txt_Sichtweite});
    addRow(4111, "SkriptOffset", {Txt_Script});
    addRow(4112, "Nr.+Status:", {Txt_NrStatus});
    addRow(4113, "Unbekannt:", {Txt_Unbekannt6, Txt_Unbekannt7});
}

void TFrame_People::fill() {
    showSpin(Spin_Nr, F::Number);
    showSpin(Spin_Bild, F::Picture);
    showHex(Txt_Unbekannt1, F::Unknown1);
    showHex(Txt_Unbekannt2, F::Unknown2);
    showHex(Txt_PosX, F::X);
    showHex(Txt_PosY, F::Y);
    showHex(Txt_Unbekannt3, F::Unknown3);
    showSpin(Spin_BewTyp, F::MovementType);
    showHex(Txt_Bewegung, F::Movement);
    showHex(Txt_Unbekannt4, F::Unknown4);
    Chk_Trainer->setChecked(editor().trainer());
    showHex(Txt_Unbekannt5, F::Unknown5);
    showHex(Txt_Sichtweite, F::SightRange);
    showScript(Txt_Script, F::Script);
    showHex(Txt_NrStatus, F::NumberStatus);
    showHex(Txt_Unbekannt6, F::Unknown6);
    showHex(Txt_Unbekannt7, F::Unknown7);
}

void TFrame_People::Spin_NrChange() { editSpin(Spin_Nr, F::Number); }

// The new picture shows at once while persons are drawn as their pictures.
void TFrame_People::Spin_BildChange() {
    editSpin(Spin_Bild, F::Picture, session().settings().flag(Settings::Flag::ShowSprites));
}

void TFrame_People::Txt_Unbekannt1Change() { editHex(Txt_Unbekannt1, F::Unknown1); }
void TFrame_People::Txt_Unbekannt2Change() { editHex(Txt_Unbekannt2, F::Unknown2); }
void TFrame_People::Txt_PosXChange() { editHex(Txt_PosX, F::X, true); }
void TFrame_People::Txt_PosYChange() { editHex(Txt_PosY, F::Y, true); }
void TFrame_People::Txt_Unbekannt3Change() { editHex(Txt_Unbekannt3, F::Unknown3); }
void TFrame_People::Spin_BewTypChange() { editSpin(Spin_BewTyp, F::MovementType); }
void TFrame_People::Txt_BewegungChange() { editHex(Txt_Bewegung, F::Movement); }
void TFrame_People::Txt_Unbekannt4Change() { editHex(Txt_Unbekannt4, F::Unknown4); }

void TFrame_People::Chk_TrainerClick() {
    edit([this] { return editor().setTrainer(Chk_Trainer->isChecked()); });
}

void TFrame_People::Txt_Unbekannt5Change() { editHex(Txt_Unbekannt5, F::Unknown5); }
void TFrame_People::Txt_SichtweiteChange() { editHex(Txt_Sichtweite, F::SightRange); }
void TFrame_People::Txt_ScriptChange() { editScript(Txt_Script, F::Script); }
void TFrame_People::Txt_NrStatusChange() { editHex(Txt_NrStatus, F::NumberStatus); }
void TFrame_People::Txt_Unbekannt6Change() { editHex(Txt_Unbekannt6, F::Unknown6); }
void TFrame_People::Txt_Unbekannt7Change() { editHex(Txt_Unbekannt7, F::Unknown7); }

}  // namespace quillon::ui
