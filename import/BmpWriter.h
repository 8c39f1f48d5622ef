#pragma once
// Encoding pictures as 24-bit BMP files: a 512 x 512 picture that came from a BMP file is
// written behind that file's headers, every other picture behind a plain 54-byte header.

#include <cstdint>
#include <vector>

#include "import/BmpFormat.h"
#include "picture/Picture.h"

namespace zantrel {

// The kept headers with every field that describes the layout made true (type, file size,
// pixel offset, info size, compression, image size, colours used). A file whose headers were
// already consistent gets its header bytes back unchanged.
bmp::Headers MakeSaveHeaders(const bmp::Headers& kept);

// A plain header of a bottom-up 24-bit width x height picture.
bmp::Headers MakePlainHeaders(int width, int height);

// The whole file. `kept` (may be null) is used only for a 512 x 512 picture.
std::vector<std::uint8_t> EncodeBmp(const ColorPicture& picture, const bmp::Headers* kept);
// A gray picture as a colour one with blue = green = red.
std::vector<std::uint8_t> EncodeGrayBmp(const GrayPicture& picture, const bmp::Headers* kept);

// The colour picture of a gray one, blue = green = red.
ColorPicture GrayToColor(const GrayPicture& gray);

}  // namespace zantrel
