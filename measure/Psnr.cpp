#include "measure/Psnr.h"

#include <cmath>
#include <cstdint>

namespace zantrel {

double Psnr(const GrayPicture& gray, const GrayPicture& result) {
    // The squared differences are summed exactly as integers; divided once by the pixel
    // count, the mean is the correctly rounded one. For 512 x 512 it equals the sum of
    // (d / 512)^2 taken pixel by pixel, since every term and partial sum is exact there.
    std::uint64_t sum = 0;
    const std::size_t count = gray.samples.size();
    for (std::size_t i = 0; i < count; ++i) {
        const int d = gray.samples[i] - result.samples[i];
        sum += static_cast<std::uint64_t>(d * d);
    }
    const double mse = static_cast<double>(sum) / static_cast<double>(count);
    // Equal pictures give 65025 / 0 = +infinity, which is what is shown.
    return 10.0 * std::log10(65025.0 / mse);
}

}  // namespace zantrel
