// Which pieces stand as a node of their own in the track diagram.
#pragma once

#include "catalog/IsSwitchKind.h"

// Turnouts, crossings, slips and bumpers are drawn as nodes; plain track between them becomes the
// runs joining them.
inline bool IsDiagramNode(PieceKind kind) {
    return IsSwitchKind(kind) || kind == PieceKind::Crossing || kind == PieceKind::Bumper;
}
