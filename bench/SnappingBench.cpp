// Snap search against a 5,000-piece layout: one call per mouse move of a dragged piece.
#include <benchmark/benchmark.h>

#include "canvas/Snapping.h"

namespace {

// 50 rows of 100 straights and curves, every fifth joint left open so there are ends to find.
LayoutDocument MakeLayout() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    for (int row = 0; row < 50; ++row) {
        for (int i = 0; i < 100; ++i) {
            PlacedPiece p;
            p.id = doc.TakeId();
            p.article = (i % 7 == 3) ? "24130" : "24188";
            p.x = i * 200.0;
            p.y = row * 250.0;
            p.heading = (i % 7 == 3) ? 10 : 0;
            p.joints.resize(2);
            if (i > 0 && i % 5 != 0) p.joints[0] = {p.id - 1, 1};
            if (i < 99 && i % 5 != 4) p.joints[1] = {p.id + 1, 0};
            doc.pieces.push_back(std::move(p));
        }
    }
    return doc;
}

// The whole palette-drag step the canvas runs: candidates of the visible levels, then the search.
void BM_TrackPaletteDrag(benchmark::State& state) {
    const LayoutDocument doc = MakeLayout();
    double x = 0;
    for (auto _ : state) {
        x += 37.3;
        if (x > 20000) x = 0;
        benchmark::DoNotOptimize(TrackPaletteDrag(doc, "24188", {x, 6200, 15}));
    }
}
BENCHMARK(BM_TrackPaletteDrag)->Unit(benchmark::kMicrosecond);

// The search alone, over candidates gathered once.
void BM_FindSnap(benchmark::State& state) {
    const LayoutDocument doc = MakeLayout();
    const std::vector<const PlacedPiece*> candidates = SnapCandidates(doc, false);
    const PieceDef& def = *TrackCatalog::Instance().Find("24188");
    double x = 0;
    for (auto _ : state) {
        x += 37.3;
        if (x > 20000) x = 0;
        benchmark::DoNotOptimize(FindSnap(def, {x, 6200, 15}, candidates));
    }
}
BENCHMARK(BM_FindSnap)->Unit(benchmark::kMicrosecond);

// A selection of 100 pieces dragged over the layout: every selected piece searches.
void BM_TrackSelectionMove(benchmark::State& state) {
    LayoutDocument doc = MakeLayout();
    for (int i = 0; i < 100; ++i) doc.pieces[2500 + i].selected = true;
    const MoveStart start = TakeMoveStart(doc);
    double dy = 0;
    for (auto _ : state) {
        dy += 3.7;
        if (dy > 500) dy = 0;
        benchmark::DoNotOptimize(TrackSelectionMove(doc, start, 11, dy));
    }
}
BENCHMARK(BM_TrackSelectionMove)->Unit(benchmark::kMicrosecond);

}  // namespace
