#include "ui/events/frame_fly_position.h"

#include "core/session/session.h"

namespace quillon::ui {

namespace {
using F = FlyFields;
using Self = TFrame_FlugPos;
}  // namespace

TFrame_FlugPos::TFrame_FlugPos(Session& session, Dialogs& dialogs, LoadingFlag& loading,
                               QWidget* parent)
    : EventFrame("TFrame_FlugPos", EventKind::Fly, session, dialogs, loading, parent) {
    Txt_PosX = hexEdit("Txt_PosX", 4, &Self::Txt_PosXChange);
    Txt_PosY = hexEdit("Txt_PosY", 4, &Self::Txt_PosYChange);
    Txt_Unbekannt = hexEdit("Txt_Unbekannt", 4, &Self::Txt_UnbekanntChange);
    Spin_MapBank = byteSpin("Spin_MapBank", &Self::Spin_MapBankChange);
    Spin_Map = byteSpin("Spin_Map", &Self::Spin_MapChange);

    addRow(460, "Pos(X/Y):", {Txt_PosX, Txt_PosY});
    addRow(461, "Unbekannt:", {Txt_Unbekannt});
    addNotice(462, "Beim ändern der Bank/Map hat diese Map keine FlugPos Daten mehr.");
    addRow(463, "Map Bank:", {Spin_MapBank});
    addRow(464, "Map:", {Spin_Map});
}

void TFrame_FlugPos::fill() {
    showHex(Txt_PosX, F::X);
    showHex(Txt_PosY, F::Y);
    showHex(Txt_Unbekannt, F::Unknown);
    showSpin(Spin_MapBank, F::Bank);
    showSpin(Spin_Map, F::Map);
}

void TFrame_FlugPos::Txt_PosXChange() { editHex(Txt_PosX, F::X, true); }
void TFrame_FlugPos::Txt_PosYChange() { editHex(Txt_PosY, F::Y, true); }
// A word other than 0 ends the fly table at this record.
void TFrame_FlugPos::Txt_UnbekanntChange() { editHex(Txt_Unbekannt, F::Unknown); }

// The fly marker goes: the record names another map now.
void TFrame_FlugPos::Spin_MapBankChange() {
    edit([this] { return editor().setFlyBank(Spin_MapBank->value()); }, true);
}

void TFrame_FlugPos::Spin_MapChange() {
    edit([this] { return editor().setFlyMap(Spin_Map->value()); }, true);
}

}  // namespace quillon::ui
