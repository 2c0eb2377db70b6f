// Autofill search speed: every gap from 50 mm to 10 m in 37 mm steps in each track system.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "canvas/Autofill.h"

namespace {

// Processor time of this thread: the machine may be shared, and wall time then counts the
// waits of other programs too.
double ThreadMs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// One sweep over all gaps; reports the median and the worst single search in milliseconds, by
// the wall clock and by this thread's processor time.
void SweepGaps(benchmark::State& state, TrackSystem system) {
    std::vector<double> wall, cpu;
    size_t fills = 0;
    for (auto _ : state) {
        wall.clear();
        cpu.clear();
        for (double gap = 50; gap <= 10000; gap += 37) {
            const double c0 = ThreadMs();
            const auto t0 = std::chrono::steady_clock::now();
            const std::vector<FillSolution> s = SearchStraightFill(system, gap);
            const auto t1 = std::chrono::steady_clock::now();
            cpu.push_back(ThreadMs() - c0);
            fills += s.size();
            wall.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        }
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    state.counters["gaps"] = static_cast<double>(wall.size());
    state.counters["median_ms"] = wall[wall.size() / 2];
    state.counters["worst_ms"] = wall.back();
    state.counters["cpu_median_ms"] = cpu[cpu.size() / 2];
    state.counters["cpu_worst_ms"] = cpu.back();
    benchmark::DoNotOptimize(fills);
}

void BM_AutofillC(benchmark::State& s) { SweepGaps(s, TrackSystem::MarklinC); }
void BM_AutofillTrixC(benchmark::State& s) { SweepGaps(s, TrackSystem::TrixC); }
void BM_AutofillZ(benchmark::State& s) { SweepGaps(s, TrackSystem::MarklinZ); }
void BM_AutofillK(benchmark::State& s) { SweepGaps(s, TrackSystem::MarklinK); }
BENCHMARK(BM_AutofillC)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutofillTrixC)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutofillZ)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutofillK)->Iterations(1)->Unit(benchmark::kMillisecond);

// A single long K-Track gap, the case with the most candidates and the shortest straight.
void BM_AutofillK10m(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchStraightFill(TrackSystem::MarklinK, 9987.3));
}
BENCHMARK(BM_AutofillK10m)->Unit(benchmark::kMicrosecond);

}  // namespace
