#include "measure/Psnr.h"

#include <cmath>

#include "measure/FigureText.h"
#include "picture/PictureStore.h"
#include "quadtree/ImageProcessor.h"

double PsnrOf(const std::uint8_t* gray, const std::uint8_t* result) {
    // Each difference is scaled by 1/512 before squaring, so the sum is the mean squared
    // error over the 262144 samples with no division at the end.
    double mse = 0.0;
    for (int i = 0; i < kPixelCount; ++i) {
        const int d = gray[i] - result[i];
        const double scaled = d * 0.001953125;
        mse += scaled * scaled;
    }
    // Equal pictures give 65025 / 0 = +infinity, which is what is shown.
    return 10.0 * std::log10(65025.0 / mse);
}

void CImageProcessor::ComputePsnr() {
    CurrentShell().ShowMessage(FormatFigure(PsnrOf(g_grayPixels, g_resultPixels)), kPsnrCaption,
                               MessageIcon::Information);
}
