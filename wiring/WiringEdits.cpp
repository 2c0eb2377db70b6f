// Edits of the wiring plan, each one undo step.
#include "wiring/WiringEdits.h"

#include <algorithm>
#include <iterator>

#include "base/Format.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"

bool AddToWiringPlan(LayoutDocument& doc, const WiringAdditions& additions) {
    WiringPlan plan = doc.wiring;
    bool changed = false;
    for (const RailGap& gap : additions.gaps) {
        auto it = std::find_if(plan.gaps.begin(), plan.gaps.end(), [&](const RailGap& g) {
            return g.piece == gap.piece && g.connector == gap.connector;
        });
        if (it == plan.gaps.end()) {
            plan.gaps.push_back(gap);
            changed = true;
        } else if (it->rails != gap.rails) {
            it->rails = gap.rails;
            changed = true;
        }
    }
    for (const Feeder& f : additions.feeders) {
        if (std::find(plan.feeders.begin(), plan.feeders.end(), f) != plan.feeders.end()) continue;
        plan.feeders.push_back(f);
        changed = true;
    }
    for (const Detector& d : additions.detectors) {
        if (std::any_of(plan.detectors.begin(), plan.detectors.end(),
                        [&](const Detector& x) { return x.piece == d.piece; }))
            continue;
        plan.detectors.push_back(d);
        changed = true;
    }
    if (!changed) return false;
    doc.PushUndo();
    doc.wiring = std::move(plan);
    return true;
}

namespace {

// Colours new districts take in turn: well apart from each other and from grey (unfed track).
constexpr uint32_t kDistrictColours[] = {0x1F77B4, 0xD62728, 0x2CA02C, 0x9467BD,
                                         0xFF7F0E, 0x17BECF, 0x8C564B, 0xE377C2};

}  // namespace

uint32_t AddDistrict(LayoutDocument& doc) {
    uint32_t id = 1;
    for (const PowerDistrict& d : doc.wiring.districts) id = std::max(id, d.id + 1);
    PowerDistrict d;
    d.id = id;
    d.name = Format(Tr("Booster %u").c_str(), id);
    d.colour = kDistrictColours[doc.wiring.districts.size() % std::size(kDistrictColours)];
    doc.PushUndo();
    doc.wiring.districts.push_back(d);
    return id;
}

bool ChangeDistrict(LayoutDocument& doc, const PowerDistrict& district) {
    for (size_t i = 0; i < doc.wiring.districts.size(); ++i) {
        if (doc.wiring.districts[i].id != district.id) continue;
        if (doc.wiring.districts[i] == district) return false;
        doc.PushUndo();
        doc.wiring.districts[i] = district;
        return true;
    }
    return false;
}

bool RemoveDistrict(LayoutDocument& doc, uint32_t id) {
    if (!doc.wiring.FindDistrict(id)) return false;
    doc.PushUndo();
    std::erase_if(doc.wiring.districts, [&](const PowerDistrict& d) { return d.id == id; });
    for (Feeder& f : doc.wiring.feeders)
        if (f.district == id) f.district = kNoId;
    return true;
}

std::vector<GapRails> GapChoices(bool twoRail) {
    if (twoRail) return {GapRails::Left, GapRails::Right, GapRails::Both};
    return {GapRails::Centre, GapRails::Left, GapRails::Right};
}

bool CycleGap(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece, int connector) {
    const GraphPiece* node = graph.Find(piece);
    if (!node || !node->def || connector < 0 ||
        connector >= static_cast<int>(node->def->connectors.size()))
        return false;
    auto at = [&](uint32_t p, int c) {
        return std::find_if(doc.wiring.gaps.begin(), doc.wiring.gaps.end(),
                            [&](const RailGap& g) { return g.piece == p && g.connector == c; });
    };
    auto it = at(piece, connector);
    if (it == doc.wiring.gaps.end()) {
        const GraphEnd other = graph.Joined({piece, connector});
        if (other.piece != kNoId && doc.FindPiece(other.piece))
            it = at(other.piece, other.connector);
    }
    const std::vector<GapRails> choices = GapChoices(IsTwoRail(node->def->system));
    doc.PushUndo();
    if (it == doc.wiring.gaps.end()) {
        doc.wiring.gaps.push_back({piece, connector, choices.front()});
        return true;
    }
    const auto next = std::find(choices.begin(), choices.end(), it->rails);
    if (next == choices.end() || next + 1 == choices.end())
        doc.wiring.gaps.erase(it);
    else
        it->rails = *(next + 1);
    return true;
}

bool AddFeeder(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece) {
    if (!doc.FindPiece(piece) || !graph.Find(piece)) return false;
    Feeder f{piece, doc.wiring.districts.empty() ? kNoId : doc.wiring.districts.front().id};
    const WiringAnalysis analysis = AnalyseWiring(doc, graph, WiringOptions());
    if (const Section* s = analysis.SectionOf(graph, piece); s && s->district != kNoId)
        f.district = s->district;
    doc.PushUndo();
    doc.wiring.feeders.push_back(f);
    return true;
}

namespace {

// The pieces of the section holding `piece`; empty when it is in none.
std::vector<uint32_t> SectionPieces(const LayoutDocument& doc, const TrackGraph& graph,
                                    uint32_t piece) {
    const WiringAnalysis analysis = AnalyseWiring(doc, graph, WiringOptions());
    const Section* s = analysis.SectionOf(graph, piece);
    return s ? s->pieces : std::vector<uint32_t>{};
}

bool Holds(const std::vector<uint32_t>& pieces, uint32_t id) {
    return std::find(pieces.begin(), pieces.end(), id) != pieces.end();
}

}  // namespace

bool SetSectionDistrict(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece,
                        uint32_t district) {
    if (district != kNoId && !doc.wiring.FindDistrict(district)) return false;
    const std::vector<uint32_t> pieces = SectionPieces(doc, graph, piece);
    if (pieces.empty()) return false;
    WiringPlan plan = doc.wiring;
    bool fed = false;
    for (Feeder& f : plan.feeders)
        if (Holds(pieces, f.piece)) {
            f.district = district;
            fed = true;
        }
    if (!fed && district != kNoId) plan.feeders.push_back({piece, district});
    if (plan == doc.wiring) return false;
    doc.PushUndo();
    doc.wiring = std::move(plan);
    return true;
}

bool SetSectionDetector(LayoutDocument& doc, const TrackGraph& graph, uint32_t piece, int number) {
    if (number < 0) return false;
    const std::vector<uint32_t> pieces = SectionPieces(doc, graph, piece);
    if (pieces.empty()) return false;
    const auto inSection = [&](const Detector& d) { return Holds(pieces, d.piece); };
    const auto held = std::count_if(doc.wiring.detectors.begin(), doc.wiring.detectors.end(),
                                    inSection);
    const auto same = std::find_if(doc.wiring.detectors.begin(), doc.wiring.detectors.end(),
                                   inSection);
    if (held == 1 && same->number == number) return false;
    WiringPlan plan = doc.wiring;
    std::erase_if(plan.detectors, inSection);
    if (number > 0) plan.detectors.push_back({piece, number});
    if (plan == doc.wiring) return false;
    doc.PushUndo();
    doc.wiring = std::move(plan);
    return true;
}
