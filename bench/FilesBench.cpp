// Saving and loading layouts of 2,000, 10,000 and 100,000 pieces with joints, scenery, labels and levels, and writing
// it as a crash-recovery file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "persistence/LayoutFile.h"
#include "persistence/Recovery.h"

namespace {

LayoutDocument MakeLayout(int count) {
    LayoutDocument doc;
    for (uint32_t l = 1; l <= 3; ++l) {
        Level level = DefaultLevel();
        level.id = l;
        level.name = "Level " + std::to_string(l);
        level.height = 80.0 * (l - 1);
        if (l > 1) level.outline = {{0, 0}, {3000, 0}, {3000, 2000}, {0, 2000}};
        doc.levels.push_back(level);
    }
    for (int i = 0; i < count; ++i) {
        PlacedPiece p;
        p.id = doc.TakeId();
        p.article = (i % 3 == 0) ? "24130" : "24188";
        p.x = (i % 100) * 188.3;
        p.y = (i / 100) * 120.5;
        p.heading = (i % 12) * 30.0;
        p.elevation = (i % 40) * 1.25;
        p.grade = (i % 7) * 0.5;
        p.level = 1 + i % 3;
        p.selected = i % 5 == 0;
        p.hasColour = i % 11 == 0;
        p.colour = {200, 30, 30};
        p.joints.resize(2);
        if (i > 0) {
            p.joints[0] = {p.id - 1, 1};
            doc.pieces.back().joints[1] = {p.id, 0};
        }
        doc.pieces.push_back(std::move(p));
    }
    for (int i = 0; i < count / 10; ++i)
        doc.scenery.push_back(
            {doc.TakeId(), "tree", i * 10.5, i * 3.25, i * 15.0, false, 1.5, 1.5, 1 + i % 3});
    for (int i = 0; i < 100; ++i)
        doc.labels.push_back({doc.TakeId(), "Station " + std::to_string(i), i * 50.0, -40, false});
    doc.baseboard = {{0, 0}, {19000, 0}, {19000, 12000}, {0, 12000}};
    doc.gradeRuns.push_back({2.5, 10, 1});
    return doc;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_LayoutToText(benchmark::State& state) {
    LayoutDocument doc = MakeLayout(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(LayoutToText(doc, "Bench"));
}

// The whole save: text, temporary file, sync, rename.
void BM_SaveLayout(benchmark::State& state) {
    LayoutDocument doc = MakeLayout(static_cast<int>(state.range(0)));
    std::string path = TempPath("quillmore-bench-save.xml");
    for (auto _ : state)
        if (!SaveLayout(doc, path, "Bench").empty()) state.SkipWithError("save failed");
    std::filesystem::remove(path);
}

void BM_LoadLayoutFromText(benchmark::State& state) {
    std::string text = LayoutToText(MakeLayout(static_cast<int>(state.range(0))), "Bench");
    for (auto _ : state) {
        LayoutDocument doc;
        if (!LoadLayoutFromText(doc, text, nullptr).empty()) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.pieces.size());
    }
}

// The whole open: reading the file and parsing it into the document.
void BM_LoadLayout(benchmark::State& state) {
    std::string path = TempPath("quillmore-bench-load.xml");
    if (!SaveLayout(MakeLayout(static_cast<int>(state.range(0))), path, "Bench").empty())
        state.SkipWithError("save failed");
    for (auto _ : state) {
        LayoutDocument doc;
        if (!LoadLayout(doc, path, nullptr).empty()) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.pieces.size());
    }
    std::filesystem::remove(path);
}

// The crash-recovery write the timer makes while the user works: text, temporary file, sync,
// rename, in the recovery slot of this process.
void BM_RecoveryWrite(benchmark::State& state) {
    LayoutDocument doc = MakeLayout(static_cast<int>(state.range(0)));
    const std::string folder = TempPath("quillmore-bench-recovery");
    RecoverySlot slot;
    if (!slot.Claim(folder, 1).empty()) state.SkipWithError("no recovery slot");
    for (auto _ : state) {
        slot.NoteChange();
        if (!slot.Tick(doc, "Bench", "/layouts/bench.xml", true).empty())
            state.SkipWithError("write failed");
    }
    slot.Release();
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_RecoveryWrite)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutToText)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLayout)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLayoutFromText)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLayout)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
