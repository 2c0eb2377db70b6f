// Suggested layouts: the time to the first suggestion taken and to the whole gallery, on the
// boards beginners have (targets: 1 s and 10 s).
#include <benchmark/benchmark.h>

#include <chrono>

#include "suggest/SuggestLayouts.h"

namespace {

void Suggest(benchmark::State& state, TrackSystem system, double width, double depth,
             std::vector<PointMm> outline) {
    SuggestOptions o;
    o.system = system;
    o.widthMm = width;
    o.depthMm = depth;
    o.board = std::move(outline);
    double firstS = 0, wholeS = 0;
    size_t results = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bool first = true;
        o.found = [&](const LayoutSuggestion&) {
            if (!first) return;
            first = false;
            firstS =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        const std::vector<LayoutSuggestion> found = SuggestLayouts(o, nullptr);
        wholeS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        results = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["first_s"] = firstS;
    state.counters["whole_s"] = wholeS;
    state.counters["results"] = double(results);
}

const std::vector<PointMm> kLShaped = {{0, 0},       {2400, 0},    {2400, 1200},
                                       {1200, 1200}, {1200, 2400}, {0, 2400}};

BENCHMARK_CAPTURE(Suggest, Z_1200x600, TrackSystem::MarklinZ, 1200, 600, {});
BENCHMARK_CAPTURE(Suggest, C_1800x900, TrackSystem::MarklinC, 1800, 900, {});
BENCHMARK_CAPTURE(Suggest, K_1800x900, TrackSystem::MarklinK, 1800, 900, {});
BENCHMARK_CAPTURE(Suggest, TrixC_1800x900, TrackSystem::TrixC, 1800, 900, {});
BENCHMARK_CAPTURE(Suggest, C_2400x1200, TrackSystem::MarklinC, 2400, 1200, {});
BENCHMARK_CAPTURE(Suggest, K_2400x1200, TrackSystem::MarklinK, 2400, 1200, {});
BENCHMARK_CAPTURE(Suggest, TrixC_2400x1200, TrackSystem::TrixC, 2400, 1200, {});
BENCHMARK_CAPTURE(Suggest, C_3000x1500, TrackSystem::MarklinC, 3000, 1500, {});
BENCHMARK_CAPTURE(Suggest, C_L_shaped, TrackSystem::MarklinC, 0, 0, kLShaped);

}  // namespace
