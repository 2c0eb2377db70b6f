// Rebuilding the 3D scene from a document: instances, piers, helices, scenery, baseboard,
// tunnels, extent and camera, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "base/Geometry.h"
#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"
#include "model/Helices.h"
#include "model/TrackBuilder.h"
#include "model/Tunnels.h"
#include "view3d/DrawnMesh.h"
#include "view3d/OrbitCamera.h"
#include "view3d/Scene3D.h"
#include "view3d/TrackMeshes.h"

namespace {

class SceneTest : public testing::Test {
protected:
    SceneTest() { doc.EnsureDefaultLevel(); }
    Scene3D Build() {
        Scene3D s;
        RebuildScene(s, doc);
        return s;
    }
    LayoutDocument doc;
    TrackBuilder track{doc};
};

}  // namespace

TEST_F(SceneTest, HiddenLevelsAndUnknownArticlesAreLeftOut) {
    doc.levels.push_back({.id = 2, .visible = false, .outline = {}});
    track.Place("24188", 0, 0);
    track[track.Place("24172", 0, 100)].level = 2;
    track.Place("99999", 0, 200);
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
    EXPECT_FLOAT_EQ(t.x, 100);
    EXPECT_FLOAT_EQ(t.y, -50);
    EXPECT_FLOAT_EQ(t.z, 20);
    EXPECT_FLOAT_EQ(t.rotationDeg, -30);
    EXPECT_FLOAT_EQ(t.tiltDeg, 3);
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
    for (const auto& [batch, meshes] : {std::pair{&s.farBatch, &s.farPieceMeshes}}) {
        ASSERT_EQ(batch->first.size(), s.tracks.size() + 1);
        EXPECT_EQ(batch->first.back(), batch->mesh.indices.size());
        size_t vertex = 0;
        for (size_t i = 0; i < s.tracks.size(); ++i) {
            const Mesh& m = meshes->at(s.tracks[i].article);
            ASSERT_EQ(batch->first[i + 1] - batch->first[i], m.indices.size()) << i;
            for (size_t v = 0; v < m.VertexCount(); ++v, ++vertex) {
                const Vec3 want = PlaceOnInstance(
                    s.tracks[i],
                    {m.positions[3 * v], m.positions[3 * v + 1], m.positions[3 * v + 2]});
                const float* got = &batch->mesh.positions[3 * vertex];
                ASSERT_NEAR(got[0], want.x, 1e-2);
                ASSERT_NEAR(got[1], want.y, 1e-2);
                ASSERT_NEAR(got[2], want.z, 1e-2);
                // Normals turn with the piece: the bed's top still faces up.
                const float* n = &batch->mesh.normals[3 * vertex];
                ASSERT_NEAR(std::hypot(n[0], n[1], n[2]), 1.0, 1e-4);
                if (m.normals[3 * v + 2] > 0.999f) {
                    ASSERT_GT(n[2], 0.99);
                }
            }
        }
        EXPECT_EQ(vertex, batch->mesh.VertexCount());
    }
}

TEST_F(SceneTest, TwoBridgesJoinedEndToStartGetThreePiers) {
    const uint32_t a = track.Place("74636", 0, 0, 0, 80);
    const uint32_t b = track.Attach("74636", a, 1);
    EXPECT_DOUBLE_EQ(track[b].elevation, 80);
    const Scene3D s = Build();
    EXPECT_EQ(PierCount(s), 3);
    EXPECT_NEAR(MinZ(Drawn(s.piers.mesh)), 0, 1e-4);
    EXPECT_NEAR(MaxZ(Drawn(s.piers.mesh)), 80, 1e-4);
}

TEST_F(SceneTest, PiersStandOnTheLevelAndSkipFlatBridgesAndNearbyPoints) {
    doc.levels.push_back({.id = 2, .height = 30, .outline = {}});
    track[track.Place("74620", 0, 0, 0, 31)].level = 2;     // 1 mm above its level: no piers
    track[track.Place("74620", 0, 300, 0, 100)].level = 2;  // two piers from 30 to 100
    track.Place("74620", 188.3 + 1.5, 300, 0, 100);         // starts 1.5 mm from a pier: one more
    const Scene3D s = Build();
    EXPECT_EQ(PierCount(s), 3);
    EXPECT_NEAR(MinZ(Drawn(s.piers.mesh)), 0, 1e-4);
    EXPECT_NEAR(MaxZ(Drawn(s.piers.mesh)), 100, 1e-4);
    // Without the last bridge the lowest pier foot is its level's height.
    doc.pieces.pop_back();
    EXPECT_NEAR(MinZ(Drawn(Build().piers.mesh)), 30, 1e-4);
}

TEST_F(SceneTest, AClimbingRampsEndPierReachesItsEndHeight) {
    const uint32_t r = track.Place("74618", 0, 0, 0, 10);
    track[r].grade = 4;
    const Scene3D s = Build();
    EXPECT_EQ(PierCount(s), 2);
    EXPECT_NEAR(MaxZ(Drawn(s.piers.mesh)), 10 + 180 * std::sin(4 * kPi / 180), 1e-3);
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
            const double a = (-90.0 - 30.0 * i) * kPi / 180;
            EXPECT_EQ(t.article, track == 0 ? v.innerCurveArticle : v.outerCurveArticle);
            EXPECT_NEAR(t.x, 500 + r * std::cos(a), 1e-3);
            EXPECT_NEAR(t.y, -(500 + r * std::sin(a)), 1e-3);
            EXPECT_NEAR(t.z, i * step, 1e-4);
            EXPECT_NEAR(t.rotationDeg, -(-90.0 - 30.0 * i + 90), 1e-3);
            EXPECT_NEAR(t.tiltDeg, -climb, 1e-4);
            EXPECT_NEAR(t.length, r * kPi / 6, 1e-3);
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
    // Thirteen support columns of 7 mm square posts from the base up by the rise.
    size_t columnVertices = 0;
    const Mesh piers = Drawn(s.piers.mesh);
    for (size_t v = 0; v < piers.VertexCount(); ++v)
        columnVertices +=
            piers.colours[3 * v] == kHelixColumn.r && piers.colours[3 * v + 1] == kHelixColumn.g;
    EXPECT_EQ(columnVertices, 13u * 24);
    EXPECT_NEAR(MinZ(Drawn(s.piers.mesh)), 0, 1e-4);
    EXPECT_NEAR(MaxZ(Drawn(s.piers.mesh)), v.rise, 1e-4);
}

TEST_F(SceneTest, HelixWithUnknownVariantUsesTheDefaultOne) {
    PlaceHelix(doc, 0, 0, 90, "proses_4_5_r4r5");
    doc.helices[0].variant = "no_such_helix";
    const Scene3D s = Build();
    EXPECT_EQ(s.tracks.size(), 4u + 60);
    EXPECT_TRUE(s.pieceMeshes.contains("24130"));
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
    EXPECT_FLOAT_EQ(i.halfDepth, 30);
    EXPECT_FLOAT_EQ(i.scaleX, 2);
    EXPECT_EQ(s.sceneryModels.size(), 1u);
    EXPECT_DOUBLE_EQ(s.bounds.maxX, 330);
    EXPECT_DOUBLE_EQ(s.bounds.minY, -260);
    EXPECT_EQ(SceneryDrawOffset("bridge_truss"), -4);
    EXPECT_EQ(SceneryDrawOffset("bridge_arch_scenery"), -1);
}

TEST_F(SceneTest, BaseboardIsTriangulatedAtItsHeightUnlessDegenerate) {
    doc.baseboard = {{0, 0}, {2400, 0}};
    EXPECT_TRUE(Build().baseboard.Empty());
    doc.baseboard = {{0, 0}, {2400, 0}, {2400, 600}, {1200, 600}, {1200, 1200}, {0, 1200}};
    const Mesh m = Build().baseboard;
    ASSERT_EQ(m.TriangleCount(), 4u);
    double area = 0;
    for (size_t t = 0; t < m.TriangleCount(); ++t) {
        const float* p[3];
        for (int k = 0; k < 3; ++k) p[k] = &m.positions[3 * m.indices[3 * t + k]];
        // Each triangle faces up in world axes (counter-clockwise seen from above).
        const double a2 =
            (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) - (p[1][1] - p[0][1]) * (p[2][0] - p[0][0]);
        EXPECT_GT(a2, 0);
        area += a2 / 2;
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(p[k][2], -0.5f);
            EXPECT_LE(p[k][1], 0.0f);  // layout y down is world y up
        }
    }
    EXPECT_NEAR(area, 2400.0 * 600 + 1200.0 * 600, 1e-3);
    EXPECT_EQ(m.colours[0], kBaseboardColour.r);
    // Only the baseboard: the camera has nothing to fit.
    EXPECT_FALSE(Build().bounds.any);
}

TEST_F(SceneTest, TunnelShellArchesOverEveryCoveredPiece) {
    const std::vector<uint32_t> ids = track.Line("24188", 3);
    track[ids[0]].selected = track[ids[1]].selected = track[ids[2]].selected = true;
    ASSERT_TRUE(ToggleTunnel(doc));
    const Scene3D s = Build();
    // 10 rings of 15 points on each of three 9-segment straights.
    ASSERT_EQ(s.tunnels.VertexCount(), 3u * 10 * 15);
    EXPECT_EQ(s.tunnels.TriangleCount(), 3u * 9 * 14 * 2);
    for (size_t v = 0; v < s.tunnels.VertexCount(); ++v) {
        const float* p = &s.tunnels.positions[3 * v];
        const float* n = &s.tunnels.normals[3 * v];
        EXPECT_NEAR(std::hypot(n[0], n[1], n[2]), 1.0, 1e-5);
        EXPECT_GE(p[0], -1e-3);
        EXPECT_LE(p[0], 3 * 188.3 + 1e-3);
        EXPECT_LE(std::abs(p[1]), 60 + 1e-3);
        EXPECT_GE(p[2], -1e-4);
        EXPECT_LE(p[2], 90 + 1e-4);
    }
    // The crown is greener than the sides.
    const float* side = &s.tunnels.colours[0];
    const float* crown = &s.tunnels.colours[3 * 7];
    EXPECT_NEAR(side[0], 0.55, 1e-6);
    EXPECT_GT(crown[1], side[1]);
    EXPECT_NEAR(s.tunnels.positions[3 * 7 + 2], 90, 1e-4);
    // Portals are scenery with their own model.
    EXPECT_EQ(s.scenery.size(), 2u);
}

TEST_F(SceneTest, BoundsAndCameraFit) {
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
    // An empty scene keeps centre and distance.
    doc.pieces.clear();
    cam.Fit(Build().bounds);
    EXPECT_NEAR(cam.distance, 648, 1e-3);
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
    cam.Wheel(0);  // anything but a positive rotation zooms out
    EXPECT_FLOAT_EQ(cam.distance, 15000);
    cam.distance = 900;
    cam.yaw = 0;
    cam.Pan(10, 0);
    EXPECT_FLOAT_EQ(cam.panX, 10);
    cam.Pan(0, 10);  // a drag down the screen moves the scene down: towards world -y
    EXPECT_FLOAT_EQ(cam.panY, -10);
    cam.Reset();
    EXPECT_FLOAT_EQ(cam.pitch, 35);
    EXPECT_FLOAT_EQ(cam.yaw, 30);
    EXPECT_FLOAT_EQ(cam.panX, 0);
    EXPECT_FLOAT_EQ(cam.panY, 0);
    EXPECT_FLOAT_EQ(cam.distance, 900);
}

TEST_F(SceneTest, AbsurdInputStaysFinite) {
    const uint32_t p = track.Place("24188", 1e12, -1e12, 1e9, 1e15);
    track[p].grade = 1e6;
    track.Place("74636", 0, 0, 0, -1e300);
    PlaceHelix(doc, 0, 0, 0, "");
    doc.baseboard = {{0, 0}, {1e300, 0}, {0, 1e300}, {5, 5}, {5, 5}};
    const Scene3D s = Build();
    EXPECT_EQ(s.tracks.size(), 2u + 4 + 60);
    OrbitCamera cam;
    cam.Fit(s.bounds);
    EXPECT_TRUE(std::isfinite(cam.distance));
}
