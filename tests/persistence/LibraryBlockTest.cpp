// Library block files: what the writer puts in and what the reader takes back.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileTestSupport.h"
#include "persistence/LibraryBlock.h"

namespace {

// A straight joined to a coloured, raised helix piece joined to a turnout, a house and a tree.
class BlockTest : public testing::Test {
protected:
    void SetUp() override {
        PlacedPiece a{1, "24188", 10, 0, 0, false, 0, 0, false, {}, 1, kNoId, {{}, {2, 0}}};
        PlacedPiece b{2, "24188", 198.3, 0, 15, false, 40, 2, true, {1, 2, 3}, 3, 9, {{1, 1}, {}}};
        PlacedPiece c{
            3, "24611", 386.6, 0, 15, false, 0, 0, false, {}, 1, kNoId, {{2, 1}, {}, {7, 0}}};
        doc.pieces = std::vector<PlacedPiece>{a, b, c};
        doc.scenery = {SceneryItem{4, "house", 100, 200, 90, false, 2, 0.5, 2},
                       SceneryItem{5, "tree", 0, 0, 0, false, 1, 1, 1}};
        doc.nextId = 8;
    }

    LayoutDocument doc;
    TempFolder folder;
    std::string name;
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> scenery;
};

TEST_F(BlockTest, SelectedPiecesAndSceneryAreWrittenInDocumentOrder) {
    // The seed files of the block fuzz target, worked out by hand: joints to unselected pieces
    // are kept, a block of scenery alone is possible.
    doc.pieces[1].selected = doc.pieces[2].selected = doc.scenery[0].selected = true;
    std::string path = folder.File("Yard & \"Shed\".xml");
    ASSERT_EQ(SaveBlock(doc, path, "Yard & \"Shed\""), "");
    EXPECT_EQ(ReadBytes(path), SourceFile("fuzz/corpus/block/yard.xml"));
    doc.ClearSelection();
    doc.scenery[1].selected = true;
    EXPECT_EQ(BlockToText(doc, "trees"), SourceFile("fuzz/corpus/block/trees.xml"));

    doc.ClearSelection();
    EXPECT_EQ(SaveBlock(doc, folder.File("empty.xml"), "empty"), "No pieces or scenery selected");
    EXPECT_FALSE(std::filesystem::exists(folder.File("empty.xml")));
}

TEST_F(BlockTest, ReaderTakesPoseAndJointsAndDefaultsTheRest) {
    for (auto& p : doc.pieces) p.selected = true;
    for (auto& s : doc.scenery) s.selected = true;
    std::string path = folder.File("all.xml");
    ASSERT_EQ(SaveBlock(doc, path, "All <three>"), "");
    ASSERT_EQ(LoadBlock(path, &name, &pieces, &scenery), "");
    EXPECT_EQ(name, "All <three>");
    ASSERT_EQ(pieces.size(), 3u);
    // A block lands on the base, uncoloured, outside any helix, unselected.
    const PlacedPiece landed{2, "24188", 198.3, 0, 15,    false,       0,
                             0, false,   {},    1, kNoId, {{1, 1}, {}}};
    EXPECT_EQ(pieces[1], landed);
    EXPECT_EQ(scenery, (std::vector<SceneryItem>{{4, "house", 100, 200, 90, false, 2, 0.5, 2},
                                                 {5, "tree", 0, 0, 0, false, 1, 1, 1}}));
    const std::string missing = folder.File("gone.xml");
    EXPECT_EQ(LoadBlock(missing, &name, &pieces, &scenery), "Cannot open file: " + missing);

    // Orphan joints and scenery items outside <scenery> are skipped; absent values take defaults,
    // and so do the layout's own piece attributes, which a block does not read (even when broken);
    // a known piece gets a slot per connector; joints to pieces outside the block are kept.
    ASSERT_EQ(
        LoadBlockFromText("<joint conn=\"0\" target=\"5\" tconn=\"0\"/>\n"
                          "<sceneryitem id=\"7\" item=\"hut\" x=\"1\" y=\"2\" heading=\"3\"/>\n"
                          "<piece id=\"1\" cat=\"x\" x=\"0\" y=\"0\" heading=\"0\" "
                          "z=\"high\" level=\"top\" color=\"red\">\n"
                          "<joint conn=\"3\" target=\"5\" tconn=\"1\"/>\n</piece>\n"
                          "<piece id=\"3\" cat=\"24130\" x=\"0\" y=\"0\" heading=\"0\">\n"
                          "</piece>\n<scenery>\n"
                          "<sceneryitem id=\"2\" item=\"hut\" x=\"1\" y=\"2\" heading=\"3\"/>\n",
                          &name, &pieces, &scenery),
        "");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].joints, (std::vector<Joint>{{}, {}, {}, Joint{5, 1}}));
    EXPECT_EQ(pieces[1].joints.size(), 2u);
    EXPECT_EQ(scenery, (std::vector<SceneryItem>{{2, "hut", 1, 2, 3, false, 1, 1, 1}}));
}

}  // namespace
