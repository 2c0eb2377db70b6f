// The hashed grid behind the pair searches of the layout check.
#include "canvas/SpatialHash.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Coordinates beyond this are clamped before they become cell numbers.
constexpr double kFarMm = 1e12;
// A box spanning more cells than this is tested against every other box instead.
constexpr int64_t kMaxCellsPerBox = 4096;

struct CellRange {
    int64_t x0, y0, x1, y1;
    int64_t Count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
};

int64_t CellOf(double v, double cell) {
    return static_cast<int64_t>(std::floor(std::clamp(v, -kFarMm, kFarMm) / cell));
}

uint64_t HashCell(int64_t cx, int64_t cy) {
    uint64_t h = static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull;
    h ^= static_cast<uint64_t>(cy) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 32);
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
    int64_t cx, cy;
};

}  // namespace

void ForEachOverlappingPair(const std::vector<BoxMm>& boxes, double cellMm,
                            const std::function<void(size_t, size_t)>& visit) {
    const double cell = cellMm > 0 ? cellMm : 1.0;
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
    while (tableSize < 2 * entries) tableSize *= 2;
    const uint64_t mask = tableSize - 1;

    // Counting sort of (box, cell) entries into buckets.
    std::vector<uint32_t> start(tableSize + 1, 0);
    auto forCells = [&](size_t i, auto&& f) {
        const CellRange& r = ranges[i];
        for (int64_t cy = r.y0; cy <= r.y1; ++cy)
            for (int64_t cx = r.x0; cx <= r.x1; ++cx) f(cx, cy);
    };
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!usable[i]) continue;
        forCells(i, [&](int64_t cx, int64_t cy) { ++start[(HashCell(cx, cy) & mask) + 1]; });
    }
    for (size_t b = 0; b < tableSize; ++b) start[b + 1] += start[b];
    std::vector<Entry> table(entries);
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!usable[i]) continue;
        forCells(i, [&](int64_t cx, int64_t cy) {
            table[fill[HashCell(cx, cy) & mask]++] = {static_cast<uint32_t>(i), cx, cy};
        });
    }

    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!usable[i]) continue;
        const BoxMm& a = boxes[i];
        forCells(i, [&](int64_t cx, int64_t cy) {
            const uint64_t bucket = HashCell(cx, cy) & mask;
            for (uint32_t e = start[bucket]; e < start[bucket + 1]; ++e) {
                const Entry& en = table[e];
                if (en.box <= i || en.cx != cx || en.cy != cy) continue;
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
            if (j == i || !Finite(boxes[j]) || !Overlap(boxes[i], boxes[j])) continue;
            const bool jBig = !usable[j];
            if (jBig && j < i) continue;  // a pair of big boxes once
            visit(std::min(i, j), std::max(i, j));
        }
    }
}
