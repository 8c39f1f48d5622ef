#pragma once
// Checks that make up for what the toolkit's readers let pass: a JPEG, GIF or BMP cut short is
// handed back by them as a whole picture, and BMP samples of fewer than 8 bits are widened by
// a plain shift. Each check reads only the file's own structure.

#include <QByteArray>
#include <QIODevice>
#include <array>
#include <cstdint>

#include "picture/Picture.h"

namespace zantrel {

// True when `data` starts with the PNG signature.
bool IsPng(const QByteArray& data);

// True when every chunk of a PNG stream lies within the data, up to its end chunk. The PNG
// library allocates what a chunk's length claims before it reads, so a claim past the end of
// the file is refused first.
bool PngChunksFit(const QByteArray& data);

// True when a JPEG stream reaches its end-of-image marker.
bool JpegReachesEnd(const QByteArray& data);

// True when the first frame of a GIF stream is complete.
bool GifFirstFrameComplete(const QByteArray& data);

// What the BMP checks need of the file's headers.
struct BmpLayout {
    std::uint32_t pixelOffset = 0;
    std::uint32_t compression = 0;
    std::uint32_t bitCount = 0;
    long long width = 0;
    long long height = 0;
    std::array<int, 3> channelBits{8, 8, 8};  // red, green, blue
};

// Reads the layout from the start of `device`; false when the headers are cut short.
bool ReadBmpLayout(QIODevice& device, BmpLayout& layout);

// True when the file holds every pixel row, or its run-length data reach their end code.
bool BmpComplete(QIODevice& device, const BmpLayout& layout);

// Re-widens samples of n < 8 bits by repeating their bits, so that white stays white.
void WidenNarrowSamples(const BmpLayout& layout, ColorPicture& picture);

}  // namespace zantrel
