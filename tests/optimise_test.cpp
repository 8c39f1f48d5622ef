// The optimised mode: its pruning against every tree of tiny pictures, its files against their
// decoding, and version 2's damage handling.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "codec/CutLineCode.h"
#include "codec/ZtlFile.h"
#include "optimise/Optimiser.h"
#include "quadtree/GridPictures.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

std::optional<Optimiser> SearchOf(const GrayPicture& gray, const SummedTables& sums, int minBlock,
                                  int exhaustiveSide = 64) {
    OptimiseSettings settings;
    settings.search.minBlockSize = minBlock;
    settings.search.exhaustiveSide = exhaustiveSide;
    QuietProgress progress;
    return Optimiser::Search(gray, sums, settings, progress);
}

double SquaredError(const GrayPicture& a, const GrayPicture& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.samples.size(); ++i) {
        const double d = a.samples[i] - b.samples[i];
        sum += d * d;
    }
    return sum;
}

// The literal pricing of the file's rules when every coded bit costs one bit and predictions
// are read from the picture itself: what the pruning must minimise over every tree.
class LiteralPrices {
  public:
    LiteralPrices(const GrayPicture& gray, const BlockSearch& search, double penalty,
                  const Quantiser& quantiser)
        : m_gray(gray), m_search(search), m_penalty(penalty), m_quantiser(quantiser) {}

    // The cheapest tree of the block (row, col, size) over every tree, by enumerating them.
    double BestTree(int row, int col, int size) {
        std::vector<double> trees;
        Trees(row, col, size, trees);
        return *std::min_element(trees.begin(), trees.end());
    }

  private:
    // Every tree of the block, each as its total cost, in `out`.
    void Trees(int row, int col, int size, std::vector<double>& out) {
        if (row >= m_gray.height || col >= m_gray.width) {
            out.push_back(0.0);
            return;
        }
        const bool inside = row + size <= m_gray.height && col + size <= m_gray.width;
        const bool coded = inside && size > 1 && size > m_search.settings.minBlockSize;
        if (inside)
            out.push_back(BestLeaf(row, col, size) + (coded ? m_penalty : 0.0));
        if (inside && !coded)
            return;
        const int h = size / 2;
        std::vector<double> quarters[4];
        Trees(row, col, h, quarters[0]);
        Trees(row + h, col, h, quarters[1]);
        Trees(row, col + h, h, quarters[2]);
        Trees(row + h, col + h, h, quarters[3]);
        const double flag = coded ? m_penalty : 0.0;
        for (double a : quarters[0])
            for (double b : quarters[1])
                for (double c : quarters[2])
                    for (double d : quarters[3])
                        out.push_back(flag + a + b + c + d);
    }

    static double DifferenceBits(int d) {
        if (d == 0)
            return 1;
        int length = 1;
        while ((std::abs(d) >> length) != 0)
            ++length;
        return 2 + std::min(length, 7) + (length - 1);
    }
    static double UniformBits(std::uint32_t value, std::uint32_t count) {
        int k = 0;
        while ((2u << k) <= count)
            ++k;
        return count <= 1 ? 0 : value < (2u << k) - count ? k : k + 1;
    }
    int Nearest(double v, int step) const {
        int best = 0;
        for (int q = 1; q <= Quantiser::MaxIndex(step); ++q) {
            if (std::abs(Quantiser::ValueOf(q, step) - v) <=
                std::abs(Quantiser::ValueOf(best, step) - v))
                best = q;
        }
        return best;
    }
    static int RoundedMean(int sum, int count) { return (2 * sum + count) / (2 * count); }

    double Price(const QuadBlock& leaf, double bits) {
        GrayPicture drawn = m_gray;
        DrawLeaf(leaf, drawn, CutEdges::Blended);
        return SquaredError(drawn, m_gray) / 512 + m_penalty * bits;
    }

    // Every one-value and every cut model on the search's line, at every index.
    double BestLeaf(int row, int col, int n) {
        const int level = std::countr_zero(static_cast<unsigned>(n));
        const int step = m_quantiser.ValueStep(level);
        // The neighbours: the row below and the column left, each with its pixel's side.
        const BlockLevel& blocks = m_search.levels[level];
        const BlockCandidate* c =
            n > 1 ? &blocks.candidates[blocks.candidate[(row / n) * blocks.columns + col / n]]
                  : nullptr;
        int sum = 0, count = 0, sideSum[2] = {0, 0}, sideCount[2] = {0, 0};
        for (int k = 0; k < n; ++k) {
            for (const auto [r, cl, j, i] :
                 {std::array{row - 1, col + k, 0, k}, std::array{row + k, col - 1, k, 0}}) {
                if (r < 0 || cl < 0)
                    continue;
                const int v = m_gray.At(r, cl);
                const int side = c && CutSides(c->line).Of(j, i) == CutSide::B ? 0 : 1;
                sum += v, ++count, sideSum[side] += v, ++sideCount[side];
            }
        }
        int predicted = count ? RoundedMean(sum, count) : 128;
        if (row > 0 && col > 0) {
            int below = 0, left = 0;
            for (int k = 0; k < n; ++k)
                below += m_gray.At(row - 1, col + k), left += m_gray.At(row + k, col - 1);
            below = RoundedMean(below, n), left = RoundedMean(left, n);
            const int corner = std::clamp(below + left - m_gray.At(row - 1, col - 1), 0, 255);
            predicted = std::max(std::min(below, left), std::min(std::max(below, left), corner));
        }
        const double kind = n > 1 ? 2 : 0;  // the cut bit and the ramp bit
        double best = std::numeric_limits<double>::infinity();
        const int maxIndex = Quantiser::MaxIndex(step);
        for (int q = 0; q <= maxIndex; ++q) {
            const auto v = Quantiser::ValueOf(q, step);
            best = std::min(best, Price({row, col, n, v, 0, OneValueModel{v}},
                                        kind + DifferenceBits(q - Nearest(predicted, step))));
        }
        if (!c)
            return best;
        const CutLineCode code = *EncodeCutLine(n, c->line);
        const double line = code.kind == CutLineCode::Oblique
                                ? 1 + UniformBits(code.index, ObliqueLineCount(n))
                                : 2 + UniformBits(code.index, n - 1);
        const int first = sideCount[1] > sideCount[0] ? 1 : 0;  // 0: side B
        for (int q1 = 0; q1 <= maxIndex; ++q1) {
            for (int q2 = 0; q2 <= maxIndex; ++q2) {
                const int p1 = Nearest(
                    sideCount[first] ? RoundedMean(sideSum[first], sideCount[first]) : 128, step);
                const int p2 =
                    sideCount[1 - first]
                        ? Nearest(RoundedMean(sideSum[1 - first], sideCount[1 - first]), step)
                        : q1;
                const auto v1 = Quantiser::ValueOf(q1, step), v2 = Quantiser::ValueOf(q2, step);
                const CutModel cut{c->line, first ? v1 : v2, first ? v2 : v1};
                best = std::min(
                    best, Price({row, col, n, 0, 0, cut},
                                kind + line + DifferenceBits(q1 - p1) + DifferenceBits(q2 - p2)));
            }
        }
        return best;
    }

    const GrayPicture& m_gray;
    const BlockSearch& m_search;
    double m_penalty;
    Quantiser m_quantiser;
};

}  // namespace

// On tiny pictures of a few values, the pruning's tree costs exactly what the cheapest of
// every tree costs, each leaf the cheapest of its one-value and cut models at every index.
TEST(OptimisedPruning, EqualsTheBestOfEveryTree) {
    struct Case {
        int width, height, minBlock;
        double penalty;
    };
    const Case cases[] = {{8, 8, 1, 0.3},   {8, 8, 1, 3}, {16, 16, 2, 1},
                          {12, 10, 2, 0.5}, {5, 7, 1, 2}, {16, 9, 4, 0.2}};
    for (const Case& k : cases) {
        const GrayPicture gray = MakeGray(k.width, k.height, [&](int r, int c) {
            return static_cast<std::uint8_t>(((r * 7 + c * 13 + (r * c) % 5) % 3) * 90 +
                                             (c > k.width / 2 ? 20 : 0));
        });
        const SummedTables sums(gray);
        std::optional<Optimiser> optimiser = SearchOf(gray, sums, k.minBlock);
        const Quantiser quantiser = optimiser->QuantiserFor(k.penalty);
        PruneWorkspace workspace;
        const PrunedTree pruned = Prune(optimiser->Blocks(), gray, sums, gray, k.penalty, quantiser,
                                        BitCosts(), {true, false, false}, workspace);
        LiteralPrices literal(gray, optimiser->Blocks(), k.penalty, quantiser);
        const double best = literal.BestTree(0, 0, RootSide(k.width, k.height));
        const double cost = pruned.error + k.penalty * pruned.bits;
        EXPECT_NEAR(cost, best, 1e-9 * best)
            << k.width << " x " << k.height << " penalty " << k.penalty;
        EXPECT_DOUBLE_EQ(pruned.error, SquaredError(DrawLeaves(pruned.tree), gray) / 512);
    }
}

// The file decodes to exactly the picture whose error the encoder measured, the tree as the
// encoder built it, for every model kind, odd sizes and penalties.
TEST(OptimisedFile, DecodesToWhatTheEncoderMeasured) {
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 5}, {37, 23}, {100, 61}, {128, 128}};
    std::size_t kinds[4] = {0, 0, 0, 0};
    for (const auto& [width, height] : sizes) {
        for (const int picture : {0, 1}) {
            const GrayPicture gray = OddSizePicture(picture, width, height);
            const SummedTables sums(gray);
            std::optional<Optimiser> optimiser = SearchOf(gray, sums, 1, 16);
            for (const double penalty : {0.05, 0.5, 5.0}) {
                const OptimisedRun run = optimiser->Run(penalty);
                ZtlPicture decoded;
                ASSERT_EQ(DecodeZtl(run.file, decoded), ZtlError::None);
                EXPECT_EQ(decoded.result, run.result) << width << " x " << height;
                EXPECT_EQ(decoded.tree.leaves, run.tree.leaves);  // the penalty is not in the file
                EXPECT_EQ(decoded.tree.quantiser, run.tree.quantiser);
                EXPECT_DOUBLE_EQ(run.error, SquaredError(run.result, gray) / 512);
                for (const QuadBlock& leaf : run.tree.leaves)
                    ++kinds[leaf.model.index()];
            }
        }
    }
    for (const std::size_t count : kinds)
        EXPECT_GT(count, 0u) << "a model kind never chosen";
}

// On the sample the pruning's belief lands within a few percent of the file, and a rate
// target within 2 %.
TEST(OptimisedFile, SizeIsWhatThePruningBelievedAndRatesAreMet) {
    const GrayPicture gray = RampsAndEdges(256, 256);
    const SummedTables sums(gray);
    std::optional<Optimiser> optimiser = SearchOf(gray, sums, 2);
    for (const double rate : {0.02, 0.1, 0.3}) {
        const OptimisedRun run = optimiser->RunForRate(rate);
        EXPECT_NEAR(FileBitsPerPixel(run), rate, 0.02 * rate);
        EXPECT_NEAR(run.believedBits, 8.0 * run.file.size(), 0.04 * 8.0 * run.file.size());
    }
}

// A target the penalties cannot reach ends with the nearest run, never without one: also where
// the smallest rate over the target overflows a double (a 1 x 1 picture's 144 bits per pixel
// over 1e-307), and for targets no front end takes.
TEST(OptimisedFile, ARateTargetAlwaysKeepsTheNearestRun) {
    const GrayPicture one = MakeGray(1, 1, [](int, int) { return std::uint8_t{77}; });
    const SummedTables sums(one);
    std::optional<Optimiser> optimiser = SearchOf(one, sums, 4);
    const std::size_t smallest = optimiser->Run(1e8).file.size();
    for (const double rate : {1e-307, 5e-324, 1e-315, 0.001, 1e300}) {
        SCOPED_TRACE(rate);
        const OptimisedRun run = optimiser->RunForRate(rate);
        ASSERT_FALSE(run.file.empty());
        ASSERT_EQ(run.result.samples.size(), 1u);
        EXPECT_EQ(run.tree.width, 1);
        if (rate < 1)  // below every rate: the smallest file
            EXPECT_EQ(run.file.size(), smallest);
        else
            EXPECT_GE(run.file.size(), smallest);
    }
}

// A run's file is the same whatever the optimiser ran before: a step of the explore slider
// gives what a fresh run of its value gives, byte for byte.
TEST(OptimisedFile, ARunAfterOthersEqualsAFreshRun) {
    const GrayPicture gray = RampsAndEdges(128, 96);
    const SummedTables sums(gray);
    std::optional<Optimiser> stepped = SearchOf(gray, sums, 2);
    // Penalties and rate targets (negative) in a slider's order: back and forth, repeated.
    for (const double value : {2.0, 20.0, -0.1, -0.3, 2.0, -0.1, 0.5, -0.02, 20.0}) {
        SCOPED_TRACE(value);
        std::optional<Optimiser> fresh = SearchOf(gray, sums, 2);
        const OptimisedRun after = value > 0 ? stepped->Run(value) : stepped->RunForRate(-value);
        const OptimisedRun alone = value > 0 ? fresh->Run(value) : fresh->RunForRate(-value);
        EXPECT_EQ(after.file, alone.file);
        EXPECT_EQ(after.penalty, alone.penalty);
        EXPECT_EQ(after.result, alone.result);
        EXPECT_EQ(after.believedBits, alone.believedBits);
    }
}

// Version 2's header fields out of range are refused; a damaged payload is refused or decodes
// to a picture of the header's size.
TEST(OptimisedFile, DamagedFilesAreRefusedOrDecodeToAValidPicture) {
    const GrayPicture gray = RampsAndEdges(40, 27);
    const SummedTables sums(gray);
    const std::vector<std::uint8_t> file = SearchOf(gray, sums, 1)->Run(0.3).file;
    ASSERT_EQ(file[4], kZtlOptimisedVersion);
    ZtlPicture decoded;
    auto with = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = file;
        bytes[at] = value;
        return DecodeZtl(bytes, decoded);
    };
    EXPECT_EQ(with(5, 3), ZtlError::BadHeader);      // three planes
    EXPECT_EQ(with(6, 0), ZtlError::BadHeader);      // minimum block size 0
    EXPECT_EQ(with(10, 0x41), ZtlError::BadHeader);  // height over 16384
    std::vector<std::uint8_t> noStep = file;
    noStep[11] = noStep[12] = 0;
    EXPECT_EQ(DecodeZtl(noStep, decoded), ZtlError::BadHeader);
    EXPECT_EQ(with(13, 0), ZtlError::BadHeader);  // no gradient step
    for (std::size_t length = 0; length < file.size(); ++length)
        EXPECT_NE(DecodeZtl(std::span(file.data(), length), decoded), ZtlError::None) << length;
    for (std::size_t at = kZtlOptimisedHeaderBytes; at < file.size(); ++at) {
        for (const std::uint8_t flip : {0x01, 0x80, 0xFF}) {
            decoded = {};
            if (with(at, file[at] ^ flip) == ZtlError::None) {
                ASSERT_EQ(decoded.result.samples.size(), 40u * 27u);
                EXPECT_EQ(decoded.result, DrawLeaves(decoded.tree));
            }
        }
    }
}

}  // namespace zantrel
