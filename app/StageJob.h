#pragma once
// One background run of the stages after the gray picture, as values: the inputs taken from the
// document, what the run is to make, and what it made. The run reads nothing but its inputs, so
// it may go on while the document changes; whether its outputs are still wanted is decided on
// the user-interface thread.

#include <memory>
#include <optional>

#include "linesearch/LineSearch.h"
#include "measure/RunFigures.h"
#include "measure/Stages.h"
#include "picture/Progress.h"
#include "quadtree/DecompositionParameters.h"

namespace zantrel {

// The document's pictures a run reads, shared and never changed.
struct StageInputs {
    std::shared_ptr<const GrayPicture> gray;
    std::shared_ptr<const SummedTables> sums;       // of the gray picture
    std::shared_ptr<const QuadtreeStage> quadtree;  // the document's current one, if any
};

struct StageRequest {
    // A new quadtree under these parameters; nothing to search the inputs' quadtree.
    std::optional<DecompositionParameters> quadtree;
    // The cut-line search and the reconstruction after the quadtree.
    bool cutLines = false;
};

// The cut-line stage with the figures zantrel-cli prints for it.
struct CutLineResult {
    CutLineStage stage;
    RunFigures figures;
};

struct StageOutputs {
    std::shared_ptr<const QuadtreeStage> quadtree;  // the new quadtree, if one was asked for
    std::optional<CutLineResult> cutLines;
};

// Runs `request` on `inputs`, the search in `search` on every core; nothing when `progress`
// asked to stop.
std::optional<StageOutputs> RunStages(const StageInputs& inputs, const StageRequest& request,
                                      LineSearchWorkspace& search, Progress& progress);

}  // namespace zantrel
