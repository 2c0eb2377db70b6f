// Drawing one frame of the 3D view of layouts of 2,000, 10,000 and 100,000 pieces in a
// 1000 x 700 window with Mesa's software OpenGL (run under Xvfb: needs a display). The figure
// that counts is "cpu_ms": the CPU of this program (Mesa draws on worker threads) and of the X
// server per frame; on a busy shared machine the wall time says more about the neighbours.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <wx/app.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

#include "SampleLayouts.h"
#include "XServerCpu.h"
#include "catalog/TrackCatalog.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

void Pump() {
    for (int i = 0; i < 50; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}

const LayoutDocument& Layout(int pieces) {
    static std::map<int, LayoutDocument> docs;
    auto it = docs.find(pieces);
    if (it == docs.end()) it = docs.emplace(pieces, SampleMixed(pieces)).first;
    return it->second;
}

void DrawFrames(benchmark::State& state, float pitch, float distanceFactor, float turnDeg = 0) {
    const LayoutDocument& doc = Layout(static_cast<int>(state.range(0)));
    auto* frame = new View3DFrame(nullptr, doc);
    frame->Show();
    Pump();
    TrackGLCanvas* canvas = frame->Canvas();
    canvas->Camera().pitch = pitch;
    canvas->Camera().distance *= distanceFactor;
    if (!canvas->RenderFrame()) state.SkipWithError("no OpenGL context");
    // The first frames compile the driver's shaders and fill its caches: not part of a frame.
    for (int k = 0; k < 5; ++k) canvas->RenderFrame();
    glFinish();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double x0 = XServerCpuSeconds(), p0 = ProcessCpuSeconds();
    for (auto _ : state) {
        canvas->Camera().yaw += turnDeg;
        canvas->RenderFrame();
        glFinish();
    }
    const double p1 = ProcessCpuSeconds();
    // Let the server finish what it was sent before reading its clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double x1 = XServerCpuSeconds();
    const double n = static_cast<double>(std::max<int64_t>(1, state.iterations()));
    state.counters["cpu_ms"] = ((p1 - p0) + (x1 - x0)) * 1000 / n;
    state.counters["x_ms"] = (x1 - x0) * 1000 / n;
    state.counters["instances"] = static_cast<double>(canvas->Scene().tracks.size());
    frame->Destroy();
    Pump();
}

// The fitted camera: the whole layout in view.
void BM_DrawFrameFitted(benchmark::State& state) { DrawFrames(state, 35, 1.0f); }
// Closer in: fewer instances on screen but larger triangles.
void BM_DrawFrameClose(benchmark::State& state) { DrawFrames(state, 60, 0.15f); }
// The same while the camera turns a degree a frame, as in an orbit: the track in view changes
// from frame to frame, and what is batched for one frame seldom serves the next.
void BM_DrawFrameCloseTurning(benchmark::State& state) { DrawFrames(state, 60, 0.15f, 1); }

}  // namespace

BENCHMARK(BM_DrawFrameFitted)
    ->Arg(2000)
    ->Arg(10000)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrameFitted)->Arg(100000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrameClose)->Arg(2000)->Arg(10000)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrameClose)->Arg(100000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrameCloseTurning)->Arg(2000)->Iterations(30)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "wxEntryStart failed: run under xvfb-run\n");
        return 2;
    }
    TrackCatalog::Instance();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}
