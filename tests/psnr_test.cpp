#include <gtest/gtest.h>

#include <cmath>

#include "measure/FigureText.h"
#include "measure/Psnr.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

std::string PsnrText(std::uint8_t gray, std::uint8_t result, int width = 512, int height = 512) {
    return FormatFigure(Psnr(GrayPicture(width, height, gray), GrayPicture(width, height, result)));
}

TEST(Psnr, KnownFiguresAsShown) {
    EXPECT_EQ(PsnrText(101, 100), "48.130804");  // MSE 1
    EXPECT_EQ(PsnrText(100, 101), "48.130804");
    EXPECT_EQ(PsnrText(255, 0), "0.000000");  // MSE 65025
    EXPECT_EQ(PsnrText(7, 7), "inf");         // equal pictures: 65025 / 0
    EXPECT_EQ(PsnrText(101, 100, 3, 5), "48.130804");
    // One pixel off by 1 in 3 x 5: the mean is over the 15 pixels of the picture.
    GrayPicture result(3, 5, 9);
    result.At(4, 2) = 10;
    EXPECT_EQ(Psnr(GrayPicture(3, 5, 9), result), 10.0 * std::log10(65025.0 * 15));
}

TEST(Psnr, DependsOnlyOnTheTwoPictures) {
    const GrayPicture gray = RandomGray(512, 512, 3);
    const GrayPicture result = MakeGray(
        512, 512, [](int r, int c) { return static_cast<std::uint8_t>((r * 512 + c) % 7 * 30); });
    const double first = Psnr(gray, result);
    EXPECT_EQ(Psnr(gray, result), first);
    EXPECT_EQ(Psnr(result, gray), first);
}

TEST(FigureText, FormatsLikePrintfF) {
    EXPECT_EQ(FormatFigure(0.000117), "0.000117");
    EXPECT_EQ(FormatFigure(1.0 / 0.0), "inf");
    EXPECT_EQ(FormatFigure(2.5), "2.500000");
}

}  // namespace

}  // namespace zantrel
