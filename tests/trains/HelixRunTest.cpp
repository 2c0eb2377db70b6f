// A train on the two-deck sample climbs the helix to the upper deck, and the cab and follow
// cameras ride up with it.
#include <gtest/gtest.h>

#include <cmath>

#include "catalog/HelixVariants.h"
#include "network/HelixTrack.h"
#include "resources/samples/SampleLayoutBuilder.h"
#include "trains/TrainSession.h"
#include "view3d/TrainCameras.h"

namespace {

TEST(HelixRun, ATrainClimbsTheTwoDeckHelixToTheUpperDeck) {
    LayoutDocument doc;
    for (SampleLayout& s : BuildSampleLayouts())
        if (s.name == "K-Track Two Decks") doc = std::move(s.doc);
    ASSERT_EQ(doc.helices.size(), 1u);
    const Helix helix = doc.helices.front();
    const HelixVariant& variant = *FindHelixVariant(helix.variant);
    // The lower deck's adapter joined to the inner bottom stub, and the upper deck's.
    const Joint down = doc.FindPiece(helix.bottomR1)->joints[1];
    const uint32_t upper = doc.FindPiece(helix.topR1)->joints[1].target;
    TrainSession session;
    session.SetNetwork(BuildTrackGraph(doc));
    uint32_t id = 0;
    const int away = 1 - static_cast<int>(down.targetConn);
    ASSERT_EQ(session.AddTrain(*TrainPresetsFor(87).front(), 1, {down.target, away}, 60.0, &id),
              "");
    session.SetSpeed(id, 120.0);
    session.SetRunning(id, true);

    CameraEasing cabEasing(0.3, false), followEasing(0.3, true);
    double lastHeight = -1, highest = 0;
    int onHelix = 0;
    std::vector<std::string> messages;
    for (int frame = 0; frame < 30 * 120 && messages.empty(); ++frame) {
        messages = session.Run(1.0 / 30);
        const SessionTrain& train = *session.Find(id);
        const LinePose head = HeadPose(session.Network(), train.state);
        if (IsHelixTrackId(train.state.step.piece)) {
            ++onHelix;
            EXPECT_NEAR(std::hypot(head.x - helix.x, head.y - helix.y), variant.radiusInner, 1e-6);
            EXPECT_GT(head.heightMm, lastHeight);
            // The cab's eye stands over the head all the way up; the follow camera rides above
            // the train.
            CameraView cab, follow;
            ASSERT_TRUE(TrainCameraView(session, id, true, 0, cabEasing, 1.0 / 30, &cab));
            ASSERT_TRUE(TrainCameraView(session, id, false, 0, followEasing, 1.0 / 30, &follow));
            EXPECT_NEAR(cab.eye.x, head.x, 1e-6);
            EXPECT_NEAR(cab.eye.y, -head.y, 1e-6);
            EXPECT_GT(cab.eye.z, head.heightMm);
            EXPECT_GT(follow.eye.z, head.heightMm);
        }
        lastHeight = head.heightMm;
        highest = std::max(highest, head.heightMm);
        if (train.state.step.piece == upper) break;
    }
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(session.Find(id)->state.step.piece, upper);
    EXPECT_GT(onHelix, 100);
    EXPECT_NEAR(highest, variant.rise, 1e-6);
}

}  // namespace
