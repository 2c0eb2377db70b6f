// Snapping: capture radius, heading limit, ties, track systems, joins, drops, clones and moves.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "base/Geometry.h"
#include "canvas/LoosePieces.h"
#include "canvas/Snapping.h"
#include "model/LayoutDocument.h"

namespace {

constexpr double kEps = 1e-9;

Level MakeLevel(uint32_t id, bool visible, double height) {
    return {.id = id,
            .name = "Level " + std::to_string(id),
            .visible = visible,
            .height = height,
            .outline = {}};
}

class SnapDoc : public testing::Test {
protected:
    void SetUp() override { doc.EnsureDefaultLevel(); }

    uint32_t Put(const std::string& article, double x, double y, double heading, int level = 1) {
        return PutPiece(doc, article, x, y, heading, level);
    }
    void Link(uint32_t a, int ca, uint32_t b, int cb) {
        doc.FindPiece(a)->joints[ca] = {b, static_cast<uint32_t>(cb)};
        doc.FindPiece(b)->joints[cb] = {a, static_cast<uint32_t>(ca)};
    }
    PlacedPiece& P(uint32_t id) { return *doc.FindPiece(id); }
    static const PieceDef& Def(const char* article) {
        return *TrackCatalog::Instance().Find(article);
    }
    SnapResult Snap(const char* article, double x, double y, double heading) {
        return FindSnap(Def(article), {x, y, heading}, SnapCandidates(doc, false));
    }
    // The piece's pose, within a nanometre.
    void ExpectPose(uint32_t id, double x, double y, double heading) {
        EXPECT_NEAR(P(id).x, x, kEps);
        EXPECT_NEAR(P(id).y, y, kEps);
        EXPECT_NEAR(P(id).heading, heading, kEps);
    }

    LayoutDocument doc;
};

// ---- Geometry ----

TEST(AlignToConnector, PutsTheConnectorOnTheTargetFacingIt) {
    const PieceDef& straight = *TrackCatalog::Instance().Find("24188");
    const PieceDef& curve = *TrackCatalog::Instance().Find("24130");
    struct Case {
        const PieceDef* def;
        int k;
        ConnectorPose target;
    };
    const Case cases[] = {{&straight, 0, {100, 50, 90}},
                          {&curve, 0, {-20, 7, 333}},
                          {&curve, 1, {5, 5, 0}},
                          {&straight, 1, {0, 0, 359.5}}};
    for (const Case& c : cases) {
        const PiecePose pose = AlignToConnector(*c.def, c.k, c.target);
        PlacedPiece p;
        std::tie(p.x, p.y, p.heading) = std::tuple(pose.x, pose.y, pose.heading);
        const ConnectorPose got = GetConnectorPose(p, *c.def, c.k);
        EXPECT_NEAR(got.x, c.target.x, 1e-9);
        EXPECT_NEAR(got.y, c.target.y, 1e-9);
        EXPECT_NEAR(HeadingDiffDeg(got.heading, c.target.heading), 180.0, 1e-9);
        EXPECT_GE(pose.heading, 0);
        EXPECT_LT(pose.heading, 360);
    }
}

// ---- Capture radius and heading limit ----

struct CaptureCase {
    double offsetMm;  // distance of the ghost's connector 0 from the open end
    double turnDeg;   // ghost heading; the open end points along 0
    bool snaps;
};
class CaptureRadius : public SnapDoc, public testing::WithParamInterface<CaptureCase> {};

TEST_P(CaptureRadius, SnapsOnlyWithinTwentyFiveMillimetresAndTwentyDegrees) {
    const CaptureCase c = GetParam();
    const uint32_t fixed = Put("24188", 0, 0, 0);  // open end 1 at (188.3, 0), heading 0
    const double rad = DegToRad(c.turnDeg);
    // Ghost connector 0 lies offsetMm beyond the end, turned so that the ghost body leads away.
    const SnapResult r = Snap("24188", 188.3 + c.offsetMm * std::cos(rad / 2),
                              c.offsetMm * std::sin(rad / 2), 180 + c.turnDeg);
    EXPECT_EQ(r.snapped, c.snaps);
    if (!c.snaps) return;
    EXPECT_EQ(r.targetPiece, fixed);
    EXPECT_EQ(r.targetConn, 1);
    EXPECT_EQ(r.ownConn, 0);
    EXPECT_NEAR(r.distance, c.offsetMm, 1e-9);
    EXPECT_NEAR(r.x, 188.3, 1e-9);
    EXPECT_NEAR(r.y, 0, 1e-9);
    EXPECT_NEAR(r.heading, 0, 1e-9);
    EXPECT_NEAR(r.targetX, 188.3, 1e-9);
}

// The ghost is dropped pointing back at the fixed piece (heading 180 + turn, so connector 0
// points along `turn`): a turn of 0 means both ends point the same way.
INSTANTIATE_TEST_SUITE_P(Snapping, CaptureRadius,
                         testing::Values(CaptureCase{24.999, 180, true},
                                         CaptureCase{25.001, 180, false},
                                         CaptureCase{5, 19.5, false}, CaptureCase{5, 20.5, true},
                                         CaptureCase{5, 340.5, false},
                                         CaptureCase{5, 339.5, true}));

class SnapTies : public SnapDoc, public testing::WithParamInterface<bool> {};

TEST_P(SnapTies, EquallyNearEndsGoToThePieceFirstInTheDocument) {
    // End (360, 0) of one piece and end (400, 0) of another, the ghost's connector 0 at 380.
    uint32_t left, right;
    if (GetParam()) {
        left = Put("24360", 0, 0, 0);
        right = Put("24360", 400, 0, 180);
    } else {
        right = Put("24360", 400, 0, 180);
        left = Put("24360", 0, 0, 0);
    }
    SnapResult r = Snap("24188", 380, 0, 0);
    ASSERT_TRUE(r.snapped);
    EXPECT_NEAR(r.distance, 20, 1e-9);
    EXPECT_EQ(r.targetPiece, GetParam() ? left : right);
    EXPECT_EQ(r.targetConn, GetParam() ? 1 : 0);
    P(right).x = 390;  // its end 10 mm from the ghost: the nearer end wins whatever the order
    r = Snap("24188", 380, 0, 0);
    EXPECT_EQ(r.targetPiece, right);
    EXPECT_NEAR(r.distance, 10, 1e-9);
}
INSTANTIATE_TEST_SUITE_P(Snapping, SnapTies, testing::Bool());

TEST_F(SnapDoc, JoinedEndsAndHiddenLevelsDoNotAttract) {
    const uint32_t a = Put("24188", 0, 0, 0);
    const uint32_t b = Put("24188", 188.3, 0, 0);
    Link(a, 1, b, 0);
    EXPECT_FALSE(Snap("24188", 190, 20, 90).snapped) << "the joined ends at 188.3 are taken";
    doc.levels.push_back({.id = 2, .visible = false, .outline = {}});
    P(b).level = 2;
    EXPECT_FALSE(Snap("24188", 376.6 + 5, 0, 0).snapped) << "b's far end is on a hidden level";
    P(b).level = 7;  // a level the document does not have counts as visible
    EXPECT_TRUE(Snap("24188", 376.6 + 5, 0, 0).snapped);
}

// ---- Track systems ----

TEST_F(SnapDoc, AdapterMeetsKTrackByItsKEndOnly) {
    const uint32_t k = Put("2200", 0, 0, 0);  // K-Track end at (180, 0), heading 0
    // Adapter pointing away: its C end would meet the K end, so it does not snap.
    EXPECT_FALSE(Snap("24922", 190, 0, 0).snapped);
    // Adapter turned round: its K end (connector 1) meets the K end.
    SnapResult r = Snap("24922", 370, 0, 180);
    ASSERT_TRUE(r.snapped);
    EXPECT_EQ(r.targetPiece, k);
    EXPECT_EQ(r.ownConn, 1);
    EXPECT_NEAR(std::hypot(r.x - 360, r.y), 0, kEps);
    EXPECT_NEAR(r.heading, 180, kEps);
}

TEST_F(SnapDoc, ClashNamesTheDraggedSystemFirst) {
    Put("2200", 0, 0, 0);
    const SystemClash clash = CheckSystemClash(Def("24188"), {190, 0, 0}, doc.pieces);
    ASSERT_TRUE(clash.clash);
    EXPECT_EQ(clash.dragged, TrackSystem::MarklinC);
    EXPECT_EQ(clash.placed, TrackSystem::MarklinK);
    EXPECT_EQ(IncompatibleSystemsText(clash.dragged, clash.placed),
              "Marklin C-Track cannot connect to Marklin K-Track.\n\nThese track systems are not "
              "compatible.\nUse adapter track 24922 to connect C-Track to K-Track.");
    EXPECT_FALSE(CheckSystemClash(Def("24188"), {206, 0, 0}, doc.pieces).clash) << "26 mm away";
    EXPECT_FALSE(CheckSystemClash(Def("2200"), {190, 0, 0}, doc.pieces).clash) << "same system";
    EXPECT_FALSE(CheckSystemClash(Def("24188"), {185, 0, 180}, doc.pieces).clash)
        << "pointing the same way";
    // A system without a long name is "Unknown".
    EXPECT_EQ(IncompatibleSystemsText(TrackSystem::RokuhanZ, TrackSystem::MarklinC).substr(0, 41),
              "Unknown cannot connect to Marklin C-Track");
}

// ---- Joins ----

TEST_F(SnapDoc, JoinRefusesBadEnds) {
    const uint32_t a = Put("24188", 0, 0, 0);
    const uint32_t b = Put("24188", 188.3, 0, 0);
    const uint32_t u = Put("99999", 0, 0, 0);
    const std::vector<PlacedPiece> before = doc.pieces;
    EXPECT_FALSE(JoinConnectors(doc, a, 2, b, 0));
    EXPECT_FALSE(JoinConnectors(doc, a, 1, 4242, 0));
    EXPECT_FALSE(JoinConnectors(doc, a, 1, a, 0));
    EXPECT_FALSE(JoinConnectors(doc, a, 1, u, 0));
    EXPECT_EQ(doc.pieces, before);
}

TEST_F(SnapDoc, DropLevelIsTheHighestVisible) {
    doc.levels = {MakeLevel(1, true, 0), MakeLevel(2, true, 50), MakeLevel(3, false, 100),
                  MakeLevel(4, true, 50)};
    EXPECT_EQ(DropLevel(doc), 2u);
    for (Level& l : doc.levels) l.visible = false;
    doc.activeLevel = 3;
    EXPECT_EQ(DropLevel(doc), 3u);
}

// ---- Palette drop ----

TEST_F(SnapDoc, SnappedDropJoinsBothSidesTakesTheTargetLevelAndContinuesTheGrade) {
    doc.levels.push_back(MakeLevel(2, true, 80));
    const uint32_t head = Put("24188", 0, 0, 0, 2);
    P(head).grade = 3.0;
    doc.gradeRuns.push_back({3.0, static_cast<int32_t>(head), 0});
    doc.RefreshCurrentGrade();
    const PiecePose free{200, 8, 20};
    const SnapResult snap = TrackPaletteDrag(doc, "24188", free);
    ASSERT_TRUE(snap.snapped);
    const size_t undoBefore = doc.undoStack.size();
    const PlacementResult r = DropPalettePiece(doc, "24188", free, snap);
    ASSERT_TRUE(r.Placed());
    EXPECT_EQ(doc.undoStack.size(), undoBefore + 1);
    const PlacedPiece& n = P(r.firstId);
    ExpectPose(r.firstId, 188.3, 0, 0);
    EXPECT_EQ(n.level, 2);
    EXPECT_EQ(n.joints[0], (Joint{head, 1}));
    EXPECT_NEAR(n.elevation, 188.3 * std::sin(DegToRad(3.0)), 1e-3);  // 9.855
    EXPECT_NEAR(n.grade, 3.0, kEps);
    EXPECT_EQ(doc.gradeRuns[0].anchorPiece, static_cast<int32_t>(r.firstId));
}

TEST_F(SnapDoc, DropsWithSnappingOffIgnoreALeftoverSnapAndBadDropsChangeNothing) {
    const uint32_t fixed = Put("24188", 0, 0, 0);
    const PiecePose free{200, 8, 20};
    const SnapResult snap = TrackPaletteDrag(doc, "24188", free);
    ASSERT_TRUE(snap.snapped);
    const double nan = std::nan("");
    SnapResult bogus = snap;
    bogus.x = std::numeric_limits<double>::infinity();
    const std::vector<PlacedPiece> before = doc.pieces;
    EXPECT_FALSE(DropPalettePiece(doc, "00000", {0, 0, 0}, {}).Placed());
    EXPECT_FALSE(DropPalettePiece(doc, "24188", {nan, 0, 0}, {}).Placed());
    EXPECT_FALSE(DropPalettePiece(doc, "24188", {0, 0, 0}, bogus).Placed());
    EXPECT_FALSE(TrackPaletteDrag(doc, "00000", {190, 0, 0}).snapped);
    EXPECT_EQ(doc.pieces, before);
    EXPECT_TRUE(doc.undoStack.empty());
    doc.snapOn = false;
    EXPECT_FALSE(TrackPaletteDrag(doc, "24188", free).snapped);
    const PlacementResult r = DropPalettePiece(doc, "24188", free, snap);
    ASSERT_TRUE(r.Placed());
    ExpectPose(r.firstId, 200, 8, 20);
    EXPECT_TRUE(P(fixed).joints[1].IsOpen());
}

// ---- Palette double click and double-click clone ----

TEST_F(SnapDoc, PlaceAfterSelectionBuildsForwardThenBackward) {
    EXPECT_TRUE(PlaceAfterSelection(doc, "24188").startDrag) << "nothing selected";
    const uint32_t p = Put("24188", 0, 0, 0);
    P(p).selected = true;
    const PlacementResult first = PlaceAfterSelection(doc, "24188");
    ASSERT_TRUE(first.Placed());
    ExpectPose(first.firstId, 188.3, 0, 0);

    // p's far end is taken: a new piece goes on at its start, joined by its own end 1.
    doc.ClearSelection();
    P(p).selected = true;
    const PlacementResult back = PlaceAfterSelection(doc, "24172");
    ASSERT_TRUE(back.Placed());
    ExpectPose(back.firstId, -171.7, 0, 0);
    EXPECT_EQ(P(back.firstId).joints[1], (Joint{p, 0}));
    EXPECT_EQ(P(p).joints[0], (Joint{back.firstId, 1}));
}

TEST_F(SnapDoc, DoubleClickCloneFallsBackToTheStartAndStopsWhenNoEndIsFree) {
    const uint32_t a = Put("24188", 0, 0, 0);
    const uint32_t b = Put("24188", 188.3, 0, 0);
    Link(a, 1, b, 0);
    const PlacementResult r = CloneAndExtend(doc, a);
    ASSERT_TRUE(r.Placed());
    EXPECT_NEAR(P(r.firstId).x, -188.3, 1e-9);
    EXPECT_EQ(P(r.firstId).joints[1], (Joint{a, 0}));
    const std::vector<PlacedPiece> before = doc.pieces;
    const size_t undo = doc.undoStack.size();
    EXPECT_FALSE(CloneAndExtend(doc, a).Placed());
    EXPECT_FALSE(CloneAndExtend(doc, 999).Placed());
    EXPECT_EQ(doc.pieces, before);
    const PlacementResult adapter = CloneAndExtend(doc, Put("24922", 0, 500, 0));
    EXPECT_FALSE(adapter.Placed()) << "a clone of the adapter would join C to K";
    EXPECT_EQ(adapter.error.substr(0, 50), "Marklin C-Track cannot connect to Marklin K-Track.");
    EXPECT_EQ(doc.pieces.size(), before.size() + 1);
    EXPECT_EQ(doc.undoStack.size(), undo);
}

// ---- Moving a selection ----

class MoveDoc : public SnapDoc {
protected:
    // Moves the selection by (dx, dy) as the canvas does: start, track, release.
    GroupSnap Move(double dx, double dy) {
        const MoveStart start = TakeMoveStart(doc);
        const GroupSnap g = TrackSelectionMove(doc, start, dx, dy);
        ReleaseSelectionMove(doc, start, g);
        return g;
    }
};

TEST_F(MoveDoc, SnappedMoveCarriesTheSelectionRigidly) {
    const uint32_t fixed = Put("24188", 0, 0, 0);  // open end (188.3, 0)
    const uint32_t a = Put("24188", 250, 10, 10);
    const PiecePose aEnd =
        AlignToConnector(Def("24188"), 0, GetConnectorPose(P(a), Def("24188"), 1));
    const uint32_t b = Put("24188", aEnd.x, aEnd.y, aEnd.heading);
    Link(a, 1, b, 0);
    P(a).selected = P(b).selected = true;
    const GroupSnap g = Move(-50, 0);  // a's start comes to (200, 10), 15.4 mm from the end
    ASSERT_TRUE(g.Snapped());
    EXPECT_EQ(g.movingPiece, a);
    EXPECT_EQ(g.snap.targetPiece, fixed);
    ExpectPose(a, 188.3, 0, 0);
    ExpectPose(b, 376.6, 0, 0);
    EXPECT_EQ(P(fixed).joints[1], (Joint{a, 0}));
    EXPECT_EQ(P(a).joints[0], (Joint{fixed, 1}));
    EXPECT_EQ(P(a).joints[1], (Joint{b, 0})) << "joints inside the selection stay";
}

struct AutoJoinCase {
    double gapMm;
    const char* rightArticle;
    bool joins;
};
class AutoJoin : public MoveDoc, public testing::WithParamInterface<AutoJoinCase> {};

// The second pair joins within four millimetres, and never across two systems.
TEST_P(AutoJoin, SecondPairOfEndsJoinsWithinFourMillimetresOfOneSystem) {
    const uint32_t left = Put("24188", 0, 0, 0);
    const uint32_t right = Put(GetParam().rightArticle, 376.6 + GetParam().gapMm, 0, 0);
    const uint32_t m = Put("24188", 189.3, 1, 0);
    P(m).selected = true;
    const GroupSnap g = Move(0, 0);
    ASSERT_TRUE(g.Snapped());
    EXPECT_EQ(g.snap.targetPiece, left);
    EXPECT_EQ(P(m).joints[0], (Joint{left, 1}));
    const bool joins = GetParam().joins;
    EXPECT_EQ(P(m).joints[1], joins ? (Joint{right, 0}) : Joint{});
    EXPECT_EQ(P(right).joints[0], joins ? (Joint{m, 1}) : Joint{});
}
INSTANTIATE_TEST_SUITE_P(Snapping, AutoJoin,
                         testing::Values(AutoJoinCase{3.99, "24188", true},
                                         AutoJoinCase{4.01, "24188", false},
                                         AutoJoinCase{2, "2200", false}));

TEST_F(MoveDoc, EndsJoinedInsideTheSelectionDoNotSnap) {
    const uint32_t a = Put("24188", 0, 0, 0);
    const uint32_t b = Put("24188", 188.3, 0, 0);
    Link(a, 1, b, 0);
    // An outside open end pointing up at the joint between a and b, 10 mm below it.
    Put("24188", 188.3, 10 + 188.3, 270);
    P(a).selected = P(b).selected = true;
    const MoveStart start = TakeMoveStart(doc);
    EXPECT_FALSE(TrackSelectionMove(doc, start, 0, 0).Snapped());
}

}  // namespace
