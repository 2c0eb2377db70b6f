// Suggested layouts. Each kind is a template of track laid piece by piece through the catalog's
// connectors, parameterised by the number of straights on its sides and the curve radius; the
// parts a template cannot close exactly are closed by the gap closer's search. Parameters run from
// large to small, so the boards are filled first; every candidate is fitted onto the board, run
// through the layout check and scored.
#include "suggest/SuggestLayouts.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "catalog/TrackClearance.h"
#include "gapclose/SolveGap.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/GradeRuns.h"
#include "trackgeometry/ConnectorJoins.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

// The pieces of one system the templates are made of.
struct Kit {
    TrackSystem system;
    const char* straight;             // the standard straight
    std::vector<const char*> curves;  // one per radius, tightest first; angles divide 180
    const char* left;                 // turnout pair...
    const char* right;
    const char* counter;  // ...and the curve that makes the diverging track parallel again
    const char* bumper;
    // The straight beside a turnout and its counter curve on the line, so the line and the
    // parallel track end level, and the straight as long as a turnout.
    const char* spacer;
    const char* turnoutLong;
    const char* crossing;  // the flat crossing of figure eights, "" for none
};

const std::vector<Kit>& Kits() {
    // clang-format off
    static const std::vector<Kit> kits = {
        {TrackSystem::MarklinC, "24188", {"24130", "24230", "24330", "24430", "24530"},
         "24611", "24612", "24224", "24977", "24172", "24188", "24649"},
        {TrackSystem::TrixC, "62188", {"62130", "62230", "62330"},
         "62611", "62612", "62224", "62977", "62172", "62188", ""},
        {TrackSystem::MarklinK, "2200", {"2210", "2221", "2231", "2241"},
         "2262", "2263", "2232", "7389", "2207", "2206", "2258"},
        {TrackSystem::MarklinZ, "8500", {"8510", "8520", "8530"},
         "8562", "8563", "8591", "8991", "8500", "8500", "8559"},
    };
    // clang-format on
    return kits;
}

const Kit* FindKit(TrackSystem system) {
    for (const Kit& k : Kits())
        if (k.system == system) return &k;
    return nullptr;
}

const PieceDef& Def(std::string_view article) { return *TrackCatalog::Instance().Find(article); }

// Lays joined track into one document.
class Layer {
public:
    explicit Layer(LayoutDocument& doc) : doc(doc) {}

    uint32_t Start(const char* article, double heading = 0) {
        return Add(Def(article), PiecePose{0, 0, heading});
    }
    // A piece whose connector `own` joins connector `conn` of `target`.
    uint32_t Attach(const char* article, uint32_t target, int conn, int own = 0) {
        const PieceDef& def = Def(article);
        const ConnectorPose at = End(target, conn);
        const uint32_t id = Add(def, AlignToConnector(def, own, at));
        JoinConnectors(doc, id, own, target, conn);
        return id;
    }
    // `count` pieces, each on connector 1 of the one before; returns the last (target when 0).
    uint32_t Run(const char* article, int count, uint32_t target, int conn = 1) {
        for (int i = 0; i < count; ++i) {
            target = Attach(article, target, conn);
            conn = 1;
        }
        return target;
    }
    ConnectorPose End(uint32_t id, int conn) const {
        const PlacedPiece& p = *doc.FindPiece(id);
        return GetConnectorPose(p, Def(p.article), conn);
    }
    // Joins end a to end b: directly when they meet, else with the gap closer's shortest chain,
    // whose small miss is spread over the chain's pieces so no joint is strained. False when
    // nothing closes the gap.
    // The miss is shared by every piece laid from index `spreadFrom` on (the chain's own pieces
    // when it is past them).
    bool Close(GapEnd a, GapEnd b, const std::map<std::string, int>* stock,
               size_t spreadFrom = SIZE_MAX) {
        const ConnectorPose pa = End(a.piece, a.connector), pb = End(b.piece, b.connector);
        const double apart = std::hypot(pa.x - pb.x, pa.y - pb.y);
        if (apart < 1.0 && HeadingDiffDeg(pa.heading, pb.heading) > 179.95 &&
            (apart < 0.05 || spreadFrom < doc.pieces.size())) {
            Spread(spreadFrom, pb.x - pa.x, pb.y - pa.y);
            return JoinConnectors(doc, a.piece, a.connector, b.piece, b.connector);
        }
        GapOptions o;
        o.toleranceMm = 0.6;
        o.toleranceDeg = 0.09;
        o.maxPieces = 3;
        o.timeLimitS = 0.2;
        if (stock) {
            o.limitToStock = true;
            o.stock = *stock;
            for (const PlacedPiece& p : doc.pieces) --o.stock[p.article];
        }
        const std::vector<GapSolution> found = SolveGap(doc, a, b, o);
        if (found.empty()) return false;
        const std::vector<PlacedPiece> chain = LayGapChain(doc, a, found.front().steps);
        if (chain.empty()) return false;
        GapEnd prev = a;
        for (size_t i = 0; i < chain.size(); ++i) {
            PlacedPiece p = chain[i];
            p.id = doc.TakeId();
            p.joints.assign(Def(p.article).connectors.size(), Joint{});
            doc.pieces.push_back(p);
            JoinConnectors(doc, p.id, found.front().steps[i].entry, prev.piece, prev.connector);
            prev = GapEnd{p.id, found.front().steps[i].exit};
        }
        const ConnectorPose last = End(prev.piece, prev.connector);
        Spread(std::min(spreadFrom, doc.pieces.size() - chain.size()), pb.x - last.x,
               pb.y - last.y);
        return JoinConnectors(doc, prev.piece, prev.connector, b.piece, b.connector);
    }

    uint32_t Add(const PieceDef& def, const PiecePose& pose) {
        PlacedPiece p;
        p.id = doc.TakeId();
        p.article = def.article;
        p.x = pose.x;
        p.y = pose.y;
        p.heading = pose.heading;
        p.level = 1;
        p.joints.resize(def.connectors.size());
        doc.pieces.push_back(p);
        return p.id;
    }

    LayoutDocument& doc;

private:
    // Moves the pieces from index `from` on by shares of (dx, dy) growing along the chain, so
    // each joint takes an equal part of the miss.
    void Spread(size_t from, double dx, double dy) {
        if (from >= doc.pieces.size()) return;
        const size_t n = doc.pieces.size() - from;
        for (size_t i = 0; i < n; ++i) {
            doc.pieces[from + i].x += dx * double(i + 1) / double(n + 1);
            doc.pieces[from + i].y += dy * double(i + 1) / double(n + 1);
        }
    }
};

int CurvesPerHalf(const char* curve) {
    return static_cast<int>(std::lround(180.0 / std::fabs(Def(curve).angle)));
}

// A candidate before it is placed: its track and what the score needs.
struct Plan {
    LayoutDocument doc;
    SuggestKind kind = SuggestKind::Oval;
    double stationMm = 0;    // longest passing loop or siding
    bool overUnder = false;  // a figure eight whose tracks cross one above the other
};

// The pieces on a station track: everything laid on it, turnouts excluded.
double TrackMm(const LayoutDocument& doc, size_t from) {
    double mm = 0;
    for (size_t i = from; i < doc.pieces.size(); ++i) {
        const PieceDef& d = Def(doc.pieces[i].article);
        if (d.kind == PieceKind::Straight) mm += d.length;
        if (d.kind == PieceKind::Curve) mm += DegToRad(std::fabs(d.angle)) * d.radius;
    }
    return mm;
}

// An oval of `n` straights on each side.
Plan Oval(const Kit& kit, const char* curve, int n) {
    Plan plan;
    Layer t(plan.doc);
    const int half = CurvesPerHalf(curve);
    uint32_t first = t.Start(n > 0 ? kit.straight : curve);
    uint32_t last = t.Run(kit.straight, n - 1 > 0 ? n - 1 : 0, first);
    last = t.Run(curve, n > 0 ? half : half - 1, last);
    last = t.Run(kit.straight, n, last);
    last = t.Run(curve, half, last);
    t.Close({last, 1}, {first, 0}, nullptr);
    return plan;
}

// A passing loop beside the line from `from` (connector `fromConn`), on the left or (inside)
// on the right: a turnout, `m` straights between spacers, the other turnout laid backwards; the
// loop's track laid alongside and closed by the gap closer. Returns the far turnout (its
// connector 0 continues the line) or 0 when the loop does not close. With `from` 0 the first
// turnout starts the layout.
uint32_t PassingLoop(Layer& t, const Kit& kit, uint32_t from, int fromConn, int m, bool right,
                     const std::map<std::string, int>* stock, double* loopMm) {
    const char* near = right ? kit.right : kit.left;
    const uint32_t t1 = from ? t.Attach(near, from, fromConn) : t.Start(near);
    uint32_t main = t.Attach(kit.spacer, t1, 1);
    main = t.Run(kit.straight, m, main);
    main = t.Attach(kit.spacer, main, 1);
    const uint32_t t2 = t.Attach(right ? kit.left : kit.right, main, 1, 1);
    const size_t loopFrom = t.doc.pieces.size();
    // The counter curve turns back the other way: laid backwards behind a right turnout.
    const uint32_t counter = t.Attach(kit.counter, t1, 2, right ? 1 : 0);
    const uint32_t loopEnd = t.Run(kit.straight, m, counter, right ? 0 : 1);
    const int loopConn = m > 0 || !right ? 1 : 0;
    if (!t.Close({loopEnd, loopConn}, {t2, 2}, stock, loopFrom)) return 0;
    *loopMm = TrackMm(t.doc, loopFrom);
    return t2;
}

// Length of a passing loop's line, turnouts included.
double LoopLineMm(const Kit& kit, int m) {
    return 2 * Def(kit.left).length + 2 * Def(kit.spacer).length + m * Def(kit.straight).length;
}

// An oval with a passing loop beside its top side and a siding beside its bottom side, both
// outside the oval or both inside it.
std::optional<Plan> OvalWithStation(const Kit& kit, const char* curve, int m, bool inside,
                                    const std::map<std::string, int>* stock) {
    Plan plan;
    plan.kind = SuggestKind::OvalWithStation;
    Layer t(plan.doc);
    const int half = CurvesPerHalf(curve);
    double loopMm = 0;
    const uint32_t t2 = PassingLoop(t, kit, 0, 0, m, inside, stock, &loopMm);
    const uint32_t first = plan.doc.pieces.front().id;
    if (t2 == 0) return std::nullopt;
    uint32_t last = t.Run(curve, half, t2, 0);
    // The bottom side as long as the top one: the siding's turnout, spacers and straights.
    const uint32_t t3 = t.Attach(inside ? kit.right : kit.left, last, 1);
    last = t.Attach(kit.spacer, t3, 1);
    last = t.Run(kit.straight, m, last);
    last = t.Attach(kit.spacer, last, 1);
    last = t.Attach(kit.turnoutLong, last, 1);  // as long as the far turnout
    last = t.Run(curve, half, last);
    if (!t.Close({last, 1}, {first, 0}, stock)) return std::nullopt;
    const size_t sidingFrom = plan.doc.pieces.size();
    uint32_t s = t.Attach(kit.counter, t3, 2, inside ? 1 : 0);
    s = t.Run(kit.straight, m + 1, s, inside ? 0 : 1);
    t.Attach(kit.bumper, s, 1);
    plan.stationMm = std::max(loopMm, TrackMm(plan.doc, sidingFrom));
    return plan;
}

// Two ovals, one round the other on the next radius, with a crossover on each side.
std::optional<Plan> DoubleOval(const Kit& kit, const char* inner, const char* outer, int m,
                               const std::map<std::string, int>* stock) {
    Plan plan;
    plan.kind = SuggestKind::DoubleOval;
    Layer t(plan.doc);
    const int half = CurvesPerHalf(inner);
    if (CurvesPerHalf(outer) != half) return std::nullopt;
    // The inner oval, a turnout at the start of each side, diverging outwards.
    const uint32_t t1 = t.Start(kit.left);
    uint32_t last = t.Attach(kit.spacer, t1, 1);
    last = t.Run(kit.straight, m, last);
    last = t.Run(inner, half, last);
    const uint32_t t3 = t.Attach(kit.left, last, 1);
    last = t.Attach(kit.spacer, t3, 1);
    last = t.Run(kit.straight, m, last);
    last = t.Run(inner, half, last);
    if (!t.Close({last, 1}, {t1, 0}, stock)) return std::nullopt;
    // The crossovers' other turnouts, on the outer line, each laid backwards (so the plan is
    // the same turned half round), and the outer oval's two halves between them.
    const uint32_t t2 = t.Attach(kit.left, t1, 2, 2);
    const uint32_t t4 = t.Attach(kit.left, t3, 2, 2);
    for (const auto& [from, to] : {std::pair{t2, t4}, std::pair{t4, t2}}) {
        const size_t segment = plan.doc.pieces.size();
        uint32_t p = t.Run(kit.straight, m, from, 0);
        p = t.Run(outer, half, p, m > 0 ? 1 : 0);
        p = t.Attach(kit.spacer, p, 1);
        if (!t.Close({p, 1}, {to, 1}, stock, segment)) return std::nullopt;
    }
    return plan;
}

// A folded oval: two tracks side by side between two balloons. Each balloon bends away with
// `preCount` curves `pre` to the left, turns round on curves `bulb` to the right and bends back,
// so that the two tracks lie as far apart as the balloon makes them.
std::optional<Plan> DogBone(const Kit& kit, const char* pre, const char* bulb, int preCount, int n,
                            const std::map<std::string, int>* stock) {
    const PieceDef& p = Def(pre);
    const PieceDef& b = Def(bulb);
    const double bend = preCount * p.angle;
    const double turn = 180 + 2 * bend;
    const int bulbCount = int(std::lround(turn / b.angle));
    if (std::fabs(bulbCount * b.angle - turn) > 0.01) return std::nullopt;
    const double apart = 2 * (b.radius * CosDeg(bend) - p.radius * (1 - CosDeg(bend)));
    // Far enough apart not to meet, close enough to look like a bone and not an oval.
    if (apart < 2 * BandHalfWidth(Def(kit.straight)) + 40 || apart > b.radius) return std::nullopt;
    Plan plan;
    plan.kind = SuggestKind::DogBone;
    Layer t(plan.doc);
    const uint32_t first = t.Start(kit.straight);
    uint32_t last = t.Run(kit.straight, n - 1, first);
    int conn = 1;
    for (int side = 0; side < 2; ++side) {
        if (side > 0) last = t.Run(kit.straight, n, last, conn), conn = 1;
        // Curves laid backwards turn left.
        for (int i = 0; i < preCount; ++i) last = t.Attach(pre, last, conn, 1), conn = 0;
        last = t.Run(bulb, bulbCount, last, conn), conn = 1;
        for (int i = 0; i < preCount; ++i) last = t.Attach(pre, last, conn, 1), conn = 0;
    }
    if (!t.Close({last, conn}, {first, 0}, stock)) return std::nullopt;
    return plan;
}

void Transform(LayoutDocument& doc, double turnDeg, double dx, double dy);

// The plain fixed straights of a system, longest first.
std::vector<const PieceDef*> Straights(TrackSystem system) {
    std::vector<const PieceDef*> out;
    for (const PieceDef& d : TrackCatalog::Instance().pieces)
        if (d.system == system && d.kind == PieceKind::Straight && !d.isBridge && !d.isFlex &&
            !d.isRamp && d.connectorSystems.empty() && d.connectors.size() == 2)
            out.push_back(&d);
    std::stable_sort(out.begin(), out.end(),
                     [](const PieceDef* a, const PieceDef* b) { return a->length > b->length; });
    return out;
}

// Up to five straights whose lengths add up to `mm` within `within`, fewest pieces first.
std::vector<const char*> StraightsFor(TrackSystem system, double mm, double within) {
    const std::vector<const PieceDef*> all = Straights(system);
    for (int count = 1; count <= 5; ++count) {
        std::vector<size_t> pick(count, 0);
        // Non-decreasing index choices: every multiset once.
        while (true) {
            double sum = 0;
            for (size_t i : pick) sum += all[i]->length;
            if (std::fabs(sum - mm) <= within) {
                std::vector<const char*> out;
                for (size_t i : pick) out.push_back(all[i]->article.c_str());
                return out;
            }
            int k = count - 1;
            while (k >= 0 && pick[k] + 1 >= all.size()) --k;
            if (k < 0) break;
            ++pick[k];
            for (int j = k + 1; j < count; ++j) pick[j] = pick[k];
        }
    }
    return {};
}

// A catalog curve of the system turning exactly `deg`, or null.
const char* CurveOf(TrackSystem system, double deg) {
    for (const PieceDef& d : TrackCatalog::Instance().pieces)
        if (d.system == system && d.kind == PieceKind::Curve && !d.isRamp &&
            std::fabs(d.angle - deg) < 0.01)
            return d.article.c_str();
    return nullptr;
}

constexpr char kOverUnderName[] = TR_NOOP("Figure eight, over and under");

// The climb of a figure eight over and under: a rise of the clearance and a little more, on
// grades no steeper than this share of the recommended grade.
constexpr double kOverUnderSpareMm = 2;
constexpr double kOverUnderGradeShare = 0.98;

// The pieces of a loop in running order, from the end `from` until the piece `until` (which is
// not included), with the connector each is entered by; empty when the joints lead elsewhere.
std::vector<std::pair<size_t, int>> LoopPath(const LayoutDocument& doc, GapEnd from,
                                             uint32_t until) {
    std::map<uint32_t, size_t> index;
    for (size_t i = 0; i < doc.pieces.size(); ++i) index[doc.pieces[i].id] = i;
    std::vector<std::pair<size_t, int>> path;
    GapEnd at = from;
    while (path.size() <= doc.pieces.size()) {
        const PlacedPiece& p = doc.pieces[index[at.piece]];
        if (p.IsOpen(int(at.connector))) return {};
        const Joint j = p.joints[at.connector];
        if (j.target == until) return path;
        const size_t next = index[j.target];
        if (doc.pieces[next].joints.size() != 2) return {};
        path.push_back({next, int(j.targetConn)});
        at = {j.target, 1 - int(j.targetConn)};
    }
    return {};
}

// Lays the loop's grades so it climbs `rise` (falls when negative) along the path: half the
// grade on the first and last piece, so no joint bends the slope by more than half of it.
// False when that needs a grade steeper than `maxDeg`.
bool LayClimb(LayoutDocument& doc, const std::vector<std::pair<size_t, int>>& path, double startMm,
              double rise, double maxDeg) {
    if (path.size() < 3) return false;
    auto share = [&](size_t i) { return i == 0 || i + 1 == path.size() ? 0.5 : 1.0; };
    auto climb = [&](double deg) {
        double mm = 0;
        for (size_t i = 0; i < path.size(); ++i)
            mm += std::sin(DegToRad(deg * share(i))) *
                  RunLength(Def(doc.pieces[path[i].first].article));
        return mm;
    };
    const double need = std::fabs(rise);
    if (climb(maxDeg) < need) return false;
    double lo = 0, hi = maxDeg;
    for (int i = 0; i < 60; ++i) (climb((lo + hi) / 2) < need ? lo : hi) = (lo + hi) / 2;
    const double deg = (rise < 0 ? -hi : hi);
    double height = startMm;
    for (size_t i = 0; i < path.size(); ++i) {
        PlacedPiece& p = doc.pieces[path[i].first];
        const double g = deg * share(i);
        const double up = std::sin(DegToRad(g)) * RunLength(Def(p.article));
        // Entered at connector 1, the piece climbs towards connector 0.
        p.grade = path[i].second == 0 ? g : -g;
        p.elevation = path[i].second == 0 ? height : height + up;
        height += up;
    }
    return true;
}

// The curves of one loop: `k` of `curve` turning 180 degrees and the crossing's `angle`, with a
// piece at each end or one in the middle making up the rest; none when nothing does.
std::optional<std::vector<const char*>> LoopArc(TrackSystem system, const char* curve, int k,
                                                double angle) {
    const double rest = 180 + angle - k * Def(curve).angle;
    std::vector<const char*> arc(k, curve);
    if (rest < -0.01) return std::nullopt;
    if (rest >= 0.01) {
        if (const char* end = CurveOf(system, rest / 2)) {
            arc.insert(arc.begin(), end);
            arc.push_back(end);
        } else if (const char* middle = k % 2 == 0 ? CurveOf(system, rest) : nullptr) {
            arc.insert(arc.begin() + k / 2, middle);
        } else {
            return std::nullopt;
        }
    }
    return arc;
}

// Lays the crossing, or the two straights crossing at `angle` one over the other, and fills
// in its four ends: 0 and 1 on one track, 2 and 3 on the other.
void LayCrossing(Layer& t, const Kit& kit, bool overUnder, double angle, GapEnd (&ends)[4]) {
    if (!overUnder) {
        const uint32_t cross = t.Start(kit.crossing);
        for (int i = 0; i < 4; ++i) ends[i] = {cross, i};
        return;
    }
    const uint32_t low = t.Start(kit.straight);
    const double half = Def(kit.straight).length / 2;
    const uint32_t high = t.Add(
        Def(kit.straight), PiecePose{half - half * CosDeg(angle), -half * SinDeg(angle), angle});
    ends[0] = {low, 0}, ends[1] = {low, 1}, ends[2] = {high, 0}, ends[3] = {high, 1};
}

// The straights at each end of a loop that put its middle on the crossing's axis: the arc is
// laid alone on a copy to see where it ends. None needed is an empty list; none that fit, none.
std::optional<std::vector<const char*>> LoopLeg(const LayoutDocument& doc, const Kit& kit,
                                                const GapEnd (&ends)[4],
                                                const std::vector<const char*>& arc) {
    LayoutDocument probe = doc;
    Layer p(probe);
    uint32_t last = ends[1].piece;
    int conn = ends[1].connector;
    for (const char* c : arc) last = p.Attach(c, last, conn), conn = 1;
    const ConnectorPose end = p.End(last, 1), to = p.End(ends[3].piece, ends[3].connector);
    const double ux = 1 + CosDeg(end.heading), uy = SinDeg(end.heading);
    const double need = ((to.x - end.x) * ux + (to.y - end.y) * uy) / (ux * ux + uy * uy);
    std::vector<const char*> leg;
    // A leg a little off leaves the loop's end this much times the leg's error from the
    // crossing, shared later over the loop's joints.
    const double within = 0.9 / std::hypot(ux, uy);
    if (need > within) {
        leg = StraightsFor(kit.system, need, within);
        if (leg.empty()) return std::nullopt;
    }
    return leg;
}

// Up from the lower straight round one loop, level over the crossing, down the other.
bool LayOverUnderGrades(LayoutDocument& doc, const Kit& kit, const GapEnd (&ends)[4]) {
    const double rise = DefaultClearanceMm(kit.system) + kOverUnderSpareMm;
    const double maxDeg =
        RadToDeg(std::atan(CheckOptions().recommendedGradePercent / 100)) * kOverUnderGradeShare;
    PlacedPiece& high = doc.pieces[1];
    high.elevation = rise;
    return LayClimb(doc, LoopPath(doc, ends[1], ends[3].piece), 0, rise, maxDeg) &&
           LayClimb(doc, LoopPath(doc, ends[2], ends[0].piece), rise, -rise, maxDeg);
}

// A figure eight of two teardrop loops, each the same read from either end (straights, curves
// turning 180 degrees and the crossing's angle, straights), so each closes on the crossing's
// other track. On the flat crossing of the system; or, with `overUnderDeg`, over and under:
// two straights cross at that angle, one the clearance above the other, and each loop climbs
// from the lower to the upper. The curves are `k` of `curve` with a piece in the middle or one
// at each end making up the rest of the turn; the straights put the middle of the loop on the
// crossing's axis.
std::optional<Plan> FigureEight(const Kit& kit, const char* curve, int k,
                                const std::map<std::string, int>* stock, double overUnderDeg = 0) {
    if (k <= 0 || (!*kit.crossing && overUnderDeg == 0)) return std::nullopt;
    const double angle = overUnderDeg != 0 ? overUnderDeg : Def(kit.crossing).angle;
    const std::optional<std::vector<const char*>> arc = LoopArc(kit.system, curve, k, angle);
    if (!arc) return std::nullopt;
    Plan plan;
    plan.kind = SuggestKind::FigureEight;
    plan.overUnder = overUnderDeg != 0;
    Layer t(plan.doc);
    GapEnd ends[4];
    LayCrossing(t, kit, plan.overUnder, angle, ends);
    const std::optional<std::vector<const char*>> leg = LoopLeg(plan.doc, kit, ends, *arc);
    if (!leg) return std::nullopt;
    for (const auto& [from, into] : {std::pair{1, 3}, std::pair{0, 2}}) {
        const size_t loop = plan.doc.pieces.size();
        uint32_t last = ends[from].piece;
        int conn = ends[from].connector;
        for (const char* s : *leg) last = t.Attach(s, last, conn), conn = 1;
        for (const char* c : *arc) last = t.Attach(c, last, conn), conn = 1;
        for (auto s = leg->rbegin(); s != leg->rend(); ++s)
            last = t.Attach(*s, last, conn), conn = 1;
        if (!t.Close({last, conn}, ends[into], stock, loop)) return std::nullopt;
    }
    if (plan.overUnder && !LayOverUnderGrades(plan.doc, kit, ends)) return std::nullopt;
    // Along the board: the crossing's axis level.
    Transform(plan.doc, -angle / 2, 0, 0);
    return plan;
}

// A line from bumper to bumper with a run-round loop at each end and `middle` straights between.
std::optional<Plan> PointToPoint(const Kit& kit, int m, int middle,
                                 const std::map<std::string, int>* stock) {
    Plan plan;
    plan.kind = SuggestKind::PointToPoint;
    Layer t(plan.doc);
    const uint32_t first = t.Start(kit.bumper, 180);
    double loopA = 0, loopB = 0;
    const uint32_t endA = PassingLoop(t, kit, first, 0, m, false, stock, &loopA);
    if (endA == 0) return std::nullopt;
    uint32_t last = t.Run(kit.straight, middle, endA, 0);
    const uint32_t endB = PassingLoop(t, kit, last, middle > 0 ? 1 : 0, m, false, stock, &loopB);
    if (endB == 0) return std::nullopt;
    t.Attach(kit.bumper, endB, 0);
    plan.stationMm = std::max(loopA, loopB);
    return plan;
}

// A shelf: a line from bumper to bumper with one siding to each side.
Plan Shelf(const Kit& kit, int a, int b) {
    Plan plan;
    plan.kind = SuggestKind::ShelfSwitching;
    Layer t(plan.doc);
    const uint32_t first = t.Start(kit.bumper, 180);
    const uint32_t t1 = t.Attach(kit.left, first, 0);
    uint32_t last = t.Run(kit.straight, a, t1);
    const uint32_t t2 = t.Attach(kit.right, last, 1);
    last = t.Run(kit.straight, b + 1, t2);
    t.Attach(kit.bumper, last, 1);
    double longest = 0;
    for (const auto& [turnout, count] : {std::pair{t1, a + b}, std::pair{t2, b}}) {
        const size_t from = plan.doc.pieces.size();
        uint32_t s = t.Attach(kit.counter, turnout, 2);
        s = t.Run(kit.straight, std::max(0, count - 1), s);
        t.Attach(kit.bumper, s, 1);
        longest = std::max(longest, TrackMm(plan.doc, from));
    }
    plan.stationMm = longest;
    return plan;
}

// ---- Fitting onto the board ----

std::vector<PointMm> BoardOf(const SuggestOptions& o) {
    if (o.board.size() >= 3) return o.board;
    return {{0, 0}, {o.widthMm, 0}, {o.widthMm, o.depthMm}, {0, o.depthMm}};
}

struct Box {
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    void Add(PointMm p) {
        minX = std::min(minX, p.x), minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
    }
    double Width() const { return maxX - minX; }
    double Depth() const { return maxY - minY; }
};

// The outline points of every piece, edges divided finely enough for a board's inner corner.
std::vector<PointMm> Footprint(const LayoutDocument& doc) {
    std::vector<PointMm> out;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef& d = Def(p.article);
        for (const PieceShape& s :
             BuildPieceShapes(d, p.x, p.y, p.heading, Rgb{}, Rgb{}, false, 1.0, &p)) {
            if (s.type != PieceShape::Type::Polygon) continue;
            for (size_t i = 0; i < s.points.size(); ++i) {
                const PointMm a = s.points[i], b = s.points[(i + 1) % s.points.size()];
                const int steps = std::max(1, int(std::hypot(b.x - a.x, b.y - a.y) / 20));
                for (int k = 0; k < steps; ++k)
                    out.push_back({a.x + (b.x - a.x) * k / steps, a.y + (b.y - a.y) * k / steps});
            }
        }
    }
    return out;
}

double SegmentDistance(PointMm p, PointMm a, PointMm b) {
    const double vx = b.x - a.x, vy = b.y - a.y, len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((p.x - a.x) * vx + (p.y - a.y) * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * vx, p.y - a.y - t * vy);
}

bool InsideWithMargin(PointMm p, const std::vector<PointMm>& poly, double margin) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const PointMm a = poly[i], b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
        if (SegmentDistance(p, a, b) < margin) return false;
    }
    return inside;
}

void Transform(LayoutDocument& doc, double turnDeg, double dx, double dy) {
    for (PlacedPiece& p : doc.pieces) {
        const double x = p.x * CosDeg(turnDeg) - p.y * SinDeg(turnDeg);
        const double y = p.x * SinDeg(turnDeg) + p.y * CosDeg(turnDeg);
        p.x = x + dx;
        p.y = y + dy;
        p.heading = NormalizeDeg(p.heading + turnDeg);
    }
}

// Moves (and turns a quarter when needed) the plan onto the board: centred first, then against
// each corner of the board's box. False when no such place keeps every piece inside the margin.
bool FitOnBoard(LayoutDocument& doc, const std::vector<PointMm>& board, double margin) {
    Box bb;
    for (const PointMm& p : board) bb.Add(p);
    for (const double turn : {0.0, 90.0}) {
        LayoutDocument turned = doc;
        Transform(turned, turn, 0, 0);
        const std::vector<PointMm> pts = Footprint(turned);
        Box fb;
        for (const PointMm& p : pts) fb.Add(p);
        if (fb.Width() > bb.Width() - 2 * margin || fb.Depth() > bb.Depth() - 2 * margin) continue;
        const double slackX = bb.Width() - 2 * margin - fb.Width();
        const double slackY = bb.Depth() - 2 * margin - fb.Depth();
        const double fx[] = {0.5, 0, 1, 0, 1}, fy[] = {0.5, 0, 0, 1, 1};
        for (int k = 0; k < 5; ++k) {
            // A hair inside, so points on the margin line itself do not decide the fit.
            const double dx = bb.minX + margin + 0.5 + (slackX - 1) * fx[k] - fb.minX;
            const double dy = bb.minY + margin + 0.5 + (slackY - 1) * fy[k] - fb.minY;
            bool ok = true;
            for (const PointMm& p : pts)
                if (!InsideWithMargin({p.x + dx, p.y + dy}, board, margin)) {
                    ok = false;
                    break;
                }
            if (!ok) continue;
            Transform(turned, 0, std::round(dx * 10) / 10, std::round(dy * 10) / 10);
            doc = std::move(turned);
            return true;
        }
    }
    return false;
}

// Findings a suggestion may have: S-bends (scored down); anything else refuses it.
bool Buildable(const LayoutDocument& doc, const SuggestOptions& o, int* sBends) {
    CheckOptions c;
    c.minRadiusMm = o.minRadiusMm;
    c.longestTrainMm = o.longestTrainMm;
    c.minStraightMm = ProposedMinStraightMm(doc);
    *sBends = 0;
    for (const LayoutFinding& f : CheckLayout(doc, c)) {
        if (f.kind != FindingKind::SBend) return false;
        ++*sBends;
    }
    return true;
}

// The same plan however it is turned, mirrored or where its straights sit: the kind and the
// count of every article.
std::string Signature(const Plan& plan) {
    std::map<std::string, int> counts;
    for (const PlacedPiece& p : plan.doc.pieces) ++counts[p.article];
    std::string s = std::to_string(int(plan.kind));
    for (const auto& [a, n] : counts) s += "|" + a + "x" + std::to_string(n);
    return s;
}

class Collector {
public:
    Collector(const SuggestOptions& o, const TrackBox* box, const Kit& kit)
        : o(o), box(box), board(BoardOf(o)), start(std::chrono::steady_clock::now()) {
        double area = 0;
        for (size_t i = 0, j = board.size() - 1; i < board.size(); j = i++)
            area += (board[j].x + board[i].x) * (board[j].y - board[i].y);
        boardArea = std::fabs(area) / 2;
        Box bb;
        for (const PointMm& p : board) bb.Add(p);
        boardLong = std::max(bb.Width(), bb.Depth());
        for (const char* c : kit.curves) largestRadius = std::max(largestRadius, Def(c).radius);
    }

    double LongSide() const { return boardLong; }
    bool OutOfTime() const {
        if (o.cancel && o.cancel->load()) return true;
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >
               o.timeLimitS;
    }
    const std::map<std::string, int>* Stock() const {
        return o.onlyOwned && box ? &box->counts : nullptr;
    }
    // Fits, checks and scores a candidate; true when it was taken.
    bool Offer(std::optional<Plan> plan) {
        if (!plan) return false;
        const std::string sig = Signature(*plan);
        if (seen.count(sig)) return false;
        LayoutSuggestion s;
        std::map<std::string, int> used;
        for (const PlacedPiece& p : plan->doc.pieces) {
            const PieceDef& d = Def(p.article);
            ++used[p.article];
            // Curves and the diverging routes of turnouts; crossings have no radius.
            if (d.radius > 0 && d.kind != PieceKind::Straight && d.kind != PieceKind::Bumper)
                s.smallestRadiusMm =
                    s.smallestRadiusMm == 0 ? d.radius : std::min(s.smallestRadiusMm, d.radius);
        }
        if (o.minRadiusMm > 0 && s.smallestRadiusMm < o.minRadiusMm - 1e-6) return false;
        // Plans without station tracks (ovals, double ovals, dog bones) have none too short.
        if (o.longestTrainMm > 0 && plan->stationMm > 0 && plan->stationMm < o.longestTrainMm)
            return false;
        for (const auto& [article, n] : used) {
            const int owned = box ? box->Owned(article) : 0;
            if (o.onlyOwned && n > owned) return false;
            s.piecesToBuy += std::max(0, n - owned);
        }
        if (!FitOnBoard(plan->doc, board, o.marginMm)) return false;
        LayoutDocument& doc = plan->doc;
        doc.EnsureDefaultLevel();
        doc.baseboard = board;
        if (o.board.size() < 3) {
            doc.lastShape = 0;
            doc.shapeWidth = o.widthMm;
            doc.shapeHeight = o.depthMm;
        }
        int sBends = 0;
        if (!Buildable(doc, o, &sBends)) return false;
        Box fb;
        for (const PointMm& p : Footprint(doc)) fb.Add(p);
        for (const PlacedPiece& p : doc.pieces) s.trackLengthMm += TrackMm1(p);
        s.kind = plan->overUnder ? kOverUnderName : SuggestKindName(plan->kind);
        s.pieceCount = static_cast<int>(doc.pieces.size());
        s.longestStationTrackMm = plan->stationMm;
        // The board the track spans counts most, then the station tracks; S-bends, tight
        // curves and pieces to buy cost points.
        const double used2 = std::min(1.0, fb.Width() * fb.Depth() / boardArea);
        s.score = 100 * used2 + 40 * std::min(1.0, plan->stationMm / boardLong) - 3 * sBends -
                  20 * (1 - s.smallestRadiusMm / largestRadius) - (box ? 2.0 * s.piecesToBuy : 0.0);
        s.score = std::round(s.score * 100) / 100;
        s.layout = std::move(doc);
        seen.insert(sig);
        if (o.found) o.found(s);
        found.push_back(std::move(s));
        kinds.push_back(plan->kind);
        return true;
    }

    std::vector<LayoutSuggestion> found;
    std::vector<SuggestKind> kinds;

private:
    static double TrackMm1(const PlacedPiece& p) {
        const PieceDef& d = Def(p.article);
        if (d.kind == PieceKind::Curve) return DegToRad(std::fabs(d.angle)) * d.radius;
        return d.length;
    }

    const SuggestOptions& o;
    const TrackBox* box;
    std::vector<PointMm> board;
    std::chrono::steady_clock::time_point start;
    double boardArea = 1, boardLong = 1, largestRadius = 1;
    std::set<std::string> seen;  // signatures of the plans taken
};

bool Wants(const SuggestOptions& o, SuggestKind k) {
    return std::find(o.kinds.begin(), o.kinds.end(), k) != o.kinds.end();
}

// Straights that could fit along the board's longer side: where the enumerations start.
int MaxStraights(const SuggestOptions& o, const Kit& kit) {
    Box bb;
    for (const PointMm& p : BoardOf(o)) bb.Add(p);
    return std::max(0, int(std::max(bb.Width(), bb.Depth()) / Def(kit.straight).length));
}

// The two radii lie as far apart as a crossover's two tracks.
bool TracksApart(const Kit& kit, const char* outer, const char* inner) {
    const double spacing = 2 * std::fabs(Def(kit.left).connectors[2].y);
    return std::fabs(Def(outer).radius - Def(inner).radius - spacing) < 0.2;
}

std::vector<const char*> CurvesAllowed(const SuggestOptions& o, const Kit& kit) {
    std::vector<const char*> out;
    for (const char* c : kit.curves)
        if (Def(c).radius >= o.minRadiusMm - 1e-6) out.push_back(c);
    std::reverse(out.begin(), out.end());  // widest first
    return out;
}

// What every kind's enumeration works from: the candidates go to `c`, the straights run from
// `most` down, the curves widest first, and no plan is longer than `room`.
struct KindSearch {
    Collector& c;
    const Kit& kit;
    int most;
    const std::vector<const char*>& curves;
    double room;
    double straightMm;
};

// Ovals of every curve, from the longest down; `firstOnly` stops at the first one taken for
// each curve.
void OfferOvals(const KindSearch& s, bool firstOnly) {
    for (const char* curve : s.curves)
        for (int n = s.most; n >= 0 && !s.c.OutOfTime(); --n)
            if (s.c.Offer(Oval(s.kit, curve, n)) && firstOnly) break;
}

void OfferOvalsWithStation(const KindSearch& s, bool firstOnly) {
    for (const bool inside : {false, true})
        for (const char* curve : s.curves)
            for (int m = s.most; m >= 0 && !s.c.OutOfTime(); --m)
                if (LoopLineMm(s.kit, m) + 2 * Def(curve).radius < s.room &&
                    s.c.Offer(OvalWithStation(s.kit, curve, m, inside, s.c.Stock())) && firstOnly)
                    break;
}

void OfferDoubleOvals(const KindSearch& s) {
    const std::vector<const char*>& curves = s.curves;
    for (size_t k = curves.size(); k-- > 1;)
        for (int m = s.most;
             m >= 0 && !s.c.OutOfTime() && TracksApart(s.kit, curves[k - 1], curves[k]); --m)
            if (LoopLineMm(s.kit, m) + 2 * Def(curves[k - 1]).radius < s.room &&
                s.c.Offer(DoubleOval(s.kit, curves[k], curves[k - 1], m, s.c.Stock())))
                break;
}

void OfferDogBones(const KindSearch& s) {
    for (const char* bulb : s.curves)
        for (const char* pre : s.curves)
            for (int k = 1; k <= 2; ++k)
                for (int n = s.most; n >= 1 && !s.c.OutOfTime(); --n)
                    if (Def(pre).radius <= Def(bulb).radius &&
                        n * s.straightMm + 4 * Def(bulb).radius < s.room &&
                        s.c.Offer(DogBone(s.kit, pre, bulb, k, n, s.c.Stock())))
                        break;
}

void OfferPointToPoints(const KindSearch& s) {
    for (int m = s.most; m >= 0 && !s.c.OutOfTime(); --m) {
        bool taken = false;
        for (int mid = s.most; mid >= 0 && !taken && !s.c.OutOfTime(); --mid)
            if (2 * LoopLineMm(s.kit, m) + mid * s.straightMm < s.room)
                taken = s.c.Offer(PointToPoint(s.kit, m, mid, s.c.Stock()));
        if (taken) break;
    }
}

void OfferShelves(const KindSearch& s) {
    for (int a = s.most; a >= 0 && !s.c.OutOfTime(); --a) {
        bool taken = false;
        for (int b = s.most - a; b >= 1 && !taken && !s.c.OutOfTime(); --b)
            if ((a + b + 3) * s.straightMm < s.room) taken = s.c.Offer(Shelf(s.kit, a, b));
        if (taken) break;
    }
}

void OfferFigureEights(const KindSearch& s) {
    const Kit& kit = s.kit;
    if (*kit.crossing)
        for (const char* curve : s.curves) {
            const int k = int((180 + Def(kit.crossing).angle) / Def(curve).angle);
            for (int less = 0; less <= 2 && !s.c.OutOfTime(); ++less)
                s.c.Offer(FigureEight(kit, curve, k - less, s.c.Stock()));
        }
    // Over and under: the square crossing first, which keeps the tracks apart soonest.
    for (const double angle : {90.0, 60.0, 45.0})
        for (const char* curve : s.curves) {
            const int k = int((180 + angle) / Def(curve).angle + 1e-6);
            for (int less = 0; less <= 1 && !s.c.OutOfTime(); ++less)
                s.c.Offer(FigureEight(kit, curve, k - less, s.c.Stock(), angle));
        }
}

// The gallery out of everything found: the best of every kind first, then the best of the
// rest in score order, with no kind crowding the others out.
std::vector<LayoutSuggestion> Gallery(Collector& c, int maxResults) {
    std::vector<size_t> order(c.found.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return c.found[a].score > c.found[b].score; });
    std::vector<bool> take(order.size(), false);
    std::vector<SuggestKind> had;
    int taken = 0;
    for (size_t i : order)
        if (std::find(had.begin(), had.end(), c.kinds[i]) == had.end() && taken < maxResults) {
            had.push_back(c.kinds[i]);
            take[i] = true;
            ++taken;
        }
    const int perKind = had.size() <= 1
                            ? maxResults
                            : std::max(3, (maxResults + int(had.size()) - 1) / int(had.size()));
    std::map<SuggestKind, int> ofKind;
    for (size_t i = 0; i < order.size(); ++i)
        if (take[i]) ++ofKind[c.kinds[i]];
    for (size_t i : order)
        if (!take[i] && taken < maxResults && ofKind[c.kinds[i]] < perKind)
            take[i] = true, ++taken, ++ofKind[c.kinds[i]];
    std::vector<LayoutSuggestion> out;
    for (size_t i : order)
        if (take[i]) out.push_back(std::move(c.found[i]));
    return out;
}

}  // namespace

std::vector<TrackSystem> SuggestSystems() {
    std::vector<TrackSystem> out;
    for (const Kit& k : Kits()) out.push_back(k.system);
    return out;
}

std::string SuggestKindName(SuggestKind kind) {
    switch (kind) {
        case SuggestKind::Oval:
            return TR_NOOP("Oval");
        case SuggestKind::OvalWithStation:
            return TR_NOOP("Oval with station");
        case SuggestKind::DoubleOval:
            return TR_NOOP("Double oval");
        case SuggestKind::FigureEight:
            return TR_NOOP("Figure eight");
        case SuggestKind::DogBone:
            return TR_NOOP("Dog bone");
        case SuggestKind::PointToPoint:
            return TR_NOOP("Point to point");
        case SuggestKind::ShelfSwitching:
            return TR_NOOP("Shelf switching");
    }
    return "";
}

std::vector<LayoutSuggestion> SuggestLayouts(const SuggestOptions& options, const TrackBox* box) {
    const Kit* kit = FindKit(options.system);
    if (!kit || options.maxResults <= 0) return {};
    Collector c(options, box, *kit);
    const std::vector<const char*> curves = CurvesAllowed(options, *kit);
    const int most = MaxStraights(options, *kit);
    // Plans longer than the board's long side are not built at all.
    const double room = c.LongSide() - 2 * options.marginMm;
    const KindSearch search{c, *kit, most, curves, room, Def(kit->straight).length};
    // The kinds in turn, each from its largest parameters down: one good plan of every kind
    // comes before the many variants of the first. Each stage of a kind wanted is a step of
    // the progress.
    const bool fills[] = {Wants(options, SuggestKind::Oval),
                          Wants(options, SuggestKind::OvalWithStation)};
    int steps = int(options.kinds.size()) + fills[0] + fills[1], stepsDone = 0;
    auto step = [&](bool wanted) {
        if (wanted && options.progress && stepsDone < steps)
            options.progress(double(stepsDone++) / steps);
        return wanted;
    };
    if (step(Wants(options, SuggestKind::Oval))) OfferOvals(search, true);
    if (step(Wants(options, SuggestKind::OvalWithStation))) OfferOvalsWithStation(search, true);
    if (step(Wants(options, SuggestKind::DoubleOval))) OfferDoubleOvals(search);
    if (step(Wants(options, SuggestKind::DogBone))) OfferDogBones(search);
    if (step(Wants(options, SuggestKind::PointToPoint))) OfferPointToPoints(search);
    if (step(Wants(options, SuggestKind::ShelfSwitching))) OfferShelves(search);
    if (step(Wants(options, SuggestKind::FigureEight))) OfferFigureEights(search);
    // Smaller variants fill the remaining places.
    if (step(fills[0])) OfferOvals(search, false);
    if (step(fills[1])) OfferOvalsWithStation(search, false);
    if (options.progress) options.progress(1);
    return Gallery(c, options.maxResults);
}

PointMm SmallestSuggestBoard(const SuggestOptions& options) {
    const Kit* kit = FindKit(options.system);
    if (!kit) return {0, 0};
    const std::vector<const char*> curves = CurvesAllowed(options, *kit);
    std::vector<Plan> smallest;
    if (!curves.empty()) smallest.push_back(Oval(*kit, curves.back(), 0));
    if (Wants(options, SuggestKind::ShelfSwitching)) smallest.push_back(Shelf(*kit, 0, 1));
    PointMm best{0, 0};
    for (const Plan& p : smallest) {
        Box fb;
        for (const PointMm& q : Footprint(p.doc)) fb.Add(q);
        const PointMm size{std::ceil((fb.Width() + 2 * options.marginMm) / 10) * 10,
                           std::ceil((fb.Depth() + 2 * options.marginMm) / 10) * 10};
        if (best.x == 0 || size.x * size.y < best.x * best.y) best = size;
    }
    if (best.y > best.x) std::swap(best.x, best.y);
    return best;
}

std::string SmallestBoardSentence(const SuggestOptions& options) {
    const PointMm size = SmallestSuggestBoard(options);
    return Format(Tr("The smallest board that would do is %.0f \u00d7 %.0f mm.").c_str(), size.x,
                  size.y);
}
