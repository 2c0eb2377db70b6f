// A uniform grid over piece and scenery extents for hit tests, snapping, band selection and
// drawing only what a window shows.
#include "canvas/LayoutIndex.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "trackgeometry/PieceGeometry.h"
#include "canvas/SceneryGeometry.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
// Hit zones reach this far beyond a band (the widest click band plus the end slack), mm.
constexpr double kHitReachMm = 25.0;
// A curve's click span is widened by 3 degrees at both ends; the box takes a little more.
constexpr double kArcSlackDeg = 4.0;
// Rounding of the sampled arcs and safety for everything else, mm.
constexpr double kSafetyMm = 1.0;

// Samples of an annular sector from (startX, 0) along +x turning angleDeg on radius, between
// radius - reach and radius + reach, in the piece's local frame.
void AddArcZone(BoxMm& box, double startX, double radius, double angleDeg, double reach) {
    const double s = angleDeg >= 0 ? 1.0 : -1.0;
    const double span = std::fabs(angleDeg) + 2 * kArcSlackDeg;
    const int steps = std::max(8, static_cast<int>(span / 0.5));
    for (double r : {std::max(0.0, radius - reach), radius + reach}) {
        for (int k = 0; k <= steps; ++k) {
            const double t = (-kArcSlackDeg + span * k / steps) * kDeg;
            box.Add(startX + r * std::sin(t), s * (radius - r * std::cos(t)));
        }
    }
}

// The extent of a definition at pose (0, 0, 0), kept per definition: catalog records never change.
BoxMm LocalExtent(const PieceDef& def) {
    static std::unordered_map<const PieceDef*, BoxMm> cache;
    auto it = cache.find(&def);
    if (it != cache.end()) return it->second;
    BoxMm box;
    for (const PieceShape& s :
         BuildPieceShapes(def, 0, 0, 0, kPieceFill, kPieceOutline, false, 1.0, nullptr)) {
        for (const PointMm& p : s.points) {
            box.Add(p.x - s.radiusMm, p.y - s.radiusMm);
            box.Add(p.x + s.radiusMm, p.y + s.radiusMm);
        }
    }
    for (const Connector& c : def.connectors) box.Add(c.x, c.y);
    // Click zones: the straight route's band, the pit, the arcs.
    box.Add(-kHitReachMm, -kHitReachMm);
    box.Add(def.length + kHitReachMm, kHitReachMm);
    if (def.kind == PieceKind::Turntable) {
        const double r = std::max(def.length / 2 + 10.0, def.radius) + kHitReachMm;
        box.Add(-r, -r);
        box.Add(r, r);
    }
    if (def.radius > 0 && (def.kind == PieceKind::Curve || def.kind == PieceKind::CurvedTurnoutK ||
                           def.kind == PieceKind::CurvedTurnout)) {
        AddArcZone(box, 0, def.radius, def.angle, kHitReachMm);
        if (def.kind != PieceKind::Curve)
            AddArcZone(box, def.length, def.radius, def.angle, kHitReachMm);
    }
    // A bridge's arch spans the length around the midpoint.
    if (def.isBridge) {
        PlacedPiece origin;
        const PointMm mid = PieceMidpoint(origin, def);
        box.Add(mid.x - def.length / 2, mid.y - def.length / 2);
        box.Add(mid.x + def.length / 2, mid.y + def.length / 2);
    }
    box = box.Grown(kSafetyMm);
    cache.emplace(&def, box);
    return box;
}

uint64_t CellKey(int64_t cx, int64_t cy) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(cx)) << 32) | static_cast<uint32_t>(cy);
}

int64_t CellOf(double v) {
    const double c = std::floor(v / LayoutIndex::kCellMm);
    return static_cast<int64_t>(std::clamp(c, -1e9, 1e9));
}

BoxMm PointExtent(double x, double y) {
    BoxMm box;
    box.Add(x, y);
    return box;
}

}  // namespace

void BoxMm::Add(double x, double y) {
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
}

void BoxMm::Add(const BoxMm& b) {
    if (b.Empty()) return;
    Add(b.x0, b.y0);
    Add(b.x1, b.y1);
}

BoxMm PieceExtent(const PlacedPiece& piece, const PieceDef& def) {
    const BoxMm local = LocalExtent(def);
    const double h = piece.heading * kDeg;
    const double c = std::cos(h), s = std::sin(h);
    BoxMm box;
    for (double lx : {local.x0, local.x1})
        for (double ly : {local.y0, local.y1})
            box.Add(piece.x + lx * c - ly * s, piece.y + lx * s + ly * c);
    return box;
}

BoxMm SceneryExtent(const SceneryItem& item, const SceneryDef& def) {
    const SceneryPose pose{item.x, item.y, item.heading, item.scaleX, item.scaleY};
    BoxMm box;
    for (const PointMm& p : SceneryFootprint(def, pose)) box.Add(p.x, p.y);
    for (const SceneryShape& s : BuildSceneryShapes(def, pose, false, 1.0)) {
        for (const PointMm& p : s.points) box.Add(p.x, p.y);
        if (s.type == SceneryShape::Type::Text) {
            // Text runs from its corner in any direction the item is turned to.
            const double reach = (static_cast<double>(s.text.size()) + 2) * s.pointSize;
            box.Add(s.points[0].x - reach, s.points[0].y - reach);
            box.Add(s.points[0].x + reach, s.points[0].y + reach);
        }
    }
    return box.Grown(3.0 + kSafetyMm);  // clicks reach 3 mm beyond the footprint
}

uint32_t LayoutIndex::Grid::NewSlot() {
    if (!freeSlots.empty()) {
        const uint32_t slot = freeSlots.back();
        freeSlots.pop_back();
        return slot;
    }
    boxes.emplace_back();
    keys.emplace_back();
    positionOf.push_back(kNoId);
    seen.push_back(0);
    return static_cast<uint32_t>(boxes.size() - 1);
}

void LayoutIndex::Grid::FreeSlot(uint32_t slot) {
    Remove(slot);
    keys[slot] = Key{};
    positionOf[slot] = kNoId;
    freeSlots.push_back(slot);
}

void LayoutIndex::Grid::Insert(uint32_t slot, const BoxMm& box) {
    boxes[slot] = box;
    if (box.Empty()) return;
    for (int64_t cx = CellOf(box.x0); cx <= CellOf(box.x1); ++cx)
        for (int64_t cy = CellOf(box.y0); cy <= CellOf(box.y1); ++cy)
            cells[CellKey(cx, cy)].push_back(slot);
}

void LayoutIndex::Grid::Remove(uint32_t slot) {
    const BoxMm box = boxes[slot];
    boxes[slot] = BoxMm{};
    if (box.Empty()) return;
    for (int64_t cx = CellOf(box.x0); cx <= CellOf(box.x1); ++cx)
        for (int64_t cy = CellOf(box.y0); cy <= CellOf(box.y1); ++cy) {
            auto it = cells.find(CellKey(cx, cy));
            if (it == cells.end()) continue;
            std::erase(it->second, slot);
            if (it->second.empty()) cells.erase(it);
        }
}

std::vector<size_t> LayoutIndex::Grid::Query(const BoxMm& box) const {
    std::vector<size_t> out;
    if (box.Empty() || slotAt.empty()) return out;
    if (++stamp == 0) {  // the stamp wrapped: forget the old marks
        std::fill(seen.begin(), seen.end(), 0);
        stamp = 1;
    }
    auto visit = [&](const std::vector<uint32_t>& cell) {
        for (uint32_t slot : cell) {
            if (seen[slot] == stamp) continue;
            seen[slot] = stamp;
            if (boxes[slot].Meets(box)) out.push_back(positionOf[slot]);
        }
    };
    const int64_t cx0 = CellOf(box.x0), cx1 = CellOf(box.x1);
    const int64_t cy0 = CellOf(box.y0), cy1 = CellOf(box.y1);
    const double span = static_cast<double>(cx1 - cx0 + 1) * static_cast<double>(cy1 - cy0 + 1);
    if (span > static_cast<double>(cells.size())) {
        // A box larger than the occupied area: walk the occupied cells instead.
        for (const auto& [key, cell] : cells) visit(cell);
    } else {
        for (int64_t cx = cx0; cx <= cx1; ++cx)
            for (int64_t cy = cy0; cy <= cy1; ++cy) {
                auto it = cells.find(CellKey(cx, cy));
                if (it != cells.end()) visit(it->second);
            }
    }
    std::sort(out.begin(), out.end());
    return out;
}

namespace {

bool PoseUsable(double x, double y, double heading) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(heading);
}

BoxMm ExtentOfPiece(const PlacedPiece& p) {
    if (!PoseUsable(p.x, p.y, p.heading)) return BoxMm{};
    // A piece missing from the catalog is never drawn or hit, but a band still selects it.
    const PieceDef* def = TrackCatalog::Instance().Find(p.article);
    return def ? PieceExtent(p, *def) : PointExtent(p.x, p.y);
}

BoxMm ExtentOfScenery(const SceneryItem& item) {
    if (!PoseUsable(item.x, item.y, item.heading)) return BoxMm{};
    const SceneryDef* def = SceneryCatalog::Instance().Find(item.item);
    return def ? SceneryExtent(item, *def) : PointExtent(item.x, item.y);
}

}  // namespace

// Walks the old entries and the list side by side. Objects keep their order through every edit,
// and new ones take higher ids: an entry whose id is below the next object's belongs to an object
// that went, an object whose id is below the next entry's came in. Whatever the order, every
// position ends with an entry made from its object's present key.
template <class List, class KeyOf, class ExtentOf>
void LayoutIndex::Sync(Grid& grid, const List& list, KeyOf keyOf, ExtentOf extentOf) {
    std::vector<uint32_t> slots;
    slots.reserve(list.size());
    const size_t old = grid.slotAt.size();
    size_t i = 0;
    for (const auto& object : list) {
        while (i < old && grid.keys[grid.slotAt[i]].id < object.id) grid.FreeSlot(grid.slotAt[i++]);
        uint32_t slot;
        const bool kept = i < old && grid.keys[grid.slotAt[i]].id == object.id;
        if (kept)
            slot = grid.slotAt[i++];
        else
            slot = grid.NewSlot();
        if (!kept || !grid.keys[slot].Of(object)) {
            grid.Remove(slot);
            grid.Insert(slot, extentOf(object));
            grid.keys[slot] = keyOf(object);
            ++extentsComputed;
        }
        slots.push_back(slot);
    }
    while (i < old) grid.FreeSlot(grid.slotAt[i++]);
    grid.slotAt = std::move(slots);
    for (size_t pos = 0; pos < grid.slotAt.size(); ++pos)
        grid.positionOf[grid.slotAt[pos]] = static_cast<uint32_t>(pos);
}

void LayoutIndex::Rebuild(const LayoutDocument& doc) {
    Sync(pieces, doc.pieces,
         [](const PlacedPiece& p) {
             return Key{p.id, p.article, p.x, p.y, p.heading, 1, 1};
         },
         ExtentOfPiece);
    Sync(scenery, doc.scenery,
         [](const SceneryItem& s) {
             return Key{s.id, s.item, s.x, s.y, s.heading, s.scaleX, s.scaleY};
         },
         ExtentOfScenery);
}

bool LayoutIndex::Matches(const LayoutDocument& doc) const {
    return pieces.slotAt.size() == doc.pieces.size() &&
           scenery.slotAt.size() == doc.scenery.size();
}

void LayoutIndex::UpdatePiece(const LayoutDocument& doc, size_t i) {
    if (i >= pieces.slotAt.size() || i >= doc.pieces.size()) return;
    const uint32_t slot = pieces.slotAt[i];
    const PlacedPiece& p = doc.pieces[i];
    pieces.Remove(slot);
    pieces.Insert(slot, ExtentOfPiece(p));
    pieces.keys[slot] = Key{p.id, p.article, p.x, p.y, p.heading, 1, 1};
    ++extentsComputed;
}

void LayoutIndex::UpdateScenery(const LayoutDocument& doc, size_t i) {
    if (i >= scenery.slotAt.size() || i >= doc.scenery.size()) return;
    const uint32_t slot = scenery.slotAt[i];
    const SceneryItem& s = doc.scenery[i];
    scenery.Remove(slot);
    scenery.Insert(slot, ExtentOfScenery(s));
    scenery.keys[slot] = Key{s.id, s.item, s.x, s.y, s.heading, s.scaleX, s.scaleY};
    ++extentsComputed;
}

std::vector<size_t> LayoutIndex::PiecesIn(const BoxMm& box) const { return pieces.Query(box); }
std::vector<size_t> LayoutIndex::SceneryIn(const BoxMm& box) const { return scenery.Query(box); }
