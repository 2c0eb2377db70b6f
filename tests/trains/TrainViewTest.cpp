// The trains in 3D: vehicle models placed on their bogies, and the cab and follow cameras that
// turn smoothly where the track bends.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "base/Geometry.h"
#include "view3d/TrainCameras.h"
#include "view3d/TrainModels.h"
#include "view3d/TrainScene.h"

namespace {

struct Extent {
    Vec3 lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
};
Extent ExtentOf(const Mesh& m) {
    Extent e;
    for (size_t i = 0; i + 2 < m.positions.size(); i += 3) {
        const Vec3 p{m.positions[i], m.positions[i + 1], m.positions[i + 2]};
        e.lo = {std::min(e.lo.x, p.x), std::min(e.lo.y, p.y), std::min(e.lo.z, p.z)};
        e.hi = {std::max(e.hi.x, p.x), std::max(e.hi.y, p.y), std::max(e.hi.z, p.z)};
    }
    return e;
}

TEST(TrainModelsTest, AVehicleIsItsLengthWidthAndHeight) {
    const VehicleLook look{230.0, 34.0, 47.0, true};
    const Mesh m = BuildVehicleMesh(look);
    const Extent e = ExtentOf(m);
    EXPECT_NEAR(e.hi.x - e.lo.x, 230.0, 0.5);
    EXPECT_NEAR(e.hi.y - e.lo.y, 34.0, 1e-4);
    EXPECT_NEAR(e.lo.z, 0.0, 1e-6);  // the bogies stand on the rail head
    EXPECT_NEAR(e.hi.z, 47.0, 1e-4);
}

// The window draws one model per vehicle size through this transform every frame; the mesh
// placed vertex by vertex is the reference. A placed vehicle stands between its bogies on the
// rail head and tilts with the grade.
TEST(TrainModelsTest, AVehicleTransformIsRigidAndPutsTheSharedModelWhereItsPoseSays) {
    const Mesh model = BuildVehicleMesh({180.0, 30.0, 40.0, true});
    for (const auto& [frontZ, rearZ, bunched] :
         {std::tuple{10.0, 10.0, false}, {25.0, 5.0, false}, {8.0, 8.0, true}}) {
        VehiclePose pose;
        pose.front = {120, -40};
        pose.rear =
            bunched ? pose.front : PointMm{120 - 150 * CosDeg(-50), -40 - 150 * SinDeg(-50)};
        pose.headingDeg = -50;
        pose.frontHeightMm = frontZ;
        pose.rearHeightMm = rearZ;
        const std::array<float, 16> m = VehicleTransform(pose, 6.7);
        // Columns 0 to 2 are unit and at right angles: the model keeps its size and shape.
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                EXPECT_NEAR(
                    m[4 * a] * m[4 * b] + m[4 * a + 1] * m[4 * b + 1] + m[4 * a + 2] * m[4 * b + 2],
                    a == b ? 1.0 : 0.0, 1e-5)
                    << a << b;
        Mesh placed;
        AddPlacedVehicle(placed, model, pose, 6.7);
        ASSERT_EQ(placed.VertexCount(), model.VertexCount());
        for (size_t v = 0; v < model.VertexCount(); ++v) {
            const float* p = &model.positions[3 * v];
            for (int k = 0; k < 3; ++k)
                ASSERT_NEAR(m[12 + k] + p[0] * m[k] + p[1] * m[4 + k] + p[2] * m[8 + k],
                            placed.positions[3 * v + k], 1e-3);
        }
        // Up is up: the roof stays above the bogies whatever the grade; the nose rises with it.
        EXPECT_GT(m[10], 0.9);
        EXPECT_EQ(m[2] > 1e-3, frontZ > rearZ);
        if (frontZ == rearZ && !bunched) {
            // On level track the body's centre lies over the midpoint of the bogies (world y is
            // minus layout y) and its bogies stand on the rail head.
            const Extent e = ExtentOf(placed);
            EXPECT_NEAR((e.lo.x + e.hi.x) / 2, (pose.front.x + pose.rear.x) / 2, 1e-3);
            EXPECT_NEAR((e.lo.y + e.hi.y) / 2, -(pose.front.y + pose.rear.y) / 2, 1e-3);
            EXPECT_NEAR(e.lo.z, frontZ + 6.7, 1e-3);
        }
    }
}

// A track that runs straight east, turns south on a quarter circle of radius 360 mm and runs on
// south, as
// the head of a train meets it frame after frame.
LinePose OnTrack(double s) {
    constexpr double kStraightMm = 1000, kRadius = 360;
    if (s <= kStraightMm) return {s, 0, 0, 0, 0};
    const double arc = kRadius * kPi / 2;
    if (s > kStraightMm + arc)
        return {kStraightMm + kRadius, kRadius + s - kStraightMm - arc, 0, 90, 0};
    const double a = (s - kStraightMm) / kRadius;
    return {kStraightMm + kRadius * std::sin(a), kRadius - kRadius * std::cos(a), 0, RadToDeg(a),
            0};
}

double YawDeg(const CameraView& v) {
    return RadToDeg(std::atan2(v.target.y - v.eye.y, v.target.x - v.eye.x));
}

TEST(TrainCamerasTest, CabViewTurnsSmoothlyIntoACurveAndLooksAlongTheStraight) {
    CameraEasing easing(0.35, false);
    constexpr double kStepMm = 9.0, kAheadMm = 500, kEye = 37;
    double largestTurn = 0, lastYaw = 0;
    for (double s = 0; s < 1400; s += kStepMm) {
        const CameraView v =
            easing.Ease(CabView(OnTrack(s), OnTrack(s + kAheadMm), kEye), 1.0 / 30);
        // The eye rides on the train, at the driver's height.
        EXPECT_NEAR(v.eye.x, OnTrack(s).x, 1e-9);
        EXPECT_NEAR(v.eye.z, kEye, 1e-9);
        const double yaw = YawDeg(v);
        if (s > 0)
            largestTurn = std::max(largestTurn, std::abs(std::remainder(yaw - lastYaw, 360.0)));
        lastYaw = yaw;
        if (s < 400) {
            EXPECT_NEAR(yaw, 0.0, 1e-9);  // along the straight, exactly ahead
        }
    }
    // The track's own heading turns 90 degrees within 62 frames; the view never jumps.
    EXPECT_LT(largestTurn, 2.5);
    EXPECT_GT(largestTurn, 0.1);
}

// On a curve the locomotive's body is a chord of the track, and its front face turns across the
// cab camera's picture: the camera stands inside it, the car behind is well away.
TEST(TrainCamerasTest, TheCabEyeStandsInsideItsOwnLocomotiveNotTheCarBehind) {
    constexpr double kRailTop = 6.7, kHead = 1250;
    const auto placed = [&](double frontS, double lengthMm) {
        const LinePose front = OnTrack(frontS), rear = OnTrack(frontS - 0.8 * lengthMm);
        VehiclePose pose;
        pose.front = {front.x, front.y};
        pose.rear = {rear.x, rear.y};
        pose.headingDeg = RadToDeg(std::atan2(front.y - rear.y, front.x - rear.x));
        PlacedVehicle v;
        v.lengthMm = lengthMm;
        v.widthMm = 34;
        v.heightMm = 48;
        v.transform = VehicleTransform(pose, kRailTop);
        return v;
    };
    const PlacedVehicle locomotive = placed(kHead - 20, 200), car = placed(kHead - 230, 200);
    const Vec3 eye = CabView(OnTrack(kHead), OnTrack(kHead + 300), kRailTop + 38).eye;
    EXPECT_TRUE(VehicleAroundEye(locomotive, eye, 10));
    EXPECT_FALSE(VehicleAroundEye(car, eye, 10));
    // Well above the roof the eye is outside it again.
    EXPECT_FALSE(VehicleAroundEye(locomotive, {eye.x, eye.y, eye.z + 30}, 10));
}

TEST(TrainCamerasTest, EasingTakesTheShortWayRoundAndJumpsToAFarView) {
    CameraEasing easing(0.2, true);
    const CameraView east{{0, 0, 10}, {100, -1, 10}};  // just south of east
    const CameraView west{{0, 0, 10}, {100, 1, 10}};   // just north of east
    easing.Ease(east, 0.03);
    const CameraView eased = easing.Ease(west, 0.03);
    EXPECT_GT(eased.target.x, 99.0);  // it did not swing round through the west
    const CameraView far{{5000, 0, 10}, {5100, 0, 10}};
    const CameraView jumped = easing.Ease(far, 0.03);
    EXPECT_NEAR(jumped.eye.x, 5000.0, 1e-9);
    EXPECT_NEAR(jumped.target.x, 5100.0, 1e-9);
}

TEST(TrainCamerasTest, FollowViewStandsBehindAndAboveLookingAtTheHead) {
    const LinePose head{100, 200, 30, 90, 0};  // heading down the layout: world -y
    const CameraView v = FollowView(head, 400, 150);
    EXPECT_NEAR(v.target.x, 100, 1e-9);
    EXPECT_NEAR(v.target.y, -200, 1e-9);
    EXPECT_NEAR(v.eye.x, 100, 1e-9);
    EXPECT_NEAR(v.eye.y, -200 + 400, 1e-9);
    EXPECT_NEAR(v.eye.z, 30 + 150, 1e-9);
}

}  // namespace
