#include <algorithm>
#include <limits>
#include <vector>

#include "linesearch/BlockRowSums.h"
#include "linesearch/BorderPoints.h"
#include "linesearch/LineDivision.h"
#include "linesearch/RegionFit.h"
#include "linesearch/Threads.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"

// The oblique search tries, for every pair of border points (i, j) that differ in row and in
// column, the line through them on every block of a size group, and keeps per block the
// first line of the lowest cost. Lines are divided once, exactly in integers, and each
// line's side B is summed from per-row prefix sums: O(n) per line and block where summing
// the pixels would take O(n^2).
//
// Threads take contiguous runs of the lines of one first end point i. Each run keeps, per
// block, its first line of the lowest cost; the runs are then merged in trial order with
// the same strict comparison, so the winner is the one a single thread would find.

namespace {

struct BlockSums {
    CBlockRowSums rows;
    std::int64_t gray;
    std::int64_t squares;
};

struct RunBest {
    double cost = std::numeric_limits<double>::infinity();
    int point = -1;  // index of the second end point
    std::uint8_t valueA = 0;
    std::uint8_t valueB = 0;
};

void EvaluateLine(const CLineDivision::Rows& rows, int n, int point, const BlockSums& block,
                  double penalty, RunBest& best) {
    std::int64_t grayB =
        block.rows.GrayOfRowsBelow(rows.fullEnd) - block.rows.GrayOfRowsBelow(rows.fullBegin);
    std::int64_t squaresB =
        block.rows.SquaresOfRowsBelow(rows.fullEnd) - block.rows.SquaresOfRowsBelow(rows.fullBegin);
    const int partialRows = static_cast<int>(rows.partialLengths.size());
    const int* lengths = rows.partialLengths.data();
    for (int i = 0; i < partialRows; ++i) {
        const RowPrefix& prefix = block.rows.Row(rows.partialBegin + i)[lengths[i]];
        grayB += prefix.gray;
        squaresB += prefix.squares;
    }
    const std::int64_t countB = rows.countB;
    const std::int64_t countA = static_cast<std::int64_t>(n) * n - countB;
    const RegionFit a = FitRegion(block.gray - grayB, block.squares - squaresB, countA, penalty);
    const RegionFit b = FitRegion(grayB, squaresB, countB, penalty);
    const double total = a.cost + b.cost;
    if (total < best.cost)
        best = {total, point, a.value, b.value};
}

}  // namespace

void CImageProcessor::SplitBlockByLine(double row1, double col1, double row2, double col2, int n) {
    m_sidePixelsA.clear();
    m_sidePixelsA.shrink_to_fit();
    m_sidePixelsB.clear();
    m_sidePixelsB.shrink_to_fit();
    const CLineDivision line({static_cast<int>(row1), static_cast<int>(col1)},
                             {static_cast<int>(row2), static_cast<int>(col2)});
    for (int r = 0; r < n; ++r) {
        const int lengthB = line.PrefixLength(r, n);
        for (int c = 0; c < n; ++c) {
            (c < lengthB ? m_sidePixelsB : m_sidePixelsA).push_back({r, c});
        }
    }
}

void CImageProcessor::SearchObliqueCuts(int group, int first) {
    const int n = m_groupSizes[group];
    const int m = m_groupCounts[group];
    ShowGroupStatus("一般斜线穷举", group);
    const std::vector<BorderPoint> points = MakeBorderPoints(n);
    const int pointCount = 4 * n;
    const int threads = SearchThreads();
    const double penalty = g_penalty;

    std::vector<BlockSums> blocks;
    blocks.reserve(m);
    for (int k = 0; k < m; ++k) {
        const CutModel& candidate = m_candidates[first + k];
        CBlockRowSums rows(candidate.row, candidate.col, n);
        const std::int64_t gray = rows.GrayOfRowsBelow(n);
        const std::int64_t squares = rows.SquaresOfRowsBelow(n);
        blocks.push_back({std::move(rows), gray, squares});
    }

    std::vector<int> seconds;
    std::vector<RunBest> bests;
    for (int i = 0; i < pointCount - 1; ++i) {
        ShowProgress(100 * i / (pointCount - 1));
        // Lines along a border side and the axis-parallel lines were tried already.
        seconds.clear();
        for (int j = i + 1; j < pointCount; ++j) {
            if (points[i].row != points[j].row && points[i].col != points[j].col)
                seconds.push_back(j);
        }
        if (seconds.empty())
            continue;

        const int lineCount = static_cast<int>(seconds.size());
        // One thread runs the lines in plain trial order; more threads share them out in
        // runs, more of them where few blocks give each run little work.
        const int runs =
            threads == 1 ? 1 : std::min(lineCount, m >= 4 * threads ? 2 * threads : 8 * threads);
        bests.assign(static_cast<std::size_t>(runs) * m, RunBest{});

#pragma omp parallel for schedule(dynamic) num_threads(threads)
        for (int run = 0; run < runs; ++run) {
            CLineDivision::Rows rows;
            RunBest* runBests = bests.data() + static_cast<std::size_t>(run) * m;
            const int begin = lineCount * run / runs;
            const int end = lineCount * (run + 1) / runs;
            for (int s = begin; s < end; ++s) {
                const int j = seconds[s];
                CLineDivision(points[i], points[j]).DivideRows(n, rows);
                if (rows.countB == 0 || rows.countB == n * n)
                    continue;  // one side empty
                for (int k = 0; k < m; ++k)
                    EvaluateLine(rows, n, j, blocks[k], penalty, runBests[k]);
            }
        }

        // Runs in trial order, each compared strictly with the block's current best.
        for (int k = 0; k < m; ++k) {
            CutModel& candidate = m_candidates[first + k];
            for (int run = 0; run < runs; ++run) {
                const RunBest& best = bests[static_cast<std::size_t>(run) * m + k];
                if (!(best.cost < candidate.cost))
                    continue;
                candidate.p1Row = points[i].row;
                candidate.p1Col = points[i].col;
                candidate.p2Row = points[best.point].row;
                candidate.p2Col = points[best.point].col;
                candidate.meanA = best.valueA;
                candidate.meanB = best.valueB;
                candidate.cost = best.cost;
                candidate.chosen = 1;
            }
        }
    }
}
