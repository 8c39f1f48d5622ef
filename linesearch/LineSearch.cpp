#include "linesearch/LineSearch.h"

#include <algorithm>
#include <cstdio>

#include "linesearch/Threads.h"
#include "quadtree/Comparators.h"

namespace zantrel {

namespace {

// Sorting by size alone leaves blocks of equal size in any order; a stable sort keeps them
// in quadtree order, so the candidates and the published models come out the same on every
// platform.
void SortBlocksBySize(std::vector<QuadBlock>& blocks) {
    std::stable_sort(blocks.begin(), blocks.end(), [](const QuadBlock& a, const QuadBlock& b) {
        return CompareBySize(&a, &b) < 0;
    });
}

}  // namespace

LineSearch::LineSearch(const GrayPicture& gray, const SummedTables& sums, double penalty,
                       LineSearchWorkspace& workspace, int threads, Progress& progress)
    : m_gray(gray),
      m_sums(sums),
      m_penalty(penalty),
      m_workspace(workspace),
      m_threads(ResolveThreadCount(threads)),
      m_progress(progress) {}

std::optional<Decomposition> LineSearch::Run(std::vector<QuadBlock> blocks) {
    SortBlocksBySize(blocks);
    m_candidates.clear();
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const QuadBlock& block = blocks[b];
        // A cut model costs at least two penalties, so only dearer blocks can gain from one.
        if (block.cost > 2 * m_penalty && block.size > 1) {
            CutModel candidate{};
            candidate.row = block.row;
            candidate.col = block.col;
            candidate.size = block.size;
            candidate.meanA = candidate.meanB = block.mean;
            candidate.cost = block.cost;
            candidate.chosen = 0;
            candidate.blockIndex = static_cast<std::int32_t>(b);
            m_candidates.push_back(candidate);
        }
    }
    GroupCandidatesBySize();
    const auto groupCount = static_cast<std::int32_t>(m_groupSizes.size());

    int first = 0;
    for (int group = 0; group < groupCount; ++group) {
        SearchVerticalCuts(group, first);
        SearchHorizontalCuts(group, first);
        SearchObliqueCuts(group, first);
        if (Cancelled())
            return std::nullopt;
        first += m_groupCounts[group];
    }

    Decomposition result;
    result.groupCount = groupCount;
    for (const CutModel& candidate : m_candidates) {
        if (candidate.chosen != 1)
            continue;
        QuadBlock& block = blocks[candidate.blockIndex];
        block.modelKind = 1;
        block.cutIndex = static_cast<std::int32_t>(result.cutModels.size());
        result.cutModels.push_back(candidate);
    }
    result.blocks = std::move(blocks);
    return result;
}

void LineSearch::GroupCandidatesBySize() {
    m_groupSizes.clear();
    m_groupCounts.clear();
    if (m_candidates.empty())
        return;
    m_groupSizes.push_back(m_candidates.front().size);
    std::int32_t count = 0;
    std::int32_t previous = m_candidates.front().size;
    for (const CutModel& candidate : m_candidates) {
        if (candidate.size != previous) {
            m_groupSizes.push_back(candidate.size);
            m_groupCounts.push_back(count);
            count = 0;
        }
        ++count;
        previous = candidate.size;
    }
    m_groupCounts.push_back(count);
}

void LineSearch::ShowGroupStatus(const char* label, int group) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%d", label,
                  static_cast<int>(m_groupSizes.size()) - group - 1);
    m_progress.SetText(text);
}

std::optional<Decomposition> SearchLines(const Quadtree& tree, const GrayPicture& gray,
                                         const SummedTables& sums, LineSearchWorkspace& workspace,
                                         int threads, Progress& progress) {
    return LineSearch(gray, sums, tree.penalty, workspace, threads, progress).Run(tree.blocks);
}

}  // namespace zantrel
