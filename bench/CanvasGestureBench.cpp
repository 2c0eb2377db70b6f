// One pointer motion of each canvas gesture, paint included, in the real main window (run under
// Xvfb), on joined layouts of 2,000, 10,000 and 100,000 pieces (half curves, half straights) at
// zoom to fit; one full repaint, and one zoom step of the mouse wheel. Each motion is followed by
// what the event loop does after it: queued calls and idle processing. The figure that counts is
// "cpu_ms": the CPU of this program and of the X server per motion (the server draws what the
// program sends). Pan and palette-drag motion run again with a 6,000 x 4,000 background picture
// under the layout (the "Picture" benchmarks, argument: pieces), to compare with the same layout
// without it.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include "SampleLayouts.h"
#include "XServerCpu.h"
#include "app/gui/MainFrame.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/TrackCatalog.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 900;

struct Window {
    MainFrame* frame = nullptr;
    CanvasPanel* canvas = nullptr;
};

void Pump() {
    for (int i = 0; i < 5; ++i) wxTheApp->Yield(true);
}

// A 6,000 x 4,000 photo-like picture (gradients and a check pattern), written once.
std::string LargePicture() {
    static std::string path;
    if (!path.empty()) return path;
    wxImage image(6000, 4000);
    unsigned char* data = image.GetData();
    for (int y = 0; y < 4000; ++y)
        for (int x = 0; x < 6000; ++x, data += 3) {
            const bool check = ((x / 50) + (y / 50)) % 2 == 0;
            data[0] = static_cast<unsigned char>(x * 255 / 6000);
            data[1] = static_cast<unsigned char>(y * 255 / 4000);
            data[2] = check ? 200 : 90;
        }
    wxInitAllImageHandlers();
    path = (wxFileName::GetTempDir() + "/quillmore-bench-picture.jpg").utf8_string();
    image.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_JPEG);
    return path;
}

// One main window per layout size (and with or without the picture), kept for all benchmarks
// of that size.
Window& WindowFor(int pieces, bool picture = false) {
    static std::map<int, Window> windows;
    const int key = pieces * 2 + (picture ? 1 : 0);
    auto it = windows.find(key);
    if (it != windows.end()) return it->second;
    Window w;
    w.frame = new MainFrame();
    w.frame->Show();
    w.canvas = w.frame->Canvas();
    // The canvas gets the size every figure is measured at.
    const wxSize outer = w.frame->GetSize() - w.canvas->GetClientSize();
    w.frame->SetSize(kWidth + outer.x, kHeight + outer.y);
    w.frame->Document() = SampleJoinedTrack(pieces);
    Pump();
    w.canvas->ZoomToFit();
    if (picture) {
        // Over the whole window, at half opacity.
        const ViewTransform& view = w.canvas->Transform();
        BackgroundPicture p;
        p.path = LargePicture();
        p.xMm = view.ToLayoutX(0);
        p.yMm = view.ToLayoutY(0);
        p.widthMm = kWidth / view.zoom;
        w.frame->Document().pictures.push_back(p);
        w.canvas->Refresh();
    }
    w.canvas->Update();
    Pump();
    return windows.emplace(key, w).first->second;
}

void Send(CanvasPanel* canvas, wxEventType type, int x, int y, bool left, bool middle = false) {
    wxMouseEvent e(type);
    e.SetEventObject(canvas);
    e.SetId(canvas->GetId());
    e.SetPosition(wxPoint(x, y));
    e.SetLeftDown(left);
    e.SetMiddleDown(middle);
    canvas->GetEventHandler()->ProcessEvent(e);
}

// What the event loop does after every event in the real window: the calls the event queued
// (the frame's change notification among them), then idle time, where the menus' and the tool
// bar's update handlers run.
void AfterEvent() {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
}

// Runs `motion(k)` once per iteration, each followed by the paint it asked for, and reports the
// CPU of the program and the X server per motion.
template <typename Motion>
void Measure(benchmark::State& state, CanvasPanel* canvas, Motion motion) {
    canvas->Update();
    Pump();
    const double x0 = XServerCpuSeconds(), p0 = ProcessCpuSeconds();
    int k = 0;
    for (auto _ : state) {
        motion(k++);
        canvas->Update();
        AfterEvent();
    }
    const double p1 = ProcessCpuSeconds();
    // Let the server finish what it was sent before reading its clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double x1 = XServerCpuSeconds();
    const double n = static_cast<double>(std::max(k, 1));
    state.counters["cpu_ms"] = ((p1 - p0) + (x1 - x0)) * 1000 / n;
    state.counters["x_ms"] = (x1 - x0) * 1000 / n;
    state.counters["pieces"] = static_cast<double>(canvas->Frame()->Document().pieces.size());
    state.counters["zoom"] = canvas->Zoom();
}

// The pointer sweeps back and forth over the middle of the window.
wxPoint Sweep(int k) {
    const int t = k % 400;
    const int x = 200 + (t < 200 ? t : 400 - t) * 5;
    return wxPoint(x, 250 + (k * 7) % 400);
}

void BM_FullRepaint(benchmark::State& state) {
    Window& w = WindowFor(static_cast<int>(state.range(0)));
    Measure(state, w.canvas, [&](int) { w.canvas->Refresh(); });
}

void BM_PlainMotion(benchmark::State& state) {
    Window& w = WindowFor(static_cast<int>(state.range(0)));
    Measure(state, w.canvas, [&](int k) {
        const wxPoint p = Sweep(k);
        Send(w.canvas, wxEVT_MOTION, p.x, p.y, false);
    });
}

void PaletteDrag(benchmark::State& state, bool picture) {
    Window& w = WindowFor(static_cast<int>(state.range(0)), picture);
    w.canvas->BeginPieceDrag("24130");
    Measure(state, w.canvas, [&](int k) {
        const wxPoint p = Sweep(k);
        Send(w.canvas, wxEVT_MOTION, p.x, p.y, false);
    });
    w.canvas->CancelPieceDrag();
    Pump();
}

void BM_PaletteDragMotion(benchmark::State& state) { PaletteDrag(state, false); }
void BM_PaletteDragMotionPicture(benchmark::State& state) { PaletteDrag(state, true); }

void BM_SelectionMoveMotion(benchmark::State& state) {
    Window& w = WindowFor(static_cast<int>(state.range(0)));
    // Press on the piece nearest the middle of the window and drag it about.
    const LayoutDocument& doc = w.canvas->Frame()->Document();
    wxPoint press;
    double best = 1e18;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def || def->kind != PieceKind::Straight) continue;
        const double h = p.heading * 3.14159265358979 / 180;
        const wxPoint at = w.canvas->LayoutToScreen(p.x + std::cos(h) * def->length / 2,
                                                    p.y + std::sin(h) * def->length / 2);
        const double d = std::hypot(at.x - kWidth / 2.0, at.y - kHeight / 2.0);
        if (d < best) {
            best = d;
            press = at;
        }
    }
    Send(w.canvas, wxEVT_LEFT_DOWN, press.x, press.y, true);
    Measure(state, w.canvas, [&](int k) {
        const int t = k % 80;
        const int d = 10 + (t < 40 ? t : 80 - t) * 4;
        Send(w.canvas, wxEVT_MOTION, press.x + d, press.y + d / 2, true);
    });
    Send(w.canvas, wxEVT_LEFT_UP, press.x, press.y, false);
    w.frame->Document().Undo();  // put the piece back for the next run
    w.canvas->Refresh();
    Pump();
}

void BM_RubberBandMotion(benchmark::State& state) {
    Window& w = WindowFor(static_cast<int>(state.range(0)));
    // Zoom to fit leaves an empty margin of 80 pixels around the layout.
    Send(w.canvas, wxEVT_LEFT_DOWN, 50, 50, true);
    Measure(state, w.canvas, [&](int k) {
        const int t = k % 300;
        const int d = 20 + (t < 150 ? t : 300 - t) * 5;
        Send(w.canvas, wxEVT_MOTION, 50 + d, 50 + d * 2 / 3, true);
    });
    // Release where the band is empty again, so nothing gets selected.
    Send(w.canvas, wxEVT_MOTION, 52, 52, true);
    Send(w.canvas, wxEVT_LEFT_UP, 52, 52, false);
    Pump();
}

// The wheel turned one notch about the middle of the window, in and out by turns.
void BM_ZoomStep(benchmark::State& state) {
    Window& w = WindowFor(static_cast<int>(state.range(0)));
    const ViewTransform start = w.canvas->Transform();
    Measure(state, w.canvas, [&](int k) {
        wxMouseEvent e(wxEVT_MOUSEWHEEL);
        e.SetEventObject(w.canvas);
        e.SetPosition(wxPoint(kWidth / 2, kHeight / 2));
        e.m_wheelRotation = k % 2 ? -120 : 120;
        e.m_wheelDelta = 120;
        w.canvas->GetEventHandler()->ProcessEvent(e);
    });
    w.canvas->SetTransform(start);
    Pump();
}

void Pan(benchmark::State& state, bool picture) {
    Window& w = WindowFor(static_cast<int>(state.range(0)), picture);
    const ViewTransform start = w.canvas->Transform();
    Send(w.canvas, wxEVT_MIDDLE_DOWN, 700, 450, false, true);
    Measure(state, w.canvas, [&](int k) {
        const int t = k % 60;
        const int d = 5 + (t < 30 ? t : 60 - t) * 6;
        Send(w.canvas, wxEVT_MOTION, 700 + d, 450 + d / 3, false, true);
    });
    Send(w.canvas, wxEVT_MIDDLE_UP, 700, 450, false);
    w.canvas->SetTransform(start);
    Pump();
}

void BM_PanMotion(benchmark::State& state) { Pan(state, false); }
void BM_PanMotionPicture(benchmark::State& state) { Pan(state, true); }

}  // namespace

BENCHMARK(BM_FullRepaint)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMotion)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaletteDragMotion)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionMoveMotion)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RubberBandMotion)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStep)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanMotion)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_PaletteDragMotionPicture)->Arg(2000)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanMotionPicture)->Arg(2000)->Iterations(200)->Unit(benchmark::kMillisecond);
