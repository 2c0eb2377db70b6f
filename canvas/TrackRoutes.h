// The centre lines a train can follow through a placed piece, as world polylines with heights.
#pragma once

#include <vector>

#include "model/LayoutDocument.h"

struct PieceDef;

// One route through a piece: from connector `from` to connector `to` (-1: a bumper's buffer or
// a turntable's centre), as a polyline in world millimetres.
struct TrackRoute {
    int from = 0;
    int to = -1;
    std::vector<PointMm> points;
    std::vector<double> heights;  // rail height at each point, mm
    std::vector<double> along;    // distance from the first point, mm
    double Length() const { return along.empty() ? 0 : along.back(); }
};

// The routes of a placed piece of definition `def`: straights and curves one, turnouts one per
// leg from connector 0, crossings their two tracks, double slips the two tracks and both slips,
// a turntable one from each exit to its centre, a bumper its length.
// Curves follow their arc (within 0.25 mm, at most 6 degrees per segment); a route whose ends no
// single arc joins follows the cubic that leaves and arrives along the connector headings. Heights:
// along a route from connector 0 the height climbs linearly with the distance from the piece's
// elevation to its end height (elevation + rise, as the grade runs compute it); along other routes
// it follows the point's distance along the piece's axis.
std::vector<TrackRoute> PieceRoutes(const PlacedPiece& piece, const PieceDef& def);
