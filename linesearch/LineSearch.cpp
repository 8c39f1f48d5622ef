#include <algorithm>

#include "quadtree/BlockLists.h"
#include "quadtree/Comparators.h"
#include "quadtree/ImageProcessor.h"

namespace {

// Sorting by size alone leaves blocks of equal size in any order; a stable sort keeps them
// in quadtree order, so the candidates and the published models come out the same on every
// platform.
void SortBlocksBySize() {
    std::stable_sort(g_blocks.begin(), g_blocks.end(), [](const QuadBlock& a, const QuadBlock& b) {
        return CompareBySize(&a, &b) < 0;
    });
}

}  // namespace

void CImageProcessor::SearchLines() {
    g_cutModels.clear();
    g_cutModels.shrink_to_fit();
    AttachStatusBar();
    SortBlocksBySize();

    m_candidates.clear();
    for (std::size_t b = 0; b < g_blocks.size(); ++b) {
        const QuadBlock& block = g_blocks[b];
        // A cut model costs at least two penalties, so only dearer blocks can gain from one.
        if (block.cost > 2 * g_penalty && block.size > 1) {
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
    g_groupCount = static_cast<std::int32_t>(m_groupSizes.size());

    int first = 0;
    for (int group = 0; group < g_groupCount; ++group) {
        SearchVerticalCuts(group, first);
        SearchHorizontalCuts(group, first);
        SearchObliqueCuts(group, first);
        first += m_groupCounts[group];
    }

    for (const CutModel& candidate : m_candidates) {
        if (candidate.chosen != 1)
            continue;
        QuadBlock& block = g_blocks[candidate.blockIndex];
        block.modelKind = 1;
        block.cutIndex = static_cast<std::int32_t>(g_cutModels.size());
        g_cutModels.push_back(candidate);
    }
}

void CImageProcessor::GroupCandidatesBySize() {
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
