// The Zantrel command (quadtree, block fill, cut-line search, reconstruction) on the bundled
// sample, the plain reference on the same input, and the worst case of one 512 block.
//
//   build/release/bench/zantrel-bench
//
// Fast runs are repeated and reported as medians; the reference runs once per penalty. The
// last table gives the ratio of the two for every penalty.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "picture/BmpReader.h"
#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"
#include "reference/LiteralLineSearch.h"

namespace {

constexpr int kMinBlockSize = 4;

void LoadSampleGray() {
    static bool loaded = false;
    if (loaded)
        return;
    if (LoadPictureFile(ZANTREL_SAMPLE) != LoadResult::Loaded) {
        std::fprintf(stderr, "cannot load %s\n", ZANTREL_SAMPLE);
        std::exit(1);
    }
    CImageProcessor().ConvertToGray();
    loaded = true;
}

void Quadtree(double penalty) {
    CImageProcessor workspace;
    workspace.QuadtreeDecompose(penalty, kMinBlockSize);
    workspace.FillBlockPicture();
}

void ZantrelCommand(benchmark::State& state) {
    LoadSampleGray();
    const double penalty = static_cast<double>(state.range(0));
    for (auto _ : state) {
        Quadtree(penalty);
        CImageProcessor workspace;
        workspace.SearchLines();
        workspace.Reconstruct();
        benchmark::DoNotOptimize(g_resultPixels[0]);
    }
    state.counters["cutModels"] = static_cast<double>(g_cutModels.size());
}

void ReferenceCommand(benchmark::State& state) {
    LoadSampleGray();
    const double penalty = static_cast<double>(state.range(0));
    for (auto _ : state) {
        Quadtree(penalty);
        LiteralSearchLines();
        LiteralReconstruct();
        benchmark::DoNotOptimize(g_resultPixels[0]);
    }
    state.counters["cutModels"] = static_cast<double>(g_cutModels.size());
}

// The sample with a penalty of half the whole picture's error: splitting never pays, yet
// the one block is dear enough to be searched for a cut line.
void WorstCase512(benchmark::State& state) {
    LoadSampleGray();
    CImageProcessor measure;
    measure.MeasureBlock(0, 0, kPictureSide);
    const double penalty = measure.m_blockError / 2;
    for (auto _ : state) {
        Quadtree(penalty);
        CImageProcessor workspace;
        workspace.SearchLines();
        workspace.Reconstruct();
        if (g_blocks.size() != 1 || g_groupCount != 1)
            state.SkipWithError("the root was split");
    }
    state.counters["cutModels"] = static_cast<double>(g_cutModels.size());
}

BENCHMARK(ZantrelCommand)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(WorstCase512)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
// About 2 s at penalty 1 and 8 s at 1000 on a 2-core machine: well under a minute each.
BENCHMARK(ReferenceCommand)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// Keeps the medians of the fast runs and the times of the reference runs for the ratio table.
class CRatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const double ms = run.GetAdjustedRealTime();
            if (name.rfind("ZantrelCommand/", 0) == 0 && run.aggregate_name == "median") {
                m_fast[Penalty(name)] = ms;
            } else if (name.rfind("ReferenceCommand/", 0) == 0) {
                m_reference[Penalty(name)] = ms;
            }
        }
    }
    void PrintRatios() const {
        std::printf("\npenalty  zantrel median (ms)  reference (ms)  reference / zantrel\n");
        for (const auto& [penalty, fast] : m_fast) {
            const auto found = m_reference.find(penalty);
            if (found == m_reference.end())
                continue;
            std::printf("%7s  %19.2f  %14.1f  %19.0f\n", penalty.c_str(), fast, found->second,
                        found->second / fast);
        }
    }

  private:
    static std::string Penalty(const std::string& name) {
        const auto slash = name.find('/');
        const auto end = name.find('/', slash + 1);
        return name.substr(slash + 1,
                           end == std::string::npos ? std::string::npos : end - slash - 1);
    }
    std::map<std::string, double> m_fast;
    std::map<std::string, double> m_reference;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
