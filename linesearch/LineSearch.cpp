#include "linesearch/LineSearch.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>

#include "linesearch/SearchSteps.h"
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
    m_totalSteps = 0;
    for (int group = 0; group < GroupCount(); ++group)
        m_totalSteps += m_groupCounts[group] * BlockSearchSteps(m_groupSizes[group]);
    m_doneSteps = 0;
    m_shownPosition = -1;

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

void LineSearch::ShowSteps(std::int64_t done) {
    // Positions follow the steps, so one large block moves the bar as evenly as many small
    // ones, and they only ever grow.
    const int position = static_cast<int>(100 * done / std::max<std::int64_t>(m_totalSteps, 1));
    if (position > m_shownPosition) {
        m_shownPosition = position;
        m_progress.SetPosition(position);
    }
}

void LineSearch::ShowGroupStatus(const char* label, int group) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%d", label, GroupCount() - group - 1);
    m_progress.SetText(text);
}

namespace {

// A cut model costs at least two penalties, so only dearer leaves can gain from one.
bool IsCandidate(const QuadBlock& leaf, double penalty) {
    return leaf.error + penalty > 2 * penalty && leaf.size > 1;
}

}  // namespace

std::optional<Decomposition> SearchLines(const Quadtree& tree, const GrayPicture& gray,
                                         const SummedTables& sums, LineSearchWorkspace& workspace,
                                         int threads, Progress& progress) {
    std::vector<std::int32_t> leaves;
    std::vector<LineSearch::Block> blocks;
    for (const std::int32_t i : LeavesBySize(tree)) {
        const QuadBlock& leaf = tree.leaves[i];
        if (IsCandidate(leaf, tree.penalty)) {
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

double EstimatedSearchSteps(const Quadtree& tree) {
    std::map<std::int32_t, std::int64_t> countBySize;
    for (const QuadBlock& leaf : tree.leaves) {
        if (IsCandidate(leaf, tree.penalty))
            ++countBySize[leaf.size];
    }
    double steps = 0;
    for (const auto& [size, count] : countBySize)
        steps += static_cast<double>(count) * EstimatedBlockSearchSteps(size);
    return steps;
}

std::size_t CutCount(const Quadtree& tree) {
    std::size_t count = 0;
    for (const QuadBlock& leaf : tree.leaves)
        count += leaf.Line() ? 1 : 0;
    return count;
}

}  // namespace zantrel
