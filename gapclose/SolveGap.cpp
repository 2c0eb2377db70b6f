// The gap closer: a meet-in-the-middle search over catalog pieces, the check of each chain found
// against the layout, and laying the chosen chain.
#include "gapclose/SolveGap.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <tuple>
#include <utility>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "trackgeometry/ConnectorJoins.h"
#include "catalog/TrackCatalog.h"
#include "gapclose/ChainCollision.h"
#include "gapclose/GapMoves.h"
#include "gapclose/PoseIndex.h"
#include "model/GradeRuns.h"

namespace {

// Ends whose heights differ by more than this are on different decks.
constexpr double kSameHeightMm = 0.5;
// Poses of one piece count closer than this, with equal headings, are one pose: chains that
// differ only in the order of pieces that commute (straights in a row, curves of one radius)
// are met once. Far below any tolerance, so no chain of another shape is lost.
constexpr double kSamePoseMm = 1e-4;
// The search keeps at most this many poses, both sides together (about 32 bytes each).
constexpr size_t kMaxPoses = 4'000'000;
// Matches of one piece count kept for checking against the layout, the nearest first.
constexpr size_t kMaxCandidates = 600;
// A search that found chains goes on to one piece more only while it holds fewer poses.
constexpr size_t kMaxPosesToExtend = 50'000;
// The nearest-miss pass looks this far around (mm) and this far off facing (degrees).
constexpr double kNearCellMm = 25.0;
constexpr double kNearDeg = 5.0;
// ...over at most this many pose and heading pairs.
constexpr size_t kNearWork = 20'000'000;
// Limits of the options.
constexpr double kMinToleranceMm = 0.01;
constexpr double kMaxToleranceMm = 5.0;
constexpr double kMinToleranceDeg = 0.01;
constexpr double kMaxToleranceDeg = 5.0;
constexpr int kMaxPieceLimit = 16;

double SignedDeg(double deg) {
    const double n = NormalizeDeg(deg);
    return n > 180 ? n - 360 : n;
}

// How far an exit pose lies from facing end `b` exactly.
std::pair<double, double> MissAgainst(const ConnectorPose& exit, const ConnectorPose& b) {
    return {std::hypot(exit.x - b.x, exit.y - b.y), 180.0 - HeadingDiffDeg(exit.heading, b.heading)};
}

// An open end reached by a partial chain: position, heading in units above the side's start
// heading, and how it was reached.
struct Pose {
    double x = 0;
    double y = 0;
    int32_t k = 0;
    int32_t parent = -1;
    int32_t move = -1;
};

// One side of the search: the chains grown from one end of the gap.
struct Side {
    ConnectorPose start;
    ConnectorPose target;  // the other end
    std::vector<double> cosK, sinK;  // of the start heading plus k units
    std::vector<Pose> poses;
    std::vector<size_t> levelStart{0};  // level L: poses [levelStart[L], levelStart[L + 1])
    int Levels() const { return static_cast<int>(levelStart.size()) - 1; }
    size_t Begin(int level) const { return levelStart[level]; }
    size_t End(int level) const { return levelStart[level + 1]; }
};

// A forward and a backward pose that meet: the chain through both lands this far from end B.
struct Candidate {
    double missMm = 0;
    double missDeg = 0;
    int32_t forward = -1;
    int32_t backward = -1;
};

bool CandidateBefore(const Candidate& x, const Candidate& y) {
    return std::tie(x.missMm, x.missDeg, x.forward, x.backward) <
           std::tie(y.missMm, y.missDeg, y.forward, y.backward);
}

class GapSearch {
public:
    GapSearch(const LayoutDocument& doc, GapEnd a, GapEnd b, const GapOptions& options,
              GapMoveSet moveSet, ConnectorPose pa, ConnectorPose pb)
        : doc(doc),
          a(a),
          b(b),
          options(options),
          set(std::move(moveSet)),
          probe(doc, a, b, options.allowCrossing),
          started(std::chrono::steady_clock::now()) {
        tolMm = std::clamp(options.toleranceMm, kMinToleranceMm, kMaxToleranceMm);
        tolDeg = std::clamp(options.toleranceDeg, kMinToleranceDeg, kMaxToleranceDeg);
        maxPieces = std::clamp(options.maxPieces, 1, kMaxPieceLimit);
        // Rounded headings drift a little per piece; the match looks wider and the exact
        // rebuild of every chain decides.
        matchMm = tolMm + (set.exactUnits ? 1e-6 : 1.0);
        matchDeg = tolDeg + (set.exactUnits ? 1e-9 : set.unitDeg * maxPieces);
        forward.start = pa;
        forward.target = pb;
        backward.start = pb;
        backward.target = pa;
        for (Side* s : {&forward, &backward}) {
            const int n = set.unitsPerTurn;
            s->cosK.resize(n);
            s->sinK.resize(n);
            for (int k = 0; k < n; ++k) {
                const double h = DegToRad(s->start.heading + k * set.unitDeg);
                s->cosK[k] = std::cos(h);
                s->sinK[k] = std::sin(h);
            }
            s->poses.push_back({s->start.x, s->start.y, 0, -1, -1});
            s->levelStart.push_back(1);
        }
        // Heading offsets that make a forward pose face a backward one within the tolerance.
        const double c0 = forward.start.heading - backward.start.heading - 180.0;
        const int centre = static_cast<int>(std::lround(-SignedDeg(c0) / set.unitDeg));
        const int width = static_cast<int>(std::ceil(kNearDeg / set.unitDeg)) + 1;
        for (int d = centre - width; d <= centre + width; ++d) {
            const double delta = SignedDeg(d * set.unitDeg + c0);
            if (std::fabs(delta) > kNearDeg) continue;
            const int dmod = ((d % set.unitsPerTurn) + set.unitsPerTurn) % set.unitsPerTurn;
            offsets.push_back({dmod, delta, std::cos(DegToRad(delta)), std::sin(DegToRad(delta))});
        }
    }

    GapSearchResult Run() {
        GapSearchResult result;
        int firstCount = 0;
        for (int n = 1; n <= maxPieces; ++n) {
            const int f = (n + 1) / 2, bl = n / 2;
            // Each count grows both sides afresh, pruned to what can still reach the other end
            // within exactly n pieces; the shallow levels cost little next to the deepest.
            count = n;
            Restart(forward);
            Restart(backward);
            if (!Reach(forward, f) || !Reach(backward, bl)) break;
            std::vector<Candidate> found = Match(f, bl, matchMm, matchDeg, n);
            if (stopped) break;
            Accept(found, n);
            result.searchedPieces = n;
            Progress(static_cast<double>(n) / maxPieces);
            if (accepted.size() >= kMaxGapSolutions) break;
            // One piece count beyond the first that closes offers alternatives, while the poses
            // it needs stay few.
            if (!accepted.empty() && (firstCount || forward.poses.size() + backward.poses.size() >
                                                        kMaxPosesToExtend))
                break;
            if (!accepted.empty()) firstCount = n;
            if (stopped) break;
        }
        result.timedOut = timedOut;
        result.cancelled = cancelled;
        result.firstSolutionS = firstSolutionS;
        std::stable_sort(accepted.begin(), accepted.end(), [](const Scored& x, const Scored& y) {
            return std::make_tuple(x.solution.steps.size(), x.solution.missMm, x.solution.missDeg,
                                   x.changes) < std::make_tuple(y.solution.steps.size(),
                                                                y.solution.missMm,
                                                                y.solution.missDeg, y.changes);
        });
        for (Scored& s : accepted) {
            if (result.solutions.size() >= kMaxGapSolutions) break;
            result.solutions.push_back(std::move(s.solution));
        }
        if (result.solutions.empty() && !cancelled) result.nearest = Nearest();
        return result;
    }

private:
    struct Offset {
        int units;     // forward heading units minus backward heading units
        double delta;  // the heading miss that leaves at B, degrees
        double cosD, sinD;
    };
    struct Scored {
        GapSolution solution;
        int changes = 0;
    };

    bool Stopped() {
        if (stopped) return true;
        if (options.cancel && options.cancel->load(std::memory_order_relaxed)) {
            cancelled = stopped = true;
        } else if (!nearPass && Elapsed() > options.timeLimitS) {
            timedOut = stopped = true;
        }
        return stopped;
    }
    double Elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    void Progress(double share) {
        if (options.progress) options.progress(std::clamp(share, 0.0, 1.0));
    }

    // Pieces that follow a pose of `level` in a chain of the count being searched.
    int Remaining(int level) const { return count - level; }

    void Restart(Side& s) {
        s.poses.resize(1);
        s.levelStart = {0, 1};
        gridLevel = -1;
    }

    // Grows the side until it has `level` levels; false when stopped or out of room.
    bool Reach(Side& s, int level) {
        while (s.Levels() <= level) {
            if (!Grow(s)) return false;
        }
        return true;
    }

    bool Grow(Side& s) {
        const int from = s.Levels() - 1;
        const int level = from + 1;
        const int n = set.unitsPerTurn;
        const double reachMm = Remaining(level) * set.longestChordMm + matchMm;
        const double reachDeg = Remaining(level) * set.largestTurnDeg + matchDeg;
        const double facing = s.target.heading + 180.0;
        FlatIndex seen;
        seen.Reset((s.End(from) - s.Begin(from)) * set.moves.size() / 4);
        size_t work = 0;
        for (size_t i = s.Begin(from); i < s.End(from); ++i) {
            if ((++work & 1023) == 0 && Stopped()) return false;
            const Pose p = s.poses[i];
            const double c = s.cosK[p.k], sn = s.sinK[p.k];
            for (size_t m = 0; m < set.moves.size(); ++m) {
                const GapMove& mv = set.moves[m];
                Pose q;
                q.x = p.x + c * mv.dx - sn * mv.dy;
                q.y = p.y + sn * mv.dx + c * mv.dy;
                q.k = ((p.k + mv.turnUnits) % n + n) % n;
                q.parent = static_cast<int32_t>(i);
                q.move = static_cast<int32_t>(m);
                // Prune what the remaining pieces cannot bring to the other end.
                const double tx = q.x - s.target.x, ty = q.y - s.target.y;
                if (tx * tx + ty * ty > reachMm * reachMm) continue;
                const double heading = s.start.heading + q.k * set.unitDeg;
                if (HeadingDiffDeg(heading, facing) > reachDeg) continue;
                int32_t& slot = seen.Slot(PoseKey(q.k, std::llround((q.x - s.start.x) / kSamePoseMm),
                                                  std::llround((q.y - s.start.y) / kSamePoseMm)));
                if (slot >= 0) continue;
                if (forward.poses.size() + backward.poses.size() >= kMaxPoses) {
                    stopped = timedOut = true;
                    return false;
                }
                slot = static_cast<int32_t>(s.poses.size());
                s.poses.push_back(q);
            }
        }
        s.levelStart.push_back(s.poses.size());
        return true;
    }

    // The forward poses of one level on a grid of `cellMm`, chained through `next`.
    void BuildGrid(int level, double cellMm) {
        if (gridLevel == level && gridCell == cellMm) return;
        gridLevel = level;
        gridCell = cellMm;
        grid.Reset(forward.End(level) - forward.Begin(level));
        next.assign(forward.poses.size(), -1);
        for (size_t i = forward.Begin(level); i < forward.End(level); ++i) {
            const Pose& p = forward.poses[i];
            uint64_t key;
            if (!PackKey(p.k, static_cast<int64_t>(std::floor((p.x - forward.start.x) / cellMm)),
                         static_cast<int64_t>(std::floor((p.y - forward.start.y) / cellMm)), key))
                continue;
            int32_t& head = grid.Slot(key);
            next[i] = head;
            head = static_cast<int32_t>(i);
        }
    }

    // Every pair of a forward pose of level f and a backward pose of level bl whose chain lands
    // within (mm, deg) of end B, the nearest kept.
    std::vector<Candidate> Match(int f, int bl, double mm, double deg, int pieces) {
        std::vector<Candidate> found;
        const double cell = std::max(2 * mm, 1e-3);
        BuildGrid(f, cell);
        const double bx = backward.start.x, by = backward.start.y;
        const double ox = forward.start.x, oy = forward.start.y;
        const size_t begin = backward.Begin(bl), end = backward.End(bl);
        size_t work = 0;
        for (size_t j = begin; j < end; ++j) {
            if ((++work & 1023) == 0) {
                if (Stopped()) break;
                if ((work & 65535) == 0)
                    Progress((pieces - 1 + static_cast<double>(j - begin) / (end - begin)) /
                             maxPieces);
            }
            const Pose& q = backward.poses[j];
            const double vx = bx - q.x, vy = by - q.y;
            for (const Offset& o : offsets) {
                if (std::fabs(o.delta) > deg) continue;
                const int k = (q.k + o.units) % set.unitsPerTurn;
                // The forward pose must lie where the rest of the chain carries it onto B.
                const double cx = bx - (o.cosD * vx - o.sinD * vy);
                const double cy = by - (o.sinD * vx + o.cosD * vy);
                const int64_t x0 = static_cast<int64_t>(std::floor((cx - mm - ox) / cell));
                const int64_t x1 = static_cast<int64_t>(std::floor((cx + mm - ox) / cell));
                const int64_t y0 = static_cast<int64_t>(std::floor((cy - mm - oy) / cell));
                const int64_t y1 = static_cast<int64_t>(std::floor((cy + mm - oy) / cell));
                for (int64_t ix = x0; ix <= x1; ++ix) {
                    for (int64_t iy = y0; iy <= y1; ++iy) {
                        uint64_t key;
                        if (!PackKey(k, ix, iy, key)) continue;
                        for (int32_t i = grid.Find(key); i >= 0; i = next[i]) {
                            const Pose& p = forward.poses[i];
                            const double miss = std::hypot(p.x - cx, p.y - cy);
                            if (miss > mm) continue;
                            found.push_back({miss, std::fabs(o.delta), i, static_cast<int32_t>(j)});
                            if (found.size() >= 8 * kMaxCandidates) Trim(found);
                        }
                    }
                }
            }
        }
        Trim(found);
        return found;
    }

    static void Trim(std::vector<Candidate>& found) {
        if (found.size() > kMaxCandidates) {
            std::nth_element(found.begin(), found.begin() + kMaxCandidates, found.end(),
                             CandidateBefore);
            found.resize(kMaxCandidates);
        }
        std::sort(found.begin(), found.end(), CandidateBefore);
    }

    // The moves of a candidate's chain from A: the forward ones, then the backward ones reversed.
    std::vector<std::pair<int, bool>> ChainMoves(const Candidate& c) const {
        std::vector<std::pair<int, bool>> moves;
        for (int32_t i = c.forward; forward.poses[i].move >= 0; i = forward.poses[i].parent)
            moves.push_back({forward.poses[i].move, false});
        std::reverse(moves.begin(), moves.end());
        for (int32_t i = c.backward; backward.poses[i].move >= 0; i = backward.poses[i].parent)
            moves.push_back({backward.poses[i].move, true});
        return moves;
    }

    // The pieces of a chain of moves, the first article of each shape that stock allows.
    bool Steps(const std::vector<std::pair<int, bool>>& moves, std::vector<GapStep>& steps) const {
        std::map<std::string, int> used;
        for (auto [m, reversed] : moves) {
            const GapStep* way = nullptr;
            for (const GapStep& w : set.moves[m].ways) {
                if (options.limitToStock) {
                    auto it = options.stock.find(w.article);
                    if (it == options.stock.end() || used[w.article] >= it->second) continue;
                }
                way = &w;
                break;
            }
            if (!way) return false;
            ++used[way->article];
            steps.push_back(reversed ? GapStep{way->article, way->exit, way->entry} : *way);
        }
        return true;
    }

    // Changes of curve direction along the chain, straights between curves not counted.
    int DirectionChanges(const std::vector<std::pair<int, bool>>& moves) const {
        int last = 0, changes = 0;
        for (auto [m, reversed] : moves) {
            const int bend = reversed ? -set.moves[m].bend : set.moves[m].bend;
            if (bend == 0) continue;
            if (last != 0 && bend != last) ++changes;
            last = bend;
        }
        return changes;
    }

    // Rebuilds each candidate piece by piece and keeps those that land within the tolerance and
    // run through nothing.
    void Accept(std::vector<Candidate>& found, int pieces) {
        struct Ordered {
            Candidate c;
            int changes;
        };
        std::vector<Ordered> order;
        for (const Candidate& c : found) order.push_back({c, DirectionChanges(ChainMoves(c))});
        std::stable_sort(order.begin(), order.end(), [](const Ordered& x, const Ordered& y) {
            return std::tie(x.c.missMm, x.c.missDeg, x.changes) <
                   std::tie(y.c.missMm, y.c.missDeg, y.changes);
        });
        const PlacedPiece* pb = doc.FindPiece(b.piece);
        const PieceDef* db = TrackCatalog::Instance().Find(pb->article);
        const ConnectorPose endB = GetConnectorPose(*pb, *db, b.connector);
        size_t newOnes = 0;
        for (const Ordered& o : order) {
            if (newOnes >= kMaxGapSolutions || Stopped()) break;
            GapSolution s;
            if (!Steps(ChainMoves(o.c), s.steps)) continue;
            const std::vector<PlacedPiece> chain = LayGapChain(doc, a, s.steps);
            if (chain.size() != s.steps.size()) continue;
            const PieceDef* last = TrackCatalog::Instance().Find(chain.back().article);
            const auto [mm, deg] =
                MissAgainst(GetConnectorPose(chain.back(), *last, s.steps.back().exit), endB);
            if (mm > tolMm + 1e-9 || deg > tolDeg + 1e-9) {
                Near(pieces, mm, deg);
                continue;
            }
            if (probe.Collides(chain, s.steps)) continue;
            s.missMm = mm;
            s.missDeg = deg;
            if (firstSolutionS < 0) firstSolutionS = Elapsed();
            accepted.push_back({std::move(s), o.changes});
            ++newOnes;
        }
    }

    void Near(int pieces, double mm, double deg) {
        if (!nearest.found || std::tie(mm, deg) < std::tie(nearest.missMm, nearest.missDeg))
            nearest = {true, pieces, mm, deg};
    }

    // The nearest chain when none closes the gap: matches of the deepest piece counts searched
    // within a wide window, else the forward pose that came closest to B.
    GapNearMiss Nearest() {
        // The pass is bounded by kNearWork, so it runs even after a time-out.
        stopped = false;
        nearPass = true;
        for (int n = std::min(maxPieces, forward.Levels() - 1 + backward.Levels() - 1); n >= 1;
             --n) {
            const int f = (n + 1) / 2, bl = n / 2;
            if (f > forward.Levels() - 1 || bl > backward.Levels() - 1) continue;
            if ((backward.End(bl) - backward.Begin(bl)) * offsets.size() > kNearWork) continue;
            std::vector<Candidate> wide = Match(f, bl, kNearCellMm, kNearDeg, n);
            if (cancelled) return nearest;
            for (const Candidate& c : wide) Near(n, c.missMm, c.missDeg);
            if (nearest.found) return nearest;
        }
        for (int level = 1; level < forward.Levels(); ++level) {
            for (size_t i = forward.Begin(level); i < forward.End(level); ++i) {
                const Pose& p = forward.poses[i];
                const double heading = forward.start.heading + p.k * set.unitDeg;
                Near(level, std::hypot(p.x - backward.start.x, p.y - backward.start.y),
                     180.0 - HeadingDiffDeg(heading, backward.start.heading));
            }
        }
        return nearest;
    }

    const LayoutDocument& doc;
    GapEnd a, b;
    const GapOptions& options;
    GapMoveSet set;
    ChainCollisionProbe probe;
    std::chrono::steady_clock::time_point started;
    double tolMm = 0.5, tolDeg = 0.5, matchMm = 0.5, matchDeg = 0.5;
    int maxPieces = 10;
    int count = 0;  // the piece count being searched
    Side forward, backward;
    std::vector<Offset> offsets;
    FlatIndex grid;
    std::vector<int32_t> next;
    int gridLevel = -1;
    double gridCell = 0;
    std::vector<Scored> accepted;
    GapNearMiss nearest;
    bool stopped = false, timedOut = false, cancelled = false, nearPass = false;
    double firstSolutionS = -1;
};

// The end's piece and definition, or the sentence saying what is wrong with it.
std::string EndProblem(const LayoutDocument& doc, GapEnd end, bool first) {
    const PlacedPiece* p = doc.FindPiece(end.piece);
    if (!p)
        return first ? Tr("The first end of the gap is no longer in the layout.")
                     : Tr("The second end of the gap is no longer in the layout.");
    const PieceDef* def = TrackCatalog::Instance().Find(p->article);
    if (!def) return Format(Tr("Article %s is not in the catalog.").c_str(), p->article.c_str());
    if (end.connector < 0 || end.connector >= static_cast<int>(def->connectors.size()))
        return Format(Tr("Piece %s has no connector %d.").c_str(), p->article.c_str(),
                      end.connector);
    if (!p->IsOpen(end.connector))
        return Format(Tr("Connector %d of %s is already joined.").c_str(), end.connector,
                      p->article.c_str());
    return "";
}

ConnectorPose EndPose(const LayoutDocument& doc, GapEnd end) {
    const PlacedPiece* p = doc.FindPiece(end.piece);
    return GetConnectorPose(*p, *TrackCatalog::Instance().Find(p->article), end.connector);
}

TrackSystem EndSystem(const LayoutDocument& doc, GapEnd end) {
    const PlacedPiece* p = doc.FindPiece(end.piece);
    return TrackCatalog::Instance().Find(p->article)->ConnectorSystem(end.connector);
}

}  // namespace

std::string CheckGapEnds(const LayoutDocument& doc, GapEnd a, GapEnd b) {
    std::string problem = EndProblem(doc, a, true);
    if (problem.empty()) problem = EndProblem(doc, b, false);
    if (!problem.empty()) return problem;
    if (a == b) return Tr("The two ends are the same connector.");
    const TrackSystem sa = EndSystem(doc, a), sb = EndSystem(doc, b);
    if (sa != sb)
        return Format(Tr("The ends belong to different track systems (%s and %s).").c_str(),
                      Tr(TrackSystemLongName(sa).c_str()).c_str(),
                      Tr(TrackSystemLongName(sb).c_str()).c_str());
    const double ha = ConnectorHeight(*doc.FindPiece(a.piece), a.connector);
    const double hb = ConnectorHeight(*doc.FindPiece(b.piece), b.connector);
    if (!(std::fabs(ha - hb) <= kSameHeightMm))
        return Format(Tr("The ends lie at different heights (%.1f mm and %.1f mm).").c_str(), ha,
                      hb);
    return "";
}

std::vector<PlacedPiece> LayGapChain(const LayoutDocument& doc, GapEnd a,
                                     const std::vector<GapStep>& steps, std::string* error) {
    std::vector<PlacedPiece> chain;
    auto fail = [&](std::string text) {
        if (error) *error = std::move(text);
        return std::vector<PlacedPiece>{};
    };
    std::string problem = EndProblem(doc, a, true);
    if (!problem.empty()) return fail(problem);
    const PlacedPiece& start = *doc.FindPiece(a.piece);
    ConnectorPose cursor = EndPose(doc, a);
    const double height = ConnectorHeight(start, a.connector);
    for (const GapStep& step : steps) {
        const PieceDef* def = TrackCatalog::Instance().Find(step.article);
        if (!def)
            return fail(
                Format(Tr("Article %s is not in the catalog.").c_str(), step.article.c_str()));
        const int n = static_cast<int>(def->connectors.size());
        if (step.entry < 0 || step.entry >= n || step.exit < 0 || step.exit >= n ||
            step.entry == step.exit)
            return fail(Format(Tr("Piece %s has no way from connector %d to connector %d.").c_str(),
                               step.article.c_str(), step.entry, step.exit));
        const PiecePose pose = AlignToConnector(*def, step.entry, cursor);
        PlacedPiece p;
        p.article = def->article;
        p.x = pose.x;
        p.y = pose.y;
        p.heading = pose.heading;
        p.level = start.level;
        p.elevation = height;
        p.joints.resize(def->connectors.size());
        cursor = GetConnectorPose(p, *def, step.exit);
        chain.push_back(std::move(p));
    }
    return chain;
}

GapSearchResult SearchGap(const LayoutDocument& doc, GapEnd a, GapEnd b, const GapOptions& options) {
    GapSearchResult result;
    result.error = CheckGapEnds(doc, a, b);
    if (!result.error.empty()) return result;
    const ConnectorPose pa = EndPose(doc, a), pb = EndPose(doc, b);
    const auto [mm, deg] = MissAgainst(pa, pb);
    if (mm <= options.toleranceMm && deg <= options.toleranceDeg) {
        result.error = Tr("The two ends already meet: there is no gap to close.");
        return result;
    }
    const TrackSystem system = EndSystem(doc, a);
    GapMoveSet moves =
        BuildGapMoves(system, options.useTurnouts, options.limitToStock ? &options.stock : nullptr);
    if (moves.moves.empty()) {
        result.error = Format(Tr("No pieces of %s are available for the chain.").c_str(),
                              Tr(TrackSystemLongName(system).c_str()).c_str());
        return result;
    }
    return GapSearch(doc, a, b, options, std::move(moves), pa, pb).Run();
}

std::vector<GapSolution> SolveGap(const LayoutDocument& doc, GapEnd a, GapEnd b,
                                  const GapOptions& options) {
    return SearchGap(doc, a, b, options).solutions;
}

std::string PlaceGapSolution(LayoutDocument& doc, GapEnd a, GapEnd b, const GapSolution& solution) {
    std::string error = CheckGapEnds(doc, a, b);
    if (!error.empty()) return error;
    if (solution.steps.empty()) return Tr("The chosen chain holds no pieces.");
    std::vector<PlacedPiece> chain = LayGapChain(doc, a, solution.steps, &error);
    if (chain.empty()) return error;
    const std::vector<GapStep>& steps = solution.steps;
    const PieceDef* last = TrackCatalog::Instance().Find(chain.back().article);
    const auto [mm, deg] =
        MissAgainst(GetConnectorPose(chain.back(), *last, steps.back().exit), EndPose(doc, b));
    if (mm > kMaxToleranceMm || deg > kMaxToleranceDeg)
        return Tr("The chain no longer reaches the other end: the pieces have moved.");

    doc.PushUndo();
    std::vector<uint32_t> ids;
    for (PlacedPiece& p : chain) {
        p.id = doc.TakeId();
        ids.push_back(p.id);
        doc.pieces.push_back(std::move(p));
    }
    JoinConnectors(doc, a.piece, a.connector, ids.front(), steps.front().entry);
    for (size_t i = 0; i + 1 < ids.size(); ++i)
        JoinConnectors(doc, ids[i], steps[i].exit, ids[i + 1], steps[i + 1].entry);
    JoinConnectors(doc, ids.back(), steps.back().exit, b.piece, b.connector);
    // A turnout's other leg may end on track as well.
    JoinPlacedEnds(doc, ids);
    return "";
}
