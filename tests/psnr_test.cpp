#include <gtest/gtest.h>

#include <cstring>

#include "measure/FigureText.h"
#include "picture/PictureStore.h"
#include "quadtree/ImageProcessor.h"
#include "support/RecordingShell.h"
#include "support/TestPictures.h"

namespace {

std::string PsnrText(std::uint8_t gray, std::uint8_t result) {
    std::memset(g_grayPixels, gray, sizeof g_grayPixels);
    std::memset(g_resultPixels, result, sizeof g_resultPixels);
    CRecordingShell shell;
    CImageProcessor().ComputePsnr();
    EXPECT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages.at(0).caption, "图像的PSNR为：");
    return shell.messages.at(0).text;
}

TEST(Psnr, KnownFiguresAsShown) {
    ResetStore();
    EXPECT_EQ(PsnrText(101, 100), "48.130804");  // MSE 1
    EXPECT_EQ(PsnrText(100, 101), "48.130804");
    EXPECT_EQ(PsnrText(255, 0), "0.000000");  // MSE 65025
    EXPECT_EQ(PsnrText(7, 7), "inf");         // equal pictures: 65025 / 0
}

TEST(Psnr, DependsOnlyOnTheTwoBuffersAndChangesNothing) {
    ResetStore();
    SetRandomGrayPicture(3);
    for (int i = 0; i < kPixelCount; ++i)
        g_resultPixels[i] = static_cast<std::uint8_t>(i % 7 * 30);
    g_displayMode = DISPLAY_QUADTREE;
    CRecordingShell shell;
    CImageProcessor().ComputePsnr();
    CImageProcessor().ComputePsnr();
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0].text, shell.messages[1].text);
    EXPECT_EQ(g_displayMode, DISPLAY_QUADTREE);
    EXPECT_TRUE(shell.paneTexts.empty());
}

TEST(FigureText, FormatsLikePrintfF) {
    EXPECT_EQ(FormatFigure(0.000117), "0.000117");
    EXPECT_EQ(FormatFigure(1.0 / 0.0), "inf");
    EXPECT_EQ(FormatFigure(2.5), "2.500000");
}

}  // namespace
