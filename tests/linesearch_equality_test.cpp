// The fast cut-line search against the plain reference: same division of every line, and the
// same models, pictures, texts and figures on random blocks, hand-made cases and the sample.

#include <gtest/gtest.h>

#include <random>

#include "linesearch/BorderPoints.h"
#include "linesearch/LineDivision.h"
#include "linesearch/Threads.h"
#include "measure/FigureText.h"
#include "picture/BmpReader.h"
#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"
#include "reference/LiteralLineSearch.h"
#include "support/RecordingShell.h"
#include "support/Snapshots.h"
#include "support/TestPictures.h"

namespace {

std::string EngineBitRate() {
    CRecordingShell shell;
    CImageProcessor().EstimateBitRate();
    return shell.messages.empty() ? "" : shell.messages.back().text;
}

std::string ReferenceBitRate() {
    return FormatFigure(LiteralBitRate());
}

ZantrelOutcome RunEngine(const std::vector<QuadBlock>& blocks,
                         const std::vector<std::uint8_t>& result, int threads) {
    SetSearchThreads(threads);
    ZantrelOutcome outcome = RunZantrel(
        blocks, result,
        [] {
            CImageProcessor workspace;
            workspace.SearchLines();
            workspace.Reconstruct();
        },
        EngineBitRate);
    SetSearchThreads(0);
    return outcome;
}

ZantrelOutcome RunReference(const std::vector<QuadBlock>& blocks,
                            const std::vector<std::uint8_t>& result) {
    return RunZantrel(
        blocks, result,
        [] {
            LiteralSearchLines();
            LiteralReconstruct();
        },
        ReferenceBitRate);
}

// Runs engine and reference on the current g_blocks and g_resultPixels.
void ExpectEngineMatchesReference(std::initializer_list<int> threadCounts = {2}) {
    const std::vector<QuadBlock> blocks = g_blocks;
    const std::vector<std::uint8_t> result(g_resultPixels, g_resultPixels + kPixelCount);
    const ZantrelOutcome expected = RunReference(blocks, result);
    for (const int threads : threadCounts) {
        SCOPED_TRACE(testing::Message() << threads << " threads");
        EXPECT_TRUE(SameOutcome(expected, RunEngine(blocks, result, threads)));
    }
}

// Leaf records for hand-placed blocks, measured like the quadtree measures them.
void SetBlocks(const std::vector<std::tuple<int, int, int>>& placed, double penalty) {
    g_blocks.clear();
    g_penalty = penalty;
    CImageProcessor workspace;
    for (const auto& [row, col, size] : placed) {
        QuadBlock block{row, col, size, 0, 0.0, 0, 0};
        block.mean = workspace.MeasureBlock(row, col, size);
        block.cost = workspace.m_blockError + penalty;
        g_blocks.push_back(block);
    }
    workspace.FillBlockPicture();
}

TEST(LineDivision, IntegerSidesEqualTheSinglePrecisionRuleForEveryLine) {
    for (const int n : {2, 3, 4, 5, 8, 16, 32, 64}) {
        SCOPED_TRACE(testing::Message() << "n = " << n);
        const std::vector<BorderPoint> points = MakeBorderPoints(n);
        CImageProcessor workspace;
        for (int i = 0; i < 4 * n; ++i) {
            for (int j = i + 1; j < 4 * n; ++j) {
                const BorderPoint p = points[i], q = points[j];
                if (p.row == q.row || p.col == q.col)
                    continue;
                const std::vector<bool> expected = LiteralSideB(p.row, p.col, q.row, q.col, n);
                workspace.SplitBlockByLine(p.row, p.col, q.row, q.col, n);
                std::vector<bool> split(static_cast<std::size_t>(n) * n, false);
                for (const PixelPos& b : workspace.m_sidePixelsB)
                    split[b.row * n + b.col] = true;
                ASSERT_EQ(workspace.m_sidePixelsA.size() + workspace.m_sidePixelsB.size(),
                          static_cast<std::size_t>(n) * n);
                ASSERT_EQ(split, expected) << "line " << i << "-" << j;

                // The prefixes the search sums describe the same division.
                const CLineDivision line(p, q);
                CLineDivision::Prefixes prefixes;
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
                ASSERT_EQ(prefixes.CountB(n), static_cast<int>(workspace.m_sidePixelsB.size()));
            }
        }
    }
}

TEST(LineSearchEquality, RandomBlocksOfEverySize) {
    ResetStore();
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> sample(0, 255);
    // Noise, noise over a random straight edge, and few-valued pictures that make ties.
    std::vector<std::uint8_t> picture(kPixelCount);
    for (int r = 0; r < 512; ++r) {
        for (int c = 0; c < 512; ++c) {
            const int band = (r / 64 + c / 64) % 3;
            const int edge = (3 * r - 5 * c + 37 * (c / 64)) % 97 > 40 ? 160 : 20;
            picture[r * 512 + c] =
                static_cast<std::uint8_t>(band == 0   ? sample(random)
                                          : band == 1 ? edge + sample(random) % 16
                                                      : (sample(random) % 3) * 50);
        }
    }
    SetGrayPicture([&](int r, int c) { return picture[r * 512 + c]; });
    std::vector<std::tuple<int, int, int>> placed;
    for (const int size : {2, 4, 8, 16, 32}) {
        for (int k = 0; k < 6; ++k)
            placed.emplace_back(size * (2 * k + 1), 3 * size * k % 448, size);
    }
    placed.emplace_back(0, 448, 64);
    placed.emplace_back(448, 448, 64);
    for (const double penalty : {0.0, 0.75, 20.0}) {
        SCOPED_TRACE(testing::Message() << "penalty " << penalty);
        SetBlocks(placed, penalty);
        ExpectEngineMatchesReference({1, 2, 3});
    }
}

TEST(LineSearchEquality, SamplePictureAtSeveralPenalties) {
    ResetStore();
    CRecordingShell quiet;
    ASSERT_EQ(LoadPictureFile(ZANTREL_SAMPLE), LoadResult::Loaded);
    CImageProcessor().ConvertToGray();
    for (const double penalty : {0.0, 1.0, 10.0, 100.0}) {
        SCOPED_TRACE(testing::Message() << "penalty " << penalty);
        CImageProcessor workspace;
        workspace.QuadtreeDecompose(penalty, 4);
        workspace.FillBlockPicture();
        ExpectEngineMatchesReference({2});
    }
}

}  // namespace
