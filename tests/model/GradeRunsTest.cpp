// Grade runs: heights along runs that start, grow, end, fall back on deletion and meet bridges.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Geometry.h"
#include "model/LayoutDocument.h"
#include "model/TrackBuilder.h"

namespace {

// Rises worked out by hand: 188.3 x sin 3deg, 180 x sin 3deg (the R360 30deg curve's chord
// projection, not its 188.5 mm arc), 218.75 x sin 3deg (the R437.5 30deg ramp), 188.3 x sin 2deg.
constexpr double kStraight3 = 9.85486, kCurve3 = 9.42047, kRamp3 = 11.44849, kStraight2 = 6.57158;
constexpr double kTol = 0.001;
const std::string kEnded = "Grade ended - subsequent pieces will be flat";

class GradeRunTest : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }
    static int32_t Sid(uint32_t id) { return static_cast<int32_t>(id); }
    // A straight at `height` starting a run at `deg`, with `more` straights attached at the head.
    std::vector<uint32_t> Run(int more, double deg = 3.0, double height = 0, double y = 0) {
        std::vector<uint32_t> ids{b.Place("24188", 0, y, 0, height)};
        StartGrade(doc, ids[0], deg);
        for (int i = 0; i < more; ++i) ids.push_back(b.Attach("24188", ids.back(), 1));
        return ids;
    }

    LayoutDocument doc;
    TrackBuilder b{doc};
};

TEST_F(GradeRunTest, StartGradeSetsOrReanglesTheRunKeepsTheHeightAndCanBeUndone) {
    const uint32_t p = b.Place("24188", 0, 0, 0, 12.5);
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_EQ(StartGrade(doc, p, 3.0), "Elevation: UP 3.0 deg");
    EXPECT_DOUBLE_EQ(b[p].grade, 3.0);
    EXPECT_DOUBLE_EQ(b[p].elevation, 12.5);
    EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{{3.0, Sid(p), 0}}));
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 3.0, Sid(p), 0}));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    doc.gradeRuns[0].anchorConn = 1;
    EXPECT_EQ(StartGrade(doc, p, -2.5), "Elevation: DOWN 2.5 deg");
    EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{{-2.5, Sid(p), 0}}));
    doc.Undo();
    doc.Undo();
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);
    EXPECT_DOUBLE_EQ(b[p].grade, 0);
}

TEST_F(GradeRunTest, RunGrowsPieceByPieceAtItsHeadAndARampContinuesIt) {
    const std::vector<uint32_t> ids = Run(1);
    EXPECT_NEAR(b[ids[1]].elevation, kStraight3, kTol);
    EXPECT_DOUBLE_EQ(b[ids[1]].grade, 3.0);
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 3.0, Sid(ids[1]), 1}));
    const uint32_t c = b.Attach("24130", ids[1], 1);
    const uint32_t ramp = b.Attach("74623", c, 1);
    const uint32_t n = b.Attach("24188", ramp, 1);
    EXPECT_NEAR(b[c].elevation, 2 * kStraight3, kTol);
    EXPECT_NEAR(b[ramp].elevation, 2 * kStraight3 + kCurve3, kTol);
    EXPECT_DOUBLE_EQ(b[ramp].grade, 3.0);
    EXPECT_NEAR(b[n].elevation, 2 * kStraight3 + kCurve3 + kRamp3, kTol);
    EXPECT_NEAR(PieceEndHeight(b[n]), 3 * kStraight3 + kCurve3 + kRamp3, kTol);
    EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{{3.0, Sid(n), 1}}));
}

TEST_F(GradeRunTest, PieceAttachedAtConnectorZeroOfAGradedPiece) {
    // At the start of a run: the slope goes on backwards and the piece becomes the head.
    const uint32_t p = Run(0, 3.0, 20)[0];
    const uint32_t q = b.Attach("24188", p, 0, 1);
    EXPECT_NEAR(b[q].elevation, 20 - kStraight3, kTol);
    EXPECT_DOUBLE_EQ(b[q].grade, 3.0);
    EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{{3.0, Sid(q), 0}}));
    // Away from the head: flat, at the graded piece's start height.
    const uint32_t r = b.Attach("24188", Run(1, 3.0, 20, 500)[0], 0, 1);
    EXPECT_DOUBLE_EQ(b[r].grade, 0);
    EXPECT_NEAR(b[r].elevation, 20, kTol);
}

// A piece laid the other way round (a left curve is a right curve entered by its connector 1)
// gets the negated grade, still climbs (or falls) away from the head, and the run goes on.
class ReversedPieceTest : public GradeRunTest, public testing::WithParamInterface<double> {};

TEST_P(ReversedPieceTest, KeepsTheRunsDirection) {
    const double angle = GetParam();
    const double straight = 188.3 * std::sin(DegToRad(angle));
    const double curve = 180.0 * std::sin(DegToRad(angle));
    const uint32_t p = Run(0, angle, 100)[0];
    const uint32_t left = b.Attach("24130", p, 1, 1);
    EXPECT_DOUBLE_EQ(b[left].grade, -angle);
    EXPECT_NEAR(ConnectorHeight(b[left], 1), 100 + straight, kTol) << "meets the head";
    EXPECT_NEAR(b[left].elevation, 100 + straight + curve, kTol) << "far end goes on";
    EXPECT_EQ(doc.gradeRuns[0], (GradeRun{angle, Sid(left), 0}));
    const uint32_t n = b.Attach("24188", left, 0, 0);
    EXPECT_DOUBLE_EQ(b[n].grade, angle);
    const uint32_t left2 = b.Attach("24130", n, 1, 1);
    EXPECT_NEAR(b[left2].elevation, 100 + 2 * straight + 2 * curve, kTol);
}

INSTANTIATE_TEST_SUITE_P(UpAndDown, ReversedPieceTest, testing::Values(3.0, -2.5));

TEST_F(GradeRunTest, BridgeAtTheHeadIsFlatAndEndsOnlyThatRun) {
    const uint32_t p = Run(0)[0];
    const uint32_t other = Run(0, 1.0, 0, 500)[0];
    const uint32_t bridge = b.Attach("74620", p, 1);
    EXPECT_NEAR(b[bridge].elevation, kStraight3, kTol);
    EXPECT_DOUBLE_EQ(b[bridge].grade, 0);
    EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{{1.0, Sid(other), 0}}));
    const uint32_t after = b.Attach("24188", bridge, 1);
    EXPECT_NEAR(b[after].elevation, kStraight3, kTol);
    EXPECT_DOUBLE_EQ(b[after].grade, 0);
}

TEST_F(GradeRunTest, EndGradeFlattensThatPieceAndRemovesTheRunAheadStopAtTheHeadKeepsItsGrade) {
    const std::vector<uint32_t> ids = Run(3);
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_EQ(EndGrade(doc, ids[1]), kEnded);
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    EXPECT_DOUBLE_EQ(b[ids[1]].grade, 0);
    EXPECT_NEAR(b[ids[1]].elevation, kStraight3, kTol);
    EXPECT_NEAR(b[ids[3]].elevation, 3 * kStraight3, kTol) << "graded pieces keep heights";
    EXPECT_DOUBLE_EQ(b[ids[2]].grade, 3.0);
    EXPECT_TRUE(doc.gradeRuns.empty());
    EXPECT_FALSE(doc.currentGrade.hasGrade);
    doc.Undo();
    EXPECT_EQ(doc.gradeRuns.size(), 1u);
    // At the head: levelled on its predecessor, and what follows is flat.
    EndGrade(doc, ids[3]);
    EXPECT_DOUBLE_EQ(b[ids[3]].grade, 0);
    const uint32_t n = b.Attach("24188", ids[3], 1);
    EXPECT_NEAR(b[n].elevation, 3 * kStraight3, kTol);
    EXPECT_DOUBLE_EQ(b[n].grade, 0);

    // Stopped at the head instead: it keeps its grade and later pieces are flat at its end.
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(StopGradeAtHead(doc, ids[2]), "") << "not the head";
    EXPECT_EQ(StopGradeAtHead(doc, ids[3]), kEnded);
    EXPECT_DOUBLE_EQ(b[ids[3]].grade, 3.0);
    EXPECT_TRUE(doc.gradeRuns.empty());
    const uint32_t m = b.Attach("24188", ids[3], 1);
    EXPECT_NEAR(b[m].elevation, 4 * kStraight3, kTol);
    EXPECT_DOUBLE_EQ(b[m].grade, 0);
}

TEST_F(GradeRunTest, DeletingTheHeadFallsBackToItsNeighbourAndTheRunGoesOn) {
    const std::vector<uint32_t> ids = Run(3);
    b[ids[3]].selected = true;
    doc.DeleteSelected();
    EXPECT_EQ(doc.gradeRuns, (std::vector<GradeRun>{{3.0, Sid(ids[2]), 0}}));
    EXPECT_EQ(doc.currentGrade, (CurrentGrade{true, 3.0, Sid(ids[2]), 0}));
    const uint32_t n = b.Attach("24188", ids[2], 1);
    EXPECT_NEAR(b[n].elevation, 3 * kStraight3, kTol);
    EXPECT_DOUBLE_EQ(b[n].grade, 3.0);
}

TEST_F(GradeRunTest, RecalcLiftsFlatPiecesAndStopsAtTheFirstGradedOne) {
    const std::vector<uint32_t> ids = b.Line("24188", 5);
    b[ids[0]].elevation = 30;
    b[ids[0]].grade = 2.0;
    b[ids[3]].grade = 1.0;
    b[ids[3]].elevation = 5;
    const size_t undoBefore = doc.undoStack.size();
    EXPECT_TRUE(RecalculateForward(doc, ids[0]));
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    EXPECT_DOUBLE_EQ(b[ids[0]].elevation, 30);
    EXPECT_NEAR(b[ids[1]].elevation, 30 + kStraight2, kTol);
    EXPECT_NEAR(b[ids[2]].elevation, 30 + kStraight2, kTol);
    EXPECT_DOUBLE_EQ(b[ids[3]].elevation, 5);
    EXPECT_DOUBLE_EQ(b[ids[4]].elevation, 0);
    EXPECT_TRUE(doc.gradeRuns.empty()) << "recalc leaves runs alone";
}

TEST_F(GradeRunTest, WalksOverLoopsAndMalformedJointsEnd) {
    std::vector<uint32_t> loop = b.Line("24130", 12);
    b.Join(loop.back(), 1, loop.front(), 0);
    b[loop[0]].grade = 2.0;
    EXPECT_TRUE(RecalculateForward(doc, loop[0]));
    EXPECT_NEAR(b[loop[0]].elevation, 0, kTol);
    for (size_t i = 1; i < loop.size(); ++i) EXPECT_NEAR(b[loop[i]].elevation, 6.28191, kTol);
    StartGrade(doc, loop[9], 1.0);
    EXPECT_EQ(EndGrade(doc, loop[2]), kEnded);
    EXPECT_TRUE(doc.gradeRuns.empty()) << "found further round the loop";
    // Two pieces whose ends point at each other both ways, and a piece joined to itself.
    const uint32_t a = b.Place("24188"), c = b.Place("24188"), self = b.Place("24188");
    b.Join(a, 1, c, 1);
    b.Join(c, 0, a, 0);
    b.Join(self, 1, self, 0);
    EXPECT_TRUE(RecalculateForward(doc, a));
    EXPECT_EQ(EndGrade(doc, c), kEnded);
    EXPECT_TRUE(RecalculateForward(doc, self));
    EXPECT_EQ(EndGrade(doc, self), kEnded);
}

TEST_F(GradeRunTest, BadInputChangesNothing) {
    const std::vector<uint32_t> ids = Run(1);
    const uint32_t p = ids[0], n = ids[1], missing = 4242;
    const auto before = DocState(doc);
    EXPECT_EQ(StartGrade(doc, missing, 3.0), "");
    EXPECT_EQ(StartGrade(doc, p, std::nan("")), "");
    EXPECT_EQ(EndGrade(doc, missing), "");
    EXPECT_EQ(StopGradeAtHead(doc, missing), "");
    EXPECT_FALSE(RecalculateForward(doc, missing));
    for (auto [a, ca, t, ct] : std::vector<std::tuple<uint32_t, int, uint32_t, int>>{
             {missing, 0, n, 1}, {n, 0, n, 1}, {n, -1, p, 1}, {n, 0, p, 7}})
        ContinueGrade(doc, a, ca, t, ct);
    RemoveGradeRunsAt(doc, missing);
    EXPECT_TRUE(DocState(doc) == before);
}

}  // namespace
