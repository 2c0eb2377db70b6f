// Shapes and colours of track pieces on the canvas.
#include "trackgeometry/PieceGeometry.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"

namespace {

uint8_t Channel(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

PointMm Along(double x, double y, double headingDeg, double dist) {
    return {x + std::cos(headingDeg * kDegToRad) * dist,
            y + std::sin(headingDeg * kDegToRad) * dist};
}

PieceShape Band(std::vector<PointMm> pts, Rgb fill, Rgb outline) {
    PieceShape s;
    s.type = PieceShape::Type::Polygon;
    s.points = std::move(pts);
    s.filled = true;
    s.fill = fill;
    s.pen = outline;
    return s;
}

// Local connector i turned into the world frame of a piece at (x, y, heading).
PointMm ConnectorWorld(const PieceDef& def, int i, double x, double y, double headingDeg) {
    const Connector& c = def.connectors[i];
    const double r = headingDeg * kDegToRad;
    return {c.x * std::cos(r) - c.y * std::sin(r) + x, c.x * std::sin(r) + c.y * std::cos(r) + y};
}

}  // namespace

BranchStraights BranchStraightsOf(const PieceDef& def, const Connector& c) {
    const double a = c.heading > 180 ? 360 - c.heading : c.heading;
    if (def.radius < 1 || a < 1e-6 || a >= 90) return {};
    const double extension = (std::abs(c.y) - def.radius * (1 - CosDeg(a))) / SinDeg(a);
    const double lead = c.x - def.radius * SinDeg(a) - extension * CosDeg(a);
    if (std::abs(lead) < 0.05 && std::abs(extension) < 0.05) return {};
    if (lead < -0.05 || extension < -0.05) return {};
    return {std::max(0.0, lead), std::max(0.0, extension)};
}

double BandHalfWidth(const PieceDef& def) {
    // Kato's roadbed is 25 mm wide; Minitrix has sleepers only.
    switch (def.system) {
        case TrackSystem::MarklinZ:
            return 6.0;
        case TrackSystem::KatoN:
            return 12.5;
        case TrackSystem::MinitrixN:
            return 8.5;
        default:
            return 18.7;
    }
}

Rgb ElevationTint(double elevationMm) {
    const double t = std::min(elevationMm / 120.0, 1.0);
    if (t < 0.5) {
        const double u = 2 * t;
        return {static_cast<uint8_t>(210 + 45 * u), static_cast<uint8_t>(210 + 10 * u),
                static_cast<uint8_t>(205 - 145 * u)};
    }
    const double u = 2 * (t - 0.5);
    return {static_cast<uint8_t>(255 - 75 * u), static_cast<uint8_t>(220 - 110 * u),
            static_cast<uint8_t>(60 - 60 * u)};
}

Rgb ElevationOutline(Rgb fill) {
    return {Channel(fill.r - 60), Channel(fill.g - 60), Channel(fill.b - 30)};
}

Rgb TunnelFade(Rgb c) {
    auto fade = [](uint8_t v) { return static_cast<uint8_t>(0.4 * v + 132); };
    return {fade(c.r), fade(c.g), fade(c.b)};
}

Rgb Darken(Rgb c, int dr, int dg, int db) {
    return {Channel(c.r - dr), Channel(c.g - dg), Channel(c.b - db)};
}

Rgb Lighten(Rgb c, int dr, int dg, int db) {
    return {Channel(c.r + dr), Channel(c.g + dg), Channel(c.b + db)};
}

PieceColours PieceColoursFor(const PlacedPiece& piece, const PieceDef& def, const PieceLook& look) {
    PieceColours c;
    if (look.selected) {
        return {kPieceFillSelected, kPieceOutlineSelected};
    }
    c.fill = def.system == TrackSystem::MarklinK ? kPieceFillK : kPieceFill;
    c.outline = kPieceOutline;
    if (look.level && look.level->colourTrack) c.fill = look.level->colour;
    if (piece.hasColour) c.fill = piece.colour;
    const bool flatHelixTrack =
        std::abs(piece.grade) < 0.001 && (piece.helixId != kNoId || look.helixLinked);
    if (piece.elevation > 0.5 && !flatHelixTrack) {
        c.fill = ElevationTint(piece.elevation);
        c.outline = ElevationOutline(c.fill);
    }
    if (look.inTunnel) {
        c.fill = TunnelFade(c.fill);
        c.outline = TunnelFade(c.outline);
    }
    return c;
}

std::vector<PointMm> StraightBand(double x, double y, double headingDeg, double length, double w) {
    const double h = headingDeg * kDegToRad;
    const double dx = std::cos(h), dy = std::sin(h);
    const double nx = -dy * w, ny = dx * w;
    const double ex = x + dx * length, ey = y + dy * length;
    return {{x + nx, y + ny}, {ex + nx, ey + ny}, {ex - nx, ey - ny}, {x - nx, y - ny}};
}

std::vector<PointMm> StraightBandBetween(PointMm a, PointMm b, double w) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const double heading = std::atan2(b.y - a.y, b.x - a.x) / kDegToRad;
    return StraightBand(a.x, a.y, heading, len, w);
}

int ArcSegments(double angleDeg) {
    return std::max(16, static_cast<int>(std::abs(angleDeg) / 1.5));
}

std::vector<PointMm> ArcLine(double x, double y, double headingDeg, double radius, double angleDeg,
                             double sideOffset, int segments) {
    // The centre lies on the side the arc turns to; sideOffset > 0 widens the radius.
    const double side = angleDeg < 0 ? -1.0 : 1.0;
    const double h = headingDeg * kDegToRad;
    const double cx = x - std::sin(h) * radius * side;
    const double cy = y + std::cos(h) * radius * side;
    const double r = radius + sideOffset;
    // Angle of the start point seen from the centre.
    const double start = std::atan2(y - cy, x - cx);
    std::vector<PointMm> pts;
    pts.reserve(segments + 1);
    for (int i = 0; i <= segments; ++i) {
        const double a = start + angleDeg * kDegToRad * i / segments;
        pts.push_back({cx + std::cos(a) * r, cy + std::sin(a) * r});
    }
    return pts;
}

std::vector<PointMm> CurveBand(double x, double y, double headingDeg, double radius,
                               double angleDeg, double w, double fallbackLength) {
    if (radius < 1.0) return StraightBand(x, y, headingDeg, fallbackLength, w);
    const int n = ArcSegments(angleDeg);
    std::vector<PointMm> outer = ArcLine(x, y, headingDeg, radius, angleDeg, w, n);
    std::vector<PointMm> inner = ArcLine(x, y, headingDeg, radius, angleDeg, -w, n);
    outer.insert(outer.end(), inner.rbegin(), inner.rend());
    return outer;
}

namespace {

// Branch angle of a turnout: the stored angle, limited so the branch ends within the length.
// A branch of the turnout at (x, y, heading) turning `turn` degrees: its arc, and the straights
// before and after the arc where the branch ending at `end` has them.
void AddBranch(std::vector<PieceShape>& out, const PieceDef& def, const Connector& end, double x,
               double y, double heading, double turn, double w, Rgb fill, Rgb outline) {
    const BranchStraights s = BranchStraightsOf(def, end);
    if (s.lead == 0 && s.extension == 0) {
        out.push_back(
            Band(CurveBand(x, y, heading, def.radius, turn, w, def.length), fill, outline));
        return;
    }
    out.push_back(Band(StraightBand(x, y, heading, s.lead, w), fill, outline));
    const PointMm start = Along(x, y, heading, s.lead);
    out.push_back(
        Band(CurveBand(start.x, start.y, heading, def.radius, turn, w, def.length), fill, outline));
    const PointMm arcEnd =
        ArcLine(start.x, start.y, heading, def.radius, turn, 0, ArcSegments(turn)).back();
    out.push_back(
        Band(StraightBand(arcEnd.x, arcEnd.y, heading + turn, s.extension, w), fill, outline));
}

double BranchAngle(const PieceDef& def) {
    if (def.radius < 1.0) return def.angle;
    const double limit = std::asin(std::min(1.0, def.length / def.radius)) / kDegToRad;
    return std::min(std::abs(def.angle), limit);
}

void AddCurvedTurnout(std::vector<PieceShape>& out, const PieceDef& def, double x, double y,
                      double heading, double lead, Rgb fill, Rgb outline, double w) {
    const Rgb darker = Darken(fill, 15, 15, 10);
    out.push_back(
        Band(CurveBand(x, y, heading, def.radius, def.angle, w, def.length), fill, outline));
    const auto& c = def.connectors;
    double outerRadius = def.radius;
    if (c.size() >= 3 && std::abs(c[2].y - c[1].y) > 0.01) {
        // The outer route ends off the inner one's line: a straight lead, then the arc of the
        // turnout's angle that reaches the outer end.
        const double a = std::abs(def.angle);
        outerRadius = std::abs(c[2].y) / (1 - CosDeg(a));
        lead = c[2].x - outerRadius * SinDeg(a);
    }
    if (lead > 0.01) out.push_back(Band(StraightBand(x, y, heading, lead, w), darker, outline));
    const PointMm end = Along(x, y, heading, lead);
    out.push_back(Band(CurveBand(end.x, end.y, heading, outerRadius, def.angle, w, def.length),
                       darker, outline));
}

void AddTurntable(std::vector<PieceShape>& out, const PieceDef& def, double x, double y,
                  double heading, Rgb fill, Rgb outline, bool selected, double zoom,
                  const PlacedPiece* piece) {
    PieceShape pit;
    pit.type = PieceShape::Type::Circle;
    pit.points = {{x, y}};
    pit.radiusMm = def.length / 2;
    pit.filled = true;
    pit.fill = {220, 215, 210};
    pit.pen = outline;
    out.push_back(pit);
    PieceShape deck = pit;
    deck.radiusMm = def.radius;
    deck.fill = fill;
    out.push_back(deck);

    PieceShape bridge;
    bridge.type = PieceShape::Type::Line;
    bridge.points = {Along(x, y, heading + 180, def.radius), Along(x, y, heading, def.radius)};
    bridge.pen = selected ? Rgb{40, 100, 200} : Rgb{80, 60, 40};
    bridge.penWidth = 3;
    out.push_back(bridge);

    const int n = static_cast<int>(def.connectors.size());
    if (piece) {
        for (int i = 0; i < n; ++i) {
            if (piece->IsOpen(i)) continue;
            const PointMm c = ConnectorWorld(def, i, x, y, heading);
            const double dir = std::atan2(c.y - y, c.x - x) / kDegToRad;
            PieceShape track;
            track.type = PieceShape::Type::Line;
            track.points = {Along(x, y, dir, def.length / 2), c};
            track.pen = {100, 80, 60};
            track.penWidth = 2;
            out.push_back(track);
        }
    }
    const int dot = std::max(2, static_cast<int>(3 * zoom));
    for (int i = 0; i < n; ++i) {
        PieceShape s;
        s.type = PieceShape::Type::Circle;
        s.points = {ConnectorWorld(def, i, x, y, heading)};
        s.radiusPx = dot;
        s.filled = true;
        s.fill = {160, 140, 100};
        s.stroked = false;
        out.push_back(s);
    }
}

// A turnout's routes: the through band and its branches, the diverging ones a little darker.
void AddTurnout(std::vector<PieceShape>& out, const PieceDef& def, double x, double y,
                double heading, Rgb fill, Rgb outline, double w) {
    const int nConn = static_cast<int>(def.connectors.size());
    const Rgb darker = Darken(fill, 15, 15, 10);
    const double branch = BranchAngle(def);
    const PieceShape through = Band(StraightBand(x, y, heading, def.length, w), fill, outline);
    if (nConn == 3 && std::abs(def.connectors[1].y) > 1.0) {
        // A wye: two branches and no through route.
        out.push_back(
            Band(CurveBand(x, y, heading, def.radius, branch, w, def.length), fill, outline));
        out.push_back(
            Band(CurveBand(x, y, heading, def.radius, -branch, w, def.length), darker, outline));
    } else if (nConn >= 4) {
        // Three-way: both branches under the through route.
        AddBranch(out, def, def.connectors[2], x, y, heading, branch, w, darker, outline);
        AddBranch(out, def, def.connectors[3], x, y, heading, -branch, w, darker, outline);
        out.push_back(through);
    } else {
        double side = def.angle < 0 ? -1.0 : 1.0;
        if (def.angle == 0 && nConn >= 3 && def.connectors[2].y < 0) side = -1.0;
        out.push_back(through);
        if (nConn >= 3)
            AddBranch(out, def, def.connectors[2], x, y, heading, side * branch, w, darker,
                      outline);
        else
            out.push_back(Band(CurveBand(x, y, heading, def.radius, side * branch, w, def.length),
                               darker, outline));
    }
}

// A double slip's two straight routes and, when it has a radius, the slips between them.
void AddDoubleSlip(std::vector<PieceShape>& out, const PieceDef& def, double x, double y,
                   double heading, Rgb fill, Rgb outline, double w) {
    const int nConn = static_cast<int>(def.connectors.size());
    if (nConn >= 2 && std::abs(def.connectors[1].y) < 1.0) {
        out.push_back(Band(StraightBandBetween(ConnectorWorld(def, 0, x, y, heading),
                                               ConnectorWorld(def, 1, x, y, heading), w),
                           fill, outline));
    }
    if (nConn >= 4) {
        out.push_back(Band(StraightBandBetween(ConnectorWorld(def, 2, x, y, heading),
                                               ConnectorWorld(def, 3, x, y, heading), w),
                           Darken(fill, 8, 8, 4), outline));
    }
    if (def.radius > 0) {
        const Rgb slipFill = Lighten(fill, 10, 10, 18);
        // The slips run from connector 0 turning towards connector 3, and from
        // connector 2 turning back towards connector 1.
        struct Slip {
            int conn;
            double turn;
        };
        const Slip slips[] = {{0, def.angle}, {2, -def.angle}};
        for (const Slip& slip : slips) {
            if (slip.conn >= nConn) continue;
            const PointMm start = ConnectorWorld(def, slip.conn, x, y, heading);
            const double inward = def.connectors[slip.conn].heading + heading + 180;
            PieceShape band =
                Band(CurveBand(start.x, start.y, inward, def.radius, slip.turn, w, def.length),
                     slipFill, slipFill);
            out.push_back(band);
            const int n = ArcSegments(slip.turn);
            for (double side : {w, -w}) {
                PieceShape edge;
                edge.type = PieceShape::Type::Polyline;
                edge.points = ArcLine(start.x, start.y, inward, def.radius, slip.turn, side, n);
                edge.pen = outline;
                out.push_back(edge);
            }
        }
    }
}

}  // namespace

std::vector<PieceShape> BuildPieceShapes(const PieceDef& def, double x, double y, double heading,
                                         Rgb fill, Rgb outline, bool selected, double zoom,
                                         const PlacedPiece* piece) {
    std::vector<PieceShape> out;
    const double w = BandHalfWidth(def);
    const int nConn = static_cast<int>(def.connectors.size());
    switch (def.kind) {
        case PieceKind::Curve:
            out.push_back(Band(CurveBand(x, y, heading, def.radius, def.angle, w, def.length), fill,
                               outline));
            break;
        case PieceKind::LeftTurnout:
        case PieceKind::RightTurnout:
            AddTurnout(out, def, x, y, heading, fill, outline, w);
            break;
        case PieceKind::CurvedTurnout: {
            const double lead =
                nConn >= 3 ? std::abs(def.connectors[2].x - def.connectors[1].x) : 77.5;
            AddCurvedTurnout(out, def, x, y, heading, lead, fill, outline, w);
            break;
        }
        case PieceKind::CurvedTurnoutK:
            AddCurvedTurnout(out, def, x, y, heading, def.length, fill, outline, w);
            break;
        case PieceKind::DoubleSlip:
            AddDoubleSlip(out, def, x, y, heading, fill, outline, w);
            break;
        case PieceKind::Crossing:
            out.push_back(Band(StraightBand(x, y, heading, def.length, w), fill, outline));
            if (nConn >= 4) {
                out.push_back(Band(StraightBandBetween(ConnectorWorld(def, 2, x, y, heading),
                                                       ConnectorWorld(def, 3, x, y, heading), w),
                                   Darken(fill, 10, 10, 5), outline));
            }
            break;
        case PieceKind::Turntable:
            AddTurntable(out, def, x, y, heading, fill, outline, selected, zoom, piece);
            break;
        case PieceKind::Bumper: {
            out.push_back(Band(StraightBand(x, y, heading, def.length, w), fill, outline));
            // The stop bar across the closed end, a little wider than the track, so that a
            // bumper does not look like a plain straight.
            const double bar = StopBarLength(def);
            const double endX = x + CosDeg(heading) * (def.length - bar);
            const double endY = y + SinDeg(heading) * (def.length - bar);
            out.push_back(Band(StraightBand(endX, endY, heading, bar, w * 1.4), kStopBarFill,
                               Darken(kStopBarFill, 60, 30, 30)));
            break;
        }
        default:  // straights and anything unknown
            out.push_back(Band(StraightBand(x, y, heading, def.length, w), fill, outline));
            break;
    }
    return out;
}

bool BandDrawnAsLine(double halfWidthMm, double zoom) {
    return 2 * halfWidthMm * zoom < kThinBandPx;
}

int BandLineWidthPx(double halfWidthMm, double zoom) {
    return std::max(1, static_cast<int>(std::lround(2 * halfWidthMm * zoom)));
}

Rgb ThinBandColour(Rgb fill, Rgb outline, bool selected) {
    if (selected) return outline;
    auto mean = [](uint8_t a, uint8_t b) { return static_cast<uint8_t>((a + b) / 2); };
    return {mean(fill.r, outline.r), mean(fill.g, outline.g), mean(fill.b, outline.b)};
}

std::vector<PointMm> BandCentreLine(const std::vector<PointMm>& band) {
    std::vector<PointMm> line;
    const size_t n = band.size();
    if (n < 4 || n % 2 != 0) return line;
    line.reserve(n / 2);
    for (size_t i = 0; i < n / 2; ++i) {
        const PointMm a = band[i], b = band[n - 1 - i];
        line.push_back({(a.x + b.x) / 2, (a.y + b.y) / 2});
    }
    return line;
}

PointMm PieceMidpoint(const PlacedPiece& piece, const PieceDef& def) {
    if (def.kind == PieceKind::Curve && def.radius > 0) {
        const std::vector<PointMm> arc =
            ArcLine(piece.x, piece.y, piece.heading, def.radius, def.angle / 2, 0, 1);
        return arc.back();
    }
    return Along(piece.x, piece.y, piece.heading, def.length / 2);
}

bool IsCircuitTrack(const PieceDef& def) {
    return def.article == "24994" || def.article == "24294";
}

double StopBarLength(const PieceDef& def) { return std::clamp(def.length * 0.2, 3.0, 12.0); }

PointMm ArticleLabelPoint(const PlacedPiece& piece, const PieceDef& def) {
    if (def.kind != PieceKind::Bumper) return PieceMidpoint(piece, def);
    return Along(piece.x, piece.y, piece.heading, (def.length - StopBarLength(def)) / 2);
}

bool LabelFitsPiece(const PieceDef& def, int textWidthPx, int dotRadiusPx, double zoom) {
    if (def.length <= 0) return true;
    const double room = def.kind == PieceKind::Bumper ? def.length - StopBarLength(def)
                                                      : def.length;
    return textWidthPx <= room * zoom - 2.0 * dotRadiusPx - 2.0;
}
