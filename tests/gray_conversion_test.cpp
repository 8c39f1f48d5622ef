#include <gtest/gtest.h>

#include "picture/PictureStore.h"
#include "quadtree/ImageProcessor.h"
#include "support/TestPictures.h"

namespace {

std::uint8_t GrayOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    g_colorPixels[0] = blue;
    g_colorPixels[1] = green;
    g_colorPixels[2] = red;
    CImageProcessor().ConvertToGray();
    return g_grayPixels[0];
}

TEST(GrayConversion, RoundsTheEqualWeightMeanForEveryChannelSum) {
    ResetStore();
    for (int sum = 0; sum <= 765; ++sum) {
        const int blue = std::min(sum, 255);
        const int green = std::min(sum - blue, 255);
        const int red = sum - blue - green;
        EXPECT_EQ(GrayOf(blue, green, red), (sum + 1) / 3) << "channel sum " << sum;
    }
}

TEST(GrayConversion, EdgeSumsAndMixedChannels) {
    ResetStore();
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
    ResetStore();
    SetGrayPicture([](int r, int c) { return static_cast<std::uint8_t>((r * 3 + c) % 256); });
    for (int i = 0; i < kPixelCount; i += 97) {
        const double g = g_grayPixels[i];
        EXPECT_EQ(g_graySquares[i], g * g / 512.0);
    }
    EXPECT_EQ(g_grayPixels[511 * 512 + 511], (511 * 3 + 511) % 256);
    SetGrayPicture([](int, int) { return std::uint8_t{255}; });
    EXPECT_EQ(g_graySquares[kPixelCount - 1], 127.001953125);
}

}  // namespace
