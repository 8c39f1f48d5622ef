#include "app/StageJob.h"

namespace zantrel {

std::optional<StageOutputs> RunStages(const StageInputs& inputs, const StageRequest& request,
                                      LineSearchWorkspace& search, Progress& progress) {
    StageOutputs outputs;
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

}  // namespace zantrel
