// A grid over the extents of the document's pieces and scenery items, in layout millimetres: it
// finds what may lie at a point or inside a rectangle without visiting every object.
#pragma once

#include <cstdint>
#include <string>
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
    // as its position alone (it is neither drawn nor hit, but a band selects it). Entries are
    // matched to the objects by id and pose, so only objects added, moved, turned or changed
    // since the last call have their extent worked out again: after an edit of one piece, that
    // piece. The result is the same as a build from nothing.
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
    const BoxMm& PieceBox(size_t i) const { return pieces.Box(i); }
    const BoxMm& SceneryBox(size_t i) const { return scenery.Box(i); }
    size_t PieceCount() const { return pieces.slotAt.size(); }
    size_t SceneryCount() const { return scenery.slotAt.size(); }
    // Extents worked out since the index was made (for the tests of the incremental update).
    size_t ExtentsComputed() const { return extentsComputed; }

private:
    // What an extent was worked out from: an entry whose object still has it stays as it is.
    struct Key {
        uint32_t id = kNoId;
        std::string kind;  // article or scenery id
        double x = 0, y = 0, heading = 0, scaleX = 1, scaleY = 1;
        bool Of(const PlacedPiece& p) const {
            return id == p.id && x == p.x && y == p.y && heading == p.heading && kind == p.article;
        }
        bool Of(const SceneryItem& s) const {
            return id == s.id && x == s.x && y == s.y && heading == s.heading &&
                   scaleX == s.scaleX && scaleY == s.scaleY && kind == s.item;
        }
    };
    // Entries live in slots that keep their number while objects before them come and go; the
    // cells hold slots, the queries answer positions in the document's lists.
    struct Grid {
        std::unordered_map<uint64_t, std::vector<uint32_t>> cells;
        std::vector<BoxMm> boxes;           // by slot
        std::vector<Key> keys;              // by slot
        std::vector<uint32_t> slotAt;       // by position
        std::vector<uint32_t> positionOf;   // by slot; kNoId for a free slot
        std::vector<uint32_t> freeSlots;
        mutable std::vector<uint32_t> seen;  // query stamp per slot, so each is reported once
        mutable uint32_t stamp = 0;

        const BoxMm& Box(size_t position) const { return boxes[slotAt[position]]; }
        uint32_t NewSlot();
        void FreeSlot(uint32_t slot);
        void Insert(uint32_t slot, const BoxMm& box);
        void Remove(uint32_t slot);
        std::vector<size_t> Query(const BoxMm& box) const;
    };
    template <class List, class KeyOf, class ExtentOf>
    void Sync(Grid& grid, const List& list, KeyOf keyOf, ExtentOf extentOf);

    Grid pieces;
    Grid scenery;
    size_t extentsComputed = 0;
};
