// Document operations: ids, deletion with joints, grade-run re-anchoring and helices, New.
#include <gtest/gtest.h>

#include "model/LayoutDocument.h"

namespace {

// A chain of straights a-b-c-d joined end to end (connector 1 of each to connector 0 of the next).
class ChainDoc : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        for (int i = 0; i < 4; ++i) {
            PlacedPiece p;
            p.article = "24188";
            p.x = 188.3 * i;
            p.joints.resize(2);
            ids.push_back(doc.AddPiece(p));
        }
        for (int i = 0; i + 1 < 4; ++i) Join(ids[i], 1, ids[i + 1], 0);
    }
    void Join(uint32_t a, uint32_t ca, uint32_t b, uint32_t cb) {
        doc.FindPiece(a)->joints[ca] = {b, cb};
        doc.FindPiece(b)->joints[cb] = {a, ca};
    }
    void Select(uint32_t id) { doc.FindPiece(id)->selected = true; }

    LayoutDocument doc;
    std::vector<uint32_t> ids;
};

TEST_F(ChainDoc, IdsComeFromOneGrowingCounter) {
    EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(doc.nextId, 5u);
    Select(ids[3]);
    doc.DeleteSelected();
    PlacedPiece p;
    EXPECT_EQ(doc.AddPiece(p), 5u) << "deleted ids are never reused";
}

TEST_F(ChainDoc, DeletingAMiddlePieceOpensBothNeighbours) {
    Select(ids[1]);
    doc.DeleteSelected();
    ASSERT_EQ(doc.pieces.size(), 3u);
    EXPECT_EQ(doc.FindPiece(ids[1]), nullptr);
    EXPECT_TRUE(doc.FindPiece(ids[0])->joints[1].IsOpen());
    EXPECT_TRUE(doc.FindPiece(ids[2])->joints[0].IsOpen());
    EXPECT_EQ(doc.FindPiece(ids[2])->joints[1], (Joint{ids[3], 0}));
    EXPECT_EQ(doc.pieces[0].id, ids[0]);
    EXPECT_EQ(doc.pieces[1].id, ids[2]) << "order of the rest is kept";
}

TEST_F(ChainDoc, DeletedAnchorMovesToTheFirstJoinedSurvivor) {
    doc.gradeRuns.push_back({2.5, static_cast<int32_t>(ids[2]), 1});
    doc.RefreshCurrentGrade();
    Select(ids[2]);
    doc.DeleteSelected();
    // ids[1] is the first piece in list order joined to the deleted one, at its connector 1.
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, static_cast<int32_t>(ids[1]));
    EXPECT_EQ(doc.gradeRuns[0].anchorConn, 0u);
    EXPECT_TRUE(doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.currentGrade.anchorPiece, static_cast<int32_t>(ids[1]));
    EXPECT_EQ(doc.currentGrade.anchorConn, 0);
}

TEST_F(ChainDoc, AnchorJoinedAtConnectorZeroTakesConnectorOne) {
    doc.gradeRuns.push_back({1.0, static_cast<int32_t>(ids[0]), 1});
    Select(ids[0]);
    doc.DeleteSelected();
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, static_cast<int32_t>(ids[1]));
    EXPECT_EQ(doc.gradeRuns[0].anchorConn, 1u);
}

TEST_F(ChainDoc, RunWithoutJoinedSurvivorDisappearsAndCurrentGradeFollowsTheLastRun) {
    PlacedPiece lone;
    lone.joints.resize(2);
    const uint32_t loneId = doc.AddPiece(lone);
    doc.gradeRuns.push_back({1.5, static_cast<int32_t>(ids[3]), 1});
    doc.gradeRuns.push_back({3.0, static_cast<int32_t>(loneId), 1});
    doc.RefreshCurrentGrade();
    EXPECT_DOUBLE_EQ(doc.currentGrade.gradeDeg, 3.0);
    Select(loneId);
    doc.DeleteSelected();
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_DOUBLE_EQ(doc.currentGrade.gradeDeg, 1.5);

    for (uint32_t id : ids) Select(id);
    doc.DeleteSelected();
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_EQ(doc.currentGrade, CurrentGrade{});
    EXPECT_EQ(doc.currentGrade.anchorPiece, -1);
    EXPECT_EQ(doc.currentGrade.anchorConn, 1);
}

TEST_F(ChainDoc, DeletingAnyEndPieceOfAHelixRemovesTheHelixRecordOnly) {
    Helix h;
    h.id = doc.TakeId();
    h.bottomR1 = ids[0];
    h.bottomR2 = ids[1];
    h.topR1 = ids[2];
    h.topR2 = ids[3];
    doc.helices.push_back(h);
    Helix other = h;
    other.id = doc.TakeId();
    other.bottomR1 = other.bottomR2 = other.topR1 = other.topR2 = 999;
    doc.helices.push_back(other);
    Select(ids[3]);
    doc.DeleteSelected();
    ASSERT_EQ(doc.helices.size(), 1u);
    EXPECT_EQ(doc.helices[0].id, other.id);
    EXPECT_EQ(doc.pieces.size(), 3u);
}

TEST_F(ChainDoc, DeleteRemovesSelectedSceneryLabelsAndMeasurementsButNotTunnels) {
    doc.scenery.push_back({doc.TakeId(), "platform", 0, 0, 0, true, 1, 1, 1});
    doc.scenery.push_back({doc.TakeId(), "platform", 0, 0, 0, false, 1, 1, 1});
    doc.labels.push_back({doc.TakeId(), "a", 0, 0, true});
    doc.measurements.push_back({doc.TakeId(), 0, 0, 1, 1, 0, 0, true});
    doc.tunnels.push_back(Tunnel{doc.TakeId(), 1, 2, 3, 4, {1}});
    doc.DeleteSelected();
    EXPECT_EQ(doc.scenery.size(), 1u);
    EXPECT_TRUE(doc.labels.empty());
    EXPECT_TRUE(doc.measurements.empty());
    EXPECT_EQ(doc.tunnels.size(), 1u);
    EXPECT_EQ(doc.pieces.size(), 4u);
}

TEST_F(ChainDoc, ClearResetsIdsAndIsUndoable) {
    doc.gradeRuns.push_back({2.0, static_cast<int32_t>(ids[0]), 1});
    doc.RefreshCurrentGrade();
    doc.labels.push_back({doc.TakeId(), "x", 1, 2, false});
    doc.baseboard = {{0, 0}, {10, 0}, {10, 10}};
    doc.Clear();
    EXPECT_TRUE(doc.pieces.empty());
    EXPECT_TRUE(doc.labels.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.nextId, 1u);
    EXPECT_EQ(doc.baseboard.size(), 3u) << "the baseboard is the New command's business";
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 4u);
    EXPECT_EQ(doc.labels.size(), 1u);
    EXPECT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_TRUE(doc.currentGrade.hasGrade);
    EXPECT_EQ(doc.nextId, 1u) << "nextId is not part of a snapshot";
}

TEST(LayoutDocument, StartsEmptyWithDocumentedDefaults) {
    LayoutDocument doc;
    EXPECT_EQ(doc.nextId, 1u);
    EXPECT_EQ(doc.activeLevel, 1u);
    EXPECT_TRUE(doc.levels.empty());
    EXPECT_TRUE(doc.snapOn && doc.gridShown && doc.labelsShown && doc.baseboardShown);
    EXPECT_EQ(doc.gridSpacing, 32);
    EXPECT_EQ(doc.shapeWidth, 2400);
    EXPECT_EQ(doc.shapeHeight, 1200);
    EXPECT_FALSE(doc.CanUndo());
    doc.EnsureDefaultLevel();
    doc.EnsureDefaultLevel();
    ASSERT_EQ(doc.levels.size(), 1u);
    const Level& l = doc.levels[0];
    EXPECT_EQ(l.id, 1u);
    EXPECT_EQ(l.name, "Level 1");
    EXPECT_TRUE(l.visible);
    EXPECT_FALSE(l.colourTrack);
    EXPECT_EQ(l.colour, (Rgb{180, 200, 220}));
}

TEST(LayoutDocument, OperationsOnMissingIdsDoNothing) {
    LayoutDocument doc;
    EXPECT_EQ(doc.FindPiece(3), nullptr);
    EXPECT_EQ(doc.FindHelix(kNoId), nullptr);
    doc.DeleteSelected();  // nothing selected
    EXPECT_TRUE(doc.pieces.empty());
    EXPECT_EQ(doc.undoStack.size(), 1u);
}
}  // namespace
