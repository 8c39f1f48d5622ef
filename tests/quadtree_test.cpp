#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

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
    for (const QuadBlock& b : tree.leaves)
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
    ASSERT_TRUE(SameBlocks(expected.blocks, ToLiteral(tree)));
    for (const QuadBlock& b : tree.leaves)
        ASSERT_EQ(b.model, LeafModel{OneValueModel{b.mean}});
    EXPECT_TRUE(SamePicture(expected.grid, DrawGrid(tree)));
    EXPECT_TRUE(SamePicture(LiteralBlockPicture(gray.width, gray.height, expected.blocks),
                            DrawLeaves(tree)));
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
            for (const QuadBlock& b : tree.leaves) {
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
        ASSERT_EQ(tree.leaves.size(), 1u);
        EXPECT_EQ(Leaves(tree)[0], Leaf(0, 0, 512));
        EXPECT_EQ(tree.leaves[0].mean, 77);
        EXPECT_EQ(tree.leaves[0].error + penalty, penalty);
        EXPECT_EQ(DrawLeaves(tree).samples[12345], 77);
        const GrayPicture grid = DrawGrid(tree);
        EXPECT_EQ(grid.At(0, 0), 128);
        EXPECT_EQ(grid.At(256, 256), 255);
        EXPECT_EQ(std::count(grid.samples.begin(), grid.samples.end(), 128), 4 * 511);
    }
}

TEST(Quadtree, LeavesComeDepthFirstAndAreFoundByPlaceAndByLevel) {
    // Only the bottom-left quarter has detail: the root splits, that quarter splits once more.
    const GrayPicture gray = MakeGray(512, 512, [](int r, int c) {
        if (r < 256 && c < 256)
            return static_cast<std::uint8_t>(r < 128 ? (c < 128 ? 0 : 60) : (c < 128 ? 120 : 180));
        return std::uint8_t{200};
    });
    const Quadtree tree = Decompose(gray, 1.0, 4);
    const std::vector<Leaf> expected = {{0, 0, 128},     {128, 0, 128}, {0, 128, 128},
                                        {128, 128, 128},  // the first quarter's
                                        {256, 0, 256},   {0, 256, 256}, {256, 256, 256}};
    EXPECT_EQ(Leaves(tree), expected);
    EXPECT_EQ(tree.leaves[0].mean, 0);
    EXPECT_EQ(tree.leaves[1].mean, 120);
    EXPECT_EQ(tree.leaves[2].mean, 60);
    EXPECT_EQ(DrawLeaves(tree).At(200, 200), 180);

    // Rows bottom up, columns alternating: (0, 0), (0, 128), (0, 256), (128, 128), (128, 0),
    // (256, 0), (256, 256).
    EXPECT_EQ(LeavesInScanOrder(tree), (std::vector<std::int32_t>{0, 2, 5, 3, 1, 4, 6}));
    EXPECT_EQ(LeavesBySize(tree), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6}));

    const struct {
        int row, col;
        int leaf;  // -1 for none
    } pixels[] = {{0, 0, 0},    {127, 127, 0}, {128, 0, 1},  {255, 255, 3}, {300, 10, 4},
                  {10, 300, 5}, {511, 511, 6}, {512, 0, -1}, {0, -1, -1}};
    for (const auto& p : pixels) {
        const QuadBlock* leaf = tree.LeafAt(p.row, p.col);
        EXPECT_EQ(leaf ? leaf - tree.leaves.data() : -1, p.leaf) << p.row << ", " << p.col;
    }
    EXPECT_EQ(tree.Find(1, 1, 1), &tree.leaves[6]);
    EXPECT_EQ(tree.Find(2, 1, 1), &tree.leaves[3]);
    EXPECT_EQ(tree.Find(1, 0, 0), nullptr);  // split
    EXPECT_EQ(tree.Find(0, 0, 0), nullptr);
    EXPECT_EQ(tree.Find(2, 2, 2), nullptr);  // inside a larger leaf
    EXPECT_EQ(tree.Find(1, 2, 0), nullptr);  // outside the picture
    EXPECT_EQ(tree.Find(40, 0, 0), nullptr);
}

TEST(Quadtree, MinimumSizeStopsOnlyWhenItIsAPowerOfTwo) {
    const Quadtree coarse = Decompose(RandomGray(512, 512, 5), 0.0, 128);
    std::set<int> sizes;
    for (const QuadBlock& b : coarse.leaves)
        sizes.insert(b.size);
    EXPECT_EQ(sizes, std::set<int>{128});

    // Sparse ones on zeros: many 2 x 2 blocks are flat and stay whole among split ones.
    const GrayPicture sparse =
        MakeGray(512, 512, [](int r, int c) { return std::uint8_t((r * 31 + c * 17) % 7 == 0); });
    const Quadtree oneTree = Decompose(sparse, 0.0, 1);
    std::vector<Leaf> one = Leaves(oneTree);
    EXPECT_EQ(std::count_if(oneTree.leaves.begin(), oneTree.leaves.end(),
                            [](auto& b) { return b.size == 1; }) %
                  4,
              0);
    const Quadtree threeTree = Decompose(sparse, 0.0, 3);  // no half ever equals 3: pixels
    EXPECT_EQ(one, Leaves(threeTree));                     // are examined, then become leaves
    for (const QuadBlock& b : threeTree.leaves) {
        if (b.size == 1) {
            ASSERT_EQ(b.error, 0.0);
        }
    }
}

TEST(Quadtree, EqualCostDoesNotSplit) {
    // A one-pixel checkerboard: every block and its quarters have the same error
    // density, and with penalty 0 a split only happens when strictly cheaper.
    const GrayPicture checker = MakeGray(
        512, 512, [](int r, int c) { return static_cast<std::uint8_t>(((r ^ c) & 1) ? 200 : 0); });
    EXPECT_EQ(Decompose(checker, 0.0, 4).leaves.size(), 1u);
}

TEST(Quadtree, GridBordersCoverTheFirstRowAndColumnOfEveryLeaf) {
    // Also at a size whose root straddles the picture: the lines stop at its edge.
    for (const auto& [w, h] : {std::pair{512, 512}, std::pair{300, 77}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        const Quadtree tree = Decompose(RandomGray(w, h, 8), 30.0, 2);
        GrayPicture expected(w, h, 255);
        for (const QuadBlock& b : tree.leaves) {
            for (int i = 0; i < b.size; ++i) {
                expected.At(b.row, b.col + i) = 128;
                expected.At(b.row + i, b.col) = 128;
            }
        }
        for (int c = 0; c < w; ++c)
            expected.At(h - 1, c) = 128;
        for (int r = 0; r < h; ++r)
            expected.At(r, w - 1) = 128;
        EXPECT_TRUE(SamePicture(expected, DrawGrid(tree)));
    }
}

TEST(GridPictures, GrayGridKeepsBordersAndFillsTheRest) {
    const GrayPicture gray = MakeGray(512, 512, [](int r, int c) {
        return static_cast<std::uint8_t>(c < 256 ? 255 : (r < 256 ? 128 : 40));
    });
    const Quadtree tree = Decompose(gray, 1.0, 4);
    const GrayPicture blockPicture = DrawLeaves(tree);
    const GrayPicture grayGrid = MakeGrayGrid(DrawGrid(tree), blockPicture);
    EXPECT_EQ(grayGrid.At(0, 0), 128);
    EXPECT_EQ(grayGrid.At(100, 100), 255);  // a block of 255 stays 255
    EXPECT_EQ(grayGrid.At(100, 300), 128);  // a block of 128 looks like border
    EXPECT_EQ(grayGrid.At(300, 300), 40);
    EXPECT_EQ(grayGrid.At(300, 511), 128);  // column 511 is border
    EXPECT_EQ(MakeGrayGrid(grayGrid, blockPicture), grayGrid);
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
    EXPECT_EQ(fresh, again);
}

}  // namespace

}  // namespace zantrel
