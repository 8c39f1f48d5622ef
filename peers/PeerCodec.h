#pragma once
// The standard codecs Zantrel's file is compared with. Each codes a gray picture at one
// setting and decodes it back with the same library; the size counted is that of the whole
// coded stream, headers included, as a file would hold it.

#include <cstddef>
#include <optional>

#include "picture/Picture.h"

namespace zantrel {

struct PeerCoding {
    std::size_t bytes = 0;  // the coded stream
    GrayPicture decoded;    // the same size as the input, bottom row first
};

// JPEG, one gray channel, baseline with optimised Huffman tables, the accurate DCT both ways.
// `quality` 1 .. 100; nothing when the library refuses.
std::optional<PeerCoding> CodeJpeg(const GrayPicture& gray, int quality);

// A JPEG 2000 codestream with one quality layer cut at `bitsPerPixel` (> 0), 9/7 wavelet.
// The stream may come out a little under or over the target; its real size is returned.
std::optional<PeerCoding> CodeJpeg2000(const GrayPicture& gray, double bitsPerPixel);

// Lossy WebP at `quality` 0 .. 100. Sides above 16383 are beyond the format: nothing; so is a
// picture whose macroblock modes overflow the format's first partition (noise near that size).
std::optional<PeerCoding> CodeWebp(const GrayPicture& gray, float quality);

// AVIF (AV1 intra through libaom), monochrome, at `quantizer` 0 .. 63 for both the minimum and
// the maximum, encoder `speed` 0 (slowest) .. 10; the whole file, container included.
std::optional<PeerCoding> CodeAvif(const GrayPicture& gray, int quantizer, int speed);

// JPEG XL, one gray channel, lossy at `distance` (0 < distance <= 15), encoder `effort` 1 .. 9;
// the bare codestream.
std::optional<PeerCoding> CodeJxl(const GrayPicture& gray, float distance, int effort);

}  // namespace zantrel
