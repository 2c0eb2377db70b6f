// A uniform grid over piece and scenery extents for hit tests, snapping, band selection and
// drawing only what a window shows.
#include "canvas/LayoutIndex.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "canvas/PieceGeometry.h"
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

void LayoutIndex::Grid::Clear(size_t n) {
    cells.clear();
    boxes.assign(n, BoxMm{});
    seen.assign(n, 0);
    stamp = 0;
}

void LayoutIndex::Grid::Insert(uint32_t i, const BoxMm& box) {
    boxes[i] = box;
    if (box.Empty()) return;
    for (int64_t cx = CellOf(box.x0); cx <= CellOf(box.x1); ++cx)
        for (int64_t cy = CellOf(box.y0); cy <= CellOf(box.y1); ++cy)
            cells[CellKey(cx, cy)].push_back(i);
}

void LayoutIndex::Grid::Remove(uint32_t i) {
    const BoxMm box = boxes[i];
    boxes[i] = BoxMm{};
    if (box.Empty()) return;
    for (int64_t cx = CellOf(box.x0); cx <= CellOf(box.x1); ++cx)
        for (int64_t cy = CellOf(box.y0); cy <= CellOf(box.y1); ++cy) {
            auto it = cells.find(CellKey(cx, cy));
            if (it == cells.end()) continue;
            std::erase(it->second, i);
            if (it->second.empty()) cells.erase(it);
        }
}

std::vector<size_t> LayoutIndex::Grid::Query(const BoxMm& box) const {
    std::vector<size_t> out;
    if (box.Empty() || boxes.empty()) return out;
    if (++stamp == 0) {  // the stamp wrapped: forget the old marks
        std::fill(seen.begin(), seen.end(), 0);
        stamp = 1;
    }
    auto visit = [&](const std::vector<uint32_t>& cell) {
        for (uint32_t i : cell) {
            if (seen[i] == stamp) continue;
            seen[i] = stamp;
            if (boxes[i].Meets(box)) out.push_back(i);
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

void LayoutIndex::Rebuild(const LayoutDocument& doc) {
    pieces.Clear(doc.pieces.size());
    for (size_t i = 0; i < doc.pieces.size(); ++i) UpdatePiece(doc, i);
    scenery.Clear(doc.scenery.size());
    for (size_t i = 0; i < doc.scenery.size(); ++i) UpdateScenery(doc, i);
}

bool LayoutIndex::Matches(const LayoutDocument& doc) const {
    return pieces.boxes.size() == doc.pieces.size() && scenery.boxes.size() == doc.scenery.size();
}

void LayoutIndex::UpdatePiece(const LayoutDocument& doc, size_t i) {
    if (i >= pieces.boxes.size() || i >= doc.pieces.size()) return;
    const uint32_t k = static_cast<uint32_t>(i);
    pieces.Remove(k);
    const PlacedPiece& p = doc.pieces[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.heading)) return;
    // A piece missing from the catalog is never drawn or hit, but a band still selects it.
    const PieceDef* def = TrackCatalog::Instance().Find(p.article);
    pieces.Insert(k, def ? PieceExtent(p, *def) : PointExtent(p.x, p.y));
}

void LayoutIndex::UpdateScenery(const LayoutDocument& doc, size_t i) {
    if (i >= scenery.boxes.size() || i >= doc.scenery.size()) return;
    const uint32_t k = static_cast<uint32_t>(i);
    scenery.Remove(k);
    const SceneryItem& item = doc.scenery[i];
    if (!std::isfinite(item.x) || !std::isfinite(item.y) || !std::isfinite(item.heading)) return;
    const SceneryDef* def = SceneryCatalog::Instance().Find(item.item);
    scenery.Insert(k, def ? SceneryExtent(item, *def) : PointExtent(item.x, item.y));
}

std::vector<size_t> LayoutIndex::PiecesIn(const BoxMm& box) const { return pieces.Query(box); }
std::vector<size_t> LayoutIndex::SceneryIn(const BoxMm& box) const { return scenery.Query(box); }
