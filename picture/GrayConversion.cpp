#include "picture/GrayConversion.h"

namespace zantrel {

GrayPicture ConvertToGray(const ColorPicture& color) {
    GrayPicture gray(color.width, color.height);
    const std::size_t count = color.PixelCount();
    const std::uint8_t* bgr = color.bgr.data();
    for (std::size_t i = 0; i < count; ++i) {
        const int sum = bgr[3 * i] + bgr[3 * i + 1] + bgr[3 * i + 2];
        // The channels weigh equally; 0.3333333333333333 and the + 0.5 round the mean to
        // the nearest integer, which for every sum 0..765 equals (sum + 1) / 3.
        gray.samples[i] = static_cast<std::uint8_t>(sum * 0.3333333333333333 + 0.5);
    }
    return gray;
}

}  // namespace zantrel
