// The piece builders and the connector pose routine.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

namespace {
constexpr auto C = TrackSystem::MarklinC;

TEST(PieceBuilders, CurvesTurnoutsAndBumpers) {
    PieceDef curve = MakeCurve(C, "x", "x", 360, 30);
    ASSERT_EQ(curve.connectors.size(), 2u);
    EXPECT_NEAR(curve.connectors[1].x, 180.0, 0.01);
    EXPECT_NEAR(curve.connectors[1].y, 48.23, 0.01);
    EXPECT_DOUBLE_EQ(curve.connectors[1].heading, 30);
    EXPECT_NEAR(curve.length, 188.5, 0.05);

    PieceDef left = MakeTurnoutByRule(C, "l", "l", PieceKind::LeftTurnout, 188.3, 437.5, 24.3);
    PieceDef right = MakeTurnoutByRule(C, "r", "r", PieceKind::RightTurnout, 188.3, 437.5, 24.3);
    ASSERT_EQ(left.connectors.size(), 3u);
    EXPECT_NEAR(left.connectors[2].x, 180.04, 0.01);
    EXPECT_NEAR(left.connectors[2].y, -38.76, 0.01);
    EXPECT_NEAR(left.connectors[2].heading, 335.7, 0.01);
    EXPECT_DOUBLE_EQ(left.angle, -24.3);
    EXPECT_NEAR(right.connectors[2].y, 38.76, 0.01);
    EXPECT_NEAR(right.connectors[2].heading, 24.3, 0.01);
    EXPECT_DOUBLE_EQ(right.connectors[1].x, 188.3);

    // R sin A = 437.5 sin 30 = 218.75 > 100: the branch end is clipped to x = 100.
    PieceDef clipped = MakeTurnoutByRule(C, "t", "t", PieceKind::RightTurnout, 100, 437.5, 30);
    const double b = std::asin(100.0 / 437.5);
    EXPECT_NEAR(clipped.connectors[2].x, 100, 1e-9);
    EXPECT_NEAR(clipped.connectors[2].y, (1 - std::cos(b)) * 437.5, 1e-9);
    EXPECT_NEAR(clipped.connectors[2].heading, b / kDegToRad, 1e-9);

    PieceDef bumper = MakeBumper(C, "b", "b", 77.5);
    ASSERT_EQ(bumper.connectors.size(), 1u);
    EXPECT_EQ(bumper.connectors[0].heading, 180);
}

TEST(ConnectorPose, RotatesNormalisesAndRejectsBadNumbers) {
    PieceDef curve = MakeCurve(C, "c", "c", 360, 30);
    PlacedPiece p;
    p.heading = 350;
    ConnectorPose pose = GetConnectorPose(p, curve, 1);
    EXPECT_NEAR(pose.heading, 20, 1e-9);
    EXPECT_TRUE(pose.open);
    EXPECT_EQ(pose.number, 1);

    PieceDef straight = MakeStraight(C, "s", "s", 100);
    p.heading = -10;
    p.x = 10;
    p.y = 20;
    pose = GetConnectorPose(p, straight, 1);
    EXPECT_NEAR(pose.heading, 350, 1e-9);
    EXPECT_NEAR(pose.x, 10 + 100 * std::cos(-10 * kDegToRad), 1e-9);
    EXPECT_NEAR(pose.y, 20 + 100 * std::sin(-10 * kDegToRad), 1e-9);

    for (int bad : {-1, 2, 99}) {
        pose = GetConnectorPose(p, straight, bad);
        EXPECT_EQ(pose.number, -1);
        EXPECT_EQ(pose.x, 0);
        EXPECT_EQ(pose.heading, 0);
    }
    p.joints = {Joint{}, Joint{7, 0}};
    EXPECT_TRUE(GetConnectorPose(p, straight, 0).open);
    EXPECT_FALSE(GetConnectorPose(p, straight, 1).open);
}

}  // namespace
