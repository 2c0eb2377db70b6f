// One mouse move of a palette drag over a 2,000-piece layout (pixel to mm, snap search) and the
// piece hit test a press runs over the same layout.
#include <benchmark/benchmark.h>

#include "canvas/Interaction.h"
#include "canvas/Snapping.h"
#include "catalog/TrackCatalog.h"

namespace {

// 40 rows of 50 straights, each row joined end to end, so every row has two open ends and the
// search still visits every piece.
LayoutDocument BigLayout() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    const PieceDef& def = *TrackCatalog::Instance().Find("24188");
    for (int row = 0; row < 40; ++row) {
        for (int col = 0; col < 50; ++col) {
            PlacedPiece p;
            p.id = doc.TakeId();
            p.article = "24188";
            p.x = col * def.length;
            p.y = row * 150.0;
            p.joints.resize(2);
            if (col > 0) {
                p.joints[0] = {p.id - 1, 1};
                doc.pieces.back().joints[1] = {p.id, 0};
            }
            doc.pieces.push_back(p);
        }
    }
    return doc;
}

void BM_PaletteDragMouseMove(benchmark::State& state) {
    const LayoutDocument doc = BigLayout();
    ViewTransform view;
    int px = 0;
    for (auto _ : state) {
        px = (px + 7) % 4000;
        // Pointer sweeping near the open end of a row, so snaps come and go.
        const PiecePose pose{view.ToLayoutX(px), view.ToLayoutY(2500), 0};
        benchmark::DoNotOptimize(TrackPaletteDrag(doc, "24188", pose));
    }
}
BENCHMARK(BM_PaletteDragMouseMove)->Unit(benchmark::kMicrosecond);

void BM_PieceAt(benchmark::State& state) {
    const LayoutDocument doc = BigLayout();
    ViewTransform view;
    int px = 0;
    for (auto _ : state) {
        px = (px + 7) % 4000;
        benchmark::DoNotOptimize(PieceAt(doc, view, px, 1200));
    }
}
BENCHMARK(BM_PieceAt)->Unit(benchmark::kMicrosecond);

}  // namespace
