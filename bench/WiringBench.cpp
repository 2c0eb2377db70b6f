// The wiring check over large layouts: 10,000 and 100,000 pieces of TRIX C track in closed
// ovals, each split by centre-free gaps into two detection sections with a feeder each, and in
// every tenth oval a balloon with its reversing section gapped.
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "network/TrackGraph.h"
#include "wiring/WiringAnalysis.h"
#include "wiring/WiringEdits.h"
#include "wiring/WiringProposals.h"

namespace {

LayoutDocument WiredOvals(int count) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.wiring.districts = {{1, "Booster 1", 0xFF0000, 3}};
    int made = 0;
    for (int n = 0; made < count; ++n) {
        const double ox = (n % 40) * 1300.0, oy = (n / 40) * 1100.0;
        const uint32_t first = AppendJoined(doc, "62188", kNoId, 0, ox, oy, 0);
        uint32_t last = first;
        std::vector<uint32_t> ring{first};
        for (int half = 0; half < 2; ++half) {
            for (int i = 0; i < 6; ++i) ring.push_back(last = AppendJoined(doc, "62130", last, 1));
            if (half == 0) ring.push_back(last = AppendJoined(doc, "62188", last, 1));
        }
        doc.FindPiece(last)->joints[1] = {first, 0};
        doc.FindPiece(first)->joints[0] = {last, 1};
        doc.wiring.gaps.push_back({ring[0], 0, GapRails::Left});
        doc.wiring.gaps.push_back({ring[7], 0, GapRails::Left});
        doc.wiring.feeders.push_back({ring[3], 1});
        doc.wiring.feeders.push_back({ring[10], 1});
        doc.wiring.detectors.push_back({ring[3], 2 * n + 1});
        made += static_cast<int>(ring.size());
        if (n % 10 == 0) {
            // A balloon off the oval's first straight's open tail is no oval: a separate one.
            const uint32_t tail = AppendJoined(doc, "62188", kNoId, 0, ox, oy + 500, 0);
            const uint32_t sw = AppendJoined(doc, "62611", tail, 1);
            uint32_t at = sw;
            int conn = 2;
            for (int i = 0; i < 10; ++i, conn = 1)
                at = AppendJoined(doc, i % 5 == 4 ? "62188" : "62130", at, conn);
            doc.FindPiece(at)->joints[1] = {sw, 1};
            doc.FindPiece(sw)->joints[1] = {at, 1};
            doc.wiring.feeders.push_back({tail, 1});
            made += 12;
        }
    }
    const TrackGraph graph = BuildTrackGraph(doc);
    AddToWiringPlan(doc, {ProposeReversingGaps(doc, graph, WiringOptions()), {}, {}});
    AddToWiringPlan(doc, {{}, ProposeFeeders(doc, BuildTrackGraph(doc), WiringOptions()), {}});
    return doc;
}

void BM_AnalyseWiring(benchmark::State& state) {
    const LayoutDocument doc = WiredOvals(static_cast<int>(state.range(0)));
    const TrackGraph graph = BuildTrackGraph(doc);
    size_t findings = 0, sections = 0;
    for (auto _ : state) {
        const WiringAnalysis analysis = AnalyseWiring(doc, graph, WiringOptions());
        findings = analysis.findings.size();
        sections = analysis.sections.size();
        benchmark::DoNotOptimize(analysis.sections.data());
    }
    state.counters["pieces"] = static_cast<double>(doc.pieces.size());
    state.counters["sections"] = static_cast<double>(sections);
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_AnalyseWiring)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
