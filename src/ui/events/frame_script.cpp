#include "ui/events/frame_script.h"

#include "core/session/session.h"

namespace quillon::ui {

namespace {
using F = ScriptTriggerFields;
using Self = TFrame_Script;
}  // namespace

TFrame_Script::TFrame_Script(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                             QWidget* parent)
    : EventFrame("TFrame_Script", EventKind::ScriptTrigger, session, dialogs, loading, parent) {
    Txt_PosX = hexEdit("Txt_PosX", 4, &Self::Txt_PosXChange);
    Txt_PosY = hexEdit("Txt_PosY", 4, &Self::Txt_PosYChange);
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "Txt_Unbekannt" + QByteArray::number(i + 1);
        Txt_Unbekannt[static_cast<std::size_t>(i)] =
            hexEdit(name.constData(), 2, [this, i] { Txt_UnbekanntChange(i); });
    }
    Txt_Script = scriptEdit("Txt_Script", &Self::Txt_ScriptChange);

    addRow(420, "Pos(X/Y):", {Txt_PosX, Txt_PosY});
    addRow(421, "Unbekannt:", {Txt_Unbekannt[0], Txt_Unbekannt[1]});
    addRow(422, "Unbekannt:", {Txt_Unbekannt[2], Txt_Unbekannt[3]});
    addRow(423, "Unbekannt:", {Txt_Unbekannt[4], Txt_Unbekannt[5]});
    addRow(424, "Unbekannt:", {Txt_Unbekannt[6], Txt_Unbekannt[7]});
    addRow(425, "Script Offset:", {Txt_Script});
}

void TFrame_Script::fill() {
    showHex(Txt_PosX, F::X);
    showHex(Txt_PosY, F::Y);
    for (int i = 0; i < 8; ++i) {
        showHex(Txt_Unbekannt[static_cast<std::size_t>(i)], F::Unknown(i));
    }
    showScript(Txt_Script, F::Script);
}

void TFrame_Script::Txt_PosXChange() { editHex(Txt_PosX, F::X, true); }
void TFrame_Script::Txt_PosYChange() { editHex(Txt_PosY, F::Y, true); }

// Fields 1-8 are record bytes 4-11.
void TFrame_Script::Txt_UnbekanntChange(int i) {
    editHex(Txt_Unbekannt[static_cast<std::size_t>(i)], F::Unknown(i));
}

void TFrame_Script::Txt_ScriptChange() { editScript(Txt_Script, F::Script); }

}  // namespace quillon::ui
