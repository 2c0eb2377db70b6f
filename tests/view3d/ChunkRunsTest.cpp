// Runs of consecutive chunks: which chunks go into one draw, and the ranges each run covers.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "view3d/ChunkRuns.h"

namespace {

// A chunk of `triangles` triangles, each with vertices of its own.
Mesh Triangles(int triangles) {
    Mesh m;
    for (int t = 0; t < triangles; ++t) {
        const uint32_t a = m.AddVertex({0, 0, 0}, {0, 0, 1}, {1, 1, 1});
        m.AddVertex({1, 0, 0}, {0, 0, 1}, {1, 1, 1});
        m.AddVertex({0, 1, 0}, {0, 0, 1}, {1, 1, 1});
        m.AddTriangle(a, a + 1, a + 2);
    }
    return m;
}

}  // namespace

TEST(ChunkRunsTest, GathersConsecutiveChunksAndSkipsEmptyOnes) {
    ChunkedMesh mesh;
    for (int triangles : {1, 0, 2, 1, 0, 1}) mesh.Append(Triangles(triangles));
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
        {"empty inside a run", {3, 4, 5}, {{3, 6}}},
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
