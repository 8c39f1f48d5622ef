// The Zantrel command (quadtree, block fill, cut-line search, reconstruction) on the bundled
// sample, the plain reference on the same input, the worst case of one 512 block, the whole
// command on a 2048 x 2048 photo, the coarse and the exhaustive search of large blocks, and the
// optimised mode's search, penalties and rate targets.
//
//   build/release/bench/zantrel-bench
//
// Fast runs are repeated and reported as medians; the reference runs once per penalty. The
// last table gives the ratio of the two for every penalty.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <string>

#include "codec/ZtlFile.h"
#include "import/BmpReader.h"
#include "linesearch/CoarseLineSearch.h"
#include "measure/BitRate.h"
#include "measure/Psnr.h"
#include "measure/Stages.h"
#include "optimise/Optimiser.h"
#include "picture/GrayConversion.h"
#include "reference/LiteralLineSearch.h"
#include "reference/LiteralQuadtree.h"

using namespace zantrel;

using namespace zantrel;

namespace {

constexpr int kMinBlockSize = 4;

const GrayPicture& SampleGray() {
    static const GrayPicture gray = [] {
        const BmpReadResult loaded = ReadBmpFile(ZANTREL_SAMPLE);
        if (!loaded) {
            std::fprintf(stderr, "cannot load %s\n", ZANTREL_SAMPLE);
            std::exit(1);
        }
        return ConvertToGray(loaded->picture);
    }();
    return gray;
}

// The sample scaled up to side x side by bilinear interpolation: a photo of that size.
GrayPicture ScaledSample(int side) {
    const GrayPicture& small = SampleGray();
    GrayPicture big(side, side);
    const double scale = static_cast<double>(small.width) / side;
    for (int r = 0; r < side; ++r) {
        const double y = std::max(0.0, (r + 0.5) * scale - 0.5);
        const int y0 = static_cast<int>(y);
        const int y1 = std::min(y0 + 1, small.height - 1);
        for (int c = 0; c < side; ++c) {
            const double x = std::max(0.0, (c + 0.5) * scale - 0.5);
            const int x0 = static_cast<int>(x);
            const int x1 = std::min(x0 + 1, small.width - 1);
            const double fy = y - y0;
            const double fx = x - x0;
            const double value = (1 - fy) * ((1 - fx) * small.At(y0, x0) + fx * small.At(y0, x1)) +
                                 fy * ((1 - fx) * small.At(y1, x0) + fx * small.At(y1, x1));
            big.At(r, c) = static_cast<std::uint8_t>(value + 0.5);
        }
    }
    return big;
}

void ZantrelCommand(benchmark::State& state) {
    const GrayPicture& gray = SampleGray();
    const double penalty = static_cast<double>(state.range(0));
    PipelineWorkspace workspace;  // its storage is reused, as by a sweep
    QuietProgress progress;
    std::size_t cutModels = 0;
    for (auto _ : state) {
        PrepareWorkspace(gray, workspace);
        const QuadtreeStage quadtree = RunQuadtreeStage(workspace, penalty, kMinBlockSize);
        const auto zantrel = RunCutLineStage(gray, quadtree, workspace, 0, progress);
        cutModels = CutCount(zantrel->decomposition.tree);
        benchmark::DoNotOptimize(zantrel->result.samples.data());
    }
    state.counters["cutModels"] = static_cast<double>(cutModels);
}

void ReferenceCommand(benchmark::State& state) {
    const GrayPicture& gray = SampleGray();
    const double penalty = static_cast<double>(state.range(0));
    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    QuietProgress progress;
    const LiteralQuadtree literal = LiteralQuadtreeDecompose(gray, penalty, kMinBlockSize);
    std::size_t cutModels = 0;
    for (auto _ : state) {
        const QuadtreeStage quadtree = RunQuadtreeStage(workspace, penalty, kMinBlockSize);
        const LiteralDecomposition decomposition =
            LiteralSearchLines(gray, penalty, literal.blocks);
        const GrayPicture result =
            LiteralReconstruct(quadtree.blockPicture, decomposition.cutModels);
        cutModels = decomposition.cutModels.size();
        benchmark::DoNotOptimize(result.samples.data());
    }
    state.counters["cutModels"] = static_cast<double>(cutModels);
}

// The sample with a penalty of half the whole picture's error: splitting never pays, yet
// the one block is dear enough to be searched for a cut line.
void WorstCase512(benchmark::State& state) {
    const GrayPicture& gray = SampleGray();
    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    const double penalty = MeasureBlock(workspace.sums, 0, 0, gray.width).error / 2;
    QuietProgress progress;
    for (auto _ : state) {
        const QuadtreeStage quadtree = RunQuadtreeStage(workspace, penalty, kMinBlockSize);
        const auto zantrel = RunCutLineStage(gray, quadtree, workspace, 0, progress);
        if (quadtree.tree.leaves.size() != 1 || zantrel->decomposition.groupCount != 1)
            state.SkipWithError("the root was split");
    }
}

// One candidate of side `side`: a picture of one straight edge at a penalty of half its error,
// so the root is never split, and the cut-line stage searches it alone on 2 threads. The
// counter is the time per line-pricing step (linesearch/SearchSteps.h), which should not grow
// with the side. `tiles` 0 sums the block one line at a time, for comparison in one process.
void OneCandidate(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const bool tiles = state.range(1) == 1;
    const GrayPicture gray = [&] {
        GrayPicture edge(side, side);
        for (int r = 0; r < side; ++r) {
            for (int c = 0; c < side; ++c)
                edge.At(r, c) = 5 * r + 3 * c < 4 * side ? 40 : 200;
        }
        return edge;
    }();
    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    if (!tiles)
        workspace.search.streamFromSide = std::numeric_limits<int>::max();
    const double penalty = MeasureBlock(workspace.sums, 0, 0, side).error / 2;
    const QuadtreeStage quadtree = RunQuadtreeStage(workspace, penalty, kMinBlockSize);
    if (quadtree.tree.leaves.size() != 1) {
        state.SkipWithError("the root was split");
        return;
    }
    QuietProgress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunCutLineStage(gray, quadtree, workspace, 2, progress));
    state.counters["perStep"] = benchmark::Counter(
        EstimatedSearchSteps(quadtree.tree),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A 2048 x 2048 photo, the whole command from the gray picture on: summed tables, quadtree,
// block fill, search, reconstruction, PSNR and bit rate, with fresh memory every time.
void Photo2048(benchmark::State& state) {
    static const GrayPicture gray = ScaledSample(2048);
    const double penalty = static_cast<double>(state.range(0));
    QuietProgress progress;
    std::size_t cutModels = 0;
    for (auto _ : state) {
        PipelineWorkspace workspace;
        PrepareWorkspace(gray, workspace);
        const QuadtreeStage quadtree = RunQuadtreeStage(workspace, penalty, kMinBlockSize);
        const auto zantrel = RunCutLineStage(gray, quadtree, workspace, 0, progress);
        benchmark::DoNotOptimize(Psnr(gray, zantrel->result));
        benchmark::DoNotOptimize(EstimateBitRate(zantrel->decomposition));
        cutModels = CutCount(zantrel->decomposition.tree);
    }
    state.counters["cutModels"] = static_cast<double>(cutModels);
}

// The best line of every block of one side of the sample, by the coarse search or by the
// exhaustive one (penalty 0); the counter is the blocks' summed two-region error, so the two
// rows show what the coarse search gives up.
void LargeBlockLines(benchmark::State& state) {
    const GrayPicture& gray = SampleGray();
    const int side = static_cast<int>(state.range(0));
    const bool coarse = state.range(1) == 1;
    std::vector<LineSearch::Block> blocks;
    for (int row = 0; row + side <= gray.height; row += side) {
        for (int col = 0; col + side <= gray.width; col += side)
            blocks.push_back({row, col, side});
    }
    const SummedTables sums(gray);
    LineSearchWorkspace workspace;
    QuietProgress progress;
    std::vector<BestCut> cuts;
    for (auto _ : state) {
        if (coarse) {
            cuts = *SearchLinesCoarsely(gray, blocks, 0, progress);
        } else {
            LineSearch search(gray, sums, 0.0, workspace, 0, progress);
            cuts = *search.Run(blocks);
        }
        benchmark::DoNotOptimize(cuts.data());
    }
    double error = 0;
    for (const BestCut& cut : cuts)
        error += cut.a.error + cut.b.error;
    state.counters["error"] = error;
}

// The Zantrel file of the sample's decomposition: encoding and decoding, apart and together,
// against the command that makes the decomposition.
void ZtlRoundTrip(benchmark::State& state) {
    const GrayPicture& gray = SampleGray();
    const double penalty = static_cast<double>(state.range(0));
    const int part = static_cast<int>(state.range(1));  // 0 encode, 1 decode, 2 both
    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    QuietProgress progress;
    const QuadtreeStage quadtree = RunQuadtreeStage(workspace, penalty, kMinBlockSize);
    const Decomposition decomposition =
        RunCutLineStage(gray, quadtree, workspace, 0, progress)->decomposition;
    const std::vector<std::uint8_t> file = EncodeZtl(decomposition.tree);
    for (auto _ : state) {
        if (part != 1)
            benchmark::DoNotOptimize(EncodeZtl(decomposition.tree).data());
        if (part != 0) {
            ZtlPicture decoded;
            if (DecodeZtl(file, decoded) != ZtlError::None)
                state.SkipWithError("the file does not decode");
            benchmark::DoNotOptimize(decoded.result.samples.data());
        }
    }
    state.counters["bytes"] = static_cast<double>(file.size());
}

// The optimised mode on the sample: the search of every block (step 0), then one penalty on
// that search, pruning and encoding included (step 1), or one rate target (step 2, the
// penalty's argument read as thousandths of a bit per pixel).
void Optimised(benchmark::State& state) {
    const GrayPicture& gray = SampleGray();
    static const SummedTables sums(gray);
    const double argument = static_cast<double>(state.range(0));
    const int step = static_cast<int>(state.range(1));
    QuietProgress progress;
    std::optional<Optimiser> optimiser = Optimiser::Search(gray, sums, {}, progress);
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (step == 0) {
            benchmark::DoNotOptimize(Optimiser::Search(gray, sums, {}, progress));
        } else {
            const OptimisedRun run =
                step == 1 ? optimiser->Run(argument) : optimiser->RunForRate(argument / 1000);
            bytes = run.file.size();
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK(Optimised)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({20, 2})
    ->Args({100, 2})
    ->ArgNames({"penalty", "step"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(ZtlRoundTrip)
    ->ArgsProduct({{1, 10, 100, 1000}, {0, 1, 2}})
    ->ArgNames({"penalty", "part"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(LargeBlockLines)
    ->ArgsProduct({{128, 256}, {0, 1}})
    ->ArgNames({"side", "coarse"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(ZantrelCommand)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(Photo2048)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(WorstCase512)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
// 512 in well under a second; 2048 and 4096 once each, as they take minutes:
//   zantrel-bench --benchmark_filter='OneCandidate/512'
//   zantrel-bench --benchmark_filter='OneCandidate/(2048|4096)'
BENCHMARK(OneCandidate)
    ->ArgsProduct({{512}, {1, 0}})
    ->ArgNames({"side", "tiles"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(OneCandidate)
    ->ArgsProduct({{1024, 2048, 4096}, {1, 0}})
    ->ArgNames({"side", "tiles"})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
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
class RatioReporter : public benchmark::ConsoleReporter {
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
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
