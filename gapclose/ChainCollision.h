// Whether a chain the gap closer found runs through the layout's track or through itself.
#pragma once

#include <utility>
#include <vector>

#include "gapclose/GapSolution.h"
#include "model/LayoutDocument.h"

// Route bounds of a placed piece.
struct RouteBounds {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    void Add(const PlacedPiece& p);
    bool Overlaps(const RouteBounds& o, double margin) const;
};

// Applies the layout check's own rule for tracks that meet to a chain joined between ends A and
// B and to the track near it. The layout's routes are bounded once, for every chain checked.
class ChainCollisionProbe {
public:
    ChainCollisionProbe(const LayoutDocument& doc, GapEnd a, GapEnd b, bool allowCrossing);
    // True when the chain (laid from A, pieces in step order) runs through existing track (unless
    // crossing is allowed) or through itself.
    bool Collides(std::vector<PlacedPiece> chain, const std::vector<GapStep>& steps) const;

private:
    const LayoutDocument& doc;
    GapEnd a, b;
    bool allowCrossing;
    std::vector<std::pair<const PlacedPiece*, RouteBounds>> existing;
};
