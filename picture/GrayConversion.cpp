#include "picture/PictureStore.h"
#include "quadtree/ImageProcessor.h"

void CImageProcessor::ConvertToGray() {
    for (int i = 0; i < kPixelCount; ++i) {
        const int sum = g_colorPixels[3 * i] + g_colorPixels[3 * i + 1] + g_colorPixels[3 * i + 2];
        // The channels weigh equally; 0.3333333333333333 and the + 0.5 round the mean to
        // the nearest integer, which for every sum 0..765 equals (sum + 1) / 3.
        const auto gray = static_cast<std::uint8_t>(sum * 0.3333333333333333 + 0.5);
        g_grayPixels[i] = gray;
        g_graySquares[i] = gray * gray * 0.001953125;
    }
}
