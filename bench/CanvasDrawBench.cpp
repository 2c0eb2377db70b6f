// Drawing speed of the whole layout into a 1400 × 900 bitmap (run under Xvfb: needs a display).
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include <cstdio>

#include "SampleLayouts.h"
#include "canvas/gui/LayoutRenderer.h"
#include "catalog/TrackCatalog.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 900;

const LayoutDocument& MixedLayout() {
    static const LayoutDocument doc = SampleMixed(2000);
    return doc;
}

// The same transform the canvas's zoom to fit computes: pieces, scenery and outlines framed
// with 80-pixel margins.
ViewTransform FitView(const LayoutDocument& doc) {
    LayoutBounds bounds;
    for (const PlacedPiece& p : doc.pieces) bounds.Add(p.x, p.y);
    for (const SceneryItem& s : doc.scenery) bounds.Add(s.x, s.y);
    for (const Level& level : doc.levels) {
        for (const PointMm& pt : level.outline) bounds.Add(pt.x, pt.y);
    }
    return FitTransform(bounds, kWidth, kHeight);
}

void Draw(benchmark::State& state, const ViewTransform& view) {
    const LayoutDocument& doc = MixedLayout();
    wxBitmap bitmap(kWidth, kHeight, 24);
    wxMemoryDC dc(bitmap);
    for (auto _ : state) {
        DrawLayout(dc, doc, view, wxSize(kWidth, kHeight));
        DrawRulers(dc, doc.units, view, wxSize(kWidth, kHeight));
    }
    state.counters["pieces"] = static_cast<double>(doc.pieces.size());
    state.counters["zoom"] = view.zoom;
}

void BM_DrawLayoutZoomToFit(benchmark::State& state) { Draw(state, FitView(MixedLayout())); }

void BM_DrawLayoutZoom1(benchmark::State& state) {
    ViewTransform view;
    view.zoom = 1.0;  // the top-left corner of the layout, labels and dots drawn
    Draw(state, view);
}

}  // namespace

BENCHMARK(BM_DrawLayoutZoomToFit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawLayoutZoom1)->Unit(benchmark::kMillisecond);

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
