#include "measure/Stages.h"

#include <algorithm>
#include <thread>

#include "linesearch/Threads.h"
#include "measure/Reconstruction.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

void PrepareWorkspace(const GrayPicture& gray, PipelineWorkspace& workspace) {
    workspace.sums.Build(gray);
}

QuadtreeStage RunQuadtreeStage(const PipelineWorkspace& workspace, double penalty,
                               std::int32_t minBlockSize) {
    return RunQuadtreeStage(workspace.sums, penalty, minBlockSize);
}

std::optional<CutLineStage> RunCutLineStage(const GrayPicture& gray, const QuadtreeStage& quadtree,
                                            PipelineWorkspace& workspace, int threads,
                                            Progress& progress) {
    return RunCutLineStage(gray, quadtree, workspace.sums, workspace.search, threads, progress);
}

double PredictCutLineSeconds(const Quadtree& tree, int threads) {
    // One core's time per line-pricing step on the 2-core development machine: the bench's
    // OneCandidate/2048 (1.7e10 steps) takes 21 s on 2 threads when the machine is idle, side
    // 512 a fifth less per step. Long runs are those of large blocks, so their step is the one
    // counted. A busy machine is slower.
    constexpr double kSecondsPerStep = 2.4e-9;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int workers = std::min(ResolveThreadCount(threads), static_cast<int>(cores));
    return EstimatedSearchSteps(tree) * kSecondsPerStep / workers;
}

QuadtreeStage RunQuadtreeStage(const SummedTables& sums, double penalty,
                               std::int32_t minBlockSize) {
    QuadtreeStage stage;
    stage.tree = DecomposeQuadtree(sums, penalty, minBlockSize);
    stage.grid = DrawGrid(stage.tree);
    stage.blockPicture = DrawLeaves(stage.tree);
    return stage;
}

std::optional<CutLineStage> RunCutLineStage(const GrayPicture& gray, const QuadtreeStage& quadtree,
                                            const SummedTables& sums, LineSearchWorkspace& search,
                                            int threads, Progress& progress) {
    std::optional<Decomposition> decomposition =
        SearchLines(quadtree.tree, gray, sums, search, threads, progress);
    if (!decomposition)
        return std::nullopt;
    std::optional<GrayPicture> result =
        Reconstruct(quadtree.blockPicture, decomposition->tree, progress);
    if (!result)
        return std::nullopt;
    return CutLineStage{std::move(*decomposition), std::move(*result)};
}

}  // namespace zantrel
