// What holds the 3D model up: deck boards on their legs, risers under raised track, helix
// columns under the turns, and the order of the grid, baseboard and track in height.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "base/Geometry.h"
#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"
#include "model/Helices.h"
#include "model/TrackBuilder.h"
#include "persistence/LayoutFile.h"
#include "view3d/Decks.h"
#include "view3d/DrawnMesh.h"
#include "view3d/Scene3D.h"
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

TEST_F(SupportTest, RaisedStraightStandsOnRisersFromItsLevel) {
    const uint32_t a = track.Place("24188", 0, 0, 0, 50);
    EXPECT_TRUE(IsRaised(doc, track[a]));
    Scene3D s = Build();
    ASSERT_EQ(PierCount(s), 2);
    EXPECT_NEAR(MinZ(Drawn(s.piers.mesh)), 0, 1e-4);
    EXPECT_NEAR(MaxZ(Drawn(s.piers.mesh)), 50, 1e-4);
    // At its two ends: the centres of the piers' top faces.
    const std::vector<Post> tops = Posts(Drawn(s.piers.mesh), kPierTop, 18);
    for (int c = 0; c < 2; ++c) {
        const ConnectorPose end =
            GetConnectorPose(track[a], *TrackCatalog::Instance().Find("24188"), c);
        EXPECT_TRUE(std::any_of(tops.begin(), tops.end(), [&](const Post& p) {
            return std::hypot(p.x - end.x, p.y + end.y) < 0.01;
        })) << c;
    }
    // Joined raised pieces share the riser at their joint; a climbing piece's far riser reaches
    // where it ends.
    const uint32_t b = track.Attach("24188", a, 1);
    track[b].grade = 3;
    const uint32_t c = track.Attach("24130", b, 1);
    s = Build();
    EXPECT_EQ(PierCount(s), 4);
    EXPECT_NEAR(MaxZ(Drawn(s.piers.mesh)), track[c].elevation + 0, 1e-3);
    EXPECT_NEAR(track[c].elevation, 50 + 188.3 * std::sin(3 * kPi / 180), 1e-3);
    // On a level at 30 the risers stand on its height; 2 mm or less above it there are none.
    doc.levels.push_back({.id = 2, .height = 30, .outline = {}});
    for (PlacedPiece& p : doc.pieces) p.level = 2;
    EXPECT_NEAR(MinZ(Drawn(Build().piers.mesh)), 30, 1e-4);
    doc.pieces.resize(1);
    track[a].elevation = 32;
    EXPECT_FALSE(IsRaised(doc, track[a]));
    EXPECT_TRUE(Drawn(Build().piers.mesh).Empty());
}

TEST_F(SupportTest, RaisedPieceOnADeckGetsNoRisers) {
    AddDeck(2, 260, {{-100, -100}, {1000, -100}, {1000, 100}, {-100, 100}});
    const uint32_t a = track.Place("24188", 0, 0, 0, 260);  // on level 1, resting on the deck
    EXPECT_FALSE(IsRaised(doc, track[a]));
    Scene3D s = Build();
    EXPECT_EQ(PierCount(s), 0);
    // A piece running off the deck's edge gets a riser where it is off it only.
    const uint32_t b = track.Place("24188", 900, 0, 0, 260);
    EXPECT_TRUE(IsRaised(doc, track[b]));
    EXPECT_TRUE(OnDeck(doc, 900, 0, 260));
    EXPECT_FALSE(OnDeck(doc, 900 + 188.3, 0, 260));
    s = Build();
    ASSERT_EQ(PierCount(s), 1);
    EXPECT_GT(Drawn(s.piers.mesh).positions[0], 1000);
    EXPECT_NEAR(MaxZ(Drawn(s.piers.mesh)), 260, 1e-4);
    // Bridges keep their piers, deck or not.
    track.Place("74636", 0, 50, 0, 300);
    EXPECT_EQ(PierCount(Build()), 3);
}

TEST_F(SupportTest, HelixColumnsEndUnderTheTopTurn) {
    for (const char* variant : {"proses_2_5_r1r2", "proses_3_5_r1r2"}) {
        SCOPED_TRACE(variant);
        doc.helices.clear();
        doc.pieces.clear();
        ASSERT_NE(PlaceHelix(doc, 500, 400, 20, variant), kNoId);
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
        EXPECT_NEAR(topTurn, FindHelixVariant(variant)->rise, 1e-3);
    }
}

TEST_F(SupportTest, GridLiesUnderTheBaseboardAndNothingReachesDownToIt) {
    EXPECT_LT(kGridZ, kAxesZ);
    EXPECT_LT(kAxesZ, kBaseboardZ);
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
