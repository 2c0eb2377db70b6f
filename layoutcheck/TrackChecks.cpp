// Tight curves, turnouts on a grade, S-bends, reversing loops and short sidings. The walks go
// through the network's one step (StepFrom), so they obey the same direction rule as routes and
// running trains.
#include "layoutcheck/TrackChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "catalog/IsSwitchKind.h"
#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/TrackRoutes.h"
#include "trackgeometry/Units.h"
#include "catalog/TrackCatalog.h"
#include "layoutcheck/Finding.h"
#include "model/GradeRuns.h"
#include "network/HelixTrack.h"
#include "network/RailSides.h"
#include "network/TrackGraph.h"
#include "wiring/WiringAnalysis.h"

namespace {

std::string Length(double mm, int units) { return FormatLength(mm, units); }


bool IsTurnout(PieceKind kind) { return IsSwitchKind(kind) && kind != PieceKind::DoubleSlip; }

// How far a route through a piece turns, in degrees, positive to the left of travel; a route
// into a buffer does not turn.
double TurnDeg(const PieceDef& def, int entry, int exit) {
    const int n = static_cast<int>(def.connectors.size());
    if (entry < 0 || exit < 0 || entry >= n || exit >= n) return 0;
    // A helix's track turns further than its ends' headings tell.
    if (def.kind == PieceKind::Curve && std::fabs(def.angle) > 180)
        return entry == 0 ? def.angle : -def.angle;
    const double in = def.connectors[entry].heading + 180;
    double turn = std::fmod(def.connectors[exit].heading - in, 360.0);
    if (turn > 180) turn -= 360;
    if (turn <= -180) turn += 360;
    return turn;
}

ConnectorPose PoseOf(const LayoutDocument& doc, const PieceDef& def, uint32_t id, int conn) {
    const PlacedPiece* p = doc.FindPiece(id);
    if (conn < 0 || conn >= static_cast<int>(def.connectors.size())) return {};
    // A helix's track is not in the document: its record has its ends in world axes.
    if (!p) return {def.connectors[conn].x, def.connectors[conn].y, def.connectors[conn].heading};
    return GetConnectorPose(*p, def, conn);
}

// ---- S-bends ----

struct BendWalk {
    GraphEnd leaving;
    double straightMm = 0;
    std::vector<uint32_t> between;  // the straight pieces passed so far
};

void CheckSBends(const LayoutDocument& doc, const TrackGraph& graph, const CheckOptions& options,
                 std::vector<LayoutFinding>& out) {
    const double needed = options.minStraightMm;
    std::set<std::pair<uint32_t, uint32_t>> found;
    std::vector<BendWalk> stack;
    for (const auto& node : graph.Pieces()) {
        const PieceDef* def = node->def;
        if (!def || def->kind == PieceKind::Turntable) continue;
        for (const PieceRouteRef& first : node->routes) {
            const double turn = TurnDeg(*def, first.entry, first.exit);
            if (std::fabs(turn) < kCurveTurnDeg) continue;
            stack.push_back({{node->id, first.exit}, 0, {}});
            while (!stack.empty()) {
                BendWalk walk = std::move(stack.back());
                stack.pop_back();
                const TrackStep step = StepFrom(graph, walk.leaving);
                if (step.stop != StepStop::None) continue;
                const GraphPiece* next = graph.Find(step.entered.piece);
                if (!next || !next->def || next->def->kind == PieceKind::Turntable) continue;
                for (const PieceRouteRef& r : step.routes) {
                    if (r.exit == kBufferEnd) continue;
                    const double t = TurnDeg(*next->def, r.entry, r.exit);
                    if (std::fabs(t) < kCurveTurnDeg) {
                        const double straight = walk.straightMm + r.lengthMm;
                        if (straight >= needed || walk.between.size() > graph.Pieces().size())
                            continue;
                        BendWalk on{{next->id, r.exit}, straight, walk.between};
                        on.between.push_back(next->id);
                        stack.push_back(std::move(on));
                        continue;
                    }
                    if ((t > 0) == (turn > 0) || next->id == node->id) continue;
                    // Found from both curves; reported once.
                    const auto key = std::minmax(node->id, next->id);
                    if (!found.insert(key).second) continue;
                    const ConnectorPose a = PoseOf(doc, *def, node->id, first.exit);
                    const ConnectorPose b = PoseOf(doc, *next->def, next->id, r.entry);
                    std::vector<uint32_t> pieces{node->id};
                    pieces.insert(pieces.end(), walk.between.begin(), walk.between.end());
                    pieces.push_back(next->id);
                    out.push_back(Finding(
                        FindingKind::SBend, FindingSeverity::Warning, std::move(pieces),
                        (a.x + b.x) / 2, (a.y + b.y) / 2,
                        Format(
                            Tr("S-bend between %s and %s %s: %s of straight track between curves "
                               "turning opposite ways, %s needed")
                                .c_str(),
                            node->article.c_str(), next->article.c_str(),
                            PlaceText((a.x + b.x) / 2, (a.y + b.y) / 2, doc.units).c_str(),
                            Length(walk.straightMm, doc.units).c_str(),
                            Length(needed, doc.units).c_str())));
                }
            }
        }
    }
}

// ---- Sidings ----

void CheckSidings(const LayoutDocument& doc, const TrackGraph& graph, const CheckOptions& options,
                  std::vector<LayoutFinding>& out) {
    for (const auto& node : graph.Pieces()) {
        if (!node->def || !IsTurnout(node->def->kind)) continue;
        const int legs = static_cast<int>(node->def->connectors.size());
        for (int leg = 1; leg < legs; ++leg) {
            std::vector<uint32_t> pieces{node->id};
            GraphEnd leaving{node->id, leg};
            double lengthMm = 0;
            bool siding = false;
            // A siding ends at a buffer or an open end; another turnout, slip or turntable on
            // the way makes it part of a larger track.
            while (pieces.size() <= graph.Pieces().size()) {
                const TrackStep step = StepFrom(graph, leaving);
                if (step.stop == StepStop::OpenEnd || step.stop == StepStop::BufferStop) {
                    siding = true;
                    break;
                }
                if (step.stop != StepStop::None || step.routes.size() != 1) break;
                const GraphPiece* next = graph.Find(step.entered.piece);
                if (!next || !next->def || IsSwitchKind(next->def->kind) ||
                    next->def->kind == PieceKind::Turntable || next->id == node->id)
                    break;
                lengthMm += step.routes[0].lengthMm;
                pieces.push_back(next->id);
                leaving = {next->id, step.routes[0].exit};
                if (leaving.connector == kBufferEnd) {
                    siding = true;
                    break;
                }
            }
            if (!siding || pieces.size() < 2 || !(lengthMm < options.longestTrainMm)) continue;
            const ConnectorPose at = PoseOf(doc, *node->def, node->id, leg);
            out.push_back(Finding(
                FindingKind::SidingTooShort, FindingSeverity::Warning, std::move(pieces), at.x,
                at.y,
                Format(Tr("Siding from %s %s is %s long, shorter than the %s train").c_str(),
                       node->article.c_str(), PlaceText(at.x, at.y, doc.units).c_str(),
                       Length(lengthMm, doc.units).c_str(),
                       Length(options.longestTrainMm, doc.units).c_str())));
        }
    }
}

// ---- Reversing loops ----

// The rails of two-rail track form two conductors. Each piece (each separate track of a
// crossing) is a node whose rails are either as in its own frame or swapped; a joint of an end to
// a start keeps the frame, a joint of two ends or two starts swaps it. A cycle that swaps an odd
// number of times joins the two conductors: a train can run round it and come back the other way.
class LoopSearch {
public:
    LoopSearch(const LayoutDocument& doc, const TrackGraph& graph) : doc(doc), graph(graph) {}

    void Run(std::vector<LayoutFinding>& out) {
        MakeNodes();
        MakeEdges();
        Colour();
        Report(out);
    }

private:
    struct Node {
        uint32_t piece;
        int pieceIndex;
    };
    struct Edge {
        int to;
        int id;  // in edgeEnds
    };
    struct EdgeEnds {
        int a, b;
        bool swap;  // the frame turns over across the joint
    };

    // Nodes per piece: its connectors grouped by the routes between them, each connector with
    // its side (start or end of travel through the group). Pieces whose routes do not split into
    // two sides (a turntable turns its bridge round) are left out.
    void MakeNodes() {
        const auto& pieces = graph.Pieces();
        firstConn.assign(pieces.size() + 1, 0);
        for (size_t i = 0; i < pieces.size(); ++i)
            firstConn[i + 1] =
                firstConn[i] +
                static_cast<int>(pieces[i]->def ? pieces[i]->def->connectors.size() : 0);
        connNode.assign(firstConn.back(), -1);
        connSide.assign(firstConn.back(), 0);
        for (size_t i = 0; i < pieces.size(); ++i) {
            const GraphPiece& p = *pieces[i];
            if (!p.def || !IsTwoRail(p.def->system) || p.def->kind == PieceKind::Turntable)
                continue;
            const int n = static_cast<int>(p.def->connectors.size());
            RailSides rails;
            if (!SplitRailSides(p, n, &rails)) continue;
            const std::vector<int>& group = rails.group;
            const std::vector<int>& side = rails.side;
            std::unordered_map<int, int> nodeOfGroup;
            for (int c = 0; c < n; ++c) {
                auto [it, added] = nodeOfGroup.emplace(group[c], static_cast<int>(nodes.size()));
                if (added) nodes.push_back({p.id, static_cast<int>(i)});
                connNode[firstConn[i] + c] = it->second;
                connSide[firstConn[i] + c] = side[c];
            }
        }
        edges.resize(nodes.size());
    }

    int Slot(uint32_t piece, int conn) const {
        const int i = graph.IndexOf(piece);
        if (i < 0 || conn < 0 || firstConn[i] + conn >= firstConn[i + 1]) return -1;
        return firstConn[i] + conn;
    }

    void MakeEdges() {
        for (size_t i = 0; i < graph.Pieces().size(); ++i) {
            const uint32_t id = graph.Pieces()[i]->id;
            for (int c = 0; c < firstConn[i + 1] - firstConn[i]; ++c) {
                const int a = firstConn[i] + c;
                if (connNode[a] < 0) continue;
                const TrackStep step = StepFrom(graph, {id, c});
                if (step.stop != StepStop::None) continue;
                const int b = Slot(step.entered.piece, step.entered.connector);
                if (b < 0 || connNode[b] < 0 || b < a) continue;  // each joint once
                const int id = static_cast<int>(edgeEnds.size());
                edgeEnds.push_back({connNode[a], connNode[b], connSide[a] == connSide[b]});
                edges[connNode[a]].push_back({connNode[b], id});
                if (connNode[a] != connNode[b]) edges[connNode[b]].push_back({connNode[a], id});
            }
        }
    }

    // Breadth first from every unvisited node: a spanning forest with each node's frame
    // relative to its root; an edge outside the forest that disagrees closes an odd cycle.
    void Colour() {
        const int n = static_cast<int>(nodes.size());
        parent.assign(n, -1);
        depth.assign(n, -1);
        swapped.assign(n, false);
        std::vector<bool> inForest(edgeEnds.size(), false);
        std::deque<int> queue;
        for (int root = 0; root < n; ++root) {
            if (depth[root] >= 0) continue;
            depth[root] = 0;
            queue.push_back(root);
            while (!queue.empty()) {
                const int at = queue.front();
                queue.pop_front();
                for (const Edge& e : edges[at]) {
                    if (depth[e.to] >= 0) continue;
                    depth[e.to] = depth[at] + 1;
                    parent[e.to] = at;
                    swapped[e.to] = swapped[at] != edgeEnds[e.id].swap;
                    inForest[e.id] = true;
                    queue.push_back(e.to);
                }
            }
        }
        for (size_t id = 0; id < edgeEnds.size(); ++id) {
            const EdgeEnds& e = edgeEnds[id];
            if (!inForest[id] && (swapped[e.a] != swapped[e.b]) != e.swap)
                odd.push_back({e.a, e.b});
        }
    }

    // The nodes of the cycle an odd edge closes, from their meeting point round to it again.
    std::vector<int> Cycle(int a, int b, int& apex) const {
        std::vector<int> up, down;
        while (depth[a] > depth[b]) up.push_back(std::exchange(a, parent[a]));
        while (depth[b] > depth[a]) down.push_back(std::exchange(b, parent[b]));
        while (a != b) {
            up.push_back(std::exchange(a, parent[a]));
            down.push_back(std::exchange(b, parent[b]));
        }
        apex = a;
        std::vector<int> cycle{a};
        cycle.insert(cycle.end(), up.rbegin(), up.rend());
        cycle.insert(cycle.end(), down.begin(), down.end());
        return cycle;
    }

    struct Loop {
        std::vector<uint32_t> pieces;  // in order round the first cycle, then the others
        std::set<uint32_t> seen;
        int apex = -1;
    };

    // Odd cycles that share a piece are one loop (a loop with a passing track in it closes
    // several); merged loops are left empty.
    std::vector<Loop> MergeOddCycles() const {
        std::vector<Loop> loops;
        std::unordered_map<uint32_t, size_t> loopOfPiece;
        for (const auto& [a, b] : odd) {
            int apex = -1;
            const std::vector<int> cycle = Cycle(a, b, apex);
            std::set<size_t> touching;
            for (int node : cycle) {
                auto it = loopOfPiece.find(nodes[node].piece);
                if (it != loopOfPiece.end()) touching.insert(it->second);
            }
            size_t into;
            if (touching.empty()) {
                into = loops.size();
                loops.push_back({});
                loops.back().apex = apex;
            } else {
                into = *touching.begin();
                for (auto it = std::next(touching.begin()); it != touching.end(); ++it) {
                    for (uint32_t p : loops[*it].pieces) {
                        if (loops[into].seen.insert(p).second) loops[into].pieces.push_back(p);
                        loopOfPiece[p] = into;
                    }
                    loops[*it].pieces.clear();
                    loops[*it].seen.clear();
                }
            }
            for (int node : cycle) {
                const uint32_t p = nodes[node].piece;
                if (loops[into].seen.insert(p).second) loops[into].pieces.push_back(p);
                loopOfPiece[p] = into;
            }
        }
        return loops;
    }

    // A loop the wiring plan already gaps into a reversing section shorts nothing: only loops
    // whose pieces the plan's check still finds shorting are reported.
    bool StillShorts(const Loop& loop, bool wired,
                     const std::unordered_set<uint32_t>& shorting) const {
        return !wired || std::any_of(loop.pieces.begin(), loop.pieces.end(),
                                     [&](uint32_t p) { return shorting.count(p) > 0; });
    }

    // Every loop reported once with every piece of it.
    void Report(std::vector<LayoutFinding>& out) {
        const std::vector<Loop> loops = MergeOddCycles();
        std::unordered_set<uint32_t> shorting;
        const bool wired = !doc.wiring.gaps.empty();
        if (wired)
            for (const WiringFinding& f : AnalyseWiring(doc, graph, WiringOptions()).findings)
                if (f.kind == WiringFindingKind::ShortCircuit)
                    shorting.insert(f.pieces.begin(), f.pieces.end());
        for (const Loop& loop : loops) {
            if (loop.pieces.empty() || !StillShorts(loop, wired, shorting)) continue;
            const uint32_t apex = nodes[loop.apex].piece;
            const PlacedPiece* at = doc.FindPiece(apex);
            const GraphPiece* track = graph.Find(apex);
            const ConnectorPose helixEnd =
                !at && track && track->def ? PoseOf(doc, *track->def, apex, 0) : ConnectorPose{};
            const double x = at ? at->x : helixEnd.x, y = at ? at->y : helixEnd.y;
            out.push_back(Finding(
                FindingKind::ReversingLoop, FindingSeverity::Error, loop.pieces, x, y,
                Format(Tr("Reversing loop of %zu pieces %s (%s): on two-rail track it shorts the "
                          "rails; it needs insulated sections and a reversing module")
                           .c_str(),
                       loop.pieces.size(), PlaceText(x, y, doc.units).c_str(),
                       Articles(loop.pieces).c_str())));
        }
    }

    // "62611, 62188, 12 x 62130": the articles in order of first appearance, with counts.
    std::string Articles(const std::vector<uint32_t>& pieces) const {
        std::vector<std::pair<std::string, int>> counts;
        for (uint32_t id : pieces) {
            const PlacedPiece* p = doc.FindPiece(id);
            if (!p) continue;
            auto it = std::find_if(counts.begin(), counts.end(),
                                   [&](const auto& c) { return c.first == p->article; });
            if (it == counts.end())
                counts.push_back({p->article, 1});
            else
                ++it->second;
        }
        std::string text;
        for (const auto& [article, count] : counts) {
            if (!text.empty()) text += ", ";
            text += count > 1 ? std::to_string(count) + " x " + article : article;
        }
        return text;
    }

    const LayoutDocument& doc;
    const TrackGraph& graph;
    std::vector<Node> nodes;
    std::vector<std::vector<Edge>> edges;
    std::vector<EdgeEnds> edgeEnds;
    std::vector<int> firstConn;  // per piece index: its first connector slot
    std::vector<int> connNode;   // per connector slot: its node, or -1
    std::vector<int> connSide;   // per connector slot: 0 start, 1 end of its node's routes
    std::vector<int> parent, depth;
    std::vector<bool> swapped;
    std::vector<std::pair<int, int>> odd;
};

bool AnyTwoRail(const LayoutDocument& doc) {
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (def && IsTwoRail(def->system)) return true;
    }
    return false;
}

}  // namespace

namespace {

// Curves below the minimum radius, one finding per run of them joined end to end: a circle of
// R1 curves is one place to mend, not twelve.
void CheckTightCurves(const LayoutDocument& doc, const CheckOptions& options,
                      std::vector<LayoutFinding>& out) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    const auto tight = [&](const PlacedPiece* p) -> const PieceDef* {
        const PieceDef* def = p ? catalog.Find(p->article) : nullptr;
        return def && def->kind == PieceKind::Curve && def->radius > 0 &&
                       def->radius < options.minRadiusMm
                   ? def
                   : nullptr;
    };
    std::unordered_set<uint32_t> seen;
    for (const PlacedPiece& first : doc.pieces) {
        if (!tight(&first) || !seen.insert(first.id).second) continue;
        // The run, in the order its joints lead from the first curve found.
        std::vector<const PlacedPiece*> run{&first};
        for (size_t i = 0; i < run.size(); ++i)
            for (const Joint& j : run[i]->joints) {
                const PlacedPiece* next = j.IsOpen() ? nullptr : doc.FindPiece(j.target);
                if (tight(next) && seen.insert(next->id).second) run.push_back(next);
            }
        double smallest = HUGE_VAL;
        std::vector<uint32_t> ids;
        std::map<std::string, int> articles;
        for (const PlacedPiece* p : run) {
            smallest = std::min(smallest, tight(p)->radius);
            ids.push_back(p->id);
            ++articles[p->article];
        }
        const PlacedPiece& middle = *run[run.size() / 2];
        const PointMm mid = PieceMidpoint(middle, *tight(&middle));
        std::string names;
        for (const auto& [article, n] : articles)
            names += (names.empty() ? "" : ", ") +
                     (n > 1 ? Format("%d × %s", n, article.c_str()) : article);
        const std::string place = PlaceText(mid.x, mid.y, doc.units);
        const std::string minimum = FormatLength(options.minRadiusMm, doc.units);
        out.push_back(Finding(
            FindingKind::TightRadius, FindingSeverity::Warning, std::move(ids), mid.x, mid.y,
            run.size() == 1
                ? Format(Tr("Radius of %s on %s %s is below the %s minimum").c_str(),
                         FormatLength(smallest, doc.units).c_str(), names.c_str(), place.c_str(),
                         minimum.c_str())
                : Format(Tr("Radius of %s on %d joined curves (%s) %s is below the %s minimum")
                             .c_str(),
                         FormatLength(smallest, doc.units).c_str(), static_cast<int>(run.size()),
                         names.c_str(), place.c_str(), minimum.c_str())));
    }
}

}  // namespace

std::string PlaceText(double xMm, double yMm, int units) {
    return Format(Tr("at %s, %s").c_str(), FormatLength(xMm, units).c_str(),
                  FormatLength(yMm, units).c_str());
}

void CheckPieceRules(const LayoutDocument& doc, const CheckOptions& options,
                     std::vector<LayoutFinding>& out) {
    CheckTightCurves(doc, options, out);
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def) continue;
        if (IsSwitchKind(def->kind) && def->radius > 0 && def->radius < options.minRadiusMm) {
            const PointMm mid = PieceMidpoint(p, *def);
            out.push_back(Finding(
                FindingKind::TightRadius, FindingSeverity::Warning, {p.id}, mid.x, mid.y,
                Format(Tr("Diverging radius of %s on %s %s is below the %s minimum").c_str(),
                       FormatLength(def->radius, doc.units).c_str(), p.article.c_str(),
                       PlaceText(mid.x, mid.y, doc.units).c_str(),
                       FormatLength(options.minRadiusMm, doc.units).c_str())));
        }
        // A level piece has every end at its elevation; only a slight grade needs its ends.
        if ((!IsSwitchKind(def->kind) && def->kind != PieceKind::Crossing) || p.grade == 0) continue;
        double low = HUGE_VAL, high = -HUGE_VAL;
        const bool graded = std::fabs(p.grade) > kFlatGradeDeg;
        for (const TrackRoute& r : graded ? std::vector<TrackRoute>() : PieceRoutes(p, *def)) {
            if (r.heights.empty()) continue;
            for (double h : {r.heights.front(), r.heights.back()}) {
                low = std::min(low, h);
                high = std::max(high, h);
            }
        }
        if (!graded && !(high - low > kTurnoutRiseMm)) continue;
        const PointMm mid = PieceMidpoint(p, *def);
        const std::string place = PlaceText(mid.x, mid.y, doc.units);
        out.push_back(Finding(
            FindingKind::TurnoutOnGrade, FindingSeverity::Warning, {p.id}, mid.x, mid.y,
            graded ? Format(Tr("%s %s lies on a grade of %.1f\u00b0: trains may uncouple or derail "
                               "on it")
                                .c_str(),
                            p.article.c_str(), place.c_str(), std::fabs(p.grade))
                   : Format(Tr("The ends of %s %s differ by %.1f mm in height: trains may uncouple "
                               "or derail on it")
                                .c_str(),
                            p.article.c_str(), place.c_str(), high - low)));
    }
}

bool NeedsTrackWalks(const LayoutDocument& doc, const CheckOptions& options) {
    return options.minStraightMm > 0 || options.longestTrainMm > 0 || AnyTwoRail(doc);
}

void CheckTrackWalks(const LayoutDocument& doc, const TrackGraph& graph,
                     const CheckOptions& options, std::vector<LayoutFinding>& out) {
    const size_t first = out.size();
    if (options.minStraightMm > 0) CheckSBends(doc, graph, options, out);
    if (options.longestTrainMm > 0) CheckSidings(doc, graph, options, out);
    if (AnyTwoRail(doc)) LoopSearch(doc, graph).Run(out);
    // A helix's track is not a piece of the layout: a finding names its end pieces instead.
    for (size_t i = first; i < out.size(); ++i) {
        std::vector<uint32_t>& pieces = out[i].pieces;
        if (std::none_of(pieces.begin(), pieces.end(), IsHelixTrackId)) continue;
        std::vector<uint32_t> named;
        for (uint32_t id : pieces) {
            const std::vector<uint32_t> ends =
                IsHelixTrackId(id) ? std::vector<uint32_t>{graph.Joined({id, 0}).piece,
                                                           graph.Joined({id, 1}).piece}
                                   : std::vector<uint32_t>{id};
            for (uint32_t e : ends)
                if (std::find(named.begin(), named.end(), e) == named.end()) named.push_back(e);
        }
        pieces = std::move(named);
    }
}
