#pragma once
// Summed-area tables of the gray picture: the sum of g and of g * g over any block in
// constant time. Both sums are exact integers, and the quantities built from them equal
// the pixel-by-pixel double sums bit for bit: every g_graySquares sample is g * g / 512, an
// exact multiple of 1/512, and no partial sum comes near 2^53 units, so a double sum of
// them is exact in any order and equals (sum of g * g) * 2^-9.

#include <cstdint>
#include <vector>

#include "picture/PictureStore.h"

class CSummedTables {
  public:
    // Reads g_grayPixels as it is now.
    CSummedTables();

    // Sum of the gray samples of rows row..row+height-1, columns col..col+width-1.
    std::int64_t GraySum(int row, int col, int height, int width) const {
        return Box(m_gray, row, col, height, width);
    }
    // Sum of g * g over the same samples.
    std::int64_t SquareSum(int row, int col, int height, int width) const {
        return Box(m_squares, row, col, height, width);
    }

  private:
    static constexpr int kStride = kPictureSide + 1;
    static std::int64_t Box(const std::vector<std::int64_t>& table, int row, int col, int height,
                            int width) {
        const int top = (row + height) * kStride;
        const int bottom = row * kStride;
        return table[top + col + width] - table[top + col] - table[bottom + col + width] +
               table[bottom + col];
    }
    std::vector<std::int64_t> m_gray;  // (kSide + 1)^2, zero first row and column
    std::vector<std::int64_t> m_squares;
};
