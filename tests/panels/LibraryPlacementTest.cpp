// Dropping a library block into a layout: shift to the origin, fresh ids, joints, one undo step.
#include <gtest/gtest.h>

#include "panels/LibraryPlacement.h"

namespace {

PlacedPiece Piece(uint32_t id, double x, double y, std::vector<Joint> joints = {}) {
    return PlacedPiece{
        .id = id, .article = "24188", .x = x, .y = y, .colour = {}, .joints = std::move(joints)};
}

SceneryItem Item(uint32_t id, double x, double y) {
    return SceneryItem{.id = id, .item = "tree_conifer", .x = x, .y = y, .selected = true};
}

// A layout of three pieces (ids 1 to 3, next id 4) that the block lands in.
class PlacementTest : public testing::Test {
protected:
    PlacementTest() {
        for (uint32_t id = 1; id <= 3; ++id) doc.pieces.push_back(Piece(id, id * 10.0, 0));
        doc.nextId = 4;
    }
    LayoutDocument doc;
};

// A block whose pieces span x 1200 to 1500 and y 300 to 800.
const std::vector<PlacedPiece> kBlock = {Piece(2, 1200, 800, {Joint{40, 1}, Joint{3, 0}}),
                                         Piece(3, 1500, 300, {Joint{2, 1}, Joint{11, 0}}),
                                         Piece(11, 1350, 550, {Joint{3, 1}, Joint{41, 0}})};

TEST_F(PlacementTest, SceneryCountsForTheCornerArrivesUnselectedAndUndoesInOneStep) {
    ASSERT_TRUE(PlaceLibraryBlock(doc, kBlock, {Item(12, 1100, 900), Item(13, 1600, 250)}));
    ASSERT_EQ(doc.scenery.size(), 2u);
    // Smallest x 1100 and smallest y 250 both come from the scenery.
    EXPECT_DOUBLE_EQ(doc.pieces[3].x, 100);
    EXPECT_DOUBLE_EQ(doc.pieces[3].y, 550);
    EXPECT_DOUBLE_EQ(doc.scenery[0].x, 0);
    EXPECT_DOUBLE_EQ(doc.scenery[0].y, 650);
    EXPECT_DOUBLE_EQ(doc.scenery[1].x, 500);
    EXPECT_DOUBLE_EQ(doc.scenery[1].y, 0);
    EXPECT_EQ(doc.scenery[0].id, 7u) << "pieces take their ids first";
    EXPECT_EQ(doc.scenery[1].id, 8u);
    EXPECT_FALSE(doc.scenery[0].selected || doc.scenery[1].selected);
    // Joints inside the block follow the new ids; joints to pieces left behind are opened.
    EXPECT_EQ(doc.pieces[3].joints, (std::vector<Joint>{Joint{}, Joint{5, 0}}));
    EXPECT_EQ(doc.pieces[4].joints, (std::vector<Joint>{Joint{4, 1}, Joint{6, 0}}));
    EXPECT_EQ(doc.pieces[5].joints, (std::vector<Joint>{Joint{5, 1}, Joint{}}));
    EXPECT_DOUBLE_EQ(doc.pieces[0].x, 10) << "the pieces already there keep their places";
    EXPECT_EQ(doc.undoStack.size(), 1u);
    doc.Undo();
    EXPECT_EQ(doc.pieces.size(), 3u);
    EXPECT_TRUE(doc.scenery.empty());
}

TEST_F(PlacementTest, SceneryOnlyFarAwayAndEmptyBlocks) {
    ASSERT_TRUE(PlaceLibraryBlock(doc, {}, {Item(1, -30, -70), Item(2, 20, 10)}));
    EXPECT_DOUBLE_EQ(doc.scenery[1].x, 50);
    EXPECT_DOUBLE_EQ(doc.scenery[1].y, 80);
    EXPECT_EQ(doc.scenery[0].id, 4u);
    // Coordinates beyond the old 1e9 start value must not stop the shift.
    ASSERT_TRUE(PlaceLibraryBlock(doc, {Piece(1, 2e9, 3e9)}, {}));
    EXPECT_DOUBLE_EQ(doc.pieces.back().x, 0);
    EXPECT_DOUBLE_EQ(doc.pieces.back().y, 0);
    const LayoutDocument before = doc;
    EXPECT_FALSE(PlaceLibraryBlock(doc, {}, {}));
    EXPECT_EQ(doc.pieces, before.pieces);
    EXPECT_EQ(doc.nextId, before.nextId);
    EXPECT_EQ(doc.undoStack.size(), 2u);
}

}  // namespace
