// Hand-made blocks whose best model is known, the candidate bound, ties, grouping, the
// texts and progress positions the search reports, and stopping part-way.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "linesearch/BorderPoints.h"
#include "linesearch/CutLineOverlay.h"
#include "linesearch/LineDivision.h"
#include "linesearch/LineSearch.h"
#include "linesearch/SearchSteps.h"
#include "measure/Reconstruction.h"
#include "measure/Stages.h"
#include "platform/StatusProgress.h"
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
        const RegionFit m = MeasureBlock(leaves.sums, row, col, size);
        leaves.tree.leaves.push_back({row, col, size, m.value, m.error, OneValueModel{m.value}});
    }
    return leaves;
}

// One n x n picture filled by `value`, as the only leaf.
Leaves SingleBlock(int n, double penalty, const std::function<std::uint8_t(int r, int c)>& value) {
    return PlaceBlocks(MakeGray(n, n, value), penalty, {{0, 0, n}});
}

// The exact mode's choice, in the reference's records, and its reconstruction.
struct Searched {
    LiteralDecomposition decomposition;
    GrayPicture result;
};

Searched Search(const Leaves& leaves, int threads = 0) {
    LineSearchWorkspace workspace;
    QuietProgress progress;
    auto decomposition =
        SearchLines(leaves.tree, leaves.gray, leaves.sums, workspace, threads, progress);
    auto result = Reconstruct(DrawLeaves(leaves.tree), decomposition->tree, progress);
    return {ToLiteral(*decomposition), std::move(*result)};
}

// The best cut of every leaf, with its cost under the tree's penalty.
std::vector<BestCut> BestCuts(const Leaves& leaves, int threads = 0) {
    LineSearchWorkspace workspace;
    QuietProgress progress;
    std::vector<LineSearch::Block> blocks;
    for (const QuadBlock& leaf : leaves.tree.leaves)
        blocks.push_back({leaf.row, leaf.col, leaf.size});
    LineSearch search(leaves.gray, leaves.sums, leaves.tree.penalty, workspace, threads, progress);
    return *search.Run(blocks);
}

TEST(LineSearchCases, HalfAndHalfTakesTheMiddleRowCut) {
    for (const int n : {2, 8, 64}) {
        const Searched s = Search(
            SingleBlock(n, 1.0, [&](int r, int) { return std::uint8_t(r < n / 2 ? 0 : 255); }));
        ASSERT_EQ(s.decomposition.cutModels.size(), 1u);
        const LiteralCut& m = s.decomposition.cutModels[0];
        EXPECT_EQ(m.p1Row, n / 2);
        EXPECT_EQ(m.p1Col, 0);
        EXPECT_EQ(m.p2Row, n / 2);
        EXPECT_EQ(m.p2Col, n);
        EXPECT_EQ(m.meanA, 255);
        EXPECT_EQ(m.meanB, 0);
        EXPECT_EQ(BestCuts(SingleBlock(
                      n, 1.0, [&](int r, int) { return std::uint8_t(r < n / 2 ? 0 : 255); }))[0]
                      .Cost(1.0),
                  2.0);
        EXPECT_EQ(s.decomposition.blocks[0].modelKind, 1);
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
            for (const BestCut& best : BestCuts(leaves, threads))
                EXPECT_EQ(best.Cost(0.5), 1.0);
            for (const LiteralCut& m : s.decomposition.cutModels) {
                EXPECT_EQ(m.p1Row, 0);
                EXPECT_EQ(m.p1Col, 0);
                EXPECT_EQ(m.p2Row, n);
                EXPECT_EQ(m.p2Col, n - 1);
                EXPECT_EQ(m.meanA, 200);
                EXPECT_EQ(m.meanB, 50);
            }
        }
    }
}

TEST(LineSearchCases, CheckerOfTwoNeedsAnObliqueLineAtPenaltyZero) {
    const Leaves leaves =
        SingleBlock(2, 0.0, [](int r, int c) { return std::uint8_t(r == c ? 0 : 255); });
    // No axis cut lowers the error; an oblique line does.
    const BestCut best = BestCuts(leaves)[0];
    EXPECT_TRUE(best.line.IsOblique());
    EXPECT_LT(best.Cost(0.0), leaves.tree.leaves[0].error);
    EXPECT_EQ(Search(leaves).decomposition.cutModels.size(), 1u);
}

TEST(LineSearchCases, EqualCostsKeepTheFirstCutInTrialOrder) {
    // Symmetric under transposition: the best row cut and the best column cut cost the same.
    const Leaves leaves = SingleBlock(
        4, 0.0, [](int r, int c) { return std::uint8_t(std::max(r, c) >= 2 ? 90 : 10); });
    // The row cut and the column cut tie; an oblique line beats both.
    EXPECT_TRUE(BestCuts(leaves)[0].line.IsOblique());

    // A flat block is never cut: no cut is cheaper than its own cost.
    const Leaves flatLeaves = SingleBlock(8, 0.0, [](int, int) { return std::uint8_t{42}; });
    EXPECT_EQ(BestCuts(flatLeaves)[0].Cost(0.0), 0.0);
    EXPECT_EQ(Search(flatLeaves).decomposition.cutModels.size(), 0u);
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
    const auto d = SearchLines(leaves.tree, leaves.gray, leaves.sums, workspace, 0, progress);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->groupCount, 3);
    const std::vector<std::string> texts = {"竖线穷举2", "横线穷举2", "一般斜线穷举2",
                                            "竖线穷举1", "横线穷举1", "一般斜线穷举1",
                                            "竖线穷举0", "横线穷举0", "一般斜线穷举0"};
    EXPECT_EQ(progress.texts, texts);
    // The single pixel is never searched and keeps its one value.
    EXPECT_FALSE(d->tree.leaves[5].Cut());
}

// Every text with the position last shown before it, and every position.
class EventProgress final : public Progress {
  public:
    void SetText(std::string_view text) override { starts.emplace_back(text, last); }
    void SetPosition(int position) override {
        positions.push_back(position);
        last = position;
    }
    bool Cancelled() const override { return false; }
    std::vector<std::pair<std::string, int>> starts;
    std::vector<int> positions;
    int last = 0;
};

// The work of searching one n-block: one step per axis cut, and per oblique line one step
// plus one per row or column (whichever fewer) that the line splits into two non-empty parts.
double ReferenceSteps(int n) {
    const std::vector<LatticePoint> points = MakeBorderPoints(n);
    double steps = 2.0 * (n - 1);
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            const LatticePoint p = points[i], q = points[j];
            if (p.row == q.row || p.col == q.col)
                continue;
            int rows = 0, cols = 0;
            for (int r = 0; r < n; ++r) {
                const int b = LineDivision(p, q).PrefixLength(r, n);
                rows += b > 0 && b < n;
            }
            for (int c = 0; c < n; ++c) {  // the transposed line splits the columns
                const int b = LineDivision({p.col, p.row}, {q.col, q.row}).PrefixLength(c, n);
                cols += b > 0 && b < n;
            }
            steps += 1 + std::min(rows, cols);
        }
    }
    return steps;
}

TEST(LineSearchCases, ProgressFollowsTheWorkAndNeverGoesBack) {
    // (count, side) groups, smallest first: many small blocks before one large, and the other
    // way round, where counting blocks or groups puts the bar far from the work done.
    const std::vector<std::vector<std::pair<int, int>>> layouts = {
        {{64, 4}, {1, 32}},
        {{1, 8}, {1, 16}, {1, 32}},
        {{16, 8}, {1, 16}},
        {{1, 2}, {1, 64}},
    };
    for (const auto& layout : layouts) {
        std::vector<std::tuple<int, int, int>> placed;
        double total = 0;
        std::vector<double> before;  // the work of the groups before each group
        int row = 0;
        for (const auto& [count, n] : layout) {
            before.push_back(total);
            total += count * ReferenceSteps(n);
            for (int k = 0; k < count; ++k)
                placed.emplace_back(row, k * n, n);
            row += n;
        }
        const Leaves leaves = PlaceBlocks(RandomGray(256, row, 9), 0.0, placed);
        for (const int threads : {1, 2}) {
            SCOPED_TRACE(testing::Message() << layout.size() << " groups, the first of "
                                            << layout[0].first << ", " << threads << " threads");
            LineSearchWorkspace workspace;
            EventProgress progress;
            ASSERT_TRUE(
                SearchLines(leaves.tree, leaves.gray, leaves.sums, workspace, threads, progress));
            ASSERT_EQ(progress.starts.size(), 3 * layout.size());
            for (std::size_t g = 0; g < layout.size(); ++g)
                EXPECT_NEAR(progress.starts[3 * g].second, 100 * before[g] / total, 1.0) << g;
            EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
            EXPECT_GE(progress.positions.back(), 99);
        }
    }
}

TEST(LineSearchCases, PredictionCountsOnlyTheCandidatesWork) {
    // A flat leaf is no candidate and adds nothing; a candidate of twice the side costs about
    // eight times as much; two threads take half the time where there are two cores.
    const GrayPicture noise = RandomGray(192, 128, 3);
    const Leaves one = PlaceBlocks(noise, 1.0, {{0, 0, 64}});
    const Leaves withFlat = PlaceBlocks(
        MakeGray(192, 128,
                 [&](int r, int c) { return c >= 64 ? std::uint8_t{9} : noise.At(r, c); }),
        1.0, {{0, 0, 64}, {0, 64, 64}, {64, 64, 32}});
    const Leaves twice = PlaceBlocks(noise, 1.0, {{0, 0, 128}});
    const double seconds = PredictCutLineSeconds(one.tree, 1);
    EXPECT_GT(seconds, 0.0);
    EXPECT_EQ(PredictCutLineSeconds(withFlat.tree, 1), seconds);
    EXPECT_NEAR(PredictCutLineSeconds(twice.tree, 1) / seconds, 8.0, 0.5);
    if (std::thread::hardware_concurrency() >= 2) {
        EXPECT_DOUBLE_EQ(PredictCutLineSeconds(one.tree, 2), seconds / 2);
    }
    EXPECT_EQ(PredictCutLineSeconds(PlaceBlocks(RandomGray(8, 8, 1), 1.0, {}).tree, 0), 0.0);
    // Large sides are scaled from the count of a smaller one.
    EXPECT_NEAR(EstimatedBlockSearchSteps(2048) / BlockSearchSteps(2048), 1.0, 1e-3);
}

TEST(StatusProgress, SaysTheTimeLeftOnceItCanBeEstimated) {
    // (seconds since the start, position, the pane text then); the text is "竖线穷举0".
    struct Step {
        double at;
        int position;
        const char* shown;
    };
    const std::vector<Step> steps = {
        {0.0, 0, "竖线穷举0"},
        {0.5, 1, "竖线穷举0"},             // one percent in half a second: too early
        {2.0, 1, "竖线穷举0  剩余 3:18"},  // 2 s for 1 %: 198 s for the other 99
        {10.0, 50, "竖线穷举0  剩余 0:10"},
        {100.5, 99, "竖线穷举0  剩余 0:02"},  // rounded up, never "0:00" while running
        {101.0, 100, "竖线穷举0"},
        {200.0, 0, "竖线穷举0"},  // the next stage counts its own time
        {201.0, 10, "竖线穷举0  剩余 0:09"},
        {301.0, 2, "竖线穷举0"},  // back again: its own time once more
        {401.0, 4, "竖线穷举0  剩余 1:20:00"},
    };
    double now = 0;
    RecordingShell shell;
    StatusProgress progress(&shell, [&] { return now; });
    progress.SetText("竖线穷举0");
    for (const Step& step : steps) {
        now = step.at;
        progress.SetPosition(step.position);
        EXPECT_EQ(shell.paneTexts.back(), step.shown) << step.at;
        EXPECT_EQ(shell.progress.back(), step.position);
    }
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
        EXPECT_EQ(full->tree, again->tree);

        const auto models = static_cast<long long>(CutCount(full->tree));
        ASSERT_GT(models, 1);
        RecordingProgress drawing(models / 2);
        EXPECT_FALSE(Reconstruct(DrawLeaves(tree), full->tree, drawing));
    }
}

TEST(Reconstruction, DrawsTheThreeCasesAndReportsProgress) {
    const GrayPicture blockPicture(24, 16, 7);
    auto cut = [](int row, int col, int size, CutLine line, int a, int b) {
        return QuadBlock{
            row, col, size,
            0,   0.0, CutModel{line, static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)}};
    };
    Quadtree models{24, 16, 0.0, 1, {}, {}};
    models.leaves = {
        cut(0, 0, 4, {{1, 0}, {1, 4}}, 200, 10),   // between rows 0 and 1
        cut(0, 8, 4, {{0, 3}, {4, 3}}, 200, 10),   // between columns 2 and 3
        cut(0, 16, 2, {{0, 0}, {2, 2}}, 10, 13),   // the diagonal: centres on it get 11
        cut(8, 0, 4, {{2, 0}, {2, 4}}, 255, 254),  // rows from the cut up get A
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
    // By pixels: 16 + 16 + 4 + 16 of them.
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 30, 61, 69, 0}));

    RecordingProgress none;
    EXPECT_EQ(Reconstruct(blockPicture, Quadtree{24, 16, 0.0, 1, {}, {}}, none), blockPicture);
    EXPECT_EQ(none.positions, std::vector<int>{0});
}

TEST(CutLineOverlay, LinesEndOnePixelShortAtTheStoredCoordinates) {
    // A row cut at offset 2 of the 8-block at (row 16, col 32): from (32, 512 - 18) to
    // (40, 494), the last pixel left out.
    const QuadBlock row{16, 32, 8, 0, 0.0, CutModel{{{2, 0}, {2, 8}}, 0, 0}};
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
    const QuadBlock bottom{0, 0, 4, 0, 0.0, CutModel{{{0, 1}, {4, 3}}, 0, 0}};
    CutLineEnds(bottom, 512, from, to);
    EXPECT_EQ(from.y, 512);
    EXPECT_EQ(to.y, 508);
    pixels.clear();
    ForEachLinePixel(from, to, [&](int x, int y) { pixels.emplace_back(x, y); });
    ASSERT_EQ(pixels.size(), 4u);  // one pixel per row, the end point left out
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(pixels[k].second, 512 - k);
    EXPECT_EQ(pixels.front(), std::make_pair(1, 512));

    const ColorPicture picture =
        GridWithCutLines(GrayPicture(512, 512, 255), Quadtree{512, 512, 0.0, 1, {bottom}, {}});
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
