// The N-scale tables (Kato Unitrack N and Minitrix N) against the makers' published geometry:
// circles close, turnout legs end where their radius, angle, lead and extension put them, and
// paired turnouts and double-track pieces lie at the systems' track spacing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "model/PlacedPiece.h"
#include "trackgeometry/ConnectorJoins.h"
#include "trackgeometry/TrackRoutes.h"

namespace {

const PieceDef& Def(const char* article) {
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    EXPECT_NE(def, nullptr) << article;
    static const PieceDef none;
    return def ? *def : none;
}

ConnectorPose Exit(const PieceDef& def, const PiecePose& pose, int connector) {
    PlacedPiece p;
    p.x = pose.x;
    p.y = pose.y;
    p.heading = pose.heading;
    return GetConnectorPose(p, def, connector);
}

// Laying 360 / A curves of one radius end to end comes back onto the first curve's start.
TEST(NScaleTables, EveryCurveClosesItsCircle) {
    int curves = 0;
    for (const PieceDef& def : TrackCatalog::Instance().pieces) {
        if (def.system != TrackSystem::KatoN && def.system != TrackSystem::MinitrixN) continue;
        if (def.kind != PieceKind::Curve) continue;
        SCOPED_TRACE(def.article);
        ++curves;
        const double pieces = 360 / def.angle;
        ASSERT_NEAR(pieces, std::round(pieces), 1e-9);
        const ConnectorPose start{0, 0, 180, true, 0};
        ConnectorPose end = start;
        end.heading = 0;
        for (int i = 0; i < std::lround(pieces); ++i)
            end = Exit(def, AlignToConnector(def, 0, end), 1);
        EXPECT_NEAR(end.x, 0, 0.01);
        EXPECT_NEAR(end.y, 0, 0.01);
        EXPECT_NEAR(HeadingDiffDeg(end.heading, 0), 0, 0.01);
        // The arc length the tally and the gap closer use.
        EXPECT_NEAR(def.length * pieces, 2 * kPi * def.radius, 0.01);
    }
    EXPECT_EQ(curves, 17 + 6 + 11);  // Kato curves and curved viaducts, Minitrix curves
}

// Diverging ends from the makers' figures: radius, angle, the straight before and after the arc,
// for the right-hand leg and its left-hand twin. Where the sources give the end it is checked too.
TEST(NScaleTables, TurnoutLegsEndWhereTheirArcsPutThem) {
    const struct {
        const char *right, *left;
        int rightConnector, leftConnector;
        double straight, radius, angle, lead, extension;
        double fileX, fileY, fileTol;  // the end as the sources give it (0: not given)
    } cases[] = {
        {"20-203", "20-202", 2, 2, 186, 718, 15, 0, 0, 186.0, 24.5, 0.2},
        {"20-221", "20-220", 2, 2, 126, 481, 15, 0, 0, 0, 0, 0},
        {"20-241", "20-240", 2, 2, 124, 150, 45, 0, 0, 106.1, 43.9, 0.05},
        {"20-222", "20-222", 1, 2, 0, 481, 15, 0, 0, 0, 0, 0},
        {"14963", "14961", 2, 2, 104.2, 152.4, 24, 8.97, 8.97, 79.15, 16.82, 0.02},
        {"14937", "14936", 2, 2, 112.6, 294.5, 15, 8.97, 26.17, 110.46, 16.81, 0.02},
        {"14940", "14940", 2, 3, 112.6, 294.5, 15, 8.97, 26.17, 110.46, 16.81, 0.02},
        // Curved turnouts: the inner and the outer route each end as their arcs from the points.
        {"14967", "14966", 1, 1, 0, 194.6, 42, 0, 0, 130.21, 49.98, 0.02},
        {"14967", "14966", 2, 2, 0, 228.2, 42, 0, 0, 152.70, 58.61, 0.02},
        {"14971", nullptr, 1, 0, 0, 295.5, 30, 8.97, 8.97, 164.50, 44.08, 0.02},
        {"14971", "14970", 2, 2, 0, 292.7, 30, 27.17, 8.97, 181.30, 43.70, 0.02},
    };
    for (const auto& c : cases)
        for (const int side : {1, -1}) {
            const char* article = side > 0 ? c.right : c.left;
            const int connector = side > 0 ? c.rightConnector : c.leftConnector;
            if (!article) continue;
            SCOPED_TRACE(testing::Message() << article << " connector " << connector);
            const PieceDef& def = Def(article);
            ASSERT_GT(def.connectors.size(), static_cast<size_t>(connector));
            const Connector& end = def.connectors[connector];
            const double a = c.angle / 180 * kPi;
            const double x = c.lead + c.radius * std::sin(a) + c.extension * std::cos(a);
            const double y = c.radius * (1 - std::cos(a)) + c.extension * std::sin(a);
            // The curved turnouts' table ends are rounded to 0.01 mm.
            EXPECT_NEAR(end.x, x, 0.02);
            EXPECT_NEAR(end.y, side * y, 0.02);
            EXPECT_NEAR(end.heading, side > 0 ? c.angle : 360 - c.angle, 1e-9);
            if (c.fileTol > 0) {
                EXPECT_NEAR(end.x, c.fileX, c.fileTol);
                EXPECT_NEAR(std::abs(end.y), c.fileY, c.fileTol);
            }
            if (c.straight > 0) {
                EXPECT_DOUBLE_EQ(def.connectors[1].x, c.straight);
                EXPECT_DOUBLE_EQ(def.connectors[1].y, 0);
                EXPECT_DOUBLE_EQ(def.length, c.straight);
            }
        }
}

// Two turnouts joined by their diverging legs: the distance between their straight routes.
double CrossoverSpacing(const char* first, const char* second) {
    const PieceDef& a = Def(first);
    const PieceDef& b = Def(second);
    const ConnectorPose branch = Exit(a, {0, 0, 0}, 2);
    const PiecePose pose = AlignToConnector(b, 2, branch);
    const ConnectorPose through = Exit(b, pose, 0);
    EXPECT_NEAR(HeadingDiffDeg(through.heading, 0), 0, 1e-9);  // parallel, facing on
    return through.y;
}

TEST(NScaleTables, TurnoutPairsAndDoubleTrackLieAtTheTrackSpacing) {
    // Kato's #4 turnouts make its 33 mm crossover (the R481 arcs give 32.8, which the joiners
    // take up); the #6 pair lies further apart, as on the real track.
    EXPECT_NEAR(CrossoverSpacing("20-221", "20-221"), 33.0, 0.25);
    EXPECT_NEAR(CrossoverSpacing("20-203", "20-203"), 48.9, 0.05);
    EXPECT_NEAR(CrossoverSpacing("14937", "14937"), 33.6, 0.05);
    EXPECT_NEAR(CrossoverSpacing("14936", "14936"), -33.6, 0.05);
    for (const char* article : {"20-004", "20-012", "20-023", "20-042", "20-043", "20-401",
                                "20-411", "20-422", "20-210", "20-230", "20-231"}) {
        SCOPED_TRACE(article);
        const PieceDef& def = Def(article);
        ASSERT_EQ(def.connectors.size(), 4u);
        EXPECT_EQ(def.connectors[2].y, 33);
        EXPECT_EQ(def.connectors[3].y, 33);
        EXPECT_EQ(def.connectors[3].x, def.length);
        EXPECT_EQ(def.connectors[2].heading, 180);
        EXPECT_EQ(def.connectors[3].heading, 0);
    }
    // The double crossover links the tracks both ways, the single ones one way each.
    const struct {
        const char* article;
        std::vector<std::pair<int, int>> diagonals;
    } crossovers[] = {{"20-210", {{0, 3}, {2, 1}}}, {"20-231", {{0, 3}}}, {"20-230", {{2, 1}}}};
    for (const auto& c : crossovers) {
        std::vector<std::pair<int, int>> diagonals;
        for (const TrackRoute& r : PieceRoutes(PlacedPiece{}, Def(c.article)))
            if (r.to != r.from + 1) diagonals.emplace_back(r.from, r.to);
        EXPECT_EQ(diagonals, c.diagonals) << c.article;
    }
    // The Minitrix radii step by the track spacing.
    EXPECT_NEAR(Def("14922").radius - Def("14912").radius, 33.6, 1e-9);
    EXPECT_NEAR(Def("14927").radius - Def("14917").radius, 33.6, 1e-9);
    EXPECT_NEAR(Def("14928").radius - Def("14918").radius, 33.6, 1e-9);
}

// Crossings and slips: both routes straight, crossing at the article's angle; the 15 degree Kato
// crossings span the two #6 branch ends.
TEST(NScaleTables, CrossingsCrossAtTheirAngle) {
    const struct {
        const char* article;
        double angle;
    } cases[] = {{"14958", 30},  {"14973", 15},     {"14968", 30},     {"14960", 15},
                 {"20-320", 90}, {"20-300", 14.76}, {"20-301", -14.76}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.article);
        const PieceDef& def = Def(c.article);
        ASSERT_EQ(def.connectors.size(), 4u);
        const Connector& from = def.connectors[2];
        const Connector& to = def.connectors[3];
        EXPECT_NEAR(std::atan2(to.y - from.y, to.x - from.x) * 180 / kPi, c.angle, 0.01);
        EXPECT_NEAR(from.x + to.x, def.length, 1e-9);
        EXPECT_NEAR(from.y, -to.y, 1e-9);
    }
    EXPECT_NEAR(Def("20-300").connectors[3].y, -Def("20-202").connectors[2].y, 0.05);
    EXPECT_NEAR(Def("20-300").connectors[3].x, Def("20-202").connectors[2].x, 0.2);
}

}  // namespace
