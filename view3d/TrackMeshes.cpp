// Track factory: routes of every piece kind, the swept track profile, bridges and buffer stops.
#include "view3d/TrackMeshes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

void AddStructure(Mesh& m, const PieceDef& def, const TrackRoute& deck);
void AddFarStructure(Mesh& m, const PieceDef& def, const TrackRoute& deck);

using Frame = TrackRoute::Frame;

std::vector<Frame> Frames(const TrackRoute& route) {
    std::vector<Frame> frames;
    const int n = std::max(1, route.segments);
    frames.reserve(n + 1);
    for (int i = 0; i <= n; ++i) frames.push_back(route.At(route.length * i / n));
    return frames;
}

// The point `lateral` mm to the right of a frame, at height z.
Vec3 Offset(const Frame& f, double lateral, double z) {
    return {f.x - f.dirY * lateral, f.y + f.dirX * lateral, z};
}

// A strip between the profile points (o1, z1) and (o2, z2) swept along the frames; its normal
// is the profile edge turned a quarter towards the outside of a profile walked clockwise.
void SweepStrip(Mesh& m, const std::vector<Frame>& frames, double o1, double z1, double o2,
                double z2, Colour3 colour) {
    const double dl = o2 - o1, dz = z2 - z1;
    const double len = std::hypot(dl, dz);
    if (len < 1e-12) return;
    const double nl = -dz / len, nz = dl / len;
    const uint32_t start = static_cast<uint32_t>(m.VertexCount());
    for (const Frame& f : frames) {
        const Vec3 n{-f.dirY * nl, f.dirX * nl, nz};
        m.AddVertex(Offset(f, o1, z1), n, colour);
        m.AddVertex(Offset(f, o2, z2), n, colour);
    }
    for (uint32_t i = 0; i + 1 < frames.size(); ++i) {
        const uint32_t a = start + 2 * i;
        m.AddTriangle(a, a + 2, a + 3);
        m.AddTriangle(a, a + 3, a + 1);
    }
}

// The end face of a swept box at a frame, facing along `sign` times the direction of travel;
// its corners go round counter-clockwise seen from there.
void Cap(Mesh& m, const Frame& f, double o0, double o1, double z0, double z1, double sign,
         Colour3 colour) {
    if (sign < 0) std::swap(o0, o1);
    AddQuad(m, Offset(f, o0, z0), Offset(f, o1, z0), Offset(f, o1, z1), Offset(f, o0, z1),
            {f.dirX * sign, f.dirY * sign, 0}, colour);
}

// Whether a swept box has its underside: not where it stands on another box, whose top covers it.
enum class Underside { Open, Closed };

// A box section from lateral o0 to o1 and height z0 to z1 swept along the frames: top, both
// sides, the two end faces and the underside when it is to be closed.
void SweepBox(Mesh& m, const std::vector<Frame>& frames, double o0, double o1, double z0, double z1,
              Colour3 top, Colour3 side, Underside underside = Underside::Closed) {
    SweepStrip(m, frames, o0, z1, o1, z1, top);
    SweepStrip(m, frames, o1, z1, o1, z0, side);
    if (underside == Underside::Closed) SweepStrip(m, frames, o1, z0, o0, z0, side);
    SweepStrip(m, frames, o0, z0, o0, z1, side);
    Cap(m, frames.front(), o0, o1, z0, z1, -1, side);
    Cap(m, frames.back(), o0, o1, z0, z1, 1, side);
}

// A block standing on a frame: `along` mm before and after it, lateral o0 to o1, z0 to z1;
// top, four sides and the underside unless it is open.
void FrameBlock(Mesh& m, const Frame& f, double along, double o0, double o1, double z0, double z1,
                Colour3 top, Colour3 side, Underside underside = Underside::Closed) {
    const Frame back{f.x - f.dirX * along, f.y - f.dirY * along, f.dirX, f.dirY};
    const Frame front{f.x + f.dirX * along, f.y + f.dirY * along, f.dirX, f.dirY};
    SweepBox(m, {back, front}, o0, o1, z0, z1, top, side, underside);
}

Vec3 RoutePoint(const TrackRoute& route, double s, double lateral, double z) {
    return Offset(route.At(std::clamp(s, 0.0, route.length)), lateral, z);
}

// Turn of a connector heading folded into (-180, 180].
double FoldTurn(double headingDeg) {
    double h = std::fmod(headingDeg, 360.0);
    if (h > 180) h -= 360;
    if (h <= -180) h += 360;
    return h;
}

// The route from the origin (heading 0) to a connector: an arc of `radius` when one is given,
// else a straight of the connector's distance.
TrackRoute RouteToConnector(const Connector& c, double radius) {
    const double turn = FoldTurn(c.heading);
    if (radius > 0 && std::abs(turn) > 1e-6) {
        const double side = c.y < 0 ? -1.0 : 1.0;
        return ArcRoute(0, 0, 0, radius, side * std::abs(turn));
    }
    const double heading = std::atan2(c.y, c.x) / kDegToRad;
    return StraightRoute(0, 0, heading, std::hypot(c.x, c.y));
}

TrackRoute RouteBetween(const Connector& a, const Connector& b) {
    return StraightRoute(a.x, a.y, std::atan2(b.y - a.y, b.x - a.x) / kDegToRad,
                         std::hypot(b.x - a.x, b.y - a.y));
}

bool IsOneOf(std::string_view article, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), article) != list.end();
}

void AddTruss(Mesh& m, const TrackRoute& deck) {
    const double length = deck.length;
    const double height = 44, bar = 3;
    const int panels = std::max(2, static_cast<int>(std::lround(length / 30)));
    const std::vector<Frame> frames = Frames(deck);
    SweepBox(m, frames, -kBedHalfWidth - 6, kBedHalfWidth + 6, -5, 0, kBridgeSteel, kBridgeSteel);
    for (double side : {-26.0, 26.0}) {
        SweepBox(m, frames, side - bar / 2, side + bar / 2, 0, bar, kBridgeSteel, kBridgeSteel);
        SweepBox(m, frames, side - bar / 2, side + bar / 2, height - bar, height, kBridgeSteel,
                 kBridgeSteel);
        for (int i = 0; i <= panels; ++i) {
            const double s = length * i / panels;
            const double sIn = std::clamp(s, bar / 2, length - bar / 2);
            AddBeam(m, RoutePoint(deck, sIn, side, bar), RoutePoint(deck, sIn, side, height - bar),
                    bar, kBridgeSteel);
            if (i == panels) break;
            const double next = std::clamp(length * (i + 1) / panels, bar / 2, length - bar / 2);
            // Diagonals lean towards the middle of the span, as in a Pratt truss.
            const bool firstHalf = (i + 0.5) * 2 < panels;
            const double lowS = firstHalf ? next : sIn, highS = firstHalf ? sIn : next;
            AddBeam(m, RoutePoint(deck, lowS, side, bar),
                    RoutePoint(deck, highS, side, height - bar), bar * 0.8, kBridgeSteel);
        }
    }
    // Cross braces over the track between the top chords.
    for (int i = 0; i <= panels; i += 2) {
        const double s = std::clamp(length * i / panels, bar / 2, length - bar / 2);
        AddBeam(m, RoutePoint(deck, s, -26, height - bar / 2),
                RoutePoint(deck, s, 26, height - bar / 2), bar * 0.8, kBridgeSteel);
    }
}

void AddRampStructure(Mesh& m, const TrackRoute& route) {
    const std::vector<Frame> frames = Frames(route);
    SweepBox(m, frames, -22, 22, -4, 0, kBridgeBeam, kBridgeSteel);
    for (double side : {-21.0, 21.0})
        SweepBox(m, frames, side - 1, side + 1, 0, 9, kBridgeBeam, kBridgeSteel);
}

void AddTiedArch(Mesh& m, const TrackRoute& deck) {
    const double length = deck.length;
    const std::vector<Frame> frames = Frames(deck);
    SweepBox(m, frames, -24, 24, -4, 0, kBridgeSteel, kBridgeSteel);  // deck slab
    for (double side : {-27.0, 27.0}) {
        SweepBox(m, frames, side - 2.5, side + 2.5, -8, 0, kBridgeBeam, kBridgeBeam);
        for (double s : {1.25, length - 1.25})  // end struts
            FrameBlock(m, deck.At(std::clamp(s, 0.0, length)), 1.25, side - 2.5, side + 2.5, -18,
                       -8, kBridgeBeam, kBridgeBeam);
        // The rib: 14 straight struts over the span, rising 99 mm at mid-span.
        auto rib = [&](double t) {
            const double x = (1 - std::cos(t * std::numbers::pi)) / 2 * length;
            return RoutePoint(deck, x, side, std::sin(t * std::numbers::pi) * 99);
        };
        for (int k = 0; k < 14; ++k) AddBeam(m, rib(k / 14.0), rib((k + 1) / 14.0), 4, kArchRib);
        for (int k = 1; k <= 7; ++k) {
            const double t = k / 8.0;
            const Vec3 top = rib(t);
            const double x = (1 - std::cos(t * std::numbers::pi)) / 2 * length;
            AddBeam(m, top, RoutePoint(deck, x, side, 0), 1.8, kArchRib);
        }
    }
}

void AddTurntablePit(Mesh& m, const PieceDef& def, bool walls) {
    const double r = def.radius;
    const Colour3 floor{0.30f, 0.28f, 0.26f}, wall{0.62f, 0.60f, 0.56f};
    AddCylinder(m, 0, 0, r - 3, 0, 0.5, 48, floor, floor);
    if (!walls) return;
    const int blocks = 48;
    for (int i = 0; i < blocks; ++i) {
        const double a = 2 * std::numbers::pi * i / blocks;
        const double chord = 2 * r * std::sin(std::numbers::pi / blocks) + 0.5;
        AddTurnedBox(m, (r - 1.5) * std::cos(a), (r - 1.5) * std::sin(a), a, 3, chord, 0, 3, wall,
                     wall);
    }
    // The bridge girder under the track and the pivot in the middle.
    AddBox(m, {-(r - 4), -10, 0.5}, {r - 4, 10, 2}, kBridgeSteel, kBridgeSteel);
    AddCylinder(m, 0, 0, 8, 0.5, 2.5, 16, kBridgeBeam, kBridgeSteel);
}

}  // namespace

TrackRoute::Frame TrackRoute::At(double s) const {
    const double h = headingDeg * kDegToRad;
    if (radius <= 0 || std::abs(turnDeg) < 1e-9)
        return {x + std::cos(h) * s, y + std::sin(h) * s, std::cos(h), std::sin(h)};
    const double side = turnDeg > 0 ? 1.0 : -1.0;
    // The centre lies `radius` to the turning side; the point turns about it by s / radius.
    const double cx = x - std::sin(h) * radius * side, cy = y + std::cos(h) * radius * side;
    const double a = h + side * s / radius;
    return {cx + std::sin(a) * radius * side, cy - std::cos(a) * radius * side, std::cos(a),
            std::sin(a)};
}

TrackRoute StraightRoute(double x, double y, double headingDeg, double length) {
    TrackRoute r;
    r.x = x;
    r.y = y;
    r.headingDeg = headingDeg;
    r.length = length;
    r.segments = std::max(2, static_cast<int>(length / 20));
    return r;
}

TrackRoute ArcRoute(double x, double y, double headingDeg, double radius, double turnDeg) {
    TrackRoute r;
    r.x = x;
    r.y = y;
    r.headingDeg = headingDeg;
    r.radius = radius;
    r.turnDeg = turnDeg;
    r.length = radius * std::abs(turnDeg) * kDegToRad;
    r.segments = std::max(8, static_cast<int>(std::abs(turnDeg) / 2.5));
    return r;
}

namespace {

// A turnout's through route (or a wye's first branch), then each branch: to its connector, or a
// lead, the arc and an extension.
void AddTurnoutRoutes(std::vector<TrackRoute>& routes, const PieceDef& def) {
    const auto& c = def.connectors;
    const int n = static_cast<int>(c.size());
    // A wye's connector 1 ends its second branch rather than a through route.
    if (n >= 2 && std::abs(c[1].y) > 0.01)
        routes.push_back(RouteToConnector(c[1], def.radius));
    else
        routes.push_back(StraightRoute(0, 0, 0, def.length));
    for (int i = 2; i < n; ++i) {
        const BranchStraights s = BranchStraightsOf(def, c[i]);
        if (s.lead == 0 && s.extension == 0) {
            routes.push_back(RouteToConnector(c[i], def.radius));
            continue;
        }
        const double turn = FoldTurn(c[i].heading);
        routes.push_back(StraightRoute(0, 0, 0, s.lead));
        const TrackRoute arc = ArcRoute(s.lead, 0, 0, def.radius, turn);
        routes.push_back(arc);
        const TrackRoute::Frame end = arc.At(arc.length);
        routes.push_back(StraightRoute(end.x, end.y, turn, s.extension));
    }
}

// A curved turnout's inner route, then the outer one: a lead and the arc that reaches its end.
void AddCurvedTurnoutRoutes(std::vector<TrackRoute>& routes, const PieceDef& def) {
    const auto& c = def.connectors;
    const size_t n = c.size();
    if (n < 3) {
        if (n >= 2) routes.push_back(RouteToConnector(c[1], def.radius));
        return;
    }
    const TrackRoute inner = RouteToConnector(c[1], def.radius);
    double lead = c[2].x - c[1].x;
    TrackRoute outer = inner;
    if (std::abs(c[2].y - c[1].y) > 0.01 && std::abs(inner.turnDeg) > 1e-6) {
        // The outer end lies off the inner route's line: a lead, then the arc of the same angle
        // that reaches it.
        const double a = std::abs(inner.turnDeg) * kDegToRad;
        const double radius = std::abs(c[2].y) / (1 - std::cos(a));
        lead = c[2].x - radius * std::sin(a);
        outer = ArcRoute(0, 0, 0, radius, inner.turnDeg);
    }
    routes.push_back(inner);
    if (lead > 0.01) routes.push_back(StraightRoute(0, 0, 0, lead));
    outer.x += lead;
    routes.push_back(outer);
}

// The two straight routes of a crossing, and a double slip's two slips.
void AddCrossingRoutes(std::vector<TrackRoute>& routes, const PieceDef& def) {
    const auto& c = def.connectors;
    const size_t n = c.size();
    if (n >= 2) routes.push_back(RouteBetween(c[0], c[1]));
    if (n >= 4) routes.push_back(RouteBetween(c[2], c[3]));
    if (def.kind == PieceKind::DoubleSlip && def.radius > 0 && n >= 4) {
        // The slips: from connector 0 towards connector 3's side, and from connector 2 back
        // towards the straight's end.
        const double side = c[3].y < 0 ? -1.0 : 1.0;
        const double turn = side * std::abs(def.angle);
        routes.push_back(ArcRoute(c[0].x, c[0].y, 0, def.radius, turn));
        routes.push_back(ArcRoute(c[2].x, c[2].y, c[2].heading + 180, def.radius, -turn));
    }
}

}  // namespace

std::vector<TrackRoute> TrackRoutes(const PieceDef& def) {
    std::vector<TrackRoute> routes;
    const auto& c = def.connectors;
    const int n = static_cast<int>(c.size());
    switch (def.kind) {
        case PieceKind::Curve:
            if (def.radius > 0) {
                const double side = (n >= 2 && c[1].y < 0) || (n < 2 && def.angle < 0) ? -1 : 1;
                routes.push_back(ArcRoute(0, 0, 0, def.radius, side * std::abs(def.angle)));
            } else {
                routes.push_back(StraightRoute(0, 0, 0, def.length));
            }
            break;
        case PieceKind::LeftTurnout:
        case PieceKind::RightTurnout:
            AddTurnoutRoutes(routes, def);
            break;
        case PieceKind::CurvedTurnout:
        case PieceKind::CurvedTurnoutK:
            AddCurvedTurnoutRoutes(routes, def);
            break;
        case PieceKind::Crossing:
        case PieceKind::DoubleSlip:
            AddCrossingRoutes(routes, def);
            break;
        case PieceKind::Turntable:
            if (def.radius > 4)
                routes.push_back(StraightRoute(-(def.radius - 4), 0, 0, 2 * (def.radius - 4)));
            break;
        default:  // straights, bumpers and any other kind: from the start to the far end
            if (def.kind != PieceKind::Straight && def.kind != PieceKind::Bumper && n >= 2 &&
                std::abs(c[1].y) > 0.01)
                routes.push_back(RouteBetween(c[0], c[1]));
            else if (def.length > 0)
                routes.push_back(StraightRoute(0, 0, 0, def.length));
            break;
    }
    std::erase_if(routes, [](const TrackRoute& r) { return !(r.length > 0.01); });
    return routes;
}

std::vector<double> SleeperCentres(double length) {
    std::vector<double> centres;
    for (double s = kSleeperFirst; s + kSleeperHalfLength <= length + 1e-9; s += kSleeperPitch)
        centres.push_back(s);
    return centres;
}

double TrackWidthScale(const PieceDef& def) {
    return def.system == TrackSystem::KatoN || def.system == TrackSystem::MinitrixN ? 9.0 / 16.5
                                                                                    : 1.0;
}

TrackRoute DistantRoute(const TrackRoute& route) {
    TrackRoute coarse = route;
    if (!(route.radius > kDistantChordErrorMm)) {
        coarse.segments = 1;
        return coarse;
    }
    const double maxTurnDeg = 2 * std::acos(1 - kDistantChordErrorMm / route.radius) / kDegToRad;
    coarse.segments = std::clamp(static_cast<int>(std::ceil(std::abs(route.turnDeg) / maxTurnDeg)),
                                 1, std::max(1, route.segments));
    return coarse;
}

void AddTrackProfile(Mesh& m, const TrackRoute& route, TrackDetail detail, double widthScale) {
    const double bed = kBedHalfWidth * widthScale;
    const double sleeper = kSleeperHalfWidth * widthScale;
    const double rail = kRailOffset * widthScale;
    TrackRoute coarse = route;
    if (detail == TrackDetail::Far) {
        // A few pixels wide on screen: a straight is one quad, a curve a few.
        coarse.segments =
            route.radius > 0 ? std::max(2, static_cast<int>(std::abs(route.turnDeg) / 7.5)) : 1;
    } else if (detail == TrackDetail::Distant) {
        coarse = DistantRoute(route);
    }
    const std::vector<Frame> frames = Frames(coarse);
    if (detail == TrackDetail::Far) {
        SweepStrip(m, frames, -bed, kBedTop, bed, kBedTop, kFarBedTopColour);
        return;
    }
    if (detail == TrackDetail::Distant) {
        // The bed's top and underside without its sides and ends: 2 mm high, those stand at most
        // a pixel tall here, yet as long slivers they cost the rasteriser as much as the top.
        // With the underside the bed still shows from below once culling hides its top.
        SweepStrip(m, frames, -bed, kBedTop, bed, kBedTop, kBedTopColour);
        SweepStrip(m, frames, bed, 0, -bed, 0, kBedSideColour);
        // The band lies on the sleepers' top, so that it hides the bed under it at any angle.
        SweepStrip(m, frames, -sleeper, kSleeperTop, sleeper, kSleeperTop, kTrackBandColour);
        return;
    }
    SweepBox(m, frames, -bed, bed, 0, kBedTop, kBedTopColour, kBedSideColour);
    for (double s : SleeperCentres(route.length))
        FrameBlock(m, route.At(s), kSleeperHalfLength, -sleeper, sleeper, kBedTop, kSleeperTop,
                   kSleeperTopColour, kSleeperSideColour, Underside::Open);
    for (double side : {-rail, rail})
        SweepBox(m, frames, side - kRailHalfWidth, side + kRailHalfWidth, kSleeperTop, kRailTop,
                 kRailTopColour, kRailSideColour, Underside::Open);
}

BridgeStructure BridgeStructureOf(const PieceDef& def) {
    if (!def.isBridge) return BridgeStructure::None;
    if (IsOneOf(def.article, {"74620", "7262", "62620", "89759"})) return BridgeStructure::Truss;
    if (IsOneOf(def.article, {"74623", "74613", "74618", "7569", "7267", "62623", "62613", "8976"}))
        return BridgeStructure::Ramp;
    return BridgeStructure::TiedArch;
}

namespace {

// The track in `detail` over its structure in `structure` detail.
Mesh BuildTrackMesh(const PieceDef& def, TrackDetail detail, TrackDetail structure) {
    // Structures come first: where the depth buffer cannot tell the deck from the bed just
    // above it, the track drawn later in the same mesh still wins.
    Mesh m;
    const std::vector<TrackRoute> routes = TrackRoutes(def);
    // Far away the pit stays as its floor, and a bridge keeps the outline of its structure: its
    // girders are thinner than a pixel, but without them a viaduct would read as a bare road.
    if (def.kind == PieceKind::Turntable) AddTurntablePit(m, def, structure != TrackDetail::Far);
    if (!routes.empty()) {
        if (structure == TrackDetail::Far)
            AddFarStructure(m, def, routes.front());
        else
            AddStructure(m, def,
                         structure == TrackDetail::Distant ? DistantRoute(routes.front())
                                                           : routes.front());
    }
    for (const TrackRoute& r : routes) AddTrackProfile(m, r, detail, TrackWidthScale(def));
    return m;
}

}  // namespace

Mesh BuildTrackMesh(const PieceDef& def, TrackDetail detail) {
    return BuildTrackMesh(def, detail, detail);
}

namespace {

void AddStructure(Mesh& m, const PieceDef& def, const TrackRoute& deck) {
    switch (BridgeStructureOf(def)) {
        case BridgeStructure::Truss:
            AddTruss(m, deck);
            break;
        case BridgeStructure::Ramp:
            AddRampStructure(m, deck);
            break;
        case BridgeStructure::TiedArch:
            AddTiedArch(m, deck);
            break;
        case BridgeStructure::None:
            break;
    }
}

// The structures as a few pixels show them: the same outline in a tenth of the triangles.
// Truss: the top chords, the end posts and one diagonal per two panels on each side; arch: the
// ribs in six struts with three hangers; ramp: its side walls.
void AddFarStructure(Mesh& m, const PieceDef& def, const TrackRoute& deck) {
    const double length = deck.length;
    TrackRoute coarse = deck;
    coarse.segments = deck.radius > 0 ? std::max(2, static_cast<int>(std::abs(deck.turnDeg) / 7.5))
                                      : 1;
    const std::vector<Frame> frames = Frames(coarse);
    switch (BridgeStructureOf(def)) {
        case BridgeStructure::Truss: {
            const double height = 44, bar = 4;
            const int bays = std::max(1, static_cast<int>(std::lround(length / 60)));
            for (double side : {-26.0, 26.0}) {
                SweepBox(m, frames, side - bar / 2, side + bar / 2, height - bar, height,
                         kBridgeSteel, kBridgeSteel);
                for (int i = 0; i < bays; ++i) {
                    const double s0 = std::clamp(length * i / bays, bar / 2, length - bar / 2);
                    const double s1 =
                        std::clamp(length * (i + 1) / bays, bar / 2, length - bar / 2);
                    // A V per bay: down to the deck at its middle and up again.
                    const double mid = (s0 + s1) / 2, low = bar / 2, high = height - bar / 2;
                    AddBeam(m, RoutePoint(deck, s0, side, high), RoutePoint(deck, mid, side, low),
                            bar, kBridgeSteel);
                    AddBeam(m, RoutePoint(deck, mid, side, low), RoutePoint(deck, s1, side, high),
                            bar, kBridgeSteel);
                }
            }
            break;
        }
        case BridgeStructure::TiedArch:
            for (double side : {-27.0, 27.0}) {
                auto rib = [&](double t) {
                    const double x = (1 - std::cos(t * std::numbers::pi)) / 2 * length;
                    return RoutePoint(deck, x, side, std::sin(t * std::numbers::pi) * 99);
                };
                for (int k = 0; k < 6; ++k) AddBeam(m, rib(k / 6.0), rib((k + 1) / 6.0), 5, kArchRib);
                for (int k = 1; k <= 3; ++k) {
                    const double t = k / 4.0;
                    const double x = (1 - std::cos(t * std::numbers::pi)) / 2 * length;
                    AddBeam(m, rib(t), RoutePoint(deck, x, side, 0), 2.5, kArchRib);
                }
            }
            break;
        case BridgeStructure::Ramp:
            for (double side : {-21.0, 21.0})
                SweepBox(m, frames, side - 1, side + 1, 0, 9, kBridgeBeam, kBridgeSteel);
            break;
        case BridgeStructure::None:
            break;
    }
}

}  // namespace

Mesh BuildBumperMesh(const PieceDef& def, TrackDetail detail) {
    Mesh m;
    const double length = std::max(def.length, 4.0);
    const TrackRoute route = StraightRoute(0, 0, 0, length);
    AddTrackProfile(m, route, detail, TrackWidthScale(def));
    // The buffer stop: a block across the track at its far end with a buffer beam facing back.
    const double depth = std::min(10.0, length / 2);
    const Colour3 block{0.55f, 0.20f, 0.15f}, blockSide{0.42f, 0.15f, 0.11f};
    const Colour3 beam{0.85f, 0.82f, 0.20f}, beamSide{0.20f, 0.20f, 0.20f};
    AddBox(m, {length - depth, -14, kBedTop}, {length, 14, 14}, block, blockSide);
    AddBox(m, {length - depth - 2, -12, 9}, {length - depth, 12, 13}, beam, beamSide);
    return m;
}

Mesh BuildSmallBridgeMesh(const PieceDef& def) {
    if (def.kind == PieceKind::Bumper || BridgeStructureOf(def) == BridgeStructure::None)
        return Mesh{};
    return BuildTrackMesh(def, TrackDetail::Distant, TrackDetail::Far);
}

Mesh BuildPieceMesh(const PieceDef& def, TrackDetail detail) {
    return def.kind == PieceKind::Bumper ? BuildBumperMesh(def, detail)
                                         : BuildTrackMesh(def, detail);
}
