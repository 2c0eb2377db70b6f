// The hashed grid behind the pair searches of the layout check.
#include "trackgeometry/SpatialHash.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Coordinates beyond this are clamped before they become cell numbers.
constexpr double kFarMm = 1e9;
// A box spanning more cells than this is tested against every other box instead.
constexpr int64_t kMaxCellsPerBox = 4096;

struct CellRange {
    int32_t x0, y0, x1, y1;
    int64_t Count() const {
        return (static_cast<int64_t>(x1) - x0 + 1) * (static_cast<int64_t>(y1) - y0 + 1);
    }
};

// Cell numbers stay within 32 bits for any cell of at least 1 mm.
int32_t CellOf(double v, double cell) {
    return static_cast<int32_t>(std::floor(std::clamp(v, -kFarMm, kFarMm) / cell));
}

// Rows of cells scatter over the table, but neighbours along a row take neighbouring buckets:
// boxes come in along the track, so the walks over the table stay in the cache.
uint64_t HashCell(int32_t cx, int32_t cy) {
    uint64_t row = static_cast<uint32_t>(cy);
    row ^= row >> 15;
    row *= 0x9E3779B97F4A7C15ull;
    return row ^ (row >> 29) ^ static_cast<uint32_t>(cx);
}

bool Finite(const BoxMm& b) {
    return std::isfinite(b.minX) && std::isfinite(b.minY) && std::isfinite(b.maxX) &&
           std::isfinite(b.maxY);
}

bool Overlap(const BoxMm& a, const BoxMm& b) {
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

struct Entry {
    uint32_t box;
    int32_t cx, cy;
};

bool SameGroup(const std::vector<uint32_t>* groups, size_t i, size_t j) {
    return groups && (*groups)[i] == (*groups)[j];
}

template <typename F>
void ForCells(const CellRange& r, F&& f) {
    for (int32_t cy = r.y0; cy <= r.y1; ++cy)
        for (int32_t cx = r.x0; cx <= r.x1; ++cx) f(cx, cy);
}

// The cells each box covers; a box that is not finite, or too big for the grid, is not usable.
struct BoxCells {
    std::vector<CellRange> ranges;
    std::vector<char> usable;
    std::vector<size_t> big;  // boxes too large for the grid
    size_t entries = 0;       // (box, cell) entries of the usable boxes
};

BoxCells CellsOfBoxes(const std::vector<BoxMm>& boxes, double cell) {
    BoxCells out;
    out.ranges.resize(boxes.size());
    out.usable.assign(boxes.size(), 0);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const BoxMm& b = boxes[i];
        if (!Finite(b)) continue;
        out.ranges[i] = {CellOf(b.minX, cell), CellOf(b.minY, cell), CellOf(b.maxX, cell),
                         CellOf(b.maxY, cell)};
        if (out.ranges[i].Count() > kMaxCellsPerBox) {
            out.big.push_back(i);
            continue;
        }
        out.usable[i] = 1;
        out.entries += static_cast<size_t>(out.ranges[i].Count());
    }
    return out;
}

// The (box, cell) entries sorted into hash buckets: bucket b holds entries start[b] ..
// start[b + 1].
struct CellTable {
    uint64_t mask = 0;
    std::vector<uint32_t> start;
    std::vector<Entry> entries;

    uint64_t Bucket(int32_t cx, int32_t cy) const { return HashCell(cx, cy) & mask; }
};

// A counting sort of the entries into buckets.
CellTable BuildCellTable(const BoxCells& cells) {
    CellTable t;
    size_t tableSize = 64;
    while (tableSize < cells.entries) tableSize *= 2;
    t.mask = tableSize - 1;
    t.start.assign(tableSize + 1, 0);
    const size_t n = cells.ranges.size();
    for (size_t i = 0; i < n; ++i) {
        if (!cells.usable[i]) continue;
        ForCells(cells.ranges[i], [&](int32_t cx, int32_t cy) { ++t.start[t.Bucket(cx, cy) + 1]; });
    }
    for (size_t b = 0; b < tableSize; ++b) t.start[b + 1] += t.start[b];
    t.entries.resize(cells.entries);
    std::vector<uint32_t> fill(t.start.begin(), t.start.end() - 1);
    for (size_t i = 0; i < n; ++i) {
        if (!cells.usable[i]) continue;
        ForCells(cells.ranges[i], [&](int32_t cx, int32_t cy) {
            t.entries[fill[t.Bucket(cx, cy)]++] = {static_cast<uint32_t>(i), cx, cy};
        });
    }
    return t;
}

// The pairs of usable boxes that overlap, each visited once: in the cell that holds the corner
// where their overlap starts.
void VisitGridPairs(const std::vector<BoxMm>& boxes, double cell, const BoxCells& cells,
                    const CellTable& t, const std::function<void(size_t, size_t)>& visit,
                    const std::vector<uint32_t>* groups) {
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!cells.usable[i]) continue;
        const BoxMm& a = boxes[i];
        ForCells(cells.ranges[i], [&](int32_t cx, int32_t cy) {
            const uint64_t bucket = t.Bucket(cx, cy);
            for (uint32_t e = t.start[bucket]; e < t.start[bucket + 1]; ++e) {
                const Entry& en = t.entries[e];
                if (en.box <= i || en.cx != cx || en.cy != cy || SameGroup(groups, i, en.box))
                    continue;
                const BoxMm& b = boxes[en.box];
                if (!Overlap(a, b)) continue;
                if (CellOf(std::max(a.minX, b.minX), cell) != cx ||
                    CellOf(std::max(a.minY, b.minY), cell) != cy)
                    continue;
                visit(i, en.box);
            }
        });
    }
}

// The few oversized boxes meet everything directly.
void VisitBigBoxPairs(const std::vector<BoxMm>& boxes, const BoxCells& cells,
                      const std::function<void(size_t, size_t)>& visit,
                      const std::vector<uint32_t>* groups) {
    for (size_t k = 0; k < cells.big.size(); ++k) {
        const size_t i = cells.big[k];
        for (size_t j = 0; j < boxes.size(); ++j) {
            if (j == i || !Finite(boxes[j]) || SameGroup(groups, i, j) ||
                !Overlap(boxes[i], boxes[j]))
                continue;
            const bool jBig = !cells.usable[j];
            if (jBig && j < i) continue;  // a pair of big boxes once
            visit(std::min(i, j), std::max(i, j));
        }
    }
}

}  // namespace

void ForEachOverlappingPair(const std::vector<BoxMm>& boxes, double cellMm,
                            const std::function<void(size_t, size_t)>& visit,
                            const std::vector<uint32_t>* groups) {
    const double cell = cellMm >= 1 ? cellMm : 1.0;
    const BoxCells cells = CellsOfBoxes(boxes, cell);
    VisitGridPairs(boxes, cell, cells, BuildCellTable(cells), visit, groups);
    VisitBigBoxPairs(boxes, cells, visit, groups);
}
