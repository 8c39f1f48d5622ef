#include "linesearch/LineSearch.h"

#include <cstdio>
#include <limits>

#include "linesearch/Threads.h"

namespace zantrel {

LineSearch::LineSearch(const GrayPicture& gray, const SummedTables& sums, double penalty,
                       LineSearchWorkspace& workspace, int threads, Progress& progress)
    : m_gray(gray),
      m_sums(sums),
      m_penalty(penalty),
      m_workspace(workspace),
      m_threads(ResolveThreadCount(threads)),
      m_progress(progress) {}

std::optional<std::vector<BestCut>> LineSearch::Run(std::span<const Block> blocks) {
    m_candidates.clear();
    m_candidates.reserve(blocks.size());
    for (const Block& block : blocks)
        m_candidates.push_back({block, std::numeric_limits<double>::infinity(), {}});
    GroupCandidatesBySize();

    int first = 0;
    for (int group = 0; group < GroupCount(); ++group) {
        SearchRowCuts(group, first);
        SearchColumnCuts(group, first);
        SearchObliqueCuts(group, first);
        if (Cancelled())
            return std::nullopt;
        first += m_groupCounts[group];
    }
    std::vector<BestCut> bests;
    bests.reserve(m_candidates.size());
    for (const Candidate& candidate : m_candidates)
        bests.push_back(candidate.best);
    return bests;
}

void LineSearch::GroupCandidatesBySize() {
    m_groupSizes.clear();
    m_groupCounts.clear();
    for (const Candidate& candidate : m_candidates) {
        if (m_groupSizes.empty() || candidate.block.size != m_groupSizes.back()) {
            m_groupSizes.push_back(candidate.block.size);
            m_groupCounts.push_back(0);
        }
        ++m_groupCounts.back();
    }
}

void LineSearch::ShowGroupStatus(const char* label, int group) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%d", label, GroupCount() - group - 1);
    m_progress.SetText(text);
}

std::optional<Decomposition> SearchLines(const Quadtree& tree, const GrayPicture& gray,
                                         const SummedTables& sums, LineSearchWorkspace& workspace,
                                         int threads, Progress& progress) {
    // A cut model costs at least two penalties, so only dearer leaves can gain from one.
    std::vector<std::int32_t> leaves;
    std::vector<LineSearch::Block> blocks;
    for (const std::int32_t i : LeavesBySize(tree)) {
        const QuadBlock& leaf = tree.leaves[i];
        if (leaf.error + tree.penalty > 2 * tree.penalty && leaf.size > 1) {
            leaves.push_back(i);
            blocks.push_back({leaf.row, leaf.col, leaf.size});
        }
    }
    LineSearch search(gray, sums, tree.penalty, workspace, threads, progress);
    const std::optional<std::vector<BestCut>> bests = search.Run(blocks);
    if (!bests)
        return std::nullopt;

    Decomposition result{tree, search.GroupCount()};
    for (std::size_t k = 0; k < leaves.size(); ++k) {
        QuadBlock& leaf = result.tree.leaves[leaves[k]];
        const BestCut& best = (*bests)[k];
        if (best.Cost(tree.penalty) < leaf.error + tree.penalty)
            leaf.model = CutModel{best.line, best.a.value, best.b.value};
    }
    return result;
}

std::size_t CutCount(const Quadtree& tree) {
    std::size_t count = 0;
    for (const QuadBlock& leaf : tree.leaves)
        count += leaf.Line() ? 1 : 0;
    return count;
}

}  // namespace zantrel
