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
