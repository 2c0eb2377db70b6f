// Chunked meshes and rebuilding a scene after an edit: the result equals a scene built afresh,
// and only the chunks of what the edit changed are made again.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "catalog/TrackCatalog.h"
#include "model/Helices.h"
#include "model/TrackBuilder.h"
#include "view3d/ChunkRuns.h"
#include "view3d/ChunkedMesh.h"
#include "view3d/Scene3D.h"

namespace {

Mesh Tri(float x, int extraVertices = 0) {
    Mesh m;
    const uint32_t a = m.AddVertex({x, 0, 0}, {0, 0, 1}, {1, 0, 0});
    const uint32_t b = m.AddVertex({x + 1, 0, 0}, {0, 0, 1}, {1, 0, 0});
    const uint32_t c = m.AddVertex({x, 1, 0}, {0, 0, 1}, {1, 0, 0});
    m.AddTriangle(a, b, c);
    for (int k = 0; k < extraVertices; ++k) {
        const uint32_t d = m.AddVertex({x, 2.0 + k, 0}, {0, 0, 1}, {0, 1, 0});
        m.AddTriangle(a, c, d);
    }
    return m;
}

bool SameChunks(const ChunkedMesh& a, const ChunkedMesh& b) {
    return a.mesh == b.mesh && a.first == b.first && a.vertexStart == b.vertexStart;
}

// Every chunk's indices point into its own vertices, and the chunks tile the mesh.
void ExpectConsistent(const ChunkedMesh& c) {
    ASSERT_EQ(c.first.size(), c.vertexStart.size());
    EXPECT_EQ(c.first.back(), c.mesh.indices.size());
    EXPECT_EQ(c.vertexStart.back(), c.mesh.VertexCount());
    for (size_t k = 0; k < c.ChunkCount(); ++k)
        for (uint32_t i = c.first[k]; i < c.first[k + 1]; ++i) {
            EXPECT_GE(c.mesh.indices[i], c.vertexStart[k]) << k;
            EXPECT_LT(c.mesh.indices[i], c.vertexStart[k + 1]) << k;
        }
}

}  // namespace

// The mesh after each splice is the one the chunks appended in their final order give.
TEST(ChunkedMesh, SameSizedChunksAreReplacedInPlaceOthersMoveTheRest) {
    ChunkedMesh c;
    std::vector<Mesh> order;
    auto splice = [&](size_t from, size_t to, std::vector<Mesh> with) {
        c.change = MeshChange{};
        order.erase(order.begin() + from, order.begin() + to);
        order.insert(order.begin() + from, with.begin(), with.end());
        c.Splice(from, to, std::move(with));
        ExpectConsistent(c);
        ChunkedMesh fresh;
        for (const Mesh& m : order) fresh.Append(m);
        EXPECT_TRUE(SameChunks(c, fresh));
    };
    splice(0, 0, {Tri(0), Tri(10), Tri(20), Tri(30), Tri(40)});
    // In place: only the replaced chunk's vertices and indices are marked.
    splice(2, 3, {Tri(99)});
    EXPECT_FALSE(c.change.whole);
    EXPECT_EQ(c.change.firstVertex, 6u);
    EXPECT_EQ(c.change.endVertex, 9u);
    EXPECT_EQ(c.change.firstIndex, 6u);
    EXPECT_EQ(c.change.endIndex, 9u);
    // A bigger chunk: the ones after it move.
    splice(1, 2, {Tri(50, 2)});
    EXPECT_TRUE(c.change.whole);
    // Removing two and inserting none, inserting at the front, replacing the last by more, and
    // appending.
    splice(1, 3, {});
    splice(0, 0, {Tri(-5), Tri(-6, 1)});
    splice(3, 5, {Tri(7), Tri(8, 2), Tri(9)});
    splice(c.ChunkCount(), c.ChunkCount(), {Tri(10, 1)});
    EXPECT_TRUE(c.change.whole);
    EXPECT_EQ(c.ChunkCount(), 7u);
}

// Runs of consecutive chunks: which chunks go into one draw, and the ranges each run covers.
TEST(ChunkRunsTest, GathersConsecutiveChunksAndSkipsEmptyOnes) {
    ChunkedMesh mesh;
    for (int triangles : {1, 0, 2, 1, 0, 1})
        mesh.Append(triangles ? Tri(0, triangles - 1) : Mesh{});
    const struct {
        const char* name;
        std::vector<size_t> added;
        std::vector<std::pair<size_t, size_t>> runs;  // chunks [from, to) of each run
    } cases[] = {
        {"a gap splits", {0, 2, 3}, {{0, 1}, {2, 4}}},
        {"an empty chunk joins", {0, 1, 2}, {{0, 3}}},
        {"an empty chunk starts nothing", {1, 2}, {{2, 3}}},
        {"only empty chunks", {1, 4}, {}},
        {"past the end ignored", {5, 6, 99}, {{5, 6}}},
        {"nothing added", {}, {}},
    };
    for (const auto& c : cases) {
        ChunkRuns runs(mesh);
        std::vector<ChunkRun> got;
        for (size_t chunk : c.added)
            if (const auto run = runs.Add(chunk)) got.push_back(*run);
        if (const auto run = runs.Flush()) got.push_back(*run);
        EXPECT_FALSE(runs.Flush()) << c.name << ": a flushed run is not drawn twice";
        ASSERT_EQ(got.size(), c.runs.size()) << c.name;
        for (size_t k = 0; k < got.size(); ++k) {
            const auto [from, to] = c.runs[k];
            EXPECT_EQ(got[k].firstIndex, mesh.first[from]) << c.name << " run " << k;
            EXPECT_EQ(got[k].endIndex, mesh.first[to]) << c.name << " run " << k;
            EXPECT_EQ(got[k].lowVertex, mesh.vertexStart[from]) << c.name << " run " << k;
            EXPECT_EQ(got[k].highVertex + 1, mesh.vertexStart[to]) << c.name << " run " << k;
        }
    }
}

namespace {

class SceneUpdateTest : public testing::Test {
protected:
    SceneUpdateTest() {
        doc.EnsureDefaultLevel();
        doc.levels.push_back(
            {.id = 2, .height = 60, .outline = {{2000, 0}, {3000, 0}, {3000, 800}, {2000, 800}}});
        // Raised track on risers, two bridges joined end to start, flat track, a deck piece, a
        // helix and a tunnel.
        for (int k = 0; k < 12; ++k)
            ids.push_back(
                track.Place(k % 3 ? "24188" : "24130", 200.0 * k, 100, k * 10.0, k % 2 ? 40 : 0));
        bridgeA = track.Place("74636", 0, 600, 0, 80);
        bridgeB = track.Attach("74636", bridgeA, 1);
        track[track.Place("24188", 2200, 300, 0, 60)].level = 2;
        PlaceHelix(doc, 1200, 1500, 0, "");
        Tunnel t;
        t.id = doc.TakeId();
        t.covers = {ids[3], ids[4]};
        doc.tunnels.push_back(t);
        RebuildScene(scene, doc);
        MakeFarMeshes(scene);
        RebuildScene(farLater, doc);
    }

    // The scene kept and rebuilt equals one built from nothing; so do the far meshes of one kept
    // without them until now.
    void ExpectSameAsFresh(const std::string& what) {
        SCOPED_TRACE(what);
        Scene3D fresh;
        RebuildScene(fresh, doc);
        EXPECT_FALSE(fresh.farMade);
        EXPECT_EQ(fresh.farBatch.ChunkCount() + fresh.farPiers.ChunkCount(), 0u);
        MakeFarMeshes(fresh);
        RebuildScene(farLater, doc);
        Scene3D late = farLater;
        MakeFarMeshes(late);
        EXPECT_TRUE(SameChunks(late.farBatch, fresh.farBatch));
        EXPECT_TRUE(SameChunks(late.farPiers, fresh.farPiers));
        ASSERT_EQ(scene.tracks.size(), fresh.tracks.size());
        EXPECT_TRUE(scene.tracks == fresh.tracks);
        EXPECT_TRUE(SameChunks(scene.farBatch, fresh.farBatch));
        EXPECT_TRUE(SameChunks(scene.piers, fresh.piers));
        EXPECT_TRUE(SameChunks(scene.farPiers, fresh.farPiers));
        EXPECT_EQ(scene.pierChunkOfTrack, fresh.pierChunkOfTrack);
        EXPECT_TRUE(scene.tunnels == fresh.tunnels);
        EXPECT_TRUE(scene.decks == fresh.decks);
        EXPECT_TRUE(scene.baseboard == fresh.baseboard);
        EXPECT_EQ(scene.scenery.size(), fresh.scenery.size());
        EXPECT_EQ(scene.bounds.minX, fresh.bounds.minX);
        EXPECT_EQ(scene.bounds.maxY, fresh.bounds.maxY);
        ExpectConsistent(scene.farBatch);
        ExpectConsistent(scene.piers);
        ExpectConsistent(scene.farPiers);
        // Each piece's far piers stand where its piers do: one box per pier, made or not alike.
        ASSERT_EQ(scene.farPiers.ChunkCount() + 2, scene.piers.ChunkCount());
        for (size_t k = 0; k < scene.farPiers.ChunkCount(); ++k) {
            const bool hasPiers = scene.piers.first[k + 2] > scene.piers.first[k + 1];
            EXPECT_EQ(scene.farPiers.first[k + 1] > scene.farPiers.first[k], hasPiers) << k;
        }
    }

    void Edit(const std::string& what, const std::function<void()>& edit) {
        edit();
        RebuildScene(scene, doc);
        ExpectSameAsFresh(what);
    }

    LayoutDocument doc;
    TrackBuilder track{doc};
    std::vector<uint32_t> ids;
    uint32_t bridgeA = 0, bridgeB = 0;
    Scene3D scene;
    Scene3D farLater;  // never drawn far before
};

}  // namespace

TEST_F(SceneUpdateTest, EveryKindOfEditGivesTheSceneAFreshBuildWouldGive) {
    ExpectSameAsFresh("first build");
    Edit("raised piece moved", [&] { track[ids[5]].x += 35; });
    Edit("piece raised", [&] { track[ids[2]].elevation = 50; });
    Edit("turned and on a grade", [&] {
        track[ids[7]].heading += 15;
        track[ids[7]].grade = 2;
    });
    Edit("bridges parted", [&] {
        track[bridgeA].joints[1] = {};
        track[bridgeB].joints[0] = {};
    });
    Edit("tunnel widened", [&] { doc.tunnels[0].covers.push_back(ids[6]); });
    Edit("piece taken from the middle", [&] { doc.pieces.erase(doc.pieces.begin() + 4); });
    Edit("piece added at the end", [&] { ids.push_back(track.Place("24188", 0, -400, 0, 70)); });
    Edit("piece put first", [&] {
        std::vector<PlacedPiece> order = doc.pieces;
        std::rotate(order.begin(), order.end() - 1, order.end());
        doc.pieces = std::move(order);
    });
    Edit("riser moved onto another's", [&] {
        // Its start now stands where the piece before it ends: they share one riser.
        const PlacedPiece& before = *doc.FindPiece(ids[0]);
        track[ids[1]].x = before.x;
        track[ids[1]].y = before.y;
        track[ids[1]].elevation = 40;
    });
    Edit("upper level raised", [&] { doc.levels[1].height = 90; });
    Edit("helix moved", [&] { doc.helices[0].x += 100; });
    Edit("baseboard drawn", [&] { doc.baseboard = {{-100, -100}, {3000, -100}, {3000, 2000}}; });
    Edit("everything gone", [&] {
        doc.pieces.clear();
        doc.helices.clear();
        doc.tunnels.clear();
    });
}

TEST_F(SceneUpdateTest, MovingOnePieceRemakesOnlyItsChunks) {
    scene.farBatch.change = MeshChange{};
    scene.piers.change = MeshChange{};
    scene.changes = SceneChanges{false, false, false};
    const size_t index = 5;  // raised: it has risers
    ASSERT_GT(scene.piers.first[1 + index + 1], scene.piers.first[1 + index]);
    track[ids[index]].x += 10;
    RebuildScene(scene, doc);
    // Its far mesh and its risers, in place: nothing else needs copying to the card.
    EXPECT_FALSE(scene.farBatch.change.whole);
    EXPECT_EQ(scene.farBatch.change.firstVertex, scene.farBatch.vertexStart[index]);
    EXPECT_EQ(scene.farBatch.change.endVertex, scene.farBatch.vertexStart[index + 1]);
    EXPECT_FALSE(scene.piers.change.whole);
    EXPECT_EQ(scene.piers.change.firstVertex, scene.piers.vertexStart[1 + index]);
    EXPECT_EQ(scene.piers.change.endVertex, scene.piers.vertexStart[1 + index + 1]);
    EXPECT_FALSE(scene.changes.decks);
    EXPECT_FALSE(scene.changes.baseboard);
    EXPECT_FALSE(scene.changes.tunnels);
    // A rebuild with nothing changed changes nothing.
    scene.farBatch.change = MeshChange{};
    scene.piers.change = MeshChange{};
    RebuildScene(scene, doc);
    EXPECT_FALSE(scene.farBatch.change.Any());
    EXPECT_FALSE(scene.piers.change.Any());
    ExpectSameAsFresh("after the move");
}
