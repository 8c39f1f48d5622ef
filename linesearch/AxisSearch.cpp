#include "linesearch/LineSearch.h"
#include "picture/MessageText.h"

namespace zantrel {

namespace {

// Cuts between rows (`alongRows`) or between columns: side A is rows (or columns) p..n-1,
// side B the rest. Each cut's sums come from the summed tables in constant time; a cut
// replaces the candidate's best only when strictly cheaper, so the first of the lowest cost
// wins.
template <typename Candidate>
void SearchAxisCuts(const SummedTables& sums, double penalty, Candidate& candidate,
                    bool alongRows) {
    const auto [row, col, n] = candidate.block;
    for (int p = 1; p < n; ++p) {
        const int rowA = alongRows ? row + p : row;
        const int colA = alongRows ? col : col + p;
        const int heightA = alongRows ? n - p : n;
        const int widthA = alongRows ? n : n - p;
        const int heightB = alongRows ? p : n;
        const int widthB = alongRows ? n : p;
        const BestCut cut{alongRows ? CutLine{{p, 0}, {p, n}} : CutLine{{0, p}, {n, p}},
                          FitRegion(sums.GraySum(rowA, colA, heightA, widthA),
                                    sums.SquareSum(rowA, colA, heightA, widthA), heightA * widthA),
                          FitRegion(sums.GraySum(row, col, heightB, widthB),
                                    sums.SquareSum(row, col, heightB, widthB), heightB * widthB)};
        const double total = cut.Cost(penalty);
        if (total < candidate.cost) {
            candidate.cost = total;
            candidate.best = cut;
        }
    }
}

}  // namespace

void LineSearch::SearchAxisGroup(const char* label, int group, int first, bool alongRows) {
    ShowGroupStatus(label, group);
    const int m = m_groupCounts[group];
    const int cuts = m_groupSizes[group] - 1;
    for (int k = 0; k < m; ++k) {
        if (Cancelled())
            return;
        ShowSteps(m_doneSteps + static_cast<std::int64_t>(k) * cuts);
        SearchAxisCuts(m_sums, m_penalty, m_candidates[first + k], alongRows);
    }
    m_doneSteps += static_cast<std::int64_t>(m) * cuts;
}

// Cuts between rows keep a constant row offset.
void LineSearch::SearchRowCuts(int group, int first) {
    SearchAxisGroup(ZANTREL_MESSAGE("Zantrel", "竖线穷举"), group, first, true);
}

// Cuts between columns keep a constant column offset.
void LineSearch::SearchColumnCuts(int group, int first) {
    SearchAxisGroup(ZANTREL_MESSAGE("Zantrel", "横线穷举"), group, first, false);
}

}  // namespace zantrel
