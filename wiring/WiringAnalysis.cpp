// The electrical check of a wiring plan over the track network.
#include "wiring/WiringAnalysis.h"

#include <algorithm>
#include <tuple>

#include "base/Format.h"
#include "base/Translate.h"
#include "trackgeometry/Units.h"
#include "catalog/TrackCatalog.h"
#include "trains/TrainSpec.h"
#include "wiring/Conductors.h"

namespace {

// Each round of the loop search cuts one joint of the loop it found, so that the next round
// finds another; a layout has far fewer loops than this.
constexpr int kMaxLoopRounds = 256;

std::string PlaceOf(const LayoutDocument& doc, double x, double y) {
    return Format(Tr("at %s, %s").c_str(), FormatLength(x, doc.units).c_str(),
                  FormatLength(y, doc.units).c_str());
}

std::string DistrictName(const WiringPlan& plan, uint32_t id) {
    const PowerDistrict* d = plan.FindDistrict(id);
    if (d && !d->name.empty()) return d->name;
    return Format(Tr("District %u").c_str(), id);
}

// The track that the same feeders keep live: sections joined across gaps that leave the
// conductors fed by a booster whole (on three-rail track, gaps in the outer rails only).
struct FeedGroup {
    std::vector<int> sections;
    double lengthMm = 0;
    int feeders = 0;
    std::vector<uint32_t> districts;     // in the order of their first feeder
    std::vector<uint32_t> feederPieces;  // of the first feeder of each district
    int scale = 0;
};

class Analysis {
public:
    Analysis(const LayoutDocument& doc, const TrackGraph& graph, const WiringOptions& options)
        : doc(doc), plan(doc.wiring), graph(graph), options(options), net(graph, doc.wiring) {}

    WiringAnalysis Run() {
        MakeSections();
        AddFeedersAndDetectors();
        CheckFeeding();
        CheckShorts();
        CheckReversingSections();
        CheckDetectionRails();
        std::stable_sort(
            out.findings.begin(), out.findings.end(),
            [](const WiringFinding& a, const WiringFinding& b) { return a.kind < b.kind; });
        return std::move(out);
    }

private:
    void Add(WiringFindingKind kind, std::vector<uint32_t> pieces, int at, std::string text) {
        const GraphPiece* p = at >= 0 ? graph.Pieces()[at].get() : nullptr;
        out.findings.push_back(
            {kind, std::move(pieces), p ? p->x : 0, p ? p->y : 0, std::move(text)});
    }
    std::string Place(int piece) const {
        const GraphPiece& p = *graph.Pieces()[piece];
        return PlaceOf(doc, p.x, p.y);
    }
    std::string Length(double mm) const { return FormatLength(mm, doc.units); }

    void MakeSections() {
        const auto& pieces = graph.Pieces();
        const int count = static_cast<int>(pieces.size());
        UnionFind sections(count), feeds(count);
        for (const ConductorJoint& j : net.Joints()) {
            if (j.cut == 0) sections.Join(j.pieceA, j.pieceB);
            const bool twoRail = net.TwoRail(j.pieceA) || net.TwoRail(j.pieceB);
            if ((j.cut & (twoRail ? kCutRails : kCutCentre)) == 0) feeds.Join(j.pieceA, j.pieceB);
        }
        out.sectionOfPiece.assign(count, -1);
        groupOfPiece.assign(count, -1);
        std::vector<char> systemKnown;
        for (int i = 0; i < count; ++i) {
            // Every set is named by its first piece, so the first piece made it already.
            const int root = sections.Find(i);
            if (root == i) {
                out.sectionOfPiece[i] = static_cast<int>(out.sections.size());
                out.sections.emplace_back();
                systemKnown.push_back(0);
                const int feedRoot = feeds.Find(i);
                if (groupOfPiece[feedRoot] < 0) {
                    groupOfPiece[feedRoot] = static_cast<int>(groups.size());
                    groups.emplace_back();
                }
                groupOfSection.push_back(groupOfPiece[feedRoot]);
                groups[groupOfSection.back()].sections.push_back(out.sectionOfPiece[i]);
            } else {
                out.sectionOfPiece[i] = out.sectionOfPiece[root];
            }
            const int s = out.sectionOfPiece[i];
            Section& section = out.sections[s];
            section.pieces.push_back(pieces[i]->id);
            section.lengthMm += net.PieceLength(i);
            FeedGroup& group = groups[groupOfSection[s]];
            group.lengthMm += net.PieceLength(i);
            if (!pieces[i]->def) {
                Add(WiringFindingKind::UnknownPiece, {pieces[i]->id}, i,
                    Format(Tr("Unknown article %s %s: its wiring cannot be checked").c_str(),
                           pieces[i]->article.c_str(), Place(i).c_str()));
                continue;
            }
            if (!systemKnown[s]) {
                systemKnown[s] = 1;
                section.twoRail = net.TwoRail(i);
            }
            if (group.scale == 0) group.scale = ScaleOf(pieces[i]->def->system);
        }
    }

    // The piece a plan entry names, or -1 after reporting it.
    int PlanPiece(uint32_t id) {
        const int i = graph.IndexOf(id);
        if (i < 0)
            Add(WiringFindingKind::UnknownPiece, {id}, -1,
                Format(Tr("The wiring plan names piece %u, which is not on the layout").c_str(),
                       id));
        return i;
    }

    void AddFeedersAndDetectors() {
        for (const RailGap& gap : plan.gaps) PlanPiece(gap.piece);
        for (const Feeder& f : plan.feeders) {
            const int i = PlanPiece(f.piece);
            if (i < 0) continue;
            const int s = out.sectionOfPiece[i];
            out.sections[s].feeders.push_back(f);
            FeedGroup& group = groups[groupOfSection[s]];
            ++group.feeders;
            if (f.district != kNoId && std::find(group.districts.begin(), group.districts.end(),
                                                 f.district) == group.districts.end()) {
                group.districts.push_back(f.district);
                group.feederPieces.push_back(f.piece);
            }
        }
        for (const Detector& d : plan.detectors) {
            const int i = PlanPiece(d.piece);
            if (i < 0) continue;
            Section& section = out.sections[out.sectionOfPiece[i]];
            if (section.detector == 0) section.detector = d.number;
        }
        for (size_t s = 0; s < out.sections.size(); ++s) {
            const FeedGroup& group = groups[groupOfSection[s]];
            if (!group.districts.empty()) out.sections[s].district = group.districts.front();
        }
    }

    std::vector<uint32_t> GroupPieces(const FeedGroup& group) const {
        std::vector<uint32_t> ids;
        for (int s : group.sections)
            ids.insert(ids.end(), out.sections[s].pieces.begin(), out.sections[s].pieces.end());
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    void CheckFeeding() {
        for (const FeedGroup& group : groups) {
            if (group.scale == 0) continue;  // unknown pieces only
            const int first = graph.IndexOf(out.sections[group.sections.front()].pieces.front());
            const bool twoRail = out.sections[group.sections.front()].twoRail;
            if (group.districts.size() >= 2) {
                const int at = graph.IndexOf(group.feederPieces[1]);
                Add(WiringFindingKind::BoostersMeet, group.feederPieces, at,
                    Format((twoRail ? Tr("Districts %s and %s meet %s with no gap in the rails "
                                         "between them: a locomotive bridges the boosters")
                                    : Tr("Districts %s and %s meet %s with no break in the "
                                         "centre conductor between them: a locomotive bridges "
                                         "the boosters"))
                               .c_str(),
                           DistrictName(plan, group.districts[0]).c_str(),
                           DistrictName(plan, group.districts[1]).c_str(), Place(at).c_str()));
            }
            if (group.feeders == 0) {
                Add(WiringFindingKind::Unfed, GroupPieces(group), first,
                    Format(Tr("The track %s (%s of track) has no feeder: it stays dead").c_str(),
                           Place(first).c_str(), Length(group.lengthMm).c_str()));
                continue;
            }
            const double spacing =
                group.scale == 87 ? options.feederSpacingH0Mm : options.feederSpacingZMm;
            if (spacing > 0 && group.lengthMm > spacing * group.feeders + 1e-6) {
                const int needed = static_cast<int>(std::ceil(group.lengthMm / spacing - 1e-9));
                Add(WiringFindingKind::FeederSpacing, GroupPieces(group), first,
                    Format(Tr("The track %s has %s of track and %d feeders: one every %s "
                              "needs %d")
                               .c_str(),
                           Place(first).c_str(), Length(group.lengthMm).c_str(), group.feeders,
                           Length(spacing).c_str(), needed));
            }
        }
    }

    void CheckShorts() {
        struct Loop {
            std::vector<uint32_t> pieces;
            int junction;
        };
        std::vector<Loop> loops;
        std::vector<char> cut(net.Joints().size(), 0);
        for (int round = 0; round < kMaxLoopRounds; ++round) {
            const std::vector<RailLoop> batch = net.FindShortLoops(cut);
            bool any = false;
            for (const RailLoop& found : batch) {
                if (found.joints.empty()) continue;
                any = true;
                std::vector<uint32_t> ids{graph.Pieces()[found.junction]->id};
                for (const RailLoop::Step& step : found.steps)
                    ids.push_back(graph.Pieces()[step.piece]->id);
                // A loop with a passing track in it is found once per path round it: one loop.
                auto same = std::find_if(loops.begin(), loops.end(), [&](const Loop& loop) {
                    return std::any_of(ids.begin(), ids.end(), [&](uint32_t id) {
                        return std::find(loop.pieces.begin(), loop.pieces.end(), id) !=
                               loop.pieces.end();
                    });
                });
                if (same == loops.end()) {
                    loops.push_back({{}, found.junction});
                    same = loops.end() - 1;
                }
                for (uint32_t id : ids)
                    if (std::find(same->pieces.begin(), same->pieces.end(), id) ==
                        same->pieces.end())
                        same->pieces.push_back(id);
                cut[found.joints[found.joints.size() / 2]] = 1;
            }
            if (!any) break;
        }
        for (Loop& loop : loops) {
            Add(WiringFindingKind::ShortCircuit, loop.pieces, loop.junction,
                Format(Tr("The reversing loop of %zu pieces %s joins the left rail to the right: a "
                          "short circuit unless a section inside it has both rails gapped at both "
                          "ends and is switched by a reverser")
                           .c_str(),
                       loop.pieces.size(), Place(loop.junction).c_str()));
        }
    }

    // A two-rail section with both rails gapped at every end reverses trains when joining it
    // back would join the rails: one of its rails would meet the track outside that the other
    // one meets too.
    void CheckReversingSections() {
        UnionFind rails = net.Rails({});
        std::vector<char> open(out.sections.size(), 0);
        std::vector<int> ends(out.sections.size(), 0);
        std::vector<std::tuple<int, int, int>> touches;  // section, outside rail, own rail
        for (const ConductorJoint& j : net.Joints()) {
            const int sa = out.sectionOfPiece[j.pieceA], sb = out.sectionOfPiece[j.pieceB];
            if (sa == sb) continue;
            if ((j.cut & kCutRails) != kCutRails || j.nodeA < 0 || j.nodeB < 0) {
                open[sa] = open[sb] = 1;
                continue;
            }
            ++ends[sa];
            ++ends[sb];
            for (int r = 0; r < 2; ++r) {
                const int ta = rails.Find(2 * j.nodeA + r);
                const int tb = rails.Find(2 * j.nodeB + (j.swap ? 1 - r : r));
                touches.emplace_back(sa, tb, ta);
                touches.emplace_back(sb, ta, tb);
            }
        }
        std::sort(touches.begin(), touches.end());
        // Only plain track is switched by a reverser: of the two sides of a balloon's gaps, the
        // one with the turnout is the track it turns trains round for.
        std::vector<char> plain(out.sections.size(), 1);
        for (size_t i = 0; i < graph.Pieces().size(); ++i) {
            const PieceDef* def = graph.Pieces()[i]->def;
            if (!def || (def->kind != PieceKind::Straight && def->kind != PieceKind::Curve))
                plain[out.sectionOfPiece[i]] = 0;
        }
        std::vector<char> reversing(out.sections.size(), 0);
        for (size_t i = 1; i < touches.size(); ++i) {
            const auto& [s, outside, own] = touches[i];
            const auto& [ps, pOutside, pOwn] = touches[i - 1];
            if (s == ps && outside == pOutside && own != pOwn) reversing[s] = 1;
        }
        for (size_t s = 0; s < out.sections.size(); ++s) {
            Section& section = out.sections[s];
            if (!reversing[s] || !plain[s] || open[s] || ends[s] < 2 || !section.twoRail) continue;
            section.reversing = true;
            const int first = graph.IndexOf(section.pieces.front());
            const double train = LongestTrainMm(options, groups[groupOfSection[s]].scale);
            if (section.lengthMm > train) continue;
            Add(WiringFindingKind::ReversingSectionShort, section.pieces, first,
                Format(Tr("The reversing section %s is %s long, not longer than the longest "
                          "train (%s): a train would bridge its gaps")
                           .c_str(),
                       Place(first).c_str(), Length(section.lengthMm).c_str(),
                       Length(train).c_str()));
        }
    }

    // The stretches of joined track over the rail nodes (gaps in both rails part them): the
    // stretch's first node as its root, and whether a node's rails are flipped against the
    // root's.
    void RailStretches(std::vector<int>& root, std::vector<char>& flipped) const {
        const int nodes = net.NodeCount();
        std::vector<std::vector<std::pair<int, bool>>> next(nodes);
        for (const ConductorJoint& j : net.Joints()) {
            if (j.nodeA < 0 || j.nodeB < 0 || (j.cut & kCutRails) == kCutRails) continue;
            next[j.nodeA].push_back({j.nodeB, j.swap});
            next[j.nodeB].push_back({j.nodeA, j.swap});
        }
        root.assign(nodes, -1);
        flipped.assign(nodes, 0);
        for (int start = 0; start < nodes; ++start) {
            if (root[start] >= 0) continue;
            root[start] = start;
            std::vector<int> todo{start};
            while (!todo.empty()) {
                const int at = todo.back();
                todo.pop_back();
                for (const auto& [to, swap] : next[at]) {
                    if (root[to] >= 0) continue;
                    root[to] = start;
                    flipped[to] = flipped[at] != swap;
                    todo.push_back(to);
                }
            }
        }
    }

    // Per district and stretch of joined track: the first gap seen in either rail.
    struct FirstGaps {
        uint32_t district;
        int root;
        int joint[2];
    };

    std::vector<FirstGaps> FirstDetectionGaps(const std::vector<int>& root,
                                              const std::vector<char>& flipped) const {
        std::vector<FirstGaps> seen;
        const auto& joints = net.Joints();
        for (size_t id = 0; id < joints.size(); ++id) {
            const ConductorJoint& j = joints[id];
            const unsigned cut = j.cut & kCutRails;
            if (j.nodeA < 0 || j.nodeB < 0 || !net.TwoRail(j.pieceA) ||
                (cut != kCutLeft && cut != kCutRight))
                continue;
            const int rail = (cut == kCutLeft ? 0 : 1) ^ flipped[j.nodeA];
            for (const int s : {out.sectionOfPiece[j.pieceA], out.sectionOfPiece[j.pieceB]}) {
                const uint32_t district = out.sections[s].district;
                auto it = std::find_if(seen.begin(), seen.end(), [&](const FirstGaps& x) {
                    return x.district == district && x.root == root[j.nodeA];
                });
                if (it == seen.end()) {
                    seen.push_back({district, root[j.nodeA], {-1, -1}});
                    it = seen.end() - 1;
                }
                if (it->joint[rail] < 0) it->joint[rail] = static_cast<int>(id);
            }
        }
        return seen;
    }

    // Detection on two-rail track gaps one rail, and always the same one: the other rail is the
    // common return of every detector. Which rail is which follows the track from piece to piece.
    void CheckDetectionRails() {
        if (net.NodeCount() == 0) return;
        std::vector<int> root;
        std::vector<char> flipped;
        RailStretches(root, flipped);
        const auto& joints = net.Joints();
        for (const FirstGaps& x : FirstDetectionGaps(root, flipped)) {
            if (x.joint[0] < 0 || x.joint[1] < 0) continue;
            const ConductorJoint& a = joints[x.joint[0]];
            const ConductorJoint& b = joints[x.joint[1]];
            const auto& pieces = graph.Pieces();
            const std::string district = x.district == kNoId ? Tr("the track without a district")
                                                             : DistrictName(plan, x.district);
            Add(WiringFindingKind::MixedRails, {pieces[a.pieceA]->id, pieces[b.pieceA]->id},
                b.pieceA,
                Format(Tr("Detection gaps in %s cut one rail %s and the other rail %s: "
                          "detection fails unless every gap cuts the same rail")
                           .c_str(),
                       district.c_str(), Place(a.pieceA).c_str(), Place(b.pieceA).c_str()));
        }
    }

    const LayoutDocument& doc;
    const WiringPlan& plan;
    const TrackGraph& graph;
    const WiringOptions& options;
    Conductors net;
    WiringAnalysis out;
    std::vector<FeedGroup> groups;
    std::vector<int> groupOfSection;
    std::vector<int> groupOfPiece;  // by the piece that names the group
};

}  // namespace

double LongestTrainMm(const WiringOptions& options, int scale) {
    if (options.longestTrainMm > 0) return options.longestTrainMm;
    // The ready-made trains are made for H0 and Z; other scales take the same prototypes.
    std::vector<const TrainPreset*> presets = TrainPresetsFor(scale);
    if (presets.empty()) presets = TrainPresetsFor(87);
    double longest = 0;
    for (const TrainPreset* p : presets) {
        TrainPreset at = *p;
        at.scale = scale > 0 ? scale : 87;
        longest = std::max(longest, TrainLengthMm(MakeTrainSpec(at, options.presetCars)));
    }
    return longest;
}

const Section* WiringAnalysis::SectionOf(const TrackGraph& graph, uint32_t piece) const {
    const int i = graph.IndexOf(piece);
    if (i < 0 || i >= static_cast<int>(sectionOfPiece.size()) || sectionOfPiece[i] < 0)
        return nullptr;
    return &sections[sectionOfPiece[i]];
}

WiringAnalysis AnalyseWiring(const LayoutDocument& doc, const TrackGraph& graph,
                             const WiringOptions& options) {
    return Analysis(doc, graph, options).Run();
}

std::string WiringFindingKindName(WiringFindingKind kind) {
    switch (kind) {
        case WiringFindingKind::ShortCircuit:
            return Tr("Short circuit");
        case WiringFindingKind::BoostersMeet:
            return Tr("Boosters meet");
        case WiringFindingKind::Unfed:
            return Tr("No feeder");
        case WiringFindingKind::FeederSpacing:
            return Tr("Too few feeders");
        case WiringFindingKind::ReversingSectionShort:
            return Tr("Reversing section too short");
        case WiringFindingKind::MixedRails:
            return Tr("Detection in both rails");
        case WiringFindingKind::UnknownPiece:
            return Tr("Unknown piece");
    }
    return "";
}
