// Undo snapshots of large documents: time of PushUndo, Undo and of one edit step (snapshot, one
// piece changed, restore), and the memory of 50 snapshots, at 2,000, 10,000 and 100,000 pieces.
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

// The edit of one piece the way the canvas makes it: found by id, moved.
void MoveOnePiece(LayoutDocument& doc, uint32_t step) {
    const uint32_t id = 1 + (step * 7919u) % static_cast<uint32_t>(doc.pieces.size());
    if (PlacedPiece* p = doc.FindPiece(id)) p->x += 1.0;
}

#define QM_SIZES ->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)

void BM_PushUndo(benchmark::State& state) {
    LayoutDocument doc = MakeDocument(static_cast<int>(state.range(0)));
    uint32_t step = 0;
    for (auto _ : state) {
        doc.PushUndo();
        state.PauseTiming();
        MoveOnePiece(doc, ++step);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PushUndo) QM_SIZES;

void BM_Undo(benchmark::State& state) {
    LayoutDocument doc = MakeDocument(static_cast<int>(state.range(0)));
    uint32_t step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!doc.CanUndo())
            for (int i = 0; i < 50; ++i) {
                doc.PushUndo();
                MoveOnePiece(doc, ++step);
            }
        state.ResumeTiming();
        doc.Undo();
    }
}
BENCHMARK(BM_Undo) QM_SIZES;

// One undo step as the user makes it: the snapshot before an edit of one piece, the edit, and
// the undo that restores the state before it.
void BM_UndoStep(benchmark::State& state) {
    LayoutDocument doc = MakeDocument(static_cast<int>(state.range(0)));
    uint32_t step = 0;
    for (auto _ : state) {
        doc.PushUndo();
        MoveOnePiece(doc, ++step);
        doc.Undo();
    }
}
BENCHMARK(BM_UndoStep) QM_SIZES;

// Heap held by a full undo stack after 50 edits of one piece each, reported as counters (MB).
void BM_FiftySnapshotsMemory(benchmark::State& state) {
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        LayoutDocument doc = MakeDocument(static_cast<int>(state.range(0)));
        const size_t docOnly = mallinfo2().uordblks - before;
        for (uint32_t i = 0; i < 50; ++i) {
            doc.PushUndo();
            MoveOnePiece(doc, i);
        }
        const size_t all = mallinfo2().uordblks - before;
        state.counters["document_MB"] = docOnly / 1e6;
        state.counters["fifty_snapshots_MB"] = (all - docOnly) / 1e6;
    }
}
BENCHMARK(BM_FiftySnapshotsMemory)->Iterations(1) QM_SIZES;
}  // namespace
