// The trains' animation in the real main window (run under Xvfb): ten trains of eight vehicles
// on a joined layout of 2,000 pieces at zoom to fit. One 2D frame is a frame of the Trains
// window (run, pose, the overlay drawn again where the trains were and are) and its paint; one
// 3D frame is the cab view drawn by the 3D window. The figure that counts is "cpu_ms": the CPU
// of this program and of the X server per frame (the server draws what the program sends).
// Targets: 4 ms a 2D frame, 33 ms a 3D cab-view frame.
#include <benchmark/benchmark.h>
#include <wx/app.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "SampleLayouts.h"
#include "XServerCpu.h"
#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/TrackCatalog.h"
#include "trains/gui/TrainsWindow.h"
#include "view3d/gui/TrackGLCanvas.h"
#include "view3d/gui/View3DFrame.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 900;

void Pump() {
    for (int i = 0; i < 5; ++i) wxTheApp->Yield(true);
}

struct Scene {
    MainFrame* frame = nullptr;
    TrainsWindow* trains = nullptr;
};

// The main window on the layout with ten running trains, made once.
Scene& TheScene() {
    static Scene scene;
    if (scene.frame) return scene;
    scene.frame = new MainFrame();
    scene.frame->Show();
    CanvasPanel* canvas = scene.frame->Canvas();
    const wxSize outer = scene.frame->GetSize() - canvas->GetClientSize();
    scene.frame->SetSize(kWidth + outer.x, kHeight + outer.y);
    scene.frame->Document() = SampleJoinedTrack(2000);
    scene.frame->NotifyChanged(DocChange::File);
    scene.frame->FlushChanges();
    Pump();
    canvas->ZoomToFit();
    canvas->Update();
    wxCommandEvent open(wxEVT_MENU, kCmdTrains);
    scene.frame->GetEventHandler()->ProcessEvent(open);
    scene.trains = scene.frame->Trains();
    TrainSession& session = scene.trains->Session();
    const LayoutDocument& doc = scene.frame->Document();
    const size_t stride = doc.pieces.size() / 10;
    for (size_t k = 0; k < 10; ++k) {
        uint32_t id = 0;
        session.AddTrain(*TrainPresetsFor(87).front(), 7, {doc.pieces[k * stride].id, 0}, 0.0, &id);
        session.SetSpeed(id, 120);
        session.SetRunning(id, true);
    }
    scene.trains->Advance(0);
    Pump();
    return scene;
}

template <typename Frame>
void Measure(benchmark::State& state, Frame frame) {
    Pump();
    const double x0 = XServerCpuSeconds(), p0 = ProcessCpuSeconds();
    int n = 0;
    for (auto _ : state) {
        frame();
        ++n;
    }
    const double p1 = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double x1 = XServerCpuSeconds();
    state.counters["cpu_ms"] = ((p1 - p0) + (x1 - x0)) * 1000 / std::max(n, 1);
    state.counters["x_ms"] = (x1 - x0) * 1000 / std::max(n, 1);
}

void BM_PlanFrame(benchmark::State& state) {
    Scene& s = TheScene();
    CanvasPanel* canvas = s.frame->Canvas();
    Measure(state, [&] {
        s.trains->Advance(1.0 / 30);
        canvas->Update();  // the paint of the areas the frame asked for
    });
    state.counters["running"] = s.trains->Session().AnyRunning() ? 1 : 0;
}
BENCHMARK(BM_PlanFrame)->Iterations(150)->Unit(benchmark::kMillisecond);

void BM_CabViewFrame(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.frame->View3D()) {
        wxCommandEvent open(wxEVT_MENU, kCmd3DView);
        s.frame->GetEventHandler()->ProcessEvent(open);
        s.frame->View3D()->SetSize(kWidth, kHeight);
        Pump();
    }
    TrackGLCanvas* canvas = s.frame->View3D()->Canvas();
    canvas->SetCameraMode(TrackGLCanvas::CameraMode::Cab);
    Measure(state, [&] {
        s.trains->Advance(1.0 / 30);
        canvas->RenderFrame();
    });
}
BENCHMARK(BM_CabViewFrame)->Iterations(60)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "wxEntryStart failed: run under xvfb-run\n");
        return 2;
    }
    wxTheApp->CallOnInit();
    setenv("HOME", "/tmp", 0);
    TrackCatalog::Instance();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}
