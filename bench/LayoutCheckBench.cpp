// The layout check over large layouts: 2,000, 10,000 and 100,000 pieces, with the default options and
// with every check switched on (the track walks and, on two-rail track, the reversing loops).
#include <benchmark/benchmark.h>

#include "SampleLayouts.h"
#include "catalog/TrackCatalog.h"
#include "layoutcheck/LayoutCheck.h"

namespace {

// Closed double-track ovals (R1 inside R2, 28 pieces each) side by side: joined track as users
// build it, with nothing to find.
LayoutDocument Ovals(int count, const char* straight = "24188", const char* inner = "24130",
                     const char* outer = "24230") {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    int made = 0;
    for (int n = 0; made < count; ++n) {
        const double ox = (n % 20) * 1300.0, oy = (n / 20) * 1100.0;
        for (const auto& [curve, offset] : {std::pair{inner, 0.0}, std::pair{outer, -77.5}}) {
            const uint32_t first =
                AppendJoined(doc, straight, kNoId, 0, ox + 200, oy + 200 + offset, 0);
            uint32_t last = first;
            for (int half = 0; half < 2; ++half) {
                for (int i = 0; i < 6; ++i) last = AppendJoined(doc, curve, last, 1);
                if (half == 0) last = AppendJoined(doc, straight, last, 1);
            }
            doc.FindPiece(last)->joints[1] = {first, 0};
            doc.FindPiece(first)->joints[0] = {last, 1};
            made += 14;
        }
    }
    return doc;
}

// Checks doc once per iteration and reports its size and the number of findings.
void RunCheck(benchmark::State& state, const LayoutDocument& doc,
              const CheckOptions& options = CheckOptions()) {
    size_t findings = 0;
    for (auto _ : state) {
        const std::vector<LayoutFinding> out = CheckLayout(doc, options);
        findings = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["pieces"] = static_cast<double>(doc.pieces.size());
    state.counters["findings"] = static_cast<double>(findings);
}

void BM_CheckOvals(benchmark::State& state) {
    RunCheck(state, Ovals(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CheckOvals)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Mixed kinds at random headings in rows, with levels, helices and tunnels: many meetings.
void BM_CheckMixed(benchmark::State& state) {
    RunCheck(state, SampleMixed(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CheckMixed)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

CheckOptions EveryCheck() {
    CheckOptions options;
    options.minStraightMm = 303;
    options.minRadiusMm = 400;
    options.longestTrainMm = 1000;
    return options;
}

// TRIX C ovals: two-rail track, so the reversing-loop search runs too.
void BM_CheckTwoRailOvalsEveryCheck(benchmark::State& state) {
    RunCheck(state, Ovals(static_cast<int>(state.range(0)), "62188", "62130", "62230"),
             EveryCheck());
}
BENCHMARK(BM_CheckTwoRailOvalsEveryCheck)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_CheckMixedEveryCheck(benchmark::State& state) {
    RunCheck(state, SampleMixed(static_cast<int>(state.range(0))), EveryCheck());
}
BENCHMARK(BM_CheckMixedEveryCheck)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
