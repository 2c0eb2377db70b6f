// The properties panel's views and edits, without a window.
#include <gtest/gtest.h>

#include <algorithm>

#include "panels/DataTable.h"
#include "panels/PropertiesLogic.h"
#include "panels/TallyTestSupport.h"
#include "support/DocBuilders.h"

namespace {

TEST(PropertiesTexts, GradeValueAndWarning) {
    const auto table = ReadDataTable("grade_texts.tsv");
    ASSERT_EQ(table.size(), 9u);
    for (const auto& row : table) EXPECT_EQ(GradeValueText(std::stod(row[0])), row[1]) << row[0];
    // Beyond 6 degrees either way.
    EXPECT_EQ(GradeWarningText(6.0), "");
    EXPECT_EQ(GradeWarningText(-6.0), "");
    EXPECT_EQ(GradeWarningText(6.04), "WARNING: Grade 6.0 deg exceeds 6 deg max!");
    EXPECT_EQ(GradeWarningText(-8.0), "WARNING: Grade 8.0 deg exceeds 6 deg max!");
}

TEST(PropertiesTexts, HeightEntryShowsAndParsesTheDisplayUnit) {
    EXPECT_EQ(FormatHeightEntry(254, 1), "25.40");
    EXPECT_EQ(FormatHeightEntry(12.345, 0), "12.3");
    const auto table = ReadDataTable("height_entries.tsv");
    ASSERT_EQ(table.size(), 17u);
    for (const auto& row : table) {
        double mm = -12345;  // a refused entry must leave the value alone
        const bool ok = row[2] != "refused";
        EXPECT_EQ(ParseHeightEntry(row[0], std::stoi(row[1]), &mm), ok) << row[0];
        EXPECT_NEAR(mm, ok ? std::stod(row[2]) : -12345, 1e-9) << row[0];
    }
}

class PropertiesLogicTest : public testing::Test {
protected:
    PropertiesLogicTest() {
        doc.EnsureDefaultLevel();
        doc.levels.push_back(Level{.id = 2, .height = 100, .outline = {}});
    }
    uint32_t Place(const char* article, bool selected = true) {
        const uint32_t id = LayPiece(doc, 0, 0, 1, article);
        doc.FindPiece(id)->selected = selected;
        doc.FindPiece(id)->joints.resize(2);
        return id;
    }
    void Join(uint32_t a, uint32_t connA, uint32_t b, uint32_t connB) {
        doc.FindPiece(a)->joints.resize(std::max<size_t>(2, connA + 1));
        doc.FindPiece(b)->joints.resize(std::max<size_t>(2, connB + 1));
        doc.FindPiece(a)->joints[connA] = Joint{b, connB};
        doc.FindPiece(b)->joints[connB] = Joint{a, connA};
    }
    double Height(uint32_t id) { return doc.FindPiece(id)->elevation; }
    LayoutDocument doc;
};

TEST_F(PropertiesLogicTest, RunViewNeedsJointsStraightsAndNoHelixTrack) {
    const uint32_t a = Place("24188");
    const uint32_t b = Place("24188");
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Several) << "not joined";
    Join(a, 1, b, 0);
    doc.units = 2;
    EXPECT_EQ(BuildSelectionView(doc).info, "2 pieces  |  14.83 in");  // 376.6 / 25.4 = 14.827
    const uint32_t curve = Place("24130");
    Join(b, 1, curve, 0);
    EXPECT_EQ(BuildSelectionView(doc).header, "3 pieces selected");
    doc.FindPiece(curve)->selected = false;
    doc.FindPiece(b)->helixId = 77;  // helix track never forms a run
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Several);
    doc.ClearSelection();
    Place("99999");  // unknown to the catalog: nothing stale is shown
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Empty);
    doc.FindPiece(a)->selected = true;
    EXPECT_NE(BuildSelectionView(doc).info.find("System: mixed"), std::string::npos)
        << "a piece the catalog does not know is not of the others' system";
}

TEST_F(PropertiesLogicTest, EmptyViewNamesTheLayoutUnitInItsHeightLabel) {
    doc.units = 1;
    const SelectionView empty = BuildSelectionView(doc);
    EXPECT_EQ(empty.kind, SelectionViewKind::Empty);
    EXPECT_EQ(empty.heightLabel, "Height (cm):");
    EXPECT_EQ(BuildPieceView(doc, 4242).heightLabel, "Height (cm):") << "a vanished piece";
}

TEST_F(PropertiesLogicTest, OrderRunStartsAtAnEndAndListsEveryPieceOnce) {
    const uint32_t a = Place("24188"), b = Place("24188"), c = Place("24188"), d = Place("24188");
    Join(c, 1, a, 0);
    Join(a, 1, d, 0);
    Join(d, 1, b, 0);
    EXPECT_EQ(OrderRun(doc, {a, b, c, d}), (std::vector<uint32_t>{b, d, a, c}));
    Join(b, 1, c, 0);  // a closed ring has no end: the walk starts at the first piece
    EXPECT_EQ(OrderRun(doc, {a, b, c, d}), (std::vector<uint32_t>{a, c, b, d}));
}

TEST_F(PropertiesLogicTest, HelixAndSceneryViews) {
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");
    for (PlacedPiece& p : doc.pieces) p.selected = true;
    SelectionView view = BuildSelectionView(doc);
    ASSERT_EQ(view.kind, SelectionViewKind::Helix);
    EXPECT_EQ(view.helixId, doc.helices[0].id);
    EXPECT_EQ(view.info, "2.5 turns  |  rise 260.0 mm  |  R1 360 / R2 437.5 mm");
    EXPECT_TRUE(view.levelShown && !view.heightShown && !view.startGradeShown);
    doc.helices[0].variant = "no_such_helix";
    EXPECT_EQ(BuildSelectionView(doc).header, "Helix");

    // A selected scenery item as well: no helix view, the count of what is selected.
    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1.5, 2, 1});
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Several);
    EXPECT_EQ(BuildSelectionView(doc).header,
              std::to_string(doc.pieces.size()) + " pieces and 1 scenery item selected");
    doc.ClearSelection();
    doc.scenery[0].selected = true;
    view = BuildSelectionView(doc);
    ASSERT_EQ(view.kind, SelectionViewKind::Scenery);
    EXPECT_EQ(view.header, "Steel truss bridge (1 track)");
    EXPECT_EQ(view.info, "Scenery  |  282 x 160 mm");  // 188 x 1.5, 80 x 2
    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1, 1, 1});
    EXPECT_EQ(BuildSelectionView(doc).header, "2 scenery items selected");
}

TEST_F(PropertiesLogicTest, LevelChangeLiftsFlatTrackKeepsGradedHeightsAndStopsAtHelixTrack) {
    const uint32_t a = Place("24188"), b = Place("24188"), c = Place("24188");
    const uint32_t loose = Place("24188");
    Join(a, 1, b, 0);
    Join(b, 1, c, 0);
    Join(c, 1, a, 0);  // a loop must not make the walk run forever
    doc.FindPiece(b)->grade = 2;
    doc.FindPiece(b)->elevation = 40;

    ASSERT_TRUE(MovePieceChainToLevel(doc, c, 2));
    EXPECT_EQ(doc.activeLevel, 2u);
    for (uint32_t id : {a, b, c}) EXPECT_EQ(doc.FindPiece(id)->level, 2) << id;
    EXPECT_EQ(Height(a), 100);
    EXPECT_EQ(Height(b), 40);
    EXPECT_EQ(doc.FindPiece(loose)->level, 1);
    ASSERT_TRUE(MovePieceChainToLevel(doc, a, 9));  // a missing level counts as height 0
    EXPECT_EQ(Height(a), 0);
    EXPECT_FALSE(MovePieceChainToLevel(doc, 12345, 2));
    EXPECT_FALSE(SetPieceHeight(doc, 12345, 1));
    ASSERT_TRUE(SetPieceHeight(doc, loose, 50.8));
    EXPECT_EQ(Height(loose), 50.8);
    EXPECT_EQ(Height(c), 0);
    EXPECT_EQ(doc.undoStack.size(), 3u);
}

TEST_F(PropertiesLogicTest, HelixLevelChangeRaisesTheTopByTheRise) {
    PlaceHelixWithEnds(doc, "proses_3_5_r1r2");  // rise 340 mm
    const Helix helix = doc.helices[0];
    const uint32_t top = Place("24188"), graded = Place("24188"), below = Place("24188");
    Join(helix.topR1, 1, top, 0);
    Join(top, 1, graded, 0);
    Join(below, 1, helix.bottomR1, 0);
    doc.FindPiece(graded)->grade = -3;
    doc.FindPiece(graded)->elevation = 5;
    ASSERT_TRUE(MoveHelixToLevel(doc, helix.id, 2));
    EXPECT_EQ(Height(helix.bottomR2), 100);
    EXPECT_EQ(Height(helix.topR2), 440);
    EXPECT_EQ(Height(top), 440);
    EXPECT_EQ(Height(graded), 5);
    for (uint32_t id : {helix.bottomR1, helix.topR2, top, graded})
        EXPECT_EQ(doc.FindPiece(id)->level, 2) << id;
    EXPECT_EQ(doc.FindPiece(below)->level, 1) << "track below the helix stays";
    ASSERT_TRUE(MovePieceChainToLevel(doc, below, 1));  // and a chain stops at helix track
    EXPECT_EQ(doc.FindPiece(helix.bottomR1)->level, 2);
    doc.helices[0].variant = "gone";  // climbs like the default: 2.5 turns, 260 mm
    ASSERT_TRUE(MoveHelixToLevel(doc, helix.id, 1));
    EXPECT_EQ(Height(top), 260);
    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1, 1, 1});
    ASSERT_TRUE(MoveSceneryToLevel(doc, doc.scenery[0].id, 2));
    EXPECT_EQ(doc.scenery[0].level, 2);
    EXPECT_FALSE(MoveSceneryToLevel(doc, 999, 1));
}

}  // namespace
