#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "quadtree/Comparators.h"
#include "quadtree/GridPictures.h"
#include "quadtree/Quadtree.h"
#include "reference/LiteralQuadtree.h"
#include "support/Snapshots.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

using Leaf = std::tuple<int, int, int>;

std::vector<Leaf> Leaves(const Quadtree& tree) {
    std::vector<Leaf> leaves;
    for (const QuadBlock& b : tree.blocks)
        leaves.emplace_back(b.row, b.col, b.size);
    return leaves;
}

Quadtree Decompose(const GrayPicture& gray, double penalty, int minBlockSize) {
    return DecomposeQuadtree(SummedTables(gray), penalty, minBlockSize);
}

void ExpectSameAsLiteral(const GrayPicture& gray, double penalty, int minBlockSize) {
    SCOPED_TRACE(testing::Message() << "penalty " << penalty << ", minimum " << minBlockSize);
    const LiteralQuadtree expected = LiteralQuadtreeDecompose(gray, penalty, minBlockSize);
    const Quadtree tree = Decompose(gray, penalty, minBlockSize);
    ASSERT_TRUE(SameBlocks(expected.blocks, tree.blocks));
    for (const QuadBlock& b : tree.blocks)
        ASSERT_EQ(b.modelKind, 0);
    EXPECT_TRUE(SamePicture(expected.grid, tree.grid));
    EXPECT_TRUE(SamePicture(LiteralBlockPicture(gray.width, gray.height, expected.blocks),
                            FillBlockPicture(tree)));
    EXPECT_EQ(tree.penalty, penalty);
    EXPECT_EQ(tree.minBlockSize, minBlockSize);
}

TEST(Quadtree, MatchesTheDirectMethodLeafForLeaf) {
    // Random noise, smooth ramps with edges, and noise on steps: every kind of split.
    const GrayPicture noise = RandomGray(512, 512, 11);
    for (const double penalty : {0.0, 1.0, 40.0})
        ExpectSameAsLiteral(noise, penalty, 4);
    const GrayPicture ramps = MakeGray(512, 512, [](int r, int c) {
        return static_cast<std::uint8_t>((r / 3 + c / 5) % 200 + (r > 300 && c < 100 ? 50 : 0));
    });
    for (const int minimum : {1, 2, 3, 4, 5, 64, 128})
        ExpectSameAsLiteral(ramps, 1.0, minimum);
    const GrayPicture steps = MakeGray(512, 512, [](int r, int c) {
        return static_cast<std::uint8_t>(((r * 7919 + c * 104729) % 31) + (c >= 256 ? 180 : 20));
    });
    for (const double penalty : {0.5, 10.0, 1000.0, 100000000.0})
        ExpectSameAsLiteral(steps, penalty, 8);
}

TEST(Quadtree, MatchesTheDirectMethodAtOddSizes) {
    for (const auto& [w, h] : kOddSizes) {
        for (const int kind : {0, 1}) {
            SCOPED_TRACE(testing::Message() << w << " x " << h << ", picture " << kind);
            const GrayPicture gray = OddSizePicture(kind, w, h);
            for (const double penalty : {0.0, 1.0, 50.0}) {
                for (const int minimum : {1, 3, 4, 8})
                    ExpectSameAsLiteral(gray, penalty, minimum);
            }
        }
    }
}

TEST(Quadtree, LeavesTileThePictureExactly) {
    for (const auto& [w, h] : kOddSizes) {
        for (const auto& [penalty, minimum] : {std::pair{0.0, 1}, std::pair{50.0, 8}}) {
            SCOPED_TRACE(testing::Message() << w << " x " << h << ", penalty " << penalty);
            const Quadtree tree = Decompose(OddSizePicture(1, w, h), penalty, minimum);
            std::vector<int> covered(static_cast<std::size_t>(w) * h, 0);
            for (const QuadBlock& b : tree.blocks) {
                ASSERT_TRUE(b.row >= 0 && b.col >= 0 && b.row + b.size <= h && b.col + b.size <= w)
                    << "leaf (" << b.row << ", " << b.col << ", " << b.size
                    << ") leaves the picture";
                for (int r = b.row; r < b.row + b.size; ++r) {
                    for (int c = b.col; c < b.col + b.size; ++c)
                        ++covered[static_cast<std::size_t>(r) * w + c];
                }
            }
            EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), w * h);
        }
    }
}

TEST(Quadtree, UniformPictureKeepsTheRoot) {
    const GrayPicture gray(512, 512, 77);
    for (const double penalty : {0.0, 1.0}) {
        const Quadtree tree = Decompose(gray, penalty, 4);
        ASSERT_EQ(tree.blocks.size(), 1u);
        EXPECT_EQ(Leaves(tree)[0], Leaf(0, 0, 512));
        EXPECT_EQ(tree.blocks[0].mean, 77);
        EXPECT_EQ(tree.blocks[0].cost, penalty);
        EXPECT_EQ(FillBlockPicture(tree).samples[12345], 77);
        EXPECT_EQ(tree.grid.At(0, 0), 128);
        EXPECT_EQ(tree.grid.At(256, 256), 255);
        EXPECT_EQ(std::count(tree.grid.samples.begin(), tree.grid.samples.end(), 128), 4 * 511);
    }
}

TEST(Quadtree, TwoLevelsComeOutBreadthFirstInQuarterOrder) {
    // Only the bottom-left quarter has detail: the root splits, that quarter splits once more.
    const GrayPicture gray = MakeGray(512, 512, [](int r, int c) {
        if (r < 256 && c < 256)
            return static_cast<std::uint8_t>(r < 128 ? (c < 128 ? 0 : 60) : (c < 128 ? 120 : 180));
        return std::uint8_t{200};
    });
    const Quadtree tree = Decompose(gray, 1.0, 4);
    const std::vector<Leaf> expected = {
        {256, 0, 256}, {0, 256, 256}, {256, 256, 256},  // C2, C3, C4 of the root
        {0, 0, 128},   {128, 0, 128}, {0, 128, 128},   {128, 128, 128}};
    EXPECT_EQ(Leaves(tree), expected);
    EXPECT_EQ(tree.blocks[3].mean, 0);
    EXPECT_EQ(tree.blocks[4].mean, 120);
    EXPECT_EQ(tree.blocks[5].mean, 60);
    EXPECT_EQ(FillBlockPicture(tree).At(200, 200), 180);
}

TEST(Quadtree, MinimumSizeStopsOnlyWhenItIsAPowerOfTwo) {
    const Quadtree coarse = Decompose(RandomGray(512, 512, 5), 0.0, 128);
    std::set<int> sizes;
    for (const QuadBlock& b : coarse.blocks)
        sizes.insert(b.size);
    EXPECT_EQ(sizes, std::set<int>{128});

    // Sparse ones on zeros: many 2 x 2 blocks are flat and stay whole among split ones.
    const GrayPicture sparse =
        MakeGray(512, 512, [](int r, int c) { return std::uint8_t((r * 31 + c * 17) % 7 == 0); });
    const Quadtree oneTree = Decompose(sparse, 0.0, 1);
    std::vector<Leaf> one = Leaves(oneTree);
    EXPECT_EQ(std::count_if(oneTree.blocks.begin(), oneTree.blocks.end(),
                            [](auto& b) { return b.size == 1; }) %
                  4,
              0);
    const Quadtree threeTree = Decompose(sparse, 0.0, 3);  // no half ever equals 3: pixels
    std::vector<Leaf> three = Leaves(threeTree);           // are queued, then become leaves
    EXPECT_NE(one, three);
    std::sort(one.begin(), one.end());
    std::sort(three.begin(), three.end());
    EXPECT_EQ(one, three);
    for (const QuadBlock& b : threeTree.blocks) {
        if (b.size == 1) {
            ASSERT_EQ(b.cost, 0.0);
        }
    }
}

TEST(Quadtree, EqualCostDoesNotSplit) {
    // A one-pixel checkerboard: every block and its quarters have the same error
    // density, and with penalty 0 a split only happens when strictly cheaper.
    const GrayPicture checker = MakeGray(
        512, 512, [](int r, int c) { return static_cast<std::uint8_t>(((r ^ c) & 1) ? 200 : 0); });
    EXPECT_EQ(Decompose(checker, 0.0, 4).blocks.size(), 1u);
}

TEST(Quadtree, GridBordersCoverTheFirstRowAndColumnOfEveryLeaf) {
    // Also at a size whose root straddles the picture: the lines stop at its edge.
    for (const auto& [w, h] : {std::pair{512, 512}, std::pair{300, 77}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        const Quadtree tree = Decompose(RandomGray(w, h, 8), 30.0, 2);
        GrayPicture expected(w, h, 255);
        for (const QuadBlock& b : tree.blocks) {
            for (int i = 0; i < b.size; ++i) {
                expected.At(b.row, b.col + i) = 128;
                expected.At(b.row + i, b.col) = 128;
            }
        }
        for (int c = 0; c < w; ++c)
            expected.At(h - 1, c) = 128;
        for (int r = 0; r < h; ++r)
            expected.At(r, w - 1) = 128;
        EXPECT_TRUE(SamePicture(expected, tree.grid));
    }
}

TEST(GridPictures, GrayGridKeepsBordersAndFillsTheRest) {
    const GrayPicture gray = MakeGray(512, 512, [](int r, int c) {
        return static_cast<std::uint8_t>(c < 256 ? 255 : (r < 256 ? 128 : 40));
    });
    const Quadtree tree = Decompose(gray, 1.0, 4);
    const GrayPicture blockPicture = FillBlockPicture(tree);
    const GrayPicture grayGrid = MakeGrayGrid(tree.grid, blockPicture);
    EXPECT_EQ(grayGrid.At(0, 0), 128);
    EXPECT_EQ(grayGrid.At(100, 100), 255);  // a block of 255 stays 255
    EXPECT_EQ(grayGrid.At(100, 300), 128);  // a block of 128 looks like border
    EXPECT_EQ(grayGrid.At(300, 300), 40);
    EXPECT_EQ(grayGrid.At(300, 511), 128);  // column 511 is border
    EXPECT_EQ(MakeGrayGrid(grayGrid, blockPicture), grayGrid);
}

TEST(Comparators, ReturnThePlainDifference) {
    const QuadBlock small{0, 0, 4, 0, 0.0, 0, 0};
    const QuadBlock large{0, 256, 512, 0, 0.0, 0, 0};
    EXPECT_LT(CompareBySize(&small, &large), 0);
    EXPECT_EQ(CompareBySize(&small, &small), 0);
    EXPECT_EQ(CompareByCol(&small, &large), -256);
    EXPECT_GT(CompareByColDesc(&small, &large), 0);
    EXPECT_EQ(CompareByRow(&small, &large), 0);
}

TEST(Workspace, TablesBuiltAgainForAnotherPictureEqualFreshOnes) {
    // The pipeline keeps its tables from one picture to the next, even of another size.
    SummedTables reused(RandomGray(512, 512, 1));
    const GrayPicture next = RampsAndEdges(37, 300);
    reused.Build(next);
    ASSERT_EQ(reused.Width(), 37);
    ASSERT_EQ(reused.Height(), 300);
    const Quadtree fresh = Decompose(next, 1.0, 2);
    const Quadtree again = DecomposeQuadtree(reused, 1.0, 2);
    EXPECT_TRUE(SameBlocks(fresh.blocks, again.blocks));
    EXPECT_EQ(fresh.grid, again.grid);
}

}  // namespace

}  // namespace zantrel
