// The track diagram of the shipped samples (target: 50 ms for all five) and of a layout of 2,000
// pieces with 200 turnouts (target: 2 s); both include building the network.
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "control/BuildTrackDiagram.h"
#include "network/TrackGraph.h"
#include "persistence/LayoutFile.h"

namespace {

// Rows of twenty stations: each a left turnout and four straights on the main line, its
// diverging leg a siding beside it (a counter curve, three straights and a bumper): ten pieces a
// turnout.
LayoutDocument MakeStations(int turnouts) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    uint32_t last = kNoId;
    for (int t = 0; t < turnouts; ++t) {
        const bool rowStart = t % 20 == 0;
        const uint32_t turnout =
            AppendJoined(doc, "24611", rowStart ? kNoId : last, 1, 0, (t / 20) * 400.0);
        uint32_t siding = AppendJoined(doc, "24224", turnout, 2);
        for (int k = 0; k < 3; ++k) siding = AppendJoined(doc, "24188", siding, 1);
        AppendJoined(doc, "24977", siding, 1);
        last = turnout;
        for (int k = 0; k < 4; ++k) last = AppendJoined(doc, "24188", last, 1);
    }
    return doc;
}

void BM_DiagramOfSamples(benchmark::State& state) {
    std::vector<LayoutDocument> samples;
    for (const char* name :
         {"C-Track Figure Eight.xml", "C-Track Oval Station.xml", "K-Track Two Decks.xml",
          "TRIX C-Track Reversing Loop.xml", "Z-Track Shelf.xml"}) {
        samples.emplace_back();
        LoadLayout(samples.back(), std::string(QUILLMORE_SOURCE_DIR) + "/resources/layouts/" + name,
                   nullptr);
    }
    size_t cells = 0;
    for (auto _ : state) {
        cells = 0;
        for (const LayoutDocument& doc : samples)
            cells += BuildTrackDiagram(doc, BuildTrackGraph(doc), DiagramOptions{}).cells.size();
        benchmark::DoNotOptimize(cells);
    }
    state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_DiagramOfSamples)->Unit(benchmark::kMillisecond);

void BM_DiagramOfStations(benchmark::State& state) {
    const LayoutDocument doc = MakeStations(static_cast<int>(state.range(0)));
    TrackDiagram d;
    for (auto _ : state) {
        d = BuildTrackDiagram(doc, BuildTrackGraph(doc), DiagramOptions{});
        benchmark::DoNotOptimize(d);
    }
    int links = 0;
    for (const DiagramCell& c : d.cells) links += c.symbol == DiagramSymbol::Link;
    state.counters["pieces"] = static_cast<double>(doc.pieces.size());
    state.counters["cells"] = static_cast<double>(d.cells.size());
    state.counters["width"] = d.width;
    state.counters["height"] = d.height;
    state.counters["links"] = links;
}
BENCHMARK(BM_DiagramOfStations)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
