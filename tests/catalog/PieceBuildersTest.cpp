// The connector pose routine; the builders' records are checked in TrackTablesTest.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

namespace {
constexpr auto C = TrackSystem::MarklinC;

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
