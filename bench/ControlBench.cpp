// Accessory addresses and the JMRI panel at 10,000 pieces: numbering every accessory of a layout
// with a turnout in every five pieces, and writing its panel file (target: both within 100 ms).
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "control/AssignAddresses.h"
#include "control/JmriPanel.h"
#include "network/TrackGraph.h"

namespace {

// Rows of joined blocks: a turnout, then straight, curve, straight, curve on its straight leg
// and a straight on its diverging leg. DCC, so that 2,000 turnouts find numbers.
LayoutDocument MakeStations(int pieces) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.control.protocol = DigitalProtocol::Dcc;
    const int blocks = pieces / 6;
    uint32_t last = kNoId;
    for (int b = 0; b < blocks; ++b) {
        const bool rowStart = b % 40 == 0;
        const uint32_t turnout = AppendJoined(doc, b % 2 ? "24611" : "24612", rowStart ? kNoId : last,
                                              1, 0, (b / 40) * 900.0);
        AppendJoined(doc, "24188", turnout, 2);
        last = turnout;
        for (const char* article : {"24188", "24130", "24188", "24230"})
            last = AppendJoined(doc, article, last, 1);
    }
    return doc;
}

void BM_AssignAddresses(benchmark::State& state) {
    const LayoutDocument doc = MakeStations(static_cast<int>(state.range(0)));
    const TrackGraph graph = BuildTrackGraph(doc);
    AddressOptions options;
    options.order = state.range(1) ? AddressOrder::ByStation : AddressOrder::ByPosition;
    for (auto _ : state) {
        AddressAssignment a = AssignAddresses(doc, graph, options);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_AssignAddresses)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);

void BM_WriteJmriPanel(benchmark::State& state) {
    LayoutDocument doc = MakeStations(static_cast<int>(state.range(0)));
    const TrackGraph graph = BuildTrackGraph(doc);
    ApplyAddresses(doc, AssignAddresses(doc, graph, AddressOptions{}));
    std::string xml;
    for (auto _ : state) {
        WriteJmriPanel(doc, graph, JmriOptions{}, xml);
        benchmark::DoNotOptimize(xml);
    }
    state.counters["bytes"] = static_cast<double>(xml.size());
}
BENCHMARK(BM_WriteJmriPanel)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
