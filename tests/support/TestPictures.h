#pragma once
// Building pictures and BMP files for tests.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Puts a gray picture into the store as a loaded colour picture (blue = green = red) and
// runs the gray conversion, so g_grayPixels and g_graySquares hold it.
void SetGrayPicture(const std::function<std::uint8_t(int row, int col)>& gray);

// A picture of uniformly random samples, reproducible from `seed`.
void SetRandomGrayPicture(unsigned seed);

// The bytes of a plain 24-bit 512 x 512 BMP file whose pixel (r, c) has the colour
// colour(r, c) = {blue, green, red}.
std::vector<std::uint8_t> MakeBmpBytes(
    const std::function<std::uint32_t(int row, int col)>& bgr = nullptr);

// Writes bytes to a file; fails the test on error.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// A fresh empty folder for one test, removed by the caller or left under /tmp.
std::string MakeTempFolder();

// Zeroes the whole picture store and the block lists.
void ResetStore();
