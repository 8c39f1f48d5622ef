// The fast cut-line search against the plain reference: same division of every line, and the
// same models, pictures, texts and figures on random blocks, hand-made cases and the sample.

#include <gtest/gtest.h>

#include <random>

#include "import/BmpReader.h"
#include "linesearch/BorderPoints.h"
#include "linesearch/LineDivision.h"
#include "linesearch/LineSearch.h"
#include "picture/GrayConversion.h"
#include "quadtree/GridPictures.h"
#include "quadtree/Quadtree.h"
#include "reference/LiteralLineSearch.h"
#include "support/RecordingShell.h"
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
        const RegionFit m = MeasureBlock(sums, row, col, size);
        tree.leaves.push_back({row, col, size, m.value, m.error, OneValueModel{m.value}});
    }
    return tree;
}

// The side of pixel (r, c) by the single-precision rule the method is written with: the line's
// column at the row's centre and the pixel's centre column, both rounded to float.
CutSide SinglePrecisionSide(LatticePoint p, LatticePoint q, int r, int c) {
    const double t = static_cast<double>(q.col - p.col) / (q.row - p.row);
    const double c0 = p.col - p.row * t;
    const auto x = static_cast<float>(c0 + t * (r + 0.5));
    const auto centre = static_cast<float>(c + 0.5);
    return centre > x ? CutSide::A : (centre == x ? CutSide::OnLine : CutSide::B);
}

// Side B as the search's prefixes describe it, pixel by pixel.
std::vector<bool> SearchedSideB(const LineDivision& line, int n) {
    LineDivision::Prefixes prefixes;
    line.Divide(n, prefixes);
    std::vector<bool> inPrefix(static_cast<std::size_t>(n) * n, false);
    auto mark = [&](int at, int length) {
        for (int x = 0; x < length; ++x)
            inPrefix[prefixes.alongColumns ? std::size_t(x) * n + at : std::size_t(at) * n + x] =
                true;
    };
    for (int l = prefixes.fullBegin; l < prefixes.fullEnd; ++l)
        mark(l, n);
    for (std::size_t k = 0; k < prefixes.partialLengths.size(); ++k)
        mark(prefixes.partialBegin + static_cast<int>(k), prefixes.partialLengths[k]);
    if (!prefixes.prefixIsB)
        inPrefix.flip();
    return inPrefix;
}

// Compares, for one oblique line, the one side rule with the search's division (both must
// always agree) and, where `singlePrecision`, with the single-precision rule.
testing::AssertionResult SidesAgree(LatticePoint p, LatticePoint q, int n, bool singlePrecision) {
    const CutSides sides(CutLine{p, q});
    const std::vector<bool> searched = SearchedSideB(LineDivision(p, q), n);
    for (int r = 0; r < n; ++r) {
        const CutSides::RowRuns runs = sides.RowOf(r, n);
        for (int c = 0; c < n; ++c) {
            const CutSide side = sides.Of(r, c);
            const CutSide byRuns = c < runs.bEnd     ? CutSide::B
                                   : c < runs.aBegin ? CutSide::OnLine
                                                     : CutSide::A;
            if (side != byRuns || (side == CutSide::B) != searched[std::size_t(r) * n + c] ||
                (singlePrecision && side != SinglePrecisionSide(p, q, r, c))) {
                return testing::AssertionFailure()
                       << "pixel (" << r << ", " << c << ") of line (" << p.row << ", " << p.col
                       << ")-(" << q.row << ", " << q.col << "), n = " << n;
            }
        }
    }
    return testing::AssertionSuccess();
}

TEST(CutGeometry, OneSideRuleForTheSearchAndTheDrawing) {
    // Every line of the small sizes, where the single-precision rule is exact as well.
    for (const int n : {2, 3, 4, 5, 8, 16, 32, 64}) {
        const std::vector<LatticePoint> points = MakeBorderPoints(n);
        for (int i = 0; i < 4 * n; ++i) {
            for (int j = i + 1; j < 4 * n; ++j) {
                if (points[i].row != points[j].row && points[i].col != points[j].col) {
                    ASSERT_TRUE(SidesAgree(points[i], points[j], n, true));
                }
            }
        }
    }
    // Random lines of large blocks: up to 2048 the single-precision rule still agrees; above,
    // it no longer can, and the drawing follows the search.
    std::mt19937 random(4096);
    for (const auto& [n, lines, singlePrecision] :
         {std::tuple{512, 40, true}, std::tuple{2048, 12, true}, std::tuple{4096, 3, false},
          std::tuple{8192, 2, false}}) {
        std::uniform_int_distribution<int> index(0, 4 * n - 1);
        for (int k = 0; k < lines;) {
            const LatticePoint p = BorderPointAt(n, index(random));
            const LatticePoint q = BorderPointAt(n, index(random));
            if (p.row == q.row || p.col == q.col)
                continue;
            ASSERT_TRUE(SidesAgree(p, q, n, singlePrecision));
            ++k;
        }
    }
}

TEST(CutGeometry, DrawnErrorExceedsTheSearchedErrorOnlyByRoundingAndTheLine) {
    // Searched: each side about its exact mean, pixels on the line with side A. Drawn: each
    // side in its rounded mean (at most n^2 / 4 more in all), pixels on the line in the middle
    // value (their change, exactly).
    const GrayPicture gray = RandomGray(64, 64, 9);
    const SummedTables sums(gray);
    std::vector<LineSearch::Block> blocks;
    for (const int n : {2, 8, 16, 32})
        blocks.push_back({0, n, n});
    LineSearchWorkspace workspace;
    QuietProgress progress;
    LineSearch search(gray, sums, 0.0, workspace, 1, progress);
    const std::vector<BestCut> bests = *search.Run(blocks);
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const auto [row, col, n] = blocks[k];
        const BestCut& best = bests[k];
        const QuadBlock leaf{row, col, n, 0, 0.0, CutModel{best.line, best.a.value, best.b.value}};
        GrayPicture drawn(gray.width, gray.height);
        DrawLeaf(leaf, drawn);
        const CutSides sides(best.line);
        double drawnError = 0.0, lineChange = 0.0;
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c) {
                const double g = gray.At(row + r, col + c);
                const double d = g - drawn.At(row + r, col + c);
                drawnError += d * d;
                if (sides.Of(r, c) == CutSide::OnLine)
                    lineChange += d * d - (g - best.a.value) * (g - best.a.value);
            }
        }
        const double searchedError = (best.a.error + best.b.error) * 512;
        const double excess = drawnError - lineChange - searchedError;
        EXPECT_GE(excess, -1e-6) << n;
        EXPECT_LE(excess, n * n / 4.0 + 1e-6) << n;
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

TEST(LineSearchEquality, TileByTileSumsEqualLineByLineSums) {
    // Both ways of summing a block, on noise, a straight edge and few values, over sizes
    // below, at and above one tile; the line-by-line way is the one checked against the
    // reference above.
    std::mt19937 random(77);
    std::uniform_int_distribution<int> sample(0, 255);
    const GrayPicture gray = MakeGray(512, 256, [&](int r, int c) {
        const int kind = c / 128;
        return static_cast<std::uint8_t>(kind == 0   ? sample(random)
                                         : kind == 1 ? ((7 * r - 3 * c) % 211 > 90 ? 180 : 30)
                                         : kind == 2 ? (sample(random) % 2) * 90
                                                     : (r + c) / 4);
    });
    const SummedTables sums(gray);
    std::vector<LineSearch::Block> blocks;
    for (const int n : {2, 3, 8, 31, 64, 128}) {
        for (int kind = 0; kind < 4; ++kind)
            blocks.push_back({kind * 7 % 64, 128 * kind, n});
    }
    // Two tiles of 128 lines, on noise and edges, and on few values and a ramp.
    blocks.push_back({0, 0, 256});
    blocks.push_back({0, 256, 256});
    for (const double penalty : {0.0, 0.75, 20.0}) {
        for (const int threads : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message()
                         << "penalty " << penalty << ", " << threads << " threads");
            QuietProgress progress;
            LineSearchWorkspace byLine, byTile;
            byLine.streamFromSide = 1 << 30;
            byTile.streamFromSide = 2;
            const std::vector<BestCut> expected =
                *LineSearch(gray, sums, penalty, byLine, threads, progress).Run(blocks);
            const std::vector<BestCut> actual =
                *LineSearch(gray, sums, penalty, byTile, threads, progress).Run(blocks);
            ASSERT_EQ(expected.size(), actual.size());
            for (std::size_t k = 0; k < expected.size(); ++k) {
                EXPECT_EQ(expected[k].line, actual[k].line) << k;
                EXPECT_EQ(expected[k].a.error, actual[k].a.error) << k;
                EXPECT_EQ(expected[k].b.error, actual[k].b.error) << k;
                EXPECT_EQ(expected[k].a.value, actual[k].a.value) << k;
                EXPECT_EQ(expected[k].b.value, actual[k].b.value) << k;
            }
        }
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
