// The piece builders, the catalog registry and the connector pose routine.
#include <gtest/gtest.h>

#include <cmath>

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

namespace {
constexpr auto C = TrackSystem::MarklinC;

TEST(PieceBuilders, CurveEndsOnItsArc) {
    PieceDef d = MakeCurve(C, "x", "x", 360, 30);
    ASSERT_EQ(d.connectors.size(), 2u);
    EXPECT_NEAR(d.connectors[1].x, 180.0, 0.01);
    EXPECT_NEAR(d.connectors[1].y, 48.23, 0.01);
    EXPECT_DOUBLE_EQ(d.connectors[1].heading, 30);
    EXPECT_NEAR(d.length, 188.5, 0.05);
    EXPECT_EQ(d.connectors[0].heading, 180);
    EXPECT_EQ(d.connectors[1].number, 1u);
}

TEST(PieceBuilders, TurnoutRuleMirrorsTheLeftBranch) {
    PieceDef left = MakeTurnoutByRule(C, "l", "l", PieceKind::LeftTurnout, 188.3, 437.5, 24.3);
    PieceDef right = MakeTurnoutByRule(C, "r", "r", PieceKind::RightTurnout, 188.3, 437.5, 24.3);
    ASSERT_EQ(left.connectors.size(), 3u);
    EXPECT_NEAR(left.connectors[2].x, 180.04, 0.01);
    EXPECT_NEAR(left.connectors[2].y, -38.76, 0.01);
    EXPECT_NEAR(left.connectors[2].heading, 335.7, 0.01);
    EXPECT_DOUBLE_EQ(left.angle, -24.3);
    EXPECT_NEAR(right.connectors[2].y, 38.76, 0.01);
    EXPECT_NEAR(right.connectors[2].heading, 24.3, 0.01);
    EXPECT_DOUBLE_EQ(right.angle, 24.3);
    EXPECT_DOUBLE_EQ(right.connectors[1].x, 188.3);
}

TEST(PieceBuilders, TurnoutBranchNeverReachesBeyondTheStraightEnd) {
    // R sin A = 437.5 sin 30 = 218.75 > 100: the branch end is clipped to x = 100.
    PieceDef d = MakeTurnoutByRule(C, "t", "t", PieceKind::RightTurnout, 100, 437.5, 30);
    const double b = std::asin(100.0 / 437.5);
    EXPECT_NEAR(d.connectors[2].x, 100, 1e-9);
    EXPECT_NEAR(d.connectors[2].y, (1 - std::cos(b)) * 437.5, 1e-9);
    EXPECT_NEAR(d.connectors[2].heading, b * 180 / 3.141592653589793, 1e-9);
}

TEST(PieceBuilders, BumperHasOneEnd) {
    PieceDef d = MakeBumper(C, "b", "b", 77.5);
    ASSERT_EQ(d.connectors.size(), 1u);
    EXPECT_EQ(d.kind, PieceKind::Bumper);
    EXPECT_EQ(d.connectors[0].heading, 180);
}

TEST(ConnectorPose, RotatesAndNormalisesHeadings) {
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
    EXPECT_NEAR(pose.x, 10 + 100 * std::cos(-10 * 3.141592653589793 / 180), 1e-9);
    EXPECT_NEAR(pose.y, 20 + 100 * std::sin(-10 * 3.141592653589793 / 180), 1e-9);
}

TEST(ConnectorPose, BadConnectorNumberGivesTheInvalidPose) {
    PieceDef straight = MakeStraight(C, "s", "s", 100);
    PlacedPiece p;
    p.x = 5;
    for (int bad : {-1, 2, 99}) {
        ConnectorPose pose = GetConnectorPose(p, straight, bad);
        EXPECT_EQ(pose.number, -1);
        EXPECT_EQ(pose.x, 0);
        EXPECT_EQ(pose.heading, 0);
        EXPECT_TRUE(pose.open);
    }
}

TEST(ConnectorPose, JoinedEndIsNotOpen) {
    PieceDef straight = MakeStraight(C, "s", "s", 100);
    PlacedPiece p;
    p.joints = {Joint{}, Joint{7, 0}};
    EXPECT_TRUE(GetConnectorPose(p, straight, 0).open);
    EXPECT_FALSE(GetConnectorPose(p, straight, 1).open);
}

TEST(TrackCatalog, LookupsOfUnknownKeysAndBadIndicesAreNull) {
    const TrackCatalog& cat = TrackCatalog::Instance();
    EXPECT_EQ(cat.Find(""), nullptr);
    EXPECT_EQ(cat.Find("99999"), nullptr);
    EXPECT_EQ(cat.At(-1), nullptr);
    EXPECT_EQ(cat.At(cat.Count()), nullptr);
    ASSERT_NE(cat.At(0), nullptr);
    EXPECT_EQ(cat.At(0)->article, "24188");
}

TEST(TrackSystemNames, FixedNamesAndFallbacks) {
    EXPECT_EQ(TrackSystemShortName(TrackSystem::MarklinC), "M\xC3\xA4rklin C");
    EXPECT_EQ(TrackSystemShortName(static_cast<TrackSystem>(42)), "Unknown");
    EXPECT_EQ(TrackSystemLongName(TrackSystem::TrixC), "TRIX C-Track");
    EXPECT_EQ(TrackSystemLongName(TrackSystem::KatoN), "Unknown");
    EXPECT_EQ(TrackSystemFolderKey(TrackSystem::MarklinK), "Marklin_K-Track");
    EXPECT_EQ(TrackSystemFolderKey(TrackSystem::MinitrixN), "Minitrix-Track");
}
}  // namespace
