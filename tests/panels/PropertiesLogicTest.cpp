// The properties panel's views and edits, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "panels/PropertiesLogic.h"
#include "panels/TallyTestSupport.h"

namespace {

uint32_t Place(LayoutDocument& doc, const std::string& article, double heading = 0,
               bool selected = true) {
    PlacedPiece piece;
    piece.id = doc.TakeId();
    piece.article = article;
    piece.heading = heading;
    piece.selected = selected;
    piece.joints.resize(2);
    doc.pieces.push_back(piece);
    return piece.id;
}

void Join(LayoutDocument& doc, uint32_t a, uint32_t connA, uint32_t b, uint32_t connB) {
    PlacedPiece* pa = doc.FindPiece(a);
    PlacedPiece* pb = doc.FindPiece(b);
    if (pa->joints.size() <= connA) pa->joints.resize(connA + 1);
    if (pb->joints.size() <= connB) pb->joints.resize(connB + 1);
    pa->joints[connA] = Joint{b, connB};
    pb->joints[connB] = Joint{a, connA};
}

struct GradeCase {
    double grade;
    const char* value;
    const char* warning;
};

class GradeTexts : public testing::TestWithParam<GradeCase> {};

TEST_P(GradeTexts, ShowSignDegreesPercentAndWarning) {
    EXPECT_EQ(GradeValueText(GetParam().grade), GetParam().value);
    EXPECT_EQ(GradeWarningText(GetParam().grade), GetParam().warning);
}

// Per cent values worked out by hand: tan(2.5 deg) = 0.04366, tan(3 deg) = 0.05241,
// tan(7 deg) = 0.12278, tan(45 deg) = 1.
INSTANTIATE_TEST_SUITE_P(
    Table, GradeTexts,
    testing::Values(
        GradeCase{-2.5, "-2.50 deg (4.4%)", ""}, GradeCase{3.0, "+3.00 deg (5.2%)", ""},
        GradeCase{0.0, "-", ""}, GradeCase{0.001, "-", ""}, GradeCase{-0.001, "-", ""},
        GradeCase{6.0, "+6.00 deg (10.5%)", ""},
        GradeCase{7.0, "+7.00 deg (12.3%)", "WARNING: Grade 7.0 deg exceeds 6 deg max!"},
        GradeCase{-8.0, "-8.00 deg (14.1%)", "WARNING: Grade 8.0 deg exceeds 6 deg max!"},
        GradeCase{45.0, "+45.00 deg (100.0%)", "WARNING: Grade 45.0 deg exceeds 6 deg max!"}));

TEST(HeightEntry, ShowsTheHeightInTheDisplayUnit) {
    EXPECT_EQ(FormatHeightEntry(254, 2), "10.000");
    EXPECT_EQ(FormatHeightEntry(254, 1), "25.4");
    EXPECT_EQ(FormatHeightEntry(254, 0), "254.0");
    EXPECT_EQ(FormatHeightEntry(12.345, 0), "12.3");
    EXPECT_EQ(UnitName(0), "mm");
    EXPECT_EQ(UnitName(1), "cm");
    EXPECT_EQ(UnitName(2), "in");
}

struct ParseCase {
    const char* text;
    int units;
    bool ok;
    double mm;
};

class HeightParse : public testing::TestWithParam<ParseCase> {};

TEST_P(HeightParse, ConvertsToMillimetresOrRefuses) {
    double mm = -12345;
    EXPECT_EQ(ParseHeightEntry(GetParam().text, GetParam().units, &mm), GetParam().ok)
        << GetParam().text;
    if (GetParam().ok) {
        EXPECT_NEAR(mm, GetParam().mm, 1e-9);
    } else {
        EXPECT_EQ(mm, -12345) << "a refused entry must leave the value alone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeightParse,
    testing::Values(ParseCase{"2", 2, true, 50.8}, ParseCase{"10", 1, true, 100},
                    ParseCase{"12.5", 0, true, 12.5}, ParseCase{"  7.5 ", 0, true, 7.5},
                    ParseCase{"1,5", 1, true, 15}, ParseCase{"-3", 0, true, -3},
                    ParseCase{"+4", 0, true, 4}, ParseCase{"abc", 0, false, 0},
                    ParseCase{"", 0, false, 0}, ParseCase{"   ", 2, false, 0},
                    ParseCase{"2x", 0, false, 0}, ParseCase{"1.2.3", 0, false, 0},
                    ParseCase{"1,2.3", 0, false, 0}, ParseCase{"nan", 0, false, 0},
                    ParseCase{"inf", 0, false, 0}, ParseCase{"1e400", 0, false, 0},
                    ParseCase{"1e307", 2, false, 0}, ParseCase{"++1", 0, false, 0}));

class SelectionViews : public testing::Test {
protected:
    SelectionViews() { doc.EnsureDefaultLevel(); }
    LayoutDocument doc;
};

TEST_F(SelectionViews, NothingSelectedShowsTheEmptyView) {
    Place(doc, "24188", 0, false);
    const SelectionView view = BuildSelectionView(doc);
    EXPECT_EQ(view.kind, SelectionViewKind::Empty);
    EXPECT_EQ(view.header, "No selection");
    EXPECT_EQ(view.info, "");
    EXPECT_EQ(view.heightText, "0");
    EXPECT_FALSE(view.heightShown);
    EXPECT_FALSE(view.levelShown);
    EXPECT_EQ(view.pieceId, kNoId);
}

TEST_F(SelectionViews, GradedPieceInInchesShowsItsHeightGradeAndDirection) {
    doc.units = 2;
    const uint32_t id = Place(doc, "24188");
    doc.FindPiece(id)->elevation = 254;
    doc.FindPiece(id)->grade = -2.5;
    doc.FindPiece(id)->level = 1;
    const SelectionView view = BuildSelectionView(doc);
    ASSERT_EQ(view.kind, SelectionViewKind::Piece);
    EXPECT_EQ(view.pieceId, id);
    EXPECT_EQ(view.header, "24188 - 188.3mm");
    EXPECT_EQ(view.info, "M\u00e4rklin C  |  188.3 mm");
    EXPECT_EQ(view.heightLabel, "Height (in):");
    EXPECT_EQ(view.heightText, "10.000");
    EXPECT_TRUE(view.heightShown);
    EXPECT_EQ(view.gradeText, "-2.50 deg (4.4%)");
    EXPECT_FALSE(view.gradeUp);
    EXPECT_DOUBLE_EQ(view.gradeSpinDeg, 2.5);
    EXPECT_FALSE(view.gradeTooSteep);
    EXPECT_TRUE(view.startGradeShown && view.recalcShown);
    EXPECT_FALSE(view.endGradeShown) << "End Grade only while a run exists";

    doc.gradeRuns.push_back(GradeRun{-2.5, static_cast<int32_t>(id), 0});
    doc.RefreshCurrentGrade();
    EXPECT_TRUE(BuildSelectionView(doc).endGradeShown);
}

TEST_F(SelectionViews, SteepPieceIsFlaggedAndFlatPieceShowsUpAtZero) {
    const uint32_t id = Place(doc, "24188");
    doc.FindPiece(id)->grade = 7.0;
    SelectionView view = BuildSelectionView(doc);
    EXPECT_TRUE(view.gradeTooSteep);
    EXPECT_EQ(view.warning, "WARNING: Grade 7.0 deg exceeds 6 deg max!");
    EXPECT_TRUE(view.gradeUp);
    EXPECT_DOUBLE_EQ(view.gradeSpinDeg, 7.0);

    doc.FindPiece(id)->grade = 0.0005;
    view = BuildSelectionView(doc);
    EXPECT_FALSE(view.gradeTooSteep);
    EXPECT_TRUE(view.gradeUp);
    EXPECT_EQ(view.gradeSpinDeg, 0.0);
}

TEST_F(SelectionViews, ConnectedParallelStraightsShowTheRunInChainOrder) {
    // Placed in the order b, a, c but joined a - b - c.
    const uint32_t b = Place(doc, "24172", 0);
    const uint32_t a = Place(doc, "24188", 180);
    const uint32_t c = Place(doc, "24094", 0.5);
    Join(doc, a, 0, b, 0);
    Join(doc, b, 1, c, 0);
    SelectionView view = BuildSelectionView(doc);
    ASSERT_EQ(view.kind, SelectionViewKind::Run);
    EXPECT_EQ(view.header, "24188 + 24172 + 24094");
    EXPECT_EQ(view.info, "3 pieces  |  454.2 mm");  // 188.3 + 171.7 + 94.2
    EXPECT_EQ(view.pieceId, kNoId);
    EXPECT_FALSE(view.heightShown);

    doc.units = 1;
    EXPECT_EQ(BuildSelectionView(doc).info, "3 pieces  |  45.4 cm");
    doc.units = 2;
    EXPECT_EQ(BuildSelectionView(doc).info, "3 pieces  |  17.88 in");  // 454.2 / 25.4 = 17.882

    // One piece turned across the others: the most recently placed piece is shown instead.
    doc.FindPiece(a)->heading = 90;
    view = BuildSelectionView(doc);
    ASSERT_EQ(view.kind, SelectionViewKind::Piece);
    EXPECT_EQ(view.pieceId, c);
}

TEST_F(SelectionViews, RunNeedsJointsStraightsAndNoHelixTrack) {
    const uint32_t a = Place(doc, "24188");
    const uint32_t b = Place(doc, "24188");
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Piece) << "not joined";
    Join(doc, a, 1, b, 0);
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Run);

    const uint32_t curve = Place(doc, "24130");
    Join(doc, b, 1, curve, 0);
    SelectionView view = BuildSelectionView(doc);
    EXPECT_EQ(view.kind, SelectionViewKind::Piece);
    EXPECT_EQ(view.pieceId, curve);

    doc.FindPiece(curve)->selected = false;
    doc.FindPiece(b)->helixId = 77;  // helix track never forms a run
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Piece);
}

TEST_F(SelectionViews, OrderRunStartsAtAnEndAndListsEveryPieceOnce) {
    const uint32_t a = Place(doc, "24188");
    const uint32_t b = Place(doc, "24188");
    const uint32_t c = Place(doc, "24188");
    const uint32_t d = Place(doc, "24188");
    Join(doc, c, 1, a, 0);
    Join(doc, a, 1, d, 0);
    Join(doc, d, 1, b, 0);
    EXPECT_EQ(OrderRun(doc, {a, b, c, d}), (std::vector<uint32_t>{b, d, a, c}));
    // A closed ring has no end: the walk starts at the first piece.
    Join(doc, b, 1, c, 0);
    EXPECT_EQ(OrderRun(doc, {a, b, c, d}), (std::vector<uint32_t>{a, c, b, d}));
}

TEST_F(SelectionViews, WholeHelixShowsTheHelixView) {
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");
    for (PlacedPiece& p : doc.pieces) {
        p.selected = true;
        p.elevation = 20;
    }
    SelectionView view = BuildSelectionView(doc);
    ASSERT_EQ(view.kind, SelectionViewKind::Helix);
    EXPECT_EQ(view.helixId, doc.helices[0].id);
    EXPECT_EQ(view.pieceId, kNoId);
    EXPECT_EQ(view.header, "Proses 2.5 R1&R2 26cm/10.2\"");
    EXPECT_EQ(view.info, "2.5 turns  |  rise 260.0 mm  |  R1 360 / R2 437.5 mm");
    EXPECT_EQ(view.heightLabel, "Base height (mm):");
    EXPECT_EQ(view.heightText, "20.0");
    EXPECT_FALSE(view.heightShown);
    EXPECT_TRUE(view.levelShown);
    EXPECT_FALSE(view.startGradeShown || view.endGradeShown || view.recalcShown);

    doc.helices[0].variant = "no_such_helix";
    EXPECT_EQ(BuildSelectionView(doc).header, "Helix");

    // A selected scenery item as well: no helix view.
    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1, 1, 1});
    view = BuildSelectionView(doc);
    EXPECT_EQ(view.kind, SelectionViewKind::Piece);
    EXPECT_EQ(view.pieceId, doc.helices[0].topR2);
}

TEST_F(SelectionViews, OneSceneryItemShowsItsScaledSize) {
    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1.5, 2, 1});
    SelectionView view = BuildSelectionView(doc);
    ASSERT_EQ(view.kind, SelectionViewKind::Scenery);
    EXPECT_EQ(view.header, "Steel truss bridge (1 track)");
    EXPECT_EQ(view.info, "Scenery  |  282 x 160 mm");  // 188 x 1.5, 80 x 2
    EXPECT_EQ(view.heightLabel, "Height:");
    EXPECT_FALSE(view.heightShown);
    EXPECT_TRUE(view.levelShown);

    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1, 1, 1});
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Empty);
}

TEST_F(SelectionViews, PieceUnknownToTheCatalogShowsNothingStale) {
    Place(doc, "24188");
    Place(doc, "99999");
    EXPECT_EQ(BuildSelectionView(doc).kind, SelectionViewKind::Empty);
}

class DocumentEdits : public testing::Test {
protected:
    DocumentEdits() {
        doc.EnsureDefaultLevel();
        Level upper;
        upper.id = 2;
        upper.name = "Upper";
        upper.height = 100;
        doc.levels.push_back(upper);
    }
    LayoutDocument doc;
};

TEST_F(DocumentEdits, SetHeightChangesOnlyThatPiece) {
    const uint32_t a = Place(doc, "24188");
    const uint32_t b = Place(doc, "24188");
    Join(doc, a, 1, b, 0);
    EXPECT_TRUE(SetPieceHeight(doc, a, 50.8));
    EXPECT_EQ(doc.FindPiece(a)->elevation, 50.8);
    EXPECT_EQ(doc.FindPiece(b)->elevation, 0);
    EXPECT_EQ(doc.undoStack.size(), 1u);
    EXPECT_FALSE(SetPieceHeight(doc, 999, 1));
    EXPECT_EQ(doc.undoStack.size(), 1u);
}

TEST_F(DocumentEdits, LevelChangeLiftsFlatTrackAndKeepsGradedHeights) {
    const uint32_t a = Place(doc, "24188");
    const uint32_t b = Place(doc, "24188");
    const uint32_t c = Place(doc, "24188");
    const uint32_t loose = Place(doc, "24188");
    Join(doc, a, 1, b, 0);
    Join(doc, b, 1, c, 0);
    Join(doc, c, 1, a, 0);  // a loop must not make the walk run forever
    doc.FindPiece(b)->grade = 2;
    doc.FindPiece(b)->elevation = 40;

    ASSERT_TRUE(MovePieceChainToLevel(doc, c, 2));
    EXPECT_EQ(doc.activeLevel, 2u);
    EXPECT_EQ(doc.undoStack.size(), 1u);
    for (uint32_t id : {a, b, c}) EXPECT_EQ(doc.FindPiece(id)->level, 2) << id;
    EXPECT_EQ(doc.FindPiece(a)->elevation, 100);
    EXPECT_EQ(doc.FindPiece(c)->elevation, 100);
    EXPECT_EQ(doc.FindPiece(b)->elevation, 40);
    EXPECT_EQ(doc.FindPiece(loose)->level, 1);
    EXPECT_EQ(doc.FindPiece(loose)->elevation, 0);

    // A level that does not exist counts as height 0.
    ASSERT_TRUE(MovePieceChainToLevel(doc, a, 9));
    EXPECT_EQ(doc.FindPiece(a)->elevation, 0);
    EXPECT_EQ(doc.FindPiece(a)->level, 9);
    EXPECT_FALSE(MovePieceChainToLevel(doc, 12345, 2));
    EXPECT_EQ(doc.undoStack.size(), 2u);
}

TEST_F(DocumentEdits, LevelChangeStopsAtHelixTrack) {
    PlaceHelixWithEnds(doc, "proses_2_5_r1r2");
    const Helix helix = doc.helices[0];
    const uint32_t lead = Place(doc, "24188");
    const uint32_t beyond = Place(doc, "24188");
    Join(doc, lead, 1, helix.bottomR1, 0);
    Join(doc, helix.topR1, 1, beyond, 0);  // the helix stubs are not joined to each other
    ASSERT_TRUE(MovePieceChainToLevel(doc, lead, 2));
    EXPECT_EQ(doc.FindPiece(lead)->level, 2);
    EXPECT_EQ(doc.FindPiece(helix.bottomR1)->level, 1);
    EXPECT_EQ(doc.FindPiece(beyond)->level, 1);
}

TEST_F(DocumentEdits, HelixLevelChangeRaisesTheTopByTheRise) {
    PlaceHelixWithEnds(doc, "proses_3_5_r1r2");  // rise 340 mm
    const Helix helix = doc.helices[0];
    const uint32_t top1 = Place(doc, "24188");
    const uint32_t top2 = Place(doc, "24188");
    const uint32_t graded = Place(doc, "24188");
    const uint32_t below = Place(doc, "24188");
    Join(doc, helix.topR1, 1, top1, 0);
    Join(doc, top1, 1, top2, 0);
    Join(doc, top2, 1, graded, 0);
    Join(doc, below, 1, helix.bottomR1, 0);
    doc.FindPiece(graded)->grade = -3;
    doc.FindPiece(graded)->elevation = 5;

    ASSERT_TRUE(MoveHelixToLevel(doc, helix.id, 2));
    EXPECT_EQ(doc.FindPiece(helix.bottomR1)->elevation, 100);
    EXPECT_EQ(doc.FindPiece(helix.bottomR2)->elevation, 100);
    EXPECT_EQ(doc.FindPiece(helix.topR1)->elevation, 440);
    EXPECT_EQ(doc.FindPiece(helix.topR2)->elevation, 440);
    EXPECT_EQ(doc.FindPiece(top1)->elevation, 440);
    EXPECT_EQ(doc.FindPiece(top2)->elevation, 440);
    EXPECT_EQ(doc.FindPiece(graded)->elevation, 5);
    for (uint32_t id : {helix.bottomR1, helix.topR2, top1, top2, graded}) {
        EXPECT_EQ(doc.FindPiece(id)->level, 2) << id;
    }
    EXPECT_EQ(doc.FindPiece(below)->level, 1) << "track below the helix stays";
    EXPECT_EQ(doc.activeLevel, 2u);

    // An unknown variant climbs like the default one (2.5 turns, 260 mm).
    doc.helices[0].variant = "gone";
    ASSERT_TRUE(MoveHelixToLevel(doc, helix.id, 1));
    EXPECT_EQ(doc.FindPiece(helix.topR1)->elevation, 260);
    EXPECT_EQ(doc.FindPiece(top2)->elevation, 260);
}

TEST_F(DocumentEdits, SceneryLevelChange) {
    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1, 1, 1});
    ASSERT_TRUE(MoveSceneryToLevel(doc, doc.scenery[0].id, 2));
    EXPECT_EQ(doc.scenery[0].level, 2);
    EXPECT_EQ(doc.activeLevel, 2u);
    EXPECT_FALSE(MoveSceneryToLevel(doc, 999, 1));
    EXPECT_EQ(doc.undoStack.size(), 1u);
}

TEST_F(DocumentEdits, LabelsTakeTrimmedTextAndTheNextId) {
    const uint32_t before = doc.nextId;
    EXPECT_EQ(AddLabelAt(doc, "   \t ", 10, 20), kNoId);
    EXPECT_EQ(AddLabelAt(doc, "", 10, 20), kNoId);
    EXPECT_TRUE(doc.labels.empty());
    EXPECT_TRUE(doc.undoStack.empty());
    EXPECT_EQ(doc.nextId, before);

    EXPECT_EQ(AddLabelAt(doc, "  Station  \n", 10, 20), before);
    ASSERT_EQ(doc.labels.size(), 1u);
    EXPECT_EQ(doc.labels[0].text, "  Station");
    EXPECT_EQ(doc.labels[0].x, 10);
    EXPECT_EQ(doc.labels[0].y, 20);
    EXPECT_FALSE(doc.labels[0].selected);
    EXPECT_EQ(doc.nextId, before + 1);
    EXPECT_EQ(doc.undoStack.size(), 1u);
}

TEST_F(DocumentEdits, ApplyColourSetsOrClearsAndDropsTheSelection) {
    const uint32_t a = Place(doc, "24188");
    const uint32_t b = Place(doc, "24188", 0, false);
    doc.scenery.push_back(SceneryItem{doc.TakeId(), "bridge_truss", 0, 0, 0, true, 1, 1, 1});
    doc.labels.push_back(Label{doc.TakeId(), "x", 0, 0, true});

    ASSERT_TRUE(ApplyPieceColour(doc, 1));
    EXPECT_TRUE(doc.FindPiece(a)->hasColour);
    EXPECT_EQ(doc.FindPiece(a)->colour, (Rgb{220, 60, 60}));
    EXPECT_FALSE(doc.FindPiece(b)->hasColour);
    EXPECT_FALSE(doc.HasSelection());
    EXPECT_EQ(doc.undoStack.size(), 1u);

    // Nothing selected any more: nothing happens.
    EXPECT_FALSE(ApplyPieceColour(doc, 0));
    EXPECT_EQ(doc.undoStack.size(), 1u);

    doc.FindPiece(a)->selected = true;
    EXPECT_FALSE(ApplyPieceColour(doc, 9));
    EXPECT_FALSE(ApplyPieceColour(doc, -1));
    ASSERT_TRUE(ApplyPieceColour(doc, 0));
    EXPECT_FALSE(doc.FindPiece(a)->hasColour);
    EXPECT_EQ(doc.FindPiece(a)->colour, (Rgb{0, 0, 0}));

    doc.FindPiece(b)->selected = true;
    ASSERT_TRUE(ApplyPieceColour(doc, 8));
    EXPECT_EQ(doc.FindPiece(b)->colour, (Rgb{240, 240, 240}));
}

}  // namespace
