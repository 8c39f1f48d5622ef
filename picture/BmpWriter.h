#pragma once
// Saving the result picture as a 24-bit BMP file behind the loaded file's headers.

#include <array>
#include <cstdint>
#include <string>

#include "picture/BmpFormat.h"

// The 54 header bytes to save: the kept headers with every field that describes the layout
// made true (type, file size, pixel offset, info size, compression, image size). A file
// whose headers were already consistent gets its header bytes back unchanged.
std::array<std::uint8_t, bmp::kHeadersBytes> MakeSaveHeaders();

// Writes g_resultPixels as gray (blue = green = red) to `path`. The file is written to a
// temporary name in the same folder and renamed over the target only when complete, so a
// failure leaves any old file as it was. Reports a failure through the shell and returns
// false; the picture store is never changed.
bool SaveResultPicture(const std::string& path);

// The same file, for the front ends' other pictures: `gray` (512 x 512 samples, bottom row
// first) is written as gray, or `color` (786432 bytes, blue-green-red) as it is.
bool SaveGrayPicture(const std::string& path, const std::uint8_t* gray);
bool SaveColorPicture(const std::string& path, const std::uint8_t* color);
