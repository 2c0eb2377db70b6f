// Thousands of random edit steps through the canvas gestures, checking after each step that
// joints point back at each other, ids are unique and below nextId, undo restores the document
// before the step and redo the one after it, and save, load and save again give the same bytes.
// QUILLMORE_EDIT_STEPS and QUILLMORE_EDIT_SEED set the length and seed of a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "canvas/EditTransaction.h"
#include "canvas/GestureDriver.h"
#include "canvas/Interaction.h"
#include "canvas/LoosePieces.h"
#include "canvas/Snapping.h"
#include "model/GradeRuns.h"
#include "model/Tunnels.h"
#include "persistence/LayoutFile.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

long EnvNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

bool SameSnapshot(const UndoSnapshot& a, const UndoSnapshot& b) {
    return a.pieces == b.pieces && a.scenery == b.scenery && a.labels == b.labels &&
           a.measurements == b.measurements && a.tunnels == b.tunnels && a.helices == b.helices &&
           a.gradeRuns == b.gradeRuns && a.currentGrade == b.currentGrade;
}

// Ids of the pieces, tunnels and helices are unique among all and below nextId.
std::string BadId(const LayoutDocument& doc) {
    std::set<uint32_t> seen;
    std::string problem;
    auto note = [&](const auto& list, const char* kind) {
        for (const auto& o : list) {
            if (!seen.insert(o.id).second) problem = std::string(kind) + " id repeated";
            if (o.id >= doc.nextId) problem = std::string(kind) + " id not below nextId";
        }
    };
    note(doc.pieces, "piece");
    note(doc.tunnels, "tunnel");
    note(doc.helices, "helix");
    return problem;
}

class RandomEdits : public GestureDriver {
public:
    explicit RandomEdits(unsigned seed) : rng(seed) {
        for (const char* a : {"24188", "24172", "24130", "24230", "24224", "24611", "24612",
                              "24630", "74618", "2200", "24922", "24977", "24649", "24671"})
            articles.push_back(a);
        steps = {{"drop", 12, [this] { DropFree(); }},
                 {"drop on an end", 12, [this] { DropOnEnd(); }},
                 {"helix", 1, [this] { DropHelix(); }},
                 {"move", 8, [this] { MovePiece(); }},
                 {"snap move", 8, [this] { SnapMove(); }},
                 {"rotate", 4, [this] { Rotate(); }},
                 {"delete", 8, [this] { Delete(); }},
                 {"copy and paste", 4, [this] { CopyPaste(); }},
                 {"clone", 4, [this] { Clone(); }},
                 {"grade start", 3, [this] { GradeStart(); }},
                 {"climb stop", 2, [this] { ClimbStop(); }},
                 {"tunnel", 3, [this] { Tunnel(); }},
                 {"undo", 7, [this] { doc.Undo(); }},
                 {"redo", 4, [this] { doc.Redo(); }}};
        for (const Step& s : steps) totalWeight += s.weight;
    }

    struct Step {
        const char* name;
        int weight;
        std::function<void()> run;
    };

    // Runs one random step; returns its name.
    const Step& Pick() {
        // A large layout is pruned more often.
        int roll = Int(0, totalWeight - 1);
        if (doc.pieces.size() > 80 && Int(0, 2) == 0) return steps[6];  // delete
        for (const Step& s : steps) {
            if (roll < s.weight) return s;
            roll -= s.weight;
        }
        return steps.back();
    }

private:
    std::mt19937 rng;
    std::vector<std::string> articles;
    std::vector<Step> steps;
    int totalWeight = 0;

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool Chance(int percent) { return Int(0, 99) < percent; }
    Modifiers RandomMods() { return {Chance(15), Chance(15), false}; }

    const PlacedPiece* RandomPiece() {
        if (doc.pieces.empty()) return nullptr;
        return &doc.pieces[Int(0, static_cast<int>(doc.pieces.size()) - 1)];
    }
    // The window pixel in the middle of a piece's track.
    bool PieceSpot(const PlacedPiece& p, int& x, int& y) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def) return false;
        const PointMm mid = PieceMidpoint(p, *def);
        x = view.ToPixelX(mid.x);
        y = view.ToPixelY(mid.y);
        return true;
    }
    // A random piece and the window pixel in the middle of its track; null if there is none.
    const PlacedPiece* RandomSpot(int& x, int& y) {
        const PlacedPiece* p = RandomPiece();
        return p && PieceSpot(*p, x, y) ? p : nullptr;
    }
    void DropAt(int x, int y) {
        Hover(x, y);
        Press(x, y);
    }
    // An open connector of some piece other than `not`, as a position in mm.
    bool OpenEnd(uint32_t not_, PointMm& at) {
        std::vector<PointMm> ends;
        for (const PlacedPiece& p : doc.pieces) {
            const PieceDef* def = TrackCatalog::Instance().Find(p.article);
            if (p.id == not_ || !def) continue;
            for (const ConnectorPose& c : ConnectorPoses(p, *def))
                if (c.open) ends.push_back({c.x, c.y});
        }
        if (ends.empty()) return false;
        at = ends[Int(0, static_cast<int>(ends.size()) - 1)];
        return true;
    }

    void DropFree() {
        gestures.BeginPieceDrag(doc, view, articles[Int(0, articles.size() - 1)]);
        for (int turns = Int(0, 3); turns > 0; --turns) RightClick(0, 0);
        const int x = Int(0, 3000), y = Int(0, 2000);
        DropAt(x, y);
    }
    void DropOnEnd() {
        PointMm end;
        if (!OpenEnd(kNoId, end)) return DropFree();
        gestures.BeginPieceDrag(doc, view, articles[Int(0, articles.size() - 1)]);
        Keep(gestures.Wheel(doc, Chance(50) ? 120 : -120, Chance(50)));
        DropAt(view.ToPixelX(end.x) + Int(-20, 20), view.ToPixelY(end.y) + Int(-20, 20));
    }
    void DropHelix() {
        gestures.BeginHelixDrag(view, Chance(50) ? "proses_2_5_r1r2" : "proses_3_5_r2r3");
        const int x = Int(0, 3000), y = Int(0, 2000);
        DropAt(x, y);
    }
    void MovePiece() {
        int x = 0, y = 0;
        if (!RandomSpot(x, y)) return;
        const Modifiers mods = RandomMods();
        Press(x, y, mods);
        const int dx = Int(-150, 150), dy = Int(-150, 150);
        Drag(x + dx / 2, y + dy / 2, mods);
        Drag(x + dx, y + dy, mods);
        Release(x + dx, y + dy, mods);
    }
    void SnapMove() {
        int x = 0, y = 0;
        PointMm end;
        const PlacedPiece* p = RandomSpot(x, y);
        if (!p || !OpenEnd(p->id, end)) return;
        const int dx = view.ToPixelX(end.x) - view.ToPixelX(p->x) + Int(-15, 15);
        const int dy = view.ToPixelY(end.y) - view.ToPixelY(p->y) + Int(-15, 15);
        DragFromTo(x, y, x + dx, y + dy);
    }
    void Rotate() {
        int x = 0, y = 0;
        if (RandomSpot(x, y)) Click(x, y);
        const Modifiers alt{false, false, true};
        Press(Int(0, 3000), Int(0, 2000), alt);
        Drag(Int(0, 3000), Int(0, 2000), alt);
        Release(Int(0, 3000), Int(0, 2000), alt);
    }
    void Delete() {
        int x = 0, y = 0;
        if (RandomSpot(x, y) && Chance(80)) Click(x, y, RandomMods());
        answerDeleteYes = Chance(70);
        Key(CanvasKey::Delete);
    }
    void CopyPaste() {
        int x = 0, y = 0;
        if (!RandomSpot(x, y)) return;
        RightClick(x, y);
        gestures.Copy(doc);
        RightClick(Int(0, 3000), Int(0, 2000));
        if (last.menu == ContextMenu::Paste) Keep(gestures.Paste(doc, view));
    }
    void Clone() {
        int x = 0, y = 0;
        if (RandomSpot(x, y)) DoubleClick(x, y);
    }
    void GradeStart() {
        const PlacedPiece* p = RandomPiece();
        static const double kGrades[] = {-3, -1.5, 1, 2, 3.5};
        if (p) StartGrade(doc, p->id, kGrades[Int(0, 4)]);
    }
    void ClimbStop() {
        for (const GradeRun& run : doc.gradeRuns) {
            const PlacedPiece* p = doc.FindPiece(static_cast<uint32_t>(run.anchorPiece));
            int x = 0, y = 0;
            if (p && PieceSpot(*p, x, y)) {
                RightClick(x, y);
                return;
            }
        }
    }
    void Tunnel() {
        if (!doc.tunnels.empty() && Chance(40)) {
            const ::Tunnel& t = doc.tunnels[Int(0, doc.tunnels.size() - 1)];
            doc.ClearSelection();
            for (uint32_t id : t.covers)
                if (PlacedPiece* p = doc.FindPiece(id)) p->selected = true;
        } else {
            // A piece and one it is joined to: a short chain.
            const PlacedPiece* a = RandomPiece();
            const PlacedPiece* b = nullptr;
            for (const Joint& j : a ? a->joints : std::vector<Joint>{})
                if (!j.IsOpen()) b = doc.FindPiece(j.target);
            if (!b) b = RandomPiece();
            int ax = 0, ay = 0, bx = 0, by = 0;
            if (!a || !PieceSpot(*a, ax, ay) || !PieceSpot(*b, bx, by)) return;
            Click(ax, ay);
            Click(bx, by, {false, true, false});  // the chain between them
        }
        ToggleTunnel(doc);
    }
};

// Save, load and save again give the same text.
std::string RoundTripDifference(const LayoutDocument& doc) {
    const std::string first = LayoutToText(doc, "Random layout");
    LayoutDocument loaded;
    std::string name;
    const std::string error = LoadLayoutFromText(loaded, first, &name);
    if (!error.empty()) return "load failed: " + error;
    if (LayoutToText(loaded, name) != first) return "second save differs";
    return {};
}

TEST(RandomEditSteps, KeepTheDocumentConsistentAndEveryStepUndoable) {
    const long stepCount = EnvNumber("QUILLMORE_EDIT_STEPS", 3000);
    const unsigned seed = static_cast<unsigned>(EnvNumber("QUILLMORE_EDIT_SEED", 20261207));
    RandomEdits run(seed);
    LayoutDocument& doc = run.doc;
    long recordedSteps = 0;
    std::map<std::string, int> recordedBy;
    for (long step = 0; step < stepCount; ++step) {
        const RandomEdits::Step& s = run.Pick();
        SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " +
                     s.name);
        const bool history = std::string(s.name) == "undo" || std::string(s.name) == "redo";
        // Room on the undo stack so that its size counts the records of this step.
        while (doc.undoStack.size() > LayoutDocument::kUndoLimit - 10) doc.undoStack.pop_front();
        const UndoSnapshot before = doc.Snapshot();
        const size_t undoBefore = doc.undoStack.size();
        s.run();
        const UndoSnapshot after = doc.Snapshot();
        ASSERT_EQ(BrokenJoint(doc), "");
        ASSERT_EQ(BadId(doc), "");
        ASSERT_EQ(RoundTripDifference(doc), "");
        if (history) continue;
        const size_t records = doc.undoStack.size() - undoBefore;
        // A change is always recorded, and a single record always holds a change (a plain
        // click leaves the history alone). Two records may cancel out, as a drop then a delete.
        const bool changed = !SameContent(before, doc);
        if (changed) {
            ASSERT_GT(records, 0u);
        }
        if (records == 1) {
            ASSERT_TRUE(changed) << "an undo record without a change";
        }
        recordedSteps += records > 0;
        recordedBy[s.name] += records > 0;
        for (size_t k = 0; k < records; ++k) doc.Undo();
        ASSERT_TRUE(SameContent(before, doc)) << "undo did not restore the document";
        for (size_t k = 0; k < records; ++k) doc.Redo();
        ASSERT_TRUE(SameSnapshot(after, doc.Snapshot())) << "redo did not restore the document";
    }
    // The run exercised the document: most steps edited something, and every kind of edit
    // happened.
    EXPECT_GT(recordedSteps, stepCount / 3);
    if (stepCount >= 1000) {
        for (const char* kind :
             {"drop", "drop on an end", "helix", "move", "snap move", "rotate", "delete",
              "copy and paste", "clone", "grade start", "climb stop", "tunnel"})
            EXPECT_GT(recordedBy[kind], 0) << kind;
    }
}

}  // namespace
