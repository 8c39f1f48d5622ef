#include <gtest/gtest.h>

#include <cmath>

#include "measure/BitRate.h"
#include "measure/FigureText.h"
#include "reference/LiteralLineSearch.h"
#include "support/Snapshots.h"

namespace zantrel {

namespace {

// log2 as the estimate is written: log10(x) / log10(2).
double Log2(double x) {
    return std::log10(x) / std::log10(2.0);
}

// A one-value leaf, or with `a` and `b` a cut leaf, whose one-value mean is `mean`.
QuadBlock Block(int row, int col, int size, int mean = 0, int a = -1, int b = -1) {
    const auto value = static_cast<std::uint8_t>(mean);
    if (a < 0)
        return {row, col, size, value, 0.0, OneValueModel{value}};
    return {
        row,
        col,
        size,
        value,
        0.0,
        CutModel{{{0, 0}, {size, 1}}, static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)}};
}

// `leaves` must come in tree order.
double Rate(const std::vector<QuadBlock>& leaves, int groupCount, int width = 512,
            int height = 512) {
    return EstimateBitRate(Quadtree{width, height, 0.0, 1, leaves, {}}, groupCount);
}
std::string ShownRate(const std::vector<QuadBlock>& leaves, int groupCount) {
    return FormatFigure(Rate(leaves, groupCount));
}

TEST(BitRate, EverySymbolCountsAsTheDirectMethodCountsIt) {
    // Values 0, c, 0 along one row: the symbols 0, c and c, for every c.
    for (int c = 0; c <= 255; ++c) {
        const Quadtree tree{
            512, 512, 0.0, 1, {Block(0, 0, 128, 0), Block(0, 128, 128, c), Block(0, 256, 256, 0)}, {}};
        const Decomposition decomposition{tree, 1};
        EXPECT_EQ(EstimateBitRate(decomposition),
                  LiteralBitRate(ToLiteral(decomposition), 512, 512))
            << c;
    }
}

TEST(BitRate, TermsOfKnownDecompositions) {
    // Sizes along the scan 128, 128, 256, 128, 128, 256, 256 give runs 2, 1, 2, 2; with N = 2
    // the size term is 7 bits. All one-value, equal means: only the 7 symbols of 1 bit each.
    const std::vector<QuadBlock> quarters = {Block(0, 0, 128, 9),    Block(128, 0, 128, 9),
                                             Block(0, 128, 128, 9),  Block(128, 128, 128, 9),
                                             Block(256, 0, 256, 9),  Block(0, 256, 256, 9),
                                             Block(256, 256, 256, 9)};
    EXPECT_EQ(ShownRate(quarters, 2), FormatFigure((7 + 7) / 262144.0));

    // One 512 block with a cut: symbols 20 and 30, both class 3; C = log2(6 * 512^2 - 4 * 512).
    const std::vector<QuadBlock> one = {Block(0, 0, 512, 120, 100, 150)};
    EXPECT_EQ(ShownRate(one, 1), "0.000117");
    EXPECT_EQ(ShownRate(one, 1), "0.000117");  // the same a second time

    // The same blocks on a 300 x 200 picture: the same bits over 60000 pixels.
    EXPECT_EQ(Rate(quarters, 2, 300, 200), (7 + 7) / 60000.0);
}

TEST(BitRate, KindRunsAndSizeTwoCuts) {
    // Kinds 0, 0, 1, 1, 1, 0 along one row: K = log2 3 + log2 4. Equal means, and cut blocks
    // of size 2 whose two values equal the mean: every symbol is 0.
    const std::vector<QuadBlock> blocks = {Block(0, 0, 2, 5),       Block(0, 2, 2, 5),
                                           Block(0, 4, 2, 5, 5, 5), Block(0, 6, 2, 5, 5, 5),
                                           Block(0, 8, 2, 5, 5, 5), Block(0, 10, 2, 5)};
    const double kind = Log2(3) + Log2(4);
    const double cut = Log2(6) + Log2(6) + Log2(6);  // not log2(6 * 4 - 8) = log2 16
    const double symbols = 9;  // 3 one-value + 2 x 3 cut symbols, 1 bit each, one class
    EXPECT_EQ(ShownRate(blocks, 1), FormatFigure((symbols + Log2(6) + cut + kind) / 262144.0));
}

TEST(BitRate, NoSizeGroupStillGivesANumber) {
    // The last search found no candidate: N = 0.
    EXPECT_EQ(ShownRate({Block(0, 0, 512, 3)}, 0), "0.000004");  // one symbol of 1 bit
}

}  // namespace

}  // namespace zantrel
