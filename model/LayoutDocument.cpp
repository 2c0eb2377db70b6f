// Layout document operations: adding, deleting, clearing, levels, lookups and the current grade.
#include "model/LayoutDocument.h"

#include <algorithm>
#include <unordered_set>

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
    for (const PlacedPiece& p : pieces)
        if (p.selected) doomed.insert(p.id);

    // A grade run anchored on a doomed piece moves to the first surviving piece joined to it,
    // anchored at that piece's end away from the deleted one.
    for (GradeRun& run : gradeRuns) {
        if (run.anchorPiece < 0 || !doomed.count(static_cast<uint32_t>(run.anchorPiece))) continue;
        run.anchorPiece = -1;
        for (const PlacedPiece& p : pieces) {
            if (p.selected) continue;
            auto it = std::find_if(p.joints.begin(), p.joints.end(), [&](const Joint& j) {
                return j.target != kNoId && doomed.count(j.target);
            });
            if (it == p.joints.end()) continue;
            run.anchorPiece = static_cast<int32_t>(p.id);
            run.anchorConn = (it == p.joints.begin()) ? 1 : 0;
            break;
        }
    }
    std::erase_if(gradeRuns, [](const GradeRun& r) { return r.anchorPiece < 0; });
    RefreshCurrentGrade();

    for (PlacedPiece& p : pieces)
        for (Joint& j : p.joints)
            if (j.target != kNoId && doomed.count(j.target)) j = Joint{};

    std::erase_if(pieces, [](const PlacedPiece& p) { return p.selected; });

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

PlacedPiece* LayoutDocument::FindPiece(uint32_t id) { return FindById(pieces, id); }
const PlacedPiece* LayoutDocument::FindPiece(uint32_t id) const {
    return const_cast<LayoutDocument*>(this)->FindPiece(id);
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
    for (auto& p : pieces) p.selected = false;
    for (auto& s : scenery) s.selected = false;
    for (auto& l : labels) l.selected = false;
    for (auto& m : measurements) m.selected = false;
}

bool LayoutDocument::HasSelection() const {
    auto sel = [](const auto& o) { return o.selected; };
    return std::any_of(pieces.begin(), pieces.end(), sel) ||
           std::any_of(scenery.begin(), scenery.end(), sel) ||
           std::any_of(labels.begin(), labels.end(), sel) ||
           std::any_of(measurements.begin(), measurements.end(), sel);
}
