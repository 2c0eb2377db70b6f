// The track network of a 10,000-piece layout: building it, rebuilding it after one piece
// changed, and the shortest route from one end of it to the other.
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "network/HeightProfile.h"
#include "network/TrackGraph.h"

namespace {

// Two long parallel tracks, each block of five pieces (a turnout, straights and curves), with a
// crossover from the first track to the second in every block: branching at every block.
struct Ladder {
    LayoutDocument doc;
    GraphEnd start;
    GraphEnd finish;
};

Ladder MakeLadder(int pieces) {
    Ladder l;
    l.doc.EnsureDefaultLevel();
    const int blocks = pieces / 10;
    uint32_t lastA = kNoId, lastB = kNoId;
    int exitA = 1, exitB = 1;
    for (int b = 0; b < blocks; ++b) {
        const double x = b * 900.0;
        const uint32_t turnout = AppendJoined(l.doc, "24611", lastA, exitA, x, 0);
        // The second track's turnout trails: entered by its straight leg, left by its root.
        PlacedPiece trailing;
        trailing.article = "24612";
        trailing.x = x + 360;
        trailing.y = -77.5;
        trailing.heading = 180;
        trailing.joints.resize(3);
        trailing.id = l.doc.TakeId();
        const uint32_t cross = trailing.id;
        l.doc.pieces.push_back(trailing);
        if (lastB != kNoId) {
            l.doc.FindPiece(cross)->joints[1] = {lastB, static_cast<uint32_t>(exitB)};
            l.doc.FindPiece(lastB)->joints[exitB] = {cross, 1};
        }
        l.doc.FindPiece(cross)->joints[2] = {turnout, 2};
        l.doc.FindPiece(turnout)->joints[2] = {cross, 2};
        if (b == 0) l.start = {turnout, 0};
        lastA = turnout;
        lastB = cross;
        exitB = 0;
        for (const char* article : {"24188", "24130", "24188", "24130"}) {
            lastA = AppendJoined(l.doc, article, lastA, 1);
            lastB = AppendJoined(l.doc, article, lastB, exitB);
            exitB = 1;
        }
        exitA = 1;
    }
    l.finish = {lastB, 1};
    return l;
}

void BM_BuildTrackGraph(benchmark::State& state) {
    const Ladder l = MakeLadder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const TrackGraph g = BuildTrackGraph(l.doc);
        benchmark::DoNotOptimize(g.Pieces().data());
    }
    state.counters["pieces"] = static_cast<double>(l.doc.pieces.size());
}
BENCHMARK(BM_BuildTrackGraph)->Arg(10000)->Unit(benchmark::kMillisecond);

// One piece raised, the rest taken over from the previous graph.
void BM_RebuildAfterOneChange(benchmark::State& state) {
    Ladder l = MakeLadder(static_cast<int>(state.range(0)));
    TrackGraph previous = BuildTrackGraph(l.doc);
    PlacedPiece& changed = l.doc.pieces[l.doc.pieces.size() / 2];
    for (auto _ : state) {
        changed.elevation += 1;
        TrackGraph g = BuildTrackGraph(l.doc, &previous);
        benchmark::DoNotOptimize(g.Pieces().data());
        previous = std::move(g);
    }
    state.counters["reused"] = static_cast<double>(previous.reusedPieces);
}
BENCHMARK(BM_RebuildAfterOneChange)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FindRouteAcross(benchmark::State& state) {
    const Ladder l = MakeLadder(static_cast<int>(state.range(0)));
    const TrackGraph g = BuildTrackGraph(l.doc);
    size_t steps = 0;
    for (auto _ : state) {
        const Route r = FindRoute(g, l.start, l.finish);
        steps = r.steps.size();
        benchmark::DoNotOptimize(r.steps.data());
    }
    if (steps == 0) state.SkipWithError("no route across the layout");
    state.counters["steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_FindRouteAcross)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ProfileOfTheRouteAcross(benchmark::State& state) {
    const Ladder l = MakeLadder(static_cast<int>(state.range(0)));
    const TrackGraph g = BuildTrackGraph(l.doc);
    const Route r = FindRoute(g, l.start, l.finish);
    for (auto _ : state) {
        const HeightProfile p = BuildProfile(l.doc, g, r);
        benchmark::DoNotOptimize(p.points.data());
    }
}
BENCHMARK(BM_ProfileOfTheRouteAcross)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
