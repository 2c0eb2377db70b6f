// A grid over the extents of the document's pieces and scenery items, in layout millimetres: it
// finds what may lie at a point or inside a rectangle without visiting every object.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/LayoutDocument.h"

struct PieceDef;
struct SceneryDef;

// An axis-aligned box in millimetres; empty until a point is added.
struct BoxMm {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;

    bool Empty() const { return x0 > x1 || y0 > y1; }
    void Add(double x, double y);
    void Add(const BoxMm& b);
    BoxMm Grown(double d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
    bool Meets(const BoxMm& b) const {
        return x0 <= b.x1 && b.x0 <= x1 && y0 <= b.y1 && b.y0 <= y1;
    }
    bool Holds(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// The extent of everything a piece draws in layout units (bands, turntable pit, bridge arch) and
// everything that catches a click on it or snaps to it (hit zones, connectors), at its pose.
// Marks drawn in pixels (labels, dots, pens) reach beyond it by an amount the caller adds.
BoxMm PieceExtent(const PlacedPiece& piece, const PieceDef& def);
// The same for a scenery item: its parts, its footprint widened for clicks.
BoxMm SceneryExtent(const SceneryItem& item, const SceneryDef& def);

class LayoutIndex {
public:
    // Cell edge of the grid: a few pieces long, so a click or a snap looks at one to four cells.
    static constexpr double kCellMm = 256.0;

    // Indexes every piece and scenery item of the document; one missing from its catalog stands
    // as its position alone (it is neither drawn nor hit, but a band selects it).
    void Rebuild(const LayoutDocument& doc);
    // True when the index was built for a document with these numbers of pieces and items; an
    // edit that adds or removes objects needs a rebuild.
    bool Matches(const LayoutDocument& doc) const;
    // Brings one entry up to date after its object moved (index into doc.pieces / doc.scenery).
    void UpdatePiece(const LayoutDocument& doc, size_t i);
    void UpdateScenery(const LayoutDocument& doc, size_t i);

    // Indices of the pieces (scenery items) whose extent meets the box, ascending.
    std::vector<size_t> PiecesIn(const BoxMm& box) const;
    std::vector<size_t> SceneryIn(const BoxMm& box) const;
    // The extent an entry was indexed with; empty for an object left out.
    const BoxMm& PieceBox(size_t i) const { return pieces.boxes[i]; }
    const BoxMm& SceneryBox(size_t i) const { return scenery.boxes[i]; }
    size_t PieceCount() const { return pieces.boxes.size(); }
    size_t SceneryCount() const { return scenery.boxes.size(); }

private:
    struct Grid {
        std::unordered_map<uint64_t, std::vector<uint32_t>> cells;
        std::vector<BoxMm> boxes;
        mutable std::vector<uint32_t> seen;  // query stamp per entry, so each is reported once
        mutable uint32_t stamp = 0;

        void Clear(size_t n);
        void Insert(uint32_t i, const BoxMm& box);
        void Remove(uint32_t i);
        std::vector<size_t> Query(const BoxMm& box) const;
    };
    Grid pieces;
    Grid scenery;
};
