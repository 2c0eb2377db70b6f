// Triangulation of a plane polygon for the baseboard: ear clipping, no window or OpenGL needed.
#pragma once

#include <array>
#include <vector>

#include "model/LayoutDocument.h"

using Triangle2 = std::array<PointMm, 3>;

// The triangles of the polygon's inside, each counter-clockwise in the polygon's own axes (for
// the layout's y-down axes: clockwise on screen). Repeated and collinear corners are dropped
// first; fewer than three corners left or no area gives no triangles. A self-intersecting outline
// gives a best-effort fill; the work is bounded for every input.
std::vector<Triangle2> TriangulatePolygon(const std::vector<PointMm>& outline);

// Twice the signed area (positive when counter-clockwise in x-right, y-up axes).
double SignedArea2(const std::vector<PointMm>& outline);
