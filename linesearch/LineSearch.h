#pragma once
// The cut-line search: every leaf block dear enough to gain from a cut line is tried with
// every vertical, horizontal and oblique line, size group by size group, and keeps the first
// line of the lowest cost when it is strictly cheaper than the block's one value.

#include <cstdint>
#include <optional>
#include <vector>

#include "linesearch/LineDivision.h"
#include "linesearch/LinePrefixSums.h"
#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/Quadtree.h"
#include "quadtree/Records.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

// What the search leaves for the later stages.
struct Decomposition {
    std::vector<QuadBlock> blocks;    // the leaves sorted by size; chosen ones marked
    std::vector<CutModel> cutModels;  // the chosen models, in candidate order
    std::int32_t groupCount = 0;      // the number of size groups searched
};

// Memory the search reuses from one run to the next: the blocks' per-line prefix sums, each
// piece's best lines and each worker's batch of divided lines. Keep one per thread of control that
// runs searches.
class LineSearchWorkspace {
  public:
    struct PieceBest {
        double cost;
        int point;  // index of the second end point, -1 for none
        std::uint8_t valueA;
        std::uint8_t valueB;
    };
    // One line through the first end point of a piece, divided, with its second end point.
    struct DividedLine {
        int point;
        LineDivision::Prefixes prefixes;
    };
    LinePrefixSums sums;
    std::vector<PieceBest> bests;
    std::vector<std::vector<DividedLine>> lineBatches;  // one batch per worker
};

// One run of the search over a gray picture, its summed tables and a penalty. The steps are
// public so that tests can run them one by one on candidates of their own.
class LineSearch {
  public:
    // `threads` 0 means every core. Status texts and positions go to `progress`.
    LineSearch(const GrayPicture& gray, const SummedTables& sums, double penalty,
               LineSearchWorkspace& workspace, int threads, Progress& progress);

    // The whole search over `blocks` (any order); nothing when cancelled.
    std::optional<Decomposition> Run(std::vector<QuadBlock> blocks);

    // Rebuilds m_groupSizes and m_groupCounts from m_candidates (ascending sizes).
    void GroupCandidatesBySize();
    // The searches of one size group, whose candidates are m_candidates[first ...].
    void SearchVerticalCuts(int group, int first);
    void SearchHorizontalCuts(int group, int first);
    void SearchObliqueCuts(int group, int first);
    bool Cancelled() const { return m_progress.Cancelled(); }

    std::vector<CutModel> m_candidates;
    std::vector<std::int32_t> m_groupSizes;
    std::vector<std::int32_t> m_groupCounts;

  private:
    void SearchAxisGroup(const char* label, int group, int first, bool alongRows);
    // `label` directly followed by the number of size groups still to come after `group`.
    void ShowGroupStatus(const char* label, int group);

    const GrayPicture& m_gray;
    const SummedTables& m_sums;
    double m_penalty;
    LineSearchWorkspace& m_workspace;
    int m_threads;
    Progress& m_progress;
};

// The search over the leaves of `tree`, whose picture is `gray` with tables `sums`.
std::optional<Decomposition> SearchLines(const Quadtree& tree, const GrayPicture& gray,
                                         const SummedTables& sums, LineSearchWorkspace& workspace,
                                         int threads, Progress& progress);

// Divides an n x n grid by the line between the lattice points (row1, col1) and
// (row2, col2), row1 != row2: the pixels of side A and of side B, row by row.
void SplitBlockByLine(double row1, double col1, double row2, double col2, int n,
                      std::vector<PixelPos>& sideA, std::vector<PixelPos>& sideB);

}  // namespace zantrel
