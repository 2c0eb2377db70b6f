// Tests of the overview's route centre lines: where they lie, and when a piece is drawn as them.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "canvas/RouteLines.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/TrackRoutes.h"

namespace {

double Distance(PointMm a, PointMm b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The placed lines of a piece, one vector of points per line.
std::vector<std::vector<PointMm>> Placed(const PieceDef& def, const PlacedPiece& piece) {
    std::vector<PointMm> points;
    std::vector<uint32_t> starts;
    PlaceRouteLines(RouteLinesOf(def), piece, points, starts);
    starts.push_back(static_cast<uint32_t>(points.size()));
    std::vector<std::vector<PointMm>> lines;
    for (size_t k = 0; k + 1 < starts.size(); ++k)
        lines.emplace_back(points.begin() + starts[k], points.begin() + starts[k + 1]);
    return lines;
}

}  // namespace

// Every piece of every catalog, turned and moved: each line runs from one end of a route to its
// other end, and there is one line per route.
TEST(RouteLines, FollowEveryRouteOfEveryCatalogPieceFromEndToEnd) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    ASSERT_GT(catalog.Count(), 100);
    for (const PieceDef& def : catalog.pieces) {
        PlacedPiece piece;
        std::tie(piece.article, piece.x, piece.y, piece.heading) =
            std::tuple(def.article, 1234.5, -321.25, 137);
        const std::vector<TrackRoute> routes = PieceRoutes(piece, def);
        const auto lines = Placed(def, piece);
        ASSERT_EQ(lines.size(), routes.size()) << def.article;
        for (size_t k = 0; k < routes.size(); ++k) {
            ASSERT_GE(lines[k].size(), 2u) << def.article;
            EXPECT_LT(Distance(lines[k].front(), routes[k].points.front()), 1e-6) << def.article;
            EXPECT_LT(Distance(lines[k].back(), routes[k].points.back()), 1e-6) << def.article;
            // A few segments stand for the whole route: none strays far from it.
            for (const PointMm& p : lines[k]) {
                double nearest = 1e18;
                for (const PointMm& q : routes[k].points)
                    nearest = std::min(nearest, Distance(p, q));
                EXPECT_LT(nearest, 1e-6) << def.article;
            }
        }
    }
}

// Drawn as lines only where the piece is a few pixels long and its band a line anyway.
TEST(RouteLines, ChosenByTheLengthOfThePieceOnScreen) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    const PieceDef *straight = catalog.Find("24188"), *longStraight = catalog.Find("24360");
    const PieceDef* shortStraight = catalog.Find("24071");
    ASSERT_TRUE(straight && longStraight && shortStraight);
    const double below = (kRouteLinesBelowPx - 0.5) / 188.3;
    const double above = (kRouteLinesBelowPx + 0.5) / 188.3;
    EXPECT_TRUE(DrawnAsRouteLines(*straight, below));
    EXPECT_FALSE(DrawnAsRouteLines(*straight, above));
    // At the same zoom a longer piece still shows its band.
    EXPECT_FALSE(DrawnAsRouteLines(*longStraight, below));
    // A short piece whose band is wider than a line on screen keeps its band.
    EXPECT_FALSE(DrawnAsRouteLines(*shortStraight, 0.15));
    EXPECT_TRUE(BandDrawnAsLine(BandHalfWidth(*straight), below));
}

// A record at the same address with other geometry gets lines of its own.
TEST(RouteLines, FollowADefinitionThatChangedInPlace) {
    PieceDef def = MakeStraight(TrackSystem::MarklinC, "test-straight", "test", 100);
    EXPECT_NEAR(RouteLinesOf(def).spanMm, 100, 1e-9);
    def = MakeStraight(TrackSystem::MarklinC, "test-straight", "test", 250);
    EXPECT_NEAR(RouteLinesOf(def).spanMm, 250, 1e-9);
    EXPECT_NEAR(RouteLinesOf(def).points.back().x, 250, 1e-9);
}
