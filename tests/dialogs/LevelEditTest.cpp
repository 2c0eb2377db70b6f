// The level manager's operations: adding, editing heights and colours, removing with contents.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialogs/LevelEdit.h"

namespace {

class LevelEditTest : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }

    uint32_t Piece(int32_t level, uint32_t helix = kNoId, double grade = 0, double z = 7) {
        doc.pieces.push_back(PlacedPiece{.id = doc.TakeId(),
                                         .article = "24188",
                                         .elevation = z,
                                         .grade = grade,
                                         .colour = {},
                                         .level = level,
                                         .helixId = helix,
                                         .joints = std::vector<Joint>(2)});
        return doc.pieces.back().id;
    }
    void Join(uint32_t a, uint32_t b) {
        doc.FindPiece(a)->joints[1] = {b, 0};
        doc.FindPiece(b)->joints[0] = {a, 1};
    }
    // A helix whose inner bottom piece lies on bottomLevel and whose other pieces lie on
    // otherLevel.
    uint32_t HelixFrom(int32_t bottomLevel, int32_t otherLevel) {
        Helix h;
        h.id = doc.TakeId();
        h.bottomR1 = Piece(bottomLevel, h.id);
        h.bottomR2 = Piece(otherLevel, h.id);
        h.topR1 = Piece(otherLevel, h.id);
        h.topR2 = Piece(otherLevel, h.id);
        doc.helices.push_back(h);
        return h.id;
    }
    void Scenery(int32_t level) {
        doc.scenery.push_back(SceneryItem{.id = doc.TakeId(), .item = {}, .level = level});
    }
    bool Has(uint32_t pieceId) const { return doc.FindPiece(pieceId) != nullptr; }

    LayoutDocument doc;
};

TEST_F(LevelEditTest, AddFollowsTheHighestIdAndTheColourTable) {
    EXPECT_EQ(AddLevel(doc, "Yard"), 2u);
    doc.levels.erase(doc.levels.begin() + 1);
    doc.levels.push_back(Level{.id = 3, .outline = {}});
    EXPECT_EQ(ProposedLevelName(doc), "Level 4");
    EXPECT_EQ(AddLevel(doc, "Upper"), 4u);
    // Visible, at height 0, its track uncoloured, in the table's colour for its place.
    EXPECT_EQ(doc.levels.back(),
              (Level{.id = 4, .name = "Upper", .colour = {220, 210, 160}, .outline = {}}));
    EXPECT_EQ(doc.activeLevel, 4u);
    EXPECT_EQ(NewLevelColour(1), (Rgb{180, 200, 220}));
    EXPECT_EQ(NewLevelColour(6), (Rgb{160, 220, 220}));
    EXPECT_EQ(NewLevelColour(7), (Rgb{180, 200, 220}));
    EXPECT_EQ(AddLevel(doc, ""), 0u);  // an empty name adds nothing
    EXPECT_EQ(doc.levels.size(), 3u);
    EXPECT_EQ(doc.activeLevel, 4u);
}

TEST(LevelHeight, FormatsPerUnit) {
    EXPECT_EQ(FormatLevelHeight(25.4, 0), "25 mm");
    EXPECT_EQ(FormatLevelHeight(25.4, 1), "2.5 cm");
    EXPECT_EQ(FormatLevelHeight(25.4, 2), "1.00 in");
}

TEST_F(LevelEditTest, EditMovesFlatPiecesOutsideHelicesOnly) {
    const uint32_t flat = Piece(1);
    const uint32_t graded = Piece(1, kNoId, 2.0);
    const uint32_t other = Piece(2);
    const uint32_t helix = HelixFrom(1, 1);
    LevelEdit edit{"  Deck A \t", 80, true, {1, 2, 3}};
    ASSERT_TRUE(ApplyLevelEdit(doc, 1, edit));
    EXPECT_EQ(doc.levels[0].name, "Deck A");
    EXPECT_EQ(doc.levels[0].height, 80);
    EXPECT_TRUE(doc.levels[0].colourTrack);
    EXPECT_EQ(doc.levels[0].colour, (Rgb{1, 2, 3}));
    EXPECT_EQ(doc.FindPiece(flat)->elevation, 80);
    EXPECT_EQ(doc.FindPiece(graded)->elevation, 7);
    EXPECT_EQ(doc.FindPiece(other)->elevation, 7);
    EXPECT_EQ(doc.FindPiece(doc.FindHelix(helix)->bottomR1)->elevation, 7);
}

TEST_F(LevelEditTest, EditsKeepWhatIsLeftBlankOrUnchangedAndRefuseANegativeHeight) {
    doc.levels[0].height = 7;
    const uint32_t setApart = Piece(1);
    doc.FindPiece(setApart)->elevation = 12;
    ASSERT_TRUE(ApplyLevelEdit(doc, 1, LevelEdit{"   ", 7, false, {9, 9, 9}}));
    EXPECT_EQ(doc.levels[0].name, "Level 1") << "a blank name keeps the name";
    EXPECT_EQ(doc.levels[0].colour, (Rgb{9, 9, 9}));
    EXPECT_EQ(doc.FindPiece(setApart)->elevation, 12);
    EXPECT_FALSE(ApplyLevelEdit(doc, 42, LevelEdit{"x", 1, false, {}}));
    ASSERT_TRUE(ApplyLevelEdit(doc, 1, LevelEdit{"Renamed", 7, false, {}}));
    EXPECT_FALSE(ApplyLevelEdit(doc, 1, LevelEdit{"Below", -1, false, {}}));
    EXPECT_EQ(doc.levels[0].name, "Renamed");
    EXPECT_EQ(doc.levels[0].height, 7);
}

TEST_F(LevelEditTest, RemoveCountsAndDeletesWhatTheQuestionNames) {
    AddLevel(doc, "Upper");
    const uint32_t keep = Piece(1);
    const uint32_t gone = Piece(2);
    const uint32_t startsHere = HelixFrom(2, 1);   // goes with all its pieces
    const uint32_t startsBelow = HelixFrom(1, 2);  // stays with all its pieces
    const Helix below = *doc.FindHelix(startsBelow);
    const Helix here = *doc.FindHelix(startsHere);
    Scenery(2);
    Scenery(1);
    const LevelContents c = CountLevelContents(doc, 2);
    EXPECT_EQ(c.pieces, 1);
    EXPECT_EQ(c.scenery, 1);
    EXPECT_EQ(c.helices, 1);
    EXPECT_EQ(RemoveLevelQuestion("Upper", c),
              "Remove level \"Upper\"?\n\nThis will PERMANENTLY DELETE everything on this "
              "level:\n    \u2022 1 track piece(s)\n    \u2022 1 scenery item(s)\n    \u2022 1 "
              "helix/helices\n\nThis cannot be undone from this dialog. Are you sure?");

    ASSERT_TRUE(RemoveLevel(doc, 2));
    EXPECT_TRUE(Has(keep));
    EXPECT_FALSE(Has(gone));
    for (uint32_t id : {here.bottomR1, here.bottomR2, here.topR1, here.topR2})
        EXPECT_FALSE(Has(id));
    for (uint32_t id : {below.bottomR1, below.bottomR2, below.topR1, below.topR2})
        EXPECT_TRUE(Has(id));
    EXPECT_EQ(doc.FindHelix(startsHere), nullptr);
    EXPECT_NE(doc.FindHelix(startsBelow), nullptr);
    ASSERT_EQ(doc.scenery.size(), 1u);
    EXPECT_EQ(doc.scenery[0].level, 1);
    EXPECT_EQ(doc.levels.size(), 1u);
}

TEST_F(LevelEditTest, RemoveOpensJointsOfRemainingPiecesAndDropsOrphanGradeRuns) {
    AddLevel(doc, "Upper");
    const uint32_t a = Piece(1), b = Piece(2), c = Piece(1);
    Join(a, b);
    Join(b, c);
    doc.gradeRuns.push_back({2.0, static_cast<int32_t>(c), 1});
    doc.gradeRuns.push_back({3.0, static_cast<int32_t>(b), 1});
    doc.RefreshCurrentGrade();
    ASSERT_TRUE(RemoveLevel(doc, 2));
    EXPECT_TRUE(doc.FindPiece(a)->IsOpen(1));
    EXPECT_TRUE(doc.FindPiece(c)->IsOpen(0));
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.currentGrade.gradeDeg, 2.0);
    EXPECT_EQ(doc.currentGrade.anchorPiece, static_cast<int32_t>(c));
}

TEST_F(LevelEditTest, RemovingTheActiveOrAStaleLevelActivatesTheFirstRemaining) {
    AddLevel(doc, "Two");
    AddLevel(doc, "Three");
    ASSERT_EQ(doc.activeLevel, 3u);
    ASSERT_TRUE(RemoveLevel(doc, 1));
    EXPECT_EQ(doc.activeLevel, 3u);  // not the removed one: stays
    ASSERT_TRUE(RemoveLevel(doc, 3));
    EXPECT_EQ(doc.activeLevel, 2u);
    EXPECT_FALSE(RemoveLevel(doc, 2));  // the last level stays
    EXPECT_FALSE(RemoveLevel(doc, 99));
    EXPECT_EQ(doc.levels.size(), 1u);
    // The last visible level goes while the active one is a stale id, e.g. from a file.
    const uint32_t added = AddLevel(doc, "Again");
    doc.levels[0].visible = false;
    doc.activeLevel = 77;
    ASSERT_TRUE(RemoveLevel(doc, added));
    EXPECT_EQ(doc.activeLevel, 2u);
}

}  // namespace
