#include "ui/events/frame_warp.h"

#include <QPushButton>

#include "core/session/session.h"
#include "ui/language_texts.h"

namespace quillon::ui {

namespace {
using F = WarpFields;
using Self = TFrame_Warp;
}  // namespace

TFrame_Warp::TFrame_Warp(Session& session, Dialogs& dialogs, LoadingFlag& loading, QWidget* parent)
    : EventFrame("TFrame_Warp", EventKind::Warp, session, dialogs, loading, parent) {
    Txt_PosX = hexEdit("Txt_PosX", 4, &Self::Txt_PosXChange);
    Txt_PosY = hexEdit("Txt_PosY", 4, &Self::Txt_PosYChange);
    Txt_Unbekannt = hexEdit("Txt_Unbekannt", 2, &Self::Txt_UnbekanntChange);
    Spin_WarpTo = byteSpin("Spin_WarpTo", &Self::Spin_WarpToChange);
    Spin_MapBank = byteSpin("Spin_MapBank", &Self::Spin_MapBankChange);
    Spin_Map = byteSpin("Spin_Map", &Self::Spin_MapChange);
    Cmd_Go = new QPushButton(QStringLiteral("Go"), this);
    Cmd_Go->setObjectName(QStringLiteral("Cmd_Go"));
    setTag(Cmd_Go, 405);
    connect(Cmd_Go, &QPushButton::clicked, this, slot(&Self::Cmd_GoClick));

    addRow(400, "Pos(X/Y):", {Txt_PosX, Txt_PosY});
    addRow(401, "Unbekannt:", {Txt_Unbekannt});
    addRow(402, "Zu Warp Nr.:", {Spin_WarpTo});
    addRow(403, "Map Bank:", {Spin_MapBank});
    addRow(404, "Map:", {Spin_Map, Cmd_Go});
}

void TFrame_Warp::fill() {
    showHex(Txt_PosX, F::X);
    showHex(Txt_PosY, F::Y);
    showHex(Txt_Unbekannt, F::Unknown);
    showSpin(Spin_WarpTo, F::TargetWarp);
    showSpin(Spin_MapBank, F::TargetBank);
    showSpin(Spin_Map, F::TargetMap);
}

void TFrame_Warp::Txt_PosXChange() { editHex(Txt_PosX, F::X, true); }
void TFrame_Warp::Txt_PosYChange() { editHex(Txt_PosY, F::Y, true); }
void TFrame_Warp::Txt_UnbekanntChange() { editHex(Txt_Unbekannt, F::Unknown); }
void TFrame_Warp::Spin_WarpToChange() { editSpin(Spin_WarpTo, F::TargetWarp); }
// The record keeps the map number (byte 6) before the bank number (byte 7).
void TFrame_Warp::Spin_MapBankChange() { editSpin(Spin_MapBank, F::TargetBank); }
void TFrame_Warp::Spin_MapChange() { editSpin(Spin_Map, F::TargetMap); }

void TFrame_Warp::Cmd_GoClick() {
    const int warp = Spin_WarpTo->value();
    const QString identifier =
        QStringLiteral("%1.%2").arg(Spin_MapBank->value()).arg(Spin_Map->value());
    const QString title = langText(session().lang(), 1745, "Warp zur Map");
    emit goRequested(identifier, title + QStringLiteral(" (") + identifier + QLatin1Char(')'),
                     warp);
}

}  // namespace quillon::ui
