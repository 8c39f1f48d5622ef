#pragma once
// One background run of the stages after the gray picture, as values: the inputs taken from the
// document, what the run is to make, and what it made. The run reads nothing but its inputs (and
// the optimised mode's search it keeps for them), so it may go on while the document changes;
// whether its outputs are still wanted is decided on the user-interface thread.

#include <memory>
#include <mutex>
#include <optional>

#include "linesearch/LineSearch.h"
#include "measure/RunFigures.h"
#include "measure/Stages.h"
#include "optimise/Optimiser.h"
#include "picture/Progress.h"
#include "quadtree/DecompositionParameters.h"
#include "view/ParameterFields.h"

namespace zantrel {

// The document's pictures a run reads, shared and never changed.
struct StageInputs {
    std::shared_ptr<const GrayPicture> gray;
    std::shared_ptr<const SummedTables> sums;       // of the gray picture
    std::shared_ptr<const QuadtreeStage> quadtree;  // the document's current one, if any
};

struct StageRequest {
    StageRequest(std::optional<DecompositionParameters> quadtree_ = std::nullopt,
                 bool cutLines_ = false, RunMode mode_ = RunMode::Exact,
                 std::optional<double> rate_ = std::nullopt)
        : quadtree(quadtree_), cutLines(cutLines_), mode(mode_), rate(rate_) {}

    // A new quadtree under these parameters; nothing to search the inputs' quadtree.
    std::optional<DecompositionParameters> quadtree;
    // The cut-line search and the reconstruction after the quadtree.
    bool cutLines = false;
    // The optimised mode makes the cut-line stage's decomposition with the quadtree's
    // parameters (the request's, else the inputs' quadtree's) and its own tree, which then
    // replaces the quadtree.
    RunMode mode = RunMode::Exact;
    // The optimised mode only: the file's bits per pixel to aim at instead of the penalty.
    std::optional<double> rate;
};

// The cut-line stage with the figures zantrel-cli prints for it.
struct CutLineResult {
    CutLineStage stage;
    RunFigures figures;
};

// What a rate target came to: the penalty found and, where the file misses the target, why.
struct RateOutcome {
    double target = 0.0;
    double penalty = 0.0;
    RateMiss miss = RateMiss::None;
};

struct StageOutputs {
    RunMode mode = RunMode::Exact;
    std::shared_ptr<const QuadtreeStage> quadtree;  // the new quadtree, if one was asked for
    std::optional<CutLineResult> cutLines;
    std::optional<RateOutcome> rate;  // for a rate target
};

// The optimised mode's search of one gray picture under one minimum block size, kept between
// runs so that another penalty or rate only prunes again. It holds the picture and tables the
// optimiser reads. One worker uses it at a time; Holds may be asked from any thread meanwhile
// (the desktop predicts a run's time while the one before still works).
struct OptimiserCache {
    std::shared_ptr<const GrayPicture> gray;
    std::shared_ptr<const SummedTables> sums;
    std::int32_t minBlockSize = 0;
    std::optional<Optimiser> optimiser;
    int searches = 0;  // how often it searched, for telling a prune from a search

    // Forgets the search and what it read.
    void Drop();
    // Whether it holds the search of `inputs`' picture at `minBlockSize`.
    bool Holds(const StageInputs& inputs, std::int32_t minBlockSize) const;
    // The optimiser for `inputs` at `minBlockSize`, searching only for another picture or
    // size; nothing when `progress` asked to stop during a search.
    Optimiser* For(const StageInputs& inputs, std::int32_t minBlockSize, Progress& progress);

  private:
    // Guards what Holds reads: the search held, its picture and its size.
    mutable std::mutex m_held;
};

// Runs `request` on `inputs`, the search in `search` on every core, the optimised mode's in
// `optimised`; nothing when `progress` asked to stop.
std::optional<StageOutputs> RunStages(const StageInputs& inputs, const StageRequest& request,
                                      LineSearchWorkspace& search, OptimiserCache& optimised,
                                      Progress& progress);
// The same with a search of its own for the optimised mode.
std::optional<StageOutputs> RunStages(const StageInputs& inputs, const StageRequest& request,
                                      LineSearchWorkspace& search, Progress& progress);

// The predicted seconds of `request` in the optimised mode on `inputs` (which hold a
// quadtree unless the request makes one), the search counted only where `optimised` does not
// hold it; on every core.
double PredictOptimisedRunSeconds(const StageInputs& inputs, const StageRequest& request,
                                  const OptimiserCache& optimised);

// The optimised mode's rate–distortion curve of `inputs`' gray picture at `penalties`, on a
// search of its own. Nothing when `progress` asked to stop.
std::vector<RunFigures> MeasureOptimisedCurve(const StageInputs& inputs,
                                              std::span<const double> penalties,
                                              std::int32_t minBlockSize, Progress& progress);

}  // namespace zantrel
