// The gap closer's texts and the choice of ends from the selection.
#include "gapclose/GapText.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"

namespace {

// The turn of a step, the sign of the heading change from entering to leaving.
int StepBend(const PieceDef& def, const GapStep& step) {
    const int n = static_cast<int>(def.connectors.size());
    if (step.entry < 0 || step.entry >= n || step.exit < 0 || step.exit >= n) return 0;
    double turn = NormalizeDeg(def.connectors[step.exit].heading -
                               def.connectors[step.entry].heading - 180.0);
    if (turn > 180) turn -= 360;
    return std::fabs(turn) < 1e-6 ? 0 : (turn > 0 ? 1 : -1);
}

std::string Pieces(int n) { return n == 1 ? Tr("1 piece") : Format(Tr("%d pieces").c_str(), n); }

}  // namespace

GapEnds NearestGapEnds(const LayoutDocument& doc, uint32_t pieceA, uint32_t pieceB) {
    GapEnds ends;
    const PlacedPiece* a = doc.FindPiece(pieceA);
    const PlacedPiece* b = doc.FindPiece(pieceB);
    if (!a || !b || a == b) return ends;
    const PieceDef* da = TrackCatalog::Instance().Find(a->article);
    const PieceDef* db = TrackCatalog::Instance().Find(b->article);
    if (!da || !db) return ends;
    for (int i = 0; i < static_cast<int>(da->connectors.size()); ++i) {
        if (!a->IsOpen(i)) continue;
        const ConnectorPose pa = GetConnectorPose(*a, *da, i);
        for (int j = 0; j < static_cast<int>(db->connectors.size()); ++j) {
            if (!b->IsOpen(j)) continue;
            const ConnectorPose pb = GetConnectorPose(*b, *db, j);
            const double d = std::hypot(pa.x - pb.x, pa.y - pb.y);
            if (!ends.found || d < ends.distanceMm) ends = {true, {pieceA, i}, {pieceB, j}, d};
        }
    }
    return ends;
}

GapEnds SelectedGapEnds(const LayoutDocument& doc) {
    std::vector<uint32_t> selected;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) selected.push_back(p.id);
    if (selected.size() != 2) return {};
    return NearestGapEnds(doc, selected[0], selected[1]);
}

LayoutBounds GapClearArea(const LayoutDocument& doc, const GapEnds& ends) {
    LayoutBounds box;
    std::vector<ConnectorPose> poses;
    for (const GapEnd& end : {ends.a, ends.b}) {
        const PlacedPiece* p = doc.FindPiece(end.piece);
        const PieceDef* def = p ? TrackCatalog::Instance().Find(p->article) : nullptr;
        if (!def || end.connector < 0 || end.connector >= static_cast<int>(def->connectors.size()))
            return {};
        poses.push_back(GetConnectorPose(*p, *def, end.connector));
    }
    const double room =
        std::max(50.0, std::hypot(poses[0].x - poses[1].x, poses[0].y - poses[1].y) / 2);
    for (const ConnectorPose& pose : poses) {
        box.Add(pose.x - room, pose.y - room);
        box.Add(pose.x + room, pose.y + room);
    }
    return box;
}

GapSummary SummariseGapSolution(const GapSolution& solution) {
    GapSummary s;
    int lastBend = 0;
    for (const GapStep& step : solution.steps) {
        if (!s.runs.empty() && s.runs.back().first == step.article) {
            ++s.runs.back().second;
        } else {
            s.runs.push_back({step.article, 1});
        }
        const PieceDef* def = TrackCatalog::Instance().Find(step.article);
        const int bend = def ? StepBend(*def, step) : 0;
        if (bend != 0 && def->radius > 0 &&
            (s.smallestRadiusMm == 0 || def->radius < s.smallestRadiusMm))
            s.smallestRadiusMm = def->radius;
        if (bend != 0 && lastBend != 0 && bend != lastBend) s.sBend = true;
        lastBend = bend;
    }
    return s;
}

bool GapJointStrained(const GapSolution& solution, const CheckOptions& check) {
    return solution.missMm > check.strainMm || solution.missDeg > check.strainDeg;
}

std::string GapSolutionLine(const GapSolution& solution, const CheckOptions& check) {
    const GapSummary s = SummariseGapSolution(solution);
    std::string line = Pieces(static_cast<int>(solution.steps.size())) + ":";
    for (size_t i = 0; i < s.runs.size(); ++i) {
        line += (i ? ", " : " ") + s.runs[i].first;
        if (s.runs[i].second > 1) line += Format(" \u00d7%d", s.runs[i].second);
    }
    line += Format(Tr("; miss %.1f mm, %.1f\u00b0").c_str(), solution.missMm, solution.missDeg);
    line += s.smallestRadiusMm > 0
                ? Format(Tr("; smallest radius %.1f mm").c_str(), s.smallestRadiusMm)
                : Tr("; straight");
    if (s.sBend) line += Tr("; S-bend");
    if (GapJointStrained(solution, check)) line += Tr("; strained joint");
    return line;
}

std::string GapNoSolutionText(const GapSearchResult& result, const GapOptions& options) {
    if (!result.error.empty()) return result.error;
    if (result.cancelled) return Tr("The search was cancelled before any chain closed the gap.");
    std::string text;
    if (result.timedOut) {
        text =
            result.searchedPieces > 0
                ? Format(Tr("No chain of up to %s closes the gap; the search stopped after %.1f s.")
                             .c_str(),
                         Pieces(result.searchedPieces).c_str(), options.timeLimitS)
                : Format(
                      Tr("The search stopped after %.1f s before any chain was complete.").c_str(),
                      options.timeLimitS);
    } else {
        text = Format(Tr("No chain of up to %s closes the gap.").c_str(),
                      Pieces(result.searchedPieces).c_str());
    }
    if (result.nearest.found)
        text += Format(Tr(" The nearest found, of %s, misses by %.1f mm and %.1f\u00b0.").c_str(),
                       Pieces(result.nearest.pieces).c_str(), result.nearest.missMm,
                       result.nearest.missDeg);
    return text;
}

std::string GapSearchStatusText(const GapSearchResult& result, double seconds) {
    const size_t n = result.solutions.size();
    std::string text = n == 1 ? Tr("1 chain found") : Format(Tr("%zu chains found").c_str(), n);
    text += Format(Tr(" in %.2f s").c_str(), seconds);
    if (result.timedOut) text += Tr(" (time limit reached)");
    if (result.cancelled) text += Tr(" (cancelled)");
    return text + ".";
}
