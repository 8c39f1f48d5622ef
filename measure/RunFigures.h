#pragma once
// The figures of one run of the stages after the gray picture, as zantrel-cli prints them for
// the same settings, and the rate–distortion curve of a gray picture over a ladder of
// penalties. Plain values, so any front end measures them away from its window.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "measure/Stages.h"
#include "optimise/Optimiser.h"
#include "picture/Progress.h"

namespace zantrel {

struct RunFigures {
    double penalty = 0.0;
    std::int32_t minBlockSize = 0;
    std::size_t blocks = 0;
    std::size_t cutModels = 0;
    std::int32_t groups = 0;  // the block sizes the search went through
    double psnr = 0.0;        // dB
    double ssim = 0.0;
    double bitrate = 0.0;       // the estimate, bits per pixel
    std::size_t fileBytes = 0;  // the .ztl file of the result
    double fileBitrate = 0.0;   // the .ztl file, every byte counted, bits per pixel
    std::size_t ramps = 0;      // the optimised mode's leaves with a ramp
};

// The figures of `zantrel`, made from `quadtree` on `gray`, and its file.
struct MeasuredRun {
    RunFigures figures;
    std::vector<std::uint8_t> file;
};
MeasuredRun MeasureRunAndFile(const GrayPicture& gray, const QuadtreeStage& quadtree,
                              const CutLineStage& zantrel);
inline RunFigures MeasureRun(const GrayPicture& gray, const QuadtreeStage& quadtree,
                             const CutLineStage& zantrel) {
    return MeasureRunAndFile(gray, quadtree, zantrel).figures;
}

// The figures of an optimised run on `gray`: `bitrate` is the file's size as the pruning
// believed it, `groups` the block sizes searched.
RunFigures MeasureOptimisedRun(const GrayPicture& gray, const OptimisedRun& run);

// The penalties the curve is drawn through: the sweep's defaults and the slider's ends.
std::span<const double> RateCurvePenalties();

// One run per penalty on `gray` with tables `sums`, on one thread and memory of its own, so it
// may run beside other runs on the same tables. Nothing when `progress` asked to stop.
std::vector<RunFigures> MeasureRateCurve(const GrayPicture& gray, const SummedTables& sums,
                                         std::span<const double> penalties,
                                         std::int32_t minBlockSize, Progress& progress);

}  // namespace zantrel
