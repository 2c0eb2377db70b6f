// Track, bridge, bumper and scenery models and the baseboard triangulation, without a window;
// then every model the 3D view draws, well formed, with the winding of every triangle
// counter-clockwise about its normals, as seen from in front in the mesh's own axes, since the
// window culls back faces by their winding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "base/Geometry.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "view3d/DrawnMesh.h"
#include "view3d/Scene3D.h"
#include "view3d/SceneryModels.h"
#include "view3d/TrackMeshes.h"
#include "view3d/TrackView.h"
#include "view3d/Triangulate.h"

namespace {

const PieceDef& Piece(const std::string& article) {
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    EXPECT_NE(def, nullptr) << article;
    return *def;
}

// Every mesh the view draws: whole triangles, indices in range, unit normals, colours in [0, 1].
void ExpectWellFormed(const Mesh& m, const std::string& what) {
    ASSERT_FALSE(m.Empty()) << what;
    ASSERT_EQ(m.positions.size(), m.normals.size()) << what;
    ASSERT_EQ(m.positions.size(), m.colours.size()) << what;
    ASSERT_EQ(m.indices.size() % 3, 0u) << what;
    for (uint32_t i : m.indices) ASSERT_LT(i, m.VertexCount()) << what;
    for (size_t v = 0; v < m.VertexCount(); ++v) {
        const double len = std::hypot(m.normals[3 * v], m.normals[3 * v + 1], m.normals[3 * v + 2]);
        ASSERT_NEAR(len, 1.0, 1e-4) << what << " vertex " << v;
        for (int k = 0; k < 3; ++k) {
            ASSERT_TRUE(std::isfinite(m.positions[3 * v + k])) << what;
            ASSERT_GE(m.colours[3 * v + k], 0.0f) << what;
            ASSERT_LE(m.colours[3 * v + k], 1.0f) << what;
        }
    }
}

TrackRoute::Frame RouteEnd(const TrackRoute& r) { return r.At(r.length); }

}  // namespace

TEST(TrackFactory, StraightOf188mmHasNineSegmentsAndFourteenSleepers) {
    const std::vector<TrackRoute> routes = TrackRoutes(Piece("24188"));
    ASSERT_EQ(routes.size(), 1u);
    EXPECT_EQ(routes[0].segments, 9);
    const std::vector<double> sleepers = SleeperCentres(188.3);
    ASSERT_EQ(sleepers.size(), 14u);
    EXPECT_DOUBLE_EQ(sleepers.front(), 6.5);
    EXPECT_DOUBLE_EQ(sleepers.back(), 175.5);

    const Mesh m = BuildPieceMesh(Piece("24188"));
    // The bed top is one strip of 9 quads (10 pairs of vertices); each sleeper has one top.
    EXPECT_EQ(CountColour(m, kBedTopColour), 20);
    EXPECT_EQ(CountColour(m, kSleeperTopColour), 14 * 4);
    EXPECT_EQ(CountColour(m, kRailTopColour), 2 * 20);
    // Nothing over the rails' tops (the bed's underside is checked from below).
    EXPECT_NEAR(Extent(m).maxZ, kRailTop, 1e-4);
    // Rails stand over the sleepers, 8.25 mm either side.
    const Box3 rails = Extent(m, [](Colour3 c) { return c == kRailTopColour; });
    EXPECT_NEAR(rails.maxY, kRailOffset + kRailHalfWidth, 1e-4);
    EXPECT_NEAR(rails.minZ, kRailTop, 1e-4);
}

// Every connector of every piece is where a route starts or ends (the turntable's exits lie on
// its pit wall instead), and the curved routes leave and arrive with the connectors' headings;
// each kind has as many routes as it has ways through.
TEST(TrackFactory, RoutesFollowEveryPieceKindsConnectors) {
    const std::map<std::string, size_t> routeCounts = {
        {"24130", 1}, {"24612", 2}, {"24630", 3}, {"24672", 3}, {"2268", 3},
        {"24640", 2}, {"24624", 4}, {"74862", 1}, {"24977", 1}, {"8562", 2}};
    for (const PieceDef& def : TrackCatalog::Instance().pieces) {
        const std::vector<TrackRoute> routes = TrackRoutes(def);
        ASSERT_FALSE(routes.empty()) << def.article;
        if (const auto count = routeCounts.find(def.article); count != routeCounts.end()) {
            EXPECT_EQ(routes.size(), count->second) << def.article;
        }
        if (def.kind == PieceKind::Turntable) {
            EXPECT_NEAR(routes[0].length, 2 * (def.radius - 4), 1e-9);
            continue;
        }
        if (def.kind == PieceKind::Bumper) continue;
        for (const Connector& c : def.connectors) {
            bool reached = false;
            for (const TrackRoute& r : routes) {
                const TrackRoute::Frame s = r.At(0), e = RouteEnd(r);
                const double tol = 2.0;  // slips of the K-Track double slip miss by 1.4 mm
                if (std::hypot(s.x - c.x, s.y - c.y) < tol) reached = true;
                if (std::hypot(e.x - c.x, e.y - c.y) < tol) {
                    reached = true;
                    const double h = RadToDeg(std::atan2(e.dirY, e.dirX));
                    EXPECT_LT(HeadingDiffDeg(h, c.heading), 1.5)
                        << def.article << " conn " << c.number;
                }
            }
            EXPECT_TRUE(reached) << def.article << " connector " << c.number;
        }
    }
}

TEST(BridgeFactory, TiedArchRisesOverTheWholeSpan) {
    const Mesh m = BuildPieceMesh(Piece("74636"));
    const Box3 rib = Extent(m, [](Colour3 c) { return c == kArchRib; });
    EXPECT_NEAR(rib.maxZ, 99 + 2, 0.05);  // the rib's top face, 4 mm thick
    EXPECT_NEAR(rib.minX, -2, 0.5);       // from one end of the span to the other
    EXPECT_NEAR(rib.maxX, 362, 0.5);
    // A plain straight has no structure.
    EXPECT_EQ(CountColour(BuildPieceMesh(Piece("24188")), kArchRib), 0);
}

TEST(SceneryModels, ItemsWithoutTheirOwnModelAreABoxOfTheirFootprint) {
    // Items without their own model get a 6 mm box of their footprint.
    SceneryDef other;
    other.id = "no_such_item";
    other.width = 30;
    other.depth = 10;
    const Mesh box = BuildSceneryModel(other);
    EXPECT_FALSE(HasOwnSceneryModel(other));
    const Box3 b = Extent(box);
    EXPECT_NEAR(b.maxZ, kDefaultSceneryHeight, 1e-6);
    EXPECT_NEAR(b.maxX - b.minX, 30, 1e-4);
    EXPECT_EQ(CountColour(box, kDefaultSceneryColour), static_cast<int>(box.VertexCount()));
}

namespace {

double TrianglesArea(const std::vector<Triangle2>& tris) {
    double sum = 0;
    for (const Triangle2& t : tris) {
        const double a2 =
            (t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[1].y - t[0].y) * (t[2].x - t[0].x);
        EXPECT_GT(a2, 0);  // counter-clockwise, never degenerate
        sum += a2 / 2;
    }
    return sum;
}

}  // namespace

TEST(Triangulate, TrianglesCoverThePolygonExactly) {
    // A rectangle either way round, an L, a U, one with repeated and collinear corners.
    std::vector<std::vector<PointMm>> shapes = {
        {{0, 0}, {2400, 0}, {2400, 1200}, {0, 1200}},
        {{0, 0}, {0, 1200}, {2400, 1200}, {2400, 0}},
        {{0, 0}, {2400, 0}, {2400, 600}, {1200, 600}, {1200, 1800}, {0, 1800}},
        {{0, 0}, {300, 0}, {300, 150}, {240, 150}, {240, 60}, {60, 60}, {60, 150}, {0, 150}},
        {{0, 0}, {1000, 0}, {1000, 0}, {2000, 0}, {2000, 1000}, {1000, 1000}, {0, 1000}, {0, 0}},
        {}};
    // A star: concave corners everywhere.
    for (int k = 0; k < 10; ++k) {
        const double a = k * kPi / 5, r = k % 2 ? 200 : 500;
        shapes.back().push_back({r * std::cos(a), r * std::sin(a)});
    }
    for (size_t i = 0; i < shapes.size(); ++i) {
        const std::vector<Triangle2> tris = TriangulatePolygon(shapes[i]);
        EXPECT_NEAR(TrianglesArea(tris), std::abs(SignedArea2(shapes[i])) / 2, 1e-6) << i;
        EXPECT_LE(tris.size(), shapes[i].size() - 2) << i;
    }
    EXPECT_EQ(TriangulatePolygon(shapes.back()).size(), 8u);
    // Outlines without area, or with a corner that is not a number, give nothing.
    EXPECT_TRUE(TriangulatePolygon({{0, 0}, {100, 0}, {200, 0}, {50, 0}}).empty());
    EXPECT_TRUE(TriangulatePolygon({{0, 0}, {NAN, 1}, {1, 1}}).empty());
}

TEST(TrackFactory, DistantAndFarMeshesMergeWhatWouldAlias) {
    const PieceDef& straight = Piece("24188");
    const Mesh full = BuildPieceMesh(straight);
    const Mesh distant = BuildPieceMesh(straight, TrackDetail::Distant);
    const Mesh far = BuildPieceMesh(straight, TrackDetail::Far);
    // Distant: no sleeper or rail of its own, but one band as wide as the sleepers on their top,
    // over the whole bed.
    for (Colour3 c : {kSleeperTopColour, kSleeperSideColour, kRailTopColour, kRailSideColour})
        EXPECT_EQ(CountColour(distant, c), 0);
    const auto band = [](Colour3 c) { return c == kTrackBandColour; };
    const Box3 b = Extent(distant, band);
    EXPECT_NEAR(b.minY, -kSleeperHalfWidth, 1e-4);
    EXPECT_NEAR(b.maxY, kSleeperHalfWidth, 1e-4);
    EXPECT_NEAR(b.minZ, kSleeperTop, 1e-6);
    EXPECT_NEAR(b.maxX - b.minX, 188.3, 1e-3);
    EXPECT_NEAR(Extent(distant).maxY, kBedHalfWidth, 1e-4);
    EXPECT_LT(distant.TriangleCount() * 3, full.TriangleCount());
    // A quad each for the bed's top, its underside and the band: the bed's sides and ends, at
    // most a pixel tall this far away, are left out.
    EXPECT_EQ(distant.TriangleCount(), 6u);
    // Far: the bed's top alone, one quad for a straight, a quad per 7.5 degrees of a curve.
    EXPECT_EQ(far.TriangleCount(), 2u);
    EXPECT_EQ(CountColour(far, kFarBedTopColour), 4);
    EXPECT_EQ(BuildPieceMesh(Piece("24130"), TrackDetail::Far).TriangleCount(), 2u * 4);
    EXPECT_NEAR(Extent(far).minZ, kBedTop, 1e-6);
    EXPECT_GT(CountColour(BuildPieceMesh(Piece("74636"), TrackDetail::Distant), kArchRib), 0);
}

TEST(TrackFactory, FarBridgesKeepTheOutlineOfTheirStructure) {
    // Each structure in a far mesh: how high it reaches on each side of the track, and how much
    // it costs next to the distant mesh.
    struct Case {
        const char* article;
        Colour3 colour;
        double height;   // at least this high on both sides
        double sideMin;  // this far out from the centre line on both sides
    };
    for (const Case& c : {Case{"74636", kArchRib, 90, 25}, Case{"74620", kBridgeSteel, 40, 24},
                          Case{"74618", kBridgeBeam, 9, 20}}) {
        SCOPED_TRACE(c.article);
        const PieceDef& def = Piece(c.article);
        const Mesh far = BuildPieceMesh(def, TrackDetail::Far);
        const Mesh distant = BuildPieceMesh(def, TrackDetail::Distant);
        for (double side : {-1.0, 1.0}) {
            Box3 b;
            for (size_t v = 0; v < far.VertexCount(); ++v) {
                if (!(ColourAt(far, v) == c.colour) || far.positions[3 * v + 1] * side < c.sideMin)
                    continue;
                b.minX = std::min<double>(b.minX, far.positions[3 * v]);
                b.maxX = std::max<double>(b.maxX, far.positions[3 * v]);
                b.maxZ = std::max<double>(b.maxZ, far.positions[3 * v + 2]);
            }
            EXPECT_GE(b.maxZ, c.height) << side;
            // Over the whole span, not a stub at one end.
            EXPECT_LT(b.minX, def.length * 0.1) << side;
            EXPECT_GT(b.maxX, def.length * 0.9) << side;
        }
        // Within the distant structure's height, at a fraction of the full one's triangles.
        EXPECT_LE(Extent(far).maxZ, Extent(distant).maxZ + 1);
        EXPECT_LT(far.TriangleCount() * 2, BuildPieceMesh(def, TrackDetail::Full).TriangleCount());
    }
}

TEST(TrackFactory, DistantRoutesKeepWithinHalfAPixelOfTheTrack) {
    // The largest gap between an arc and its chords, at the middle of each chord.
    const auto chordError = [](const TrackRoute& r) {
        return r.radius * (1 - std::cos(std::abs(r.turnDeg) * kPi / 180 / r.segments / 2));
    };
    EXPECT_EQ(DistantRoute(StraightRoute(0, 0, 0, 188.3)).segments, 1);
    for (double radius : {145.0, 360.0, 437.5, 1114.6})
        for (double turn : {-30.0, 7.5, 15.0, 90.0}) {
            SCOPED_TRACE(testing::Message() << radius << " " << turn);
            const TrackRoute arc = ArcRoute(0, 0, 0, radius, turn);
            const TrackRoute coarse = DistantRoute(arc);
            EXPECT_LE(chordError(coarse), kDistantChordErrorMm);
            EXPECT_LE(coarse.segments, arc.segments);
            // One segment fewer would leave the tolerance, unless the arc had no more.
            if (coarse.segments > 1 && coarse.segments < arc.segments) {
                TrackRoute fewer = coarse;
                --fewer.segments;
                EXPECT_GT(chordError(fewer), kDistantChordErrorMm);
            }
        }
}

TEST(TrackView, CullsWhatIsOutOfSightAndThinsWhatIsFar) {
    // A camera at height `d` looking straight down at the origin, 600 pixels high.
    auto lookingDownFrom = [](double d) {
        float mv[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, static_cast<float>(-d), 1};
        return TrackView(mv, 800, 600, 40);
    };
    TrackInstance t;
    t.length = 188.3f;
    EXPECT_EQ(lookingDownFrom(500).Of(t), TrackDetail::Full);
    EXPECT_EQ(lookingDownFrom(5000).Of(t), TrackDetail::Distant);
    EXPECT_EQ(lookingDownFrom(50000).Of(t), TrackDetail::Far);
    // Distant track keeps round piers while their ends are two pixels across, then boxes.
    EXPECT_EQ(lookingDownFrom(3000).SightOf(t)->detail, TrackDetail::Distant);
    EXPECT_FALSE(lookingDownFrom(3000).SightOf(t)->smallParts);
    EXPECT_EQ(lookingDownFrom(8000).SightOf(t)->detail, TrackDetail::Distant);
    EXPECT_TRUE(lookingDownFrom(8000).SightOf(t)->smallParts);
    EXPECT_TRUE(lookingDownFrom(50000).SightOf(t)->smallParts);
    const TrackView view = lookingDownFrom(2500);
    // Behind the camera, or far beside the view: not drawn; just inside its edge: drawn.
    t.z = 3000;
    EXPECT_FALSE(lookingDownFrom(2500).Of(t).has_value());
    t.z = 0;
    const double halfWidth = 2500 * std::tan(20 * kPi / 180) * 800 / 600;
    t.x = static_cast<float>(halfWidth + 400);
    EXPECT_FALSE(view.Of(t).has_value());
    t.x = static_cast<float>(halfWidth + 100);
    EXPECT_TRUE(view.Of(t).has_value());
    // Scenery is culled by the ball its model reaches.
    EXPECT_TRUE(view.Sees(halfWidth + 100, 0, 0, 150));
    EXPECT_FALSE(view.Sees(halfWidth + 100, 0, 0, 50));
    EXPECT_FALSE(view.Sees(0, 0, 3000, 100));
}

// Every piece in every detail is well formed inside its footprint: bridge structures reach
// 29.5 mm beside the track and 101 mm up (their far outlines 1 mm more); nothing goes further.
TEST(MeshWinding, EveryTrackMeshInEveryDetail) {
    for (const PieceDef& def : TrackCatalog::Instance().pieces) {
        double reach = 0;
        for (const Connector& c : def.connectors) reach = std::max(reach, std::abs(c.y));
        for (const TrackDetail detail :
             {TrackDetail::Full, TrackDetail::Distant, TrackDetail::Far}) {
            SCOPED_TRACE(testing::Message()
                         << def.article << " detail " << static_cast<int>(detail));
            const Mesh m = BuildPieceMesh(def, detail);
            ExpectWellFormed(m, def.article);
            EXPECT_EQ(WrongTriangles(m), std::vector<size_t>{});
            const Box3 b = Extent(m);
            EXPECT_LE(std::max(-b.minY, b.maxY), 29.5 + reach + 1e-3);
            EXPECT_LE(b.maxZ, detail == TrackDetail::Far ? 102.01 : 101.01);
            EXPECT_GE(b.minZ, -18.01);
        }
    }
}

// Every scenery item has its own model, well formed and inside its footprint.
TEST(MeshWinding, EverySceneryModel) {
    for (const SceneryDef& def : SceneryCatalog::Instance().defs) {
        EXPECT_TRUE(HasOwnSceneryModel(def)) << def.id;
        const Mesh m = BuildSceneryModel(def);
        ExpectWellFormed(m, def.id);
        EXPECT_EQ(WrongTriangles(m), std::vector<size_t>{}) << def.id;
        const Box3 b = Extent(m);
        EXPECT_TRUE(b.minX >= -def.width / 2 - 1e-3 && b.maxX <= def.width / 2 + 1e-3) << def.id;
        EXPECT_TRUE(b.minY >= -def.depth / 2 - 1e-3 && b.maxY <= def.depth / 2 + 1e-3) << def.id;
        EXPECT_TRUE(b.minZ >= -1e-3 && b.maxZ > 0.5) << def.id;
    }
}

TEST(MeshWinding, PiersAndTheirFarBoxes) {
    Mesh m;
    ASSERT_TRUE(AddPier(m, 50, -20, 30, 0, 40));
    AddTurnedBox(m, 50, -20, 0.5, 22, 36, 0, 40, kPierTop, kPierSide);
    EXPECT_EQ(WrongTriangles(m), std::vector<size_t>{});
}

TEST(MeshWinding, TrackSeenFromBelowShowsTheBedsUnderside) {
    // Culled, an open box would show nothing from below: the bed's underside closes it.
    const PieceDef* def = TrackCatalog::Instance().Find("24188");
    ASSERT_NE(def, nullptr);
    for (const TrackDetail detail : {TrackDetail::Full, TrackDetail::Distant}) {
        const Mesh m = BuildPieceMesh(*def, detail);
        double downArea = 0;
        for (size_t t = 0; t + 2 < m.indices.size(); t += 3) {
            const Vec3 pa = At(m.positions, m.indices[t]);
            const Vec3 g = Cross(Minus(At(m.positions, m.indices[t + 1]), pa),
                                 Minus(At(m.positions, m.indices[t + 2]), pa));
            if (g.z < 0 && pa.z < 1e-3) downArea -= g.z / 2;
        }
        EXPECT_NEAR(downArea, 2 * kBedHalfWidth * def->length, 1.0) << static_cast<int>(detail);
    }
}
