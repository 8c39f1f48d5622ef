#include "optimise/BlockSearch.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "codec/CutLineCode.h"
#include "linesearch/CoarseLineSearch.h"
#include "linesearch/LineSearch.h"
#include "linesearch/ParallelFor.h"
#include "linesearch/SearchSteps.h"
#include "linesearch/Threads.h"
#include "optimise/OptimisedTime.h"
#include "optimise/RunProgress.h"
#include "picture/MessageText.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

namespace {

// The moments of a region for its least-squares ramp, in units where u = U / (2n) and
// v = V / (2n) with U = 2k + 1 - n, V = 2j + 1 - n.
struct Moments {
    double s1 = 0, su = 0, sv = 0, suu = 0, suv = 0, svv = 0, sg = 0, sgu = 0, sgv = 0;

    void Add(double g, double u, double v) {
        s1 += 1;
        su += u;
        sv += v;
        suu += u * u;
        suv += u * v;
        svv += v * v;
        sg += g;
        sgu += g * u;
        sgv += g * v;
    }

    // Solves the normal equations; a region too thin for a ramp in some direction keeps
    // that gradient at 0.
    RampFit Fit(int n) const {
        RampFit fit;
        const double scale = 1.0 / (2.0 * n);
        fit.sumU = static_cast<float>(su * scale);
        fit.sumV = static_cast<float>(sv * scale);
        if (s1 < 3)
            return fit;
        // Centred second moments.
        const double cuu = suu - su * su / s1;
        const double cvv = svv - sv * sv / s1;
        const double cuv = suv - su * sv / s1;
        const double cgu = sgu - sg * su / s1;
        const double cgv = sgv - sg * sv / s1;
        const double det = cuu * cvv - cuv * cuv;
        const double tiny = 1e-9 * (cuu * cvv + 1.0);
        double gu = 0.0, gv = 0.0;  // per unit of U and V
        if (det > tiny) {
            gu = (cgu * cvv - cgv * cuv) / det;
            gv = (cgv * cuu - cgu * cuv) / det;
        } else if (cuu > cvv && cuu > 0) {
            gu = cgu / cuu;
        } else if (cvv > 0) {
            gv = cgv / cvv;
        }
        // A change of 1 in U is 1 / (2n) of the block: the gradient across it is 2n times.
        fit.gx = static_cast<float>(gu * 2.0 * n);
        fit.gy = static_cast<float>(gv * 2.0 * n);
        return fit;
    }
};

// The sums and ramps of a block with its line, in one pass over its pixels.
void MeasureCandidate(const GrayPicture& gray, int row, int col, int n, BlockCandidate& c) {
    const CutSides sides(c.line);
    Moments whole, sideA, sideB;
    c.a = c.b = c.on = {};
    for (int j = 0; j < n; ++j) {
        const std::uint8_t* pixels = gray.samples.data() + gray.Index(row + j, col);
        const CutSides::RowRuns runs = sides.RowOf(j, n);
        const double v = 2 * j + 1 - n;
        for (int k = 0; k < n; ++k) {
            const int g = pixels[k];
            const double u = 2 * k + 1 - n;
            whole.Add(g, u, v);
            RegionSums& region = k < runs.bEnd ? c.b : k < runs.aBegin ? c.on : c.a;
            region.sum += g;
            region.squares += g * g;
            ++region.count;
            (k < runs.bEnd ? sideB : sideA).Add(g, u, v);
        }
    }
    c.ramp = whole.Fit(n);
    c.rampA = sideA.Fit(n);
    c.rampB = sideB.Fit(n);
    const std::optional<CutLineCode> code = EncodeCutLine(n, c.line);
    c.lineKind = static_cast<std::uint8_t>(code->kind);
    c.lineIndex = code->index;
}

}  // namespace

bool BlockSearch::MayBeLeaf(int row, int col, int side) const {
    const int parent = 2 * side;
    if (parent > RootSide(width, height))
        return true;
    const int parentRow = row & ~(parent - 1);
    const int parentCol = col & ~(parent - 1);
    return parentRow + parent > height || parentCol + parent > width ||
           parent > settings.minBlockSize;
}

std::optional<BlockSearch> SearchEveryBlock(const GrayPicture& gray, const SummedTables& sums,
                                            const BlockSearchSettings& settings,
                                            Progress& progress) {
    BlockSearch search;
    search.width = gray.width;
    search.height = gray.height;
    search.settings = settings;
    const int root = RootSide(gray.width, gray.height);

    // Every block wholly inside that may be a leaf, smallest first.
    std::vector<LineSearch::Block> blocks;
    for (int side = 1; side <= root; side *= 2) {
        BlockLevel& level = search.levels.emplace_back();
        level.side = side;
        level.columns = (gray.width + side - 1) / side;
        level.rows = (gray.height + side - 1) / side;
        level.candidate.assign(static_cast<std::size_t>(level.columns) * level.rows, -1);
        if (side < 2)
            continue;
        for (int r = 0; r + side <= gray.height; r += side) {
            for (int c = 0; c + side <= gray.width; c += side) {
                if (!search.MayBeLeaf(r, c, side))
                    continue;
                level.candidate[static_cast<std::size_t>(r / side) * level.columns + c / side] =
                    static_cast<std::int32_t>(level.candidates.size());
                level.candidates.emplace_back();
                blocks.push_back({r, c, side});
            }
        }
    }

    // Exhaustively up to the chosen side, the fast search above it.
    const auto large = std::find_if(blocks.begin(), blocks.end(), [&](const LineSearch::Block& b) {
        return b.size > settings.exhaustiveSide;
    });
    const std::span<const LineSearch::Block> small(blocks.data(), large - blocks.begin());
    const std::span<const LineSearch::Block> largeBlocks(small.data() + small.size(),
                                                         blocks.size() - small.size());

    // The parts' shares of the bar by their predicted time, so that it moves evenly.
    std::map<int, double> stepsOfSide;  // counted once per side: a count takes n^2
    const auto stepsOf = [&](std::span<const LineSearch::Block> part) {
        double steps = 0.0;
        for (const LineSearch::Block& block : part) {
            const auto [known, added] = stepsOfSide.try_emplace(block.size, 0.0);
            if (added)
                known->second = static_cast<double>(BlockSearchSteps(block.size));
            steps += known->second;
        }
        return steps;
    };
    const auto pixelsOf = [](std::span<const LineSearch::Block> part) {
        double pixels = 0.0;
        for (const LineSearch::Block& block : part)
            pixels += static_cast<double>(block.size) * block.size;
        return pixels;
    };
    const double coarseWork = CoarseSearchSeconds(pixelsOf(largeBlocks));
    const double measureWork = CandidateSeconds(static_cast<double>(blocks.size()));
    const double totalWork = ExhaustiveSearchSeconds(stepsOf(small)) + coarseWork + measureWork;
    double doneWork = 0.0;
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "率失真优化：逐块搜索"));
    progress.SetPosition(0);

    // In pieces of a bounded number of blocks: the search's memory grows with the blocks it
    // is given, it asks whether to stop between pieces, and every block's best line is its own.
    constexpr std::size_t kBlocksPerRun = std::size_t{1} << 12;
    LineSearchWorkspace workspace;
    std::optional<std::vector<BestCut>> bests = std::vector<BestCut>();
    bests->reserve(blocks.size());
    for (std::size_t first = 0; first < small.size(); first += kBlocksPerRun) {
        const std::span<const LineSearch::Block> blocksOfPiece =
            small.subspan(first, std::min(kBlocksPerRun, small.size() - first));
        const double pieceWork = ExhaustiveSearchSeconds(stepsOf(blocksOfPiece));
        const Share share = ShareOf(doneWork, pieceWork, totalWork);
        SpanProgress pieceProgress(progress, share.begin, share.end);
        LineSearch lines(gray, sums, 0.0, workspace, settings.threads, pieceProgress);
        const std::optional<std::vector<BestCut>> piece = lines.Run(blocksOfPiece);
        if (!piece)
            return std::nullopt;
        bests->insert(bests->end(), piece->begin(), piece->end());
        doneWork += pieceWork;
    }
    if (!largeBlocks.empty()) {
        const Share share = ShareOf(doneWork, coarseWork, totalWork);
        SpanProgress coarseProgress(progress, share.begin, share.end);
        const std::optional<std::vector<BestCut>> coarse =
            SearchLinesCoarsely(gray, largeBlocks, settings.threads, coarseProgress);
        if (!coarse)
            return std::nullopt;
        bests->insert(bests->end(), coarse->begin(), coarse->end());
        doneWork += coarseWork;
    }

    // Each block's sums and ramps, a block per piece.
    std::vector<BlockCandidate*> targets;
    targets.reserve(blocks.size());
    for (BlockLevel& level : search.levels) {
        for (BlockCandidate& c : level.candidates)
            targets.push_back(&c);
    }
    for (std::size_t k = 0; k < blocks.size(); ++k)
        targets[k]->line = (*bests)[k].line;
    const int pieces = static_cast<int>(std::min<std::size_t>(blocks.size(), 256));
    const Share share = ShareOf(doneWork, measureWork, totalWork);
    SpanProgress measureProgress(progress, share.begin, share.end);
    ParallelFor(pieces, ResolveThreadCount(settings.threads), [&](int piece, int worker) {
        if (worker == 0)  // the calling thread is the one that may report
            measureProgress.SetPosition(100 * piece / pieces);
        const std::size_t begin = blocks.size() * piece / pieces;
        const std::size_t end = blocks.size() * (piece + 1) / pieces;
        for (std::size_t k = begin; k < end && !progress.Cancelled(); ++k)
            MeasureCandidate(gray, blocks[k].row, blocks[k].col, blocks[k].size, *targets[k]);
    });
    if (progress.Cancelled())
        return std::nullopt;
    measureProgress.Finish();
    return search;
}

}  // namespace zantrel
