// Drawing one frame of the 3D view of a 2,000-piece layout in a 1000 x 700 window with Mesa's
// software OpenGL (run under Xvfb: needs a display).
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <wx/app.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "SampleLayouts.h"
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

void DrawFrames(benchmark::State& state, float pitch, float distanceFactor) {
    static const LayoutDocument doc = SampleMixed(2000);
    auto* frame = new View3DFrame(nullptr, doc);
    frame->Show();
    Pump();
    TrackGLCanvas* canvas = frame->Canvas();
    canvas->Camera().pitch = pitch;
    canvas->Camera().distance *= distanceFactor;
    if (!canvas->RenderFrame()) state.SkipWithError("no OpenGL context");
    const std::clock_t cpuStart = std::clock();
    for (auto _ : state) {
        canvas->RenderFrame();
        glFinish();
    }
    // CPU time of the whole process (Mesa draws on worker threads) per frame: on a busy shared
    // machine the wall time says more about the neighbours than about the drawing.
    state.counters["process_cpu_ms"] =
        benchmark::Counter((std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC /
                           std::max<int64_t>(1, state.iterations()));
    state.counters["instances"] = static_cast<double>(canvas->Scene().tracks.size());
    frame->Destroy();
    Pump();
}

// The fitted camera: the whole layout in view.
void BM_DrawFrameFitted(benchmark::State& state) { DrawFrames(state, 35, 1.0f); }
// Closer in: fewer instances on screen but larger triangles.
void BM_DrawFrameClose(benchmark::State& state) { DrawFrames(state, 60, 0.15f); }

}  // namespace

BENCHMARK(BM_DrawFrameFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrameClose)->Unit(benchmark::kMillisecond);

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
