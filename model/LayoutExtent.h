// The extent of a layout or of its selection, and which levels are shown.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

class LayoutDocument;
struct PlacedPiece;

// What LayoutExtent takes in.
struct ExtentOptions {
    static constexpr int64_t kEveryLevel = INT64_MIN;
    int64_t pieceLevel = kEveryLevel;  // only the pieces on this level
    bool selectedOnly = false;         // only selected pieces and scenery items, no outlines
    bool outlines = true;              // every point of every level's outline
    bool baseboard = false;            // every baseboard vertex
    bool finiteOnly = false;           // points that are not finite numbers are left out
};

// Adds a catalog piece as its position and the point at its catalog length along its heading;
// a piece whose article the catalog lacks adds nothing.
void AddPieceExtent(LayoutBounds& bounds, const PlacedPiece& piece, bool finiteOnly = false);
// Catalog pieces as above, scenery items by their position, and the level outlines (zoom to fit;
// printing takes the baseboard instead). Helices are covered by their end pieces; labels and
// measurements do not count.
LayoutBounds LayoutExtent(const LayoutDocument& doc, const ExtentOptions& options = {});
// The selected catalog pieces and scenery items.
LayoutBounds SelectionExtent(const LayoutDocument& doc);

// Whether the objects on a level are shown. A level id that names no level counts as visible:
// its objects would otherwise vanish.
bool IsLevelVisible(const LayoutDocument& doc, int32_t levelId);
