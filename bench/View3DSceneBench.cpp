// Rebuilding the 3D scene of a 2,000-piece layout (meshes, instances, piers, helices, scenery,
// baseboard, tunnels), as every change with the 3D window open does.
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "view3d/OrbitCamera.h"
#include "view3d/Scene3D.h"

namespace {

void BM_RebuildScene2000(benchmark::State& state) {
    const LayoutDocument doc = SampleMixed(2000);
    Scene3D scene;
    OrbitCamera camera;
    for (auto _ : state) {
        RebuildScene(scene, doc);
        camera.Fit(scene.bounds);
        benchmark::DoNotOptimize(scene.tracks.data());
    }
    size_t triangles = 0;
    for (const TrackInstance& t : scene.tracks)
        triangles += scene.pieceMeshes[t.article].TriangleCount();
    state.counters["pieces"] = static_cast<double>(doc.pieces.size());
    state.counters["instances"] = static_cast<double>(scene.tracks.size());
    state.counters["track_triangles"] = static_cast<double>(triangles);
}

}  // namespace

BENCHMARK(BM_RebuildScene2000)->Unit(benchmark::kMillisecond);
