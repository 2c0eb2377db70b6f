// Hit tests of the canvas for pieces, helices, scenery, labels, measurements, handles and decks.
#include "canvas/Interaction.h"

#include <algorithm>
#include <cmath>

#include "canvas/LayoutGeometry.h"
#include "canvas/LayoutIndex.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "catalog/TrackClearance.h"
#include "model/LayoutExtent.h"

namespace {

// Extra reach of a click beyond the ends of a piece and the edges of a curve's band, mm.
constexpr double kEndSlackMm = 5.0;
// A curve's span is widened by this at both ends, degrees.
constexpr double kArcSlackDeg = 3.0;
constexpr double kHelixRingSlackMm = 25.0;
constexpr double kScenerySlackMm = 3.0;
constexpr double kEqualHeightMm = 0.001;

// The point in the frame of a pose at (ox, oy) turned by headingDeg.
PointMm ToLocal(double ox, double oy, double headingDeg, double x, double y) {
    const double h = headingDeg * kDegToRad;
    const double c = std::cos(h), s = std::sin(h);
    const double dx = x - ox, dy = y - oy;
    return {dx * c + dy * s, -dx * s + dy * c};
}

// True when local point (lx, ly) lies on an arc that leaves (startX, 0) along +x and turns
// angleDeg on radius, within the band and the span widened at both ends.
bool OnArc(double lx, double ly, double startX, double radius, double angleDeg, double h) {
    const double s = angleDeg >= 0 ? 1.0 : -1.0;
    // Mirroring a left-hand arc makes it a right-hand one.
    const double u = lx - startX;
    const double v = s * ly;
    const double du = u, dv = v - radius;  // relative to the centre (0, radius)
    const double dist = std::hypot(du, dv);
    if (dist < radius - (h + kEndSlackMm) || dist > radius + (h + kEndSlackMm)) return false;
    // The start of the arc lies straight "above" the centre: swept angle 0 there.
    double swept = std::atan2(dv, du) / kDegToRad + 90.0;
    while (swept > 180.0) swept -= 360.0;
    while (swept <= -180.0) swept += 360.0;
    return swept >= -kArcSlackDeg && swept <= std::fabs(angleDeg) + kArcSlackDeg;
}

double PixelDistance(const ViewTransform& view, double x, double y, int px, int py) {
    const double ox = x * view.zoom + view.offsetX - px;
    const double oy = y * view.zoom + view.offsetY - py;
    return std::hypot(ox, oy);
}

}  // namespace

double PieceHitHalfWidth(const PieceDef& def) {
    if (def.system == TrackSystem::MarklinZ) return 7.0;
    return IsNGauge(def.system) ? 13.0 : 20.0;
}

bool PointOnPiece(const PlacedPiece& piece, const PieceDef& def, double x, double y) {
    const double h = PieceHitHalfWidth(def);
    const PointMm l = ToLocal(piece.x, piece.y, piece.heading, x, y);
    const bool onStraight =
        l.x >= -kEndSlackMm && l.x <= def.length + kEndSlackMm && std::fabs(l.y) <= h;
    switch (def.kind) {
        case PieceKind::Curve:
            if (def.radius > 0) return OnArc(l.x, l.y, 0, def.radius, def.angle, h);
            return onStraight;
        case PieceKind::Turntable:
            return std::hypot(l.x, l.y) <= def.length / 2 + 10.0;
        case PieceKind::CurvedTurnoutK:
            if (l.x >= -kEndSlackMm && l.x <= def.length + kEndSlackMm &&
                std::fabs(l.y) <= h + kEndSlackMm)
                return true;
            // The two routes are drawn as arcs from the origin and from the end of the lead;
            // only those arcs catch clicks, not the whole circles they lie on.
            return def.radius > 0 && (OnArc(l.x, l.y, 0, def.radius, def.angle, h) ||
                                      OnArc(l.x, l.y, def.length, def.radius, def.angle, h));
        default:
            return onStraight;
    }
}

double LevelHeight(const LayoutDocument& doc, int32_t levelId) {
    for (const Level& level : doc.levels)
        if (static_cast<int64_t>(level.id) == levelId) return level.height;
    return 0;
}

namespace {

// PieceAt over the pieces at the given indices, visited from the last to the first.
template <typename Indices>
uint32_t PieceAtAmong(const LayoutDocument& doc, const ViewTransform& view, int px, int py,
                      const Indices& indices) {
    const double x = view.ToLayoutX(px), y = view.ToLayoutY(py);
    uint32_t best = kNoId;
    double bestHeight = 0, bestDist = 0;
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
        const PlacedPiece& p = doc.pieces[*it];
        if (!IsLevelVisible(doc, p.level)) continue;
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def || !PointOnPiece(p, *def, x, y)) continue;
        const double height = LevelHeight(doc, p.level);
        const double dist = PixelDistance(view, p.x, p.y, px, py);
        const bool higher = height > bestHeight + kEqualHeightMm;
        const bool level = std::fabs(height - bestHeight) <= kEqualHeightMm;
        if (best == kNoId || higher || (level && dist < bestDist)) {
            best = p.id;
            bestHeight = height;
            bestDist = dist;
        }
    }
    return best;
}

// Every index of a list, ascending, without storing them.
struct AllIndices {
    size_t n;
    struct Rev {
        size_t i;
        size_t operator*() const { return i - 1; }
        Rev& operator++() {
            --i;
            return *this;
        }
        bool operator!=(const Rev& o) const { return i != o.i; }
    };
    Rev rbegin() const { return {n}; }
    Rev rend() const { return {0}; }
};

// The box of layout points a window point may stand for.
BoxMm PointBox(const ViewTransform& view, int px, int py) {
    BoxMm box;
    box.Add(view.ToLayoutX(px), view.ToLayoutY(py));
    return box.Grown(1e-6);
}

template <typename Indices>
uint32_t SceneryAtAmong(const LayoutDocument& doc, const ViewTransform& view, int px, int py,
                        const Indices& indices) {
    const double x = view.ToLayoutX(px), y = view.ToLayoutY(py);
    uint32_t best = kNoId;
    double bestHeight = 0;
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
        const SceneryItem& item = doc.scenery[*it];
        if (!IsLevelVisible(doc, item.level)) continue;
        const SceneryDef* def = SceneryCatalog::Instance().Find(item.item);
        if (!def) continue;
        const PointMm l = ToLocal(item.x, item.y, item.heading, x, y);
        const double a = def->width * item.scaleX / 2, b = def->depth * item.scaleY / 2;
        if (std::fabs(l.x) > a + kScenerySlackMm || std::fabs(l.y) > b + kScenerySlackMm) continue;
        const double height = LevelHeight(doc, item.level);
        if (best == kNoId || height > bestHeight + kEqualHeightMm) {
            best = item.id;
            bestHeight = height;
        }
    }
    return best;
}

}  // namespace

uint32_t PieceAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py) {
    return PieceAtAmong(doc, view, px, py, AllIndices{doc.pieces.size()});
}

uint32_t PieceAt(const LayoutDocument& doc, const LayoutIndex& index, const ViewTransform& view,
                 int px, int py) {
    if (!index.Matches(doc)) return PieceAt(doc, view, px, py);
    return PieceAtAmong(doc, view, px, py, index.PiecesIn(PointBox(view, px, py)));
}

uint32_t HelixAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py) {
    const double x = view.ToLayoutX(px), y = view.ToLayoutY(py);
    uint32_t best = kNoId;
    double bestHeight = 0;
    for (const Helix& helix : doc.helices) {
        const HelixVariant* variant = HelixVariantFor(helix);
        if (!variant) continue;
        const int32_t level = HelixLevel(doc, helix);
        if (!IsLevelVisible(doc, level)) continue;
        const double d = std::hypot(x - helix.x, y - helix.y);
        const bool inner = std::fabs(d - variant->radiusInner) <= kHelixRingSlackMm;
        const bool outer = std::fabs(d - variant->radiusOuter) <= kHelixRingSlackMm;
        if (!inner && !outer) continue;
        const double height = LevelHeight(doc, level);
        if (best == kNoId || height > bestHeight + kEqualHeightMm) {
            best = helix.id;
            bestHeight = height;
        }
    }
    return best;
}

uint32_t PieceOrHelixAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py) {
    const uint32_t piece = PieceAt(doc, view, px, py);
    if (piece != kNoId) return piece;
    return HelixStub(doc, HelixAt(doc, view, px, py));
}

uint32_t PieceOrHelixAt(const LayoutDocument& doc, const LayoutIndex& index,
                        const ViewTransform& view, int px, int py) {
    const uint32_t piece = PieceAt(doc, index, view, px, py);
    if (piece != kNoId) return piece;
    return HelixStub(doc, HelixAt(doc, view, px, py));
}

uint32_t HelixStub(const LayoutDocument& doc, uint32_t helixId) {
    const Helix* helix = doc.FindHelix(helixId);
    if (!helix || !doc.FindPiece(helix->bottomR1)) return kNoId;
    return helix->bottomR1;
}

uint32_t SceneryAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py) {
    return SceneryAtAmong(doc, view, px, py, AllIndices{doc.scenery.size()});
}

uint32_t SceneryAt(const LayoutDocument& doc, const LayoutIndex& index, const ViewTransform& view,
                   int px, int py) {
    if (!index.Matches(doc)) return SceneryAt(doc, view, px, py);
    return SceneryAtAmong(doc, view, px, py, index.SceneryIn(PointBox(view, px, py)));
}

uint32_t LabelAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py) {
    for (const Label& label : doc.labels) {
        const double lx = label.x * view.zoom + view.offsetX;
        const double ly = label.y * view.zoom + view.offsetY;
        if (px >= lx - 4 && px <= lx + 120 && py >= ly - 4 && py <= ly + 24) return label.id;
    }
    return kNoId;
}

double DistanceToSegment(PointMm p, PointMm a, PointMm b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((p.x - a.x) * vx + (p.y - a.y) * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * vx), p.y - (a.y + t * vy));
}

MeasurementHit MeasurementAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py) {
    const double x = view.ToLayoutX(px), y = view.ToLayoutY(py);
    const double z = std::max(view.zoom, 0.0001);
    for (size_t n = doc.measurements.size(); n-- > 0;) {
        const Measurement& m = doc.measurements[n];
        const double mx = (m.x1 + m.x2) / 2 + m.dx, my = (m.y1 + m.y2) / 2 + m.dy;
        if (std::fabs(x - mx) <= 32 / z && std::fabs(y - my) <= 9 / z)
            return {m.id, MeasurementPart::Label};
        if (DistanceToSegment({x, y}, {m.x1, m.y1}, {m.x2, m.y2}) <= 8 / z)
            return {m.id, MeasurementPart::Line};
    }
    return {};
}

PointMm HandleLocal(const SceneryItem& item, const SceneryDef& def, int handle) {
    static constexpr int kSigns[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0},
                                         {1, 1},   {0, 1},  {-1, 1}, {-1, 0}};
    const int h = ((handle % 8) + 8) % 8;
    return {kSigns[h][0] * def.width * item.scaleX / 2, kSigns[h][1] * def.depth * item.scaleY / 2};
}

PointMm HandleWorld(const SceneryItem& item, const SceneryDef& def, int handle) {
    const PointMm l = HandleLocal(item, def, handle);
    const double h = item.heading * kDegToRad;
    const double c = std::cos(h), s = std::sin(h);
    return {item.x + l.x * c - l.y * s, item.y + l.x * s + l.y * c};
}

int HandleAt(const SceneryItem& item, const SceneryDef& def, const ViewTransform& view, int px,
             int py) {
    for (int h = 0; h < 8; ++h) {
        const PointMm w = HandleWorld(item, def, h);
        const int dx = view.ToPixelX(w.x) - px, dy = view.ToPixelY(w.y) - py;
        if (dx * dx + dy * dy < 37) return h;
    }
    return -1;
}

uint32_t LevelOutlineAt(const LayoutDocument& doc, const ViewTransform& view, int px, int py) {
    const double x = view.ToLayoutX(px), y = view.ToLayoutY(py);
    const double reach = 8 / std::max(view.zoom, 0.0001);
    std::vector<const Level*> levels;
    for (const Level& level : doc.levels)
        if (level.visible && level.outline.size() >= 3) levels.push_back(&level);
    std::stable_sort(levels.begin(), levels.end(),
                     [](const Level* a, const Level* b) { return a->height > b->height; });
    for (const Level* level : levels) {
        const std::vector<PointMm>& o = level->outline;
        for (size_t i = 0; i < o.size(); ++i)
            if (DistanceToSegment({x, y}, o[i], o[(i + 1) % o.size()]) <= reach) return level->id;
    }
    return kNoId;
}
