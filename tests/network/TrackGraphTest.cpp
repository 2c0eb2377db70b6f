// The track network on track built from catalog pieces: routes through each kind of piece, the
// one step and its stops, the shortest route, the geometry along a route and the reuse of
// unchanged pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "model/TrackBuilder.h"
#include "network/TrackGraph.h"

namespace {

const PieceDef& Def(const std::string& article) { return *TrackCatalog::Instance().Find(article); }

std::set<int> Exits(const std::vector<PieceRouteRef>& routes) {
    std::set<int> exits;
    for (const PieceRouteRef& r : routes) exits.insert(r.exit);
    return exits;
}

// Every step of the route leaves its piece where the next step's piece is joined.
void ExpectConnected(const TrackGraph& g, const Route& route) {
    for (size_t i = 0; i + 1 < route.steps.size(); ++i) {
        const GraphEnd next = g.Joined({route.steps[i].piece, route.steps[i].exit});
        EXPECT_EQ(next, (GraphEnd{route.steps[i + 1].piece, route.steps[i + 1].entry})) << i;
    }
    double sum = 0;
    for (const RouteStep& s : route.steps) {
        EXPECT_NEAR(s.lengthMm, g.RouteLength(s.piece, s.entry, s.exit), 1e-9);
        sum += s.lengthMm;
    }
    EXPECT_NEAR(route.lengthMm, sum, 1e-6);
}

class TrackGraphTest : public ::testing::Test {
protected:
    LayoutDocument doc;
    TrackBuilder track{doc};
};

// Straight, curve, turnout leg, curve, straight: each step is as long as the catalog's track.
TEST_F(TrackGraphTest, RouteLengthsAreTheSumOfCentreLineLengths) {
    const std::vector<std::string> articles{"24188", "24130", "24612", "24230", "24094"};
    std::vector<uint32_t> ids{track.Place(articles[0])};
    for (size_t i = 1; i < articles.size(); ++i)
        ids.push_back(track.Attach(articles[i], ids.back(), i == 3 ? 2 : 1));
    const TrackGraph g = BuildTrackGraph(doc);
    const Route route = FindRoute(g, {ids.front(), 0}, {ids.back(), 1});
    ASSERT_EQ(route.steps.size(), ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        const PieceDef& d = Def(articles[i]);
        EXPECT_EQ(route.steps[i].piece, ids[i]);
        EXPECT_EQ(route.steps[i].exit, i == 2 ? 2 : 1);
        EXPECT_NEAR(
            route.steps[i].lengthMm,
            d.kind == PieceKind::Straight ? d.length : d.radius * std::fabs(d.angle) * kDegToRad,
            0.01)
            << articles[i];
    }
    ExpectConnected(g, route);
}

// Distances along the network are measured along the arcs, not the chords drawn for them, and
// every place along a curve lies on its circle.
TEST_F(TrackGraphTest, ACircleOfCurvesMeasuresItsArcs) {
    std::vector<uint32_t> ids{track.Place("24130")};
    for (int i = 1; i < 12; ++i) ids.push_back(track.Attach("24130", ids.back(), 1));
    track.Join(ids.back(), 1, ids.front(), 0);
    const TrackGraph g = BuildTrackGraph(doc);
    const double radius = Def("24130").radius;
    const Route lap = FindRoute(g, {ids[0], 0}, {ids[11], 1});
    EXPECT_NEAR(lap.lengthMm, 2261.95, 0.01);
    EXPECT_NEAR(FindRoute(g, {ids[0], 0}, {ids[5], 1}).lengthMm, 1130.97, 0.01);
    // The first curve starts at the origin heading along x: the centre is at (0, radius).
    const TrackRoute line = RouteLine(g, lap);
    EXPECT_NEAR(line.Length(), lap.lengthMm, 1e-9);
    for (double d = 0; d <= lap.lengthMm; d += 37.3) {
        const LinePose p = PoseAt(line, d);
        EXPECT_NEAR(std::hypot(p.x, p.y - radius), radius, 1e-6) << d;
        const double turned = d / radius / kDegToRad;
        EXPECT_NEAR(HeadingDiffDeg(p.headingDeg, turned), 0, 1e-6) << d;
    }
}

// Every route through a curve or a turnout measures the catalog's length of its track, and a
// curved turnout's outer track (a straight into the curve) leaves and arrives along its ends.
TEST_F(TrackGraphTest, RoutesThroughCatalogPiecesMeasureTheirTrack) {
    for (const PieceDef& def : TrackCatalog::Instance().pieces) {
        if (def.kind != PieceKind::Curve || def.radius <= 0 || def.isFlex) continue;
        LayoutDocument d;
        const uint32_t id = TrackBuilder(d).Place(def.article);
        EXPECT_NEAR(BuildTrackGraph(d).RouteLength(id, 0, 1), def.length, 0.01) << def.article;
    }
    const uint32_t curved = track.Place("24672");
    const TrackGraph g = BuildTrackGraph(doc);
    const TrackRoute outer = StepLine(g, curved, 0, 2);
    const Connector& end = Def("24672").connectors[2];
    // 77.5 mm of straight and a 30 degree curve of R1.
    EXPECT_NEAR(outer.Length(), 257.5 - 360 * 0.5 + 360 * kPi / 6, 0.5);
    double last = 0;
    for (double d = 0; d <= outer.Length(); d += 5) {
        const LinePose p = PoseAt(outer, d);
        // Turning one way only, never faster than the curve.
        EXPECT_GE(std::remainder(p.headingDeg - last, 360.0), -1e-9) << d;
        EXPECT_LE(std::remainder(p.headingDeg - last, 360.0), 5 / 359.0 / kDegToRad + 1e-6) << d;
        last = p.headingDeg;
    }
    const LinePose at = PoseAt(outer, outer.Length());
    EXPECT_NEAR(at.x, end.x, 1e-6);
    EXPECT_NEAR(at.y, end.y, 1e-6);
    EXPECT_NEAR(HeadingDiffDeg(at.headingDeg, end.heading), 0, 1e-6);
}

TEST_F(TrackGraphTest, EachKindOfPieceAllowsItsRoutes) {
    struct Case {
        std::string article;
        int entry;
        std::set<int> exits;
    };
    const std::vector<Case> cases{
        {"24188", 0, {1}},          {"24188", 1, {0}},          {"24130", 1, {0}},
        {"24611", 0, {1, 2}},       {"24611", 1, {0}},          {"24611", 2, {0}},
        {"24630", 0, {1, 2, 3}},    {"24630", 3, {0}},          {"24640", 0, {1}},
        {"24640", 2, {3}},          {"24640", 3, {2}},          {"24624", 0, {1, 3}},
        {"24624", 1, {0, 2}},       {"24624", 2, {1, 3}},       {"24624", 3, {0, 2}},
        {"24977", 0, {kBufferEnd}}, {"24977", kBufferEnd, {0}},
    };
    for (const Case& c : cases) {
        LayoutDocument d;
        const uint32_t id = TrackBuilder(d).Place(c.article);
        EXPECT_EQ(Exits(BuildTrackGraph(d).RoutesFrom(id, c.entry)), c.exits)
            << c.article << " from " << c.entry;
    }
    // A turntable's bridge joins any exit to every other exit, across the pit.
    const uint32_t table = track.Place("74862");
    const TrackGraph g = BuildTrackGraph(doc);
    const std::vector<PieceRouteRef> across = g.RoutesFrom(table, 0);
    EXPECT_EQ(across.size(), Def("74862").connectors.size() - 1);
    EXPECT_EQ(Exits(across).count(0), 0u);
    const TrackRoute opposite = StepLine(g, table, 0, 15);
    EXPECT_NEAR(opposite.Length(), 2 * Def("74862").radius, 1e-6);
    EXPECT_NEAR(g.RouteLength(table, 0, 15), opposite.Length(), 1e-6);
    EXPECT_NEAR(opposite.points.back().x, -opposite.points.front().x, 1e-6);
    // A bumper's route reaches its buffer: as long as the catalog says.
    const uint32_t bumper = track.Place("24977");
    EXPECT_NEAR(BuildTrackGraph(doc).RouteLength(bumper, 0, kBufferEnd), Def("24977").length, 1e-9);
}

TEST_F(TrackGraphTest, OneStepGivesTheJoinedEndOrNamesWhyItStops) {
    const uint32_t a = track.Place("24188");
    const uint32_t t = track.Attach("24611", a, 1);
    const uint32_t bumper = track.Attach("24977", t, 1);
    const uint32_t unknown = track.Place("no-such-article", 900, 0);
    track.Join(t, 2, unknown, 0);
    const TrackGraph g = BuildTrackGraph(doc);

    const TrackStep into = StepFrom(g, {a, 1});
    EXPECT_EQ(into.stop, StepStop::None);
    EXPECT_EQ(into.entered, (GraphEnd{t, 0}));
    EXPECT_EQ(Exits(into.routes), (std::set<int>{1, 2}));

    EXPECT_EQ(Exits(StepFrom(g, {t, 1}).routes), (std::set<int>{kBufferEnd}));
    EXPECT_EQ(StepFrom(g, {bumper, kBufferEnd}).stop, StepStop::BufferStop);

    EXPECT_EQ(StepFrom(g, {a, 0}).stop, StepStop::OpenEnd);
    EXPECT_EQ(StepFrom(g, {t, 2}).stop, StepStop::UnknownPiece);
    EXPECT_EQ(StepFrom(g, {12345, 0}).stop, StepStop::UnknownPiece);
}

TEST_F(TrackGraphTest, TurnoutLegsAreTakenOnlyWhereTheyAllowAndLoosePiecesHaveNoRoute) {
    // in -> turnout root; leg 1 -> straight, leg 2 -> diverging
    const uint32_t in = track.Place("24188");
    const uint32_t t = track.Attach("24611", in, 1);
    const uint32_t straight = track.Attach("24188", t, 1);
    const uint32_t diverging = track.Attach("24224", t, 2);
    const TrackGraph g = BuildTrackGraph(doc);

    const Route facing = FindRoute(g, {in, 0}, {diverging, 1});
    ASSERT_EQ(facing.steps.size(), 3u);
    EXPECT_EQ(facing.steps[1], (RouteStep{t, 0, 2, g.RouteLength(t, 0, 2)}));
    ExpectConnected(g, facing);
    // Backwards from one leg: out by the root, never over to the other leg.
    const Route trailing = FindRoute(g, {straight, 1}, {in, 0});
    ASSERT_EQ(trailing.steps.size(), 3u);
    EXPECT_EQ(trailing.steps[1].entry, 1);
    EXPECT_EQ(trailing.steps[1].exit, 0);
    EXPECT_TRUE(FindRoute(g, {straight, 1}, {diverging, 1}).steps.empty());
    // Between two pieces, whichever ends give a route: none from leg to leg.
    EXPECT_EQ(FindRouteBetween(g, diverging, in).steps.front().entry, 1);
    EXPECT_TRUE(FindRouteBetween(g, straight, diverging).steps.empty());
    // Nobody reverses inside a piece; unconnected pieces and ends that are not there have no
    // route.
    const uint32_t apart = track.Place("24188", 0, 500);
    const TrackGraph h = BuildTrackGraph(doc);
    for (const auto& [from, to] : std::vector<std::pair<GraphEnd, GraphEnd>>{{{in, 0}, {in, 0}},
                                                                             {{in, 0}, {apart, 1}},
                                                                             {{in, 0}, {99, 1}},
                                                                             {{in, 7}, {in, 1}},
                                                                             {{in, 0}, {in, 7}}}) {
        const Route r = FindRoute(h, from, to);
        EXPECT_TRUE(r.steps.empty());
        EXPECT_EQ(r.lengthMm, 0);
    }
}

// Two ways from one turnout to another: one straight on the diverging leg, three on the through
// leg. The route takes the shorter, whichever leg it is.
TEST_F(TrackGraphTest, FindsTheShorterOfTwoWays) {
    const uint32_t in = track.Place("24188");
    const uint32_t split = track.Attach("24611", in, 1);
    const uint32_t shortWay = track.Attach("24188", split, 2);
    const uint32_t merge = track.Attach("24612", shortWay, 1, 2);
    std::vector<uint32_t> longWay{track.Attach("24188", split, 1)};
    for (int i = 0; i < 2; ++i) longWay.push_back(track.Attach("24188", longWay.back(), 1));
    track.Join(longWay.back(), 1, merge, 1);
    const uint32_t out = track.Attach("24188", merge, 0);
    const TrackGraph g = BuildTrackGraph(doc);
    const Route route = FindRoute(g, {in, 0}, {out, 1});
    ExpectConnected(g, route);
    ASSERT_EQ(route.steps.size(), 5u);
    EXPECT_EQ(route.steps[2].piece, shortWay);
    EXPECT_NEAR(route.lengthMm,
                3 * Def("24188").length + g.RouteLength(split, 0, 2) + g.RouteLength(merge, 2, 0),
                1e-6);
    // Back from the far end over the long way when the short one is taken away.
    track[split].joints[2] = track[shortWay].joints[0] = {};
    EXPECT_EQ(FindRoute(BuildTrackGraph(doc), {out, 1}, {in, 0}).steps.size(), 7u);
}

TEST_F(TrackGraphTest, PosesAlongALineInEitherDirection) {
    const uint32_t a = track.Place("24188", 100, 50, 90, 20);
    track[a].grade = 2;
    const TrackGraph g = BuildTrackGraph(doc);
    const double rise = std::sin(2 * kDegToRad) * Def("24188").length;
    const TrackRoute forward = StepLine(g, a, 0, 1);
    const TrackRoute backward = StepLine(g, a, 1, 0);
    ASSERT_FALSE(forward.points.empty());
    for (double d : {0.0, 40.0, 188.3}) {
        const LinePose f = PoseAt(forward, d);
        EXPECT_NEAR(f.x, 100, 1e-9);
        EXPECT_NEAR(f.y, 50 + d, 1e-9);
        EXPECT_NEAR(f.headingDeg, 90, 1e-9);
        EXPECT_NEAR(f.heightMm, 20 + rise * d / 188.3, 1e-9);
        EXPECT_NEAR(f.gradePercent, rise / 188.3 * 100, 1e-9);
        const LinePose b = PoseAt(backward, 188.3 - d);
        EXPECT_NEAR(b.x, f.x, 1e-9);
        EXPECT_NEAR(b.y, f.y, 1e-9);
        EXPECT_NEAR(b.heightMm, f.heightMm, 1e-9);
        EXPECT_NEAR(b.headingDeg, 270, 1e-9);
        EXPECT_NEAR(b.gradePercent, -f.gradePercent, 1e-9);
    }
    // Beyond the ends the pose stays at the end.
    EXPECT_NEAR(PoseAt(forward, -10).y, 50, 1e-9);
    EXPECT_NEAR(PoseAt(forward, 1000).y, 50 + 188.3, 1e-9);
}

TEST_F(TrackGraphTest, ARebuildReusesUnchangedPiecesAndRereadsJoints) {
    const std::vector<uint32_t> ids = track.Line("24188", 5);
    const TrackGraph first = BuildTrackGraph(doc);
    EXPECT_EQ(first.reusedPieces, 0u);

    track[ids[2]].elevation = 30;
    doc.FindPiece(ids[3])->joints[0] = {};
    doc.FindPiece(ids[2])->joints[1] = {};
    const TrackGraph second = BuildTrackGraph(doc, &first);
    EXPECT_EQ(second.reusedPieces, ids.size() - 1);
    EXPECT_EQ(second.Find(ids[0]), first.Find(ids[0]));
    EXPECT_NE(second.Find(ids[2]), first.Find(ids[2]));
    EXPECT_NEAR(StepLine(second, ids[2], 0, 1).heights.front(), 30, 1e-9);
    EXPECT_EQ(StepFrom(second, {ids[2], 1}).stop, StepStop::OpenEnd);
    EXPECT_TRUE(FindRoute(second, {ids[0], 0}, {ids[4], 1}).steps.empty());
    // A removed piece is gone from the rebuilt graph.
    doc.pieces.erase(doc.pieces.begin() + 4);
    EXPECT_EQ(BuildTrackGraph(doc, &second).Find(ids[4]), nullptr);
}

}  // namespace
