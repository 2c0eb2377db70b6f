// Route centre lines of placed pieces, for the layout check.
#include "canvas/TrackRoutes.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"
#include "canvas/PieceGeometry.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"

namespace {

// Arcs are sampled so that no segment strays further than this from the arc...
constexpr double kArcSagMm = 0.25;
// ...and no segment turns more than this.
constexpr double kArcStepDeg = 6.0;
// Segments of a route that no single arc fits.
constexpr int kCubicSegments = 16;
// An arc or straight fits a route when it arrives within this of the far connector's heading.
constexpr double kFitToleranceDeg = 0.5;

// Signed heading difference b - a folded into (-180, 180].
double SignedTurn(double a, double b) {
    double d = std::fmod(b - a, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

PointMm Dir(double headingDeg) {
    return {std::cos(headingDeg * kDegToRad), std::sin(headingDeg * kDegToRad)};
}

// The local centre line from a point leaving along `startDeg` to a point arriving along `endDeg`.
std::vector<PointMm> LocalCentreLine(PointMm a, double startDeg, PointMm b, double endDeg) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    if (chord < 1e-9) return {a, b};
    const double delta = SignedTurn(startDeg, std::atan2(dy, dx) / kDegToRad);
    const double turn = 2 * delta;
    if (std::fabs(SignedTurn(startDeg + turn, endDeg)) < kFitToleranceDeg) {
        if (std::fabs(delta) < 1e-6) return {a, b};
        const double radius = chord / (2 * std::fabs(std::sin(delta * kDegToRad)));
        const double step =
            std::min(kArcStepDeg, 2 * std::acos(std::max(0.0, 1 - kArcSagMm / radius)) / kDegToRad);
        const int n = std::max(1, static_cast<int>(std::ceil(std::fabs(turn) / step)));
        std::vector<PointMm> arc = ArcLine(a.x, a.y, startDeg, radius, turn, 0, n);
        arc.back() = b;
        return arc;
    }
    // Lead straights followed by a curve (curved turnouts): the cubic along both headings.
    const PointMm da = Dir(startDeg), db = Dir(endDeg);
    const double k = chord / 3;
    const PointMm p1{a.x + da.x * k, a.y + da.y * k};
    const PointMm p2{b.x - db.x * k, b.y - db.y * k};
    std::vector<PointMm> pts;
    for (int i = 0; i <= kCubicSegments; ++i) {
        const double t = static_cast<double>(i) / kCubicSegments, u = 1 - t;
        const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        pts.push_back({w0 * a.x + w1 * p1.x + w2 * p2.x + w3 * b.x,
                       w0 * a.y + w1 * p1.y + w2 * p2.y + w3 * b.y});
    }
    return pts;
}

PointMm LocalPoint(const PieceDef& def, int i) {
    return {def.connectors[i].x, def.connectors[i].y};
}

// Connector pairs joined by a route, by kind.
std::vector<std::pair<int, int>> RoutePairs(const PieceDef& def) {
    const int n = static_cast<int>(def.connectors.size());
    std::vector<std::pair<int, int>> pairs;
    auto add = [&](int a, int b) {
        if (a < n && b < n) pairs.emplace_back(a, b);
    };
    switch (def.kind) {
        case PieceKind::Crossing:
            add(0, 1);
            add(2, 3);
            break;
        case PieceKind::DoubleSlip:
            add(0, 1);
            add(2, 3);
            add(0, 3);
            add(2, 1);
            break;
        case PieceKind::Bumper:
            if (n >= 1) pairs.emplace_back(0, -1);
            break;
        case PieceKind::Turntable:
            for (int i = 0; i < n; ++i) pairs.emplace_back(i, -1);
            break;
        default:  // straights, curves and turnouts: one route from connector 0 to each leg
            for (int i = 1; i < n; ++i) add(0, i);
            break;
    }
    return pairs;
}

}  // namespace

std::vector<TrackRoute> PieceRoutes(const PlacedPiece& piece, const PieceDef& def) {
    std::vector<TrackRoute> routes;
    const double rise = std::sin(piece.grade * kDegToRad) * RunLength(def);
    double axisRun = def.length > 0 ? def.length : 1.0;
    if (def.connectors.size() >= 2 && def.connectors[1].x > 1.0) axisRun = def.connectors[1].x;
    const double r = piece.heading * kDegToRad;
    const double c = std::cos(r), s = std::sin(r);

    for (const auto& [from, to] : RoutePairs(def)) {
        std::vector<PointMm> local;
        const PointMm a = LocalPoint(def, from);
        const double startDeg = def.connectors[from].heading + 180;
        if (to < 0 && def.kind == PieceKind::Bumper) {
            local = {a, {a.x + Dir(startDeg).x * def.length, a.y + Dir(startDeg).y * def.length}};
        } else if (to < 0) {
            local = {a, {0, 0}};
        } else {
            local = LocalCentreLine(a, startDeg, LocalPoint(def, to), def.connectors[to].heading);
        }
        TrackRoute route;
        route.from = from;
        route.to = to;
        double along = 0;
        for (size_t i = 0; i < local.size(); ++i) {
            if (i > 0)
                along += std::hypot(local[i].x - local[i - 1].x, local[i].y - local[i - 1].y);
            route.along.push_back(along);
            route.points.push_back({local[i].x * c - local[i].y * s + piece.x,
                                    local[i].x * s + local[i].y * c + piece.y});
        }
        const double total = route.Length();
        for (size_t i = 0; i < local.size(); ++i) {
            const double share = from == 0 ? (total > 0 ? route.along[i] / total : 0)
                                           : std::clamp(local[i].x / axisRun, 0.0, 1.0);
            route.heights.push_back(piece.elevation + rise * share);
        }
        routes.push_back(std::move(route));
    }
    return routes;
}
