#include "view/DisplayPicture.h"

#include <cstring>

#include "picture/PictureStore.h"

namespace {

const std::uint8_t* GraySource(std::int32_t displayMode) {
    switch (displayMode) {
        case DISPLAY_GRAY:
            return g_grayPixels;
        case DISPLAY_QUADTREE:
        case DISPLAY_ZANTREL:
            return g_resultPixels;
        case DISPLAY_GRAY_GRID:
            return g_grayGridPixels;
        case DISPLAY_GRID_LINES:
            return g_gridPixels;
        default:
            return nullptr;
    }
}

}  // namespace

QImage DisplayPicture(std::int32_t displayMode) {
    if (g_pictureLoaded != 1)
        return {};
    // The store keeps the bottom row first; the image wants the top row first.
    if (displayMode == DISPLAY_COLOR) {
        QImage image(kPictureSide, kPictureSide, QImage::Format_BGR888);
        for (int r = 0; r < kPictureSide; ++r) {
            std::memcpy(image.scanLine(kPictureSide - 1 - r), g_colorPixels + r * kColorRowBytes,
                        kColorRowBytes);
        }
        return image;
    }
    QImage image(kPictureSide, kPictureSide, QImage::Format_Grayscale8);
    const std::uint8_t* source = GraySource(displayMode);
    if (!source) {
        image.fill(255);
        return image;
    }
    for (int r = 0; r < kPictureSide; ++r) {
        std::memcpy(image.scanLine(kPictureSide - 1 - r), source + r * kPictureSide, kPictureSide);
    }
    return image;
}
