// Rebuilding the 3D scene from a document, without a window: instances, helices, scenery,
// baseboard, tunnels, extent and camera, and what holds the model up: deck boards on their legs,
// piers and risers under raised track, helix columns under the turns, and the order of the grid,
// baseboard and track in height.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "base/Geometry.h"
#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"
#include "model/Helices.h"
#include "model/TrackBuilder.h"
#include "model/Tunnels.h"
#include "persistence/LayoutFile.h"
#include "view3d/Decks.h"
#include "view3d/DrawnMesh.h"
#include "view3d/OrbitCamera.h"
#include "view3d/Scene3D.h"
#include "view3d/TrackMeshes.h"
#include "view3d/Triangulate.h"

namespace {

// A solid of the piers mesh in one colour: its axis in world x-y and its height range.
struct Post {
    double x = 0, y = 0, bottom = 1e9, top = -1e9;
};

// The posts of one colour, each a run of `verticesEach` vertices (18-corner stadium piers have
// 18 top, 18 bottom and 4 per side; square posts 24).
std::vector<Post> Posts(const Mesh& m, Colour3 colour, size_t verticesEach) {
    std::vector<Post> posts;
    size_t v = 0;
    while (v < m.VertexCount()) {
        if (!(ColourAt(m, v) == colour)) {
            ++v;
            continue;
        }
        Post p;
        double sx = 0, sy = 0;
        for (size_t k = 0; k < verticesEach; ++k, ++v) {
            sx += m.positions[3 * v];
            sy += m.positions[3 * v + 1];
            p.bottom = std::min<double>(p.bottom, m.positions[3 * v + 2]);
            p.top = std::max<double>(p.top, m.positions[3 * v + 2]);
        }
        p.x = sx / verticesEach;
        p.y = sy / verticesEach;
        posts.push_back(p);
    }
    return posts;
}

// Area of the triangles of a mesh whose normal points along +z (or -z), seen from above.
double FacingArea(const Mesh& m, double normalZ) {
    double area = 0;
    for (size_t t = 0; t < m.TriangleCount(); ++t) {
        const uint32_t i0 = m.indices[3 * t];
        if (std::abs(m.normals[3 * i0 + 2] - normalZ) > 1e-6) continue;
        const float* p[3];
        for (int k = 0; k < 3; ++k) p[k] = &m.positions[3 * m.indices[3 * t + k]];
        area += std::abs((p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) -
                         (p[1][1] - p[0][1]) * (p[2][0] - p[0][0])) /
                2;
    }
    return area;
}

class SupportTest : public testing::Test {
protected:
    SupportTest() { doc.EnsureDefaultLevel(); }
    Scene3D Build() {
        Scene3D s;
        RebuildScene(s, doc);
        return s;
    }
    Level& AddDeck(uint32_t id, double height, std::vector<PointMm> outline) {
        doc.levels.push_back({.id = id, .height = height, .outline = std::move(outline)});
        return doc.levels.back();
    }
    LayoutDocument doc;
    TrackBuilder track{doc};
};

using SceneTest = SupportTest;

const std::vector<PointMm> kLShape = {{0, 0},     {2000, 0},   {2000, 400},
                                      {600, 400}, {600, 1000}, {0, 1000}};

}  // namespace

TEST_F(SupportTest, DeckIsABoardAtItsLevelsHeightOnLegs) {
    AddDeck(2, 260, kLShape);
    const Scene3D s = Build();
    ASSERT_FALSE(s.decks.Empty());
    // The top at 260 covers the outline once; the underside 12 mm lower covers it again.
    const double area = std::abs(SignedArea2(kLShape)) / 2;
    EXPECT_NEAR(FacingArea(s.decks, 1), area, 1e-3 * area);
    EXPECT_NEAR(FacingArea(s.decks, -1), area, 1e-3 * area);
    EXPECT_NEAR(MaxZ(s.decks), 260, 1e-4);
    EXPECT_NEAR(MinZ(s.decks), 260 - kDeckThickness, 1e-4);
    // Its edges face outwards: the one along layout y = 0 faces world +y.
    bool outwardEdge = false;
    for (size_t v = 0; v < s.decks.VertexCount(); ++v)
        outwardEdge |= std::abs(s.decks.positions[3 * v + 1]) < 1e-3 &&
                       s.decks.normals[3 * v + 1] > 0.99f &&
                       ColourAt(s.decks, v) == kDeckEdgeColour;
    EXPECT_TRUE(outwardEdge);
    // Legs from the baseboard up to the underside, all under the board.
    const std::vector<Post> legs = Posts(Drawn(s.piers.mesh), kDeckLegColour, 24);
    ASSERT_EQ(legs.size(), DeckLegPoints(kLShape).size());
    for (const Post& leg : legs) {
        EXPECT_NEAR(leg.bottom, 0, 1e-4);
        EXPECT_NEAR(leg.top, 260 - kDeckThickness, 1e-4);
        EXPECT_TRUE(InsideOutline(kLShape, leg.x, -leg.y)) << leg.x << ", " << leg.y;
    }
    // A hidden deck and an outline of two points give no board and no legs.
    doc.levels[1].visible = false;
    EXPECT_TRUE(Build().decks.Empty());
    EXPECT_TRUE(Drawn(Build().piers.mesh).Empty());
    doc.levels[1].visible = true;
    doc.levels[1].outline.resize(2);
    EXPECT_TRUE(Build().decks.Empty());
}

TEST_F(SupportTest, DeckLegsStandInsideEveryCornerAndCloseEnoughAlongEachEdge) {
    // Both windings, and an L with a corner that turns inwards.
    std::vector<PointMm> reversed(kLShape.rbegin(), kLShape.rend());
    for (const std::vector<PointMm>& outline : {kLShape, reversed}) {
        const std::vector<PointMm> legs = DeckLegPoints(outline);
        for (const PointMm& p : legs) EXPECT_TRUE(InsideOutline(outline, p.x, p.y));
        // One leg near each corner, kept off both edges.
        for (const PointMm& c : outline) {
            const auto nearest = std::min_element(legs.begin(), legs.end(), [&](auto a, auto b) {
                return std::hypot(a.x - c.x, a.y - c.y) < std::hypot(b.x - c.x, b.y - c.y);
            });
            ASSERT_NE(nearest, legs.end());
            EXPECT_NEAR(std::abs(nearest->x - c.x), kDeckLegInset, 1e-6);
            EXPECT_NEAR(std::abs(nearest->y - c.y), kDeckLegInset, 1e-6);
        }
        // Along the 2000 mm edge no gap is wider than the spacing.
        std::vector<double> along;
        for (const PointMm& p : legs)
            if (std::abs(p.y - kDeckLegInset) < 1e-6) along.push_back(p.x);
        std::sort(along.begin(), along.end());
        ASSERT_GE(along.size(), 4u);
        for (size_t i = 1; i < along.size(); ++i)
            EXPECT_LE(along[i] - along[i - 1], kDeckLegSpacing + 1e-6);
    }
    EXPECT_TRUE(DeckLegPoints({{0, 0}, {100, 0}, {200, 0}}).empty());
}

TEST_F(SupportTest, DeckLegsStandOnADeckBelowThem) {
    AddDeck(2, 120, {{0, 0}, {3000, 0}, {3000, 3000}, {0, 3000}});
    AddDeck(3, 300, {{1000, 1000}, {2000, 1000}, {2000, 2000}, {1000, 2000}});
    AddDeck(4, 10, {{5000, 0}, {5100, 0}, {5100, 100}});  // too low for legs under its board
    const std::vector<Post> legs = Posts(Drawn(Build().piers.mesh), kDeckLegColour, 24);
    int onLower = 0;
    for (const Post& leg : legs) {
        const bool underUpper = leg.x > 1000 && leg.x < 2000 && -leg.y > 1000 && -leg.y < 2000;
        EXPECT_NEAR(leg.bottom, underUpper ? 120 : 0, 1e-4);
        EXPECT_NEAR(leg.top, (underUpper ? 300 : 120) - kDeckThickness, 1e-4);
        onLower += underUpper;
    }
    EXPECT_EQ(onLower, static_cast<int>(DeckLegPoints(doc.levels[2].outline).size()));
    EXPECT_EQ(legs.size(), DeckLegPoints(doc.levels[1].outline).size() + onLower);
    EXPECT_EQ(GroundUnder(doc, 1500, 1500, 500), 300);
    EXPECT_EQ(GroundUnder(doc, 1500, 1500, 299), 120);  // under the upper board, on the lower
    EXPECT_EQ(GroundUnder(doc, 4000, 1500, 500), 0);
}

// Piers under bridges and risers under other raised track: how many, and from which height up to
// which. Level 2 lies at 30 mm, without a board.
TEST_F(SupportTest, PiersAndRisersStandUnderRaisedTrackOnWhatIsBelowIt) {
    struct Lay {
        const char* article;
        double x = 0, y = 0, z = 0, grade = 0;
        int32_t level = 1;
        bool attach = false;  // to the previous piece's connector 1, at its height
    };
    const double climbTop = 50 + 188.3 * std::sin(3 * kPi / 180);
    const struct {
        int piers;
        double bottom, top;  // bottom NAN: not checked
        bool deck;           // a board at 260 mm from x -100 to 1000
        std::vector<Lay> lay;
        double leftmost = -1e9;
    } cases[] = {
        // Two bridges joined end to start.
        {3, 0, 80, false, {{"74636", 0, 0, 80}, {"74636", 0, 0, 0, 0, 1, true}}},
        // A ramp climbing to its far end.
        {2, 0, 10 + 180 * std::sin(4 * kPi / 180), false, {{"74618", 0, 0, 10, 4}}},
        // Bridges on a level: none 1 mm above it, two from it up.
        {2, 30, 100, false, {{"74620", 0, 0, 31, 0, 2}, {"74620", 0, 300, 100, 0, 2}}},
        // And one on the ground starting 1.5 mm from a pier: one more.
        {3, 0, 100, false, {{"74620", 0, 300, 100, 0, 2}, {"74620", 188.3 + 1.5, 300, 100}}},
        // A raised straight, on the ground and on a level; 2 mm above its level: none.
        {2, 0, 50, false, {{"24188", 0, 0, 50}}},
        {2, 30, 50, false, {{"24188", 0, 0, 50, 0, 2}}},
        {0, 0, 0, false, {{"24188", 0, 0, 32, 0, 2}}},
        // Joined raised pieces share the riser at their joint; a climbing one reaches its end.
        {4,
         0,
         climbTop,
         false,
         {{"24188", 0, 0, 50}, {"24188", 0, 0, 0, 3, 1, true}, {"24130", 0, 0, 0, 0, 1, true}}},
        // Resting on a deck: none; running off its edge: where it is off it; bridges keep theirs.
        {0, 0, 0, true, {{"24188", 0, 0, 260}}},
        {1, 0, 260, true, {{"24188", 900, 0, 260}}, 1000},
        {2, NAN, 300, true, {{"74636", 0, 50, 300}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        doc.pieces.clear();
        doc.levels.resize(1);
        doc.levels.push_back({.id = 2, .height = 30, .outline = {}});
        if (c.deck) AddDeck(3, 260, {{-100, -100}, {1000, -100}, {1000, 100}, {-100, 100}});
        uint32_t last = kNoId;
        for (const Lay& l : c.lay) {
            last = l.attach ? track.Attach(l.article, last, 1)
                            : track.Place(l.article, l.x, l.y, 0, l.z);
            track[last].grade = l.grade;
            track[last].level = l.level;
        }
        const Mesh piers = Drawn(Build().piers.mesh);
        EXPECT_EQ(CountColour(piers, kPierTop) / 18, c.piers);
        if (c.piers == 0) continue;
        const Box3 b = Extent(piers, [](Colour3 colour) { return !(colour == kDeckLegColour); });
        EXPECT_NEAR(b.maxZ, c.top, 1e-3);
        if (!std::isnan(c.bottom)) {
            EXPECT_NEAR(b.minZ, c.bottom, 1e-3);
        }
        EXPECT_GT(b.minX, c.leftmost);
    }
    // A raised straight's risers stand at its two ends: the centres of the piers' top faces.
    doc.pieces.clear();
    const uint32_t a = track.Place("24188", 0, 0, 0, 50);
    const std::vector<Post> tops = Posts(Drawn(Build().piers.mesh), kPierTop, 18);
    for (int c = 0; c < 2; ++c) {
        const ConnectorPose end =
            GetConnectorPose(track[a], *TrackCatalog::Instance().Find("24188"), c);
        EXPECT_TRUE(std::any_of(tops.begin(), tops.end(), [&](const Post& p) {
            return std::hypot(p.x - end.x, p.y + end.y) < 0.01;
        })) << c;
    }
}

TEST_F(SupportTest, HelixColumnsEndUnderTheTopTurn) {
    ASSERT_NE(PlaceHelix(doc, 500, 400, 20, "proses_3_5_r1r2"), kNoId);
    const Scene3D s = Build();
    const std::vector<Post> columns = Posts(Drawn(s.piers.mesh), kHelixColumn, 24);
    ASSERT_EQ(columns.size(), 13u);
    double topTurn = -1e9;
    for (const TrackInstance& t : s.tracks) topTurn = std::max<double>(topTurn, t.z);
    double highest = -1e9;
    for (const Post& c : columns) {
        // Each column reaches the highest curve that starts over it, and no higher.
        double over = -1e9;
        for (const TrackInstance& t : s.tracks)
            if (std::hypot(t.x - c.x, t.y - c.y) < 1) over = std::max<double>(over, t.z);
        EXPECT_NEAR(c.top, over, 1e-3) << c.x << ", " << c.y;
        EXPECT_NEAR(c.bottom, 0, 1e-4);
        highest = std::max(highest, c.top);
    }
    EXPECT_NEAR(highest, topTurn, 1e-3);
    EXPECT_NEAR(topTurn, FindHelixVariant("proses_3_5_r1r2")->rise, 1e-3);
}

TEST_F(SupportTest, NothingReachesBelowTheBaseboardAndTrackRestsOnIt) {
    LayoutDocument sample;
    ASSERT_EQ(
        LoadLayout(sample,
                   std::string(QUILLMORE_SOURCE_DIR) + "/resources/layouts/K-Track Two Decks.xml",
                   nullptr),
        "");
    Scene3D s;
    RebuildScene(s, sample);
    MakeFarMeshes(s);
    ASSERT_FALSE(s.baseboard.Empty());
    ASSERT_FALSE(s.decks.Empty());
    EXPECT_NEAR(MaxZ(s.baseboard), kBaseboardZ, 1e-6);
    const Mesh piers = Drawn(s.piers.mesh);
    for (const Mesh* m : std::initializer_list<const Mesh*>{&s.baseboard, &s.decks, &piers,
                                                            &s.tunnels, &s.farBatch.mesh})
        EXPECT_GE(MinZ(*m), kBaseboardZ - 1e-6);
    // The track lies on top of the baseboard: its lowest point is its bed's underside.
    for (const auto& [article, mesh] : s.pieceMeshes) {
        if (!TrackCatalog::Instance().Find(article)->isBridge) {
            EXPECT_GE(MinZ(mesh), 0) << article;
        }
    }
    // The upper deck's track rests on its board; the only posts are deck legs and helix columns.
    EXPECT_EQ(PierCount(s), 0);
    EXPECT_FALSE(Posts(Drawn(s.piers.mesh), kDeckLegColour, 24).empty());
}

TEST_F(SceneTest, HiddenLevelsAndUnknownArticlesAreLeftOut) {
    doc.levels.push_back({.id = 2, .visible = false, .outline = {}});
    track.Place("24188", 0, 0);
    track[track.Place("24172", 0, 100)].level = 2;
    track[track.Place("24130", 0, 300)].level = 7;  // no such level: shown
    const Scene3D s = Build();
    ASSERT_EQ(s.tracks.size(), 2u);
    EXPECT_EQ(s.tracks[0].article, "24188");
    EXPECT_EQ(s.tracks[1].article, "24130");
    EXPECT_EQ(s.pieceMeshes.size(), 2u);
    EXPECT_FALSE(s.pieceMeshes.contains("24172"));
}

TEST_F(SceneTest, InstancesPlaceTheCachedMeshAtThePiecesPose) {
    const uint32_t a = track.Place("24188", 100, 50, 30, 20);
    track[a].grade = 3;
    track.Place("24188", 500, 50);
    const Scene3D s = Build();
    ASSERT_EQ(s.tracks.size(), 2u);
    EXPECT_EQ(s.pieceMeshes.size(), 1u);  // one mesh per article
    const TrackInstance& t = s.tracks[0];
    // The mesh's far end lands on connector 1, mirrored into world axes, one rise higher.
    const PieceDef& def = *TrackCatalog::Instance().Find("24188");
    const ConnectorPose end = GetConnectorPose(track[a], def, 1);
    const Vec3 w = PlaceOnInstance(t, {188.3, 0, 0});
    EXPECT_NEAR(w.x, end.x, 0.3);  // the tilt shortens the plan by 188.3 (1 - cos 3°)
    EXPECT_NEAR(w.y, -end.y, 0.2);
    EXPECT_NEAR(w.z, 20 + 188.3 * std::sin(3 * kPi / 180), 1e-3);
    // A point to the piece's right (layout +y) stays to its right after the mirror.
    const Vec3 right = PlaceOnInstance(s.tracks[1], {0, 10, 0});
    EXPECT_NEAR(right.y, -60, 1e-4);
}

TEST_F(SceneTest, FarBatchHoldsEveryInstancesFarMeshInWorldAxes) {
    const uint32_t a = track.Place("24130", 100, 50, 30, 20);
    track[a].grade = 2;
    track.Place("99999", 0, 0);  // not drawn, not batched
    PlaceHelix(doc, 900, 900, 45, "");
    Scene3D s = Build();
    MakeFarMeshes(s);
    // The batch is every instance's far mesh placed as AppendPlaced places it, in their order.
    const InstanceBatch& batch = s.farBatch;
    Mesh want;
    ASSERT_EQ(batch.first.size(), s.tracks.size() + 1);
    for (size_t i = 0; i < s.tracks.size(); ++i) {
        EXPECT_EQ(batch.first[i], want.indices.size()) << i;
        AppendPlaced(want, s.farPieceMeshes.at(s.tracks[i].article), s.tracks[i]);
    }
    EXPECT_EQ(batch.first.back(), want.indices.size());
    EXPECT_EQ(batch.mesh.positions, want.positions);
    EXPECT_EQ(batch.mesh.normals, want.normals);
    EXPECT_EQ(batch.mesh.indices, want.indices);
}

// The 3D window batches distant track this way, after whatever the batch already holds.
TEST_F(SceneTest, PlacedMeshesFollowTheirInstanceAndTheirIndicesTheirOwnVertices) {
    track[track.Place("24130", 100, 50, 30, 20)].grade = 2;
    track.Place("24188", -200, 80, 200);
    const Scene3D s = Build();
    ASSERT_EQ(s.tracks.size(), 2u);
    Mesh batch;
    for (const TrackInstance& t : s.tracks)
        AppendPlaced(batch, s.distantPieceMeshes.at(t.article), t);
    const Mesh& first = s.distantPieceMeshes.at(s.tracks[0].article);
    const Mesh& second = s.distantPieceMeshes.at(s.tracks[1].article);
    ASSERT_EQ(batch.VertexCount(), first.VertexCount() + second.VertexCount());
    ASSERT_EQ(batch.indices.size(), first.indices.size() + second.indices.size());
    const auto offset = static_cast<uint32_t>(first.VertexCount());
    for (size_t k = 0; k < second.indices.size(); ++k)
        ASSERT_EQ(batch.indices[first.indices.size() + k], second.indices[k] + offset) << k;
    EXPECT_TRUE(std::equal(second.colours.begin(), second.colours.end(),
                           batch.colours.begin() + 3 * offset));
    const Vec3 want = PlaceOnInstance(
        s.tracks[1], {second.positions[0], second.positions[1], second.positions[2]});
    EXPECT_NEAR(batch.positions[3 * offset], want.x, 1e-3);
    EXPECT_NEAR(batch.positions[3 * offset + 1], want.y, 1e-3);
    EXPECT_NEAR(batch.positions[3 * offset + 2], want.z, 1e-3);
    // The mirror turns each face's winding over: seen counter-clockwise, a face points away
    // from its normal, as the window's clockwise front faces expect.
    const auto at = [&](uint32_t v) { return &batch.positions[3 * v]; };
    for (size_t k = 0; k < batch.indices.size(); k += 3) {
        const float *a = at(batch.indices[k]), *b = at(batch.indices[k + 1]),
                    *c = at(batch.indices[k + 2]);
        const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
        const double vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
        const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
        const float* n = &batch.normals[3 * batch.indices[k]];
        if (std::hypot(cx, cy, cz) > 1e-3) {
            ASSERT_LT(cx * n[0] + cy * n[1] + cz * n[2], 0) << k;
        }
    }
}

TEST_F(SceneTest, HelixClimbsInThirtyDegreeStepsOnBothTracks) {
    const uint32_t id = PlaceHelix(doc, 500, 500, 0, "proses_2_5_r1r2");
    ASSERT_NE(id, kNoId);
    const HelixVariant& v = *FindHelixVariant("proses_2_5_r1r2");
    const Scene3D s = Build();
    const int n = 30;  // 2.5 turns of 12 pieces
    // The four end pieces, then n inner and n outer curves.
    ASSERT_EQ(s.tracks.size(), 4u + 2 * n);
    const double step = v.rise / n;
    for (int track = 0; track < 2; ++track) {
        const double r = track == 0 ? v.radiusInner : v.radiusOuter;
        const double climb = std::asin(step / (r * kPi / 6)) * 180 / kPi;
        for (int i = 1; i <= n; ++i) {
            const TrackInstance& t = s.tracks[4 + track * n + i - 1];
            EXPECT_NEAR(std::hypot(t.x - 500, t.y + 500), r, 1e-3);
            EXPECT_NEAR(t.z, i * step, 1e-4);
            EXPECT_NEAR(t.tiltDeg, -climb, 1e-4);
        }
        // The spiral is continuous: each curve ends where the one below it starts (to within
        // the 0.4 mm the rigid tilt of a curve leaves, as it climbs over its chord).
        for (int i = 2; i <= n; ++i) {
            const TrackInstance& hi = s.tracks[4 + track * n + i - 1];
            const TrackInstance& lo = s.tracks[4 + track * n + i - 2];
            const Vec3 end = PlaceOnInstance(hi, {r * 0.5, r * (1 - std::cos(kPi / 6)), 0});
            EXPECT_NEAR(end.x, lo.x, 0.5);
            EXPECT_NEAR(end.y, lo.y, 0.5);
            EXPECT_NEAR(end.z, lo.z, 0.5);
        }
    }
}

TEST_F(SceneTest, SceneryStandsOnItsLevelWithItsFootprint) {
    doc.levels.push_back({.id = 2, .height = 45, .outline = {}});
    SceneryItem item{doc.TakeId(), "platform", 100, 200, 90, false, 2, 1, 2};
    doc.scenery.push_back(item);
    item.item = "no_such_item";
    doc.scenery.push_back(item);
    const Scene3D s = Build();
    ASSERT_EQ(s.scenery.size(), 1u);
    const SceneryInstance& i = s.scenery[0];
    EXPECT_FLOAT_EQ(i.z, 45);
    EXPECT_FLOAT_EQ(i.y, -200);
    EXPECT_FLOAT_EQ(i.rotationDeg, -90);
    EXPECT_FLOAT_EQ(i.halfWidth, 115);
    EXPECT_FLOAT_EQ(i.scaleX, 2);
    EXPECT_DOUBLE_EQ(s.bounds.maxX, 330);
}

TEST_F(SceneTest, BaseboardIsTriangulatedAtItsHeightUnlessDegenerate) {
    doc.baseboard = {{0, 0}, {2400, 0}};
    EXPECT_TRUE(Build().baseboard.Empty());
    doc.baseboard = {{0, 0}, {2400, 0}, {2400, 600}, {1200, 600}, {1200, 1200}, {0, 1200}};
    const Mesh m = Build().baseboard;
    ASSERT_EQ(m.TriangleCount(), 4u);
    // Facing up in world axes, counter-clockwise seen from above; layout y down is world y up.
    EXPECT_NEAR(FacingArea(m, 1), 2400.0 * 600 + 1200.0 * 600, 1e-3);
    EXPECT_EQ(WrongTriangles(m), std::vector<size_t>{});
    EXPECT_LE(Extent(m).maxY, 0.0f);
    EXPECT_EQ(m.colours[0], kBaseboardColour.r);
    // Only the baseboard: the camera has nothing to fit.
    EXPECT_FALSE(Build().bounds.any);
}

TEST_F(SceneTest, TunnelShellArchesOverEveryCoveredPiece) {
    const std::vector<uint32_t> ids = track.Line("24188", 3);
    track[ids[0]].selected = track[ids[1]].selected = track[ids[2]].selected = true;
    ASSERT_TRUE(ToggleTunnel(doc));
    const Scene3D s = Build();
    ASSERT_FALSE(s.tunnels.Empty());
    const Box3 b = Extent(s.tunnels);
    EXPECT_GE(b.minX, -1e-3);
    EXPECT_LE(b.maxX, 3 * 188.3 + 1e-3);
    EXPECT_LE(std::max(-b.minY, b.maxY), 60 + 1e-3);
    EXPECT_GE(b.minZ, -1e-4);
    EXPECT_LE(b.maxZ, 90 + 1e-4);
    // The crown is greener than the sides.
    const float* side = &s.tunnels.colours[0];
    const float* crown = &s.tunnels.colours[3 * 7];
    EXPECT_GT(crown[1], side[1]);
    EXPECT_NEAR(s.tunnels.positions[3 * 7 + 2], 90, 1e-4);
    // Portals are scenery with their own model.
    EXPECT_EQ(s.scenery.size(), 2u);
}

TEST_F(SceneTest, BoundsAndCameraFitEvenAbsurdInput) {
    track.Place("24188", 0, 0);
    Scene3D s = Build();
    EXPECT_DOUBLE_EQ(s.bounds.minX, 0);
    EXPECT_NEAR(s.bounds.maxX, 188.3, 1e-4);
    OrbitCamera cam;
    cam.pitch = 10;
    cam.Fit(s.bounds);
    EXPECT_NEAR(cam.centreX, 94.15, 1e-3);
    EXPECT_FLOAT_EQ(cam.distance, 400);  // 1.8 x 188.3 is under the minimum
    EXPECT_FLOAT_EQ(cam.pitch, 10);      // angles survive
    track.Place("24360", 0, 0, 90);      // layout y 0..360 is world y 0..-360
    s = Build();
    cam.Fit(s.bounds);
    EXPECT_NEAR(cam.centreY, -180, 1e-3);
    EXPECT_NEAR(cam.distance, 648, 1e-3);
    // Absurd input stays finite.
    doc.pieces.clear();
    const uint32_t p = track.Place("24188", 1e12, -1e12, 1e9, 1e15);
    track[p].grade = 1e6;
    track.Place("74636", 0, 0, 0, -1e300);
    PlaceHelix(doc, 0, 0, 0, "");
    doc.baseboard = {{0, 0}, {1e300, 0}, {0, 1e300}, {5, 5}, {5, 5}};
    s = Build();
    EXPECT_EQ(s.tracks.size(), 2u + 4 + 60);
    cam.Fit(s.bounds);
    EXPECT_TRUE(std::isfinite(cam.distance));
}

TEST(OrbitCamera, ClampsAndReset) {
    OrbitCamera cam;
    cam.Rotate(10, 1000);
    EXPECT_FLOAT_EQ(cam.pitch, 89);
    EXPECT_FLOAT_EQ(cam.yaw, 35);
    cam.Rotate(0, -1000);
    EXPECT_FLOAT_EQ(cam.pitch, -89);
    for (int i = 0; i < 40; ++i) cam.Wheel(120);
    EXPECT_FLOAT_EQ(cam.distance, 50);
    for (int i = 0; i < 80; ++i) cam.Wheel(-120);
    EXPECT_FLOAT_EQ(cam.distance, 15000);
    cam.distance = 900;
    cam.yaw = 0;
    cam.Pan(10, 0);
    cam.Pan(0, 10);  // a drag down the screen moves the scene down: towards world -y
    EXPECT_FLOAT_EQ(cam.panY, -10);
    cam.yaw = 90;  // turned a quarter, a drag to the right moves the scene towards world -y
    cam.Pan(10, 0);
    EXPECT_NEAR(cam.panX, 10, 1e-4);
    EXPECT_NEAR(cam.panY, -20, 1e-4);
    cam.Reset();
    EXPECT_FLOAT_EQ(cam.pitch, 35);
    EXPECT_FLOAT_EQ(cam.yaw, 30);
    EXPECT_FLOAT_EQ(cam.panX, 0);
    EXPECT_FLOAT_EQ(cam.panY, 0);
    EXPECT_FLOAT_EQ(cam.distance, 900);
}
