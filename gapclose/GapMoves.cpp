// Gap search moves: the catalog's straights, curves and turnout legs as rigid steps.
#include "gapclose/GapMoves.h"

#include <algorithm>
#include <cmath>

#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/ConnectorJoins.h"
#include "base/Geometry.h"

namespace {

// Shapes closer than this are one shape (catalog coordinates carry a few digits).
constexpr double kSameShapeMm = 1e-6;
constexpr double kSameTurnDeg = 1e-6;
// Heading units tried, coarsest first; each divides a full turn.
constexpr double kUnitsDeg[] = {15, 7.5, 5, 3, 2.5, 1.5, 1, 0.5, 0.25, 0.1, 0.05, 0.01};

bool IsTurnout(PieceKind kind) {
    return kind == PieceKind::LeftTurnout || kind == PieceKind::RightTurnout ||
           kind == PieceKind::CurvedTurnout || kind == PieceKind::CurvedTurnoutK;
}

double SignedTurn(double deg) {
    const double n = NormalizeDeg(deg);
    return n > 180 ? n - 360 : n;
}

// The step made by laying `def` on an end at the origin heading 0, entering by `entry`.
GapMove StepOf(const PieceDef& def, int entry, int exit) {
    const ConnectorPose end{0, 0, 0, true, 0};
    const PiecePose pose = AlignToConnector(def, entry, end);
    PlacedPiece p;
    p.x = pose.x;
    p.y = pose.y;
    p.heading = pose.heading;
    const ConnectorPose out = GetConnectorPose(p, def, exit);
    GapMove m;
    m.dx = out.x;
    m.dy = out.y;
    m.turnDeg = SignedTurn(out.heading);
    if (std::fabs(m.turnDeg) < kSameTurnDeg) m.turnDeg = 0;
    m.chordMm = std::hypot(m.dx, m.dy);
    m.bend = m.turnDeg > 0 ? 1 : (m.turnDeg < 0 ? -1 : 0);
    m.radiusMm = m.bend != 0 ? def.radius : 0;
    m.turnout = IsTurnout(def.kind);
    m.ways.push_back({def.article, entry, exit});
    return m;
}

bool SameShape(const GapMove& a, const GapMove& b) {
    return std::fabs(a.dx - b.dx) < kSameShapeMm && std::fabs(a.dy - b.dy) < kSameShapeMm &&
           std::fabs(a.turnDeg - b.turnDeg) < kSameTurnDeg;
}

bool WholeMultiple(double value, double unit) {
    const double q = value / unit;
    return std::fabs(q - std::round(q)) < 1e-6;
}

}  // namespace

bool IsGapPiece(const PieceDef& def, TrackSystem system, bool useTurnouts) {
    if (def.system != system || def.isBridge || def.isRamp || def.isFlex) return false;
    if (def.connectors.size() < 2) return false;
    for (int i = 0; i < static_cast<int>(def.connectors.size()); ++i)
        if (def.ConnectorSystem(i) != system) return false;
    if (def.kind == PieceKind::Straight || def.kind == PieceKind::Curve)
        return def.connectors.size() == 2;
    return useTurnouts && IsTurnout(def.kind);
}

namespace {

// The pieces a gap may use, plain pieces before circuit tracks of the same shape: the plain one
// is what a gap needs.
std::vector<const PieceDef*> GapPieces(TrackSystem system, bool useTurnouts,
                                       const std::map<std::string, int>* stock) {
    std::vector<const PieceDef*> defs;
    for (const PieceDef& d : TrackCatalog::Instance().pieces) {
        if (!IsGapPiece(d, system, useTurnouts)) continue;
        if (stock) {
            auto it = stock->find(d.article);
            if (it == stock->end() || it->second <= 0) continue;
        }
        defs.push_back(&d);
    }
    std::stable_sort(defs.begin(), defs.end(), [](const PieceDef* a, const PieceDef* b) {
        return !IsCircuitTrack(*a) && IsCircuitTrack(*b);
    });
    return defs;
}

// A piece's moves: straights and curves both ways; a turnout from its points along each leg and
// back. A move of a shape already known is one more way of making it.
void AddMovesOf(const PieceDef& d, std::vector<GapMove>& moves) {
    std::vector<std::pair<int, int>> passes;
    const int n = static_cast<int>(d.connectors.size());
    for (int leg = 1; leg < n; ++leg) {
        passes.push_back({0, leg});
        passes.push_back({leg, 0});
    }
    for (auto [entry, exit] : passes) {
        GapMove m = StepOf(d, entry, exit);
        auto same = std::find_if(moves.begin(), moves.end(),
                                 [&](const GapMove& o) { return SameShape(o, m); });
        if (same == moves.end()) {
            moves.push_back(std::move(m));
        } else {
            const bool known =
                std::any_of(same->ways.begin(), same->ways.end(),
                            [&](const GapStep& w) { return w.article == d.article; });
            if (!known) same->ways.push_back(m.ways.front());
        }
    }
}

// The coarsest heading unit every move turns a whole number of, and each move's turn in it.
void CountTurnUnits(GapMoveSet& set) {
    for (double unit : kUnitsDeg) {
        const bool fits = std::all_of(set.moves.begin(), set.moves.end(),
                                      [&](const GapMove& m) { return WholeMultiple(m.turnDeg, unit); });
        if (fits) {
            set.unitDeg = unit;
            set.exactUnits = true;
            break;
        }
    }
    set.unitsPerTurn = static_cast<int>(std::lround(360.0 / set.unitDeg));
    for (GapMove& m : set.moves) {
        m.turnUnits = static_cast<int>(std::lround(m.turnDeg / set.unitDeg));
        set.longestChordMm = std::max(set.longestChordMm, m.chordMm);
        set.largestTurnDeg = std::max(set.largestTurnDeg, std::fabs(m.turnDeg));
    }
}

}  // namespace

GapMoveSet BuildGapMoves(TrackSystem system, bool useTurnouts,
                         const std::map<std::string, int>* stock) {
    GapMoveSet set;
    for (const PieceDef* d : GapPieces(system, useTurnouts, stock)) AddMovesOf(*d, set.moves);
    // Plain pieces came first, so the catalog order of the shapes is restored here.
    const auto catalogIndex = [](const GapMove& m) {
        return TrackCatalog::Instance().byArticle.at(m.ways.front().article);
    };
    std::stable_sort(set.moves.begin(), set.moves.end(), [&](const GapMove& a, const GapMove& b) {
        return catalogIndex(a) < catalogIndex(b);
    });
    CountTurnUnits(set);
    return set;
}
