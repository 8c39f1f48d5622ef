#include "picture/PictureStore.h"

std::uint8_t g_colorPixels[kColorBytes];
std::uint8_t g_grayPixels[kPixelCount];
double g_graySquares[kPixelCount];
std::uint8_t g_resultPixels[kPixelCount];
std::uint8_t g_grayGridPixels[kPixelCount];
std::uint8_t g_gridPixels[kPixelCount];

std::uint8_t g_fileHeader[kFileHeaderBytes];
std::uint8_t g_infoHeader[kInfoHeaderBytes];

std::int32_t g_pictureLoaded = 0;
std::int32_t g_displayMode = DISPLAY_NONE;
std::int32_t g_originX = 0;
std::int32_t g_originY = 0;
