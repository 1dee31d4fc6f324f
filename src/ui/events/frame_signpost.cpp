#include "ui/events/frame_signpost.h"

#include "core/session/session.h"

namespace quillon::ui {

namespace {
using F = SignpostFields;
using Self = TFrame_Signpost;
}  // namespace

TFrame_Signpost::TFrame_Signpost(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                                 QWidget* parent)
    : EventFrame("TFrame_Signpost", EventKind::Signpost, session, dialogs, loading, parent) {
    Txt_PosX = hexEdit("Txt_PosX", 4, &Self::Txt_PosXChange);
    Txt_PosY = hexEdit("Txt_PosY", 4, &Self::Txt_PosYChange);
    Txt_Unbekannt1 = hexEdit("Txt_Unbekannt1", 2, &Self::Txt_Unbekannt1Change);
    Chk_Hidden = checkBox("Chk_Hidden", &Self::Chk_HiddenClick);
    Txt_Unbekannt2 = hexEdit("Txt_Unbekannt2", 2, &Self::Txt_Unbekannt2Change);
    Txt_Unbekannt3 = hexEdit("Txt_Unbekannt3", 2, &Self::Txt_Unbekannt3Change);
    Txt_Script = scriptEdit("Txt_Script", &Self::Txt_ScriptChange);

    addRow(430, "Pos(X/Y):", {Txt_PosX, Txt_PosY});
    addRow(431, "Unbekannt:", {Txt_Unbekannt1});
    addRow(432, "Versteckt:", {Chk_Hidden});
    addRow(433, "Unbekannt:", {Txt_Unbekannt2, Txt_Unbekannt3});
    addRow(434, "Skript Offset:", {Txt_Script});
}

void TFrame_Signpost::fill() {
    showHex(Txt_PosX, F::X);
    showHex(Txt_PosY, F::Y);
    showHex(Txt_Unbekannt1, F::Unknown1);
    Chk_Hidden->setChecked(editor().hidden());
    showHex(Txt_Unbekannt2, F::Unknown2);
    showHex(Txt_Unbekannt3, F::Unknown3);
    showScript(Txt_Script, F::Script);
}

void TFrame_Signpost::Txt_PosXChange() { editHex(Txt_PosX, F::X, true); }
void TFrame_Signpost::Txt_PosYChange() { editHex(Txt_PosY, F::Y, true); }
void TFrame_Signpost::Txt_Unbekannt1Change() { editHex(Txt_Unbekannt1, F::Unknown1); }

void TFrame_Signpost::Chk_HiddenClick() {
    edit([this] { return editor().setHidden(Chk_Hidden->isChecked()); });
}

void TFrame_Signpost::Txt_Unbekannt2Change() { editHex(Txt_Unbekannt2, F::Unknown2); }
void TFrame_Signpost::Txt_Unbekannt3Change() { editHex(Txt_Unbekannt3, F::Unknown3); }
void TFrame_Signpost::Txt_ScriptChange() { editScript(Txt_Script, F::Script); }

}  // namespace quillon::ui
