#pragma once
// Encoding pictures as 8-bit PNG files in memory, so the caller writes them with the same
// safe writer as every other file.

#include <cstdint>
#include <vector>

#include "picture/Picture.h"

namespace zantrel {

// The bytes of an 8-bit gray PNG file of `picture`; empty if it could not be encoded.
std::vector<std::uint8_t> EncodeGrayPng(const GrayPicture& picture);
// The bytes of an 8-bit RGB PNG file of `picture`; empty if it could not be encoded.
std::vector<std::uint8_t> EncodePng(const ColorPicture& picture);

}  // namespace zantrel
