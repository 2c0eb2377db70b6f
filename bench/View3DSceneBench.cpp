// Building the 3D scene of layouts of 2,000, 10,000 and 100,000 pieces (meshes, instances,
// piers, helices, scenery, baseboard, tunnels): from nothing, as opening the 3D window does, and
// again after one piece moved, as every edit with the 3D window open does; and making the far
// meshes, as the first frame that draws track away from the eye does.
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "view3d/OrbitCamera.h"
#include "view3d/Scene3D.h"

namespace {

void Report(benchmark::State& state, const LayoutDocument& doc, Scene3D& scene) {
    size_t triangles = 0;
    for (const TrackInstance& t : scene.tracks)
        triangles += scene.pieceMeshes[t.article].TriangleCount();
    state.counters["pieces"] = static_cast<double>(doc.pieces.size());
    state.counters["instances"] = static_cast<double>(scene.tracks.size());
    state.counters["track_triangles"] = static_cast<double>(triangles);
    state.counters["pier_triangles"] = static_cast<double>(scene.piers.mesh.TriangleCount());
}

void BM_BuildScene(benchmark::State& state) {
    const LayoutDocument doc = SampleMixed(static_cast<int>(state.range(0)));
    OrbitCamera camera;
    Scene3D scene;
    for (auto _ : state) {
        scene = Scene3D{};
        RebuildScene(scene, doc);
        camera.Fit(scene.bounds);
        benchmark::DoNotOptimize(scene.tracks.data());
    }
    Report(state, doc, scene);
}

void BM_MakeFarMeshes(benchmark::State& state) {
    const LayoutDocument doc = SampleMixed(static_cast<int>(state.range(0)));
    Scene3D built;
    RebuildScene(built, doc);
    for (auto _ : state) {
        state.PauseTiming();
        Scene3D scene = built;
        state.ResumeTiming();
        MakeFarMeshes(scene);
        benchmark::DoNotOptimize(scene.farBatch.mesh.positions.data());
        state.PauseTiming();
        scene = Scene3D{};  // freed outside the timing
        state.ResumeTiming();
    }
    Report(state, doc, built);
}

// One raised piece (on risers) in the middle of the layout moves 10 mm and back, by turns.
void BM_RebuildAfterMove(benchmark::State& state) {
    LayoutDocument doc = SampleMixed(static_cast<int>(state.range(0)));
    Scene3D scene;
    OrbitCamera camera;
    RebuildScene(scene, doc);
    size_t middle = doc.pieces.size() / 2;
    while (middle + 1 < doc.pieces.size() && !IsRaised(doc, doc.pieces[middle])) ++middle;
    PlacedPiece& moved = doc.pieces[middle];
    int k = 0;
    for (auto _ : state) {
        moved.x += (k++ % 2 == 0) ? 10 : -10;
        RebuildScene(scene, doc);
        camera.Fit(scene.bounds);
        benchmark::DoNotOptimize(scene.tracks.data());
    }
    Report(state, doc, scene);
}

}  // namespace

BENCHMARK(BM_BuildScene)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeFarMeshes)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAfterMove)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
