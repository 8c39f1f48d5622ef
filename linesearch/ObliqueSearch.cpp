#include <algorithm>
#include <limits>
#include <span>
#include <vector>

#include "linesearch/BorderPoints.h"
#include "linesearch/LineDivision.h"
#include "linesearch/LinePrefixSums.h"
#include "linesearch/LineSearch.h"
#include "linesearch/ParallelFor.h"
#include "linesearch/SearchSteps.h"
#include "picture/MessageText.h"

namespace zantrel {

// The oblique search tries, for every pair of border points (i, j) that differ in row and in
// column, the line through them on every block of a size group, and keeps per block the
// first line of the lowest cost. A line is divided once, exactly in integers, and its sides
// are summed from per-line prefix sums along the rows or the columns it crosses fewer of:
// O(n) per line and block where summing the pixels would take O(n^2).
//
// The work is shared out in pieces of one first end point i and a chunk of blocks. Every
// piece runs its lines in trial order with the strict comparison and keeps its own best per
// block; the pieces are then merged into the candidates i by i with the same comparison, so
// the winner is the line a single thread running the plain order would keep.

namespace {

using PieceBest = LineSearchWorkspace::PieceBest;
using DividedLine = LineSearchWorkspace::DividedLine;
constexpr PieceBest kNoLine{std::numeric_limits<double>::infinity(), -1, {0, 0.0}, {0, 0.0}};

void EvaluateLine(const LineDivision::Prefixes& prefixes, int n, int point,
                  const LinePrefixSums& sums, int block, double penalty, PieceBest& best) {
    const bool columns = prefixes.alongColumns;
    std::int64_t gray = sums.GrayBelow(block, columns, prefixes.fullEnd) -
                        sums.GrayBelow(block, columns, prefixes.fullBegin);
    std::int64_t squares = sums.SquaresBelow(block, columns, prefixes.fullEnd) -
                           sums.SquaresBelow(block, columns, prefixes.fullBegin);
    const int partial = static_cast<int>(prefixes.partialLengths.size());
    const int* lengths = prefixes.partialLengths.data();
    const RowPrefix* line = sums.Line(block, columns, prefixes.partialBegin);
    // Two independent sums per quantity, so consecutive lines' loads overlap.
    std::int64_t gray2 = 0;
    std::int64_t squares2 = 0;
    const std::ptrdiff_t stride = n + 1;
    int i = 0;
    for (; i + 1 < partial; i += 2, line += 2 * stride) {
        const RowPrefix first = line[lengths[i]];
        const RowPrefix second = line[stride + lengths[i + 1]];
        gray += first.gray;
        squares += first.squares;
        gray2 += second.gray;
        squares2 += second.squares;
    }
    if (i < partial) {
        gray += line[lengths[i]].gray;
        squares += line[lengths[i]].squares;
    }
    gray += gray2;
    squares += squares2;
    const std::int64_t blockGray = sums.Gray(block);
    const std::int64_t blockSquares = sums.Squares(block);
    const std::int64_t all = static_cast<std::int64_t>(n) * n;
    const std::int64_t countB = prefixes.CountB(n);
    const std::int64_t grayB = prefixes.prefixIsB ? gray : blockGray - gray;
    const std::int64_t squaresB = prefixes.prefixIsB ? squares : blockSquares - squares;
    const RegionFit a = FitRegion(blockGray - grayB, blockSquares - squaresB, all - countB);
    const RegionFit b = FitRegion(grayB, squaresB, countB);
    const double total = (a.error + penalty) + (b.error + penalty);
    if (total < best.cost)
        best = {total, point, a, b};
}

using WalkedLine = LineSearchWorkspace::WalkedLine;

// The fit of a line's two sides from its prefix region's sums, compared as EvaluateLine does.
void PriceLine(std::int64_t gray, std::int64_t squares, std::int64_t prefixCount, bool prefixIsB,
               int n, int point, const LinePrefixSums& sums, int block, double penalty,
               PieceBest& best) {
    const std::int64_t blockGray = sums.Gray(block);
    const std::int64_t blockSquares = sums.Squares(block);
    const std::int64_t all = static_cast<std::int64_t>(n) * n;
    const std::int64_t countB = prefixIsB ? prefixCount : all - prefixCount;
    const std::int64_t grayB = prefixIsB ? gray : blockGray - gray;
    const std::int64_t squaresB = prefixIsB ? squares : blockSquares - squares;
    const RegionFit a = FitRegion(blockGray - grayB, blockSquares - squaresB, all - countB);
    const RegionFit b = FitRegion(grayB, squaresB, countB);
    const double total = (a.error + penalty) + (b.error + penalty);
    if (total < best.cost)
        best = {total, point, a, b};
}

// Rows (or columns) per tile: the batch's lines cross half a megabyte of a large block's prefix
// sums at a time (a core's level-2 cache holds it) instead of all of them per line.
int TileLines(int n) {
    return std::clamp(32768 / n, 8, 128);
}

// The lines of `batch` on one block, summed tile by tile, then priced in batch order. The
// sums are of integers, so their order changes nothing.
void EvaluateWalkedLines(std::span<WalkedLine> batch, int n, const LinePrefixSums& sums, int block,
                         double penalty, PieceBest& best) {
    for (WalkedLine& line : batch) {
        const bool columns = line.start.alongColumns;
        line.walk = line.start;
        line.gray = sums.GrayBelow(block, columns, line.start.fullEnd) -
                    sums.GrayBelow(block, columns, line.start.fullBegin);
        line.squares = sums.SquaresBelow(block, columns, line.start.fullEnd) -
                       sums.SquaresBelow(block, columns, line.start.fullBegin);
        line.prefixCount = static_cast<std::int64_t>(line.start.fullEnd - line.start.fullBegin) * n;
    }
    const std::ptrdiff_t stride = n + 1;
    // Lines [begin, end) of one walked line, continuing its walk.
    auto walkAlone = [&](WalkedLine& line, int begin, int end) {
        if (begin >= end)
            return;
        const RowPrefix* row = sums.Line(block, line.walk.alongColumns, begin);
        LineDivision::Walk walk = line.walk;
        std::int64_t gray = 0;
        std::int64_t squares = 0;
        std::int64_t count = 0;
        for (int x = begin; x < end; ++x, row += stride) {
            const int length = walk.Next();
            gray += row[length].gray;
            squares += row[length].squares;
            count += length;
        }
        line.walk = walk;
        line.gray += gray;
        line.squares += squares;
        line.prefixCount += count;
    };
    const int tileLines = TileLines(n);
    for (int tile = 0; tile < n; tile += tileLines) {
        const int tileEnd = std::min(n, tile + tileLines);
        std::size_t l = 0;
        // Two lines at a time, so that one line's loads overlap the other's steps.
        for (; l + 1 < batch.size(); l += 2) {
            WalkedLine& one = batch[l];
            WalkedLine& two = batch[l + 1];
            const int begin1 = std::max(tile, one.walk.partialBegin);
            const int end1 = std::min(tileEnd, one.walk.partialEnd);
            const int begin2 = std::max(tile, two.walk.partialBegin);
            const int end2 = std::min(tileEnd, two.walk.partialEnd);
            const int begin = std::max(begin1, begin2);
            const int end = std::min(end1, end2);
            if (begin >= end) {
                walkAlone(one, begin1, end1);
                walkAlone(two, begin2, end2);
                continue;
            }
            walkAlone(one, begin1, begin);
            walkAlone(two, begin2, begin);
            const RowPrefix* row1 = sums.Line(block, one.walk.alongColumns, begin);
            const RowPrefix* row2 = sums.Line(block, two.walk.alongColumns, begin);
            LineDivision::Walk walk1 = one.walk;
            LineDivision::Walk walk2 = two.walk;
            std::int64_t gray1 = 0, squares1 = 0, count1 = 0;
            std::int64_t gray2 = 0, squares2 = 0, count2 = 0;
            for (int x = begin; x < end; ++x, row1 += stride, row2 += stride) {
                const int length1 = walk1.Next();
                const int length2 = walk2.Next();
                gray1 += row1[length1].gray;
                squares1 += row1[length1].squares;
                count1 += length1;
                gray2 += row2[length2].gray;
                squares2 += row2[length2].squares;
                count2 += length2;
            }
            one.walk = walk1;
            one.gray += gray1;
            one.squares += squares1;
            one.prefixCount += count1;
            two.walk = walk2;
            two.gray += gray2;
            two.squares += squares2;
            two.prefixCount += count2;
            walkAlone(one, end, end1);
            walkAlone(two, end, end2);
        }
        if (l < batch.size()) {
            WalkedLine& line = batch[l];
            walkAlone(line, std::max(tile, line.walk.partialBegin),
                      std::min(tileEnd, line.walk.partialEnd));
        }
    }
    for (const WalkedLine& line : batch) {
        const std::int64_t countB = line.start.prefixIsB
                                        ? line.prefixCount
                                        : static_cast<std::int64_t>(n) * n - line.prefixCount;
        if (countB == 0 || countB == static_cast<std::int64_t>(n) * n)
            continue;  // one side empty
        PriceLine(line.gray, line.squares, line.prefixCount, line.start.prefixIsB, n, line.point,
                  sums, block, penalty, best);
    }
}

}  // namespace

void LineSearch::SearchObliqueCuts(int group, int first) {
    const int n = m_groupSizes[group];
    const int m = m_groupCounts[group];
    ShowGroupStatus(ZANTREL_MESSAGE("Zantrel", "一般斜线穷举"), group);
    const std::vector<LatticePoint> points = MakeBorderPoints(n);
    const int firstPoints = 4 * n - 1;  // i = 0 .. 4n - 2
    const int threads = m_threads;
    const double penalty = m_penalty;

    // The workspace keeps its storage from one search to the next, so that repeated
    // commands reuse their pages.
    LinePrefixSums& sums = m_workspace.sums;
    std::vector<LatticePoint> origins;
    for (int k = 0; k < m; ++k)
        origins.push_back({m_candidates[first + k].block.row, m_candidates[first + k].block.col});
    sums.Build(m_gray, origins, n);

    // Pieces are (first end point, chunk of blocks), in trial order; a chunk is all blocks
    // unless there are many blocks and few first end points to share out.
    const int chunks = threads == 1 ? 1
                                    : std::clamp((8 * threads + firstPoints - 1) / firstPoints, 1,
                                                 std::max(1, m / 16));
    std::vector<PieceBest>& bests = m_workspace.bests;
    bests.assign(static_cast<std::size_t>(firstPoints) * m, kNoLine);
    std::vector<std::int64_t>& stepsBefore = m_workspace.stepsBefore;
    ObliqueStepsBefore(n, stepsBefore);
    auto showFirstPoint = [&](int i) {  // the steps of every first end point before i done
        ShowSteps(m_doneSteps + m * stepsBefore[i]);
    };
    int reported = 0;  // first end points whose progress position has been shown
    // About 128 KiB of divided lines per batch and worker.
    const std::size_t batchLines = std::max(1, 32768 / n);
    std::vector<std::vector<DividedLine>>& lineBatches = m_workspace.lineBatches;
    lineBatches.resize(std::max(lineBatches.size(), static_cast<std::size_t>(threads)));

    const bool streamed = n >= m_workspace.streamFromSide;
    // Enough lines per batch to reuse every tile's cache lines many times over.
    constexpr std::size_t kWalkBatch = 512;
    std::vector<std::vector<WalkedLine>>& walkBatches = m_workspace.walkBatches;
    walkBatches.resize(std::max(walkBatches.size(), static_cast<std::size_t>(threads)));

    ParallelFor(firstPoints * chunks, threads, [&](int piece, int worker) {
        const int i = piece / chunks;
        if (worker == 0) {  // the calling thread is the one that may report
            for (; reported <= i; ++reported)
                showFirstPoint(reported);
        }
        if (Cancelled())
            return;
        const int chunk = piece % chunks;
        const int kBegin = m * chunk / chunks;
        const int kEnd = m * (chunk + 1) / chunks;
        PieceBest* pieceBests = bests.data() + static_cast<std::size_t>(i) * m;
        if (streamed) {
            std::vector<WalkedLine>& walks = walkBatches[worker];
            for (int j = i + 1; j < 4 * n;) {
                std::size_t used = 0;
                for (; j < 4 * n && used < kWalkBatch; ++j) {
                    if (points[i].row == points[j].row || points[i].col == points[j].col)
                        continue;
                    if (used == walks.size())
                        walks.emplace_back();
                    walks[used].point = j;
                    LineDivision(points[i], points[j]).StartWalk(n, walks[used].start);
                    ++used;
                }
                for (int k = kBegin; k < kEnd; ++k)
                    EvaluateWalkedLines(std::span(walks.data(), used), n, sums, k, penalty,
                                        pieceBests[k]);
            }
            return;
        }
        // Lines are divided a batch at a time, then every block of the chunk takes the whole
        // batch in j order, so its prefix sums stay in the cache while the batch runs over it.
        std::vector<DividedLine>& batch = lineBatches[worker];
        for (int j = i + 1; j < 4 * n;) {
            std::size_t used = 0;
            for (; j < 4 * n && used < batchLines; ++j) {
                // Lines along a border side and the axis-parallel lines were tried already.
                if (points[i].row == points[j].row || points[i].col == points[j].col)
                    continue;
                if (used == batch.size())
                    batch.emplace_back();
                DividedLine& line = batch[used];
                LineDivision(points[i], points[j]).Divide(n, line.prefixes);
                const int countB = line.prefixes.CountB(n);
                if (countB == 0 || countB == n * n)
                    continue;  // one side empty
                line.point = j;
                ++used;
            }
            for (int k = kBegin; k < kEnd; ++k) {
                for (std::size_t l = 0; l < used; ++l)
                    EvaluateLine(batch[l].prefixes, n, batch[l].point, sums, k, penalty,
                                 pieceBests[k]);
            }
        }
    });
    if (Cancelled())
        return;
    m_doneSteps += m * stepsBefore[firstPoints];
    ShowSteps(m_doneSteps);

    // First end points in trial order, each compared strictly with the current best.
    for (int i = 0; i < firstPoints; ++i) {
        const PieceBest* pieceBests = bests.data() + static_cast<std::size_t>(i) * m;
        for (int k = 0; k < m; ++k) {
            const PieceBest& best = pieceBests[k];
            Candidate& candidate = m_candidates[first + k];
            if (!(best.cost < candidate.cost))
                continue;
            candidate.cost = best.cost;
            candidate.best = {
                {{points[i].row, points[i].col}, {points[best.point].row, points[best.point].col}},
                best.a,
                best.b};
        }
    }
}

}  // namespace zantrel
