// Hand-made blocks whose best model is known, the candidate bound, ties, grouping, the
// texts and progress positions the search reports, and stopping part-way.

#include <gtest/gtest.h>

#include "linesearch/CutLineOverlay.h"
#include "linesearch/LineSearch.h"
#include "measure/Reconstruction.h"
#include "quadtree/GridPictures.h"
#include "support/RecordingShell.h"
#include "support/Snapshots.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

// A picture and the leaves to search in it.
struct Leaves {
    GrayPicture gray;
    SummedTables sums;
    Quadtree tree;
};

// `placed` (row, col, size) blocks of `gray`, measured like the quadtree measures them.
Leaves PlaceBlocks(GrayPicture gray, double penalty,
                   const std::vector<std::tuple<int, int, int>>& placed) {
    Leaves leaves{std::move(gray), {}, {}};
    leaves.sums.Build(leaves.gray);
    leaves.tree.width = leaves.gray.width;
    leaves.tree.height = leaves.gray.height;
    leaves.tree.penalty = penalty;
    for (const auto& [row, col, size] : placed) {
        const BlockMeasure m = MeasureBlock(leaves.sums, row, col, size);
        leaves.tree.blocks.push_back({row, col, size, m.mean, m.error + penalty, 0, 0});
    }
    return leaves;
}

// One n x n picture filled by `value`, as the only leaf.
Leaves SingleBlock(int n, double penalty, const std::function<std::uint8_t(int r, int c)>& value) {
    return PlaceBlocks(MakeGray(n, n, value), penalty, {{0, 0, n}});
}

struct Searched {
    Decomposition decomposition;
    GrayPicture result;
};

Searched Search(const Leaves& leaves, int threads = 0) {
    LineSearchWorkspace workspace;
    QuietProgress progress;
    auto decomposition =
        SearchLines(leaves.tree, leaves.gray, leaves.sums, workspace, threads, progress);
    auto result = Reconstruct(FillBlockPicture(leaves.tree), decomposition->cutModels, progress);
    return {std::move(*decomposition), std::move(*result)};
}

// A search over `leaves` whose one candidate, of one group, is its single block.
struct OneCandidate {
    explicit OneCandidate(const Leaves& leaves)
        : search(leaves.gray, leaves.sums, leaves.tree.penalty, workspace, 0, progress) {
        const QuadBlock& b = leaves.tree.blocks[0];
        search.m_candidates = {
            CutModel{b.row, b.col, b.size, 0, 0, 0, 0, b.mean, b.mean, b.cost, 0, 0}};
        search.m_groupSizes = {b.size};
        search.m_groupCounts = {1};
    }
    LineSearchWorkspace workspace;
    QuietProgress progress;
    LineSearch search;
};

TEST(LineSearchCases, HalfAndHalfTakesTheMiddleRowCut) {
    for (const int n : {2, 8, 64}) {
        const Searched s = Search(
            SingleBlock(n, 1.0, [&](int r, int) { return std::uint8_t(r < n / 2 ? 0 : 255); }));
        ASSERT_EQ(s.decomposition.cutModels.size(), 1u);
        const CutModel& m = s.decomposition.cutModels[0];
        EXPECT_EQ(m.p1Row, n / 2);
        EXPECT_EQ(m.p1Col, 0);
        EXPECT_EQ(m.p2Row, n / 2);
        EXPECT_EQ(m.p2Col, n);
        EXPECT_EQ(m.meanA, 255);
        EXPECT_EQ(m.meanB, 0);
        EXPECT_EQ(m.cost, 2.0);
        EXPECT_EQ(s.decomposition.blocks[0].modelKind, 1);
        EXPECT_EQ(s.decomposition.blocks[0].cutIndex, 0);
        EXPECT_EQ(s.result.At(0, 0), 0);
        EXPECT_EQ(s.result.At(n - 1, 0), 255);
    }
}

TEST(LineSearchCases, DiagonalIsMetFirstAsTheLineToTheLastRowButOne) {
    // Eight equal blocks side by side, so that threads share out blocks as well as lines.
    for (const int threads : {1, 2}) {
        for (const int n : {2, 4, 16}) {
            SCOPED_TRACE(testing::Message() << "n = " << n << ", " << threads << " threads");
            std::vector<std::tuple<int, int, int>> placed;
            for (int k = 0; k < 8; ++k)
                placed.emplace_back(0, k * n, n);
            const Leaves leaves = PlaceBlocks(
                MakeGray(8 * n, n,
                         [&](int r, int c) { return std::uint8_t(c % n >= r ? 200 : 50); }),
                0.5, placed);
            const Searched s = Search(leaves, threads);
            ASSERT_EQ(s.decomposition.cutModels.size(), 8u);
            for (const CutModel& m : s.decomposition.cutModels) {
                EXPECT_EQ(m.p1Row, 0);
                EXPECT_EQ(m.p1Col, 0);
                EXPECT_EQ(m.p2Row, n);
                EXPECT_EQ(m.p2Col, n - 1);
                EXPECT_EQ(m.meanA, 200);
                EXPECT_EQ(m.meanB, 50);
                EXPECT_EQ(m.cost, 1.0);
            }
        }
    }
}

TEST(LineSearchCases, CheckerOfTwoNeedsAnObliqueLineAtPenaltyZero) {
    const Leaves leaves =
        SingleBlock(2, 0.0, [](int r, int c) { return std::uint8_t(r == c ? 0 : 255); });
    OneCandidate one(leaves);
    one.search.SearchVerticalCuts(0, 0);
    one.search.SearchHorizontalCuts(0, 0);
    EXPECT_EQ(one.search.m_candidates[0].chosen, 0);  // no axis cut lowers the error
    one.search.SearchObliqueCuts(0, 0);
    EXPECT_EQ(one.search.m_candidates[0].chosen, 1);
    EXPECT_LT(one.search.m_candidates[0].cost, leaves.tree.blocks[0].cost);
}

TEST(LineSearchCases, EqualCostsKeepTheFirstCutInTrialOrder) {
    // Symmetric under transposition: the best row cut and the best column cut cost the same.
    const Leaves leaves = SingleBlock(
        4, 0.0, [](int r, int c) { return std::uint8_t(std::max(r, c) >= 2 ? 90 : 10); });
    OneCandidate one(leaves);
    one.search.SearchVerticalCuts(0, 0);
    const CutModel afterRows = one.search.m_candidates[0];
    one.search.SearchHorizontalCuts(0, 0);
    const CutModel& kept = one.search.m_candidates[0];
    EXPECT_EQ(afterRows.chosen, 1);
    EXPECT_EQ(kept.p1Row, afterRows.p1Row);
    EXPECT_EQ(kept.p2Col, 4);  // still the row cut
    EXPECT_EQ(kept.cost, afterRows.cost);

    // A flat block is never cut: no cut is cheaper than its own cost.
    const Leaves flatLeaves = SingleBlock(8, 0.0, [](int, int) { return std::uint8_t{42}; });
    OneCandidate flat(flatLeaves);
    flat.search.SearchVerticalCuts(0, 0);
    flat.search.SearchHorizontalCuts(0, 0);
    flat.search.SearchObliqueCuts(0, 0);
    EXPECT_EQ(flat.search.m_candidates[0].chosen, 0);
}

TEST(LineSearchCases, CandidateBoundIsStrict) {
    // One-value cost penalty + 3.125; a row cut costs two penalties.
    auto steps = [](int r, int) { return std::uint8_t(r < 4 ? 0 : 10); };
    EXPECT_EQ(Search(SingleBlock(8, 3.0, steps)).decomposition.cutModels.size(), 1u);
    // Cost exactly 2 x penalty: not a candidate.
    const Searched equal = Search(SingleBlock(8, 3.125, steps));
    EXPECT_EQ(equal.decomposition.cutModels.size(), 0u);
    EXPECT_EQ(equal.decomposition.groupCount, 0);
    const Searched above = Search(SingleBlock(8, 4.0, steps));
    EXPECT_EQ(above.decomposition.cutModels.size(), 0u);
    EXPECT_EQ(above.decomposition.blocks[0].modelKind, 0);
}

TEST(LineSearchCases, GroupsBySizeAndReportsEveryGroup) {
    const Leaves leaves =
        PlaceBlocks(RandomGray(64, 64, 4), 0.0,
                    {{0, 0, 8}, {0, 8, 4}, {8, 0, 8}, {16, 0, 16}, {0, 12, 4}, {40, 40, 1}});
    LineSearchWorkspace workspace;
    RecordingProgress progress;
    LineSearch search(leaves.gray, leaves.sums, 0.0, workspace, 0, progress);
    const auto d = search.Run(leaves.tree.blocks);
    ASSERT_TRUE(d);
    EXPECT_EQ(search.m_groupSizes, (std::vector<std::int32_t>{4, 8, 16}));
    EXPECT_EQ(search.m_groupCounts, (std::vector<std::int32_t>{2, 2, 1}));
    EXPECT_EQ(d->groupCount, 3);
    const std::vector<std::string> texts = {"竖线穷举2", "横线穷举2", "一般斜线穷举2",
                                            "竖线穷举1", "横线穷举1", "一般斜线穷举1",
                                            "竖线穷举0", "横线穷举0", "一般斜线穷举0"};
    EXPECT_EQ(progress.texts, texts);
    // Sorted by size, the published models point back at their blocks.
    for (std::size_t i = 1; i < d->blocks.size(); ++i)
        EXPECT_LE(d->blocks[i - 1].size, d->blocks[i].size);
    for (std::size_t i = 0; i < d->cutModels.size(); ++i) {
        const QuadBlock& block = d->blocks[d->cutModels[i].blockIndex];
        EXPECT_EQ(block.modelKind, 1);
        EXPECT_EQ(block.cutIndex, static_cast<int>(i));
        EXPECT_EQ(block.row, d->cutModels[i].row);
        EXPECT_EQ(block.col, d->cutModels[i].col);
    }
}

TEST(LineSearchCases, ObliqueProgressCountsFirstEndPoints) {
    const Leaves leaves =
        SingleBlock(2, 0.0, [](int r, int c) { return std::uint8_t(r == c ? 0 : 255); });
    LineSearchWorkspace workspace;
    RecordingProgress progress;
    ASSERT_TRUE(SearchLines(leaves.tree, leaves.gray, leaves.sums, workspace, 0, progress));
    // Two axis searches over one block, then the oblique search's seven first end points.
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 0, 0, 14, 28, 42, 57, 71, 85}));
}

TEST(LineSearchCases, AStoppedSearchOrReconstructionReturnsNothing) {
    const GrayPicture gray = RampsAndEdges(128, 96);
    const SummedTables sums(gray);
    const Quadtree tree = DecomposeQuadtree(sums, 1.0, 2);
    LineSearchWorkspace workspace;
    for (const int threads : {1, 2}) {
        SCOPED_TRACE(testing::Message() << threads << " threads");
        RecordingProgress whole;
        const auto full = SearchLines(tree, gray, sums, workspace, threads, whole);
        ASSERT_TRUE(full);
        ASSERT_GT(full->groupCount, 1);
        RecordingProgress halfway(whole.Asked() / 2);
        EXPECT_FALSE(SearchLines(tree, gray, sums, workspace, threads, halfway));
        EXPECT_GE(halfway.Asked(), whole.Asked() / 2);

        // The workspace a stopped search leaves behind serves the next one as well as new.
        QuietProgress quiet;
        const auto again = SearchLines(tree, gray, sums, workspace, threads, quiet);
        ASSERT_TRUE(again);
        EXPECT_TRUE(SameBlocks(full->blocks, again->blocks));
        ASSERT_EQ(full->cutModels.size(), again->cutModels.size());
        for (std::size_t i = 0; i < full->cutModels.size(); ++i)
            EXPECT_TRUE(SameModel(full->cutModels[i], again->cutModels[i])) << i;

        const auto models = static_cast<long long>(full->cutModels.size());
        ASSERT_GT(models, 1);
        RecordingProgress drawing(models / 2);
        EXPECT_FALSE(Reconstruct(FillBlockPicture(tree), full->cutModels, drawing));
    }
}

TEST(Reconstruction, DrawsTheThreeCasesAndReportsProgress) {
    const GrayPicture blockPicture(24, 16, 7);
    const std::vector<CutModel> models = {
        {0, 0, 4, 1, 0, 1, 4, 200, 10, 0.0, 1, 0},       // between rows 0 and 1
        {0, 8, 4, 0, 3, 4, 3, 200, 10, 0.0, 1, 0},       // between columns 2 and 3
        {0, 16, 2, 0, 0, 2, 2, 10, 13, 0.0, 1, 0},       // the diagonal: centres on it get 11
        {8, 0, 4, 1.5, 0, 1.5, 4, 255, 254, 0.0, 1, 0},  // a centre on an axis cut gets B
    };
    RecordingProgress progress;
    const auto result = Reconstruct(blockPicture, models, progress);
    ASSERT_TRUE(result);
    auto at = [&](int r, int c) { return int(result->At(r, c)); };
    EXPECT_EQ(at(0, 0), 10);
    EXPECT_EQ(at(1, 3), 200);
    EXPECT_EQ(at(3, 8 + 2), 10);
    EXPECT_EQ(at(0, 8 + 3), 200);
    EXPECT_EQ(at(0, 16), 11);
    EXPECT_EQ(at(1, 17), 11);
    EXPECT_EQ(at(0, 17), 10);
    EXPECT_EQ(at(1, 16), 13);
    EXPECT_EQ(at(9, 0), 254);
    EXPECT_EQ(at(10, 0), 255);
    EXPECT_EQ(at(0, 4), 7);  // outside every model
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"Zantrel解码", "解码完毕"}));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 25, 50, 75, 0}));

    RecordingProgress none;
    EXPECT_EQ(Reconstruct(blockPicture, {}, none), blockPicture);
    EXPECT_EQ(none.positions, std::vector<int>{0});
}

TEST(CutLineOverlay, LinesEndOnePixelShortAtTheStoredCoordinates) {
    // A row cut at offset 2 of the 8-block at (row 16, col 32): from (32, 512 - 18) to
    // (40, 494), the last pixel left out.
    const CutModel row{16, 32, 8, 2, 0, 2, 8, 0, 0, 0.0, 1, 0};
    ScreenPoint from{}, to{};
    CutLineEnds(row, 512, from, to);
    EXPECT_EQ(from.x, 32);
    EXPECT_EQ(from.y, 494);
    EXPECT_EQ(to.x, 40);
    EXPECT_EQ(to.y, 494);
    std::vector<std::pair<int, int>> pixels;
    ForEachLinePixel(from, to, [&](int x, int y) { pixels.emplace_back(x, y); });
    ASSERT_EQ(pixels.size(), 8u);
    EXPECT_EQ(pixels.front(), std::make_pair(32, 494));
    EXPECT_EQ(pixels.back(), std::make_pair(39, 494));
    CutLineEnds(row, 300, from, to);  // y counts from the top of a picture of that height
    EXPECT_EQ(from.y, 282);

    // A block at row 0 reaches y = 512, just below the picture, which the picture drops.
    const CutModel bottom{0, 0, 4, 0, 1, 4, 3, 0, 0, 0.0, 1, 0};
    CutLineEnds(bottom, 512, from, to);
    EXPECT_EQ(from.y, 512);
    EXPECT_EQ(to.y, 508);
    pixels.clear();
    ForEachLinePixel(from, to, [&](int x, int y) { pixels.emplace_back(x, y); });
    ASSERT_EQ(pixels.size(), 4u);  // one pixel per row, the end point left out
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(pixels[k].second, 512 - k);
    EXPECT_EQ(pixels.front(), std::make_pair(1, 512));

    const ColorPicture picture = GridWithCutLines(GrayPicture(512, 512, 255), {bottom});
    auto red = [&](int x, int y) {  // y counts down from the top row
        const std::uint8_t* p = picture.Pixel(511 - y, x);
        return p[0] == 0 && p[1] == 0 && p[2] == 255;
    };
    int drawn = 0;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x)
            drawn += red(x, y);
    }
    EXPECT_EQ(drawn, 3);  // the pixel at y = 512 lies below the picture
    for (int k = 1; k < 4; ++k)
        EXPECT_TRUE(red(pixels[k].first, pixels[k].second));
    EXPECT_FALSE(red(3, 508));  // the end point
}

}  // namespace

}  // namespace zantrel
