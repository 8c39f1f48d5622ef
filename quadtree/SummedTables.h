#pragma once
// Summed-area tables of a gray picture: the sum of g and of g * g over any rectangle in
// constant time. Both sums are exact integers, and the quantities built from them equal the
// pixel-by-pixel double sums of g and of g * g / 512 bit for bit: every g * g / 512 is an
// exact multiple of 1/512, and no partial sum of a picture of at most 16384 x 16384 samples
// comes near 2^53 units of 1/512, so a double sum of them is exact in any order and equals
// (sum of g * g) * 2^-9.
//
// The tables belong to the caller, who builds them once per gray picture and may keep the
// object to reuse its storage for the next picture.

#include <cstdint>
#include <vector>

#include "picture/Picture.h"

namespace zantrel {

class SummedTables {
  public:
    SummedTables() = default;
    explicit SummedTables(const GrayPicture& gray) { Build(gray); }

    // Recomputes both tables from `gray`.
    void Build(const GrayPicture& gray);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Sum of the gray samples of rows row..row+height-1, columns col..col+width-1.
    std::int64_t GraySum(int row, int col, int height, int width) const {
        return Box(m_gray.data(), row, col, height, width);
    }
    // Sum of g * g over the same samples.
    std::int64_t SquareSum(int row, int col, int height, int width) const {
        return Box(m_squares.data(), row, col, height, width);
    }

  private:
    std::int64_t Box(const std::int64_t* table, int row, int col, int height, int width) const {
        const std::size_t top = static_cast<std::size_t>(row + height) * m_stride;
        const std::size_t bottom = static_cast<std::size_t>(row) * m_stride;
        return table[top + col + width] - table[top + col] - table[bottom + col + width] +
               table[bottom + col];
    }
    int m_width = 0;
    int m_height = 0;
    std::size_t m_stride = 1;
    // (height + 1) x (width + 1) entries each, with a zero first row and column.
    std::vector<std::int64_t> m_gray;
    std::vector<std::int64_t> m_squares;
};

}  // namespace zantrel
