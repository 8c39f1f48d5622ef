#include "linesearch/LineSearch.h"
#include "linesearch/RegionFit.h"
#include "picture/MessageText.h"

namespace zantrel {

namespace {

// Cuts between rows (`alongRows`) or between columns: region A is rows (or columns) p..n-1,
// region B the rest. Each cut's sums come from the summed tables in constant time.
void SearchAxisCuts(const SummedTables& sums, double penalty, CutModel& candidate, bool alongRows) {
    const int n = candidate.size;
    double best = candidate.cost;
    int bestCut = 0;
    RegionFit bestA{}, bestB{};
    for (int p = 1; p < n; ++p) {
        const int rowA = alongRows ? candidate.row + p : candidate.row;
        const int colA = alongRows ? candidate.col : candidate.col + p;
        const int heightA = alongRows ? n - p : n;
        const int widthA = alongRows ? n : n - p;
        const int heightB = alongRows ? p : n;
        const int widthB = alongRows ? n : p;
        const RegionFit a =
            FitRegion(sums.GraySum(rowA, colA, heightA, widthA),
                      sums.SquareSum(rowA, colA, heightA, widthA), heightA * widthA, penalty);
        const RegionFit b = FitRegion(sums.GraySum(candidate.row, candidate.col, heightB, widthB),
                                      sums.SquareSum(candidate.row, candidate.col, heightB, widthB),
                                      heightB * widthB, penalty);
        const double total = a.cost + b.cost;
        if (total < best) {  // strictly: the first cut of the lowest cost wins
            best = total;
            bestCut = p;
            bestA = a;
            bestB = b;
        }
    }
    if (bestCut == 0)
        return;
    candidate.p1Row = alongRows ? bestCut : 0;
    candidate.p1Col = alongRows ? 0 : bestCut;
    candidate.p2Row = alongRows ? bestCut : n;
    candidate.p2Col = alongRows ? n : bestCut;
    candidate.meanA = bestA.value;
    candidate.meanB = bestB.value;
    candidate.cost = best;
    candidate.chosen = 1;
}

}  // namespace

void LineSearch::SearchAxisGroup(const char* label, int group, int first, bool alongRows) {
    ShowGroupStatus(label, group);
    const int m = m_groupCounts[group];
    for (int k = 0; k < m; ++k) {
        if (Cancelled())
            return;
        m_progress.SetPosition(100 * k / m);
        SearchAxisCuts(m_sums, m_penalty, m_candidates[first + k], alongRows);
    }
}

void LineSearch::SearchVerticalCuts(int group, int first) {
    SearchAxisGroup(ZANTREL_MESSAGE("Zantrel", "竖线穷举"), group, first, true);
}

void LineSearch::SearchHorizontalCuts(int group, int first) {
    SearchAxisGroup(ZANTREL_MESSAGE("Zantrel", "横线穷举"), group, first, false);
}

}  // namespace zantrel
