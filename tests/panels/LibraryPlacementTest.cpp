// Dropping a library block into a layout: shift to the origin, fresh ids, joints, one undo step.
#include <gtest/gtest.h>

#include "panels/LibraryPlacement.h"

namespace {

PlacedPiece Piece(uint32_t id, double x, double y, std::vector<Joint> joints) {
    PlacedPiece p;
    p.id = id;
    p.article = "24188";
    p.x = x;
    p.y = y;
    p.joints = std::move(joints);
    return p;
}

SceneryItem Item(uint32_t id, double x, double y) {
    SceneryItem s;
    s.id = id;
    s.item = "tree_conifer";
    s.x = x;
    s.y = y;
    s.selected = true;
    return s;
}

// A layout of three pieces (ids 1 to 3, next id 4) that the block lands in.
class PlacementTest : public testing::Test {
protected:
    void SetUp() override {
        for (uint32_t id = 1; id <= 3; ++id) doc.pieces.push_back(Piece(id, id * 10.0, 0, {}));
        doc.nextId = 4;
    }
    LayoutDocument doc;
};

// A block saved from ids 2, 3 and 11: 2-3 and 3-11 joined, 2 joined to 40 and 11 to 41, which
// stayed behind; the pieces span x 1200 to 1500 and y 300 to 800.
std::vector<PlacedPiece> SpreadBlock() {
    return {Piece(2, 1200, 800, {Joint{40, 1}, Joint{3, 0}}),
            Piece(3, 1500, 300, {Joint{2, 1}, Joint{11, 0}}),
            Piece(11, 1350, 550, {Joint{3, 1}, Joint{41, 0}})};
}

TEST_F(PlacementTest, BlockLandsAtTheOriginWithFreshIds) {
    ASSERT_TRUE(PlaceLibraryBlock(doc, SpreadBlock(), {}));
    ASSERT_EQ(doc.pieces.size(), 6u);
    const PlacedPiece& a = doc.pieces[3];
    const PlacedPiece& b = doc.pieces[4];
    const PlacedPiece& c = doc.pieces[5];
    EXPECT_EQ(a.id, 4u);
    EXPECT_EQ(b.id, 5u);
    EXPECT_EQ(c.id, 6u);
    EXPECT_EQ(doc.nextId, 7u);
    EXPECT_DOUBLE_EQ(a.x, 0);
    EXPECT_DOUBLE_EQ(a.y, 500);
    EXPECT_DOUBLE_EQ(b.x, 300);
    EXPECT_DOUBLE_EQ(b.y, 0);
    EXPECT_DOUBLE_EQ(c.x, 150);
    EXPECT_DOUBLE_EQ(c.y, 250);
    // Joints inside the block follow the new ids; joints to pieces left behind are opened.
    EXPECT_EQ(a.joints, (std::vector<Joint>{Joint{}, Joint{5, 0}}));
    EXPECT_EQ(b.joints, (std::vector<Joint>{Joint{4, 1}, Joint{6, 0}}));
    EXPECT_EQ(c.joints, (std::vector<Joint>{Joint{5, 1}, Joint{}}));
    // The pieces already in the layout are untouched, although the block reused their ids.
    EXPECT_EQ(doc.pieces[1].id, 2u);
    EXPECT_TRUE(doc.pieces[1].joints.empty());
}

TEST_F(PlacementTest, OneUndoStepTakesTheWholeBlockAway) {
    size_t before = doc.undoStack.size();
    ASSERT_TRUE(PlaceLibraryBlock(doc, SpreadBlock(), {Item(12, 1100, 900)}));
    EXPECT_EQ(doc.undoStack.size(), before + 1);
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 3u);
    EXPECT_TRUE(doc.scenery.empty());
}

TEST_F(PlacementTest, SceneryCountsForTheCornerAndArrivesUnselected) {
    ASSERT_TRUE(PlaceLibraryBlock(doc, SpreadBlock(), {Item(12, 1100, 900), Item(13, 1600, 250)}));
    ASSERT_EQ(doc.scenery.size(), 2u);
    // Smallest x 1100 (scenery), smallest y 250 (scenery).
    EXPECT_DOUBLE_EQ(doc.pieces[3].x, 100);
    EXPECT_DOUBLE_EQ(doc.pieces[3].y, 550);
    EXPECT_DOUBLE_EQ(doc.scenery[0].x, 0);
    EXPECT_DOUBLE_EQ(doc.scenery[0].y, 650);
    EXPECT_DOUBLE_EQ(doc.scenery[1].x, 500);
    EXPECT_DOUBLE_EQ(doc.scenery[1].y, 0);
    // Pieces take their ids first, then the scenery items.
    EXPECT_EQ(doc.scenery[0].id, 7u);
    EXPECT_EQ(doc.scenery[1].id, 8u);
    EXPECT_FALSE(doc.scenery[0].selected);
    EXPECT_FALSE(doc.scenery[1].selected);
}

TEST_F(PlacementTest, SceneryOnlyBlockIsPlaced) {
    ASSERT_TRUE(PlaceLibraryBlock(doc, {}, {Item(1, -30, -70), Item(2, 20, 10)}));
    ASSERT_EQ(doc.scenery.size(), 2u);
    EXPECT_DOUBLE_EQ(doc.scenery[0].x, 0);
    EXPECT_DOUBLE_EQ(doc.scenery[0].y, 0);
    EXPECT_DOUBLE_EQ(doc.scenery[1].x, 50);
    EXPECT_DOUBLE_EQ(doc.scenery[1].y, 80);
    EXPECT_EQ(doc.scenery[0].id, 4u);
}

TEST_F(PlacementTest, FarAwayBlockIsStillBroughtToTheOrigin) {
    // Coordinates beyond the old 1e9 start value must not stop the shift.
    ASSERT_TRUE(PlaceLibraryBlock(doc, {Piece(1, 2e9, 3e9, {})}, {}));
    EXPECT_DOUBLE_EQ(doc.pieces.back().x, 0);
    EXPECT_DOUBLE_EQ(doc.pieces.back().y, 0);
}

TEST_F(PlacementTest, EmptyBlockChangesNothing) {
    LayoutDocument before = doc;
    EXPECT_FALSE(PlaceLibraryBlock(doc, {}, {}));
    EXPECT_EQ(doc.pieces, before.pieces);
    EXPECT_EQ(doc.nextId, before.nextId);
    EXPECT_TRUE(doc.undoStack.empty());
}

}  // namespace
