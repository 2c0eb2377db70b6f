// Autofill: facing ends, the search for the best straight fills, the choice texts and placing.
#include "canvas/Autofill.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "canvas/Snapping.h"

namespace {
constexpr int64_t kTenthsPerMm = 10;
constexpr int64_t kToleranceTenths = 15;

// Straights of one length; the search counts pieces per length and shares them out afterwards.
struct LengthGroup {
    int64_t tenths = 0;
    std::vector<const PieceDef*> defs;
};

// Whether exactly k pieces of length groups j and later can total t tenths. Answers are kept,
// so each (j, k, t) is worked out once per search; the bounds k x shortest <= t <= k x longest
// answer most questions without recursion.
class ReachMemo {
public:
    explicit ReachMemo(std::vector<LengthGroup> g) : groups(std::move(g)) {}

    bool Reachable(size_t j, int k, int64_t t) {
        if (k == 0) return t == 0;
        if (j >= groups.size() || k < 0 || t <= 0) return false;
        const int64_t len = groups[j].tenths;
        if (t > k * len || t < k * groups.back().tenths) return false;
        if (j + 1 == groups.size()) return t == k * len;
        const uint64_t key = (static_cast<uint64_t>(j) << 56) | (static_cast<uint64_t>(k) << 48) |
                             static_cast<uint64_t>(t);
        auto it = memo.find(key);
        if (it != memo.end()) return it->second;
        bool found = false;
        for (int64_t c = std::min<int64_t>(k, t / len); c >= 0 && !found; --c)
            found = Reachable(j + 1, k - static_cast<int>(c), t - c * len);
        memo.emplace(key, found);
        return found;
    }

    std::vector<LengthGroup> groups;

private:
    std::unordered_map<uint64_t, bool> memo;
};

std::vector<LengthGroup> GroupByLength(const std::vector<const PieceDef*>& candidates) {
    std::vector<LengthGroup> groups;
    for (const PieceDef* d : candidates) {
        const int64_t tenths = std::llround(d->length * kTenthsPerMm);
        if (tenths <= 0) continue;
        if (groups.empty() || groups.back().tenths != tenths) groups.push_back({tenths, {}});
        groups.back().defs.push_back(d);
    }
    return groups;
}

// Enumerates fills of exactly n pieces totalling t, best tie order first, until `out` is full.
class FillEnumerator {
public:
    FillEnumerator(ReachMemo& table, std::vector<FillSolution>& out)
        : table(table), groups(table.groups), out(out), counts(groups.size(), 0) {}

    void Run(int n, int64_t t) {
        total = t;
        Counts(0, n, t);
    }

private:
    bool Full() const { return out.size() >= kMaxFillSolutions; }

    // Count per length, longest first, more of the longer lengths first.
    void Counts(size_t j, int k, int64_t rest) {
        if (j == groups.size()) {
            current.clear();
            Share(0, 0, 0);
            return;
        }
        const int64_t len = groups[j].tenths;
        for (int64_t c = std::min<int64_t>(k, rest / len); c >= 0 && !Full(); --c) {
            if (!table.Reachable(j + 1, k - static_cast<int>(c), rest - c * len)) continue;
            counts[j] = static_cast<int>(c);
            Counts(j + 1, k - static_cast<int>(c), rest - c * len);
        }
        counts[j] = 0;
    }

    // Shares group j's count among its articles, the earlier catalog article taking more first.
    void Share(size_t j, size_t slot, int left) {
        if (Full()) return;
        if (j == groups.size()) {
            out.push_back({current, static_cast<double>(total) / kTenthsPerMm});
            return;
        }
        const std::vector<const PieceDef*>& defs = groups[j].defs;
        if (slot == 0) left = counts[j];
        if (left == 0 || slot + 1 == defs.size()) {
            const size_t mark = current.size();
            current.insert(current.end(), static_cast<size_t>(left), defs[slot]->article);
            Share(j + 1, 0, 0);
            current.resize(mark);
            return;
        }
        for (int x = left; x >= 0 && !Full(); --x) {
            const size_t mark = current.size();
            current.insert(current.end(), static_cast<size_t>(x), defs[slot]->article);
            Share(j, slot + 1, left - x);
            current.resize(mark);
        }
    }

    ReachMemo& table;
    const std::vector<LengthGroup>& groups;
    std::vector<FillSolution>& out;
    std::vector<int> counts;
    std::vector<std::string> current;
    int64_t total = 0;
};

// The open connector of `p` within 1 mm of `pose`, `preferred` first; -1 when there is none.
int ConnectorAt(const PlacedPiece& p, const PieceDef& def, const ConnectorPose& pose,
                int preferred) {
    auto fits = [&](int c) {
        if (c < 0 || c >= static_cast<int>(def.connectors.size()) || !p.IsOpen(c)) return false;
        const ConnectorPose cp = GetConnectorPose(p, def, c);
        const double dx = cp.x - pose.x, dy = cp.y - pose.y;
        return dx * dx + dy * dy < 1.0;
    };
    if (fits(preferred)) return preferred;
    for (int c = 0; c < static_cast<int>(def.connectors.size()); ++c)
        if (fits(c)) return c;
    return -1;
}
}  // namespace

FillEnds FindFacingEnds(const LayoutDocument& doc, uint32_t pieceA, uint32_t pieceB) {
    FillEnds ends;
    const PlacedPiece* a = doc.FindPiece(pieceA);
    const PlacedPiece* b = doc.FindPiece(pieceB);
    if (!a || !b || a == b) return ends;
    const TrackCatalog& cat = TrackCatalog::Instance();
    const PieceDef* da = cat.Find(a->article);
    const PieceDef* db = cat.Find(b->article);
    if (!da || !db) return ends;
    double best = 1e9;
    for (int i = 0; i < static_cast<int>(da->connectors.size()); ++i) {
        if (!a->IsOpen(i)) continue;
        const ConnectorPose pa = GetConnectorPose(*a, *da, i);
        for (int j = 0; j < static_cast<int>(db->connectors.size()); ++j) {
            if (!b->IsOpen(j)) continue;
            const ConnectorPose pb = GetConnectorPose(*b, *db, j);
            const double d = std::hypot(pa.x - pb.x, pa.y - pb.y);
            const double turn = HeadingDiffDeg(pa.heading, pb.heading);
            if (turn >= kFacingDeg && d < best) {
                best = d;
                ends.found = true;
                ends.pieceA = pieceA;
                ends.connA = i;
                ends.a = pa;
                ends.pieceB = pieceB;
                ends.connB = j;
                ends.b = pb;
                ends.gap = d;
                ends.turnDeg = turn;
            }
        }
    }
    if (ends.found) {
        const double h = DegToRad(ends.a.heading);
        const double vx = ends.b.x - ends.a.x, vy = ends.b.y - ends.a.y;
        ends.lateralMm = std::fabs(vx * std::sin(h) - vy * std::cos(h));
    }
    return ends;
}

std::vector<const PieceDef*> FillCandidates(TrackSystem system) {
    std::vector<const PieceDef*> out;
    for (const PieceDef& d : TrackCatalog::Instance().pieces) {
        if (d.system != system || d.kind != PieceKind::Straight || !(d.length > 0)) continue;
        // The adapter is a straight whose far end belongs to another system.
        bool sameSystem = true;
        for (int i = 0; i < static_cast<int>(d.connectors.size()); ++i)
            sameSystem = sameSystem && d.ConnectorSystem(i) == system;
        if (sameSystem && d.connectors.size() >= 2) out.push_back(&d);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const PieceDef* x, const PieceDef* y) { return x->length > y->length; });
    return out;
}

std::vector<FillSolution> SearchStraightFill(TrackSystem system, double gapMm) {
    std::vector<FillSolution> out;
    if (!std::isfinite(gapMm) || gapMm <= 0) return out;
    const std::vector<const PieceDef*> candidates = FillCandidates(system);
    if (candidates.empty()) return out;
    const double maxPieces = std::ceil(gapMm / candidates.back()->length) + 4;
    const int m = static_cast<int>(std::min<double>(kMaxFillPieces, maxPieces));
    std::vector<LengthGroup> groups = GroupByLength(candidates);
    if (groups.empty()) return out;
    // Beyond m of the longest pieces nothing fits; this also keeps the tenths below overflow.
    if (gapMm - kFillToleranceMm > candidates.front()->length * m) return out;

    // The tolerance window in tenths; a total exactly 1.5 mm off counts as inside.
    const double gapTenths = gapMm * kTenthsPerMm;
    const int64_t lo =
        std::max<int64_t>(1, static_cast<int64_t>(std::ceil(gapTenths - kToleranceTenths - 1e-6)));
    int64_t hi = static_cast<int64_t>(std::floor(gapTenths + kToleranceTenths + 1e-6));
    hi = std::min<int64_t>(hi, groups.front().tenths * m);  // nothing longer is reachable
    if (hi < lo) return out;

    // Totals in the order the sort wants them: nearest the gap first.
    std::vector<int64_t> totals;
    for (int64_t t = lo; t <= hi; ++t) totals.push_back(t);
    std::stable_sort(totals.begin(), totals.end(), [&](int64_t x, int64_t y) {
        return std::fabs(x - gapTenths) < std::fabs(y - gapTenths);
    });

    ReachMemo table(std::move(groups));
    FillEnumerator fills(table, out);
    for (int n = 1; n <= m && out.size() < kMaxFillSolutions; ++n)
        for (int64_t t : totals) {
            if (out.size() >= kMaxFillSolutions) break;
            if (table.Reachable(0, n, t)) fills.Run(n, t);
        }
    return out;
}

std::string FillSolutionLine(const FillSolution& solution) {
    std::string line;
    for (const std::string& article : solution.articles) {
        if (!line.empty()) line += " + ";
        const PieceDef* d = TrackCatalog::Instance().Find(article);
        line += d ? d->name : article;
    }
    return line + Format("  (%.1f mm)", solution.total);
}

AutofillPlan PlanAutofill(LayoutDocument& doc) {
    AutofillPlan plan;
    std::vector<const PlacedPiece*> selected;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) selected.push_back(&p);
    const TrackCatalog& cat = TrackCatalog::Instance();
    if (selected.size() != 2 || !cat.Find(selected[0]->article) || !cat.Find(selected[1]->article))
        return plan;
    plan.applies = true;
    plan.ends = FindFacingEnds(doc, selected[0]->id, selected[1]->id);
    const FillEnds& ends = plan.ends;
    if (!ends.found) {
        plan.title = Tr(kAutofillTitle);
        plan.message = Tr("Could not find facing free connectors on the two selected pieces.");
        doc.ClearSelection();
        plan.selectionCleared = true;
        return plan;
    }
    if (ends.gap < 1.0) {
        plan.title = Tr(kAutofillTitle);
        plan.message = Tr("The two pieces are already touching \u2014 no gap to fill.");
        return plan;
    }
    // Straights run along A's heading, so they only close a gap that B continues in line; the
    // fill takes the system of the ends themselves (an adapter's ends differ from its piece).
    const TrackSystem systemA = cat.Find(selected[0]->article)->ConnectorSystem(ends.connA);
    const TrackSystem systemB = cat.Find(selected[1]->article)->ConnectorSystem(ends.connB);
    if (ends.turnDeg > kStraightFillDeg && ends.lateralMm <= kMaxLateralOffsetMm &&
        systemA == systemB)
        plan.solutions = SearchStraightFill(systemA, ends.gap);
    if (plan.solutions.empty()) {
        plan.title = Tr(kAutofillNoSolutionTitle);
        plan.message = Format(
            Tr("Gap is %.1fmm. No combination of catalog straights fills it within tolerance.")
                .c_str(),
            ends.gap);
        return plan;
    }
    plan.prompt = Format(Tr("Gap: %.1f mm. Select fill:").c_str(), ends.gap);
    for (const FillSolution& s : plan.solutions) plan.lines.push_back(FillSolutionLine(s));
    return plan;
}

std::string PlaceFillSolution(LayoutDocument& doc, const FillEnds& ends,
                              const FillSolution& solution) {
    const TrackCatalog& cat = TrackCatalog::Instance();
    const PlacedPiece* a = doc.FindPiece(ends.pieceA);
    const PlacedPiece* b = doc.FindPiece(ends.pieceB);
    if (!ends.found || !a || !b || a == b) return Tr("The pieces at the gap no longer exist.");
    const PieceDef* da = cat.Find(a->article);
    const PieceDef* db = cat.Find(b->article);
    if (!da || !db) return Tr("The pieces at the gap are not in the catalog.");
    if (solution.articles.empty()) return Tr("The chosen fill holds no pieces.");
    std::vector<const PieceDef*> defs;
    for (const std::string& article : solution.articles) {
        const PieceDef* d = cat.Find(article);
        // A piece left out would leave the chain short of B and join across the hole.
        if (!d || d->connectors.size() < 2) return Tr("The chosen fill holds an unknown piece.");
        defs.push_back(d);
    }
    const int ca = ConnectorAt(*a, *da, ends.a, ends.connA);
    const int cb = ConnectorAt(*b, *db, ends.b, ends.connB);
    if (ca < 0 || cb < 0) return Tr("The ends of the gap have moved or been joined.");

    doc.PushUndo();
    uint32_t prev = ends.pieceA;
    int prevConn = ca;
    ConnectorPose cursor = GetConnectorPose(*a, *da, ca);
    std::vector<uint32_t> placed;
    for (const PieceDef* d : defs) {
        const PiecePose pose = AlignToConnector(*d, 0, cursor);
        PlacedPiece p;
        p.article = d->article;
        p.x = pose.x;
        p.y = pose.y;
        p.heading = pose.heading;
        p.level = 1;
        p.joints.resize(d->connectors.size());
        p.joints[0] = {prev, static_cast<uint32_t>(prevConn)};
        p.id = doc.TakeId();
        const uint32_t id = p.id;
        placed.push_back(id);
        doc.pieces.push_back(std::move(p));
        PlacedPiece* before = doc.FindPiece(prev);
        const PieceDef* beforeDef = cat.Find(before->article);
        if (before->joints.size() < beforeDef->connectors.size())
            before->joints.resize(beforeDef->connectors.size());
        before->joints[prevConn] = {id, 0};
        prev = id;
        prevConn = 1;
        cursor = GetConnectorPose(doc.pieces.back(), *d, 1);
    }
    PlacedPiece* last = doc.FindPiece(prev);
    PlacedPiece* end = doc.FindPiece(ends.pieceB);
    if (end->joints.size() < db->connectors.size()) end->joints.resize(db->connectors.size());
    last->joints[prevConn] = {ends.pieceB, static_cast<uint32_t>(cb)};
    end->joints[cb] = {prev, static_cast<uint32_t>(prevConn)};
    JoinPlacedEnds(doc, placed);
    return "";
}
