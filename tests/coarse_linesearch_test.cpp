// The coarse search against the exhaustive one: a straight edge is found as well, and on any
// block the line is never better than the best one and carries its sides' exact fits.

#include <gtest/gtest.h>

#include <cmath>

#include "import/BmpReader.h"
#include "linesearch/CoarseLineSearch.h"
#include "picture/GrayConversion.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

double Error(const BestCut& cut) {
    return cut.a.error + cut.b.error;
}

BestCut Exhaustive(const GrayPicture& gray, const LineSearch::Block& block) {
    const SummedTables sums(gray);
    LineSearchWorkspace workspace;
    QuietProgress progress;
    LineSearch search(gray, sums, 0.0, workspace, 0, progress);
    return search.Run({&block, 1})->front();
}

// The fit of one side of `line` in `block`, summed pixel by pixel; a pixel on the line counts
// with side A.
RegionFit SideFit(const GrayPicture& gray, const LineSearch::Block& block, const CutLine& line,
                  bool sideA) {
    const CutSides sides(line);
    std::int64_t sum = 0, squares = 0, count = 0;
    for (int r = 0; r < block.size; ++r) {
        for (int c = 0; c < block.size; ++c) {
            if ((sides.Of(r, c) != CutSide::B) != sideA)
                continue;
            const std::int64_t g = gray.At(block.row + r, block.col + c);
            sum += g;
            squares += g * g;
            ++count;
        }
    }
    return FitRegion(sum, squares, count);
}

TEST(CoarseLineSearch, FindsAStraightEdgeAsWellAsTheExhaustiveSearch) {
    // Blocks of two flat values either side of the line through (row, col) at `angle`, which
    // need not pass through lattice points.
    struct Edge {
        int n;
        double row, col, angle;
    };
    for (const Edge& e : {Edge{128, 40.3, 0.0, 0.3}, Edge{128, 64.0, 64.0, 2.0},
                          Edge{256, 10.5, 200.2, 1.1}, Edge{256, 128.0, 3.7, 1.55},
                          Edge{200, 90.0, 120.0, 2.7}, Edge{100, 0.0, 0.0, 0.785398}}) {
        SCOPED_TRACE(testing::Message() << e.n << " " << e.row << " " << e.col << " " << e.angle);
        const GrayPicture gray = MakeGray(e.n, e.n, [&](int r, int c) {
            const double side =
                (c + 0.5 - e.col) * std::cos(e.angle) - (r + 0.5 - e.row) * std::sin(e.angle);
            return std::uint8_t(side >= 0 ? 200 : 40);
        });
        const LineSearch::Block block{0, 0, e.n};
        QuietProgress progress;
        const BestCut coarse = SearchLinesCoarsely(gray, {&block, 1}, 2, progress)->front();
        // Both errors are fits of exact sums, so the same partition gives the same double; a
        // different partition of the same error could differ in its last bits only.
        const double best = Error(Exhaustive(gray, block));
        EXPECT_NEAR(Error(coarse), best, 1e-9 * (1 + best));
    }
}

TEST(CoarseLineSearch, NeverBeatsTheExhaustiveSearchAndFitsItsSidesExactly) {
    const BmpReadResult loaded = ReadBmpFile(ZANTREL_SAMPLE);
    ASSERT_TRUE(loaded);
    const GrayPicture sample = ConvertToGray(loaded->picture);
    const GrayPicture noise = RandomGray(300, 300, 5);
    // Sides in no order, small ones (searched exhaustively), odd ones and odd places.
    const std::vector<LineSearch::Block> blocks = {{0, 0, 256},   {256, 256, 128}, {7, 300, 32},
                                                   {384, 0, 128}, {101, 203, 130}, {0, 256, 64}};
    for (const GrayPicture* gray : {&sample, &noise}) {
        std::vector<LineSearch::Block> fitting;
        for (const LineSearch::Block& b : blocks) {
            if (b.row + b.size <= gray->height && b.col + b.size <= gray->width)
                fitting.push_back(b);
        }
        QuietProgress progress;
        const std::vector<BestCut> coarse = *SearchLinesCoarsely(*gray, fitting, 2, progress);
        const std::vector<BestCut> single = *SearchLinesCoarsely(*gray, fitting, 1, progress);
        ASSERT_EQ(coarse.size(), fitting.size());
        for (std::size_t k = 0; k < fitting.size(); ++k) {
            const LineSearch::Block& block = fitting[k];
            SCOPED_TRACE(testing::Message() << block.row << " " << block.col << " " << block.size);
            const BestCut& cut = coarse[k];
            const BestCut best = Exhaustive(*gray, block);
            EXPECT_GE(Error(cut), Error(best) * (1 - 1e-12));
            if (block.size <= 64) {
                EXPECT_EQ(cut.line, best.line);
            }
            EXPECT_EQ(cut.line, single[k].line);
            for (const bool sideA : {true, false}) {
                const RegionFit exact = SideFit(*gray, block, cut.line, sideA);
                const RegionFit& fit = sideA ? cut.a : cut.b;
                EXPECT_EQ(fit.value, exact.value);
                EXPECT_EQ(fit.error, exact.error);
            }
        }
    }
}

TEST(CoarseLineSearch, ReturnsNothingWhenCancelled) {
    const GrayPicture gray = RandomGray(256, 256, 3);
    const std::vector<LineSearch::Block> blocks = {{0, 0, 256}, {0, 0, 16}};
    QuietProgress progress;
    progress.Cancel();
    EXPECT_FALSE(SearchLinesCoarsely(gray, blocks, 2, progress));
}

}  // namespace

}  // namespace zantrel
