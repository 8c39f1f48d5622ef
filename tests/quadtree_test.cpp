#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>

#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/Comparators.h"
#include "quadtree/ImageProcessor.h"
#include "reference/LiteralQuadtree.h"
#include "support/TestPictures.h"

namespace {

using Leaf = std::tuple<int, int, int>;

std::vector<Leaf> Leaves() {
    std::vector<Leaf> leaves;
    for (const QuadBlock& b : g_blocks)
        leaves.emplace_back(b.row, b.col, b.size);
    return leaves;
}

void Decompose(double penalty, int minBlockSize) {
    CImageProcessor workspace;
    workspace.QuadtreeDecompose(penalty, minBlockSize);
    workspace.FillBlockPicture();
}

void ExpectSameAsLiteral(double penalty, int minBlockSize) {
    SCOPED_TRACE(testing::Message() << "penalty " << penalty << ", minimum " << minBlockSize);
    const LiteralQuadtree expected = LiteralQuadtreeDecompose(penalty, minBlockSize);
    Decompose(penalty, minBlockSize);
    ASSERT_EQ(g_blocks.size(), expected.blocks.size());
    for (std::size_t i = 0; i < g_blocks.size(); ++i) {
        const QuadBlock& got = g_blocks[i];
        const QuadBlock& want = expected.blocks[i];
        ASSERT_TRUE(got.row == want.row && got.col == want.col && got.size == want.size &&
                    got.mean == want.mean && got.cost == want.cost && got.modelKind == 0)
            << "leaf " << i;
    }
    EXPECT_TRUE(std::equal(expected.grid.begin(), expected.grid.end(), g_gridPixels));
    EXPECT_TRUE(std::equal(expected.grid.begin(), expected.grid.end(), g_grayGridPixels));
    EXPECT_EQ(g_penalty, penalty);
}

TEST(Quadtree, MatchesTheDirectMethodLeafForLeaf) {
    ResetStore();
    // Random noise, smooth ramps with edges, and noise on steps: every kind of split.
    SetRandomGrayPicture(11);
    for (const double penalty : {0.0, 1.0, 40.0})
        ExpectSameAsLiteral(penalty, 4);
    SetGrayPicture([](int r, int c) {
        return static_cast<std::uint8_t>((r / 3 + c / 5) % 200 + (r > 300 && c < 100 ? 50 : 0));
    });
    for (const int minimum : {1, 2, 3, 4, 5, 64, 128})
        ExpectSameAsLiteral(1.0, minimum);
    SetGrayPicture([](int r, int c) {
        return static_cast<std::uint8_t>(((r * 7919 + c * 104729) % 31) + (c >= 256 ? 180 : 20));
    });
    for (const double penalty : {0.5, 10.0, 1000.0, 100000000.0})
        ExpectSameAsLiteral(penalty, 8);
}

TEST(Quadtree, UniformPictureKeepsTheRoot) {
    ResetStore();
    SetGrayPicture([](int, int) { return std::uint8_t{77}; });
    for (const double penalty : {0.0, 1.0}) {
        Decompose(penalty, 4);
        ASSERT_EQ(g_blocks.size(), 1u);
        EXPECT_EQ(Leaves()[0], Leaf(0, 0, 512));
        EXPECT_EQ(g_blocks[0].mean, 77);
        EXPECT_EQ(g_blocks[0].cost, penalty);
        EXPECT_EQ(g_resultPixels[12345], 77);
        EXPECT_EQ(g_gridPixels[0], 128);
        EXPECT_EQ(g_gridPixels[256 * 512 + 256], 255);
        EXPECT_EQ(std::count(g_gridPixels, g_gridPixels + kPixelCount, 128), 4 * 511);
    }
}

TEST(Quadtree, TwoLevelsComeOutBreadthFirstInQuarterOrder) {
    ResetStore();
    // Only the bottom-left quarter has detail: the root splits, that quarter splits once more.
    SetGrayPicture([](int r, int c) {
        if (r < 256 && c < 256)
            return static_cast<std::uint8_t>(r < 128 ? (c < 128 ? 0 : 60) : (c < 128 ? 120 : 180));
        return std::uint8_t{200};
    });
    Decompose(1.0, 4);
    const std::vector<Leaf> expected = {
        {256, 0, 256}, {0, 256, 256}, {256, 256, 256},  // C2, C3, C4 of the root
        {0, 0, 128},   {128, 0, 128}, {0, 128, 128},   {128, 128, 128}};
    EXPECT_EQ(Leaves(), expected);
    EXPECT_EQ(g_blocks[3].mean, 0);
    EXPECT_EQ(g_blocks[4].mean, 120);
    EXPECT_EQ(g_blocks[5].mean, 60);
    EXPECT_EQ(g_resultPixels[200 * 512 + 200], 180);
}

TEST(Quadtree, MinimumSizeStopsOnlyWhenItIsAPowerOfTwo) {
    ResetStore();
    SetRandomGrayPicture(5);
    Decompose(0.0, 128);
    std::set<int> sizes;
    for (const QuadBlock& b : g_blocks)
        sizes.insert(b.size);
    EXPECT_EQ(sizes, std::set<int>{128});

    // Sparse ones on zeros: many 2 x 2 blocks are flat and stay whole among split ones.
    SetGrayPicture([](int r, int c) { return std::uint8_t((r * 31 + c * 17) % 7 == 0); });
    Decompose(0.0, 1);
    std::vector<Leaf> one = Leaves();
    EXPECT_EQ(
        std::count_if(g_blocks.begin(), g_blocks.end(), [](auto& b) { return b.size == 1; }) % 4,
        0);
    Decompose(0.0, 3);  // no half ever equals 3: pixels are queued, then become leaves
    std::vector<Leaf> three = Leaves();
    EXPECT_NE(one, three);
    std::sort(one.begin(), one.end());
    std::sort(three.begin(), three.end());
    EXPECT_EQ(one, three);
    for (const QuadBlock& b : g_blocks) {
        if (b.size == 1) {
            ASSERT_EQ(b.cost, 0.0);
        }
    }
}

TEST(Quadtree, EqualCostDoesNotSplit) {
    ResetStore();
    // A one-pixel checkerboard: every block and its quarters have the same error
    // density, and with penalty 0 a split only happens when strictly cheaper.
    SetGrayPicture([](int r, int c) { return static_cast<std::uint8_t>(((r ^ c) & 1) ? 200 : 0); });
    Decompose(0.0, 4);
    EXPECT_EQ(g_blocks.size(), 1u);
}

TEST(Quadtree, GridBordersCoverTheFirstRowAndColumnOfEveryLeaf) {
    ResetStore();
    SetRandomGrayPicture(8);
    Decompose(30.0, 2);
    std::vector<std::uint8_t> expected(kPixelCount, 255);
    for (const QuadBlock& b : g_blocks) {
        for (int i = 0; i < b.size; ++i) {
            expected[b.row * 512 + b.col + i] = 128;
            expected[(b.row + i) * 512 + b.col] = 128;
        }
    }
    for (int i = 0; i < 512; ++i)
        expected[511 * 512 + i] = expected[i * 512 + 511] = 128;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), g_gridPixels));
}

TEST(GridPictures, GrayGridKeepsBordersAndFillsTheRest) {
    ResetStore();
    SetGrayPicture([](int r, int c) {
        return static_cast<std::uint8_t>(c < 256 ? 255 : (r < 256 ? 128 : 40));
    });
    Decompose(1.0, 4);
    CImageProcessor().MakeGrayGrid();
    EXPECT_EQ(g_grayGridPixels[0], 128);
    EXPECT_EQ(g_grayGridPixels[100 * 512 + 100], 255);  // a block of 255 stays 255
    EXPECT_EQ(g_grayGridPixels[100 * 512 + 300], 128);  // a block of 128 looks like border
    EXPECT_EQ(g_grayGridPixels[300 * 512 + 300], 40);
    EXPECT_EQ(g_grayGridPixels[300 * 512 + 511], 128);  // column 511 is border
    const std::vector<std::uint8_t> once(g_grayGridPixels, g_grayGridPixels + kPixelCount);
    CImageProcessor().MakeGrayGrid();
    EXPECT_TRUE(std::equal(once.begin(), once.end(), g_grayGridPixels));
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

TEST(Workspace, ConstructionAloneLeavesTheGlobalsAlone) {
    ResetStore();
    g_blocks.push_back({1, 2, 3, 4, 5.0, 1, 0});
    g_penalty = 7.0;
    { CImageProcessor workspace; }
    EXPECT_EQ(g_blocks.size(), 1u);
    EXPECT_EQ(g_penalty, 7.0);
}

}  // namespace
