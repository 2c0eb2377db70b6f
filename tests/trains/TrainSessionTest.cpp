// The session's trains: speeds in scale km/h, stops with a reason, collisions, and what an edit
// of the track does to them.
#include <gtest/gtest.h>

#include "TrainLayouts.h"
#include "trains/TrainSession.h"

namespace {

const TrainPreset& H0Preset() { return *TrainPresetsFor(87).front(); }

class OvalSession : public ::testing::Test {
protected:
    void SetUp() override {
        ids = BuildOval(doc);
        session.SetNetwork(BuildTrackGraph(doc));
    }
    uint32_t Add(uint32_t piece, int entry, double offset, int cars = 2) {
        uint32_t id = 0;
        EXPECT_EQ(session.AddTrain(H0Preset(), cars, {piece, entry}, offset, &id), "");
        return id;
    }
    LayoutDocument doc;
    std::vector<uint32_t> ids;
    TrainSession session;
};

TEST_F(OvalSession, TrainsRunningIntoEachOtherStopAndAreBothRinged) {
    const uint32_t a = Add(ids[0], 0, 100.0, 1);
    const uint32_t b = Add(ids[8], 1, 100.0, 1);  // on the far side, running the other way
    // A train cannot be put on another.
    EXPECT_NE(session.AddTrain(H0Preset(), 1, {ids[0], 0}, 80.0), "");
    EXPECT_EQ(session.Trains().size(), 2u);
    session.SetRunning(a, true);
    session.SetRunning(b, true);
    std::vector<std::string> messages;
    for (int frame = 0; frame < 30 * 60 && messages.empty(); ++frame)
        messages = session.Run(1.0 / 30);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("ran into"), std::string::npos) << messages[0];
    EXPECT_FALSE(session.AnyRunning());
    EXPECT_TRUE(session.Find(a)->collided);
    EXPECT_TRUE(session.Find(b)->collided);
    // Turned round, one runs away from the other without another collision.
    session.Reverse(a);
    session.SetRunning(a, true);
    EXPECT_TRUE(session.Run(0.2).empty());
    EXPECT_TRUE(session.Find(a)->running);
}

TEST_F(OvalSession, EditingTheTrackStopsTrainsAndTakesOffThoseOnRemovedPieces) {
    const uint32_t near = Add(ids[1], 0, 100.0, 1);
    const uint32_t far = Add(ids[10], 0, 100.0, 1);
    session.SetRunning(near, true);
    session.SetRunning(far, true);
    session.Run(0.1);
    // The piece under the train at the far side goes.
    const std::vector<uint32_t> under = session.Find(far)->occupied;
    ASSERT_FALSE(under.empty());
    doc.pieces.EraseIf([&](const PlacedPiece& p) { return p.id == under.front(); });
    for (PlacedPiece& p : doc.pieces)
        for (Joint& j : p.joints)
            if (j.target == under.front()) j = Joint{};
    EXPECT_EQ(session.SetNetwork(BuildTrackGraph(doc, &session.Network())), 1);
    EXPECT_EQ(session.Find(far), nullptr);
    ASSERT_NE(session.Find(near), nullptr);
    EXPECT_FALSE(session.Find(near)->running);
}

TEST(TrainSessionTest, IsPushedOnAtTheTrackEndAndStopsAtTheBufferWithItsReason) {
    LayoutDocument doc;
    TrackBuilder t(doc);
    const std::vector<uint32_t> ids = t.Line(kStraight, 6);
    t.Attach(kBumper, ids.back(), 1);
    TrainSession session;
    session.SetNetwork(BuildTrackGraph(doc));
    uint32_t id = 0;
    ASSERT_EQ(session.AddTrain(H0Preset(), 1, {ids[0], 0}, 0.0, &id), "");
    // Put on at the very start, it was pushed on until its last car stands on the track.
    const SessionTrain& train = *session.Find(id);
    for (const VehiclePose& p : train.poses) EXPECT_GT(p.rear.x, doc.FindPiece(ids[0])->x + 1.0);
    session.SetRunning(id, true);
    std::vector<std::string> messages;
    for (int frame = 0; frame < 600 && messages.empty(); ++frame) messages = session.Run(1.0 / 30);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], train.name + " stopped: buffer stop");
    EXPECT_FALSE(train.running);
}

// Ovals of H0 and both N systems: a train of the track's scale runs at its scale speed (100 km/h
// for half a second is 13.9 m full size, 159.7 mm in H0) and all the way round; a train of
// another scale is refused.
TEST(TrainSessionTest, TrainsRunRoundOvalsAtTheirScaleAndOtherScalesAreRefused) {
    const struct {
        const char *straight, *curve;
        int halfCircle, scale, otherScale;
    } ovals[] = {{kStraight, kCurve, 6, 87, 220},
                 {"20-000", "20-100", 4, 160, 87},
                 {"14904", "14912", 6, 160, 87}};
    for (const auto& o : ovals) {
        SCOPED_TRACE(o.straight);
        LayoutDocument doc;
        const std::vector<uint32_t> ids = BuildOval(doc, o.straight, o.curve, o.halfCircle);
        TrainSession session;
        session.SetNetwork(BuildTrackGraph(doc));
        EXPECT_NE(session.AddTrain(*TrainPresetsFor(o.otherScale).front(), 2, {ids[4], 0}, 0.0),
                  "");
        EXPECT_TRUE(session.Trains().empty());
        uint32_t id = 0;
        ASSERT_EQ(session.AddTrain(*TrainPresetsFor(o.scale).front(), 2, {ids[0], 0}, 5.0, &id),
                  "");
        session.SetSpeed(id, 100.0);
        session.SetRunning(id, true);
        const LinePose before = HeadPose(session.Network(), session.Find(id)->state);
        EXPECT_TRUE(session.Run(0.5).empty());
        const LinePose after = HeadPose(session.Network(), session.Find(id)->state);
        EXPECT_NEAR(Apart(after, before), 100.0 / 3.6 * 0.5 * 1000.0 / o.scale, 1e-6);
        for (int frame = 0; frame < 30 * 60; ++frame) EXPECT_TRUE(session.Run(1.0 / 30).empty());
        EXPECT_TRUE(session.Find(id)->running);
    }
}

TEST(TrainPresetsTest, EveryScaleHasTrainsOfTheSamePrototypesAtItsScale) {
    for (const int scale : {87, 220, 160}) {
        const auto presets = TrainPresetsFor(scale);
        ASSERT_EQ(presets.size(), 3u) << scale;
        for (const TrainPreset* p : presets) {
            const TrainSpec consist = MakeTrainSpec(*p, 4);
            ASSERT_EQ(consist.vehicleLengthsMm.size(), 5u);
            // Full-size vehicles run from 10 to 30 m.
            for (double mm : consist.vehicleLengthsMm) {
                EXPECT_GT(mm * scale, 10000.0);
                EXPECT_LT(mm * scale, 30000.0);
            }
        }
    }
}

}  // namespace
