// Hand-made blocks whose best model is known, the candidate bound, ties, grouping and the
// texts and progress positions the search reports.

#include <gtest/gtest.h>

#include <cstring>

#include "linesearch/CutLineOverlay.h"
#include "linesearch/Threads.h"
#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"
#include "support/RecordingShell.h"
#include "support/TestPictures.h"

namespace {

// One block of side n at the picture's origin, filled by `value`, as the only leaf.
void SingleBlock(int n, double penalty, const std::function<std::uint8_t(int r, int c)>& value) {
    ResetStore();
    SetGrayPicture([&](int r, int c) { return r < n && c < n ? value(r, c) : std::uint8_t{0}; });
    CImageProcessor workspace;
    g_penalty = penalty;
    QuadBlock block{0, 0, n, 0, 0.0, 0, 0};
    block.mean = workspace.MeasureBlock(0, 0, n);
    block.cost = workspace.m_blockError + penalty;
    g_blocks = {block};
}

// Makes `workspace` hold the single block of SingleBlock as the one candidate of one group.
void OneCandidate(CImageProcessor& workspace) {
    const QuadBlock& b = g_blocks[0];
    workspace.m_candidates = {
        CutModel{b.row, b.col, b.size, 0, 0, 0, 0, b.mean, b.mean, b.cost, 0, 0}};
    workspace.m_groupSizes = {b.size};
    workspace.m_groupCounts = {1};
}

void Search() {
    CImageProcessor workspace;
    workspace.SearchLines();
    workspace.Reconstruct();
}

TEST(LineSearchCases, HalfAndHalfTakesTheMiddleRowCut) {
    for (const int n : {2, 8, 64}) {
        SingleBlock(n, 1.0, [&](int r, int) { return std::uint8_t(r < n / 2 ? 0 : 255); });
        Search();
        ASSERT_EQ(g_cutModels.size(), 1u);
        const CutModel& m = g_cutModels[0];
        EXPECT_EQ(m.p1Row, n / 2);
        EXPECT_EQ(m.p1Col, 0);
        EXPECT_EQ(m.p2Row, n / 2);
        EXPECT_EQ(m.p2Col, n);
        EXPECT_EQ(m.meanA, 255);
        EXPECT_EQ(m.meanB, 0);
        EXPECT_EQ(m.cost, 2.0);
        EXPECT_EQ(g_blocks[0].modelKind, 1);
        EXPECT_EQ(g_blocks[0].cutIndex, 0);
        EXPECT_EQ(g_resultPixels[0], 0);
        EXPECT_EQ(g_resultPixels[(n - 1) * 512], 255);
    }
}

TEST(LineSearchCases, DiagonalIsMetFirstAsTheLineToTheLastRowButOne) {
    // Eight equal blocks side by side, so that threads share out blocks as well as lines.
    for (const int threads : {1, 2}) {
        for (const int n : {2, 4, 16}) {
            SCOPED_TRACE(testing::Message() << "n = " << n << ", " << threads << " threads");
            SingleBlock(n, 0.5, [](int r, int c) { return std::uint8_t(c >= r ? 200 : 50); });
            SetGrayPicture(
                [&](int r, int c) { return std::uint8_t(r < n && c % n >= r ? 200 : 50); });
            const QuadBlock first = g_blocks[0];
            for (int k = 1; k < 8; ++k)
                g_blocks.push_back({0, k * n, n, first.mean, first.cost, 0, 0});
            SetSearchThreads(threads);
            Search();
            SetSearchThreads(0);
            ASSERT_EQ(g_cutModels.size(), 8u);
            for (const CutModel& m : g_cutModels) {
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
    SingleBlock(2, 0.0, [](int r, int c) { return std::uint8_t(r == c ? 0 : 255); });
    CImageProcessor workspace;
    OneCandidate(workspace);
    workspace.SearchVerticalCuts(0, 0);
    workspace.SearchHorizontalCuts(0, 0);
    EXPECT_EQ(workspace.m_candidates[0].chosen, 0);  // no axis cut lowers the error
    workspace.SearchObliqueCuts(0, 0);
    EXPECT_EQ(workspace.m_candidates[0].chosen, 1);
    EXPECT_LT(workspace.m_candidates[0].cost, g_blocks[0].cost);
}

TEST(LineSearchCases, EqualCostsKeepTheFirstCutInTrialOrder) {
    // Symmetric under transposition: the best row cut and the best column cut cost the same.
    SingleBlock(4, 0.0, [](int r, int c) { return std::uint8_t(std::max(r, c) >= 2 ? 90 : 10); });
    CImageProcessor workspace;
    OneCandidate(workspace);
    workspace.SearchVerticalCuts(0, 0);
    const CutModel afterRows = workspace.m_candidates[0];
    workspace.SearchHorizontalCuts(0, 0);
    const CutModel& kept = workspace.m_candidates[0];
    EXPECT_EQ(afterRows.chosen, 1);
    EXPECT_EQ(kept.p1Row, afterRows.p1Row);
    EXPECT_EQ(kept.p2Col, 4);  // still the row cut
    EXPECT_EQ(kept.cost, afterRows.cost);

    // A flat block is never cut: no cut is cheaper than its own cost.
    SingleBlock(8, 0.0, [](int, int) { return std::uint8_t{42}; });
    CImageProcessor flat;
    OneCandidate(flat);
    flat.SearchVerticalCuts(0, 0);
    flat.SearchHorizontalCuts(0, 0);
    flat.SearchObliqueCuts(0, 0);
    EXPECT_EQ(flat.m_candidates[0].chosen, 0);
}

TEST(LineSearchCases, CandidateBoundIsStrict) {
    // One-value cost penalty + 3.125; a row cut costs two penalties.
    auto steps = [](int r, int) { return std::uint8_t(r < 4 ? 0 : 10); };
    SingleBlock(8, 3.0, steps);
    Search();
    EXPECT_EQ(g_cutModels.size(), 1u);
    SingleBlock(8, 3.125, steps);  // cost exactly 2 x penalty: not a candidate
    Search();
    EXPECT_EQ(g_cutModels.size(), 0u);
    EXPECT_EQ(g_groupCount, 0);
    SingleBlock(8, 4.0, steps);
    Search();
    EXPECT_EQ(g_cutModels.size(), 0u);
    EXPECT_EQ(g_blocks[0].modelKind, 0);
}

TEST(LineSearchCases, GroupsBySizeAndReportsEveryGroup) {
    ResetStore();
    SetRandomGrayPicture(4);
    g_penalty = 0.0;
    g_blocks.clear();
    const int placed[][3] = {{0, 0, 8}, {0, 8, 4}, {8, 0, 8}, {16, 0, 16}, {0, 12, 4}, {40, 40, 1}};
    CImageProcessor measure;
    for (const auto& p : placed) {
        QuadBlock b{p[0], p[1], p[2], 0, 0.0, 0, 0};
        b.mean = measure.MeasureBlock(p[0], p[1], p[2]);
        b.cost = measure.m_blockError;
        g_blocks.push_back(b);
    }
    CRecordingShell shell;
    CImageProcessor workspace;
    workspace.SearchLines();
    EXPECT_EQ(workspace.m_groupSizes, (std::vector<std::int32_t>{4, 8, 16}));
    EXPECT_EQ(workspace.m_groupCounts, (std::vector<std::int32_t>{2, 2, 1}));
    EXPECT_EQ(g_groupCount, 3);
    const std::vector<std::string> texts = {"竖线穷举2", "横线穷举2", "一般斜线穷举2",
                                            "竖线穷举1", "横线穷举1", "一般斜线穷举1",
                                            "竖线穷举0", "横线穷举0", "一般斜线穷举0"};
    EXPECT_EQ(shell.paneTexts, texts);
    // Sorted by size, the published models point back at their blocks.
    for (std::size_t i = 1; i < g_blocks.size(); ++i)
        EXPECT_LE(g_blocks[i - 1].size, g_blocks[i].size);
    for (std::size_t i = 0; i < g_cutModels.size(); ++i) {
        const QuadBlock& block = g_blocks[g_cutModels[i].blockIndex];
        EXPECT_EQ(block.modelKind, 1);
        EXPECT_EQ(block.cutIndex, static_cast<int>(i));
        EXPECT_EQ(block.row, g_cutModels[i].row);
        EXPECT_EQ(block.col, g_cutModels[i].col);
    }
}

TEST(LineSearchCases, ObliqueProgressCountsFirstEndPoints) {
    SingleBlock(2, 0.0, [](int r, int c) { return std::uint8_t(r == c ? 0 : 255); });
    CRecordingShell shell;
    CImageProcessor workspace;
    workspace.SearchLines();
    // Two axis searches over one block, then the oblique search's seven first end points.
    EXPECT_EQ(shell.progress, (std::vector<int>{0, 0, 0, 14, 28, 42, 57, 71, 85}));
}

TEST(Reconstruction, DrawsTheThreeCasesAndReportsProgress) {
    ResetStore();
    std::memset(g_resultPixels, 7, sizeof g_resultPixels);
    g_cutModels = {
        {0, 0, 4, 1, 0, 1, 4, 200, 10, 0.0, 1, 0},       // between rows 0 and 1
        {0, 8, 4, 0, 3, 4, 3, 200, 10, 0.0, 1, 0},       // between columns 2 and 3
        {0, 16, 2, 0, 0, 2, 2, 10, 13, 0.0, 1, 0},       // the diagonal: centres on it get 11
        {8, 0, 4, 1.5, 0, 1.5, 4, 255, 254, 0.0, 1, 0},  // a centre on an axis cut gets B
    };
    CRecordingShell shell;
    CImageProcessor workspace;
    workspace.AttachStatusBar();  // as the search does before the reconstruction
    workspace.Reconstruct();
    auto at = [](int r, int c) { return int(g_resultPixels[r * 512 + c]); };
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
    EXPECT_EQ(shell.paneTexts, (std::vector<std::string>{"Zantrel解码", "解码完毕"}));
    EXPECT_EQ(shell.progress, (std::vector<int>{0, 25, 50, 75, 0}));

    g_cutModels.clear();
    shell.progress.clear();
    workspace.Reconstruct();
    EXPECT_EQ(shell.progress, std::vector<int>{0});
}

}  // namespace

namespace {

TEST(CutLineOverlay, LinesEndOnePixelShortAtTheStoredCoordinates) {
    // A row cut at offset 2 of the 8-block at (row 16, col 32): from (32, 512 - 18) to
    // (40, 494), the last pixel left out.
    const CutModel row{16, 32, 8, 2, 0, 2, 8, 0, 0, 0.0, 1, 0};
    ScreenPoint from{}, to{};
    CutLineEnds(row, from, to);
    EXPECT_EQ(from.x, 32);
    EXPECT_EQ(from.y, 494);
    EXPECT_EQ(to.x, 40);
    EXPECT_EQ(to.y, 494);
    std::vector<std::pair<int, int>> pixels;
    ForEachLinePixel(from, to, [&](int x, int y) { pixels.emplace_back(x, y); });
    ASSERT_EQ(pixels.size(), 8u);
    EXPECT_EQ(pixels.front(), std::make_pair(32, 494));
    EXPECT_EQ(pixels.back(), std::make_pair(39, 494));

    // A block at row 0 reaches y = 512, just below the picture, which the picture drops.
    const CutModel bottom{0, 0, 4, 0, 1, 4, 3, 0, 0, 0.0, 1, 0};
    CutLineEnds(bottom, from, to);
    EXPECT_EQ(from.y, 512);
    EXPECT_EQ(to.y, 508);
    pixels.clear();
    ForEachLinePixel(from, to, [&](int x, int y) { pixels.emplace_back(x, y); });
    ASSERT_EQ(pixels.size(), 4u);  // one pixel per row, the end point left out
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(pixels[k].second, 512 - k);
    EXPECT_EQ(pixels.front(), std::make_pair(1, 512));

    ResetStore();
    std::memset(g_gridPixels, 255, sizeof g_gridPixels);
    g_cutModels = {bottom};
    const std::vector<std::uint8_t> picture = GridWithCutLines();
    auto red = [&](int x, int y) {  // y counts down from the top row
        const std::uint8_t* p = picture.data() + (511 - y) * kColorRowBytes + 3 * x;
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
