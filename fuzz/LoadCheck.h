#pragma once
// The readers' promises, checked from outside for any bytes at all. The fuzzers and the
// regression test share them.
//
// BMP: a file that starts with "BM", has an info header of 40 bytes or more, one plane, a
// 16-bit bit count of 24, 512 x 512, no compression and its whole pixel array is
// loaded with exactly its header bytes and pixels; anything else is refused with the verdict
// of the first check it fails and that verdict's message. A refusal returns no picture, so
// nothing of the caller's can change.
//
// Import: bytes in memory never give a read error; a loaded picture has a size the engine
// takes and all its samples; a refusal has a message and, as above, returns no picture.
//
// Zantrel file: a refusal leaves the caller's picture as it was; a decoded picture has the
// header's size, its leaves tile the picture exactly, and encoding what was decoded and
// decoding that again gives the same picture. Files declaring more than kFuzzPixels pixels
// only have their header checked, to keep each run short.

#include <cstdint>
#include <span>
#include <string>

namespace zantrel {

// Returns an empty string when the promise held, otherwise what broke.
std::string CheckLoadBytes(std::span<const std::uint8_t> bytes);
std::string CheckImportBytes(std::span<const std::uint8_t> bytes);
inline constexpr long long kFuzzPixels = 1 << 20;
std::string CheckZtlBytes(std::span<const std::uint8_t> bytes);

}  // namespace zantrel
