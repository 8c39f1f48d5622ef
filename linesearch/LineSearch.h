#pragma once
// The cut-line search: blocks of the quadtree are tried with every vertical, horizontal and
// oblique line, size group by size group, and each keeps the first line of the lowest
// two-region cost in the fixed trial order. The exact mode then gives a leaf its best cut
// model where that is strictly cheaper than its one value.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "linesearch/LineDivision.h"
#include "linesearch/LinePrefixSums.h"
#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/Quadtree.h"
#include "quadtree/RegionFit.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

// The best cut line of one block with the fits of its two sides, side A and side B.
struct BestCut {
    CutLine line;
    RegionFit a;
    RegionFit b;
    // The two-region cost under `penalty`, charged once per side, in the order the search
    // compares it.
    double Cost(double penalty) const { return (a.error + penalty) + (b.error + penalty); }
};

// The exact mode's result: the quadtree with its chosen models, and the number of block sizes
// the search went through.
struct Decomposition {
    Quadtree tree;
    std::int32_t groupCount = 0;
};

// Memory the search reuses from one run to the next: the blocks' per-line prefix sums, each
// piece's best lines and each worker's batch of divided lines. Keep one per thread of control that
// runs searches.
class LineSearchWorkspace {
  public:
    struct PieceBest {
        double cost;
        int point;  // index of the second end point, -1 for none
        RegionFit a;
        RegionFit b;
    };
    // One line through the first end point of a piece, divided, with its second end point.
    struct DividedLine {
        int point;
        LineDivision::Prefixes prefixes;
    };
    // A line walked through a block tile by tile, with its sums so far.
    struct WalkedLine {
        int point;
        LineDivision::Walk start;
        LineDivision::Walk walk;
        std::int64_t gray;
        std::int64_t squares;
        std::int64_t prefixCount;
    };
    // Blocks of this side or more are summed a tile of rows (or columns) at a time for a whole
    // batch of lines, so that a block too large for the caches is read from them; smaller
    // blocks take one line at a time. The results are the same either way.
    int streamFromSide = 512;
    LinePrefixSums sums;
    std::vector<PieceBest> bests;
    std::vector<std::vector<WalkedLine>> walkBatches;   // one batch per worker
    std::vector<std::vector<DividedLine>> lineBatches;  // one batch per worker
    std::vector<std::int64_t> stepsBefore;              // per first end point
};

// One run of the search over a gray picture and its summed tables. Lines are ranked by their
// two-region cost under `penalty`, so that ties and roundings fall as the exact mode decides
// them; the results carry the sides' errors without it.
class LineSearch {
  public:
    // `threads` 0 means every core. Status texts and positions go to `progress`.
    LineSearch(const GrayPicture& gray, const SummedTables& sums, double penalty,
               LineSearchWorkspace& workspace, int threads, Progress& progress);

    // The best cut of every block in `blocks` (sides of 2 or more, ascending), in that order;
    // nothing when cancelled.
    struct Block {
        std::int32_t row;
        std::int32_t col;
        std::int32_t size;
    };
    std::optional<std::vector<BestCut>> Run(std::span<const Block> blocks);

    // The number of size groups of the last run.
    std::int32_t GroupCount() const { return static_cast<std::int32_t>(m_groupSizes.size()); }

  private:
    struct Candidate {
        Block block;
        double cost;  // the best line's cost so far
        BestCut best;
    };
    void GroupCandidatesBySize();
    // The searches of one size group, whose candidates are m_candidates[first ...].
    // Cuts between two rows, announced as the vertical search, then cuts between two
    // columns, announced as the horizontal one, then the oblique lines.
    void SearchRowCuts(int group, int first);
    void SearchColumnCuts(int group, int first);
    void SearchObliqueCuts(int group, int first);
    bool Cancelled() const { return m_progress.Cancelled(); }
    // Shows the position of `done` of the run's line-pricing steps, where it has moved on.
    void ShowSteps(std::int64_t done);
    void SearchAxisGroup(const char* label, int group, int first, bool alongRows);
    // `label` directly followed by the number of size groups still to come after `group`.
    void ShowGroupStatus(const char* label, int group);

    const GrayPicture& m_gray;
    const SummedTables& m_sums;
    double m_penalty;
    LineSearchWorkspace& m_workspace;
    int m_threads;
    Progress& m_progress;
    std::vector<Candidate> m_candidates;
    std::vector<std::int32_t> m_groupSizes;
    std::vector<std::int32_t> m_groupCounts;
    std::int64_t m_totalSteps = 0;
    std::int64_t m_doneSteps = 0;  // of the groups and searches finished
    int m_shownPosition = -1;
};

// The exact mode over the leaves of `tree`, whose picture is `gray` with tables `sums`: the
// leaves whose one-value cost exceeds two penalties and whose side is 2 or more are searched,
// smallest first, and a leaf takes its best cut model where that is strictly cheaper than its
// one value. Nothing when cancelled.
std::optional<Decomposition> SearchLines(const Quadtree& tree, const GrayPicture& gray,
                                         const SummedTables& sums, LineSearchWorkspace& workspace,
                                         int threads, Progress& progress);

// The line-pricing steps SearchLines takes on the leaves of `tree` (linesearch/SearchSteps.h),
// as fast to ask as the quadtree is to read: large blocks are estimated within 0.1 %.
double EstimatedSearchSteps(const Quadtree& tree);

// The number of leaves of `tree` with a cut model.
std::size_t CutCount(const Quadtree& tree);

}  // namespace zantrel
