#include "app/StageJob.h"

#include "optimise/OptimisedTime.h"
#include "optimise/RunProgress.h"
#include "picture/MessageText.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

namespace {

OptimiseSettings SettingsFor(std::int32_t minBlockSize, int threads) {
    OptimiseSettings settings;
    settings.search.minBlockSize = minBlockSize;
    settings.search.threads = threads;
    return settings;
}

// The quadtree stage of an optimised tree: its blocks, each filled with its mean, and their
// grid, so that the block picture, the gray grid and the cut lines over the grid show the
// tree that was chosen.
QuadtreeStage BlocksOf(const Quadtree& optimised, const SummedTables& sums) {
    QuadtreeStage stage;
    stage.tree = optimised;
    stage.tree.quantiser = {};
    for (QuadBlock& leaf : stage.tree.leaves) {
        const RegionFit fit = MeasureBlock(sums, leaf.row, leaf.col, leaf.size);
        leaf.mean = fit.value;
        leaf.error = fit.error;
        leaf.model = OneValueModel{fit.value};
    }
    stage.grid = DrawGrid(stage.tree);
    stage.blockPicture = DrawLeaves(stage.tree);
    return stage;
}

DecompositionParameters ParametersOf(const StageInputs& inputs, const StageRequest& request) {
    return request.quadtree ? *request.quadtree
                            : DecompositionParameters{inputs.quadtree->tree.penalty,
                                                      inputs.quadtree->tree.minBlockSize};
}

std::optional<StageOutputs> RunOptimised(const StageInputs& inputs, const StageRequest& request,
                                         OptimiserCache& cache, Progress& progress) {
    const DecompositionParameters parameters = ParametersOf(inputs, request);
    // One bar over the search (where it is not kept) and the runs, by their predicted time.
    const OptimisedWork work =
        EstimateOptimisedWork(inputs.gray->width, inputs.gray->height, parameters.minBlockSize);
    const double searchWork = cache.Holds(inputs, parameters.minBlockSize) ? 0.0 : work.search;
    const double runWork =
        (request.rate ? kPredictedRateSteps : 1) * OptimiseSettings().passes * work.pass;
    const Share search = ShareOf(0.0, searchWork, searchWork + runWork);
    SpanProgress searchProgress(progress, search.begin, search.end, SpanProgress::Texts::Pass);
    Optimiser* optimiser = cache.For(inputs, parameters.minBlockSize, searchProgress);
    if (!optimiser)
        return std::nullopt;
    SpanProgress runProgress(progress, search.end, 100.0, SpanProgress::Texts::Pass);
    OptimisedRun run = request.rate
                           ? optimiser->RunForRate(*request.rate, kRateTolerance, &runProgress)
                           : optimiser->Run(parameters.penalty, &runProgress);
    if (progress.Cancelled())
        return std::nullopt;
    StageOutputs outputs;
    if (request.rate)
        outputs.rate =
            RateOutcome{*request.rate, run.penalty, optimiser->WhyMissed(*request.rate, run)};
    // The status bar ends as after the exact mode's reconstruction, not on the search's last
    // step.
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "解码完毕"));
    progress.SetPosition(0);
    outputs.mode = RunMode::Optimised;
    outputs.quadtree = std::make_shared<const QuadtreeStage>(BlocksOf(run.tree, *inputs.sums));
    const RunFigures figures = MeasureOptimisedRun(*inputs.gray, run);
    outputs.cutLines = CutLineResult{
        CutLineStage{Decomposition{std::move(run.tree), figures.groups}, std::move(run.result)},
        figures};
    return outputs;
}

}  // namespace

void OptimiserCache::Drop() {
    const std::lock_guard lock(m_held);
    optimiser.reset();
    gray.reset();
    sums.reset();
}

bool OptimiserCache::Holds(const StageInputs& inputs, std::int32_t size) const {
    const std::lock_guard lock(m_held);
    return optimiser && gray == inputs.gray && minBlockSize == size;
}

Optimiser* OptimiserCache::For(const StageInputs& inputs, std::int32_t size, Progress& progress) {
    if (Holds(inputs, size))
        return &*optimiser;
    Drop();
    // The search runs unguarded: only its result changes what Holds sees.
    std::optional<Optimiser> found =
        Optimiser::Search(*inputs.gray, *inputs.sums, SettingsFor(size, 0), progress);
    const std::lock_guard lock(m_held);
    ++searches;
    if (!found)
        return nullptr;
    optimiser = std::move(found);
    gray = inputs.gray;
    sums = inputs.sums;
    minBlockSize = size;
    return &*optimiser;
}

std::optional<StageOutputs> RunStages(const StageInputs& inputs, const StageRequest& request,
                                      LineSearchWorkspace& search, OptimiserCache& optimised,
                                      Progress& progress) {
    if (request.mode == RunMode::Optimised && request.cutLines)
        return RunOptimised(inputs, request, optimised, progress);
    StageOutputs outputs;
    outputs.mode = request.mode;
    std::shared_ptr<const QuadtreeStage> quadtree = inputs.quadtree;
    if (request.quadtree) {
        quadtree = outputs.quadtree = std::make_shared<const QuadtreeStage>(RunQuadtreeStage(
            *inputs.sums, request.quadtree->penalty, request.quadtree->minBlockSize));
        if (progress.Cancelled())
            return std::nullopt;
    }
    if (request.cutLines) {
        std::optional<CutLineStage> stage =
            RunCutLineStage(*inputs.gray, *quadtree, *inputs.sums, search, 0, progress);
        if (!stage)
            return std::nullopt;
        const RunFigures figures = MeasureRun(*inputs.gray, *quadtree, *stage);
        outputs.cutLines = CutLineResult{std::move(*stage), figures};
    }
    return outputs;
}

std::optional<StageOutputs> RunStages(const StageInputs& inputs, const StageRequest& request,
                                      LineSearchWorkspace& search, Progress& progress) {
    OptimiserCache optimised;
    return RunStages(inputs, request, search, optimised, progress);
}

double PredictOptimisedRunSeconds(const StageInputs& inputs, const StageRequest& request,
                                  const OptimiserCache& optimised) {
    const std::int32_t minBlockSize = ParametersOf(inputs, request).minBlockSize;
    return PredictOptimisedSeconds(inputs.gray->width, inputs.gray->height, minBlockSize,
                                   !optimised.Holds(inputs, minBlockSize), request.rate.has_value(),
                                   OptimiseSettings().passes, 0);
}

std::vector<RunFigures> MeasureOptimisedCurve(const StageInputs& inputs,
                                              std::span<const double> penalties,
                                              std::int32_t minBlockSize, Progress& progress) {
    // One thread: the curve goes on beside the runs the user asks for.
    std::optional<Optimiser> optimiser =
        Optimiser::Search(*inputs.gray, *inputs.sums, SettingsFor(minBlockSize, 1), progress);
    std::vector<RunFigures> curve;
    for (std::size_t i = 0; optimiser && i < penalties.size(); ++i) {
        if (progress.Cancelled())
            return {};
        curve.push_back(MeasureOptimisedRun(*inputs.gray, optimiser->Run(penalties[i])));
    }
    return curve;
}

}  // namespace zantrel
