#pragma once
// The stages after the gray conversion, run in the desktop commands' order on one gray
// picture: quadtree and block fill, then the cut-line search and the reconstruction. The
// command line, the sweep and the benchmark all run the pipeline through here.

#include <cstdint>
#include <optional>

#include "linesearch/LineSearch.h"
#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/Quadtree.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

// Memory kept from one run to the next on the same gray picture.
struct PipelineWorkspace {
    SummedTables sums;  // of the gray picture; Prepare builds them
    LineSearchWorkspace search;
};

// The quadtree stage: the decomposition and its block picture.
struct QuadtreeStage {
    Quadtree tree;
    GrayPicture grid;  // the bare grid
    GrayPicture blockPicture;
};

// The cut-line stage: the quadtree with its chosen models, and the reconstruction.
struct CutLineStage {
    Decomposition decomposition;
    GrayPicture result;
};

// Builds the summed tables of `gray` into the workspace.
void PrepareWorkspace(const GrayPicture& gray, PipelineWorkspace& workspace);

// Quadtree and block fill; the workspace must have been prepared for `gray`.
QuadtreeStage RunQuadtreeStage(const PipelineWorkspace& workspace, double penalty,
                               std::int32_t minBlockSize);

// Search and reconstruction after `quadtree`; nothing when cancelled.
std::optional<CutLineStage> RunCutLineStage(const GrayPicture& gray, const QuadtreeStage& quadtree,
                                            PipelineWorkspace& workspace, int threads,
                                            Progress& progress);

// The predicted seconds of the exact mode's cut-line stage on `tree` with `threads` (0: every
// core), from the line-pricing steps its search will take; cheap enough to ask before every
// run. A front end warns before a run predicted to take longer than about 30 seconds.
double PredictCutLineSeconds(const Quadtree& tree, int threads);

// The same two stages on tables shared with other threads, each run with its own search
// memory: the tables are only read, so several runs may use them at once.
QuadtreeStage RunQuadtreeStage(const SummedTables& sums, double penalty, std::int32_t minBlockSize);
std::optional<CutLineStage> RunCutLineStage(const GrayPicture& gray, const QuadtreeStage& quadtree,
                                            const SummedTables& sums, LineSearchWorkspace& search,
                                            int threads, Progress& progress);

}  // namespace zantrel
