// Which kinds of piece are switches.
#pragma once

#include "catalog/TrackCatalog.h"

// Turnouts of every kind and double slips: the pieces whose route is set by point blades.
constexpr bool IsSwitchKind(PieceKind kind) {
    return kind == PieceKind::LeftTurnout || kind == PieceKind::RightTurnout ||
           kind == PieceKind::CurvedTurnout || kind == PieceKind::CurvedTurnoutK ||
           kind == PieceKind::DoubleSlip;
}
