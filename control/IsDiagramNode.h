// Which pieces stand as a node of their own in the track diagram.
#pragma once

#include "catalog/TrackCatalog.h"

// Turnouts, crossings, slips and bumpers are drawn as nodes; plain track between them becomes the
// runs joining them.
inline bool IsDiagramNode(PieceKind kind) {
    switch (kind) {
        case PieceKind::LeftTurnout:
        case PieceKind::RightTurnout:
        case PieceKind::CurvedTurnout:
        case PieceKind::CurvedTurnoutK:
        case PieceKind::DoubleSlip:
        case PieceKind::Crossing:
        case PieceKind::Bumper:
            return true;
        default:
            return false;
    }
}
