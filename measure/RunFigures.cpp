#include "measure/RunFigures.h"

#include "codec/ZtlFile.h"
#include "measure/BitRate.h"
#include "measure/Psnr.h"
#include "measure/Ssim.h"

namespace zantrel {

namespace {

constexpr double kCurvePenalties[] = {0.1, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 100000};

}  // namespace

MeasuredRun MeasureRunAndFile(const GrayPicture& gray, const QuadtreeStage& quadtree,
                              const CutLineStage& zantrel) {
    const Decomposition& decomposition = zantrel.decomposition;
    MeasuredRun run;
    RunFigures& figures = run.figures;
    figures.penalty = quadtree.tree.penalty;
    figures.minBlockSize = quadtree.tree.minBlockSize;
    figures.blocks = quadtree.tree.leaves.size();
    figures.cutModels = CutCount(decomposition.tree);
    figures.groups = decomposition.groupCount;
    figures.psnr = Psnr(gray, zantrel.result);
    figures.ssim = Ssim(gray, zantrel.result);
    figures.bitrate = EstimateBitRate(decomposition);
    run.file = EncodeZtl(decomposition.tree);
    figures.fileBytes = run.file.size();
    figures.fileBitrate = ZtlFileBitRate(run.file.size(), gray.width, gray.height);
    return run;
}

RunFigures MeasureOptimisedRun(const GrayPicture& gray, const OptimisedRun& run) {
    RunFigures figures;
    figures.penalty = run.penalty;
    figures.minBlockSize = run.tree.minBlockSize;
    figures.blocks = run.tree.leaves.size();
    figures.cutModels = CutCount(run.tree);
    for (const QuadBlock& leaf : run.tree.leaves) {
        figures.ramps += std::holds_alternative<PlaneModel>(leaf.model) ||
                         std::holds_alternative<CutPlanesModel>(leaf.model);
    }
    figures.groups = 0;
    for (int side = 1; side < 2 * RootSide(gray.width, gray.height); side *= 2)
        ++figures.groups;
    figures.psnr = Psnr(gray, run.result);
    figures.ssim = Ssim(gray, run.result);
    figures.bitrate = run.believedBits / (static_cast<double>(gray.width) * gray.height);
    figures.fileBytes = run.file.size();
    figures.fileBitrate = FileBitsPerPixel(run);
    return figures;
}

std::span<const double> RateCurvePenalties() {
    return kCurvePenalties;
}

std::vector<RunFigures> MeasureRateCurve(const GrayPicture& gray, const SummedTables& sums,
                                         std::span<const double> penalties,
                                         std::int32_t minBlockSize, Progress& progress) {
    LineSearchWorkspace search;
    std::vector<RunFigures> curve;
    for (const double penalty : penalties) {
        const QuadtreeStage quadtree = RunQuadtreeStage(sums, penalty, minBlockSize);
        const std::optional<CutLineStage> zantrel =
            RunCutLineStage(gray, quadtree, sums, search, 1, progress);
        if (!zantrel)
            return {};
        curve.push_back(MeasureRun(gray, quadtree, *zantrel));
    }
    return curve;
}

}  // namespace zantrel
