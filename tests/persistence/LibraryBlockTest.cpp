// Library block files: what the writer puts in, what the reader takes back, refusals.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileTestSupport.h"
#include "persistence/LibraryBlock.h"

namespace {

// Two joined straights and a loose one, a house and a tree; some of them selected per test.
class BlockTest : public testing::Test {
protected:
    void SetUp() override {
        PlacedPiece a;
        a.id = 1;
        a.article = "24188";
        a.x = 10;
        a.joints = {Joint{}, Joint{2, 0}};
        PlacedPiece b;
        b.id = 2;
        b.article = "24188";
        b.x = 198.3;
        b.heading = 15;
        b.elevation = 40;
        b.grade = 2;
        b.level = 3;
        b.hasColour = true;
        b.colour = {1, 2, 3};
        b.helixId = 9;
        b.joints = {Joint{1, 1}, Joint{}};
        PlacedPiece c;
        c.id = 3;
        c.article = "24130";
        c.y = -50;
        doc.pieces = {a, b, c};
        doc.scenery.push_back(SceneryItem{4, "house", 100, 200, 90, false, 2, 0.5, 2});
        doc.scenery.push_back(SceneryItem{5, "tree", 0, 0, 0, false, 1, 1, 1});
        doc.nextId = 6;
    }

    std::string Load(const std::string& text) {
        return LoadBlockFromText(text, &name, &pieces, &scenery);
    }

    LayoutDocument doc;
    TempFolder folder;
    std::string name;
    std::vector<PlacedPiece> pieces;
    std::vector<SceneryItem> scenery;
};

TEST_F(BlockTest, SelectedPiecesAndSceneryAreWrittenInDocumentOrder) {
    doc.pieces[1].selected = true;
    doc.scenery[0].selected = true;
    const char* expected =
        R"(<?xml version="1.0" encoding="UTF-8"?>
<block name="Yard &amp; &quot;Shed&quot;" version="1">
  <piece id="2" cat="24188" x="198.3000" y="0.0000" heading="15.0000" z="40.0000" grade="2.0000" level="3" helix="9" sel="1" color="66051">
    <joint conn="0" target="1" tconn="1"/>
  </piece>
  <scenery>
    <sceneryitem id="4" item="house" x="100.0000" y="200.0000" heading="90.0000" scalex="2.0000" scaley="0.5000" level="2" sel="0"/>
  </scenery>
</block>
)";
    std::string path = folder.File("Yard & \"Shed\".xml");
    ASSERT_EQ(SaveBlock(doc, path, "Yard & \"Shed\""), "");
    EXPECT_EQ(ReadBytes(path), expected) << "the joint to the unselected piece 1 is kept";
}

TEST_F(BlockTest, OnlyPiecesSelectedWritesNoSceneryLines) {
    doc.pieces[0].selected = true;
    std::string text = BlockToText(doc, "b");
    EXPECT_EQ(text.find("scenery"), std::string::npos);
    EXPECT_NE(text.find("<piece id=\"1\""), std::string::npos);
}

TEST_F(BlockTest, OnlySceneryCanMakeABlock) {
    doc.scenery[1].selected = true;
    EXPECT_EQ(
        BlockToText(doc, "trees"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<block name=\"trees\" version=\"1\">\n"
        "  <scenery>\n"
        "    <sceneryitem id=\"5\" item=\"tree\" x=\"0.0000\" y=\"0.0000\" heading=\"0.0000\" "
        "scalex=\"1.0000\" scaley=\"1.0000\" level=\"1\" sel=\"0\"/>\n"
        "  </scenery>\n"
        "</block>\n");
}

TEST_F(BlockTest, NothingSelectedWritesNothing) {
    std::string path = folder.File("empty.xml");
    EXPECT_EQ(SaveBlock(doc, path, "empty"), "No pieces or scenery selected");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(BlockTest, ReaderTakesPoseAndJointsAndDefaultsTheRest) {
    for (auto& p : doc.pieces) p.selected = true;
    for (auto& s : doc.scenery) s.selected = true;
    std::string path = folder.File("all.xml");
    ASSERT_EQ(SaveBlock(doc, path, "All <three>"), "");
    ASSERT_EQ(LoadBlock(path, &name, &pieces, &scenery), "");

    EXPECT_EQ(name, "All <three>");
    ASSERT_EQ(pieces.size(), 3u);
    const PlacedPiece& b = pieces[1];
    EXPECT_EQ(b.id, 2u);
    EXPECT_EQ(b.article, "24188");
    EXPECT_EQ(b.x, 198.3);
    EXPECT_EQ(b.heading, 15.0);
    EXPECT_EQ(b.elevation, 0.0) << "a block lands on the base";
    EXPECT_EQ(b.grade, 0.0);
    EXPECT_EQ(b.level, 1);
    EXPECT_FALSE(b.hasColour);
    EXPECT_EQ(b.helixId, kNoId);
    EXPECT_FALSE(b.selected);
    EXPECT_EQ(b.joints, (std::vector<Joint>{Joint{1, 1}, Joint{}}));
    EXPECT_EQ(pieces[2].joints.size(), 2u) << "open slots for every connector";

    ASSERT_EQ(scenery.size(), 2u);
    EXPECT_EQ(scenery[0], (SceneryItem{4, "house", 100, 200, 90, false, 2, 0.5, 2}));
    EXPECT_FALSE(scenery[1].selected);
}

TEST_F(BlockTest, AbsentScaleAndLevelOfSceneryTakeDefaults) {
    ASSERT_EQ(Load("<block name=\"x\" version=\"1\">\n<scenery>\n<sceneryitem id=\"1\" "
                   "item=\"hut\" x=\"1\" y=\"2\" heading=\"3\"/>\n</scenery>\n</block>\n"),
              "");
    ASSERT_EQ(scenery.size(), 1u);
    EXPECT_EQ(scenery[0].scaleX, 1.0);
    EXPECT_EQ(scenery[0].scaleY, 1.0);
    EXPECT_EQ(scenery[0].level, 1);
}

TEST_F(BlockTest, JointBeforeAnyPieceIsSkippedAndLaterJointsGrowSlots) {
    ASSERT_EQ(Load("<joint conn=\"0\" target=\"5\" tconn=\"0\"/>\n"
                   "<piece id=\"1\" cat=\"x\" x=\"0\" y=\"0\" heading=\"0\">\n"
                   "<joint conn=\"3\" target=\"5\" tconn=\"1\"/>\n</piece>\n"),
              "");
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_EQ(pieces[0].joints.size(), 4u);
    EXPECT_EQ(pieces[0].joints[3], (Joint{5, 1})) << "joints to pieces outside are kept";
    EXPECT_TRUE(pieces[0].joints[0].IsOpen());
}

TEST_F(BlockTest, SceneryItemOutsideSceneryBlockIsNotRead) {
    ASSERT_EQ(Load("<sceneryitem id=\"1\" item=\"hut\" x=\"1\" y=\"2\" heading=\"3\"/>\n"), "");
    EXPECT_TRUE(scenery.empty());
}

struct BadBlock {
    const char* what;
    const char* text;
    const char* error;
};

class RefusedBlock : public BlockTest, public testing::WithParamInterface<BadBlock> {};

TEST_P(RefusedBlock, NamesTheLineAndLeavesTheOutputs) {
    name = "before";
    pieces.assign(2, PlacedPiece{});
    scenery.assign(1, SceneryItem{});
    EXPECT_EQ(Load(GetParam().text), GetParam().error);
    EXPECT_EQ(name, "before");
    EXPECT_EQ(pieces.size(), 2u);
    EXPECT_EQ(scenery.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedBlock,
    testing::Values(
        BadBlock{"PieceWithoutId",
                 "<block name=\"b\">\n<piece cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n",
                 "Line 2: missing id in <piece>"},
        BadBlock{"PieceWordForY", "<piece id=\"1\" cat=\"a\" x=\"0\" y=\"up\" heading=\"0\">\n",
                 "Line 1: y in <piece> is not a number"},
        BadBlock{"ConnTooLarge",
                 "<piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n"
                 "<joint conn=\"100000000\" target=\"2\" tconn=\"0\"/>\n",
                 "Line 2: conn in <joint> is out of range"},
        BadBlock{"PieceAndSceneryShareAnId",
                 "<piece id=\"1\" cat=\"a\" x=\"0\" y=\"0\" heading=\"0\">\n</piece>\n<scenery>\n"
                 "<sceneryitem id=\"1\" item=\"s\" x=\"0\" y=\"0\" heading=\"0\"/>\n",
                 "Line 4: id 1 is used twice"},
        BadBlock{"SceneryScaleNotANumber",
                 "<scenery>\n<sceneryitem id=\"1\" item=\"s\" x=\"0\" y=\"0\" heading=\"0\" "
                 "scalex=\"big\"/>\n",
                 "Line 2: scalex in <sceneryitem> is not a number"}),
    [](const testing::TestParamInfo<BadBlock>& info) { return std::string(info.param.what); });

TEST_F(BlockTest, MissingFileReportsItsPath) {
    std::string path = folder.File("gone.xml");
    EXPECT_EQ(LoadBlock(path, &name, &pieces, &scenery), "Cannot open file: " + path);
}

}  // namespace
