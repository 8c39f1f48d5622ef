#pragma once
// Summed-area tables of the gray picture: the sum of g and of g * g over any block in
// constant time. Both sums are exact integers, and the quantities built from them equal
// the pixel-by-pixel double sums bit for bit: every g_graySquares sample is g * g / 512, an
// exact multiple of 1/512, and no partial sum comes near 2^53 units, so a double sum of
// them is exact in any order and equals (sum of g * g) * 2^-9.
//
// Like the picture store the tables exist once, in fixed storage, so that no command pays
// for allocating and clearing them; every workspace refreshes them from the gray picture
// before its first use (see CImageProcessor::Sums).

#include <cstdint>

#include "picture/PictureStore.h"

class CSummedTables {
  public:
    // Recomputes both tables from g_grayPixels as it is now.
    static void Refresh();

    // Sum of the gray samples of rows row..row+height-1, columns col..col+width-1.
    static std::int64_t GraySum(int row, int col, int height, int width) {
        return Box(s_gray, row, col, height, width);
    }
    // Sum of g * g over the same samples.
    static std::int64_t SquareSum(int row, int col, int height, int width) {
        return Box(s_squares, row, col, height, width);
    }

  private:
    static constexpr int kStride = kPictureSide + 1;
    template <typename T>
    static std::int64_t Box(const T* table, int row, int col, int height, int width) {
        const int top = (row + height) * kStride;
        const int bottom = row * kStride;
        return static_cast<std::int64_t>(table[top + col + width]) - table[top + col] -
               table[bottom + col + width] + table[bottom + col];
    }
    // (512 + 1)^2 entries each, with a zero first row and column. Gray sums stay below 2^27.
    static std::int32_t s_gray[kStride * kStride];
    static std::int64_t s_squares[kStride * kStride];
};
