// Layout document operations: adding, deleting, clearing, levels, lookups and the current grade.
#include "model/LayoutDocument.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

Level DefaultLevel() { return Level{}; }

uint32_t LayoutDocument::AddPiece(PlacedPiece piece) {
    PushUndo();
    piece.id = TakeId();
    pieces.push_back(std::move(piece));
    return pieces.back().id;
}

void LayoutDocument::DeleteSelected() {
    PushUndo();

    std::unordered_set<uint32_t> doomed;
    for (const PlacedPiece& p : std::as_const(pieces))
        if (p.selected) doomed.insert(p.id);

    // A grade run anchored on a doomed piece moves to the first surviving piece joined to it,
    // anchored at that piece's end away from the deleted one.
    auto towardsDoomed = [&](const PlacedPiece& p) {
        return std::find_if(p.joints.begin(), p.joints.end(), [&](const Joint& j) {
            return j.target != kNoId && doomed.count(j.target);
        });
    };
    for (GradeRun& run : gradeRuns) {
        if (run.anchorPiece < 0 || !doomed.count(static_cast<uint32_t>(run.anchorPiece))) continue;
        run.anchorPiece = -1;
        for (const PlacedPiece& p : std::as_const(pieces)) {
            if (p.selected) continue;
            auto it = towardsDoomed(p);
            if (it == p.joints.end()) continue;
            run.anchorPiece = static_cast<int32_t>(p.id);
            run.anchorConn = (it == p.joints.begin()) ? 1 : 0;
            break;
        }
    }
    std::erase_if(gradeRuns, [](const GradeRun& r) { return r.anchorPiece < 0; });
    RefreshCurrentGrade();

    // Only the neighbours are written, so the rest of the pieces stay shared with the snapshot.
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (towardsDoomed(std::as_const(pieces)[i]) == std::as_const(pieces)[i].joints.end())
            continue;
        for (Joint& j : pieces[i].joints)
            if (j.target != kNoId && doomed.count(j.target)) j = Joint{};
    }

    pieces.EraseIf([](const PlacedPiece& p) { return p.selected; });
    if (!doomed.empty()) wiring.DropPieces([&](uint32_t id) { return doomed.count(id) > 0; });

    if (!doomed.empty()) {
        std::erase_if(helices, [&](const Helix& h) {
            return doomed.count(h.bottomR1) || doomed.count(h.bottomR2) || doomed.count(h.topR1) ||
                   doomed.count(h.topR2);
        });
    }

    std::erase_if(scenery, [](const SceneryItem& s) { return s.selected; });
    std::erase_if(labels, [](const Label& l) { return l.selected; });
    std::erase_if(measurements, [](const Measurement& m) { return m.selected; });
}

void LayoutDocument::Clear() {
    PushUndo();
    pieces.clear();
    scenery.clear();
    labels.clear();
    measurements.clear();
    tunnels.clear();
    helices.clear();
    nextId = 1;
    gradeRuns.clear();
    wiring = WiringPlan{};
    control = ControlPlan{};
    pictures.clear();
    RefreshCurrentGrade();
}

void LayoutDocument::EnsureDefaultLevel() {
    if (levels.empty()) levels.push_back(DefaultLevel());
}

void LayoutDocument::RefreshCurrentGrade() {
    if (gradeRuns.empty()) {
        currentGrade = CurrentGrade{};
        return;
    }
    const GradeRun& last = gradeRuns.back();
    currentGrade.hasGrade = true;
    currentGrade.gradeDeg = last.gradeDeg;
    currentGrade.anchorPiece = last.anchorPiece;
    currentGrade.anchorConn = static_cast<int32_t>(last.anchorConn);
}

namespace {
template <typename T>
T* FindById(std::vector<T>& list, uint32_t id) {
    for (T& t : list)
        if (t.id == id) return &t;
    return nullptr;
}
}  // namespace

PlacedPiece* LayoutDocument::FindPiece(uint32_t id) {
    const size_t i = pieces.FindIndex(id);
    return i == PieceList::npos ? nullptr : &pieces[i];
}
const PlacedPiece* LayoutDocument::FindPiece(uint32_t id) const {
    const size_t i = pieces.FindIndex(id);
    return i == PieceList::npos ? nullptr : &pieces[i];
}
SceneryItem* LayoutDocument::FindScenery(uint32_t id) { return FindById(scenery, id); }
const SceneryItem* LayoutDocument::FindScenery(uint32_t id) const {
    return const_cast<LayoutDocument*>(this)->FindScenery(id);
}
Helix* LayoutDocument::FindHelix(uint32_t id) { return FindById(helices, id); }
const Helix* LayoutDocument::FindHelix(uint32_t id) const {
    return const_cast<LayoutDocument*>(this)->FindHelix(id);
}
Level* LayoutDocument::FindLevel(uint32_t id) { return FindById(levels, id); }
const Level* LayoutDocument::FindLevel(uint32_t id) const {
    return const_cast<LayoutDocument*>(this)->FindLevel(id);
}

void LayoutDocument::ClearSelection() {
    // Writing only the selected pieces keeps the others shared with the undo snapshots.
    for (size_t i = 0; i < pieces.size(); ++i)
        if (std::as_const(pieces)[i].selected) pieces[i].selected = false;
    for (auto& s : scenery) s.selected = false;
    for (auto& l : labels) l.selected = false;
    for (auto& m : measurements) m.selected = false;
}

bool LayoutDocument::HasSelection() const {
    auto sel = [](const auto& o) { return o.selected; };
    return std::any_of(pieces.cbegin(), pieces.cend(), sel) ||
           std::any_of(scenery.begin(), scenery.end(), sel) ||
           std::any_of(labels.begin(), labels.end(), sel) ||
           std::any_of(measurements.begin(), measurements.end(), sel);
}
