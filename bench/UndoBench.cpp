// Undo snapshots of a 5,000-piece document: time of PushUndo and Undo, memory of 50 snapshots.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include "model/LayoutDocument.h"

namespace {
LayoutDocument MakeDocument(int count) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    for (int i = 0; i < count; ++i) {
        PlacedPiece p;
        p.id = doc.TakeId();
        p.article = (i % 3 == 0) ? "24130" : "24188";
        p.x = (i % 100) * 190.0;
        p.y = (i / 100) * 120.0;
        p.joints.resize(2);
        if (i > 0) p.joints[0] = {p.id - 1, 1};
        doc.pieces.push_back(std::move(p));
    }
    for (int i = 0; i < count / 10; ++i)
        doc.scenery.push_back({doc.TakeId(), "tree", i * 10.0, 0, 0, false, 1, 1, 1});
    return doc;
}

void BM_PushUndo(benchmark::State& state) {
    LayoutDocument doc = MakeDocument(static_cast<int>(state.range(0)));
    for (auto _ : state) doc.PushUndo();
}
BENCHMARK(BM_PushUndo)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_Undo(benchmark::State& state) {
    LayoutDocument doc = MakeDocument(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        if (!doc.CanUndo())
            for (int i = 0; i < 50; ++i) doc.PushUndo();
        state.ResumeTiming();
        doc.Undo();
    }
}
BENCHMARK(BM_Undo)->Arg(5000)->Unit(benchmark::kMillisecond);

// Heap held by a full undo stack of a 5,000-piece document, reported as a counter (MB).
void BM_FiftySnapshotsMemory(benchmark::State& state) {
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        LayoutDocument doc = MakeDocument(5000);
        const size_t docOnly = mallinfo2().uordblks - before;
        for (int i = 0; i < 50; ++i) doc.PushUndo();
        const size_t all = mallinfo2().uordblks - before;
        state.counters["document_MB"] = docOnly / 1e6;
        state.counters["fifty_snapshots_MB"] = (all - docOnly) / 1e6;
    }
}
BENCHMARK(BM_FiftySnapshotsMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace
