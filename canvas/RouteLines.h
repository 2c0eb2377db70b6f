// The overview's level of detail: a piece only a few pixels long on screen is drawn as the
// centre lines of its routes, without sleepers, outlines, marks or labels, and all such lines
// of one colour are stroked together as one polyline batch.
#pragma once

#include <cstdint>
#include <vector>

#include "model/LayoutDocument.h"

struct PieceDef;

// A piece shorter than this on screen, whose band is drawn as a line anyway, is drawn as its
// route centre lines: a sleeper is then under a pixel and a label could not fit.
inline constexpr double kRouteLinesBelowPx = 12.0;

// The centre lines of a definition's routes for a piece at the origin with heading 0, as
// polylines sharing one point list: line k runs from points[starts[k]] up to points[starts[k + 1]]
// (starts ends with points.size()). Every line has at least two points.
struct RouteLines {
    std::vector<PointMm> points;
    std::vector<uint32_t> starts{0};
    double spanMm = 0;  // the longest route, or the reach of the points from the origin
    size_t LineCount() const { return starts.size() - 1; }
};

// The route lines of `def`, worked out once per definition and kept for the run (catalog records
// are never removed or moved). A definition of the same address but other geometry (a record
// made in place of another) gets its lines worked out again.
const RouteLines& RouteLinesOf(const PieceDef& def);

// True when a piece of `def` is drawn as its route lines at zoom (device pixels per millimetre).
bool DrawnAsRouteLines(const PieceDef& def, double zoom);

// The route lines of `lines` placed at the piece's pose, in layout millimetres, appended to
// `points` with one entry per line appended to `starts` (the index of its first point).
void PlaceRouteLines(const RouteLines& lines, const PlacedPiece& piece,
                     std::vector<PointMm>& points, std::vector<uint32_t>& starts);
