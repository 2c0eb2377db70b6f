// Grade runs: heights carried from piece to piece, the run's head moving on, and its end.
#include "model/GradeRuns.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"

namespace {

// Height propagation and the search for a run to remove stop after these many steps, so a chain
// that loops back on itself ends the walk.
constexpr int kHeightWalkSteps = 200;
constexpr int kRunSearchSteps = 100;

bool Anchors(const GradeRun& run, uint32_t pieceId) {
    return run.anchorPiece >= 0 && static_cast<uint32_t>(run.anchorPiece) == pieceId;
}

GradeRun* FindRun(LayoutDocument& doc, uint32_t pieceId) {
    for (GradeRun& run : doc.gradeRuns)
        if (Anchors(run, pieceId)) return &run;
    return nullptr;
}

int ConnectorCount(const PlacedPiece& piece) {
    const PieceDef* def = TrackCatalog::Instance().Find(piece.article);
    return def ? static_cast<int>(def->connectors.size()) : static_cast<int>(piece.joints.size());
}

// Track is walked through a piece from the connector it was entered by to the one opposite: a
// piece entered at its start leaves at connector 1, one entered anywhere else leaves at its start.
// So a piece laid the other way round (a left curve entered by its connector 1) is walked through
// rather than back.
int ExitConnector(int entryConn) { return entryConn == 0 ? 1 : 0; }

// One step of a forward walk: the piece joined at `exitConn` of `cur` and the connector it is
// joined by; null at an open end or a vanished neighbour.
PlacedPiece* StepForward(LayoutDocument& doc, const PlacedPiece& cur, int exitConn,
                         int* entryConn) {
    if (ConnectorCount(cur) < 2 || cur.IsOpen(exitConn)) return nullptr;
    const Joint& j = cur.joints[exitConn];
    PlacedPiece* next = doc.FindPiece(j.target);
    if (!next) return nullptr;
    *entryConn = static_cast<int>(j.targetConn);
    return next;
}

// Sets `piece` level with its neighbour at connector 0, when it has one.
void LevelOnPredecessor(LayoutDocument& doc, PlacedPiece& piece) {
    if (piece.IsOpen(0)) return;
    const Joint& j = piece.joints[0];
    const PlacedPiece* prev = doc.FindPiece(j.target);
    if (!prev || prev == &piece) return;
    piece.elevation = ConnectorHeight(*prev, static_cast<int>(j.targetConn));
}

// Carries the end height of `start` over the flat pieces after it, up to the first graded one.
void PropagateOverFlat(LayoutDocument& doc, uint32_t startId) {
    PlacedPiece* cur = doc.FindPiece(startId);
    int exitConn = 1;
    for (int step = 0; cur && step < kHeightWalkSteps; ++step) {
        int entry = 0;
        PlacedPiece* next = StepForward(doc, *cur, exitConn, &entry);
        if (!next || next->id == startId || std::abs(next->grade) > kFlatGradeDeg) return;
        const double joinHeight = ConnectorHeight(*cur, exitConn);
        next->elevation = entry == 0 ? joinHeight : joinHeight - PieceRise(*next);
        exitConn = ExitConnector(entry);
        cur = next;
    }
}

}  // namespace

double RunLength(const PieceDef& def) {
    if (def.radius > 0 && def.connectors.size() >= 2 && def.connectors[1].x > 1.0)
        return def.connectors[1].x;
    return def.length;
}

double PieceRise(const PlacedPiece& piece) {
    const PieceDef* def = TrackCatalog::Instance().Find(piece.article);
    if (!def) return 0;
    return SinDeg(piece.grade) * RunLength(*def);
}

double PieceEndHeight(const PlacedPiece& piece) { return piece.elevation + PieceRise(piece); }

double ConnectorHeight(const PlacedPiece& piece, int conn) {
    return conn == 0 ? piece.elevation : PieceEndHeight(piece);
}

const GradeRun* FindGradeRunAt(const LayoutDocument& doc, uint32_t pieceId) {
    return FindRun(const_cast<LayoutDocument&>(doc), pieceId);
}

void ContinueGrade(LayoutDocument& doc, uint32_t pieceId, int ownConn, uint32_t targetId,
                   int targetConn) {
    if (ownConn < 0 || targetConn < 0 || pieceId == targetId) return;
    PlacedPiece* n = doc.FindPiece(pieceId);
    const PlacedPiece* e = doc.FindPiece(targetId);
    if (!n || !e) return;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    const PieceDef* eDef = catalog.Find(e->article);
    if (!eDef || eDef->length <= 0) return;
    if (targetConn >= static_cast<int>(eDef->connectors.size())) return;
    const PieceDef* nDef = catalog.Find(n->article);
    if (nDef && ownConn >= static_cast<int>(nDef->connectors.size())) return;

    const double joinHeight = ConnectorHeight(*e, targetConn);
    GradeRun* run = FindRun(doc, targetId);

    if (nDef && nDef->isBridge && !nDef->isRamp) {
        // A bridge is level track: it ends the run at the join.
        n->elevation = joinHeight;
        n->grade = 0;
        if (run) RemoveGradeRunsAt(doc, targetId);
        return;
    }
    if (!run) {
        n->elevation = joinHeight;
        n->grade = 0;
        return;
    }

    // The slope goes on across the joint in the direction of travel. E faces the run's way unless
    // its grade has the opposite sign; leaving E by its start runs against E's rise, and entering
    // N by its connector 1 runs against N's rise.
    const bool eReversed = e->grade * run->gradeDeg < 0;
    double sign = eReversed ? -1.0 : 1.0;
    if (targetConn == 0) sign = -sign;
    if (ownConn != 0) sign = -sign;
    n->grade = sign * run->gradeDeg;
    n->elevation = ownConn == 0 ? joinHeight : joinHeight - PieceRise(*n);
    run->anchorPiece = static_cast<int32_t>(pieceId);
    run->anchorConn = ownConn == 0 ? 1 : 0;
    doc.RefreshCurrentGrade();
}

std::string StartGrade(LayoutDocument& doc, uint32_t pieceId, double angleDeg) {
    if (!doc.FindPiece(pieceId) || !std::isfinite(angleDeg)) return {};
    // Starting the same climb again changes nothing and leaves the history alone.
    const GradeRun* same = FindRun(doc, pieceId);
    if (same && same->gradeDeg == angleDeg && same->anchorConn == 0 &&
        doc.FindPiece(pieceId)->grade == angleDeg)
        return StartGradeStatusText(angleDeg);
    doc.PushUndo();
    if (GradeRun* run = FindRun(doc, pieceId)) {
        run->gradeDeg = angleDeg;
        run->anchorConn = 0;
    } else {
        doc.gradeRuns.push_back(GradeRun{angleDeg, static_cast<int32_t>(pieceId), 0});
    }
    doc.RefreshCurrentGrade();
    doc.FindPiece(pieceId)->grade = angleDeg;
    return StartGradeStatusText(angleDeg);
}

std::string EndGrade(LayoutDocument& doc, uint32_t pieceId) {
    PlacedPiece* p = doc.FindPiece(pieceId);
    if (!p) return {};
    doc.PushUndo();
    p = doc.FindPiece(pieceId);
    p->grade = 0;
    LevelOnPredecessor(doc, *p);
    PropagateOverFlat(doc, pieceId);

    // The run to end is the first one anchored at or after the piece.
    const PlacedPiece* cur = p;
    int exitConn = 1;
    for (int step = 0; cur && step < kRunSearchSteps; ++step) {
        if (FindRun(doc, cur->id)) {
            RemoveGradeRunsAt(doc, cur->id);
            break;
        }
        int entry = 0;
        cur = StepForward(doc, *cur, exitConn, &entry);
        exitConn = ExitConnector(entry);
    }
    doc.RefreshCurrentGrade();
    return EndGradeStatusText();
}

std::string StopGradeAtHead(LayoutDocument& doc, uint32_t pieceId) {
    if (!doc.FindPiece(pieceId) || !FindRun(doc, pieceId)) return {};
    doc.PushUndo();
    RemoveGradeRunsAt(doc, pieceId);
    return EndGradeStatusText();
}

bool RecalculateForward(LayoutDocument& doc, uint32_t pieceId) {
    if (!doc.FindPiece(pieceId)) return false;
    doc.PushUndo();
    LevelOnPredecessor(doc, *doc.FindPiece(pieceId));
    PropagateOverFlat(doc, pieceId);
    return true;
}

void RemoveGradeRunsAt(LayoutDocument& doc, uint32_t pieceId) {
    std::erase_if(doc.gradeRuns, [&](const GradeRun& r) { return Anchors(r, pieceId); });
    doc.RefreshCurrentGrade();
}

void ResetGradeRuns(LayoutDocument& doc) {
    doc.gradeRuns.clear();
    doc.RefreshCurrentGrade();
}

std::string StartGradeStatusText(double angleDeg) {
    return Format(Tr("Elevation: %s %.1f deg").c_str(),
                  (std::signbit(angleDeg) ? Tr("DOWN") : Tr("UP")).c_str(), std::abs(angleDeg));
}

std::string EndGradeStatusText() { return Tr("Grade ended - subsequent pieces will be flat"); }

std::string GradeRunsStatusText(const std::vector<GradeRun>& runs, std::string_view currentText,
                                bool afterOpen) {
    if (runs.empty()) {
        // "[ELEV]" marks the grade read-out in every language.
        if (afterOpen || currentText.starts_with("[ELEV]")) return Tr("Ready");
        return std::string(currentText);
    }
    std::string text = "[ELEV]";
    for (const GradeRun& run : runs) {
        text += Format(Tr(" %.1f deg").c_str(), run.gradeDeg);
    }
    text += Tr("  (right-click piece to stop)");
    return text;
}
