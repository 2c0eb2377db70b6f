// Where the vehicles of a train stand: on the centre line, at their spacing along the track.
#include <gtest/gtest.h>

#include "TrainLayouts.h"
#include "trains/AdvanceTrain.h"
#include "trains/VehiclePoses.h"

namespace {

TrainSpec Train(int cars) {
    TrainSpec consist{{230.0}, 4.0};
    for (int i = 0; i < cars; ++i) consist.vehicleLengthsMm.push_back(i % 2 ? 160.0 : 300.0);
    return consist;
}

// The distance along the track each vehicle's rear bogie keeps ahead of the next one's front.
double WantedGap(const TrainSpec& consist, size_t i) {
    return 0.1 * consist.vehicleLengthsMm[i] + consist.couplingGapMm + 0.1 * consist.vehicleLengthsMm[i + 1];
}

TEST(VehiclePosesTest, OnAStraightTheBogiesKeepTheirSpacing) {
    LayoutDocument doc;
    const std::vector<uint32_t> ids = TrackBuilder(doc).Line(kStraight, 12, 17.0);
    const TrackGraph graph = BuildTrackGraph(doc);
    TrainState state = PlaceTrain(graph, {ids[0], 0}, 0);
    AdvanceTrain(graph, {}, state, 1900.0);
    const TrainSpec consist = Train(5);
    const std::vector<VehiclePose> poses = VehiclePoses(graph, state, consist);
    ASSERT_EQ(poses.size(), consist.vehicleLengthsMm.size());
    const LinePose head = HeadPose(graph, state);
    EXPECT_NEAR(std::hypot(poses[0].front.x - head.x, poses[0].front.y - head.y),
                0.1 * consist.vehicleLengthsMm[0], 1e-6);
    for (size_t i = 0; i < poses.size(); ++i) {
        const VehiclePose& p = poses[i];
        EXPECT_NEAR(std::hypot(p.front.x - p.rear.x, p.front.y - p.rear.y),
                    0.8 * consist.vehicleLengthsMm[i], 1e-6);
        EXPECT_NEAR(HeadingDiffDeg(p.headingDeg, 17.0), 0, 1e-6);
        if (i + 1 < poses.size()) {
            const VehiclePose& next = poses[i + 1];
            EXPECT_NEAR(std::hypot(p.rear.x - next.front.x, p.rear.y - next.front.y),
                        WantedGap(consist, i), 1e-6);
        }
    }
}

// A full circle of twelve R1 curves: along the track is round the centre.
TEST(VehiclePosesTest, OnACircleEveryBogieIsOnTheCentreLineAtItsArcSpacing) {
    LayoutDocument doc;
    const std::vector<uint32_t> ids = TrackBuilder(doc).Line(kCurve, 12);
    TrackBuilder(doc).Join(ids.back(), 1, ids.front(), 0);
    const TrackGraph graph = BuildTrackGraph(doc);
    // The connectors are spread evenly round the circle: their mean is its centre.
    double cx = 0, cy = 0;
    for (uint32_t id : ids) {
        cx += doc.FindPiece(id)->x / ids.size();
        cy += doc.FindPiece(id)->y / ids.size();
    }
    const double radius = TrackCatalog::Instance().Find(kCurve)->radius;
    TrainState state = PlaceTrain(graph, {ids[4], 0}, 33.0);
    const TrainSpec consist = Train(3);
    for (int frame = 0; frame < 40; ++frame) {
        AdvanceTrain(graph, {}, state, 37.3);
        const std::vector<VehiclePose> poses = VehiclePoses(graph, state, consist);
        auto angle = [&](PointMm p) { return std::atan2(p.y - cy, p.x - cx); };
        for (size_t i = 0; i < poses.size(); ++i) {
            for (const PointMm& bogie : {poses[i].front, poses[i].rear})
                EXPECT_NEAR(std::hypot(bogie.x - cx, bogie.y - cy), radius, 0.5);
            if (i + 1 == poses.size()) continue;
            double turn = std::remainder(angle(poses[i].rear) - angle(poses[i + 1].front),
                                         2 * kPi);
            EXPECT_NEAR(std::abs(turn) * radius, WantedGap(consist, i), 0.5) << frame << " " << i;
        }
    }
}

TEST(VehiclePosesTest, BogiesStayOnTheTrackThroughTurnoutsAndCurves) {
    LayoutDocument doc;
    const std::vector<uint32_t> oval = BuildOval(doc);
    const TrackGraph graph = BuildTrackGraph(doc);
    TrainState state = PlaceTrain(graph, {oval[0], 0}, 0);
    const TrainSpec consist = Train(6);
    for (int frame = 0; frame < 120; ++frame) {
        AdvanceTrain(graph, {}, state, 41.0);
        for (const VehiclePose& p : VehiclePoses(graph, state, consist)) {
            EXPECT_LT(DistanceToTrack(graph, p.front.x, p.front.y), 0.5);
            EXPECT_LT(DistanceToTrack(graph, p.rear.x, p.rear.y), 0.5);
        }
    }
}

TEST(VehiclePosesTest, AtADeadEndBehindTheTrainTheLastVehiclesBunchUpAtIt) {
    LayoutDocument doc;
    const std::vector<uint32_t> ids = TrackBuilder(doc).Line(kStraight, 2);
    const TrackGraph graph = BuildTrackGraph(doc);
    const TrainState state = PlaceTrain(graph, {ids[0], 0}, 250.0);
    const std::vector<VehiclePose> poses = VehiclePoses(graph, state, Train(3));
    const PlacedPiece& first = *doc.FindPiece(ids[0]);
    for (const VehiclePose& p : poses) {
        EXPECT_GE(p.rear.x, first.x - 1e-9);  // nothing beyond the open end
        EXPECT_TRUE(std::isfinite(p.headingDeg));
    }
    EXPECT_NEAR(poses.back().rear.x, first.x, 1e-9);
}

TEST(VehiclePosesTest, OutlineIsCentredBetweenTheBogiesAndTurnedToThem) {
    VehiclePose pose;
    pose.front = {100, 50};
    pose.rear = {20, 110};  // 100 mm apart
    pose.headingDeg = NormalizeDeg(RadToDeg(std::atan2(-60.0, 80.0)));
    const auto c = VehicleOutline(pose, 125.0, 30.0);
    EXPECT_NEAR((c[0].x + c[2].x) / 2, 60.0, 1e-9);
    EXPECT_NEAR((c[0].y + c[2].y) / 2, 80.0, 1e-9);
    EXPECT_NEAR(std::hypot(c[0].x - c[3].x, c[0].y - c[3].y), 125.0, 1e-9);
    EXPECT_NEAR(std::hypot(c[0].x - c[1].x, c[0].y - c[1].y), 30.0, 1e-9);
    // The front edge lies ahead of the front bogie along the heading.
    const double ux = 0.8, uy = -0.6;
    EXPECT_NEAR(((c[0].x + c[1].x) / 2 - pose.front.x) * ux + ((c[0].y + c[1].y) / 2 - pose.front.y) * uy,
                12.5, 1e-9);
}

}  // namespace
