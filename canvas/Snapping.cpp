// Connector snapping geometry and the placing, joining and moving operations built on it.
#include "canvas/Snapping.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "base/Format.h"
#include "base/Translate.h"
#include "canvas/LayoutGeometry.h"
#include "canvas/LayoutIndex.h"
#include "model/GradeRuns.h"
#include "model/LayoutExtent.h"

namespace {

const PieceDef* DefOf(const PlacedPiece& p) { return TrackCatalog::Instance().Find(p.article); }

int ConnectorCount(const PieceDef& def) { return static_cast<int>(def.connectors.size()); }

// The pieces a placement added (one, or two for a pair).
std::vector<uint32_t> NewIds(const PlacementResult& r) {
    std::vector<uint32_t> ids;
    for (const uint32_t id : {r.firstId, r.secondId})
        if (id != kNoId) ids.push_back(id);
    return ids;
}


bool Finite(const PiecePose& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.heading);
}

std::vector<ConnectorPose> GhostPoses(const PieceDef& def, const PiecePose& pose) {
    PlacedPiece ghost;
    ghost.x = pose.x;
    ghost.y = pose.y;
    ghost.heading = pose.heading;
    return ConnectorPoses(ghost, def);
}

// The snap search; `ownUsable`, when given, says which of the moving piece's own ends may snap.
SnapResult FindSnapMasked(const PieceDef& def, const PiecePose& trial,
                          std::span<const PlacedPiece* const> candidates,
                          const std::vector<char>* ownUsable) {
    SnapResult result;
    const std::vector<ConnectorPose> own = GhostPoses(def, trial);
    if (own.empty()) return result;
    const double farMm = CatalogReachMm() + PieceReachMm(def) + kCaptureRadiusMm;
    double best = std::numeric_limits<double>::max();
    for (const PlacedPiece* p : candidates) {
        if (!p) continue;
        if (std::hypot(p->x - trial.x, p->y - trial.y) > farMm) continue;
        const PieceDef* pd = DefOf(*p);
        if (!pd) continue;
        for (int j = 0; j < ConnectorCount(*pd); ++j) {
            if (!p->IsOpen(j)) continue;
            const ConnectorPose pj = GetConnectorPose(*p, *pd, j);
            for (int i = 0; i < static_cast<int>(own.size()); ++i) {
                if (ownUsable && (i >= static_cast<int>(ownUsable->size()) || !(*ownUsable)[i]))
                    continue;
                if (!ConnectorsCompatible(*pd, j, def, i)) continue;
                const double dist = std::hypot(pj.x - own[i].x, pj.y - own[i].y);
                if (dist > kCaptureRadiusMm) continue;
                if (HeadingDiffDeg(pj.heading, own[i].heading) < kMinTurnDeg) continue;
                if (!(dist < best)) continue;
                best = dist;
                const PiecePose aligned = AlignToConnector(def, i, pj);
                result.snapped = true;
                result.targetPiece = p->id;
                result.targetConn = j;
                result.ownConn = i;
                result.x = aligned.x;
                result.y = aligned.y;
                result.heading = aligned.heading;
                result.distance = dist;
                result.targetX = pj.x;
                result.targetY = pj.y;
            }
        }
    }
    return result;
}


PlacedPiece NewPiece(const PieceDef& def, const PiecePose& pose, int32_t level) {
    PlacedPiece p;
    p.article = def.article;
    p.x = pose.x;
    p.y = pose.y;
    p.heading = NormalizeDeg(pose.heading);
    p.level = level;
    p.joints.resize(def.connectors.size());
    return p;
}

// Appends a piece inside an edit whose undo snapshot is already taken.
uint32_t AppendPiece(LayoutDocument& doc, PlacedPiece p) {
    p.id = doc.TakeId();
    doc.pieces.push_back(std::move(p));
    return doc.pieces.back().id;
}

void SelectOnly(LayoutDocument& doc, uint32_t id) {
    doc.ClearSelection();
    if (PlacedPiece* p = doc.FindPiece(id)) p->selected = true;
}

// The partner of a piece placed as a pair, at connector 1 of `firstId`; kNoId when none.
// Joins it and continues the grade onto it; takes no undo snapshot.
uint32_t PlacePairPartner(LayoutDocument& doc, const PieceDef& def, uint32_t firstId) {
    const PlacedPiece* first = doc.FindPiece(firstId);
    if (!def.placeAsPair || ConnectorCount(def) < 2 || !first || !first->IsOpen(1)) return kNoId;
    const PiecePose pose = AlignToConnector(def, 0, GetConnectorPose(*first, def, 1));
    const uint32_t secondId = AppendPiece(doc, NewPiece(def, pose, first->level));
    JoinConnectors(doc, firstId, 1, secondId, 0);
    ContinueGrade(doc, secondId, 0, firstId, 1);
    return secondId;
}

PlacementResult Refusal(TrackSystem dragged, TrackSystem placed) {
    PlacementResult r;
    r.errorTitle = Tr(kIncompatibleSystemsTitle);
    r.error = IncompatibleSystemsText(dragged, placed);
    return r;
}

// True when a piece other than `p` has a joint naming (p, c).
bool NamedByOther(const LayoutDocument& doc, uint32_t p, int c) {
    for (const PlacedPiece& q : doc.pieces) {
        if (q.id == p) continue;
        for (const Joint& j : q.joints)
            if (j.target == p && j.targetConn == static_cast<uint32_t>(c)) return true;
    }
    return false;
}

void RotateAbout(double& x, double& y, double px, double py, double cosA, double sinA) {
    const double dx = x - px, dy = y - py;
    x = px + dx * cosA - dy * sinA;
    y = py + dx * sinA + dy * cosA;
}
}  // namespace



SnapResult FindSnap(const PieceDef& def, const PiecePose& trial,
                    std::span<const PlacedPiece* const> candidates) {
    return FindSnapMasked(def, trial, candidates, nullptr);
}

SystemClash CheckSystemClash(const PieceDef& def, const PiecePose& trial,
                             const PieceList& pieces) {
    SystemClash result;
    const std::vector<ConnectorPose> own = GhostPoses(def, trial);
    const double farMm = CatalogReachMm() + PieceReachMm(def) + kCaptureRadiusMm;
    for (const PlacedPiece& p : pieces) {
        if (std::hypot(p.x - trial.x, p.y - trial.y) > farMm) continue;
        const PieceDef* pd = DefOf(p);
        if (!pd) continue;
        for (int j = 0; j < ConnectorCount(*pd); ++j) {
            if (!p.IsOpen(j)) continue;
            const ConnectorPose pj = GetConnectorPose(p, *pd, j);
            for (int i = 0; i < static_cast<int>(own.size()); ++i) {
                if (std::hypot(pj.x - own[i].x, pj.y - own[i].y) > kCaptureRadiusMm) continue;
                if (HeadingDiffDeg(pj.heading, own[i].heading) < kMinTurnDeg) continue;
                if (ConnectorsCompatible(*pd, j, def, i)) continue;
                result.clash = true;
                result.dragged = def.ConnectorSystem(i);
                result.placed = pd->ConnectorSystem(j);
                return result;
            }
        }
    }
    return result;
}

std::string IncompatibleSystemsText(TrackSystem dragged, TrackSystem placed) {
    return Format(Tr("%s cannot connect to %s.\n\nThese track systems are not compatible.\n"
                     "Use adapter track 24922 to connect C-Track to K-Track.")
                      .c_str(),
                  Tr(TrackSystemLongName(dragged).c_str()).c_str(),
                  Tr(TrackSystemLongName(placed).c_str()).c_str());
}

std::vector<const PlacedPiece*> SnapCandidates(const LayoutDocument& doc, bool skipSelected) {
    std::vector<const PlacedPiece*> out;
    out.reserve(doc.pieces.size());
    for (const PlacedPiece& p : doc.pieces) {
        if (skipSelected && p.selected) continue;
        if (!IsLevelVisible(doc, p.level)) continue;
        out.push_back(&p);
    }
    return out;
}

std::vector<const PlacedPiece*> SnapCandidates(const LayoutDocument& doc, const LayoutIndex& index,
                                               const BoxMm& box, bool skipSelected) {
    std::vector<const PlacedPiece*> out;
    for (size_t i : index.PiecesIn(box)) {
        if (i >= doc.pieces.size()) continue;
        const PlacedPiece& p = doc.pieces[i];
        if (skipSelected && p.selected) continue;
        if (!IsLevelVisible(doc, p.level)) continue;
        out.push_back(&p);
    }
    return out;
}

BoxMm SnapReach(const PieceDef& def, const PiecePose& pose) {
    BoxMm box;
    for (const ConnectorPose& c : GhostPoses(def, pose)) box.Add(c.x, c.y);
    return box.Grown(kCaptureRadiusMm + 1.0);
}

uint32_t DropLevel(const LayoutDocument& doc) {
    const Level* best = nullptr;
    for (const Level& l : doc.levels)
        if (l.visible && (!best || l.height > best->height)) best = &l;
    return best ? best->id : doc.activeLevel;
}

void DetachSelection(LayoutDocument& doc) {
    // Joints to cut, found read-only so that only the pieces that lose one are written.
    struct Cut {
        uint32_t piece;
        size_t conn;
    };
    std::vector<Cut> cuts;
    const LayoutDocument& view = doc;
    for (const PlacedPiece& p : view.pieces) {
        if (!p.selected) continue;
        for (size_t c = 0; c < p.joints.size(); ++c) {
            const Joint& j = p.joints[c];
            if (j.IsOpen()) continue;
            const PlacedPiece* other = view.FindPiece(j.target);
            if (!other) continue;  // a dangling joint is left for the file checks
            if (other->selected) continue;
            cuts.push_back({p.id, c});
        }
    }
    for (const Cut& cut : cuts) {
        PlacedPiece* p = doc.FindPiece(cut.piece);
        Joint& j = p->joints[cut.conn];
        PlacedPiece* other = j.IsOpen() ? nullptr : doc.FindPiece(j.target);
        if (!other) continue;
        if (j.targetConn < other->joints.size()) {
            Joint& back = other->joints[j.targetConn];
            if (back.target == p->id && back.targetConn == cut.conn) back = Joint{};
        }
        j = Joint{};
    }
}

std::string PiecesStatusText(const LayoutDocument& doc) {
    return Format(Tr("Pieces: %zu").c_str(), doc.pieces.size());
}

SnapResult TrackPaletteDrag(const LayoutDocument& doc, std::string_view article,
                            const PiecePose& freePose) {
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    if (!doc.snapOn || !def || !Finite(freePose)) return {};
    return FindSnap(*def, freePose, SnapCandidates(doc, false));
}

SnapResult TrackPaletteDrag(const LayoutDocument& doc, const LayoutIndex& index,
                            std::string_view article, const PiecePose& freePose) {
    if (!index.Matches(doc)) return TrackPaletteDrag(doc, article, freePose);
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    if (!doc.snapOn || !def || !Finite(freePose)) return {};
    return FindSnap(*def, freePose, SnapCandidates(doc, index, SnapReach(*def, freePose), false));
}

PlacementResult DropPalettePiece(LayoutDocument& doc, std::string_view article,
                                 const PiecePose& freePose, const SnapResult& snapIn) {
    PlacementResult result;
    // With snapping off a piece lands where it is dropped, whatever the last tracking found.
    const SnapResult snap = doc.snapOn ? snapIn : SnapResult{};
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    if (!def || !Finite(freePose)) return result;
    const PiecePose snapPose{snap.x, snap.y, snap.heading};
    if (snap.snapped && !Finite(snapPose)) return result;
    if (!snap.snapped && doc.snapOn) {
        const SystemClash clash = CheckSystemClash(*def, freePose, doc.pieces);
        if (clash.clash) return Refusal(clash.dragged, clash.placed);
    }

    // A snap is only joined when its target still offers that end to this system.
    const PlacedPiece* target = snap.snapped ? doc.FindPiece(snap.targetPiece) : nullptr;
    const PieceDef* targetDef = target ? DefOf(*target) : nullptr;
    const bool join =
        targetDef && snap.ownConn >= 0 && snap.ownConn < ConnectorCount(*def) &&
        snap.targetConn >= 0 && snap.targetConn < ConnectorCount(*targetDef) &&
        target->IsOpen(snap.targetConn) &&
        targetDef->ConnectorSystem(snap.targetConn) == def->ConnectorSystem(snap.ownConn);

    doc.EnsureDefaultLevel();
    int32_t level = static_cast<int32_t>(DropLevel(doc));
    if (snap.snapped) level = target ? target->level : static_cast<int32_t>(doc.activeLevel);
    const uint32_t id = doc.AddPiece(NewPiece(*def, snap.snapped ? snapPose : freePose, level));
    result.firstId = id;
    result.firstZPiece = def->system == TrackSystem::MarklinZ && doc.pieces.size() == 1;

    if (join && JoinConnectors(doc, id, snap.ownConn, snap.targetPiece, snap.targetConn))
        ContinueGrade(doc, id, snap.ownConn, snap.targetPiece, snap.targetConn);
    result.secondId = PlacePairPartner(doc, *def, id);
    if (doc.snapOn) JoinPlacedEnds(doc, NewIds(result));  // with snapping off nothing joins
    SelectOnly(doc, id);
    return result;
}

PlacementResult PlaceAfterSelection(LayoutDocument& doc, std::string_view article) {
    PlacementResult result;
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    const PlacedPiece* newest = nullptr;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected && (!newest || p.id > newest->id)) newest = &p;
    if (!newest) {
        result.startDrag = def != nullptr;
        return result;
    }
    const PieceDef* pDef = DefOf(*newest);
    if (!def || !pDef || def->connectors.empty()) return result;

    const int pCount = ConnectorCount(*pDef);
    int c = -1;
    if (pCount >= 2 && newest->IsOpen(1)) {
        c = 1;
    } else if (pCount >= 1 && newest->IsOpen(0)) {
        c = 0;
    } else {
        for (int i = 2; i < pCount && c < 0; ++i)
            if (newest->IsOpen(i)) c = i;
    }
    if (c < 0) return result;
    const int k = (c == 0 && def->connectors.size() > 1) ? 1 : 0;
    if (pDef->ConnectorSystem(c) != def->ConnectorSystem(k))
        return Refusal(def->ConnectorSystem(k), pDef->ConnectorSystem(c));

    const uint32_t pId = newest->id;
    const PiecePose pose = AlignToConnector(*def, k, GetConnectorPose(*newest, *pDef, c));
    const uint32_t id = doc.AddPiece(NewPiece(*def, pose, newest->level));
    JoinConnectors(doc, pId, c, id, k);
    SelectOnly(doc, id);
    ContinueGrade(doc, id, k, pId, c);
    result.firstId = id;
    result.secondId = PlacePairPartner(doc, *def, id);
    if (result.secondId != kNoId) SelectOnly(doc, result.secondId);
    JoinPlacedEnds(doc, NewIds(result));
    return result;
}

PlacementResult CloneAndExtend(LayoutDocument& doc, uint32_t pieceId) {
    PlacementResult result;
    const PlacedPiece* p = doc.FindPiece(pieceId);
    if (!p || p->helixId != kNoId) return result;
    const PieceDef* def = DefOf(*p);
    if (!def || def->connectors.empty()) return result;
    const int count = ConnectorCount(*def);
    int c = -1, own = -1;
    if (count >= 2 && p->IsOpen(1) && !NamedByOther(doc, pieceId, 1)) {
        c = 1;
        own = 0;
    } else if (p->IsOpen(0) && !NamedByOther(doc, pieceId, 0)) {
        c = 0;
        own = count >= 2 ? 1 : 0;
    } else {
        return result;
    }
    // The adapter would join its own two systems end to end.
    if (def->ConnectorSystem(c) != def->ConnectorSystem(own))
        return Refusal(def->ConnectorSystem(own), def->ConnectorSystem(c));

    const PiecePose pose = AlignToConnector(*def, own, GetConnectorPose(*p, *def, c));
    const uint32_t id = doc.AddPiece(NewPiece(*def, pose, p->level));
    JoinConnectors(doc, id, own, pieceId, c);
    SelectOnly(doc, id);
    ContinueGrade(doc, id, own, pieceId, c);
    result.firstId = id;
    JoinPlacedEnds(doc, NewIds(result));
    return result;
}

MoveStart TakeMoveStart(const LayoutDocument& doc) {
    MoveStart start;
    std::unordered_set<uint32_t> helixIds;
    for (size_t i = 0; i < doc.pieces.size(); ++i) {
        const PlacedPiece& p = doc.pieces[i];
        if (!p.selected) continue;
        start.pieces.push_back({p.id, p.x, p.y, p.heading, i});
        if (p.helixId != kNoId) helixIds.insert(p.helixId);
    }
    for (size_t i = 0; i < doc.scenery.size(); ++i) {
        const SceneryItem& s = doc.scenery[i];
        if (s.selected) start.scenery.push_back({s.id, s.x, s.y, s.heading, i});
    }
    for (const Helix& h : doc.helices)
        if (helixIds.count(h.id)) start.helices.push_back({h.id, h.x, h.y, h.heading});
    return start;
}

GroupSnap TrackSelectionMove(LayoutDocument& doc, const MoveStart& start, double dx, double dy) {
    GroupSnap group;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return group;
    for (const MoveStart::Pose& s : start.pieces)
        if (PlacedPiece* p = doc.FindPiece(s.id)) {
            p->x = s.x + dx;
            p->y = s.y + dy;
        }
    for (const MoveStart::Pose& s : start.scenery)
        if (SceneryItem* item = doc.FindScenery(s.id)) {
            item->x = s.x + dx;
            item->y = s.y + dy;
        }
    for (const MoveStart::Pose& s : start.helices)
        if (Helix* h = doc.FindHelix(s.id)) {
            h->x = s.x + dx;
            h->y = s.y + dy;
        }
    if (!doc.snapOn) return group;

    // Only pieces near the selection's box can offer an end to any of its pieces.
    std::unordered_set<uint32_t> selected;
    double x0 = std::numeric_limits<double>::max(), y0 = x0, x1 = -x0, y1 = -x0;
    for (const PlacedPiece& p : doc.pieces) {
        if (!p.selected) continue;
        selected.insert(p.id);
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    const double margin = 2 * CatalogReachMm() + kCaptureRadiusMm;
    std::vector<const PlacedPiece*> candidates = SnapCandidates(doc, true);
    std::erase_if(candidates, [&](const PlacedPiece* c) {
        return c->x < x0 - margin || c->x > x1 + margin || c->y < y0 - margin || c->y > y1 + margin;
    });
    std::vector<char> usable;
    for (const PlacedPiece& p : doc.pieces) {
        if (!p.selected) continue;
        const PieceDef* def = DefOf(p);
        if (!def) continue;
        // An end joined inside the selection stays joined after the move and cannot snap.
        usable.assign(def->connectors.size(), 1);
        for (size_t c = 0; c < usable.size() && c < p.joints.size(); ++c)
            if (!p.joints[c].IsOpen() && selected.count(p.joints[c].target)) usable[c] = 0;
        const SnapResult r = FindSnapMasked(*def, {p.x, p.y, p.heading}, candidates, &usable);
        if (r.snapped && (group.movingPiece == kNoId || r.distance < group.snap.distance)) {
            group.snap = r;
            group.movingPiece = p.id;
        }
    }
    return group;
}

namespace {

// The object a move snapshot names: found at its recorded position when nothing was added or
// removed since, else by id.
// The position of the object the pose was taken from: where it was, or found again by id;
// the list's size when it is gone.
template <typename List>
size_t AtOrFind(const List& list, const MoveStart::Pose& s) {
    if (s.at < list.size() && list[s.at].id == s.id) return s.at;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].id == s.id) return i;
    return list.size();
}

// Whether any selected piece went further from where the move started than a detach needs.
bool MovedFarEnoughToDetach(const LayoutDocument& doc, const MoveStart& start) {
    bool moved = false;
    for (const MoveStart::Pose& s : start.pieces)
        if (const PlacedPiece* p = doc.FindPiece(s.id))
            if (p->selected && std::hypot(p->x - s.x, p->y - s.y) > kDetachDistanceMm) moved = true;
    return moved;
}

// One rigid motion carries the whole selection, its helices with it: a turn about m, then a
// shift that puts m on `target`.
void CarrySelection(LayoutDocument& doc, PlacedPiece* m, const PiecePose& target) {
    const double turn = target.heading - m->heading;
    const double cosA = std::cos(DegToRad(turn)), sinA = std::sin(DegToRad(turn));
    const double px = m->x, py = m->y;
    const double shiftX = target.x - px, shiftY = target.y - py;
    std::unordered_set<uint32_t> helixIds;
    doc.pieces.ForEachWhere([](const PlacedPiece& p) { return p.selected; },
                            [&](PlacedPiece& p) {
                                RotateAbout(p.x, p.y, px, py, cosA, sinA);
                                p.x += shiftX;
                                p.y += shiftY;
                                p.heading = NormalizeDeg(p.heading + turn);
                                if (p.helixId != kNoId) helixIds.insert(p.helixId);
                                if (const PieceDef* d = DefOf(p)) GrowJoints(p, *d);
                            });
    for (Helix& h : doc.helices) {
        if (!helixIds.count(h.id)) continue;
        RotateAbout(h.x, h.y, px, py, cosA, sinA);
        h.x += shiftX;
        h.y += shiftY;
        h.heading = NormalizeDeg(h.heading + turn);
    }
    m->x = target.x;  // exact, free of the rounding of the rotation
    m->y = target.y;
    m->heading = target.heading;
}

// The snapped piece continues the target's grade; the rest of the selection (helices aside)
// rises or falls with it.
void CarryGradeAlong(LayoutDocument& doc, uint32_t mId, int i, uint32_t tId, int j) {
    const PlacedPiece* m = doc.FindPiece(mId);
    if (m->helixId != kNoId) return;
    const double before = m->elevation;
    ContinueGrade(doc, mId, i, tId, j);
    m = doc.FindPiece(mId);
    const double change = m->elevation - before;
    if (std::fabs(change) > 0.001)
        doc.pieces.ForEachWhere(
            [&](const PlacedPiece& p) { return p.selected && p.id != mId && p.helixId == kNoId; },
            [&](PlacedPiece& p) { p.elevation += change; });
}

// Other ends the move brought together. The systems must match here too: an end-to-end
// joint between C-Track and K-Track is never made.
void JoinEndsBroughtTogether(LayoutDocument& doc) {
    const double farMm = 2 * CatalogReachMm() + kJoinRadiusMm;
    const PieceList& all = doc.pieces;  // read-only: joins write through JoinConnectors alone
    for (size_t si = 0; si < all.size(); ++si) {
        if (!all[si].selected) continue;
        const PieceDef* sDef = DefOf(all[si]);
        if (!sDef) continue;
        for (int a = 0; a < ConnectorCount(*sDef); ++a) {
            for (size_t ui = 0; ui < all.size() && all[si].IsOpen(a); ++ui) {
                const PlacedPiece& s = all[si];
                const PlacedPiece& u = all[ui];
                if (u.selected || std::hypot(u.x - s.x, u.y - s.y) > farMm) continue;
                const PieceDef* uDef = DefOf(u);
                if (!uDef) continue;
                const ConnectorPose sa = GetConnectorPose(s, *sDef, a);
                for (int b = 0; b < ConnectorCount(*uDef); ++b) {
                    if (!u.IsOpen(b) || uDef->ConnectorSystem(b) != sDef->ConnectorSystem(a))
                        continue;
                    const ConnectorPose ub = GetConnectorPose(u, *uDef, b);
                    const double dx = sa.x - ub.x, dy = sa.y - ub.y;
                    if (dx * dx + dy * dy < kJoinRadiusMm * kJoinRadiusMm) {
                        JoinConnectors(doc, s.id, a, u.id, b);
                        break;
                    }
                }
            }
        }
    }
}

}  // namespace

GroupSnap TrackSelectionMove(LayoutDocument& doc, LayoutIndex& index, const MoveStart& start,
                             double dx, double dy) {
    GroupSnap group;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return group;
    if (!index.Matches(doc)) index.Rebuild(doc);
    std::vector<size_t> movingAt;
    movingAt.reserve(start.pieces.size());
    for (const MoveStart::Pose& s : start.pieces) {
        const size_t i = AtOrFind(doc.pieces, s);
        if (i >= doc.pieces.size()) continue;
        PlacedPiece& p = doc.pieces[i];
        p.x = s.x + dx;
        p.y = s.y + dy;
        index.UpdatePiece(doc, i);
        if (p.selected) movingAt.push_back(i);
    }
    for (const MoveStart::Pose& s : start.scenery) {
        const size_t i = AtOrFind(doc.scenery, s);
        if (i >= doc.scenery.size()) continue;
        doc.scenery[i].x = s.x + dx;
        doc.scenery[i].y = s.y + dy;
        index.UpdateScenery(doc, i);
    }
    for (const MoveStart::Pose& s : start.helices)
        if (Helix* h = doc.FindHelix(s.id)) {
            h->x = s.x + dx;
            h->y = s.y + dy;
        }
    if (!doc.snapOn) return group;

    // The snapshot lists the selection in document order, as the search visits it.
    std::sort(movingAt.begin(), movingAt.end());
    std::vector<const PlacedPiece*> moving;
    moving.reserve(movingAt.size());
    for (size_t i : movingAt) moving.push_back(&std::as_const(doc.pieces)[i]);
    std::unordered_set<uint32_t> selected;
    for (const PlacedPiece* p : moving) selected.insert(p->id);
    std::vector<char> usable;
    for (const PlacedPiece* p : moving) {
        const PieceDef* def = DefOf(*p);
        if (!def) continue;
        usable.assign(def->connectors.size(), 1);
        for (size_t c = 0; c < usable.size() && c < p->joints.size(); ++c)
            if (!p->joints[c].IsOpen() && selected.count(p->joints[c].target)) usable[c] = 0;
        const PiecePose pose{p->x, p->y, p->heading};
        const std::vector<const PlacedPiece*> candidates =
            SnapCandidates(doc, index, SnapReach(*def, pose), true);
        const SnapResult r = FindSnapMasked(*def, pose, candidates, &usable);
        if (r.snapped && (group.movingPiece == kNoId || r.distance < group.snap.distance)) {
            group.snap = r;
            group.movingPiece = p->id;
        }
    }
    return group;
}

void ReleaseSelectionMove(LayoutDocument& doc, const MoveStart& start, const GroupSnap& group) {
    if (MovedFarEnoughToDetach(doc, start)) DetachSelection(doc);
    if (!group.Snapped()) return;

    PlacedPiece* m = doc.FindPiece(group.movingPiece);
    const PlacedPiece* t = doc.FindPiece(group.snap.targetPiece);
    if (!m || !t || !m->selected || t->selected) return;
    const PieceDef* mDef = DefOf(*m);
    const PieceDef* tDef = DefOf(*t);
    const int i = group.snap.ownConn, j = group.snap.targetConn;
    if (!mDef || !tDef || i < 0 || j < 0 || i >= ConnectorCount(*mDef) ||
        j >= ConnectorCount(*tDef) || !m->IsOpen(i) || !t->IsOpen(j) ||
        mDef->ConnectorSystem(i) != tDef->ConnectorSystem(j))
        return;

    CarrySelection(doc, m, AlignToConnector(*mDef, i, GetConnectorPose(*t, *tDef, j)));
    const uint32_t mId = m->id, tId = t->id;
    JoinConnectors(doc, mId, i, tId, j);
    CarryGradeAlong(doc, mId, i, tId, j);
    JoinEndsBroughtTogether(doc);
}
