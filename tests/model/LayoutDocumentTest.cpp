// Document operations and undo: ids, deletion with joints, run re-anchoring, helices, snapshots.
#include <gtest/gtest.h>

#include "model/LayoutDocument.h"
#include "model/TrackBuilder.h"

namespace {

// Four straights joined end to end (connector 1 of each to connector 0 of the next).
class ChainDoc : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        ids = b.Line("24188", 4);
    }
    void Delete(std::initializer_list<uint32_t> which) {
        for (uint32_t id : which) doc.FindPiece(id)->selected = true;
        doc.DeleteSelected();
    }
    GradeRun Run(double deg, uint32_t piece, uint32_t conn = 1) {
        return {deg, static_cast<int32_t>(piece), conn};
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
    std::vector<uint32_t> ids;
};

TEST_F(ChainDoc, DeletingAMiddlePieceOpensBothNeighboursAndIdsAreNeverReused) {
    EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2, 3, 4}));
    Delete({ids[1]});
    ASSERT_EQ(doc.pieces.size(), 3u);
    EXPECT_EQ(doc.FindPiece(ids[1]), nullptr);
    EXPECT_TRUE(doc.FindPiece(ids[0])->joints[1].IsOpen());
    EXPECT_TRUE(doc.FindPiece(ids[2])->joints[0].IsOpen());
    EXPECT_EQ(doc.FindPiece(ids[2])->joints[1], (Joint{ids[3], 0}));
    EXPECT_EQ(doc.pieces[1].id, ids[2]) << "order of the rest is kept";
    Delete({ids[3]});
    EXPECT_EQ(b.Place("24188"), 5u);
}

// The run moves to the first piece in list order joined to the deleted anchor: to that piece's
// connector 0, or to its connector 1 when it was joined by connector 0.
TEST_F(ChainDoc, DeletedAnchorMovesToTheFirstJoinedSurvivor) {
    const struct {
        int anchor, survivor;
        uint32_t conn;
    } cases[] = {{2, 1, 0}, {0, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.anchor);
        doc.gradeRuns = {Run(2.5, ids[c.anchor])};
        doc.RefreshCurrentGrade();
        Delete({ids[c.anchor]});
        EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{Run(2.5, ids[c.survivor], c.conn)}));
        EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 2.5, static_cast<int32_t>(ids[c.survivor]),
                                                  static_cast<int32_t>(c.conn)}));
        doc.Undo();
    }
}

TEST_F(ChainDoc, RunWithoutJoinedSurvivorDisappearsAndCurrentGradeFollowsTheLastRun) {
    const uint32_t lone = b.Place("24188");
    doc.gradeRuns = {Run(1.5, ids[3]), Run(3.0, lone)};
    doc.RefreshCurrentGrade();
    Delete({lone});
    EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{Run(1.5, ids[3])}));
    EXPECT_DOUBLE_EQ(doc.currentGrade.gradeDeg, 1.5);
    Delete({ids[0], ids[1], ids[2], ids[3]});
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{false, 0, -1, 1}));
}

TEST_F(ChainDoc, DeletingAnEndPieceOfAHelixRemovesOnlyThatHelixRecord) {
    Helix h{doc.TakeId(), 0, 0, 0, "proses_2_5_r1r2", ids[0], ids[1], ids[2], ids[3]};
    Helix other{doc.TakeId(), 0, 0, 0, "proses_2_5_r1r2", 999, 999, 999, 999};
    doc.helices = {h, other};
    doc.tunnels.push_back(Tunnel{doc.TakeId(), 1, 2, 3, 4, {1}});
    Delete({ids[3]});
    EXPECT_EQ(doc.helices, (std::vector<Helix>{other}));
    EXPECT_EQ(doc.pieces.size(), 3u);
    EXPECT_EQ(doc.tunnels.size(), 1u) << "tunnels go only through the tunnel tool";
}

TEST_F(ChainDoc, UndoOfNewRestoresPiecesWithJointsAndAllObjectsWithLevelsAndBaseboard) {
    doc.FindPiece(ids[1])->selected = true;
    doc.gradeRuns = {Run(2.0, ids[1])};
    doc.labels.push_back({doc.TakeId(), "L", 0, 0, false});
    doc.RefreshCurrentGrade();
    const LayoutDocument before = doc;

    doc.baseboard = {{0, 0}, {100, 0}, {100, 100}};
    doc.shapeWidth2 = 77;
    doc.levels[0].name = "Deck";
    doc.levels.push_back(Level{2, "Upper", false, 90, true, {1, 2, 3}, {}});
    doc.activeLevel = 2;
    const LayoutDocument beforeNew = doc;
    doc.Clear();  // New: the caller then drops the baseboard and levels
    doc.baseboard.clear();
    doc.levels = {Level{}};
    doc.activeLevel = 1;
    EXPECT_TRUE(doc.pieces.empty() && doc.labels.empty() && !doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.nextId, 1u);
    doc.Undo();
    EXPECT_EQ(doc.pieces, before.pieces);
    EXPECT_EQ(doc.labels, before.labels);
    EXPECT_EQ(doc.gradeRuns, before.gradeRuns);
    EXPECT_EQ(doc.currentGrade, before.currentGrade);
    EXPECT_EQ(doc.baseboard, beforeNew.baseboard);
    EXPECT_EQ(doc.shapeWidth2, 77);
    EXPECT_EQ(doc.levels, beforeNew.levels);
    EXPECT_EQ(doc.activeLevel, 2u);
    EXPECT_EQ(doc.nextId, before.nextId) << "ids brought back by undo are never handed out again";
}

TEST(UndoHistory, KeepsTheNewestFiftySnapshotsAndClearHistoryForgetsBothStacks) {
    LayoutDocument doc;
    for (int i = 0; i < 60; ++i) doc.AddPiece(PlacedPiece{});
    while (doc.CanUndo()) doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 10u);
    EXPECT_EQ(doc.AddPiece(PlacedPiece{}), 61u) << "ids taken before undo are not reused";
    EXPECT_FALSE(doc.CanRedo()) << "an edit empties redo";

    doc.AddPiece(PlacedPiece{});
    doc.Undo();
    ASSERT_TRUE(doc.CanUndo() && doc.CanRedo());
    doc.ClearHistory();
    EXPECT_FALSE(doc.CanUndo() || doc.CanRedo());
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 11u) << "the layout stays";
    EXPECT_EQ(doc.AddPiece(PlacedPiece{}), 63u) << "and so does the id counter";
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 11u) << "edits after the reset are undoable";
}

// The saved layout is found again in the history by its revision: undo and redo return to it, and
// a state reached by a new edit after undo never carries it (nor any other document's).
TEST(UndoHistory, RevisionsNameEachStateOfTheHistory) {
    LayoutDocument doc;
    doc.AddPiece(PlacedPiece{});
    const uint64_t saved = doc.Revision();
    doc.AddPiece(PlacedPiece{});
    const uint64_t second = doc.Revision();
    EXPECT_NE(second, saved);
    doc.Undo();
    EXPECT_EQ(doc.Revision(), saved);
    doc.Undo();
    const uint64_t first = doc.Revision();
    doc.Redo();
    EXPECT_EQ(doc.Revision(), saved);
    doc.Redo();
    EXPECT_EQ(doc.Revision(), second);
    doc.Undo();
    doc.Undo();
    doc.AddPiece(PlacedPiece{});  // a new branch from the state before the saved one
    for (uint64_t old : {first, saved, second}) EXPECT_NE(doc.Revision(), old);
    doc.Undo();
    EXPECT_EQ(doc.Revision(), first);
    LayoutDocument other;
    other.AddPiece(PlacedPiece{});
    for (uint64_t old : {first, saved, second}) EXPECT_NE(other.Revision(), old);
}

}  // namespace
