// Export speed of a 2,000-piece layout: PNG, SVG, PDF and the parts list (run under Xvfb).
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/image.h>

#include <cstdio>
#include <filesystem>

#include "SampleLayouts.h"
#include "catalog/TrackCatalog.h"
#include "dialogs/PlanExport.h"
#include "dialogs/gui/PlanExportFiles.h"

namespace {

LayoutDocument& MixedLayout() {
    static LayoutDocument doc = SampleMixed(2000);
    return doc;
}

std::string OutPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void Picture(benchmark::State& state, const char* file) {
    LayoutDocument& doc = MixedLayout();
    const double r = DefaultPictureResolution(doc);
    const std::string path = OutPath(file);
    for (auto _ : state) {
        const std::string error = WritePicture(doc, path, r);
        if (!error.empty()) state.SkipWithError(error.c_str());
    }
    const PictureFrame f = PictureFrameFor(doc, r);
    state.counters["width"] = f.width;
    state.counters["height"] = f.height;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

void BM_ExportPng(benchmark::State& state) { Picture(state, "quillmore-bench.png"); }
void BM_ExportSvg(benchmark::State& state) { Picture(state, "quillmore-bench.svg"); }

void BM_ExportPdf(benchmark::State& state) {
    LayoutDocument& doc = MixedLayout();
    PrintOptions options;
    options.levels = 1;
    options.scaling = static_cast<int>(state.range(0));
    options.scaleDenominator = 10;
    options.colourMode = static_cast<int>(state.range(1));
    const std::string path = OutPath("quillmore-bench.pdf");
    int pages = 0;
    for (auto _ : state) {
        const std::string error = WritePdf(doc, options, 279.4, 215.9, path, &pages);
        if (!error.empty()) state.SkipWithError(error.c_str());
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

void BM_PartsListCsv(benchmark::State& state) {
    const LayoutDocument& doc = MixedLayout();
    for (auto _ : state) benchmark::DoNotOptimize(PartsListCsv(doc));
}

}  // namespace

BENCHMARK(BM_ExportPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSvg)->Unit(benchmark::kMillisecond);
// Fit to page and 1:10, in colour and in grey.
BENCHMARK(BM_ExportPdf)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartsListCsv)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "wxEntryStart failed: run under xvfb-run\n");
        return 2;
    }
    wxInitAllImageHandlers();
    TrackCatalog::Instance();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}
