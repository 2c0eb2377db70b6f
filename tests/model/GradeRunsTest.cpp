// Grade runs: heights along runs that start, grow, end, fall back on deletion and meet bridges.
#include <gtest/gtest.h>

#include <cmath>

#include "model/GradeRuns.h"
#include "model/LayoutDocument.h"
#include "model/TrackBuilder.h"

namespace {

// Rises worked out by hand: 188.3 x sin 3deg, 180 x sin 3deg (the R360 30deg curve's chord
// projection), 218.75 x sin 3deg (the R437.5 30deg ramp), 188.3 x sin 2.5deg.
constexpr double kStraightRise3 = 9.85486;
constexpr double kCurveRise3 = 9.42047;
constexpr double kRampRise3 = 11.44849;
constexpr double kStraightRise2_5 = 8.21353;
constexpr double kTol = 0.001;

class GradeRunTest : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }
    int32_t Sid(uint32_t id) { return static_cast<int32_t>(id); }

    LayoutDocument doc;
    TrackBuilder b{doc};
};

TEST_F(GradeRunTest, RunLengthUsesTheChordProjectionOfCurves) {
    const TrackCatalog& cat = TrackCatalog::Instance();
    EXPECT_NEAR(RunLength(*cat.Find("24188")), 188.3, 1e-9);
    EXPECT_NEAR(RunLength(*cat.Find("24130")), 180.0, 1e-9) << "not the 188.5 mm arc";
    EXPECT_NEAR(RunLength(*cat.Find("74623")), 218.75, 1e-9);
    // A radius with a second connector barely ahead of the start keeps the length.
    PieceDef stub = MakeExplicit(TrackSystem::MarklinC, "x", "x", PieceKind::Curve, 50, 100, 0,
                                 {{0, 0, 180}, {0.5, 3, 90}});
    EXPECT_DOUBLE_EQ(RunLength(stub), 50);
}

TEST_F(GradeRunTest, StartGradeSetsTheGradeKeepsTheHeightAndCanBeUndone) {
    const uint32_t p = b.Place("24188", 0, 0, 0, 12.5);
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_EQ(StartGrade(doc, p, 3.0), "Elevation: UP 3.0 deg");
    EXPECT_DOUBLE_EQ(b[p].grade, 3.0);
    EXPECT_DOUBLE_EQ(b[p].elevation, 12.5);
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.gradeRuns[0], (GradeRun{3.0, Sid(p), 0}));
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 3.0, Sid(p), 0}));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);

    doc.Undo();
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);
    EXPECT_DOUBLE_EQ(b[p].grade, 0);
}

TEST_F(GradeRunTest, StartGradeOnAnAnchorReanglesItsRun) {
    const uint32_t p = b.Place("24188");
    StartGrade(doc, p, 3.0);
    doc.gradeRuns[0].anchorConn = 1;
    EXPECT_EQ(StartGrade(doc, p, -2.5), "Elevation: DOWN 2.5 deg");
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.gradeRuns[0], (GradeRun{-2.5, Sid(p), 0}));
    EXPECT_DOUBLE_EQ(b[p].grade, -2.5);
}

TEST_F(GradeRunTest, RunGrowsPieceByPieceAtItsHead) {
    const uint32_t p = b.Place("24188");
    StartGrade(doc, p, 3.0);
    const uint32_t n1 = b.Attach("24188", p, 1);
    EXPECT_NEAR(b[n1].elevation, kStraightRise3, kTol);
    EXPECT_DOUBLE_EQ(b[n1].grade, 3.0);
    EXPECT_EQ(doc.gradeRuns[0], (GradeRun{3.0, Sid(n1), 1}));
    EXPECT_EQ(doc.currentGrade.anchorPiece, Sid(n1));
    EXPECT_EQ(doc.currentGrade.anchorConn, 1);

    const uint32_t c = b.Attach("24130", n1, 1);
    EXPECT_NEAR(b[c].elevation, 2 * kStraightRise3, kTol);
    const uint32_t n2 = b.Attach("24188", c, 1);
    EXPECT_NEAR(b[n2].elevation, 2 * kStraightRise3 + kCurveRise3, kTol);
    EXPECT_NEAR(PieceEndHeight(b[n2]), 3 * kStraightRise3 + kCurveRise3, kTol);
    EXPECT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, Sid(n2));
}

TEST_F(GradeRunTest, DownRunDescends) {
    const uint32_t p = b.Place("24188", 0, 0, 0, 50);
    StartGrade(doc, p, -2.5);
    const uint32_t n = b.Attach("24188", p, 1);
    EXPECT_NEAR(b[n].elevation, 50 - kStraightRise2_5, kTol);
    EXPECT_NEAR(PieceEndHeight(b[n]), 50 - 2 * kStraightRise2_5, kTol);
    EXPECT_DOUBLE_EQ(b[n].grade, -2.5);
}

TEST_F(GradeRunTest, PieceJoinedByItsEndBelowTheStartOfARunExtendsTheSlopeBackwards) {
    const uint32_t p = b.Place("24188", 0, 0, 0, 20);
    StartGrade(doc, p, 3.0);
    const uint32_t q = b.Attach("24188", p, 0, 1);
    EXPECT_NEAR(b[q].elevation, 20 - kStraightRise3, kTol) << "one rise lower than the join";
    EXPECT_DOUBLE_EQ(b[q].grade, 3.0);
    EXPECT_NEAR(PieceEndHeight(b[q]), 20, kTol);
    EXPECT_EQ(doc.gradeRuns[0], (GradeRun{3.0, Sid(q), 0}));
}

// A piece laid the other way round (a left curve is a right curve entered by its connector 1)
// still climbs (or falls) away from the head, and the run goes on the same way after it.
class ReversedPieceTest : public GradeRunTest, public testing::WithParamInterface<double> {};

TEST_P(ReversedPieceTest, KeepsTheRunsDirection) {
    const double angle = GetParam();
    const double straight = 188.3 * std::sin(angle * 3.141592653589793 / 180);
    const double curve = 180.0 * std::sin(angle * 3.141592653589793 / 180);
    const uint32_t p = b.Place("24188", 0, 0, 0, 100);
    StartGrade(doc, p, angle);
    const uint32_t left = b.Attach("24130", p, 1, 1);
    EXPECT_DOUBLE_EQ(b[left].grade, -angle);
    EXPECT_NEAR(ConnectorHeight(b[left], 1), 100 + straight, kTol) << "meets the head";
    EXPECT_NEAR(b[left].elevation, 100 + straight + curve, kTol) << "far end goes on";
    EXPECT_EQ(doc.gradeRuns[0], (GradeRun{angle, Sid(left), 0}));

    const uint32_t n = b.Attach("24188", left, 0, 0);
    EXPECT_DOUBLE_EQ(b[n].grade, angle);
    EXPECT_NEAR(b[n].elevation, 100 + straight + curve, kTol);
    const uint32_t left2 = b.Attach("24130", n, 1, 1);
    EXPECT_NEAR(b[left2].elevation, 100 + 2 * straight + 2 * curve, kTol);
    const uint32_t left3 = b.Attach("24130", left2, 0, 1);
    EXPECT_NEAR(b[left3].elevation, 100 + 2 * straight + 3 * curve, kTol);
}

INSTANTIATE_TEST_SUITE_P(UpAndDown, ReversedPieceTest, testing::Values(3.0, -2.5, 6.0));

TEST_F(GradeRunTest, PieceAttachedAwayFromTheHeadIsFlatAtTheJoin) {
    const uint32_t p = b.Place("24188", 0, 0, 0, 20);
    StartGrade(doc, p, 3.0);
    const uint32_t head = b.Attach("24188", p, 1);
    // p no longer anchors the run: a piece at its start is flat at p's start height.
    const uint32_t q = b.Attach("24188", p, 0, 1);
    EXPECT_DOUBLE_EQ(b[q].grade, 0);
    EXPECT_NEAR(b[q].elevation, 20, kTol) << "p's height, not its end height";
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, Sid(head));

    // A piece joined to a graded piece's end with no run there takes the end height.
    const uint32_t loose = b.Place("24188", 0, 0, 0, 7);
    b[loose].grade = 2.0;
    const uint32_t r = b.Attach("24188", loose, 1);
    EXPECT_NEAR(b[r].elevation, 7 + 6.57158, kTol);  // 188.3 x sin 2deg
    EXPECT_DOUBLE_EQ(b[r].grade, 0);
}

TEST_F(GradeRunTest, BridgeAtTheHeadIsFlatAndEndsTheRun) {
    const uint32_t p = b.Place("24188");
    StartGrade(doc, p, 3.0);
    const uint32_t bridge = b.Attach("74620", p, 1);
    EXPECT_NEAR(b[bridge].elevation, kStraightRise3, kTol);
    EXPECT_DOUBLE_EQ(b[bridge].grade, 0);
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_EQ(doc.currentGrade, CurrentGrade{});

    const uint32_t after = b.Attach("24188", bridge, 1);
    EXPECT_NEAR(b[after].elevation, kStraightRise3, kTol);
    EXPECT_DOUBLE_EQ(b[after].grade, 0);
}

TEST_F(GradeRunTest, BridgeElsewhereLeavesOtherRunsAlone) {
    const uint32_t p = b.Place("24188");
    StartGrade(doc, p, 3.0);
    const uint32_t other = b.Place("24188", 0, 500);
    StartGrade(doc, other, 1.0);
    b.Attach("74620", p, 1);
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, Sid(other));
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 1.0, Sid(other), 0}));
}

TEST_F(GradeRunTest, RampContinuesTheRun) {
    const uint32_t p = b.Place("24188");
    StartGrade(doc, p, 3.0);
    const uint32_t ramp = b.Attach("74623", p, 1);
    EXPECT_DOUBLE_EQ(b[ramp].grade, 3.0);
    EXPECT_NEAR(b[ramp].elevation, kStraightRise3, kTol);
    const uint32_t n = b.Attach("24188", ramp, 1);
    EXPECT_NEAR(b[n].elevation, kStraightRise3 + kRampRise3, kTol);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, Sid(n));
}

TEST_F(GradeRunTest, CurrentGradeMirrorsTheLastOfSeveralRuns) {
    const uint32_t a = b.Place("24188");
    const uint32_t c = b.Place("24188", 0, 300);
    StartGrade(doc, a, 2.0);
    StartGrade(doc, c, -4.0);
    const uint32_t a2 = b.Attach("24188", a, 1);
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, -4.0, Sid(c), 0}));
    EXPECT_EQ(doc.gradeRuns[0], (GradeRun{2.0, Sid(a2), 1}));
    RemoveGradeRunsAt(doc, c);
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 2.0, Sid(a2), 1}));
    ResetGradeRuns(doc);
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_EQ(doc.currentGrade, CurrentGrade{});
}

// p - n1 - n2 - n3, climbing at 3 degrees with the head at n3.
class BuiltRun : public GradeRunTest {
protected:
    void SetUp() override {
        GradeRunTest::SetUp();
        ids.push_back(b.Place("24188"));
        StartGrade(doc, ids[0], 3.0);
        for (int i = 0; i < 3; ++i) ids.push_back(b.Attach("24188", ids.back(), 1));
    }
    std::vector<uint32_t> ids;
};

TEST_F(BuiltRun, EndGradeInTheMiddleFlattensOnlyThatPieceAndRemovesTheRunAhead) {
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_EQ(EndGrade(doc, ids[1]), "Grade ended - subsequent pieces will be flat");
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    EXPECT_DOUBLE_EQ(b[ids[1]].grade, 0);
    EXPECT_NEAR(b[ids[1]].elevation, kStraightRise3, kTol);
    EXPECT_NEAR(b[ids[2]].elevation, 2 * kStraightRise3, kTol) << "graded pieces keep heights";
    EXPECT_NEAR(b[ids[3]].elevation, 3 * kStraightRise3, kTol);
    EXPECT_DOUBLE_EQ(b[ids[2]].grade, 3.0);
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);

    doc.Undo();
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_DOUBLE_EQ(b[ids[1]].grade, 3.0);
}

TEST_F(BuiltRun, EndGradeAtTheHeadLevelsItOnItsPredecessorAndLaterPiecesAreFlat) {
    EndGrade(doc, ids[3]);
    EXPECT_DOUBLE_EQ(b[ids[3]].grade, 0);
    EXPECT_NEAR(b[ids[3]].elevation, 3 * kStraightRise3, kTol);
    EXPECT_TRUE(doc.gradeRuns.empty());
    const uint32_t n = b.Attach("24188", ids[3], 1);
    EXPECT_NEAR(b[n].elevation, 3 * kStraightRise3, kTol);
    EXPECT_DOUBLE_EQ(b[n].grade, 0);
}

TEST_F(BuiltRun, EndGradeCarriesTheHeightOverFlatPiecesAfterIt) {
    // Two flat pieces after the head, left at 0 by a run that was ended by hand.
    RemoveGradeRunsAt(doc, ids[3]);
    const uint32_t f1 = b.Attach("24188", ids[3], 1);
    const uint32_t f2 = b.Attach("24188", f1, 1);
    b[f1].elevation = 0;
    b[f2].elevation = 0;
    EndGrade(doc, ids[3]);
    EXPECT_NEAR(b[f1].elevation, 3 * kStraightRise3, kTol);
    EXPECT_NEAR(b[f2].elevation, 3 * kStraightRise3, kTol);
}

TEST_F(BuiltRun, StopAtTheHeadKeepsItsGradeAndLaterPiecesAreFlatAtItsEnd) {
    EXPECT_EQ(StopGradeAtHead(doc, ids[2]), "") << "not the head";
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_EQ(StopGradeAtHead(doc, ids[3]), "Grade ended - subsequent pieces will be flat");
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    EXPECT_DOUBLE_EQ(b[ids[3]].grade, 3.0);
    EXPECT_TRUE(doc.gradeRuns.empty());
    const uint32_t n = b.Attach("24188", ids[3], 1);
    EXPECT_NEAR(b[n].elevation, 4 * kStraightRise3, kTol);
    EXPECT_DOUBLE_EQ(b[n].grade, 0);
}

TEST_F(BuiltRun, DeletingTheHeadFallsBackToItsNeighbourAndTheRunGoesOn) {
    b[ids[3]].selected = true;
    doc.DeleteSelected();
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, Sid(ids[2]));
    const uint32_t n = b.Attach("24188", ids[2], 1);
    EXPECT_NEAR(b[n].elevation, 3 * kStraightRise3, kTol);
    EXPECT_DOUBLE_EQ(b[n].grade, 3.0);
    EXPECT_EQ(doc.currentGrade.anchorPiece, Sid(n));
}

TEST_F(BuiltRun, DeletingAnIsolatedHeadRemovesTheRun) {
    const uint32_t lone = b.Place("24188", 0, 900);
    StartGrade(doc, lone, 1.5);
    b[lone].selected = true;
    doc.DeleteSelected();
    ASSERT_EQ(doc.gradeRuns.size(), 1u);
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 3.0, Sid(ids[3]), 1}));
}

TEST_F(GradeRunTest, RecalcLiftsFollowingFlatPiecesUpToTheFirstGradedOne) {
    const std::vector<uint32_t> ids = b.Line("24188", 5);
    b[ids[0]].elevation = 30;
    b[ids[0]].grade = 2.0;
    b[ids[3]].grade = 1.0;
    b[ids[3]].elevation = 5;
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_TRUE(RecalculateForward(doc, ids[0]));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    EXPECT_DOUBLE_EQ(b[ids[0]].elevation, 30);
    EXPECT_NEAR(b[ids[1]].elevation, 36.57158, kTol);
    EXPECT_NEAR(b[ids[2]].elevation, 36.57158, kTol);
    EXPECT_DOUBLE_EQ(b[ids[3]].elevation, 5) << "the walk stops at the graded piece";
    EXPECT_DOUBLE_EQ(b[ids[4]].elevation, 0);
    EXPECT_DOUBLE_EQ(b[ids[0]].grade, 2.0) << "grade unchanged";
}

TEST_F(GradeRunTest, RecalcLevelsThePieceOnItsPredecessor) {
    const std::vector<uint32_t> ids = b.Line("24188", 3);
    b[ids[0]].elevation = 10;
    b[ids[0]].grade = 3.0;
    EXPECT_TRUE(RecalculateForward(doc, ids[1]));
    EXPECT_NEAR(b[ids[1]].elevation, 10 + kStraightRise3, kTol);
    EXPECT_NEAR(b[ids[2]].elevation, 10 + kStraightRise3, kTol);
    EXPECT_TRUE(doc.gradeRuns.empty()) << "recalc leaves runs alone";
}

TEST_F(GradeRunTest, RecalcWalksThroughPiecesLaidTheOtherWayRound) {
    const uint32_t a = b.Place("24188", 0, 0, 0, 40);
    const uint32_t rev = b.Attach("24188", a, 1, 1);
    const uint32_t c = b.Attach("24188", rev, 0, 0);
    b[rev].elevation = b[c].elevation = 0;
    RecalculateForward(doc, a);
    EXPECT_NEAR(b[rev].elevation, 40, kTol);
    EXPECT_NEAR(b[c].elevation, 40, kTol) << "the walk went through, not back";
}

TEST_F(GradeRunTest, RecalcTakesTheHeightOfTheConnectorItIsJoinedTo) {
    // q is joined to p by its start: p sits at q's start height, not at q's end height.
    const uint32_t q = b.Place("24188", 0, 0, 0, 10);
    b[q].grade = 3.0;
    const uint32_t p = b.Attach("24188", q, 0, 0);
    b[p].elevation = 0;
    RecalculateForward(doc, p);
    EXPECT_NEAR(b[p].elevation, 10, kTol);
    EndGrade(doc, p);
    EXPECT_NEAR(b[p].elevation, 10, kTol);
}

// Twelve R360 30deg curves joined into a circle.
class LoopTest : public GradeRunTest {
protected:
    void SetUp() override {
        GradeRunTest::SetUp();
        ids = b.Line("24130", 12);
        b.Join(ids.back(), 1, ids.front(), 0);
    }
    std::vector<uint32_t> ids;
};

TEST_F(LoopTest, WalksAroundALoopEnd) {
    b[ids[0]].grade = 2.0;
    RecalculateForward(doc, ids[0]);
    // ids[0] first sits level with the end of ids[11] (0), then the others take its end height.
    const double rise = 180 * 0.0348995;  // 180 x sin 2deg
    EXPECT_NEAR(b[ids[0]].elevation, 0, kTol);
    for (size_t i = 1; i < ids.size(); ++i) EXPECT_NEAR(b[ids[i]].elevation, rise, kTol) << i;

    const uint32_t spur = b.Place("24188", 2000, 0);
    StartGrade(doc, spur, 1.0);
    EXPECT_FALSE(EndGrade(doc, ids[4]).empty());
    EXPECT_EQ(doc.gradeRuns.size(), 1u) << "no run in the loop: nothing removed";
}

TEST_F(LoopTest, EndGradeFindsARunAnchoredFurtherRoundTheLoop) {
    StartGrade(doc, ids[9], 1.0);
    EndGrade(doc, ids[2]);
    EXPECT_TRUE(doc.gradeRuns.empty());
}

TEST_F(GradeRunTest, WalksOverMalformedJointsEnd) {
    // Two pieces whose ends point at each other both ways, and a piece joined to itself.
    const uint32_t a = b.Place("24188");
    const uint32_t c = b.Place("24188");
    b.Join(a, 1, c, 1);
    b.Join(c, 0, a, 0);
    const uint32_t self = b.Place("24188");
    b[self].joints[1] = {self, 0};
    b[self].joints[0] = {self, 1};
    b[a].elevation = 3;
    EXPECT_TRUE(RecalculateForward(doc, a));
    EXPECT_FALSE(EndGrade(doc, c).empty());
    EXPECT_TRUE(RecalculateForward(doc, self));
    EXPECT_FALSE(EndGrade(doc, self).empty());
}

TEST_F(GradeRunTest, JoinToAPieceOutsideTheCatalogKeepsHeightAndGrade) {
    const uint32_t odd = b.Place("no-such-article", 0, 0, 0, 40);
    StartGrade(doc, odd, 3.0);
    const uint32_t n = b.Place("24188", 0, 0, 0, 5);
    b[n].grade = 1.0;
    b.Join(n, 0, odd, 1);
    ContinueGrade(doc, n, 0, odd, 1);
    EXPECT_DOUBLE_EQ(b[n].elevation, 5);
    EXPECT_DOUBLE_EQ(b[n].grade, 1.0);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, Sid(odd));
}

TEST_F(GradeRunTest, UnknownArticleAtTheHeadTakesTheRunWithoutRise) {
    const uint32_t p = b.Place("24188");
    StartGrade(doc, p, 3.0);
    const uint32_t odd = b.Place("no-such-article");
    b.Join(odd, 1, p, 1);
    ContinueGrade(doc, odd, 1, p, 1);
    EXPECT_NEAR(b[odd].elevation, kStraightRise3, kTol);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, Sid(odd));
    EXPECT_DOUBLE_EQ(PieceRise(b[odd]), 0);
}

TEST_F(GradeRunTest, BadInputChangesNothing) {
    const uint32_t p = b.Place("24188");
    StartGrade(doc, p, 3.0);
    const uint32_t n = b.Attach("24188", p, 1);
    const uint32_t missing = 4242;
    const DocState before(doc);

    EXPECT_EQ(StartGrade(doc, missing, 3.0), "");
    EXPECT_EQ(StartGrade(doc, kNoId, 3.0), "");
    EXPECT_EQ(StartGrade(doc, p, std::nan("")), "");
    EXPECT_EQ(EndGrade(doc, missing), "");
    EXPECT_EQ(StopGradeAtHead(doc, missing), "");
    EXPECT_FALSE(RecalculateForward(doc, missing));
    ContinueGrade(doc, missing, 0, n, 1);
    ContinueGrade(doc, n, 0, missing, 1);
    ContinueGrade(doc, n, 0, n, 1);
    ContinueGrade(doc, n, -1, p, 1);
    ContinueGrade(doc, n, 0, p, -1);
    ContinueGrade(doc, n, 0, p, 7);
    ContinueGrade(doc, n, 5, p, 1);
    RemoveGradeRunsAt(doc, missing);
    EXPECT_EQ(DocState(doc), before);
}

TEST(GradeStatusText, ListsRunsAndFallsBackToReady) {
    const std::vector<GradeRun> runs{{3.0, 1, 1}, {-2.5, 4, 0}};
    EXPECT_EQ(GradeRunsStatusText(runs, "Ready"),
              "[ELEV] 3.0 deg -2.5 deg  (right-click piece to stop)");
    EXPECT_EQ(GradeRunsStatusText({}, "[ELEV] 3.0 deg  (right-click piece to stop)"), "Ready");
    EXPECT_EQ(GradeRunsStatusText({}, "Pieces: 4"), "Pieces: 4");
    EXPECT_EQ(GradeRunsStatusText({}, "Pieces: 4", true), "Ready");
    EXPECT_EQ(StartGradeStatusText(0.0), "Elevation: UP 0.0 deg");
    EXPECT_EQ(StartGradeStatusText(-6.0), "Elevation: DOWN 6.0 deg");
    EXPECT_EQ(EndGradeStatusText(), "Grade ended - subsequent pieces will be flat");
}

}  // namespace
