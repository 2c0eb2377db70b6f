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

}  // namespace

void ForEachOverlappingPair(const std::vector<BoxMm>& boxes, double cellMm,
                            const std::function<void(size_t, size_t)>& visit,
                            const std::vector<uint32_t>* groups) {
    auto sameGroup = [groups](size_t i, size_t j) {
        return groups && (*groups)[i] == (*groups)[j];
    };
    const double cell = cellMm >= 1 ? cellMm : 1.0;
    std::vector<CellRange> ranges(boxes.size());
    std::vector<char> usable(boxes.size(), 0);
    std::vector<size_t> big;  // boxes too large for the grid
    size_t entries = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const BoxMm& b = boxes[i];
        if (!Finite(b)) continue;
        ranges[i] = {CellOf(b.minX, cell), CellOf(b.minY, cell), CellOf(b.maxX, cell),
                     CellOf(b.maxY, cell)};
        if (ranges[i].Count() > kMaxCellsPerBox) {
            big.push_back(i);
            continue;
        }
        usable[i] = 1;
        entries += static_cast<size_t>(ranges[i].Count());
    }
    size_t tableSize = 64;
    while (tableSize < entries) tableSize *= 2;
    const uint64_t mask = tableSize - 1;

    // Counting sort of (box, cell) entries into buckets.
    std::vector<uint32_t> start(tableSize + 1, 0);
    auto forCells = [&](size_t i, auto&& f) {
        const CellRange& r = ranges[i];
        for (int32_t cy = r.y0; cy <= r.y1; ++cy)
            for (int32_t cx = r.x0; cx <= r.x1; ++cx) f(cx, cy);
    };
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!usable[i]) continue;
        forCells(i, [&](int32_t cx, int32_t cy) { ++start[(HashCell(cx, cy) & mask) + 1]; });
    }
    for (size_t b = 0; b < tableSize; ++b) start[b + 1] += start[b];
    std::vector<Entry> table(entries);
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!usable[i]) continue;
        forCells(i, [&](int32_t cx, int32_t cy) {
            table[fill[HashCell(cx, cy) & mask]++] = {static_cast<uint32_t>(i), cx, cy};
        });
    }

    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!usable[i]) continue;
        const BoxMm& a = boxes[i];
        forCells(i, [&](int32_t cx, int32_t cy) {
            const uint64_t bucket = HashCell(cx, cy) & mask;
            for (uint32_t e = start[bucket]; e < start[bucket + 1]; ++e) {
                const Entry& en = table[e];
                if (en.box <= i || en.cx != cx || en.cy != cy || sameGroup(i, en.box)) continue;
                const BoxMm& b = boxes[en.box];
                if (!Overlap(a, b)) continue;
                if (CellOf(std::max(a.minX, b.minX), cell) != cx ||
                    CellOf(std::max(a.minY, b.minY), cell) != cy)
                    continue;
                visit(i, en.box);
            }
        });
    }
    // The few oversized boxes meet everything directly.
    for (size_t k = 0; k < big.size(); ++k) {
        const size_t i = big[k];
        for (size_t j = 0; j < boxes.size(); ++j) {
            if (j == i || !Finite(boxes[j]) || sameGroup(i, j) || !Overlap(boxes[i], boxes[j]))
                continue;
            const bool jBig = !usable[j];
            if (jBig && j < i) continue;  // a pair of big boxes once
            visit(std::min(i, j), std::max(i, j));
        }
    }
}
