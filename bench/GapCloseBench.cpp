// Gap closer speed: gaps left by removing a random chain of 4, 6, 8 or 10 plain pieces in each
// track system; the time to the first solution accepted and to the end of the whole search.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <random>
#include <vector>

#include "canvas/Snapping.h"
#include "catalog/TrackCatalog.h"
#include "gapclose/SolveGap.h"
#include "layoutcheck/LayoutCheck.h"

namespace {

constexpr int kGapsPerCase = 6;

uint32_t Place(LayoutDocument& doc, const PieceDef& def, PiecePose pose) {
    PlacedPiece p;
    p.article = def.article;
    p.x = pose.x;
    p.y = pose.y;
    p.heading = pose.heading;
    p.joints.resize(def.connectors.size());
    return doc.AddPiece(p);
}

ConnectorPose End(const LayoutDocument& doc, uint32_t id, int conn) {
    const PlacedPiece& p = *doc.FindPiece(id);
    return GetConnectorPose(p, *TrackCatalog::Instance().Find(p.article), conn);
}

struct Gap {
    LayoutDocument doc;
    GapEnd a, b;
};

// Two straights a random chain of `count` straights and curves once joined, the chain removed;
// chains that run through themselves are drawn again.
Gap RandomGap(TrackSystem system, int count, std::mt19937& rng) {
    std::vector<const PieceDef*> plain;
    for (const PieceDef& d : TrackCatalog::Instance().pieces) {
        if (d.system == system && (d.kind == PieceKind::Straight || d.kind == PieceKind::Curve) &&
            d.connectors.size() == 2 && !d.isBridge && !d.isRamp && !d.isFlex &&
            d.connectorSystems.empty())
            plain.push_back(&d);
    }
    const PieceDef& straight = *plain.front();
    std::uniform_real_distribution<double> heading(0, 360);
    for (;;) {
        LayoutDocument full;
        const uint32_t s = Place(full, straight, {0, 0, heading(rng)});
        uint32_t prev = s;
        int conn = 1;
        for (int i = 0; i < count; ++i) {
            const PieceDef& d = *plain[rng() % plain.size()];
            const int entry = static_cast<int>(rng() % 2);
            const uint32_t id = Place(full, d, AlignToConnector(d, entry, End(full, prev, conn)));
            JoinConnectors(full, prev, conn, id, entry);
            prev = id;
            conn = 1 - entry;
        }
        const uint32_t e = Place(full, straight, AlignToConnector(straight, 0, End(full, prev, conn)));
        JoinConnectors(full, prev, conn, e, 0);
        const std::vector<LayoutFinding> findings = CheckLayout(full);
        if (std::any_of(findings.begin(), findings.end(),
                        [](const LayoutFinding& f) { return f.kind == FindingKind::Collision; }))
            continue;
        Gap g;
        for (const PlacedPiece& p : full.pieces) {
            if (p.id != s && p.id != e) continue;
            PlacedPiece copy = p;
            copy.joints.assign(copy.joints.size(), Joint{});
            g.doc.pieces.push_back(copy);
        }
        g.doc.nextId = full.nextId;
        g.a = {s, 1};
        g.b = {e, 0};
        return g;
    }
}

// Median and worst seconds to the first solution and to the end (wall clock), and of processor
// time for the whole search, over kGapsPerCase gaps.
void CloseGaps(benchmark::State& state, TrackSystem system) {
    const int count = static_cast<int>(state.range(0));
    std::mt19937 rng(static_cast<unsigned>(system) * 1000u + static_cast<unsigned>(count));
    std::vector<Gap> gaps;
    for (int i = 0; i < kGapsPerCase; ++i) gaps.push_back(RandomGap(system, count, rng));
    GapOptions options;
    options.timeLimitS = 10;  // long enough to see the whole search at 10 pieces
    std::vector<double> first, whole, cpu;
    int closed = 0, pieces = 0, timedOut = 0;
    for (auto _ : state) {
        for (const Gap& g : gaps) {
            // Processor time besides the wall clock: the machine may be shared, and wall time
            // then counts the waits of other programs too.
            const std::clock_t c0 = std::clock();
            const auto t0 = std::chrono::steady_clock::now();
            const GapSearchResult r = SearchGap(g.doc, g.a, g.b, options);
            whole.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
            cpu.push_back(static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
            if (!r.solutions.empty()) {
                ++closed;
                pieces = std::max(pieces, static_cast<int>(r.solutions.front().steps.size()));
                first.push_back(r.firstSolutionS);
            }
            timedOut += r.timedOut ? 1 : 0;
        }
    }
    std::sort(first.begin(), first.end());
    std::sort(whole.begin(), whole.end());
    std::sort(cpu.begin(), cpu.end());
    state.counters["closed"] = closed;
    state.counters["gaps"] = static_cast<double>(whole.size());
    state.counters["timed_out"] = timedOut;
    state.counters["most_pieces"] = pieces;
    if (!first.empty()) {
        state.counters["first_median_s"] = first[first.size() / 2];
        state.counters["first_worst_s"] = first.back();
    }
    state.counters["whole_median_s"] = whole[whole.size() / 2];
    state.counters["whole_worst_s"] = whole.back();
    state.counters["cpu_median_s"] = cpu[cpu.size() / 2];
    state.counters["cpu_worst_s"] = cpu.back();
}

void BM_GapC(benchmark::State& s) { CloseGaps(s, TrackSystem::MarklinC); }
void BM_GapTrixC(benchmark::State& s) { CloseGaps(s, TrackSystem::TrixC); }
void BM_GapK(benchmark::State& s) { CloseGaps(s, TrackSystem::MarklinK); }
void BM_GapZ(benchmark::State& s) { CloseGaps(s, TrackSystem::MarklinZ); }
void BM_GapMinitrixN(benchmark::State& s) { CloseGaps(s, TrackSystem::MinitrixN); }
void BM_GapKatoN(benchmark::State& s) { CloseGaps(s, TrackSystem::KatoN); }
BENCHMARK(BM_GapC)->DenseRange(4, 10, 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapTrixC)->DenseRange(4, 10, 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapK)->DenseRange(4, 10, 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapZ)->DenseRange(4, 10, 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapMinitrixN)->DenseRange(4, 10, 2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapKatoN)->DenseRange(4, 10, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
