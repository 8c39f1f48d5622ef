#include "app/RunFigures.h"

#include "codec/ZtlFile.h"
#include "measure/BitRate.h"
#include "measure/Psnr.h"

namespace zantrel {

namespace {

constexpr double kCurvePenalties[] = {0.1, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 100000};

}  // namespace

RunFigures MeasureRun(const GrayPicture& gray, const QuadtreeStage& quadtree,
                      const CutLineStage& zantrel) {
    const Quadtree& tree = quadtree.tree;
    RunFigures figures;
    figures.penalty = tree.penalty;
    figures.minBlockSize = tree.minBlockSize;
    figures.blocks = tree.blocks.size();
    figures.cutModels = zantrel.decomposition.cutModels.size();
    figures.psnr = Psnr(gray, zantrel.result);
    figures.bitrate = EstimateBitRate(zantrel.decomposition, gray.width, gray.height);
    const std::size_t bytes =
        EncodeZtl(zantrel.decomposition, {gray.width, gray.height, tree.penalty, tree.minBlockSize})
            .size();
    figures.fileBitrate = ZtlFileBitRate(bytes, gray.width, gray.height);
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
