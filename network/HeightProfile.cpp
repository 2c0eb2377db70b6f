// The height profile of a route and the edits that set heights along it.
#include "network/HeightProfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "catalog/TrackClearance.h"
#include "model/GradeRuns.h"
#include "network/HelixTrack.h"
#include "model/GradeRuns.h"

namespace {

// Crossing centre lines that both end within this of the crossing point only touch (as in the
// layout check).
constexpr double kEndTouchMm = 0.5;
// Crossings of one other piece closer than this along the route are one crossing.
constexpr double kSameCrossingMm = 20.0;
// Grid cell for finding the route segments near another track.
constexpr double kCellMm = 250.0;


double Cross(PointMm a, PointMm b) { return a.x * b.y - a.y * b.x; }
PointMm Sub(PointMm a, PointMm b) { return {a.x - b.x, a.y - b.y}; }

int64_t CellKey(int64_t cx, int64_t cy) { return (cx << 32) ^ (cy & 0xFFFFFFFF); }

// One segment of the route: its step, and its index in that step's line.
struct RouteSegment {
    uint32_t step;
    uint32_t k;
};

// Every connector's share of a piece's rise, as PieceRoutes lays the heights: 0 at connector 0,
// 1 at the end of a route from connector 0, otherwise the connector's place along the axis.
double ConnectorShare(const PieceDef& def, int connector) {
    if (connector == 0) return 0;
    if (connector == kBufferEnd) return 1;
    switch (def.kind) {
        case PieceKind::Crossing:
            if (connector == 1) return 1;
            break;
        case PieceKind::DoubleSlip:
            if (connector == 1 || connector == 3) return 1;
            break;
        case PieceKind::Turntable:
        case PieceKind::Bumper:
            break;
        default:
            return 1;
    }
    double axisRun = def.length > 0 ? def.length : 1.0;
    if (def.connectors.size() >= 2 && def.connectors[1].x > 1.0) axisRun = def.connectors[1].x;
    const Connector& c = def.connectors[connector];
    return std::clamp(c.x / axisRun, 0.0, 1.0);
}

// The elevation and grade that give a piece the heights ha at connector a and hb at connector b
// (when a and b lie at the same share of the rise, the grade is kept and the piece moves to ha).
struct PieceHeights {
    double elevation = 0;
    double gradeDeg = 0;
    bool possible = true;
};
PieceHeights SolveHeights(const PlacedPiece& piece, const PieceDef& def, int a, double ha, int b,
                          double hb) {
    PieceHeights out;
    const double sa = ConnectorShare(def, a), sb = ConnectorShare(def, b);
    const double run = RunLength(def);
    if (std::fabs(sb - sa) < 1e-9 || run <= 0) {
        out.gradeDeg = piece.grade;
        out.elevation = ha - PieceRise(piece) * sa;
        return out;
    }
    const double rise = (hb - ha) / (sb - sa);
    if (std::fabs(rise) >= run) {
        out.possible = false;
        return out;
    }
    out.gradeDeg = std::asin(rise / run) / kDegToRad;
    out.elevation = ha - rise * sa;
    return out;
}

// What the edits need of a route: every piece present and known, none passed twice.
std::string CheckRoute(const LayoutDocument& doc, const TrackGraph& graph, const Route& route) {
    if (route.steps.empty()) return Tr("There is no route.");
    std::unordered_set<uint32_t> seen;
    for (const RouteStep& step : route.steps) {
        if (IsHelixTrackId(step.piece))
            return Tr("The route runs through a helix, whose rise cannot be changed.");
        const PlacedPiece* piece = doc.FindPiece(step.piece);
        if (!piece) return Tr("A piece of the route is no longer in the layout.");
        if (!TrackCatalog::Instance().Find(piece->article))
            return Format(Tr("Article %s is not in the catalog.").c_str(), piece->article.c_str());
        if (graph.RouteLength(step.piece, step.entry, step.exit) < 0)
            return Format(Tr("The route does not lead through %s that way.").c_str(),
                          piece->article.c_str());
        if (!seen.insert(step.piece).second)
            return Format(
                Tr("The route passes %s twice; one piece cannot take two grades.").c_str(),
                piece->article.c_str());
    }
    return "";
}

// The heights wanted at both ends of some of the route's steps.
struct StepHeights {
    size_t step;
    double entryMm;
    double exitMm;
};

// Gives each listed step its two end heights; refuses, changing nothing, when a grade would pass
// the maximum (when `limit` is set) or cannot be built at all.
std::string ApplyHeights(LayoutDocument& doc, const Route& route,
                         const std::vector<StepHeights>& wanted, bool limit) {
    std::vector<PieceHeights> solved;
    for (const StepHeights& w : wanted) {
        const RouteStep& step = route.steps[w.step];
        const PlacedPiece& piece = *doc.FindPiece(step.piece);
        const PieceDef& def = *TrackCatalog::Instance().Find(piece.article);
        const PieceHeights h = SolveHeights(piece, def, step.entry, w.entryMm, step.exit, w.exitMm);
        if (!h.possible)
            return Format(Tr("No grade of %s reaches that height.").c_str(), piece.article.c_str());
        if (limit && std::fabs(h.gradeDeg) > kMaxGradeDeg + 1e-9)
            return Format(
                Tr("The grade would be %.1f deg on %s, past the %.0f deg maximum.").c_str(),
                std::fabs(h.gradeDeg), piece.article.c_str(), kMaxGradeDeg);
        solved.push_back(h);
    }
    doc.PushUndo();
    for (size_t i = 0; i < wanted.size(); ++i) {
        PlacedPiece& piece = *doc.FindPiece(route.steps[wanted[i].step].piece);
        piece.elevation = solved[i].elevation;
        piece.grade = std::fabs(solved[i].gradeDeg) <= kFlatGradeDeg ? 0 : solved[i].gradeDeg;
        // A run headed here goes on at the piece's new grade.
        for (GradeRun& run : doc.gradeRuns) {
            if (run.anchorPiece >= 0 && static_cast<uint32_t>(run.anchorPiece) == piece.id)
                run.gradeDeg = piece.grade;
        }
    }
    doc.RefreshCurrentGrade();
    return "";
}

// The route's line through each step, with the profile's points and grades along it and the
// distance at which each step starts.
std::vector<TrackRoute> StepLines(const TrackGraph& graph, const Route& route,
                                  HeightProfile& profile, std::vector<double>& starts) {
    std::vector<TrackRoute> lines;
    double distance = 0;
    for (const RouteStep& step : route.steps) {
        lines.push_back(StepLine(graph, step.piece, step.entry, step.exit));
        const TrackRoute& line = lines.back();
        const double h0 = line.heights.empty() ? 0 : line.heights.front();
        const double h1 = line.heights.empty() ? 0 : line.heights.back();
        starts.push_back(distance);
        profile.points.push_back({distance, h0, step.piece, step.entry});
        profile.sections.push_back(
            {step.piece, step.lengthMm > 0 ? (h1 - h0) / step.lengthMm * 100 : 0});
        distance += step.lengthMm;
    }
    const RouteStep& last = route.steps.back();
    const TrackRoute& lastLine = lines.back();
    profile.points.push_back(
        {distance, lastLine.heights.empty() ? 0 : lastLine.heights.back(), last.piece, last.exit});
    return lines;
}

// Visits the key of every grid cell the box of segment ab touches.
template <typename Visit>
void ForCellsOf(PointMm a, PointMm b, Visit&& visit) {
    const int64_t x0 = static_cast<int64_t>(std::floor(std::min(a.x, b.x) / kCellMm));
    const int64_t x1 = static_cast<int64_t>(std::floor(std::max(a.x, b.x) / kCellMm));
    const int64_t y0 = static_cast<int64_t>(std::floor(std::min(a.y, b.y) / kCellMm));
    const int64_t y1 = static_cast<int64_t>(std::floor(std::max(a.y, b.y) / kCellMm));
    for (int64_t cx = x0; cx <= x1; ++cx)
        for (int64_t cy = y0; cy <= y1; ++cy) visit(CellKey(cx, cy));
}

// The route's segments on a grid, so each other track meets only the segments near it.
using SegmentGrid = std::unordered_map<int64_t, std::vector<RouteSegment>>;

SegmentGrid GridOf(const std::vector<TrackRoute>& lines) {
    SegmentGrid grid;
    for (uint32_t s = 0; s < lines.size(); ++s) {
        for (uint32_t k = 0; k + 1 < lines[s].points.size(); ++k) {
            ForCellsOf(lines[s].points[k], lines[s].points[k + 1], [&](int64_t key) {
                grid[key].push_back({s, k});
            });
        }
    }
    return grid;
}

// Where the route's segment seg crosses segment j of another piece's line, at different
// heights; false when they miss, only touch at their ends, or lie on one deck.
bool CrossingOf(const TrackRoute& line, const RouteSegment& seg, double start,
                const TrackRoute& other, size_t j, uint32_t otherPiece, ProfileCrossing& out) {
    const PointMm q0 = other.points[j], q1 = other.points[j + 1];
    const PointMm p0 = line.points[seg.k], p1 = line.points[seg.k + 1];
    const PointMm d = Sub(p1, p0), e = Sub(q1, q0);
    const double den = Cross(d, e);
    if (std::fabs(den) < 1e-12) return false;
    const double t = Cross(Sub(q0, p0), e) / den;
    const double u = Cross(Sub(q0, p0), d) / den;
    if (t < 0 || t > 1 || u < 0 || u > 1) return false;
    const double da = line.along[seg.k] + t * (line.along[seg.k + 1] - line.along[seg.k]);
    const double db = other.along[j] + u * (other.along[j + 1] - other.along[j]);
    const bool endA = da < kEndTouchMm || da > line.Length() - kEndTouchMm;
    const bool endB = db < kEndTouchMm || db > other.Length() - kEndTouchMm;
    if (endA && endB) return false;
    const double ha = line.heights[seg.k] + (line.heights[seg.k + 1] - line.heights[seg.k]) * t;
    const double hb = other.heights[j] + (other.heights[j + 1] - other.heights[j]) * u;
    if (std::fabs(hb - ha) < kProfileOneDeckMm) return false;
    out = {start + da, otherPiece, std::fabs(hb - ha), hb > ha};
    return true;
}

// Every crossing of the route with the other pieces' lines, in the order the pieces are met.
std::vector<ProfileCrossing> FindCrossings(const TrackGraph& graph, const Route& route,
                                           const std::vector<TrackRoute>& lines,
                                           const std::vector<double>& starts) {
    const SegmentGrid grid = GridOf(lines);
    std::vector<ProfileCrossing> found;
    std::vector<RouteSegment> near;
    for (const auto& node : graph.Pieces()) {
        for (const TrackRoute& other : node->lines) {
            for (size_t j = 0; j + 1 < other.points.size(); ++j) {
                near.clear();
                ForCellsOf(other.points[j], other.points[j + 1], [&](int64_t key) {
                    const auto it = grid.find(key);
                    if (it != grid.end())
                        near.insert(near.end(), it->second.begin(), it->second.end());
                });
                for (const RouteSegment& seg : near) {
                    if (route.steps[seg.step].piece == node->id) continue;
                    ProfileCrossing c;
                    if (CrossingOf(lines[seg.step], seg, starts[seg.step], other, j, node->id, c))
                        found.push_back(c);
                }
            }
        }
    }
    return found;
}

// A segment boundary or a turnout's two routes find one crossing more than once: the one with
// the least clearance is kept.
void KeepTightestCrossings(std::vector<ProfileCrossing>& found,
                           std::vector<ProfileCrossing>& crossings) {
    std::sort(found.begin(), found.end(), [](const ProfileCrossing& a, const ProfileCrossing& b) {
        return a.distanceMm < b.distanceMm;
    });
    for (const ProfileCrossing& c : found) {
        auto same = std::find_if(crossings.begin(), crossings.end(), [&](const ProfileCrossing& k) {
            return k.otherPiece == c.otherPiece &&
                   std::fabs(k.distanceMm - c.distanceMm) < kSameCrossingMm;
        });
        if (same == crossings.end()) {
            crossings.push_back(c);
        } else if (c.clearanceMm < same->clearanceMm) {
            *same = c;
        }
    }
}

}  // namespace

double NeededClearanceMm(const LayoutDocument& doc, uint32_t pieceId) {
    const PlacedPiece* piece = doc.FindPiece(pieceId);
    const PieceDef* def = piece ? TrackCatalog::Instance().Find(piece->article) : nullptr;
    if (!def) return 0;
    return DefaultClearanceMm(def->system);
}

HeightProfile BuildProfile(const LayoutDocument& doc, const Route& route) {
    return BuildProfile(doc, BuildTrackGraph(doc), route);
}

HeightProfile BuildProfile(const LayoutDocument& doc, const TrackGraph& graph, const Route& route) {
    (void)doc;
    HeightProfile profile;
    if (route.steps.empty()) return profile;
    std::vector<double> starts;
    const std::vector<TrackRoute> lines = StepLines(graph, route, profile, starts);
    std::vector<ProfileCrossing> found = FindCrossings(graph, route, lines, starts);
    KeepTightestCrossings(found, profile.crossings);
    return profile;
}

std::string EvenGrade(LayoutDocument& doc, const Route& route) {
    const TrackGraph graph = BuildTrackGraph(doc);
    if (std::string why = CheckRoute(doc, graph, route); !why.empty()) return why;
    const HeightProfile profile = BuildProfile(doc, graph, route);
    const double first = profile.points.front().heightMm, last = profile.points.back().heightMm;
    const double total = profile.points.back().distanceMm;
    if (total <= 0) return Tr("The route has no length.");
    auto heightAt = [&](double d) { return first + (last - first) * d / total; };
    std::vector<StepHeights> wanted;
    for (size_t i = 0; i < route.steps.size(); ++i) {
        wanted.push_back({i, heightAt(profile.points[i].distanceMm),
                          heightAt(profile.points[i + 1].distanceMm)});
    }
    return ApplyHeights(doc, route, wanted, true);
}

std::string SetProfileHeight(LayoutDocument& doc, const Route& route, size_t pointIndex,
                             double heightMm) {
    const TrackGraph graph = BuildTrackGraph(doc);
    if (std::string why = CheckRoute(doc, graph, route); !why.empty()) return why;
    if (pointIndex > route.steps.size()) return Tr("There is no such joint on the route.");
    // The pieces on both sides of the point keep their heights at their far ends.
    std::vector<StepHeights> wanted;
    for (size_t i = pointIndex == 0 ? 0 : pointIndex - 1;
         i <= pointIndex && i < route.steps.size(); ++i) {
        const RouteStep& step = route.steps[i];
        const TrackRoute line = StepLine(graph, step.piece, step.entry, step.exit);
        StepHeights w{i, line.heights.front(), line.heights.back()};
        if (i == pointIndex) w.entryMm = heightMm;
        if (i + 1 == pointIndex) w.exitMm = heightMm;
        wanted.push_back(w);
    }
    return ApplyHeights(doc, route, wanted, false);
}
