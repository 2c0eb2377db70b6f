// Route centre lines of placed pieces, for the layout check.
#include "trackgeometry/TrackRoutes.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"
#include "trackgeometry/PieceGeometry.h"
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

// A centre line in the piece's own axes: its points, and how far it turns between each two.
struct LocalLine {
    std::vector<PointMm> points;
    std::vector<double> turns;
};

// Appends to `line` the arc that leaves its last point along `startDeg` with radius `radius`
// and turns by `turnDeg` (at most 6 degrees and 0.25 mm of sag per segment), ending at `end`.
void AddArc(LocalLine& line, double startDeg, double radius, double turnDeg, PointMm end) {
    const double step =
        std::min(kArcStepDeg, 2 * std::acos(std::max(0.0, 1 - kArcSagMm / radius)) / kDegToRad);
    const int n = std::max(1, static_cast<int>(std::ceil(std::fabs(turnDeg) / step)));
    const PointMm a = line.points.back();
    std::vector<PointMm> arc = ArcLine(a.x, a.y, startDeg, radius, turnDeg, 0, n);
    arc.back() = end;
    line.points.insert(line.points.end(), arc.begin() + 1, arc.end());
    line.turns.insert(line.turns.end(), n, turnDeg / n);
}

// A straight and an arc, in either order, that leave `a` along `startDeg` and reach `b` along
// `startDeg + turnDeg` (the diverging track of a curved turnout); false when neither fits.
bool StraightAndArc(PointMm a, double startDeg, PointMm b, double turnDeg, LocalLine& line) {
    const double t = turnDeg * kDegToRad;
    if (std::fabs(std::sin(t / 2)) < 1e-6) return false;
    const PointMm d = Dir(startDeg);
    // b in the axes of the start: x along the heading, y to its left.
    const double bx = (b.x - a.x) * d.x + (b.y - a.y) * d.y;
    const double by = -(b.x - a.x) * d.y + (b.y - a.y) * d.x;
    const double sinT = std::sin(t), cosT = std::cos(t);
    constexpr double kSlackMm = 1e-6;
    // The straight first: b = (s + r sin t, r (1 - cos t)), r the radius signed like t.
    double r = by / (1 - cosT);
    const double s = bx - r * sinT;
    if (r * t > 0 && s >= -kSlackMm) {
        const PointMm bend{a.x + d.x * s, a.y + d.y * s};
        line.points = {a};
        if (s > kSlackMm) {
            line.points.push_back(bend);
            line.turns.push_back(0);
        }
        AddArc(line, startDeg, std::fabs(r), turnDeg, b);
        return true;
    }
    // The arc first: b = (r sin t + u cos t, r (1 - cos t) + u sin t).
    r = (bx * sinT - by * cosT) / (1 - cosT);
    const double u = (by * sinT - bx * (1 - cosT)) / (1 - cosT);
    if (r * t > 0 && u >= -kSlackMm) {
        const PointMm out = Dir(startDeg + turnDeg);
        const PointMm bend{b.x - out.x * u, b.y - out.y * u};
        line.points = {a};
        AddArc(line, startDeg, std::fabs(r), turnDeg, bend);
        if (u > kSlackMm) {
            line.points.push_back(b);
            line.turns.push_back(0);
        }
        return true;
    }
    return false;
}

// The local centre line from a point leaving along `startDeg` to a point arriving along `endDeg`.
LocalLine LocalCentreLine(PointMm a, double startDeg, PointMm b, double endDeg) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    if (chord < 1e-9) return {{a, b}, {0}};
    const double delta = SignedTurn(startDeg, std::atan2(dy, dx) / kDegToRad);
    const double turn = 2 * delta;
    if (std::fabs(SignedTurn(startDeg + turn, endDeg)) < kFitToleranceDeg) {
        if (std::fabs(delta) < 1e-6) return {{a, b}, {0}};
        const double radius = chord / (2 * std::fabs(std::sin(delta * kDegToRad)));
        LocalLine line{{a}, {}};
        AddArc(line, startDeg, radius, turn, b);
        return line;
    }
    LocalLine line;
    if (StraightAndArc(a, startDeg, b, SignedTurn(startDeg, endDeg), line)) return line;
    // Neither fits: the cubic along both headings, each segment taken as the arc between the
    // cubic's headings at its ends.
    const PointMm da = Dir(startDeg), db = Dir(endDeg);
    const double k = chord / 3;
    const PointMm p1{a.x + da.x * k, a.y + da.y * k};
    const PointMm p2{b.x - db.x * k, b.y - db.y * k};
    double lastHeading = startDeg;
    for (int i = 0; i <= kCubicSegments; ++i) {
        const double t = static_cast<double>(i) / kCubicSegments, u = 1 - t;
        const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        line.points.push_back({w0 * a.x + w1 * p1.x + w2 * p2.x + w3 * b.x,
                               w0 * a.y + w1 * p1.y + w2 * p2.y + w3 * b.y});
        if (i == 0) continue;
        const double tx =
            3 * (u * u * (p1.x - a.x) + 2 * u * t * (p2.x - p1.x) + t * t * (b.x - p2.x));
        const double ty =
            3 * (u * u * (p1.y - a.y) + 2 * u * t * (p2.y - p1.y) + t * t * (b.y - p2.y));
        const double heading = i == kCubicSegments ? endDeg : std::atan2(ty, tx) / kDegToRad;
        line.turns.push_back(SignedTurn(lastHeading, heading));
        lastHeading = heading;
    }
    return line;
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
            // A crossover between parallel tracks has no slip radius; one with an angle links
            // them only one way: from connector 0 to 3 turning right, from 2 to 1 turning left.
            add(0, 1);
            add(2, 3);
            if (def.radius > 0 || def.angle >= 0) add(0, 3);
            if (def.radius > 0 || def.angle <= 0) add(2, 1);
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

double ArcLengthOfChord(double chordMm, double turnDeg) {
    const double half = std::fabs(turnDeg) * kDegToRad / 2;
    if (half < 1e-9) return chordMm;
    return chordMm * half / std::sin(half);
}

std::vector<TrackRoute> PieceRoutes(const PlacedPiece& piece, const PieceDef& def) {
    std::vector<TrackRoute> routes;
    const double rise = std::sin(piece.grade * kDegToRad) * RunLength(def);
    double axisRun = def.length > 0 ? def.length : 1.0;
    if (def.connectors.size() >= 2 && def.connectors[1].x > 1.0) axisRun = def.connectors[1].x;
    const double r = piece.heading * kDegToRad;
    const double c = std::cos(r), s = std::sin(r);

    for (const auto& [from, to] : RoutePairs(def)) {
        LocalLine line;
        const PointMm a = LocalPoint(def, from);
        const double startDeg = def.connectors[from].heading + 180;
        if (to < 0 && def.kind == PieceKind::Bumper) {
            line = {{a, {a.x + Dir(startDeg).x * def.length, a.y + Dir(startDeg).y * def.length}},
                    {0}};
        } else if (to < 0) {
            line = {{a, {0, 0}}, {0}};
        } else {
            line = LocalCentreLine(a, startDeg, LocalPoint(def, to), def.connectors[to].heading);
        }
        const std::vector<PointMm>& local = line.points;
        TrackRoute route;
        route.from = from;
        route.to = to;
        route.turns = std::move(line.turns);
        double along = 0;
        for (size_t i = 0; i < local.size(); ++i) {
            if (i > 0)
                along += ArcLengthOfChord(
                    std::hypot(local[i].x - local[i - 1].x, local[i].y - local[i - 1].y),
                    route.turns[i - 1]);
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
