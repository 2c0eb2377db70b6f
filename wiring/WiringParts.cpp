// The wiring part of the tally and a piece's place in the plan.
#include "wiring/WiringParts.h"

#include <map>
#include <set>

#include "base/Format.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "network/TrackGraph.h"
#include "wiring/WireList.h"
#include "wiring/WiringAnalysis.h"

namespace {

const PieceDef* DefOf(const LayoutDocument& doc, uint32_t piece) {
    const PlacedPiece* p = doc.FindPiece(piece);
    return p ? TrackCatalog::Instance().Find(p->article) : nullptr;
}

}  // namespace

std::vector<WiringPart> WiringParts(const LayoutDocument& doc) {
    std::map<std::string, int> articles;
    int centre = 0, outer = 0, joiners = 0;
    for (const Feeder& f : doc.wiring.feeders) {
        const PieceDef* def = DefOf(doc, f.piece);
        if (!def) continue;
        if (def->system == TrackSystem::MarklinK) ++articles["2290"];
        if (def->system == TrackSystem::MarklinZ) ++articles["8590"];
    }
    std::set<std::pair<uint32_t, int>> counted;  // both ends of every joint already counted
    for (const RailGap& g : doc.wiring.gaps) {
        const PlacedPiece* p = doc.FindPiece(g.piece);
        const PieceDef* def = p ? TrackCatalog::Instance().Find(p->article) : nullptr;
        if (!def || g.connector < 0 || g.connector >= static_cast<int>(p->joints.size())) continue;
        const Joint& joint = p->joints[g.connector];
        if (joint.IsOpen() || !doc.FindPiece(joint.target)) continue;
        if (!counted.insert({g.piece, g.connector}).second) continue;
        counted.insert({joint.target, static_cast<int>(joint.targetConn)});
        const bool oneRail = g.rails == GapRails::Left || g.rails == GapRails::Right;
        if (def->system == TrackSystem::MarklinK && oneRail) {
            ++articles["2295"];
        } else if (def->system == TrackSystem::MarklinZ && g.rails != GapRails::Centre) {
            ++articles[oneRail ? "8588" : "8598"];
        } else if (!IsTwoRail(def->system)) {
            if (g.rails == GapRails::Centre)
                ++centre;
            else if (oneRail)
                ++outer;
            else
                outer += 2;
        } else if (g.rails != GapRails::Centre) {
            joiners += oneRail ? 1 : 2;
        }
    }
    std::vector<WiringPart> parts;
    for (const auto& [article, count] : articles) {
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        parts.push_back({article, def ? def->name : article, count});
    }
    auto byHand = [&](const char* text, int count) {
        if (count > 0) parts.push_back({"", Tr(text), count});
    };
    byHand(TR_NOOP("Centre-conductor insulators (made by hand)"), centre);
    byHand(TR_NOOP("Outer-rail insulators (made by hand)"), outer);
    byHand(TR_NOOP("Insulated rail joiners"), joiners);
    return parts;
}

namespace {

bool LookUpPiece(const TrackGraph& graph, const WiringAnalysis& analysis, uint32_t piece,
                 PieceWiring* out) {
    const Section* section = analysis.SectionOf(graph, piece);
    if (!section) return false;
    *out = {SectionNumberOf(graph, analysis, piece), section->district, section->detector};
    return true;
}

}  // namespace

bool FindPieceWiring(const LayoutDocument& doc, uint32_t piece, PieceWiring* out) {
    if (doc.wiring.Empty()) return false;
    const TrackGraph graph = BuildTrackGraph(doc);
    return LookUpPiece(graph, AnalyseWiring(doc, graph, WiringOptions()), piece, out);
}

struct PieceWiringFinder::Kept {
    const LayoutDocument* doc = nullptr;
    uint64_t revision = 0;
    size_t pieces = 0;
    TrackGraph graph;
    WiringAnalysis analysis;
};

PieceWiringFinder::PieceWiringFinder() = default;
PieceWiringFinder::~PieceWiringFinder() = default;
void PieceWiringFinder::Forget() { kept.reset(); }

bool PieceWiringFinder::Find(const LayoutDocument& doc, uint32_t piece, PieceWiring* out) {
    if (doc.wiring.Empty()) return false;
    if (!kept || kept->doc != &doc || kept->revision != doc.Revision() ||
        kept->pieces != doc.pieces.size()) {
        kept = std::make_unique<Kept>();
        kept->doc = &doc;
        kept->revision = doc.Revision();
        kept->pieces = doc.pieces.size();
        kept->graph = BuildTrackGraph(doc);
        kept->analysis = AnalyseWiring(doc, kept->graph, WiringOptions());
    }
    return LookUpPiece(kept->graph, kept->analysis, piece, out);
}

std::string PieceWiringText(const LayoutDocument& doc, uint32_t piece) {
    PieceWiring w;
    return FindPieceWiring(doc, piece, &w) ? PieceWiringText(doc, w) : std::string();
}

std::string PieceWiringText(const LayoutDocument& doc, const PieceWiring& w) {
    const PowerDistrict* d = doc.wiring.FindDistrict(w.district);
    std::string text = Format(Tr("Section %d").c_str(), w.section);
    text += " \u00b7 " + (d ? d->name : Tr("no district"));
    if (w.detector > 0) text += " \u00b7 " + Format(Tr("detector %d").c_str(), w.detector);
    return text;
}
