// Proposing reversing sections, feeders and detection sections for a layout's wiring plan.
#include "wiring/WiringProposals.h"

#include <algorithm>
#include <cmath>

#include "catalog/TrackCatalog.h"
#include "trains/TrainSpec.h"
#include "wiring/Conductors.h"

namespace {

// Each round gaps one loop; a layout has far fewer.
constexpr int kMaxRounds = 256;

bool PlainTrack(const GraphPiece& p) {
    return p.def && (p.def->kind == PieceKind::Straight || p.def->kind == PieceKind::Curve ||
                     p.def->kind == PieceKind::Bumper);
}

bool HasGap(const WiringPlan& plan, uint32_t piece, int connector) {
    return std::any_of(plan.gaps.begin(), plan.gaps.end(), [&](const RailGap& g) {
        return g.piece == piece && g.connector == connector;
    });
}

// The steps [first, last] of the loop for its reversing section: the shortest run of plain
// track longer than `neededMm` whose middle is nearest the middle of the longest plain stretch;
// the whole stretch when it is not long enough.
std::pair<int, int> ReversingRun(const Conductors& net, const RailLoop& loop, double neededMm) {
    const auto& pieces = net.Graph().Pieces();
    const int n = static_cast<int>(loop.steps.size());
    int bestStart = 0, bestEnd = n - 1;
    double bestLength = -1;
    for (int i = 0; i < n;) {
        if (!PlainTrack(*pieces[loop.steps[i].piece])) {
            ++i;
            continue;
        }
        int j = i;
        double length = 0;
        while (j < n && PlainTrack(*pieces[loop.steps[j].piece]))
            length += net.PieceLength(loop.steps[j++].piece);
        if (length > bestLength) {
            bestLength = length;
            bestStart = i;
            bestEnd = j - 1;
        }
        i = j;
    }
    std::vector<double> along{0};
    for (int i = bestStart; i <= bestEnd; ++i)
        along.push_back(along.back() + net.PieceLength(loop.steps[i].piece));
    const double middle = along.back() / 2;
    int first = bestStart, last = bestEnd;
    double bestOff = -1, bestRun = 0;
    for (int s = 0, e = 0; s <= bestEnd - bestStart; ++s) {
        e = std::max(e, s);
        while (e <= bestEnd - bestStart && along[e + 1] - along[s] <= neededMm) ++e;
        if (e > bestEnd - bestStart) break;
        const double run = along[e + 1] - along[s];
        const double off = std::abs((along[e + 1] + along[s]) / 2 - middle);
        if (bestOff < 0 || off < bestOff - 1e-6 || (off < bestOff + 1e-6 && run < bestRun)) {
            bestOff = off;
            bestRun = run;
            first = bestStart + s;
            last = bestStart + e;
        }
    }
    return {first, last};
}

// The scale of the track a loop runs on.
int LoopScale(const Conductors& net, const RailLoop& loop) {
    const PieceDef* def = net.Graph().Pieces()[loop.junction]->def;
    return def ? ScaleOf(def->system) : 87;
}

// Which rail is which along joined track: true where a node's left rail is the right rail of
// the first node of its stretch.
std::vector<char> RailFlips(const Conductors& net) {
    const int nodes = net.NodeCount();
    std::vector<std::vector<std::pair<int, bool>>> next(nodes);
    for (const ConductorJoint& j : net.Joints()) {
        if (j.nodeA < 0 || j.nodeB < 0) continue;
        next[j.nodeA].push_back({j.nodeB, j.swap});
        next[j.nodeB].push_back({j.nodeA, j.swap});
    }
    std::vector<char> seen(nodes, 0), flipped(nodes, 0);
    for (int start = 0; start < nodes; ++start) {
        if (seen[start]) continue;
        seen[start] = 1;
        std::vector<int> todo{start};
        while (!todo.empty()) {
            const int at = todo.back();
            todo.pop_back();
            for (const auto& [to, swap] : next[at]) {
                if (seen[to]) continue;
                seen[to] = 1;
                flipped[to] = flipped[at] != swap;
                todo.push_back(to);
            }
        }
    }
    return flipped;
}

// Walks one section of the analysis over the conductors.
struct SectionWalk {
    const Conductors& net;
    const WiringAnalysis& analysis;
    int section;

    // The piece joined to connector c of `piece` without a cut, when it is in the same section;
    // -1 otherwise.
    int Inside(int piece, int c) const {
        const int j = net.JointAt(piece, c);
        if (j < 0) return -1;
        const ConductorJoint& joint = net.Joints()[j];
        const int other = joint.pieceA == piece && joint.connA == c ? joint.pieceB : joint.pieceA;
        return analysis.sectionOfPiece[other] == section && joint.cut == 0 ? other : -1;
    }

    // The section's first piece with an end leaving it (its first piece when it has none), and
    // the scale of its first known piece (0 when none is known).
    std::pair<int, int> StartAndScale(const TrackGraph& graph, const Section& s) const {
        const auto& pieces = graph.Pieces();
        std::vector<int> members;
        for (uint32_t id : s.pieces) members.push_back(graph.IndexOf(id));
        int start = members.front();
        int scale = 0;
        for (int m : members) {
            if (!pieces[m]->def) continue;
            if (scale == 0) scale = ScaleOf(pieces[m]->def->system);
            int insideEnds = 0;
            for (int c = 0; c < net.ConnectorCount(m); ++c) insideEnds += Inside(m, c) >= 0;
            if (insideEnds < net.ConnectorCount(m)) {
                start = m;
                break;
            }
        }
        return {start, scale};
    }

    // The section's pieces in their order along the track from `start`; `seen` is all clear
    // before and after.
    std::vector<int> Order(int start, std::vector<char>& seen) const {
        std::vector<int> order{start};
        seen[start] = 1;
        for (size_t k = 0; k < order.size(); ++k) {
            // Depth first keeps a chain of track in its order.
            const int at = order[k];
            std::vector<int> next;
            for (int c = 0; c < net.ConnectorCount(at); ++c) {
                const int other = Inside(at, c);
                if (other >= 0 && !seen[other]) {
                    seen[other] = 1;
                    next.push_back(other);
                }
            }
            order.insert(order.begin() + static_cast<long>(k) + 1, next.begin(), next.end());
        }
        for (int m : order) seen[m] = 0;
        return order;
    }
};

// `missing` feeders spread evenly along the section's pieces in `order`, each on plain track
// when one of the next few pieces is, and never two on one piece.
void SpreadFeeders(const TrackGraph& graph, const Conductors& net, const Section& section,
                   const std::vector<int>& order, int missing, uint32_t district,
                   std::vector<Feeder>& added) {
    const auto& pieces = graph.Pieces();
    std::vector<uint32_t> fed;
    for (const Feeder& f : section.feeders) fed.push_back(f.piece);
    double along = 0;
    size_t k = 0;
    for (int f = 0; f < missing; ++f) {
        const double target = (f + 0.5) * section.lengthMm / missing;
        while (k + 1 < order.size() && along + net.PieceLength(order[k]) < target)
            along += net.PieceLength(order[k++]);
        size_t pick = k;
        for (size_t q = k; q < order.size() && q < k + 4; ++q) {
            if (PlainTrack(*pieces[order[q]]) &&
                std::find(fed.begin(), fed.end(), pieces[order[q]]->id) == fed.end()) {
                pick = q;
                break;
            }
        }
        fed.push_back(pieces[order[pick]]->id);
        added.push_back({pieces[order[pick]]->id, district});
    }
}

}  // namespace

std::vector<RailGap> ProposeReversingGaps(const LayoutDocument& doc, const TrackGraph& graph,
                                          const WiringOptions& options) {
    WiringPlan plan = doc.wiring;
    std::vector<RailGap> added;
    for (int round = 0; round < kMaxRounds; ++round) {
        const Conductors net(graph, plan);
        bool changed = false;
        for (const RailLoop& loop : net.FindShortLoops({})) {
            if (loop.steps.empty()) continue;
            const auto [first, last] =
                ReversingRun(net, loop, LongestTrainMm(options, LoopScale(net, loop)));
            const RailLoop::Step& in = loop.steps[first];
            const RailLoop::Step& out = loop.steps[last];
            const RailGap gaps[2] = {{graph.Pieces()[in.piece]->id, in.entry, GapRails::Both},
                                     {graph.Pieces()[out.piece]->id, out.exit, GapRails::Both}};
            for (const RailGap& gap : gaps) {
                auto it = std::find_if(plan.gaps.begin(), plan.gaps.end(), [&](const RailGap& g) {
                    return g.piece == gap.piece && g.connector == gap.connector;
                });
                if (it != plan.gaps.end()) {
                    if (it->rails == GapRails::Both) continue;
                    it->rails = GapRails::Both;
                    std::erase_if(added, [&](const RailGap& g) {
                        return g.piece == gap.piece && g.connector == gap.connector;
                    });
                } else {
                    plan.gaps.push_back(gap);
                }
                added.push_back(gap);
                changed = true;
            }
        }
        if (!changed) break;
    }
    return added;
}

std::vector<Feeder> ProposeFeeders(const LayoutDocument& doc, const TrackGraph& graph,
                                   const WiringOptions& options) {
    const WiringAnalysis analysis = AnalyseWiring(doc, graph, options);
    const Conductors net(graph, doc.wiring);
    const uint32_t firstDistrict =
        doc.wiring.districts.empty() ? kNoId : doc.wiring.districts.front().id;
    std::vector<Feeder> added;
    std::vector<char> seen(graph.Pieces().size(), 0);
    for (size_t s = 0; s < analysis.sections.size(); ++s) {
        const Section& section = analysis.sections[s];
        const SectionWalk walk{net, analysis, static_cast<int>(s)};
        const auto [start, scale] = walk.StartAndScale(graph, section);
        if (scale == 0) continue;
        const double spacing = scale == 87 ? options.feederSpacingH0Mm : options.feederSpacingZMm;
        const int needed = std::max(
            1, spacing > 0 ? static_cast<int>(std::ceil(section.lengthMm / spacing - 1e-9)) : 1);
        const int missing = needed - static_cast<int>(section.feeders.size());
        if (missing <= 0) continue;
        const uint32_t district = section.district != kNoId ? section.district : firstDistrict;
        SpreadFeeders(graph, net, section, walk.Order(start, seen), missing, district, added);
    }
    return added;
}

WiringAdditions ProposeBlocks(const LayoutDocument& doc, const TrackGraph& graph) {
    WiringAdditions add;
    const Conductors net(graph, doc.wiring);
    const auto& pieces = graph.Pieces();
    const int count = static_cast<int>(pieces.size());
    UnionFind stretches(count);
    for (const ConductorJoint& j : net.Joints())
        if (PlainTrack(*pieces[j.pieceA]) && PlainTrack(*pieces[j.pieceB]))
            stretches.Join(j.pieceA, j.pieceB);
    const std::vector<char> flipped = RailFlips(net);
    int number = 0;
    for (const Detector& d : doc.wiring.detectors) number = std::max(number, d.number);
    std::vector<char> detected(count, 0);
    for (const Detector& d : doc.wiring.detectors) {
        const int i = graph.IndexOf(d.piece);
        if (i >= 0) detected[stretches.Find(i)] = 1;
    }
    std::vector<std::vector<int>> members(count);
    for (int i = 0; i < count; ++i)
        if (PlainTrack(*pieces[i])) members[stretches.Find(i)].push_back(i);
    for (int root = 0; root < count; ++root) {
        const std::vector<int>& stretch = members[root];
        if (stretch.empty() || detected[root]) continue;
        for (int i : stretch) {
            for (int c = 0; c < net.ConnectorCount(i); ++c) {
                const int id = net.JointAt(i, c);
                if (id < 0) continue;
                const ConductorJoint& j = net.Joints()[id];
                const int other = j.pieceA == i && j.connA == c ? j.pieceB : j.pieceA;
                if (PlainTrack(*pieces[other]) || (j.cut & (kCutRails | kCutCentre)) != 0 ||
                    HasGap(doc.wiring, pieces[i]->id, c))
                    continue;
                // The same rail everywhere: the left rail of the first piece of the track.
                const int node = net.NodeOf(i, c);
                const bool flip = node >= 0 && flipped[node];
                add.gaps.push_back({pieces[i]->id, c, flip ? GapRails::Right : GapRails::Left});
            }
        }
        add.detectors.push_back({pieces[stretch[stretch.size() / 2]]->id, ++number});
    }
    return add;
}
