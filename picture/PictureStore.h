#pragma once
// The process-wide picture store: fixed 512 x 512 buffers that every stage hands its
// pictures through. Rows are stored bottom row first (the BMP row order); sample (r, c)
// lies at index r * 512 + c. Everything starts zero-filled and is never reallocated.

#include <cstddef>
#include <cstdint>

inline constexpr int kPictureSide = 512;
inline constexpr int kPixelCount = kPictureSide * kPictureSide;  // 262144
inline constexpr int kColorRowBytes = kPictureSide * 3;          // 1536
inline constexpr int kColorBytes = kPixelCount * 3;              // 786432
inline constexpr int kFileHeaderBytes = 14;
inline constexpr int kInfoHeaderBytes = 40;

enum DisplayMode : std::int32_t {
    DISPLAY_NONE = 0,
    DISPLAY_COLOR = 1,
    DISPLAY_GRAY = 2,
    DISPLAY_QUADTREE = 3,
    DISPLAY_GRAY_GRID = 4,
    DISPLAY_ZANTREL = 5,
    DISPLAY_GRID_LINES = 6,
};

extern std::uint8_t g_colorPixels[kColorBytes];     // blue, green, red per pixel
extern std::uint8_t g_grayPixels[kPixelCount];      // 0..255
extern double g_graySquares[kPixelCount];           // g * g / 512, exact
extern std::uint8_t g_resultPixels[kPixelCount];    // block picture or reconstruction
extern std::uint8_t g_grayGridPixels[kPixelCount];  // borders in 128 over the block picture
extern std::uint8_t g_gridPixels[kPixelCount];      // borders in 128 on 255

extern std::uint8_t g_fileHeader[kFileHeaderBytes];  // kept header bytes of the last loaded file
extern std::uint8_t g_infoHeader[kInfoHeaderBytes];

extern std::int32_t g_pictureLoaded;  // 1 once any picture was accepted; never reset
extern std::int32_t g_displayMode;    // a DisplayMode
extern std::int32_t g_originX;        // top-left of the drawn picture in the view
extern std::int32_t g_originY;
