// The fast cut-line search against the plain reference: same division of every line, and the
// same models, pictures, texts and figures on random blocks, hand-made cases and the sample.

#include <gtest/gtest.h>

#include <random>

#include "import/BmpReader.h"
#include "linesearch/BorderPoints.h"
#include "linesearch/LineDivision.h"
#include "linesearch/LineSearch.h"
#include "picture/GrayConversion.h"
#include "quadtree/Quadtree.h"
#include "reference/LiteralLineSearch.h"
#include "support/Snapshots.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

// Runs engine and reference on the leaves of `tree`.
void ExpectEngineMatchesReference(const GrayPicture& gray, const Quadtree& tree,
                                  std::initializer_list<int> threadCounts = {2}) {
    const CutLineOutcome expected = RunReference(gray, tree);
    for (const int threads : threadCounts) {
        SCOPED_TRACE(testing::Message() << threads << " threads");
        EXPECT_TRUE(SameOutcome(expected, RunEngine(gray, tree, threads)));
    }
}

// Leaf records for hand-placed blocks, measured like the quadtree measures them.
Quadtree PlacedBlocks(const GrayPicture& gray, const std::vector<std::tuple<int, int, int>>& placed,
                      double penalty) {
    const SummedTables sums(gray);
    Quadtree tree;
    tree.width = gray.width;
    tree.height = gray.height;
    tree.penalty = penalty;
    for (const auto& [row, col, size] : placed) {
        const BlockMeasure measure = MeasureBlock(sums, row, col, size);
        tree.blocks.push_back({row, col, size, measure.mean, measure.error + penalty, 0, 0});
    }
    return tree;
}

TEST(LineDivision, IntegerSidesEqualTheSinglePrecisionRuleForEveryLine) {
    std::vector<PixelPos> sideA, sideB;
    for (const int n : {2, 3, 4, 5, 8, 16, 32, 64}) {
        SCOPED_TRACE(testing::Message() << "n = " << n);
        const std::vector<BorderPoint> points = MakeBorderPoints(n);
        for (int i = 0; i < 4 * n; ++i) {
            for (int j = i + 1; j < 4 * n; ++j) {
                const BorderPoint p = points[i], q = points[j];
                if (p.row == q.row || p.col == q.col)
                    continue;
                const std::vector<bool> expected = LiteralSideB(p.row, p.col, q.row, q.col, n);
                SplitBlockByLine(p.row, p.col, q.row, q.col, n, sideA, sideB);
                std::vector<bool> split(static_cast<std::size_t>(n) * n, false);
                for (const PixelPos& b : sideB)
                    split[b.row * n + b.col] = true;
                ASSERT_EQ(sideA.size() + sideB.size(), static_cast<std::size_t>(n) * n);
                ASSERT_EQ(split, expected) << "line " << i << "-" << j;

                // The prefixes the search sums describe the same division.
                const LineDivision line(p, q);
                LineDivision::Prefixes prefixes;
                line.Divide(n, prefixes);
                std::vector<bool> inPrefix(static_cast<std::size_t>(n) * n, false);
                auto mark = [&](int at, int length) {
                    for (int x = 0; x < length; ++x) {
                        inPrefix[prefixes.alongColumns ? x * n + at : at * n + x] = true;
                    }
                };
                for (int l = prefixes.fullBegin; l < prefixes.fullEnd; ++l)
                    mark(l, n);
                for (std::size_t k = 0; k < prefixes.partialLengths.size(); ++k) {
                    mark(prefixes.partialBegin + static_cast<int>(k), prefixes.partialLengths[k]);
                }
                if (!prefixes.prefixIsB)
                    inPrefix.flip();
                ASSERT_EQ(inPrefix, expected) << "prefixes of line " << i << "-" << j;
                ASSERT_EQ(prefixes.CountB(n), static_cast<int>(sideB.size()));
            }
        }
    }
}

TEST(LineSearchEquality, RandomBlocksOfEverySize) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> sample(0, 255);
    // Noise, noise over a random straight edge, and few-valued pictures that make ties.
    GrayPicture gray(512, 512);
    for (int r = 0; r < 512; ++r) {
        for (int c = 0; c < 512; ++c) {
            const int band = (r / 64 + c / 64) % 3;
            const int edge = (3 * r - 5 * c + 37 * (c / 64)) % 97 > 40 ? 160 : 20;
            gray.At(r, c) = static_cast<std::uint8_t>(band == 0   ? sample(random)
                                                      : band == 1 ? edge + sample(random) % 16
                                                                  : (sample(random) % 3) * 50);
        }
    }
    std::vector<std::tuple<int, int, int>> placed;
    for (const int size : {2, 4, 8, 16, 32}) {
        for (int k = 0; k < 6; ++k)
            placed.emplace_back(size * (2 * k + 1), 3 * size * k % 448, size);
    }
    placed.emplace_back(0, 448, 64);
    placed.emplace_back(448, 448, 64);
    for (const double penalty : {0.0, 0.75, 20.0}) {
        SCOPED_TRACE(testing::Message() << "penalty " << penalty);
        ExpectEngineMatchesReference(gray, PlacedBlocks(gray, placed, penalty), {1, 2, 3});
    }
}

TEST(LineSearchEquality, SamplePictureAtSeveralPenalties) {
    const BmpReadResult loaded = ReadBmpFile(ZANTREL_SAMPLE);
    ASSERT_TRUE(loaded);
    const GrayPicture gray = ConvertToGray(loaded->picture);
    const SummedTables sums(gray);
    for (const double penalty : {0.0, 1.0, 10.0, 100.0}) {
        SCOPED_TRACE(testing::Message() << "penalty " << penalty);
        ExpectEngineMatchesReference(gray, DecomposeQuadtree(sums, penalty, 4));
    }
}

}  // namespace

}  // namespace zantrel
