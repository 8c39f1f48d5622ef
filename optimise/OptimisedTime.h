#pragma once
// What the parts of an optimised run cost, in seconds of one core of the 2-core development
// machine, fitted to measured runs (README, "Speed and memory"). The same figures weigh the
// parts of a run's progress bar and predict a run's time before it starts, so that a front end
// can ask before a long one.

namespace zantrel {

// The exhaustive cut-line search of `steps` line-pricing steps (linesearch/SearchSteps.h).
double ExhaustiveSearchSeconds(double steps);
// The fast search of large blocks of `pixels` pixels in all.
double CoarseSearchSeconds(double pixels);
// What every searched block costs beside its lines: its place in the search, its sums and ramps.
double CandidateSeconds(double blocks);
// One prune-and-encode pass over `blocks` searched blocks of `pixels` pixels in all, choosing
// `leaves` leaves.
double PassSeconds(double blocks, double pixels, double leaves);

// The steps of a rate search the prediction counts (most targets take 6 to 12).
inline constexpr int kPredictedRateSteps = 10;

// The work of an optimised run on a width x height picture at minimum block `minBlockSize`.
struct OptimisedWork {
    double search = 0.0;  // the search of every block, once per picture and minimum block size
    double pass = 0.0;    // one prune-and-encode pass, at the most leaves the tree can have
};
OptimisedWork EstimateOptimisedWork(int width, int height, int minBlockSize);

// The predicted seconds of an optimised run: the search when `search` (not yet kept for the
// picture) on `threads` workers (0: every core), then `passes` passes for one penalty, or
// kPredictedRateSteps times as many for a rate target (`rate`), which gain little from more
// cores. Noise at a small penalty takes that long; a smoother picture or a larger penalty,
// whose tree has fewer leaves, less.
double PredictOptimisedSeconds(int width, int height, int minBlockSize, bool search, bool rate,
                               int passes, int threads);

}  // namespace zantrel
