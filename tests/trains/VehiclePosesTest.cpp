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
    return 0.1 * consist.vehicleLengthsMm[i] + consist.couplingGapMm +
           0.1 * consist.vehicleLengthsMm[i + 1];
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
    EXPECT_NEAR(Apart(poses[0].front, head), 0.1 * consist.vehicleLengthsMm[0], 1e-6);
    for (size_t i = 0; i < poses.size(); ++i) {
        const VehiclePose& p = poses[i];
        EXPECT_NEAR(Apart(p.front, p.rear), 0.8 * consist.vehicleLengthsMm[i], 1e-6);
        EXPECT_NEAR(HeadingDiffDeg(p.headingDeg, 17.0), 0, 1e-6);
        if (i + 1 < poses.size()) {
            const VehiclePose& next = poses[i + 1];
            EXPECT_NEAR(Apart(p.rear, next.front), WantedGap(consist, i), 1e-6);
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
            double turn = std::remainder(angle(poses[i].rear) - angle(poses[i + 1].front), 2 * kPi);
            EXPECT_NEAR(std::abs(turn) * radius, WantedGap(consist, i), 0.5) << frame << " " << i;
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

}  // namespace
