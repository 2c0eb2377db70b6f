// A train's head running over the network: laps, buffers, open ends, turnouts, and the same
// place however the run is cut into steps.
#include <gtest/gtest.h>

#include "TrainLayouts.h"
#include "catalog/TrackCatalog.h"
#include "trains/AdvanceTrain.h"
#include "trains/VehiclePoses.h"

namespace {

TrainSpec ThreeVehicles() { return {{150.0, 200.0, 120.0}, 3.0}; }

// Both ends of every vehicle stand within `tol` of where they stood.
void ExpectSamePlaces(const std::vector<VehiclePose>& got, const std::vector<VehiclePose>& want,
                      double tol) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_LT(Apart(got[i].front, want[i].front), tol) << i;
        EXPECT_LT(Apart(got[i].rear, want[i].rear), tol) << i;
    }
}

class OvalRun : public ::testing::Test {
protected:
    void SetUp() override {
        ids = BuildOval(doc);
        graph = BuildTrackGraph(doc);
        // The lap as the catalog measures it: the network's lengths must add up to it.
        for (uint32_t id : ids)
            lapMm += TrackCatalog::Instance().Find(doc.FindPiece(id)->article)->length;
    }
    LayoutDocument doc;
    std::vector<uint32_t> ids;
    TrackGraph graph;
    double lapMm = 0;
};

// One lap comes back to the starting pose; many small steps end where one big step ends.
TEST_F(OvalRun, OneLapComesBackToTheStartAndStepsAddUp) {
    TrainState state = PlaceTrain(graph, {ids[3], 0}, 40.0);
    ASSERT_TRUE(state.Valid());
    const TrainSpec consist = ThreeVehicles();
    const LinePose head = HeadPose(graph, state);
    const std::vector<VehiclePose> before = VehiclePoses(graph, state, consist);
    const AdvanceResult r = AdvanceTrain(graph, {}, state, lapMm);
    EXPECT_EQ(r.reason, StopReason::None);
    EXPECT_NEAR(r.movedMm, lapMm, 1e-9);
    const LinePose after = HeadPose(graph, state);
    EXPECT_LT(Apart(after, head), 0.01);
    ExpectSamePlaces(VehiclePoses(graph, state, consist), before, 0.01);

    TrainState big = PlaceTrain(graph, {ids[1], 0}, 12.5), small = big;
    const double distance = 2.7 * lapMm;
    AdvanceTrain(graph, {}, big, distance);
    const int steps = 997;  // not a divisor of anything in the layout
    double moved = 0;
    for (int i = 0; i < steps; ++i)
        moved += AdvanceTrain(graph, {}, small, distance / steps).movedMm;
    EXPECT_NEAR(moved, distance, 1e-6);
    EXPECT_EQ(small.step, big.step);
    EXPECT_NEAR(small.alongMm, big.alongMm, 1e-6);
    ExpectSamePlaces(VehiclePoses(graph, small, consist), VehiclePoses(graph, big, consist), 1e-6);
}

TEST_F(OvalRun, TurningRoundTwiceGivesTheSameTrainBack) {
    TrainState state = PlaceTrain(graph, {ids[2], 0}, 30.0);
    AdvanceTrain(graph, {}, state, 900.0);
    const TrainSpec consist = ThreeVehicles();
    const auto before = VehiclePoses(graph, state, consist);
    ReverseTrain(graph, state, consist);
    EXPECT_TRUE(state.reversed);
    const auto turned = VehiclePoses(graph, state, consist);
    // Every vehicle stays where it stood and faces the same way.
    ExpectSamePlaces(turned, before, 0.01);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_NEAR(HeadingDiffDeg(turned[i].headingDeg, before[i].headingDeg), 0, 0.01) << i;
    // Now the train runs last vehicle first: the head is at the last car's far end.
    const LinePose head = HeadPose(graph, state);
    const VehiclePose& last = turned.back();
    const double reach = Apart(head, last.rear);
    EXPECT_NEAR(reach, 0.1 * consist.vehicleLengthsMm.back(), 0.5);
    ReverseTrain(graph, state, consist);
    EXPECT_FALSE(state.reversed);
    ExpectSamePlaces(VehiclePoses(graph, state, consist), before, 0.01);
}

// A line of three straights from the left, ending in a bumper, and one ending open.
TEST(LineEnd, HeadStopsAtTheBuffersEndOrExactlyAtAnOpenEndAndNeverRunsBackwards) {
    LayoutDocument doc;
    TrackBuilder t(doc);
    const std::vector<uint32_t> ids = t.Line(kStraight, 3, 30.0);
    const uint32_t bumperId = t.Attach(kBumper, ids.back(), 1);
    const std::vector<uint32_t> open = t.Line(kStraight, 3);
    const TrackGraph graph = BuildTrackGraph(doc);

    TrainState state = PlaceTrain(graph, {ids[0], 0}, 10.0);
    const AdvanceResult r = AdvanceTrain(graph, {}, state, 5000.0);
    EXPECT_EQ(r.reason, StopReason::BufferStop);
    EXPECT_EQ(state.step.piece, bumperId);
    // At the buffer's end: the bumper's catalog length along its heading from its connector.
    const PlacedPiece& bumper = *doc.FindPiece(bumperId);
    const double length = TrackCatalog::Instance().Find(kBumper)->length;
    LinePose head = HeadPose(graph, state);
    EXPECT_LT(std::hypot(head.x - bumper.x - CosDeg(bumper.heading) * length,
                         head.y - bumper.y - SinDeg(bumper.heading) * length),
              0.1);
    EXPECT_NEAR(r.movedMm, 3 * 188.3 - 10.0 + length, 0.1);

    state = PlaceTrain(graph, {open[0], 0}, 0.0);
    const AdvanceResult o = AdvanceTrain(graph, {}, state, 1000.0);
    EXPECT_EQ(o.reason, StopReason::OpenEnd);
    EXPECT_NEAR(o.movedMm, 3 * 188.3, 1e-6);
    const ConnectorPose end =
        GetConnectorPose(*doc.FindPiece(open.back()), *TrackCatalog::Instance().Find(kStraight), 1);
    head = HeadPose(graph, state);
    EXPECT_LT(Apart(head, end), 0.01);
    TrainState mid = PlaceTrain(graph, {open[1], 0}, 50.0);
    EXPECT_EQ(AdvanceTrain(graph, {}, mid, -20.0).movedMm, 0.0);
    EXPECT_EQ(mid.alongMm, 50.0);
}

// A left turnout with a straight on its root, a straight on its through leg and one on its
// diverging leg.
class TurnoutRun : public ::testing::Test {
protected:
    void SetUp() override {
        TrackBuilder t(doc);
        approach = t.Place(kStraight, -188.3, 0, 0);
        turnout = t.Attach(kLeftTurnout, approach, 1);
        through = t.Attach(kStraight, turnout, 1);
        diverging = t.Attach(kStraight, turnout, 2);
        graph = BuildTrackGraph(doc);
    }
    LayoutDocument doc;
    uint32_t approach = 0, turnout = 0, through = 0, diverging = 0;
    TrackGraph graph;
};

TEST_F(TurnoutRun, LeavingByTheRootTakesTheSetLeg) {
    TrainState unset = PlaceTrain(graph, {approach, 0}, 0);
    AdvanceTrain(graph, {}, unset, 430.0);
    EXPECT_EQ(unset.step.piece, through);

    SwitchSettings switches;
    switches.legs[turnout] = 2;
    TrainState set = PlaceTrain(graph, {approach, 0}, 0);
    AdvanceTrain(graph, switches, set, 300.0);
    EXPECT_EQ(set.step.piece, turnout);
    EXPECT_EQ(set.step.exit, 2);
    AdvanceTrain(graph, switches, set, 200.0);
    EXPECT_EQ(set.step.piece, diverging);
    // The diverging track lies off the through line.
    const LinePose head = HeadPose(graph, set);
    EXPECT_GT(std::abs(head.y), 20.0);
}

TEST_F(TurnoutRun, EnteringByTheLegNotSetStopsWhereItMeetsTheTurnout) {
    TrainState state = PlaceTrain(graph, {diverging, 1}, 20.0);  // heading back to the turnout
    const AdvanceResult r = AdvanceTrain(graph, {}, state, 500.0);
    EXPECT_EQ(r.reason, StopReason::AgainstSwitch);
    EXPECT_EQ(state.step.piece, diverging);
    const PlacedPiece& t = *doc.FindPiece(turnout);
    const ConnectorPose leg = GetConnectorPose(t, *TrackCatalog::Instance().Find(kLeftTurnout), 2);
    const LinePose head = HeadPose(graph, state);
    EXPECT_LT(Apart(head, leg), 0.01);
    // Set for that leg, the same train runs through onto the root's track.
    SwitchSettings switches;
    switches.legs[turnout] = 2;
    const AdvanceResult on = AdvanceTrain(graph, switches, state, 300.0);
    EXPECT_EQ(on.reason, StopReason::None);
    EXPECT_EQ(state.step.piece, approach);
}

TEST_F(TurnoutRun, VehiclesFollowTheWayTheyCameWhenTheTurnoutIsThrownUnderThem) {
    SwitchSettings switches;
    switches.legs[turnout] = 2;
    TrainState state = PlaceTrain(graph, {approach, 0}, 0);
    AdvanceTrain(graph, switches, state, 188.3 + 188.3 + 120.0);
    ASSERT_EQ(state.step.piece, diverging);
    const TrainSpec consist = ThreeVehicles();
    const auto before = VehiclePoses(graph, state, consist);
    switches.legs[turnout] = 1;
    ExpectSamePlaces(VehiclePoses(graph, state, consist), before, 1e-9);
    // Turned round, it backs out the way it came: the locomotive, now at the far end, is still
    // drawn back over the diverging leg although the turnout is set for the other one.
    ReverseTrain(graph, state, consist);
    ASSERT_EQ(state.step.piece, approach);
    const AdvanceResult r = AdvanceTrain(graph, switches, state, 15.0);
    EXPECT_EQ(r.reason, StopReason::None);
    const auto backing = VehiclePoses(graph, state, consist);
    const VehiclePose& loco = backing.front();
    EXPECT_LT(DistanceToTrack(graph, loco.front.x, loco.front.y), 0.5);
    EXPECT_GT(std::abs(loco.front.y), 20.0);
    EXPECT_LT(HeadingDiffDeg(loco.headingDeg, before.front().headingDeg), 3.0);  // facing as before
}

TEST(SwitchSettingsTest, ThrowingCyclesThroughTheLegsOfTurnoutsOnly) {
    LayoutDocument doc;
    TrackBuilder t(doc);
    const uint32_t turnout = t.Place(kLeftTurnout);
    const uint32_t straight = t.Attach(kStraight, turnout, 1);
    const TrackGraph graph = BuildTrackGraph(doc);
    SwitchSettings switches;
    EXPECT_EQ(SetLeg(switches, turnout), 1);
    EXPECT_TRUE(ThrowSwitch(graph, switches, turnout));
    EXPECT_EQ(SetLeg(switches, turnout), 2);
    EXPECT_TRUE(ThrowSwitch(graph, switches, turnout));
    EXPECT_EQ(SetLeg(switches, turnout), 1);
    EXPECT_FALSE(ThrowSwitch(graph, switches, straight));
    EXPECT_FALSE(switches.legs.contains(straight));
}

}  // namespace
