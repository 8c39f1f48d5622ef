#pragma once
// The pictures that flow through the pipeline, as values: a width, a height and the samples.
// Rows are stored bottom row first (the BMP row order) without padding, so sample (r, c) of a
// W x H picture lies at index r * W + c, where row 0 is the bottom row of the picture.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zantrel {

// The largest width and height the engine takes.
inline constexpr int kMaxPictureSide = 16384;

// The side of the pictures the original BMP rules accept.
inline constexpr int kClassicSide = 512;

struct GrayPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> samples;  // width * height, 0..255

    GrayPicture() = default;
    GrayPicture(int w, int h, std::uint8_t fill = 0)
        : width(w), height(h), samples(static_cast<std::size_t>(w) * h, fill) {}

    std::size_t PixelCount() const { return static_cast<std::size_t>(width) * height; }
    std::uint8_t At(int row, int col) const { return samples[Index(row, col)]; }
    std::uint8_t& At(int row, int col) { return samples[Index(row, col)]; }
    std::size_t Index(int row, int col) const {
        return static_cast<std::size_t>(row) * width + col;
    }
    bool operator==(const GrayPicture&) const = default;
};

struct ColorPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;  // width * height * 3: blue, green, red per pixel

    ColorPicture() = default;
    ColorPicture(int w, int h) : width(w), height(h), bgr(static_cast<std::size_t>(w) * h * 3) {}

    std::size_t PixelCount() const { return static_cast<std::size_t>(width) * height; }
    const std::uint8_t* Pixel(int row, int col) const { return bgr.data() + 3 * Index(row, col); }
    std::uint8_t* Pixel(int row, int col) { return bgr.data() + 3 * Index(row, col); }
    std::size_t Index(int row, int col) const {
        return static_cast<std::size_t>(row) * width + col;
    }
    bool operator==(const ColorPicture&) const = default;
};

// True when 1 <= width, height <= kMaxPictureSide.
inline bool IsValidPictureSize(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// The bytes a whole run of the exact pipeline may hold for a W x H picture at once, at its
// worst settings (the pictures, the summed tables, the block lists at their largest, the
// program itself), so that a picture too large for the machine can be refused before anything
// is allocated.
std::uint64_t PipelineBytesFor(int width, int height);
// The same for the optimised mode with minimum block size `minBlockSize`, an upper bound at
// every size and for a rate target too: its search keeps a candidate for every block that may
// become a leaf (a third of the pixels' number down to side 2, a twelfth down to side 4, …),
// about 220 bytes each, beside about 70 bytes a pixel of pictures, tables and the pruning's
// costs, and about 325 bytes for each leaf the finest tree can have (a pixel's worth at minimum
// block 1, a quarter at 2 or 3, …); measured at 513 x 513 to 2049 x 2049 (README).
std::uint64_t OptimisedBytesFor(int width, int height, int minBlockSize);
// The most leaves a tree of a W x H picture at minimum block size `minBlockSize` can have: every
// block inside of the smallest side a leaf may have there, and a leaf for every pixel of the
// strips along the edge where blocks go down to one pixel.
std::uint64_t MostLeaves(int width, int height, int minBlockSize);
// The memory this process can still get now, in bytes: what the machine has available, or
// less under an address-space limit (0 when neither can be told).
std::uint64_t AvailableMemoryBytes();

}  // namespace zantrel
