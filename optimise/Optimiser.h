#pragma once
// The optimised mode: the whole decomposition chosen for the file. The search runs once per
// picture; each penalty then prunes, quantises and encodes in a few passes, each pass pricing
// the decisions with what the previous encoding really spent per context, and a rate target
// is met by bisection over the penalty, all on the same search.

#include <cstdint>
#include <optional>
#include <vector>

#include "optimise/BlockSearch.h"
#include "optimise/Prune.h"
#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/Quadtree.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

// The file rates a rate target may name, in bits per pixel: every front end (the command
// line's --rate and --rates, the desktop's rate box and slider) takes these and only these.
// Below the lowest a file is mostly its header; above the highest it outgrows the raw picture.
inline constexpr double kLowestRateTarget = 0.001;
inline constexpr double kHighestRateTarget = 10.0;
inline bool IsRateTargetInRange(double bitsPerPixel) {
    return bitsPerPixel >= kLowestRateTarget && bitsPerPixel <= kHighestRateTarget;
}
// A file within this share of a rate target meets it.
inline constexpr double kRateTolerance = 0.02;
bool IsRateTargetMet(double target, double bitsPerPixel);

// The penalties a rate target is searched among: the lowest gives the finest tree the minimum
// block size allows, the highest the coarsest.
inline constexpr double kLowestPenalty = 1e-4;
inline constexpr double kHighestPenalty = 1e8;
// Where every rate search starts.
inline constexpr double kRateSearchStart = 1.0;

// Why no penalty meets a rate target: the finest tree's file is smaller, the coarsest tree's
// larger, or the file's rate jumps over the target between two neighbouring penalties.
enum class RateMiss { None, AboveFinest, BelowCoarsest, Jumped };

struct OptimiseSettings {
    BlockSearchSettings search;
    ModelKinds kinds;
    // The value step of a region of m pixels is about stepScale * sqrt(6 * 512 * penalty /
    // (m ln 2)), the step at which a finer value stops paying for its bits.
    double stepScale = 1.0;
    std::uint8_t gradientFactor = 28;  // the gradient step per value step, in 1/8
    int passes = 3;                    // prune-and-encode passes per penalty
};

// One optimised decomposition with its file.
struct OptimisedRun {
    double penalty = 0.0;
    Quadtree tree;       // as the file decodes it
    GrayPicture result;  // the tree drawn: the decoded picture
    std::vector<std::uint8_t> file;
    double believedBits = 0.0;  // the whole file as the last pruning priced it
    double error = 0.0;         // the result's squared error / 512
};

class Optimiser {
  public:
    // Searches every block of `gray` (tables `sums`, both kept by the caller for the
    // optimiser's life). Nothing when `progress` asks to stop.
    static std::optional<Optimiser> Search(const GrayPicture& gray, const SummedTables& sums,
                                           const OptimiseSettings& settings, Progress& progress);

    // The decomposition under `penalty` (0 .. 100000000), reusing the search; the same for
    // the same penalty whatever ran before. With `progress`, tells it the passes done.
    OptimisedRun Run(double penalty, Progress* progress = nullptr);
    // The decomposition whose file comes nearest to `bitsPerPixel`, by a search over the
    // penalty; within `tolerance` (relative) where the penalties can reach it. With `progress`,
    // tells it the runs done and stops between them once it is cancelled, with the nearest run
    // so far.
    OptimisedRun RunForRate(double bitsPerPixel, double tolerance = kRateTolerance,
                            Progress* progress = nullptr);
    // Why `nearest`, RunForRate's answer, misses `bitsPerPixel`: one more run at the end of
    // the penalties on the side of the target, where it does.
    RateMiss WhyMissed(double bitsPerPixel, const OptimisedRun& nearest);

    // The quantiser the optimised mode uses under `penalty`.
    Quantiser QuantiserFor(double penalty) const;
    const BlockSearch& Blocks() const { return m_search; }

  private:
    Optimiser(const GrayPicture& gray, const SummedTables& sums, const OptimiseSettings& settings,
              BlockSearch search)
        : m_gray(&gray), m_sums(&sums), m_settings(settings), m_search(std::move(search)) {}

    const GrayPicture* m_gray;
    const SummedTables* m_sums;
    OptimiseSettings m_settings;
    BlockSearch m_search;
    // What the last pass's encoding spent per context and what it drew: the next pass's
    // prices and predictions.
    std::optional<ZtlStatistics> m_statistics;
    GrayPicture m_drawn;
    PruneWorkspace m_pruneWorkspace;
    // The run at kRateSearchStart, once made (and not too large): every rate target's first
    // step.
    std::optional<OptimisedRun> m_startRun;
};

// The optimised mode's bits per pixel of a file.
double FileBitsPerPixel(const OptimisedRun& run);

}  // namespace zantrel
