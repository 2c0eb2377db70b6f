// The conductors of the track under a wiring plan and the search for loops joining the rails.
#include "wiring/Conductors.h"

#include <algorithm>
#include <deque>
#include <numeric>

#include "catalog/TrackCatalog.h"
#include "network/RailSides.h"
#include "wiring/WiringAnalysis.h"

unsigned CutOf(GapRails rails) {
    switch (rails) {
        case GapRails::Centre:
            return kCutCentre;
        case GapRails::Left:
            return kCutLeft;
        case GapRails::Right:
            return kCutRight;
        case GapRails::Both:
            return kCutRails;
    }
    return 0;
}

UnionFind::UnionFind(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }

int UnionFind::Find(int a) {
    while (parent[a] != a) {
        parent[a] = parent[parent[a]];
        a = parent[a];
    }
    return a;
}

void UnionFind::Join(int a, int b) {
    a = Find(a);
    b = Find(b);
    if (a == b) return;
    // The smaller root wins, so every set is named by its first member.
    if (b < a) std::swap(a, b);
    parent[b] = a;
}

namespace {

unsigned SwapRails(unsigned cut) {
    return (cut & kCutCentre) | ((cut & kCutLeft) ? kCutRight : 0) |
           ((cut & kCutRight) ? kCutLeft : 0);
}

}  // namespace

Conductors::Conductors(const TrackGraph& g, const WiringPlan& plan) : graph(g) {
    CountSlots();
    SplitPieceRails();
    JoinSlots(SlotCuts(plan));
    BuildRailGraph();
}

// Every piece's connectors get a slot, numbered piece by piece.
void Conductors::CountSlots() {
    const auto& pieces = graph.Pieces();
    const int count = static_cast<int>(pieces.size());
    firstSlot.assign(count + 1, 0);
    twoRail.assign(count, 0);
    lengths.assign(count, 0);
    for (int i = 0; i < count; ++i) {
        const GraphPiece& p = *pieces[i];
        firstSlot[i + 1] = firstSlot[i] + (p.def ? static_cast<int>(p.def->connectors.size()) : 0);
        if (!p.def) continue;
        twoRail[i] = IsTwoRail(p.def->system);
        for (const PieceRouteRef& r : p.routes) lengths[i] = std::max(lengths[i], r.lengthMm);
    }
    const int slots = firstSlot.back();
    slotNode.assign(slots, -1);
    slotSide.assign(slots, 0);
    slotJoint.assign(slots, -1);
}

// A piece's rails follow its routes: connectors linked by routes share one pair of rails,
// with a start side and an end side. A turntable turns its bridge round and has none.
void Conductors::SplitPieceRails() {
    const auto& pieces = graph.Pieces();
    const int count = static_cast<int>(pieces.size());
    for (int i = 0; i < count; ++i) {
        const GraphPiece& p = *pieces[i];
        if (!p.def || p.def->kind == PieceKind::Turntable) continue;
        const int n = ConnectorCount(i);
        RailSides rails;
        if (!SplitRailSides(p, n, &rails)) continue;
        const std::vector<int>& group = rails.group;
        const std::vector<int>& side = rails.side;
        std::vector<int> nodeOfGroup(n, -1);
        for (int c = 0; c < n; ++c) {
            if (nodeOfGroup[group[c]] < 0) {
                nodeOfGroup[group[c]] = nodeCount++;
                nodePiece.push_back(i);
            }
            slotNode[firstSlot[i] + c] = nodeOfGroup[group[c]];
            slotSide[firstSlot[i] + c] = side[c];
        }
    }
}

// The rails the plan's gaps cut at each connector slot.
std::vector<unsigned> Conductors::SlotCuts(const WiringPlan& plan) const {
    std::vector<unsigned> slotCut(firstSlot.back(), 0);
    for (const RailGap& gap : plan.gaps) {
        const int i = graph.IndexOf(gap.piece);
        if (i < 0 || gap.connector < 0 || gap.connector >= ConnectorCount(i)) continue;
        // A centre gap means nothing on two-rail track.
        const unsigned valid = twoRail[i] ? kCutRails : kCutRails | kCutCentre;
        slotCut[firstSlot[i] + gap.connector] |= CutOf(gap.rails) & valid;
    }
    return slotCut;
}

// One joint for each pair of joined connectors, with the rails cut at either side.
void Conductors::JoinSlots(const std::vector<unsigned>& slotCut) {
    const auto& pieces = graph.Pieces();
    const int count = static_cast<int>(pieces.size());
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < ConnectorCount(i); ++c) {
            const int a = firstSlot[i] + c;
            const GraphEnd other = graph.Joined({pieces[i]->id, c});
            if (other.piece == kNoId) continue;
            const int k = graph.IndexOf(other.piece);
            if (k < 0 || other.connector < 0 || other.connector >= ConnectorCount(k)) continue;
            const int b = firstSlot[k] + other.connector;
            if (b < a) continue;  // each joint once
            ConductorJoint j;
            j.pieceA = i;
            j.connA = c;
            j.pieceB = k;
            j.connB = other.connector;
            j.nodeA = slotNode[a];
            j.nodeB = slotNode[b];
            j.swap = j.nodeA >= 0 && j.nodeB >= 0 && slotSide[a] == slotSide[b];
            j.cut = slotCut[a] | (j.swap ? SwapRails(slotCut[b]) : slotCut[b]);
            slotJoint[a] = slotJoint[b] = static_cast<int>(joints.size());
            joints.push_back(j);
        }
    }
}

// The rail graph in two passes: the count of edges per terminal, then the edges.
void Conductors::BuildRailGraph() {
    adjStart.assign(2 * nodeCount + 1, 0);
    auto railEdges = [&](auto visit) {
        for (size_t id = 0; id < joints.size(); ++id) {
            const ConductorJoint& j = joints[id];
            if (j.nodeA < 0 || j.nodeB < 0 || !twoRail[j.pieceA] || !twoRail[j.pieceB]) continue;
            for (int rail = 0; rail < 2; ++rail) {
                if (j.cut & (rail == 0 ? kCutLeft : kCutRight)) continue;
                const int ta = 2 * j.nodeA + rail;
                const int tb = 2 * j.nodeB + (j.swap ? 1 - rail : rail);
                visit(ta, RailEdge{tb, static_cast<int>(id), j.connA, j.connB});
                visit(tb, RailEdge{ta, static_cast<int>(id), j.connB, j.connA});
            }
        }
    };
    railEdges([&](int from, const RailEdge&) { ++adjStart[from + 1]; });
    for (size_t t = 1; t < adjStart.size(); ++t) adjStart[t] += adjStart[t - 1];
    adjacent.resize(adjStart.back());
    std::vector<int> fill(adjStart.begin(), adjStart.end() - 1);
    railEdges([&](int from, const RailEdge& e) { adjacent[fill[from]++] = e; });
}

int Conductors::JointAt(int piece, int connector) const {
    if (connector < 0 || connector >= ConnectorCount(piece)) return -1;
    return slotJoint[firstSlot[piece] + connector];
}

int Conductors::NodeOf(int piece, int connector) const {
    if (connector < 0 || connector >= ConnectorCount(piece)) return -1;
    return slotNode[firstSlot[piece] + connector];
}

int Conductors::SideOf(int piece, int connector) const {
    if (connector < 0 || connector >= ConnectorCount(piece)) return 0;
    return slotSide[firstSlot[piece] + connector];
}

UnionFind Conductors::Rails(const std::vector<char>& extraCut) const {
    UnionFind rails(2 * static_cast<size_t>(nodeCount));
    for (int t = 0; t < 2 * nodeCount; ++t) {
        for (int e = adjStart[t]; e < adjStart[t + 1]; ++e) {
            const RailEdge& edge = adjacent[e];
            if (edge.to < t) continue;
            if (!extraCut.empty() && extraCut[edge.joint]) continue;
            rails.Join(t, edge.to);
        }
    }
    return rails;
}

bool Conductors::FindShortLoop(const std::vector<char>& extraCut, RailLoop* loop) const {
    std::vector<RailLoop> loops = FindShortLoops(extraCut);
    if (loops.empty()) return false;
    *loop = std::move(loops.front());
    return true;
}

std::vector<RailLoop> Conductors::FindShortLoops(const std::vector<char>& extraCut) const {
    std::vector<RailLoop> loops;
    UnionFind rails = Rails(extraCut);
    struct Visit {
        int prev = -1;
        int joint = -1;
        int inConn = 0;   // the connector the rail came in by
        int outConn = 0;  // the connector of the previous piece it left by
    };
    std::vector<Visit> visits(2 * static_cast<size_t>(nodeCount));
    std::vector<char> seen(visits.size(), 0);
    std::vector<char> searched(visits.size(), 0);  // by rail set
    for (int shorted = 0; shorted < nodeCount; ++shorted) {
        const int set = rails.Find(2 * shorted);
        if (!twoRail[nodePiece[shorted]] || set != rails.Find(2 * shorted + 1) || searched[set])
            continue;
        searched[set] = 1;
        // Breadth first along the rails from the node's left rail to its right rail; each set
        // is searched once, so all searches together visit every terminal at most once.
        const int from = 2 * shorted, to = 2 * shorted + 1;
        std::deque<int> queue{from};
        seen[from] = 1;
        while (!queue.empty() && !seen[to]) {
            const int t = queue.front();
            queue.pop_front();
            for (int e = adjStart[t]; e < adjStart[t + 1]; ++e) {
                const RailEdge& edge = adjacent[e];
                if (seen[edge.to] || (!extraCut.empty() && extraCut[edge.joint])) continue;
                seen[edge.to] = 1;
                visits[edge.to] = {t, edge.joint, edge.otherConn, edge.ownConn};
                queue.push_back(edge.to);
            }
        }
        if (!seen[to]) continue;
        std::vector<int> path;
        for (int t = to; t != -1 && t != from; t = visits[t].prev) path.push_back(t);
        path.push_back(from);
        std::reverse(path.begin(), path.end());

        // The path runs in along the track that leads to the loop, round the loop and out the
        // same way on the other rail: the nodes it passes on both ways are no part of the loop.
        const int k = static_cast<int>(path.size()) - 1;
        auto node = [&](int i) { return path[i] / 2; };
        int i = 0;
        while (i + 1 < k - 1 - i && node(i + 1) == node(k - 1 - i)) ++i;
        RailLoop loop;
        loop.junction = nodePiece[node(i)];
        for (int at = i + 1; at <= k - i - 1; ++at)
            loop.steps.push_back(
                {nodePiece[node(at)], visits[path[at]].inConn, visits[path[at + 1]].outConn});
        for (int at = i + 1; at <= k - i; ++at) loop.joints.push_back(visits[path[at]].joint);
        loops.push_back(std::move(loop));
    }
    return loops;
}
