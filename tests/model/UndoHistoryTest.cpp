// Undo and redo: the 50-snapshot limit, what snapshots hold and what they leave alone.
#include <gtest/gtest.h>

#include "model/LayoutDocument.h"

namespace {

PlacedPiece Straight(double x) {
    PlacedPiece p;
    p.article = "24188";
    p.x = x;
    p.joints.resize(2);
    return p;
}

TEST(UndoHistory, KeepsTheNewestFiftySnapshots) {
    LayoutDocument doc;
    for (int i = 0; i < 60; ++i) doc.AddPiece(Straight(i));
    EXPECT_EQ(doc.undoStack.size(), 50u);
    int undos = 0;
    while (doc.CanUndo()) {
        doc.Undo();
        ++undos;
    }
    EXPECT_EQ(undos, 50);
    EXPECT_EQ(doc.pieces.size(), 10u);
    doc.Undo();  // the 51st does nothing
    EXPECT_EQ(doc.pieces.size(), 10u);
    EXPECT_EQ(doc.redoStack.size(), 50u);
}

TEST(UndoHistory, EditAfterUndoEmptiesRedo) {
    LayoutDocument doc;
    doc.AddPiece(Straight(0));
    doc.AddPiece(Straight(1));
    doc.Undo();
    EXPECT_TRUE(doc.CanRedo());
    doc.AddPiece(Straight(2));
    EXPECT_FALSE(doc.CanRedo());
}

TEST(UndoHistory, UndoRedoRestoresPiecesWithJointsAndSelection) {
    LayoutDocument doc;
    uint32_t a = doc.AddPiece(Straight(0));
    uint32_t b = doc.AddPiece(Straight(188.3));
    doc.FindPiece(a)->joints[1] = {b, 0};
    doc.FindPiece(b)->joints[0] = {a, 1};
    doc.FindPiece(b)->selected = true;
    doc.gradeRuns.push_back({2.0, static_cast<int32_t>(b), 1});
    doc.RefreshCurrentGrade();
    const std::vector<PlacedPiece> before = doc.pieces;
    const CurrentGrade gradeBefore = doc.currentGrade;

    doc.DeleteSelected();
    EXPECT_TRUE(doc.FindPiece(a)->joints[1].IsOpen());
    doc.Undo();
    EXPECT_EQ(doc.pieces, before);
    EXPECT_EQ(doc.currentGrade, gradeBefore);
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    doc.Redo();
    EXPECT_EQ(doc.pieces.size(), 1u);
    EXPECT_TRUE(doc.pieces[0].joints[1].IsOpen());
    doc.Undo();
    EXPECT_EQ(doc.pieces, before);
}

TEST(UndoHistory, LevelsBaseboardAndViewSettingsAreNotInSnapshots) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.AddPiece(Straight(0));
    doc.baseboard = {{0, 0}, {100, 0}, {100, 100}};
    doc.levels[0].name = "Deck";
    doc.units = 2;
    doc.activeLevel = 7;
    doc.Undo();
    EXPECT_TRUE(doc.pieces.empty());
    EXPECT_EQ(doc.baseboard.size(), 3u);
    EXPECT_EQ(doc.levels[0].name, "Deck");
    EXPECT_EQ(doc.units, 2);
    EXPECT_EQ(doc.activeLevel, 7u);
    EXPECT_EQ(doc.AddPiece(Straight(1)), 2u) << "a piece placed after undo gets a new id";
}

TEST(UndoHistory, UndoAndRedoOnEmptyStacksDoNothing) {
    LayoutDocument doc;
    doc.Undo();
    doc.Redo();
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_TRUE(doc.redoStack.empty());
}

TEST(UndoHistory, EveryKindOfObjectComesBack) {
    LayoutDocument doc;
    doc.scenery.push_back({1, "platform", 1, 2, 3, false, 1, 1, 1});
    doc.labels.push_back({2, "L", 0, 0, false});
    doc.measurements.push_back({3, 0, 0, 5, 5, 1, 1, false});
    doc.tunnels.push_back({4, 1, 1, 5, 6, {5, 6}});
    doc.helices.push_back({7, 0, 0, 0, "proses_2_5_r1r2", 8, 9, 10, 11});
    LayoutDocument copy = doc;
    doc.PushUndo();
    doc.scenery.clear();
    doc.labels.clear();
    doc.measurements.clear();
    doc.tunnels.clear();
    doc.helices.clear();
    doc.Undo();
    EXPECT_EQ(doc.scenery, copy.scenery);
    EXPECT_EQ(doc.labels, copy.labels);
    EXPECT_EQ(doc.measurements, copy.measurements);
    EXPECT_EQ(doc.tunnels, copy.tunnels);
    EXPECT_EQ(doc.helices, copy.helices);
}
}  // namespace
