// Finding the overlapping pairs among many boxes without testing all pairs: a hashed grid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct BoxMm {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Calls visit(i, j) exactly once, with i < j, for every pair of boxes that overlap or touch and,
// when `groups` is given, lie in different groups (groups[i] != groups[j]).
// Boxes go into the cells of a grid of cellMm (hashed, so the layout may be any size); a pair is
// visited in the one cell that holds the lower corner of its overlap. Boxes with a coordinate
// that is not finite are left out.
void ForEachOverlappingPair(const std::vector<BoxMm>& boxes, double cellMm,
                            const std::function<void(size_t, size_t)>& visit,
                            const std::vector<uint32_t>* groups = nullptr);
