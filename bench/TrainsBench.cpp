// Running trains: ten trains of eight vehicles on a joined layout of 2,000 pieces, advanced and
// posed as one animation frame does it (collision checks included). Target: at most 1 ms a frame.
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "network/TrackGraph.h"
#include "trains/TrainSession.h"

namespace {

// Ten trains spread over the rings of the layout, all running.
TrainSession TenTrains(const LayoutDocument& doc) {
    TrainSession session;
    session.SetNetwork(BuildTrackGraph(doc));
    const TrainPreset& preset = *TrainPresetsFor(87).front();
    const size_t stride = doc.pieces.size() / 10;
    for (size_t k = 0; k < 10; ++k) {
        uint32_t id = 0;
        session.AddTrain(preset, 7, {doc.pieces[k * stride].id, 0}, 0.0, &id);
        session.SetSpeed(id, 120);
        session.SetRunning(id, true);
    }
    return session;
}

void BM_AdvanceAndPoseTenTrains(benchmark::State& state) {
    const LayoutDocument doc = SampleJoinedTrack(static_cast<int>(state.range(0)));
    TrainSession session = TenTrains(doc);
    size_t vehicles = 0;
    for (const SessionTrain& t : session.Trains()) vehicles += t.poses.size();
    for (auto _ : state) {
        const auto stops = session.Run(1.0 / 30);
        benchmark::DoNotOptimize(stops);
    }
    state.counters["trains"] = static_cast<double>(session.Trains().size());
    state.counters["vehicles"] = static_cast<double>(vehicles);
    state.counters["running"] = session.AnyRunning() ? 1 : 0;
}
BENCHMARK(BM_AdvanceAndPoseTenTrains)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
