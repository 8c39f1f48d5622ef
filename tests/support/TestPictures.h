#pragma once
// Building pictures and BMP files for tests.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "picture/Picture.h"

namespace zantrel {

// A width x height gray picture whose sample (row, col) is gray(row, col); row 0 is the bottom.
GrayPicture MakeGray(int width, int height,
                     const std::function<std::uint8_t(int row, int col)>& gray);

// A picture of uniformly random samples, reproducible from `seed`.
GrayPicture RandomGray(int width, int height, unsigned seed);

// Smooth ramps with straight edges: large calm areas next to sharp steps.
GrayPicture RampsAndEdges(int width, int height);

// Odd picture sizes (width, height) that the engine must treat like the reference: single
// pixels, single rows and columns, sides just off a power of two, long thin strips.
inline const std::vector<std::pair<int, int>> kOddSizes = {
    {1, 1}, {1, 512}, {512, 1}, {3, 5}, {300, 200}, {513, 511}, {1000, 17}};

// The two kinds of picture the odd sizes are tried with: noise (0) and RampsAndEdges (1).
GrayPicture OddSizePicture(int kind, int width, int height);

// The bytes of a plain 24-bit 512 x 512 BMP file whose pixel (r, c) has the colour
// colour(r, c) = {blue, green, red}.
std::vector<std::uint8_t> MakeBmpBytes(
    const std::function<std::uint32_t(int row, int col)>& bgr = nullptr);

// Writes bytes to a file; fails the test on error.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// A fresh empty folder for one test, removed by the caller or left under /tmp.
std::string MakeTempFolder();

}  // namespace zantrel
