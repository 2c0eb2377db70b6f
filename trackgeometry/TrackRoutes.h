// The centre lines a train can follow through a placed piece, as world polylines with heights.
#pragma once

#include <vector>

#include "model/LayoutDocument.h"

struct PieceDef;

// One route through a piece: from connector `from` to connector `to` (-1: a bumper's buffer or
// a turntable's centre), as points on its centre line in world millimetres. Between two points
// the centre line is an arc (a straight when it does not turn): the points drawn as a polyline
// are for drawing only, distances are measured along the arcs.
struct TrackRoute {
    int from = 0;
    int to = -1;
    std::vector<PointMm> points;
    std::vector<double> heights;  // rail height at each point, mm
    std::vector<double> along;    // distance along the centre line from the first point, mm
    // How far the centre line turns from point k to point k + 1, degrees, positive to the left
    // (one per segment; a route without them is straight between its points).
    std::vector<double> turns;
    double Length() const { return along.empty() ? 0 : along.back(); }
};

// The length of an arc that joins two points `chordMm` apart and turns by `turnDeg`.
double ArcLengthOfChord(double chordMm, double turnDeg);

// The routes of a placed piece of definition `def`: straights and curves one, turnouts one per
// leg from connector 0, crossings their two tracks, double slips the two tracks and both slips,
// a turntable one from each exit to its centre, a bumper its length.
// Curves follow their arc (points within 0.25 mm of the chords, at most 6 degrees per segment);
// a route whose ends no single arc joins is a straight then an arc (or an arc then a straight)
// along the connector headings, and where neither fits the cubic that leaves and arrives along
// them. Lengths are those of the arcs, so a curve measures its catalog length. Heights:
// along a route from connector 0 the height climbs linearly with the distance from the piece's
// elevation to its end height (elevation + rise, as the grade runs compute it); along other routes
// it follows the point's distance along the piece's axis.
std::vector<TrackRoute> PieceRoutes(const PlacedPiece& piece, const PieceDef& def);
