#include <gtest/gtest.h>

#include <algorithm>

#include "picture/GrayConversion.h"
#include "quadtree/SummedTables.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

std::uint8_t GrayOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    ColorPicture color(1, 1);
    color.bgr = {blue, green, red};
    return ConvertToGray(color).At(0, 0);
}

TEST(GrayConversion, RoundsTheEqualWeightMeanForEveryChannelSum) {
    for (int sum = 0; sum <= 765; ++sum) {
        const int blue = std::min(sum, 255);
        const int green = std::min(sum - blue, 255);
        const int red = sum - blue - green;
        EXPECT_EQ(GrayOf(blue, green, red), (sum + 1) / 3) << "channel sum " << sum;
    }
}

TEST(GrayConversion, EdgeSumsAndMixedChannels) {
    EXPECT_EQ(GrayOf(0, 0, 0), 0);
    EXPECT_EQ(GrayOf(1, 0, 0), 0);
    EXPECT_EQ(GrayOf(1, 1, 0), 1);
    EXPECT_EQ(GrayOf(255, 255, 253), 254);
    EXPECT_EQ(GrayOf(255, 255, 254), 255);
    EXPECT_EQ(GrayOf(255, 255, 255), 255);
    EXPECT_EQ(GrayOf(10, 20, 31), 20);  // the channels weigh equally, not by luminance
    EXPECT_EQ(GrayOf(10, 20, 32), 21);
}

TEST(GrayConversion, SquaresAreExactAndEveryPixelIsWritten) {
    // Gray pictures come back unchanged, pixel for pixel and in row order, at any size.
    for (const auto& [w, h] : {std::pair{512, 512}, std::pair{7, 3}}) {
        const GrayPicture gray = MakeGray(
            w, h, [](int r, int c) { return static_cast<std::uint8_t>((r * 3 + c) % 256); });
        ColorPicture color(w, h);
        for (std::size_t i = 0; i < gray.PixelCount(); ++i)
            std::fill_n(color.bgr.begin() + 3 * i, 3, gray.samples[i]);
        EXPECT_EQ(ConvertToGray(color), gray) << w << " x " << h;
    }
    // The summed squares are exact integers, even over a whole white picture.
    const SummedTables sums(GrayPicture(512, 512, 255));
    EXPECT_EQ(sums.SquareSum(511, 511, 1, 1), 65025);
    EXPECT_EQ(sums.SquareSum(0, 0, 512, 512), 65025LL * 512 * 512);
    EXPECT_EQ(sums.GraySum(3, 5, 2, 4), 8 * 255);
}

}  // namespace

}  // namespace zantrel
